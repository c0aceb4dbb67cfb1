#pragma once
// The template-name dialog: the main window's Save As Template and the
// template wizard's Rename ask with it.
#include <QDialog>
#include <QString>

class QLineEdit;

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
