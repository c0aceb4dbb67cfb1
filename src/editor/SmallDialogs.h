#pragma once
// Small dialogs of the main window: the template-name dialog, the
// after-export box and the grid dialog.
#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QVBoxLayout;

// Asks for the name of a user template.
class Export_Template : public QDialog {
    Q_OBJECT
public:
    static Export_Template* defaultInstance();
    // Runs the dialog; 1 when a name was accepted (in export_template_name).
    int Open_Wnd();

    QLineEdit* template_name;
    // The name of the template being renamed; empty for a new template.
    QString template_passed;

public slots:
    void OKPressed();
    void CancelPressed();

private:
    explicit Export_Template(QWidget* parent = nullptr);
};

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

