// The main window's side of label printing and of the help window: the Print
// command, which checks the bound rows and the printers before the print
// settings window opens over this design, and the Help and Support command.
#include "editor/SKTWindowController.h"

#include "model/Globals.h"
#include "model/Helpers.h"
#include "output/Help_Support.h"
#include "output/Print_Wnd.h"
#include "platform/Host.h"

#include <QAction>
#include <QMenu>
#include <exception>

void SKTWindowController::buildPrintCommands(QMenu* help)
{
    connect(printAction, &QAction::triggered, this, &SKTWindowController::Print_Button);
    printAction->setShortcut(QKeySequence::Print);
    printAction->setEnabled(true);
    // Beside the user guide.
    auto* support = new QAction(QStringLiteral("Help and &Support..."), help);
    connect(support, &QAction::triggered, this, &SKTWindowController::Help_Support_Button);
    const QList<QAction*> items = help->actions();
    help->insertAction(items.value(items.indexOf(helpAction) + 1), support);
}

void SKTWindowController::Print_Button()
{
    try {
        batch.Check_Series_Or_Excel_Use_or_not();
        if (!batch.Sources_Found())
            return;
        // A design bound to data whose sets or columns give no rows has
        // nothing to put on its labels.
        const bool bound =
            batch.Check_Front_Side_Dataset_Is_Used() || batch.Check_Front_Side_Excel_Binding_Is_Used()
            || (Card_Has_Back() && (batch.Check_Back_Side_Dataset_Is_Used() || batch.Check_Back_Side_Excel_Binding_Is_Used()));
        if ((bound || Use_Data_Sheet_Values || Use_Excel_Binding_Values) && Total_Batch_Excel_Card == 0) {
            Show_MessageBox(QStringLiteral("List is empty."));
            return;
        }
        Print_method();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void SKTWindowController::Print_method()
{
    try {
        if (platform::printerNames().isEmpty()) {
            Show_MessageBox(QStringLiteral("No printer found."));
            return;
        }
        Print_Wnd* window = Print_Wnd::defaultInstance();
        window->design = &batch;
        window->Open_Print_Wnd();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void SKTWindowController::Help_Support_Button()
{
    try {
        Help_Support::defaultInstance()->Open_Wnd();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}
