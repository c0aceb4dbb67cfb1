#pragma once
// The look shared by the application's windows.
class QWidget;

// The background colour of dialog windows.
void Apply_Dialog_Background(QWidget* window);
