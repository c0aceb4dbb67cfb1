#pragma once
// Small helpers shared by every part of the application: message boxes,
// the log line, string trimming and slicing, and file housekeeping.
#include <QImage>
#include <QString>
#include <QStringList>
#include <QVariant>

class QDoubleSpinBox;
class QLineEdit;
class QObject;
class QWidget;

// An alert with the one button "OK"; the text follows a line break. Callable
// from any thread: it is shown on the main thread and the caller waits.
void Show_MessageBox(const QString& text);
// An alert with "Yes" (default) and "No"; true exactly when "Yes" was pressed.
bool Show_YES_NO_MessageBox(const QString& text);
// One line in the log; nothing for a null or empty text.
void Show_NSLog_Message(const QString& text);

// White space, line ends, control and format characters (such as U+FEFF or
// U+200B) removed at both ends, in any mix, until neither end has one; inner
// characters stay. Null gives null.
QString Trim_Str(const QString& text);
QString Replace_char_in_string(const QString& text, const QString& target, const QString& replacement);
// The first n characters (n < 0 counts as 0; n past the end gives the whole text).
QString Left_Str_substringToIndex(const QString& text, int n);
// The last n characters, with the same bounds.
QString Right_Str_substringFromIndex(const QString& text, int n);
// From position n to the end; empty when n lies past the end.
QString Read_Str_FromIndex(const QString& text, int n);
// The number a text field holds, read as a person types it: leading blanks,
// a sign and the digits up to the first character that does not belong
// ("12ab" is 12, "" and "ab" are 0). The float form also takes a fraction.
int Int_Value(const QString& text);
double Float_Value(const QString& text);
// The same in 64 bits, for counting past the int range; beyond the 64-bit
// range the nearest 64-bit integer.
qint64 Int64_Value(const QString& text);
// A number field and its stepper share one action: the one that did not
// change takes the value of the one that did. A typed value the stepper
// cannot hold is shown as the stepper holds it, unless keep_larger is set and
// it lies above the stepper's maximum (a field that may count past its stepper).
void Copy_Pair_Value(QObject* sender, QLineEdit* field, QDoubleSpinBox* stepper, bool integer,
                     bool keep_larger = false);
// / \ ? % * | " < > removed at both ends (inner ones stay), then Trim_Str.
QString Remove_Reserve_Char_In_File_Name(const QString& name);

// The picture files the open panels offer.
extern const QStringList Picture_File_Extensions;
// Runs an open panel for one picture file: the chosen path, or a null
// string when the panel was cancelled.
QString Choose_Picture_File(const QString& title);
// The longest side, in pixels, a picture on a card is kept at: a card of
// about 35 cm exported at 300 dpi.
constexpr int Card_Picture_Max_Side = 4096;
extern const QString Not_A_Picture_Message;     // "This file is not a picture Gleamcard can read."
extern const QString Picture_Too_Large_Message; // "This picture is too large."
// Reads a picture file, turned as its orientation tag says and scaled down
// (never up) to at most Card_Picture_Max_Side on its longest side, so large
// phone photos load. A null image when it cannot be read, with the reason in
// error: one of the two messages above ("No file was given." for no path).
// Only regular files are read: a FIFO, device or folder is refused as a file
// that is no picture.
QImage Read_Image_File(const QString& path, QString* error = nullptr);

// Creates, each only when missing, the data-set folder and the folders the
// app keeps in the resource folder.
void Check_Path_And_Create_Files();
// True, after "Please select valid file path.", when the trimmed path is
// empty or names nothing; false for a path that exists.
bool Check_And_Validate_File_Path(const QString& path);
// Removes a file or a whole folder when it may be deleted; failures are logged.
void Delete_File(const QString& path);
// Opens the user guide "Help.pdf" of the resource folder.
void Open_Help_File();
// Opens a file with its default application (a folder with the file
// browser); when none can be started, says so in a message. True when opened.
bool Open_With_Default_App(const QString& path);
// Enables or disables a widget; a box passes the state on to every widget inside it.
void SetObjEnabled(QWidget* view, bool enabled);

// Logs reason, hands it to the caller through error (when given) and gives
// false: the end of every failed read or write that reports its reason.
bool Log_Failure(QString* error, const QString& reason);

// Keeps text from data sets and spreadsheets to what a saved design can hold:
// U+0000, the control characters XML 1.0 cannot hold (those below U+0020
// but tab, line feed and carriage return), unpaired surrogates, U+FFFE and
// U+FFFF are dropped; every other character stays. It counts what it drops
// and, when it goes, logs one line naming where the text came from.
class Xml_Text_Filter {
public:
    explicit Xml_Text_Filter(const QString& from) : _from(from) {}
    ~Xml_Text_Filter();
    Xml_Text_Filter(const Xml_Text_Filter&) = delete;
    Xml_Text_Filter& operator=(const Xml_Text_Filter&) = delete;
    QString operator()(const QString& text);
    qsizetype dropped() const { return _dropped; }

private:
    QString _from;
    qsizetype _dropped = 0;
};

// A number read from a file, within [low, high] (so no drawing or conversion
// to int overflows); fallback when it is not a number at all.
double Bounded_Number(const QVariant& value, double fallback, double low, double high);
