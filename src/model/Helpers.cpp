#include "model/Helpers.h"

#include "model/Globals.h"
#include "model/Work_Files.h"
#include "platform/Host.h"
#include "platform/Log.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>
#include <limits>
#include <mutex>
#include <unistd.h>

const QStringList Picture_File_Extensions = {"jpg", "jpeg", "jpe", "jfif", "gif", "bmp", "png", "tif", "tiff"};

QString Choose_Picture_File(const QString& title)
{
    platform::PanelRequest request;
    request.kind = platform::PanelRequest::Open;
    request.title = title;
    request.extensions = Picture_File_Extensions;
    const platform::PanelResult result = platform::runPanel(request);
    return result.accepted ? result.path() : QString();
}

const QString Not_A_Picture_Message = QStringLiteral("This file is not a picture Gleamcard can read.");
const QString Picture_Too_Large_Message = QStringLiteral("This picture is too large.");

namespace {
// What a decoded picture may take: a quarter of the machine's memory, between
// 256 MB and 2 GB (Qt's own default of 128 MB refuses a 48-megapixel photo).
int Picture_Memory_Limit_MB()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    const qint64 quarter = pages > 0 && pageSize > 0 ? qint64(pages) * pageSize / 4 / (1024 * 1024) : 0;
    return int(std::clamp<qint64>(quarter, 256, 2048));
}
}

QImage Read_Image_File(const QString& path, QString* error)
{
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(Picture_Memory_Limit_MB()); });
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return QImage();
    };
    if (path.isEmpty())
        return fail(QStringLiteral("No file was given."));
    // A FIFO would hold the program for ever, a device could feed it without end.
    if (!Is_Regular_File(path))
        return fail(Not_A_Picture_Message);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return fail(Not_A_Picture_Message);
    const QSize size = reader.size();
    // Only the JPEG reader scales while it decodes; the others decode the
    // whole picture first, which must fit in the limit.
    const bool tooLarge = size.isValid()
                          && qint64(size.width()) * size.height() * 4
                                 > qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (tooLarge && reader.format() != "jpeg")
        return fail(Picture_Too_Large_Message);
    if (size.isValid() && std::max(size.width(), size.height()) > Card_Picture_Max_Side)
        reader.setScaledSize(size.scaled(Card_Picture_Max_Side, Card_Picture_Max_Side, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull())
        return fail(tooLarge ? Picture_Too_Large_Message : Not_A_Picture_Message);
    if (error)
        error->clear();
    return image;
}

