#pragma once
// The template picker: browses the ready-made titles or messages one at a
// time and hands the chosen (possibly edited) line back.
#include "wizards/Wizard_Logic.h"

#include <QDialog>

class QPlainTextEdit;

// The line chosen in the picker; empty after Cancel.
extern QString Template_Msg_Val;

class Insert_Template : public QDialog, public Template_Lists {
    Q_OBJECT
public:
    static Insert_Template* defaultInstance();
    // 1 after OK with a line (in Template_Msg_Val), 0 after Cancel.
    int Open_Template_Dialog();

    QPlainTextEdit* msg_value;
    // "T" browses the titles, anything else the messages.
    QString title_or_msg = QStringLiteral("T");

public slots:
    void Msg_Back_Click();
    void Msg_Next_Click();
    void OKPressed();
    void CancelPressed();

private:
    explicit Insert_Template(QWidget* parent = nullptr);
    void browse(int step);
};
