#include "support/Menus.h"

#include <QAction>
#include <QWidget>

QAction* Menu_Command(QWidget* window, const QString& text)
{
    for (QAction* action : window->findChildren<QAction*>())
        if (QString(action->text()).remove(QLatin1Char('&')) == text)
            return action;
    return nullptr;
}
