#pragma once
// The command of a window's menus whose text, without its "&" marks, is
// text: what a user would choose. Null when there is none.
#include <QString>

class QAction;
class QWidget;

QAction* Menu_Command(QWidget* window, const QString& text);
