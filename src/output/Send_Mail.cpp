#include "output/Send_Mail.h"

#include "model/Globals.h"
#include "model/Helpers.h"
#include "output/Email_Setting.h"
#include "output/Preferences.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>

namespace {
// A number field with its stepper beside it.
QWidget* numberPair(QLineEdit*& field, QSpinBox*& stepper, int maximum, QWidget* owner)
{
    field = new QLineEdit;
    field->setValidator(new QIntValidator(0, maximum, owner));
    field->setMaximumWidth(48);
    stepper = new QSpinBox;
    stepper->setRange(0, maximum);
    return Field_With_Stepper(field, stepper);
}
}

Send_Mail* Send_Mail::defaultInstance()
{
    static Send_Mail* instance = new Send_Mail;
    return instance;
}

Send_Mail::Send_Mail(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Send E-mail"));
    Apply_Dialog_Background(this);
    auto* layout = new QVBoxLayout(this);

    auto* form = new QFormLayout;
    from_txt = new QLineEdit;
    from_txt->setReadOnly(true);
    auto* settings = new QPushButton(QStringLiteral("Settings..."));
    auto* fromRow = new QHBoxLayout;
    fromRow->addWidget(from_txt);
    fromRow->addWidget(settings);
    form->addRow(QStringLiteral("From:"), fromRow);
    to_txt = new QLineEdit;
    to_txt->setPlaceholderText(QStringLiteral("name@example.com, other@example.com"));
    form->addRow(QStringLiteral("To:"), to_txt);
    subject_txt = new QLineEdit;
    form->addRow(QStringLiteral("Subject:"), subject_txt);
    message_txt = new QPlainTextEdit;
    message_txt->setMinimumHeight(90);
    form->addRow(QStringLiteral("Message:"), message_txt);
    layout->addLayout(form);

    rd_without_barcode = new QRadioButton(QStringLiteral("Send without card"));
    rd_mail_curr_barcode = new QRadioButton(QStringLiteral("Send with card"));
    auto* withCard = new QButtonGroup(this);
    withCard->addButton(rd_without_barcode);
    withCard->addButton(rd_mail_curr_barcode);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(rd_mail_curr_barcode);
    modeRow->addWidget(rd_without_barcode);
    modeRow->addStretch();
    layout->addLayout(modeRow);

    send_sett_box = new QGroupBox(QStringLiteral("Card"));
    auto* cardLayout = new QGridLayout(send_sett_box);
    matrix_card_side = new QButtonGroup(this);
    auto* sideRow = new QHBoxLayout;
    const QStringList sides = {QStringLiteral("Both sides"), QStringLiteral("Front"), QStringLiteral("Back")};
    for (int i = 0; i < sides.size(); ++i) {
        auto* radio = new QRadioButton(sides[i]);
        matrix_card_side->addButton(radio, i);
        sideRow->addWidget(radio);
    }
    sideRow->addStretch();
    cardLayout->addWidget(new QLabel(QStringLiteral("Side:")), 0, 0);
    cardLayout->addLayout(sideRow, 0, 1);
    file_name_txt = new QLineEdit;
    cardLayout->addWidget(new QLabel(QStringLiteral("File name:")), 1, 0);
    cardLayout->addWidget(file_name_txt, 1, 1);
    send_with_batch_chk = new QCheckBox(QStringLiteral("Use Batch Processing Series values"));
    send_with_excel_chk = new QCheckBox(QStringLiteral("Use spreadsheet values"));
    cardLayout->addWidget(send_with_batch_chk, 2, 1);
    cardLayout->addWidget(send_with_excel_chk, 3, 1);
    rd_all_to_every = new QRadioButton(QStringLiteral("Every row's card to every recipient"));
    rd_one_per_recp = new QRadioButton(QStringLiteral("One row's card per recipient, in order"));
    auto* rowMode = new QButtonGroup(this);
    rowMode->addButton(rd_all_to_every);
    rowMode->addButton(rd_one_per_recp);
    cardLayout->addWidget(rd_all_to_every, 4, 1);
    cardLayout->addWidget(rd_one_per_recp, 5, 1);
    layout->addWidget(send_sett_box);

    attachment = new QLineEdit;
    browse_att = new QPushButton(QStringLiteral("Browse..."));
    clear_att = new QPushButton(QStringLiteral("Clear"));
    auto* attRow = new QHBoxLayout;
    attRow->addWidget(new QLabel(QStringLiteral("Attachment:")));
    attRow->addWidget(attachment);
    attRow->addWidget(browse_att);
    attRow->addWidget(clear_att);
    layout->addLayout(attRow);

    delayed_delv_chk = new QCheckBox(QStringLiteral("Delayed delivery"));
    layout->addWidget(delayed_delv_chk);
    delayed_box = new QGroupBox;
    auto* delay = new QHBoxLayout(delayed_box);
    delay->addWidget(new QLabel(QStringLiteral("Pause after")));
    delay->addWidget(numberPair(mail_count_txt, mail_count_stepper, 9999, this));
    delay->addWidget(new QLabel(QStringLiteral("messages for")));
    delay->addWidget(numberPair(hour_txt, hour_stepper, Mail_Pause_Max_Hours, this));
    delay->addWidget(new QLabel(QStringLiteral("h")));
    delay->addWidget(numberPair(min_text, min_stepper, 59, this));
    delay->addWidget(new QLabel(QStringLiteral("min")));
    delay->addWidget(numberPair(sec_txt, sec_stepper, 59, this));
    delay->addWidget(new QLabel(QStringLiteral("s")));
    delay->addStretch();
    mail_count_stepper->setMinimum(1);
    mail_count_txt->setValidator(new QIntValidator(1, 9999, this));
    layout->addWidget(delayed_box);

    send_btn = new QPushButton(QStringLiteral("Send"));
    send_btn->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Close"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(send_btn);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    setMinimumWidth(560);

    connect(settings, &QPushButton::clicked, this, &Send_Mail::Setting_Button);
    connect(browse_att, &QPushButton::clicked, this, &Send_Mail::browse_att_Button);
    connect(clear_att, &QPushButton::clicked, this, &Send_Mail::clear_att_Button);
    connect(rd_without_barcode, &QRadioButton::clicked, this, &Send_Mail::Without_barcode_rd_select);
    connect(rd_mail_curr_barcode, &QRadioButton::clicked, this, &Send_Mail::send_barcode_rd_select);
    connect(send_with_batch_chk, &QCheckBox::clicked, this, &Send_Mail::send_with_batch_chk_select);
    connect(send_with_excel_chk, &QCheckBox::clicked, this, &Send_Mail::send_with_excel_chk_select);
    connect(rd_all_to_every, &QRadioButton::clicked, this, &Send_Mail::all_rd_select);
    connect(rd_one_per_recp, &QRadioButton::clicked, this, &Send_Mail::obo_rd_select);
    connect(delayed_delv_chk, &QCheckBox::clicked, this, &Send_Mail::delayed_delv_chk_select);
    connect(matrix_card_side, &QButtonGroup::idClicked, this, &Send_Mail::mail_card_side_CellClick);
    connect(mail_count_stepper, &QSpinBox::valueChanged, this, &Send_Mail::mail_count_changed);
    connect(mail_count_txt, &QLineEdit::editingFinished, this, &Send_Mail::mail_count_changed);
    connect(hour_stepper, &QSpinBox::valueChanged, this, &Send_Mail::hours_changed);
    connect(hour_txt, &QLineEdit::editingFinished, this, &Send_Mail::hours_changed);
    connect(min_stepper, &QSpinBox::valueChanged, this, &Send_Mail::minute_changed);
    connect(min_text, &QLineEdit::editingFinished, this, &Send_Mail::minute_changed);
    connect(sec_stepper, &QSpinBox::valueChanged, this, &Send_Mail::seconds_changed);
    connect(sec_txt, &QLineEdit::editingFinished, this, &Send_Mail::seconds_changed);
    connect(send_btn, &QPushButton::clicked, this, &Send_Mail::Send_Button);
    connect(close, &QPushButton::clicked, this, &Send_Mail::Close_Button);

    // The delayed-delivery settings start off.
    SetObjEnabled(delayed_box, false);
}

