#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "model/Helpers.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gleamcard"));
    Set_Resource_Folder(QCoreApplication::applicationDirPath() + QStringLiteral("/resources"));

    SKTWindowController* window = SKTWindowController::defaultInstance();
    window->New_Project_Setting_Reset();
    window->Open_Start_Window();
    return app.exec();
}
