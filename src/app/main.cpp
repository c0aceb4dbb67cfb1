#include "editor/Globals.h"
#include "model/Helpers.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gleamcard"));
    Set_Resource_Folder(QCoreApplication::applicationDirPath() + QStringLiteral("/resources"));
    Check_Path_And_Create_Files();

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Gleamcard"));
    window.resize(1100, 760);
    window.show();
    return app.exec();
}
