#include "wizards/Export_Template.h"
#include "wizards/Template_Files.h"

#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

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
    layout->addWidget(Ok_Cancel_Buttons(this, SLOT(OKPressed()), SLOT(CancelPressed())));
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
