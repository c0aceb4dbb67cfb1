#pragma once
// The long-text box: a title and a text too long for an alert, with an
// optional apply-to-all check box.
#include "model/Globals.h"

#include <QDialog>
#include <atomic>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// Title and text shown when the caller sets no fields of its own.
extern QString Cutom_Msg_Title;
extern QString Cutom_Msg_Val;

class Long_SMS_Dlg : public QDialog {
    Q_OBJECT
public:
    static Long_SMS_Dlg* defaultInstance();
    // Shows the box; 1 after OK, 0 after Cancel or No. The caller's fields
    // serve this one showing.
    int Open_Long_sms_Dialog();

    QString title_val;
    QString msg_val_str;
    bool apply_chk_show = false;

    QLabel* _Msg_Title;
    QPlainTextEdit* _Msg_Val;
    QCheckBox* apply_chk;
    QPushButton* no_button;

public slots:
    void OKPressed();
    void CancelPressed();

private:
    explicit Long_SMS_Dlg(QWidget* parent = nullptr);
};