void Send_Mail::Open_Wnd()
{
    try {
        mail_card_side_CellClick(1);
        from_txt->setText(sender_email);
        to_txt->clear();
        subject_txt->clear();
        message_txt->clear();
        attachment->clear();
        rd_mail_curr_barcode->setChecked(true);
        SetObjEnabled(send_sett_box, true);
        file_name_txt->setText(QStringLiteral("PelvoroFrame"));
        send_with_batch_chk->setEnabled(Use_Data_Sheet_Values);
        send_with_batch_chk->setChecked(false);
        send_with_excel_chk->setEnabled(Use_Excel_Binding_Values);
        send_with_excel_chk->setChecked(false);
        rd_all_to_every->setChecked(true);
        rd_all_to_every->setEnabled(false);
        rd_one_per_recp->setEnabled(false);
        browse_att->setEnabled(false);
        clear_att->setEnabled(false);
        delayed_delv_chk->setChecked(false);
        SetObjEnabled(delayed_box, false);
        mail_count_stepper->setValue(1);
        mail_count_txt->setText(QStringLiteral("1"));
        for (QSpinBox* s : {hour_stepper, min_stepper, sec_stepper})
            s->setValue(0);
        for (QLineEdit* f : {hour_txt, min_text, sec_txt})
            f->setText(QStringLiteral("0"));
        platform::runModal(*this);
        hide();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

Mail_Job Send_Mail::Current_Job() const
{
    Mail_Job job;
    job.from = from_txt->text();
    job.to = to_txt->text();
    job.subject = subject_txt->text();
    job.body = message_txt->toPlainText();
    job.with_card = rd_mail_curr_barcode->isChecked();
    job.card_side = card_side_str;
    job.file_name = file_name_txt->text();
    job.use_data_sets = send_with_batch_chk->isChecked();
    job.use_spreadsheet = send_with_excel_chk->isChecked();
    job.one_per_recipient = rd_one_per_recp->isChecked();
    job.attachment = attachment->text();
    job.delayed = delayed_delv_chk->isChecked();
    job.pause_after = mail_count_stepper->value();
    job.hours = hour_stepper->value();
    job.minutes = min_stepper->value();
    job.seconds = sec_stepper->value();
    job.password = sender_pwd;
    job.server = sending_server;
    job.port = sending_port;
    job.ssl = send_enable_ssl;
    return job;
}

void Send_Mail::Setting_Button()
{
    Email_Setting::defaultInstance()->Open_Wnd();
    Get_Email_Details();
    from_txt->setText(sender_email);
}

void Send_Mail::browse_att_Button()
{
    platform::PanelRequest request;
    request.kind = platform::PanelRequest::Open;
    request.title = QStringLiteral("Choose a file to attach");
    const platform::PanelResult result = platform::runPanel(request);
    if (result.accepted && !result.path().isEmpty())
        attachment->setText(result.path());
}

void Send_Mail::clear_att_Button()
{
    attachment->clear();
}

void Send_Mail::Without_barcode_rd_select()
{
    rd_without_barcode->setChecked(true);
    SetObjEnabled(send_sett_box, false);
    browse_att->setEnabled(true);
    clear_att->setEnabled(true);
}

void Send_Mail::send_barcode_rd_select()
{
    if (design)
        design->Check_Series_Or_Excel_Use_or_not();
    rd_mail_curr_barcode->setChecked(true);
    SetObjEnabled(send_sett_box, true);
    send_with_batch_chk->setEnabled(Use_Data_Sheet_Values);
    if (!Use_Data_Sheet_Values)
        send_with_batch_chk->setChecked(false);
    send_with_excel_chk->setEnabled(Use_Excel_Binding_Values);
    if (!Use_Excel_Binding_Values)
        send_with_excel_chk->setChecked(false);
    if (!send_with_batch_chk->isChecked() && !send_with_excel_chk->isChecked()) {
        rd_all_to_every->setEnabled(false);
        rd_one_per_recp->setEnabled(false);
    }
    browse_att->setEnabled(false);
    clear_att->setEnabled(false);
}

void Send_Mail::send_with_batch_chk_select()
{
    const bool rows = send_with_batch_chk->isChecked() || send_with_excel_chk->isChecked();
    rd_all_to_every->setEnabled(rows);
    rd_one_per_recp->setEnabled(rows);
}

void Send_Mail::send_with_excel_chk_select()
{
    send_with_batch_chk_select();
}

void Send_Mail::all_rd_select()
{
    rd_all_to_every->setChecked(true);
}

void Send_Mail::obo_rd_select()
{
    rd_one_per_recp->setChecked(true);
}

void Send_Mail::delayed_delv_chk_select()
{
    SetObjEnabled(delayed_box, delayed_delv_chk->isChecked());
}

void Send_Mail::pairChanged(QSpinBox* stepper, QLineEdit* field)
{
    if (sender() == stepper) {
        field->setText(QString::number(stepper->value()));
    } else {
        const QSignalBlocker quiet(stepper);
        stepper->setValue(field->text().toInt());
        field->setText(QString::number(stepper->value())); // what the stepper took
    }
}

void Send_Mail::mail_count_changed() { pairChanged(mail_count_stepper, mail_count_txt); }
void Send_Mail::hours_changed() { pairChanged(hour_stepper, hour_txt); }
void Send_Mail::minute_changed() { pairChanged(min_stepper, min_text); }
void Send_Mail::seconds_changed() { pairChanged(sec_stepper, sec_txt); }

void Send_Mail::mail_card_side_CellClick(int row)
{
    if (auto* b = matrix_card_side->button(row))
        b->setChecked(true);
    card_side_str = row == 0 ? QString(Side_Code_Both) : row == 1 ? QString(Side_Code_Front) : QString(Side_Code_Back);
}

void Send_Mail::Send_Button()
{
    if (sending || !design)
        return;
    Mail_Plan plan;
    const QString problem = Check_Mail_Job(Current_Job(), plan);
    if (!problem.isEmpty()) {
        Show_MessageBox(problem);
        return;
    }
    // The rows take part only where their box is checked.
    design->Check_Series_Or_Excel_Use_or_not();
    if (Use_Data_Sheet_Values && !send_with_batch_chk->isChecked())
        Use_Data_Sheet_Values = false;
    if (Use_Excel_Binding_Values && !send_with_excel_chk->isChecked())
        Use_Excel_Binding_Values = false;
    design->Get_total_Card_count();
    // A card is drawn from the design's data: all of it must be there, and
    // rows of different lengths are sent only when the user agrees.
    if (plan.mode != Mail_Mode::Plain && !design->Sources_Found())
        return;
    const bool rows = plan.mode == Mail_Mode::Rows_To_Everyone || plan.mode == Mail_Mode::Row_Per_Recipient;
    if (rows && design->Batch_Row_Count() > 0 && !design->Confirm_Source_Lengths())
        return;

    sending = true;
    Card_Row_Source* target = design;
    QThread* worker = QThread::create([this, plan, target] {
        Send_Mail_Thread(plan, *target, this);
        sending = false;
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void Send_Mail::Close_Button()
{
    if (!sending)
        done(0);
}

void Send_Mail::reject()
{
    if (!sending)
        QDialog::reject();
}
