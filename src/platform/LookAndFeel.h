#pragma once
// The look shared by the application's windows.
class QAbstractButton;
class QAbstractSpinBox;
class QDialog;
class QDialogButtonBox;
class QLineEdit;
class QRect;
class QSize;
class QString;
class QWidget;

// The background colour of dialog windows.
void Apply_Dialog_Background(QWidget* window);

// A number field with its stepper beside it: the stepper shows its arrows
// only, the field the number; extra (a help button) follows them.
QWidget* Field_With_Stepper(QLineEdit* field, QAbstractSpinBox* stepper, QWidget* extra = nullptr);
// A field with its caption before it, in one widget, so the two are shown
// and hidden together.
QWidget* Field_With_Caption(const QString& caption, QWidget* field);
// A button shown as a link: its own title in the bold system font of 11
// points, blue and underlined on the window's background, with an open hand
// over it.
void Style_As_Link(QAbstractButton* button);
// OK and Cancel of a dialog, each connected to a slot of the dialog given
// with SLOT().
QDialogButtonBox* Ok_Cancel_Buttons(QDialog* dialog, const char* ok_slot, const char* cancel_slot);

// Where a window that would like the wanted size opens on a screen's free
// area: no larger than the area less room for its title bar and frame,
// centred across and a little below the top.
QRect Window_Frame_On_Screen(const QSize& wanted, const QRect& room);
// Sizes and places the window so on the free area of its screen.
void Fit_Window_On_Screen(QWidget* window, const QSize& wanted);
