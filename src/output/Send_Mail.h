#pragma once
// The mail window: e-mails to a list of recipients, plain (with a file) or
// with the card attached, the current design or one card per batch row,
// sent on a worker thread with the progress sheet, Stop and pauses.
#include "output/Mail_Batch.h"

#include <QDialog>
#include <QString>
#include <atomic>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class Send_Mail : public QDialog {
    Q_OBJECT
public:
    static Send_Mail* defaultInstance();

    // The design being mailed; set by whoever opens the window.
    Card_Row_Source* design = nullptr;

    // Resets the fields and runs the window modally.
    void Open_Wnd();
    // The fields as they stand, with the account from the mail globals.
    Mail_Job Current_Job() const;
    // True from Send until the batch has ended.
    bool Sending() const { return sending.load(); }

    QLineEdit* from_txt;
    QLineEdit* to_txt;
    QLineEdit* subject_txt;
    QPlainTextEdit* message_txt;
    QRadioButton* rd_without_barcode;
    QRadioButton* rd_mail_curr_barcode;
    QGroupBox* send_sett_box;
    QButtonGroup* matrix_card_side; // rows: 0 both sides, 1 front, 2 back
    QString card_side_str = QStringLiteral("F");
    QLineEdit* file_name_txt;
    QCheckBox* send_with_batch_chk;
    QCheckBox* send_with_excel_chk;
    QRadioButton* rd_all_to_every;
    QRadioButton* rd_one_per_recp;
    QLineEdit* attachment;
    QPushButton* browse_att;
    QPushButton* clear_att;
    QCheckBox* delayed_delv_chk;
    QGroupBox* delayed_box;
    QLineEdit* mail_count_txt;
    QSpinBox* mail_count_stepper;
    QLineEdit* hour_txt;
    QSpinBox* hour_stepper;
    QLineEdit* min_text;
    QSpinBox* min_stepper;
    QLineEdit* sec_txt;
    QSpinBox* sec_stepper;
    QPushButton* send_btn;

public slots:
    void Setting_Button();
    void browse_att_Button();
    void clear_att_Button();
    void Without_barcode_rd_select();
    void send_barcode_rd_select();
    void send_with_batch_chk_select();
    void send_with_excel_chk_select();
    void all_rd_select();
    void obo_rd_select();
    void delayed_delv_chk_select();
    void mail_count_changed();
    void hours_changed();
    void minute_changed();
    void seconds_changed();
    void mail_card_side_CellClick(int row);
    // Checks the fields and starts the batch on a worker thread; returns at once.
    void Send_Button();
    void Close_Button();

protected:
    // The window stays while a batch runs (the progress sheet has Stop).
    void reject() override;

private:
    explicit Send_Mail(QWidget* parent = nullptr);
    // Keeps a stepper and its field equal: a stepper that sent hands its
    // value to the field, anything else the field's value to the stepper.
    void pairChanged(QSpinBox* stepper, QLineEdit* field);
    std::atomic<bool> sending{false};
};
