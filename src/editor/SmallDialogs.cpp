#include "editor/SmallDialogs.h"

#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"
#include "wizards/Template_Files.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QDialogButtonBox* okCancel(QDialog* dialog, const char* ok, const char* cancel)
{
    auto* box = new QDialogButtonBox(dialog);
    auto* okButton = box->addButton(QDialogButtonBox::Ok);
    auto* cancelButton = box->addButton(QDialogButtonBox::Cancel);
    QObject::connect(okButton, SIGNAL(clicked()), dialog, ok);
    QObject::connect(cancelButton, SIGNAL(clicked()), dialog, cancel);
    return box;
}
}

Export_Template* Export_Template::defaultInstance()
{
    static Export_Template* instance = new Export_Template;
    return instance;
}

Export_Template::Export_Template(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Template Name"));
    Apply_Dialog_Background(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Template name:")));
    template_name = new QLineEdit;
    layout->addWidget(template_name);
    layout->addWidget(okCancel(this, SLOT(OKPressed()), SLOT(CancelPressed())));
}

int Export_Template::Open_Wnd()
{
    return platform::runModal(*this);
}

void Export_Template::OKPressed()
{
    const QString name = Remove_Reserve_Char_In_File_Name(Trim_Str(template_name->text()));
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter template name."));
        return;
    }
    // The name becomes a file name inside the user templates folder.
    if (const QString problem = Template_Name_Problem(name); !problem.isEmpty()) {
        Show_MessageBox(problem);
        return;
    }
    const QString path = Resource_Path + QStringLiteral("/Templates/User/") + name + '.' + design_file_EXT;
    const bool exists = QFileInfo::exists(path);
    if (template_passed.isEmpty()) {
        if (exists && !Show_YES_NO_MessageBox(QStringLiteral(
                          "Template with this name already exists, Do you want to replace the existing template?")))
            return;
    } else if (template_passed != name && exists) {
        Show_MessageBox(QStringLiteral("Template with this name already exists."));
        return;
    }
    export_template_name = name;
    done(1);
}

void Export_Template::CancelPressed()
{
    template_name->clear();
    done(0);
}

Open_Export_Log* Open_Export_Log::defaultInstance()
{
    static Open_Export_Log* instance = new Open_Export_Log;
    return instance;
}

Open_Export_Log::Open_Export_Log(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Export"));
    Apply_Dialog_Background(this);
    auto* layout = new QVBoxLayout(this);
    _open_log_message = new QLabel;
    _open_log_path = new QLabel;
    _open_log_path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    _open_log_chk = new QCheckBox(QStringLiteral("Open exported file."));
    _open_log_chk->setChecked(true);
    layout->addWidget(_open_log_message);
    layout->addWidget(_open_log_path);
    layout->addWidget(_open_log_chk);
    layout->addWidget(okCancel(this, SLOT(OKPressed()), SLOT(CancelPressed())));
}

void Open_Export_Log::OKPressed()
{
    if (_open_log_chk->isChecked())
        Open_With_Default_App(Export_File_Path);
    _open_log_chk->setChecked(true);
    done(1);
}

void Open_Export_Log::CancelPressed()
{
    _open_log_chk->setChecked(true);
    done(0);
}

Grid_Wizard* Grid_Wizard::defaultInstance()
{
    static Grid_Wizard* instance = new Grid_Wizard;
    return instance;
}

Grid_Wizard::Grid_Wizard(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Grid"));
    Apply_Dialog_Background(this);
    auto* layout = new QVBoxLayout(this);
    controlsLayout = new QVBoxLayout;
    layout->addLayout(controlsLayout);
    layout->addWidget(okCancel(this, SLOT(OK_Btn_Clicked()), SLOT(Cancel_Btn_Clicked())));
}

void Grid_Wizard::Open_Wnd()
{
    platform::runModal(*this);
    hide();
}
