#pragma once
// Small dialogs of the main window: the after-export box and the grid
// dialog. The template-name dialog is wizards/Export_Template.h.
#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QVBoxLayout;

// The box shown after an export; it can open what was exported.
class Open_Export_Log : public QDialog {
    Q_OBJECT
public:
    static Open_Export_Log* defaultInstance();
    QCheckBox* _open_log_chk;
    QLabel* _open_log_path;
    QLabel* _open_log_message;

public slots:
    void OKPressed();
    void CancelPressed();

private:
    explicit Open_Export_Log(QWidget* parent = nullptr);
};

// The grid dialog: a modal shell around the main window's grid controls.
class Grid_Wizard : public QDialog {
    Q_OBJECT
public:
    static Grid_Wizard* defaultInstance();
    void Open_Wnd();
    QVBoxLayout* controlsLayout; // the main window puts its grid controls here

public slots:
    void OK_Btn_Clicked() { done(1); }
    void Cancel_Btn_Clicked() { done(0); }

private:
    explicit Grid_Wizard(QWidget* parent = nullptr);
};

