#pragma once
// The start-choice dialog: how a new project begins, from a template ("T"),
// with the wizard ("W") or by opening a saved design log ("L"). The choice
// is left in Start_Card_Option; every choice closes the dialog with 1.
#include <QDialog>

class Start_Card : public QDialog {
    Q_OBJECT
public:
    static Start_Card* defaultInstance();
    // Cancel ends the process, as at start-up where there is nothing to go
    // back to; a caller with a design open turns this off.
    bool Cancel_Ends_Process = true;
    // 1 after a choice, 0 after Cancel.
    int Open_Wnd();
    // 0 "T", 1 "W", 2 "L"; another number leaves the option as it was.
    void Select_card_option(int option);

public slots:
    void Using_Template_Click() { Select_card_option(0); }
    void Using_Wizard_Click() { Select_card_option(1); }
    void Open_Log_Click() { Select_card_option(2); }
    void OK_Click() { done(1); }
    void CancelClick();
    void HelpClick();

private:
    explicit Start_Card(QWidget* parent = nullptr);
};