void Show_MessageBox(const QString& text)
{
    try {
        platform::AlertRequest request;
        request.text = QStringLiteral("\n") + text;
        request.buttons = {QStringLiteral("OK")};
        platform::showAlert(request);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

bool Show_YES_NO_MessageBox(const QString& text)
{
    platform::AlertRequest request;
    request.text = text;
    request.buttons = {QStringLiteral("Yes"), QStringLiteral("No")};
    request.defaultButton = 0;
    return platform::showAlert(request) == 0;
}

void Show_NSLog_Message(const QString& text)
{
    if (!text.isEmpty())
        platform::log(text);
}

namespace {
template <typename Pred>
QString trimEnds(const QString& text, Pred strip)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && strip(text[begin]))
        ++begin;
    while (end > begin && strip(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// White space, line ends, control and format characters: what a value never
// begins or ends with.
bool isTrimmed(char32_t c)
{
    const auto cat = QChar::category(c);
    return QChar::isSpace(c) || cat == QChar::Other_Control || cat == QChar::Other_Format;
}
}

QString Trim_Str(const QString& text)
{
    if (text.isNull())
        return text;
    // Taken by characters, not code units, so a format character beyond the
    // first plane (such as U+E0001) goes as well; one pass takes every kind
    // of trimmed character, so nothing trimmable is left at either end.
    qsizetype begin = 0, end = text.size();
    while (begin < end) {
        const bool pair = text[begin].isHighSurrogate() && begin + 1 < end && text[begin + 1].isLowSurrogate();
        if (!isTrimmed(pair ? QChar::surrogateToUcs4(text[begin], text[begin + 1]) : text[begin].unicode()))
            break;
        begin += pair ? 2 : 1;
    }
    while (end > begin) {
        const bool pair = text[end - 1].isLowSurrogate() && end - 2 >= begin && text[end - 2].isHighSurrogate();
        if (!isTrimmed(pair ? QChar::surrogateToUcs4(text[end - 2], text[end - 1]) : text[end - 1].unicode()))
            break;
        end -= pair ? 2 : 1;
    }
    return text.mid(begin, end - begin);
}

QString Replace_char_in_string(const QString& text, const QString& target, const QString& replacement)
{
    if (target.isEmpty())
        return text;
    QString out = text;
    return out.replace(target, replacement);
}

namespace {
// The longest leading number of a text (after blanks), as its characters.
QString leadingNumber(const QString& text, bool fraction)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits = true;
        else if (fraction && !point && c == QLatin1Char('.'))
            point = true;
        else
            break;
    }
    return digits ? text.mid(start, i - start) : QString();
}
}

int Int_Value(const QString& text)
{
    const double value = leadingNumber(text, false).toDouble();
    return int(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}

double Float_Value(const QString& text)
{
    return leadingNumber(text, true).toDouble();
}

qint64 Int64_Value(const QString& text)
{
    const QString number = leadingNumber(text, false);
    bool ok = false;
    const qint64 value = number.toLongLong(&ok);
    if (ok || number.isEmpty())
        return value;
    return number.startsWith(QLatin1Char('-')) ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

void Copy_Pair_Value(QObject* sender, QLineEdit* field, QDoubleSpinBox* stepper, bool integer, bool keep_larger)
{
    auto show = [&] {
        field->setText(integer ? QString::asprintf("%d", int(stepper->value())) : QString::number(stepper->value()));
    };
    if (sender == stepper) {
        show();
        return;
    }
    const double typed = integer ? Int_Value(field->text()) : Float_Value(field->text());
    const QSignalBlocker b(stepper);
    stepper->setValue(typed);
    if (stepper->value() != typed && !(keep_larger && typed > stepper->maximum()))
        show(); // outside the stepper's range: the field shows what is used
}

QString Left_Str_substringToIndex(const QString& text, int n)
{
    return text.left(std::max(n, 0));
}

QString Right_Str_substringFromIndex(const QString& text, int n)
{
    return text.right(std::max(n, 0));
}

QString Read_Str_FromIndex(const QString& text, int n)
{
    if (n > text.size())
        return QString(QStringLiteral(""));
    return text.mid(std::max(n, 0));
}

QString Remove_Reserve_Char_In_File_Name(const QString& name)
{
    static const QString reserved = QStringLiteral("/\\?%*|\"<>");
    return Trim_Str(trimEnds(name, [](QChar c) { return reserved.contains(c); }));
}

bool Check_And_Validate_File_Path(const QString& path)
{
    const QString trimmed = Trim_Str(path);
    if (!trimmed.isEmpty() && QFileInfo::exists(trimmed))
        return false;
    Show_MessageBox(QStringLiteral("Please select valid file path."));
    return true;
}

void Check_Path_And_Create_Files()
{
    try {
        const QStringList folders = {
            Data_Folder_Path,
            Resource_Path + QStringLiteral("/Frames"),
            Resource_Path + QStringLiteral("/Fill_Style_Image"),
            Resource_Path + QStringLiteral("/LibraryImage"),
            Resource_Path + QStringLiteral("/Templates"),
            Resource_Path + QStringLiteral("/Templates/User"),
        };
        for (const QString& folder : folders) {
            if (folder.isEmpty() || QFileInfo::exists(folder))
                continue;
            // mkpath creates each missing level with mode 0777 (the umask applies).
            QDir().mkpath(folder);
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Delete_File(const QString& path)
{
    try {
        const QFileInfo info(path);
        if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
            return;
        // Deletable when the containing folder lets us remove entries.
        if (!QFileInfo(info.absolutePath()).isWritable())
            return;
        bool removed;
        if (info.isDir() && !info.isSymLink())
            removed = QDir(path).removeRecursively();
        else
            removed = QFile::remove(path);
        if (!removed)
            Show_NSLog_Message(QStringLiteral("Could not remove %1").arg(path));
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Open_Help_File()
{
    const QString help = Resource_Path + QStringLiteral("/Help.pdf");
    if (!QFileInfo::exists(help)) {
        Show_MessageBox(QStringLiteral("Help file does not exist!"));
        return;
    }
    Open_With_Default_App(help);
}

bool Open_With_Default_App(const QString& path)
{
    if (platform::openPath(path))
        return true;
    Show_NSLog_Message(QStringLiteral("No application opened %1").arg(path));
    Show_MessageBox(QStringLiteral("No application could be found to open \"%1\".").arg(path));
    return false;
}

void SetObjEnabled(QWidget* view, bool enabled)
{
    if (!view)
        return;
    view->setEnabled(enabled);
    // A box hands the state on to every widget inside it.
    if (qobject_cast<QGroupBox*>(view) || (qobject_cast<QFrame*>(view) && !qobject_cast<QLabel*>(view))) {
        for (QWidget* child : view->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            SetObjEnabled(child, enabled);
    }
}

namespace {
bool xmlCanHold(char16_t c) { return c >= 0x20 ? c != 0xFFFE && c != 0xFFFF : c == u'\t' || c == u'\n' || c == u'\r'; }
}

QString Xml_Text_Filter::operator()(const QString& text)
{
    // Most text holds nothing to drop: it is returned as it is, uncopied.
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (!xmlCanHold(c.unicode()) || (c.isSurrogate() && !(c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate())))
            break;
        if (c.isHighSurrogate())
            ++i;
    }
    if (i == n)
        return text;
    QString kept = text.left(i);
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            kept += c;
            kept += text[++i];
        } else if (xmlCanHold(c.unicode()) && !c.isSurrogate()) {
            kept += c;
        } else {
            ++_dropped;
        }
    }
    return kept;
}

Xml_Text_Filter::~Xml_Text_Filter()
{
    if (_dropped > 0)
        Show_NSLog_Message(QStringLiteral("Dropped %1 characters that a saved design cannot hold from %2")
                               .arg(_dropped)
                               .arg(_from));
}

double Bounded_Number(const QVariant& value, double fallback, double low, double high)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    return ok && !std::isnan(d) ? std::clamp(d, low, high) : fallback;
}

bool Log_Failure(QString* error, const QString& reason)
{
    Show_NSLog_Message(reason);
    if (error)
        *error = reason;
    return false;
}
