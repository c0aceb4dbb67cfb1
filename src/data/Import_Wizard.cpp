#include "data/Import_Wizard.h"

#include "data/Import_Excel.h"
#include "data/Import_Excel_DataSheet.h"
#include "data/Import_Sources.h"
#include "data/Value_Delivery.h"
#include "data/View_Data_Series.h"
#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>

namespace {
const QString kNoData = QStringLiteral("There is no data in the selected file.");
}

Import_Wizard* Import_Wizard::defaultInstance()
{
    static Import_Wizard* instance = new Import_Wizard;
    return instance;
}

Import_Wizard::Import_Wizard(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Import Batch Processing Series"));
    Apply_Dialog_Background(this);
    resize(560, 460);
    auto path = [] {
        auto* f = new QLineEdit;
        f->setReadOnly(true);
        return f;
    };
    auto browse = [] {
        auto* b = new QPushButton(QStringLiteral("Browse..."));
        b->setAutoDefault(false);
        return b;
    };
    Excel_RD = new QRadioButton(QStringLiteral("Spreadsheet (xlsx, ods, xml)"));
    Text_RD = new QRadioButton(QStringLiteral("Text file (txt, csv, rtf)"));
    Mnul_RD = new QRadioButton(QStringLiteral("Paste the values, one per line"));
    Image_RD = new QRadioButton(QStringLiteral("Folder of images"));
    for (QRadioButton* r : {Excel_RD, Text_RD, Mnul_RD, Image_RD})
        r->setAutoExclusive(false);
    Excel_path = path();
    Text_path = path();
    Image_path = path();
    Excel_btn = browse();
    Text_btn = browse();
    Image_btn = browse();
    ManualEdit = new QPlainTextEdit;
    Text_file_name = new QLineEdit;
    Manual_file_name = new QLineEdit;
    Image_file_name = new QLineEdit;

    auto* grid = new QGridLayout;
    int row = 0;
    auto nameRow = [&](QLineEdit* name) {
        nameRows << Field_With_Caption(QStringLiteral("Series name:"), name);
        grid->addWidget(nameRows.last(), row++, 1, 1, 3);
    };
    grid->addWidget(Excel_RD, row++, 0, 1, 4);
    grid->addWidget(Excel_path, row, 1, 1, 2);
    grid->addWidget(Excel_btn, row++, 3);
    grid->addWidget(Text_RD, row++, 0, 1, 4);
    grid->addWidget(Text_path, row, 1, 1, 2);
    grid->addWidget(Text_btn, row++, 3);
    nameRow(Text_file_name);
    grid->addWidget(Mnul_RD, row++, 0, 1, 4);
    grid->addWidget(ManualEdit, row++, 1, 1, 3);
    nameRow(Manual_file_name);
    grid->addWidget(Image_RD, row++, 0, 1, 4);
    grid->addWidget(Image_path, row, 1, 1, 2);
    grid->addWidget(Image_btn, row++, 3);
    nameRow(Image_file_name);
    grid->setColumnMinimumWidth(0, 12);
    grid->setColumnStretch(2, 1);

    auto* buttons = new QHBoxLayout;
    auto* help = new QPushButton(QStringLiteral("Help"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    help->setAutoDefault(false);
    cancel->setAutoDefault(false);
    ok->setDefault(true);
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(Excel_RD, &QRadioButton::clicked, this, &Import_Wizard::Excel_RD_Pressed);
    connect(Text_RD, &QRadioButton::clicked, this, &Import_Wizard::Text_RD_Pressed);
    connect(Mnul_RD, &QRadioButton::clicked, this, &Import_Wizard::Manual_RD_Pressed);
    connect(Image_RD, &QRadioButton::clicked, this, &Import_Wizard::Image_RD_Pressed);
    connect(Excel_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Excel_Pressed);
    connect(Text_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Text_Pressed);
    connect(Image_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Image_Pressed);
    connect(help, &QPushButton::clicked, this, &Import_Wizard::HelpPressed);
    connect(cancel, &QPushButton::clicked, this, &Import_Wizard::CancelPressed);
    connect(ok, &QPushButton::clicked, this, &Import_Wizard::OKPressed);
}

void Import_Wizard::Open_Wnd()
{
    try {
        Check_Path_And_Create_Files();
        for (QLineEdit* f : {Excel_path, Text_path, Image_path, Text_file_name, Manual_file_name, Image_file_name})
            f->clear();
        ManualEdit->clear();
        for (QWidget* row : std::as_const(nameRows))
            row->setVisible(file_name_required == 1);
        Choose_Source(0);
        platform::runModal(*this);
        hide();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

// ---------------------------------------------------------------- sources

void Import_Wizard::Choose_Source(int option)
{
    import_option = option;
    Excel_RD->setChecked(option == 0);
    Text_RD->setChecked(option == 1);
    Mnul_RD->setChecked(option == 2);
    Image_RD->setChecked(option == 3);
    Enable_Disable_Excel_Option(option == 0);
    Enable_Disable_Text_Option(option == 1);
    Enable_Disable_Manual_Option(option == 2);
    Enable_Disable_Image_Option(option == 3);
}

void Import_Wizard::Excel_RD_Pressed() { Choose_Source(0); }
void Import_Wizard::Text_RD_Pressed() { Choose_Source(1); }
void Import_Wizard::Manual_RD_Pressed() { Choose_Source(2); }
void Import_Wizard::Image_RD_Pressed() { Choose_Source(3); }

namespace {
// A group's set name field is never left blank while the group is in use.
void enableName(QLineEdit* name, bool enable)
{
    name->setEnabled(enable);
    if (enable && Trim_Str(name->text()).isEmpty())
        name->setText(QStringLiteral("Untitled"));
}
}

void Import_Wizard::Enable_Disable_Excel_Option(bool enable)
{
    Excel_btn->setEnabled(enable);
    Excel_path->setEnabled(enable);
}

void Import_Wizard::Enable_Disable_Text_Option(bool enable)
{
    Text_btn->setEnabled(enable);
    Text_path->setEnabled(enable);
    enableName(Text_file_name, enable);
}

void Import_Wizard::Enable_Disable_Manual_Option(bool enable)
{
    ManualEdit->setReadOnly(!enable);
    ManualEdit->setEnabled(enable);
    enableName(Manual_file_name, enable);
}

void Import_Wizard::Enable_Disable_Image_Option(bool enable)
{
    Image_btn->setEnabled(enable);
    Image_path->setEnabled(enable);
    enableName(Image_file_name, enable);
}

// ---------------------------------------------------------------- browsing

namespace {
// The path chosen in an open or folder panel; null when cancelled.
QString choosePath(platform::PanelRequest::Kind kind, const QString& title, const QStringList& extensions = {})
{
    platform::PanelRequest request;
    request.kind = kind;
    request.title = title;
    request.extensions = extensions;
    const platform::PanelResult chosen = platform::runPanel(request);
    return chosen.accepted && !chosen.path().isEmpty() ? chosen.path() : QString();
}
}

void Import_Wizard::Import_From(QLineEdit* field, const QString& path)
{
    if (path.isEmpty())
        return;
    field->setText(path);
    OKPressed();
}

void Import_Wizard::Browse_Excel_Pressed()
{
    Import_From(Excel_path, Choose_Spreadsheet_File());
}

void Import_Wizard::Browse_Text_Pressed()
{
    Import_From(Text_path, choosePath(platform::PanelRequest::Open, QStringLiteral("Choose Text File"),
                                      {QStringLiteral("txt"), QStringLiteral("rtf"), QStringLiteral("csv")}));
}

void Import_Wizard::Browse_Image_Pressed()
{
    Import_From(Image_path, choosePath(platform::PanelRequest::Folder, QStringLiteral("Choose Image Folder")));
}

void Import_Wizard::HelpPressed()
{
    Open_Help_File();
}

// ---------------------------------------------------------------- OK

void Import_Wizard::OKPressed()
{
    try {
        bool imported = false;
        switch (import_option) {
        case 0: {
            const QString path = Trim_Str(Excel_path->text());
            if (Check_And_Validate_File_Path(path))
                return;
            if (file_name_required == 1) {
                Import_Excel_DataSheet* columns = Import_Excel_DataSheet::defaultInstance();
                columns->file_name_Insert = file_name_Insert;
                columns->Open_excel_Wnd(path);
            } else {
                Import_Excel* picker = Import_Excel::defaultInstance();
                picker->open_mode = QStringLiteral("D");
                picker->Open_excel_Wnd(path);
            }
            imported = true; // the column dialog has had its say
            break;
        }
        case 1:
            if (Check_And_Validate_File_Path(Text_path->text()))
                return;
            imported = Create_And_Save_Text_Data_Sheet(Trim_Str(Text_path->text()));
            break;
        case 2:
            imported = Create_And_Save_Manual_Paste_data_Sheet();
            break;
        case 3:
            if (Check_And_Validate_File_Path(Image_path->text()))
                return;
            imported = Create_And_Save_Image_data_Sheet(Trim_Str(Image_path->text()));
            break;
        default:
            return;
        }
        if (imported)
            done(1);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Import_Wizard::CancelPressed()
{
    done(0);
}

// ---------------------------------------------------------------- writers

QString Import_Wizard::Set_Name(QLineEdit* field)
{
    // Without a name the values go to the manager; an empty name stands for that.
    return file_name_required == 1 ? Accept_New_Data_Set_Name(field->text()) : QStringLiteral("");
}

bool Import_Wizard::Create_And_Save_Text_Data_Sheet(const QString& path)
{
    QFile file(path);
    const QFileInfo info(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        Show_NSLog_Message(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
        Show_MessageBox(QStringLiteral("Please select a valid file."));
        return false;
    }
    // The size is known before a byte is read, so a huge file costs nothing.
    if (file.size() > Text_Import_Max_Bytes) {
        Show_MessageBox(Text_File_Too_Large_Message(file.size()));
        return false;
    }
    const QString extension = info.suffix();
    bool isText = false;
    std::optional<QStringList> values;
    {
        const Please_Wait wait;
        const std::optional<QString> text = Text_File_Text(file.read(Text_Import_Max_Bytes), extension);
        isText = text.has_value();
        if (isText)
            values = Text_Values(*text, extension);
    }
    if (!isText) {
        Show_MessageBox(Corrupted_File_Message);
        return false;
    }
    if (!values) {
        Show_MessageBox(Too_Many_Values_Message());
        return false;
    }
    if (values->isEmpty()) {
        Show_MessageBox(kNoData);
        return false;
    }
    const QString name = Set_Name(Text_file_name);
    return !name.isNull() && Deliver_Values(file_name_required, file_name_Insert, name, *values);
}

bool Import_Wizard::Create_And_Save_Manual_Paste_data_Sheet()
{
    const QString text = Trim_Str(ManualEdit->toPlainText());
    if (text.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter some data."));
        return false;
    }
    const QString name = Set_Name(Manual_file_name);
    if (name.isNull())
        return false;
    // A new set keeps every line that is not empty as it was typed; the
    // manager trims each and drops empty ones.
    QStringList values;
    for (const QString& line : text.split('\n'))
        if (!line.isEmpty())
            values << line;
    return Deliver_Values(file_name_required, file_name_Insert, name, values);
}

bool Import_Wizard::Create_And_Save_Image_data_Sheet(const QString& folder)
{
    if (!QFileInfo(folder).isDir()) {
        Show_MessageBox(QStringLiteral("Please select valid file path."));
        return false;
    }
    QStringList values;
    {
        const Please_Wait wait;
        values = Image_Folder_Values(folder);
    }
    if (values.isEmpty()) {
        Show_MessageBox(QStringLiteral("There is no image in the selected folder."));
        return false;
    }
    const QString name = Set_Name(Image_file_name);
    return !name.isNull() && Deliver_Values(file_name_required, file_name_Insert, name, values);
}
