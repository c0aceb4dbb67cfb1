#include "data/Generate_List.h"

#include "data/Series_Rules.h"
#include "data/Value_Delivery.h"
#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QDoubleSpinBox>
#include <QVBoxLayout>
#include <exception>

namespace {
const QString kUntitled = QStringLiteral("Untitled");
}

Generate_List* Generate_List::defaultInstance()
{
    static Generate_List* instance = new Generate_List;
    return instance;
}

Generate_List::Generate_List(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Create Batch Processing Series"));
    Apply_Dialog_Background(this);
    auto field = [] { return new QLineEdit; };
    auto stepper = [](int maximum) {
        auto* s = new QDoubleSpinBox;
        s->setDecimals(0);
        s->setRange(1, maximum);
        return s;
    };
    radioButton_Sequntial = new QRadioButton(QStringLiteral("Sequential"));
    radioButton_Constant = new QRadioButton(QStringLiteral("Constant"));
    radioButton_Random = new QRadioButton(QStringLiteral("Random"));
    radioButton_Sequntial->setAutoExclusive(false);
    radioButton_Constant->setAutoExclusive(false);
    radioButton_Random->setAutoExclusive(false);
    prefix_txt = field();
    suffix_txt = field();
    from_txt = field();
    to_txt = field();
    value_txt = field();
    count_txt = field();
    count_stepper = stepper(10000);
    rand_prefix_txt = field();
    rand_suffix_txt = field();
    rand_length_txt = field();
    rand_length_stepper = stepper(9);
    rand_count_txt = field();
    rand_count_stepper = stepper(10000);
    manage_digit_chk = new QCheckBox(QStringLiteral("Leading zeros"));
    help_btn = new QPushButton(QStringLiteral("?"));
    help_btn->setAutoDefault(false);
    help_btn->setFixedWidth(28);
    seq_file_name = field();
    const_file_name = field();
    rndm_file_name = field();
    for (QLineEdit* f : {from_txt, to_txt, count_txt, rand_length_txt, rand_count_txt})
        f->setMaximumWidth(90);

    auto* grid = new QGridLayout;
    int row = 0;
    auto label = [](const char* text) { return new QLabel(QString::fromLatin1(text)); };
    auto nameRow = [&](QLineEdit* name) {
        nameRows << Field_With_Caption(QStringLiteral("Series name:"), name);
        grid->addWidget(nameRows.last(), row++, 1, 1, 4);
    };
    grid->addWidget(radioButton_Sequntial, row++, 0, 1, 5);
    nameRow(seq_file_name);
    grid->addWidget(label("Prefix:"), row, 1);
    grid->addWidget(prefix_txt, row, 2);
    grid->addWidget(label("Suffix:"), row, 3);
    grid->addWidget(suffix_txt, row++, 4);
    grid->addWidget(label("From:"), row, 1);
    grid->addWidget(from_txt, row, 2);
    grid->addWidget(label("To:"), row, 3);
    grid->addWidget(to_txt, row++, 4);
    auto* digits = new QHBoxLayout;
    digits->addWidget(manage_digit_chk);
    digits->addWidget(help_btn);
    digits->addStretch();
    grid->addLayout(digits, row++, 2, 1, 3);

    grid->addWidget(radioButton_Constant, row++, 0, 1, 5);
    nameRow(const_file_name);
    grid->addWidget(label("Value:"), row, 1);
    grid->addWidget(value_txt, row, 2);
    grid->addWidget(label("Count:"), row, 3);
    grid->addWidget(Field_With_Stepper(count_txt, count_stepper), row++, 4);

    grid->addWidget(radioButton_Random, row++, 0, 1, 5);
    nameRow(rndm_file_name);
    grid->addWidget(label("Prefix:"), row, 1);
    grid->addWidget(rand_prefix_txt, row, 2);
    grid->addWidget(label("Suffix:"), row, 3);
    grid->addWidget(rand_suffix_txt, row++, 4);
    grid->addWidget(label("Digits:"), row, 1);
    grid->addWidget(Field_With_Stepper(rand_length_txt, rand_length_stepper), row, 2);
    grid->addWidget(label("Count:"), row, 3);
    grid->addWidget(Field_With_Stepper(rand_count_txt, rand_count_stepper), row++, 4);
    grid->setColumnMinimumWidth(0, 12);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setAutoDefault(false);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(radioButton_Sequntial, &QRadioButton::clicked, this, &Generate_List::Sequintial_Radio_Pressed);
    connect(radioButton_Constant, &QRadioButton::clicked, this, &Generate_List::Constant_Radio_Pressed);
    connect(radioButton_Random, &QRadioButton::clicked, this, &Generate_List::Random_Radio_Pressed);
    connect(count_stepper, &QDoubleSpinBox::valueChanged, this, &Generate_List::Count_Stepper_Pressed);
    connect(count_txt, &QLineEdit::editingFinished, this, &Generate_List::Count_Stepper_Pressed);
    connect(rand_length_stepper, &QDoubleSpinBox::valueChanged, this, &Generate_List::Random_Length_Stepper_Pressed);
    connect(rand_length_txt, &QLineEdit::editingFinished, this, &Generate_List::Random_Length_Stepper_Pressed);
    connect(rand_count_stepper, &QDoubleSpinBox::valueChanged, this, &Generate_List::Random_Count_Stepper_Pressed);
    connect(rand_count_txt, &QLineEdit::editingFinished, this, &Generate_List::Random_Count_Stepper_Pressed);
    for (QLineEdit* f : {count_txt, rand_length_txt, rand_count_txt})
        connect(f, &QLineEdit::textEdited, this, [this, f] { controlTextDidChange(f); });
    connect(help_btn, &QPushButton::clicked, this, &Generate_List::Help_btn_Pressed);
    connect(ok, &QPushButton::clicked, this, &Generate_List::OKPressed);
    connect(cancel, &QPushButton::clicked, this, &Generate_List::CancelPressed);
}

