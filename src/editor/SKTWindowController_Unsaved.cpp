// Unsaved work: the design as last opened or saved is kept and compared with
// the design now; New, Open, Quit and closing the window ask before they
// discard changes, and the title marks them.
#include "editor/SKTWindowController.h"

#include "canvas/SKTGraphicView.h"
#include "model/Globals.h"
#include "platform/Host.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QTimer>

void SKTWindowController::Mark_Design_Saved()
{
    savedDesign = Design_Log_To_Plist(Current_Design_Content(false));
    Update_Window_Title();
}

bool SKTWindowController::Design_Has_Changes() const
{
    return Design_Log_To_Plist(Current_Design_Content(false)) != savedDesign;
}

void SKTWindowController::Update_Window_Title()
{
    const QString name =
        currentProjectPath.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(currentProjectPath).completeBaseName();
    setWindowTitle(QStringLiteral("%1[*] - %2").arg(name, App_Name));
    // While a batch fills the design row by row it is not the user's change.
    if (!Batch_Running() && !Card_Value_In_Process)
        setWindowModified(Design_Has_Changes());
}

bool SKTWindowController::Ask_To_Save_Changes()
{
    if (!Design_Has_Changes())
        return true;
    platform::AlertRequest question;
    question.text = QStringLiteral("Do you want to save the changes to this design?");
    question.buttons = {QStringLiteral("Save"), QStringLiteral("Don't Save"), QStringLiteral("Cancel")};
    switch (platform::showAlert(question)) {
    case 0: return Save_Design();
    case 1: return true;
    default: return false;
    }
}

void SKTWindowController::closeEvent(QCloseEvent* event)
{
    if (Batch_Running() || !Ask_To_Save_Changes())
        event->ignore();
    else
        event->accept();
}

bool SKTWindowController::eventFilter(QObject* watched, QEvent* event)
{
    // Every change to the design shows on a canvas: a repaint is the moment
    // to look at the title again (a few at a time).
    if (event->type() == QEvent::Paint && (watched == _graphicView || watched == _graphicView_BACK)) {
        if (!titleTimer) {
            titleTimer = new QTimer(this);
            titleTimer->setSingleShot(true);
            titleTimer->setInterval(150);
            connect(titleTimer, &QTimer::timeout, this, &SKTWindowController::Update_Window_Title);
        }
        if (!titleTimer->isActive())
            titleTimer->start();
    }
    return QMainWindow::eventFilter(watched, event);
}
