#include "editor/SmallDialogs.h"

#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

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
    layout->addWidget(Ok_Cancel_Buttons(this, SLOT(OKPressed()), SLOT(CancelPressed())));
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
    layout->addWidget(Ok_Cancel_Buttons(this, SLOT(OK_Btn_Clicked()), SLOT(Cancel_Btn_Clicked())));
}

void Grid_Wizard::Open_Wnd()
{
    platform::runModal(*this);
    hide();
}
