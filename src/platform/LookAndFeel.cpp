#include "platform/LookAndFeel.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

void Apply_Dialog_Background(QWidget* window)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, QColor(241, 244, 250));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}
