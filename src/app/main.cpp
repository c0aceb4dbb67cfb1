#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "model/Work_Files.h"
#include "wizards/Template_Files.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gleamcard"));
    Set_Resource_Folder(QCoreApplication::applicationDirPath() + QStringLiteral("/resources"));
    // What a killed or crashed run left half-written goes before anything new is written.
    Remove_Leftover_Work_Files();
    Remove_Unfinished_Templates();

    SKTWindowController* window = SKTWindowController::defaultInstance();
    window->New_Project_Setting_Reset();
    window->Open_Start_Window();
    return app.exec();
}