void Generate_List::Open_Wnd()
{
    try {
        for (QLineEdit* name : {seq_file_name, const_file_name, rndm_file_name})
            name->clear();
        for (QWidget* pair : std::as_const(nameRows))
            pair->setVisible(file_name_required == 1);
        if (file_name_required == 1)
            seq_file_name->setText(kUntitled);
        manage_digit_chk->setChecked(false);
        for (QLineEdit* f : {prefix_txt, suffix_txt, from_txt, to_txt, value_txt, rand_prefix_txt, rand_suffix_txt})
            f->clear();
        for (QLineEdit* f : {count_txt, rand_length_txt, rand_count_txt})
            f->setText(QStringLiteral("1"));
        Choose_Mode(Sequential);
        prefix_txt->setFocus();
        platform::runModal(*this);
        hide();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Generate_List::Choose_Mode(Mode chosen)
{
    mode = chosen;
    radioButton_Sequntial->setChecked(mode == Sequential);
    radioButton_Constant->setChecked(mode == Constant);
    radioButton_Random->setChecked(mode == Random);
    QLineEdit* names[] = {seq_file_name, const_file_name, rndm_file_name};
    for (int m = Sequential; m <= Random; ++m)
        names[m]->setEnabled(m == mode);
    if (Trim_Str(names[mode]->text()).isEmpty())
        names[mode]->setText(kUntitled);
    for (QWidget* w : std::initializer_list<QWidget*>{prefix_txt, suffix_txt, from_txt, to_txt, help_btn, manage_digit_chk})
        w->setEnabled(mode == Sequential);
    for (QWidget* w : std::initializer_list<QWidget*>{value_txt, count_txt, count_stepper})
        w->setEnabled(mode == Constant);
    for (QWidget* w : std::initializer_list<QWidget*>{rand_prefix_txt, rand_suffix_txt, rand_length_txt,
                                                      rand_length_stepper, rand_count_txt, rand_count_stepper})
        w->setEnabled(mode == Random);
}

void Generate_List::Sequintial_Radio_Pressed() { Choose_Mode(Sequential); }
void Generate_List::Constant_Radio_Pressed() { Choose_Mode(Constant); }
void Generate_List::Random_Radio_Pressed() { Choose_Mode(Random); }

void Generate_List::Count_Stepper_Pressed() { Copy_Pair_Value(sender(), count_txt, count_stepper, true); }
void Generate_List::Random_Length_Stepper_Pressed()
{
    Copy_Pair_Value(sender(), rand_length_txt, rand_length_stepper, true);
}
void Generate_List::Random_Count_Stepper_Pressed()
{
    Copy_Pair_Value(sender(), rand_count_txt, rand_count_stepper, true);
}

void Generate_List::controlTextDidChange(QLineEdit* field)
{
    QDoubleSpinBox* stepper = field == count_txt        ? count_stepper
                        : field == rand_count_txt ? rand_count_stepper
                        : field == rand_length_txt ? rand_length_stepper
                                                   : nullptr;
    if (!stepper)
        return;
    const QString t = Trim_Str(field->text());
    if (t.isEmpty() || Int_Value(t) == 0)
        field->setText(QStringLiteral("1"));
    const int longest = field == rand_length_txt ? 1 : 5;
    if (t.size() > longest)
        field->setText(t.left(longest));
    if (field != rand_length_txt && Int_Value(field->text()) > 10000)
        field->setText(QStringLiteral("10000"));
    const QSignalBlocker quiet(stepper);
    stepper->setValue(Int_Value(field->text()));
}

void Generate_List::Help_btn_Pressed()
{
    platform::AlertRequest request;
    request.text = QStringLiteral(
        "Maintain number of Digits By adding 0's before smaller values. \n\n"
        "For example:\n"
        "If you have to generate a series of barcodes having values from '0' to '200', this option automatically "
        "converts small values such as '1' to '001' and '11' to '011' to maintain number of digits same as the highest "
        "value in the series.\n\n"
        "Similarly, if you have selected a series starting from '001' to '00200', this option automatically converts "
        "small values such as '001' to '00001' and '0011' to '00011' to maintain number of digits same as the highest "
        "value in the series.");
    platform::showAlert(request);
}

void Generate_List::Refuse(const QString& message, QLineEdit* field)
{
    Show_MessageBox(message);
    field->setFocus();
}

void Generate_List::OKPressed()
{
    try {
        const QString countMessage = QStringLiteral("Please enter valid 'Count' value.");
        quint64 n = 0;
        switch (mode) {
        case Sequential:
            if (!Is_Series_Number(from_txt->text()))
                return Refuse(QStringLiteral("Please enter valid 'From' value."), from_txt);
            if (!Is_Series_Number(to_txt->text()))
                return Refuse(QStringLiteral("Please enter valid 'To' value."), to_txt);
            if (Int64_Value(from_txt->text()) >= Int64_Value(to_txt->text()))
                return Refuse(QStringLiteral("'From' value must be smaller than 'To' value."), from_txt);
            n = Sequential_Count(from_txt->text(), to_txt->text());
            break;
        case Constant:
            if (value_txt->text().isEmpty())
                return Refuse(QStringLiteral("Please enter valid 'Value'."), value_txt);
            if (count_txt->text().isEmpty() || Int_Value(count_txt->text()) < 1)
                return Refuse(countMessage, count_txt);
            n = quint64(Int_Value(count_txt->text()));
            break;
        case Random:
            if (rand_count_txt->text().isEmpty() || Int_Value(rand_count_txt->text()) < 1)
                return Refuse(countMessage, rand_count_txt);
            if (rand_length_txt->text().isEmpty())
                return Refuse(QStringLiteral("Please enter valid 'Length' value."), rand_length_txt);
            n = quint64(Int_Value(rand_count_txt->text()));
            break;
        }
        if (n > quint64(Series_Value_Cap))
            return Refuse(QStringLiteral("A Batch Processing Series can hold at most %1 values; this one would "
                                               "hold %2.")
                                    .arg(Series_Value_Cap)
                                    .arg(n),
                                mode == Sequential ? to_txt : mode == Constant ? count_txt : rand_count_txt);

        QString name;
        if (file_name_required == 1) {
            QLineEdit* names[] = {seq_file_name, const_file_name, rndm_file_name};
            name = Accept_New_Data_Set_Name(names[mode]->text());
            if (name.isNull())
                return;
        }
        QStringList values;
        switch (mode) {
        case Sequential:
            values = Sequential_Series(prefix_txt->text(), from_txt->text(), to_txt->text(), suffix_txt->text(),
                                       manage_digit_chk->isChecked());
            break;
        case Constant:
            values = Constant_Series(value_txt->text(), qint64(n));
            break;
        case Random:
            values = Random_Series(rand_prefix_txt->text(), rand_length_txt->text(), qint64(n), rand_suffix_txt->text());
            break;
        }
        if (Deliver_Values(file_name_required, file_name_Insert, name, values))
            done(1);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Generate_List::CancelPressed()
{
    done(0);
}
