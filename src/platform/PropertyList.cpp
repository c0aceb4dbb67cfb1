#include "platform/PropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <plist/plist.h>
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

// Writing builds a libplist tree and lets libplist format it. Reading uses
// our own readers: libplist 2.2 reads XML loosely (<integer>abc</integer>
// becomes 0, a <key> without a value vanishes, text after the root is
// ignored) and its binary reader takes time quadratic in the nesting depth,
// so hostile input could pass as wrong data or stall the program.

namespace platform {
namespace {

// Property list dates count seconds from 2001-01-01T00:00:00Z.
constexpr qint64 kEpoch2001Ms = 978307200000;

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// ---- Writing ----

// Why a string cannot be stored, or empty when it can. libplist takes C
// strings, and XML 1.0 has no way to write most control characters.
QString textProblem(const QString& text, PlistFormat format)
{
    if (!text.isValidUtf16())
        return QStringLiteral("is not valid UTF-16");
    for (QChar c : text) {
        if (c.unicode() == 0)
            return QStringLiteral("contains a NUL character");
        const bool xmlForbidden = (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF;
        if (format == PlistFormat::Xml && xmlForbidden)
            return QStringLiteral("contains U+%1, which XML cannot hold").arg(c.unicode(), 4, 16, QChar(u'0'));
    }
    return {};
}

// The libplist node for one value, or nullptr with `problem` set.
plist_t toNode(const QVariant& value, PlistFormat format, const QString& path, int depth, QString& problem)
{
    auto fail = [&](const QString& why) -> plist_t {
        problem = QStringLiteral("%1: %2").arg(path.isEmpty() ? QStringLiteral("/") : path, why);
        return nullptr;
    };
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QString text = value.toString();
        const QString why = textProblem(text, format);
        if (!why.isEmpty())
            return fail(QStringLiteral("string ") + why);
        return plist_new_string(text.toUtf8().constData());
    }
    case QMetaType::Bool:
        return plist_new_bool(value.toBool());
    // libplist keeps every integer as 64 bits and writes a negative one as
    // its two's complement: eight bytes in binary, a signed number in XML.
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return plist_new_uint(quint64(value.toLongLong()));
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const quint64 n = value.toULongLong();
        if (n > quint64(std::numeric_limits<qint64>::max()))
            return fail(QStringLiteral("integer %1 does not fit a signed 64-bit integer").arg(n));
        return plist_new_uint(n);
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return plist_new_real(value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return plist_new_data(bytes.constData(), quint64(bytes.size()));
    }
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        if (!when.isValid())
            return fail(QStringLiteral("invalid date"));
        const qint64 ms = when.toMSecsSinceEpoch() - kEpoch2001Ms;
        qint64 seconds = ms / 1000, rest = ms % 1000;
        if (rest < 0) {
            rest += 1000;
            --seconds;
        }
        // XML holds whole seconds and libplist would round a date before
        // 2001 towards 2001; drop the fraction here so it rounds down.
        if (format == PlistFormat::Xml)
            rest = 0;
        if (seconds < std::numeric_limits<qint32>::min() || seconds > std::numeric_limits<qint32>::max())
            return fail(QStringLiteral("date %1 is outside 1932-12-13 to 2069-01-19")
                            .arg(when.toUTC().toString(Qt::ISODate)));
        return plist_new_date(qint32(seconds), qint32(rest * 1000));
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        if (depth >= plistMaxDepth)
            return fail(QStringLiteral("nested deeper than %1 levels").arg(plistMaxDepth));
        const QVariantList items = value.toList();
        plist_t array = plist_new_array();
        for (qsizetype i = 0; i < items.size(); ++i) {
            plist_t item = toNode(items[i], format, path + u'/' + QString::number(i), depth + 1, problem);
            if (!item) {
                plist_free(array);
                return nullptr;
            }
            plist_array_append_item(array, item);
        }
        return array;
    }
    case QMetaType::QVariantMap: {
        if (depth >= plistMaxDepth)
            return fail(QStringLiteral("nested deeper than %1 levels").arg(plistMaxDepth));
        const QVariantMap map = value.toMap();
        plist_t dict = plist_new_dict();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            const QString where = path + u'/' + it.key();
            const QString why = textProblem(it.key(), format);
            plist_t item = why.isEmpty() ? toNode(it.value(), format, where, depth + 1, problem) : nullptr;
            if (!item) {
                if (!why.isEmpty())
                    problem = QStringLiteral("%1: key %2").arg(where, why);
                plist_free(dict);
                return nullptr;
            }
            plist_dict_set_item(dict, it.key().toUtf8().constData(), item);
        }
        return dict;
    }
    default:
        return fail(QStringLiteral("cannot store a value of type %1")
                        .arg(value.isValid() ? QString::fromLatin1(value.typeName()) : QStringLiteral("(none)")));
    }
}

// ---- Reading XML ----

// Decimal text of <integer> and <real>: no locale, no hex, an optional sign,
// and for reals also nan and [+-]inf[inity] as libplist writes them.
template <typename T>
std::optional<T> number(const QString& text)
{
    const QByteArray digits = text.trimmed().toLatin1();
    const char* begin = digits.constData();
    const char* end = begin + digits.size();
    if (end - begin > 1 && begin[0] == '+' && begin[1] != '-')
        ++begin;
    T value{};
    const auto [stop, status] = std::from_chars(begin, end, value);
    if (begin == end || status != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

class XmlReader {
public:
    explicit XmlReader(const QByteArray& bytes) : xml(bytes) {}
    std::optional<QVariant> read(QString* error);

private:
    bool nextChild();
    std::optional<QString> text();
    std::optional<QVariant> value(int depth);
    void fail(const QString& why);

    QXmlStreamReader xml;
    QString problem;
};

void XmlReader::fail(const QString& why)
{
    if (problem.isEmpty())
        problem = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(why);
}

// Moves to the next child element of the current element. False at the
// current element's closing tag, or on failure with `problem` set.
bool XmlReader::nextChild()
{
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            return true;
        case QXmlStreamReader::EndElement:
            return false;
        case QXmlStreamReader::Characters:
            if (!xml.isWhitespace()) {
                fail(QStringLiteral("unexpected text \"%1\"").arg(xml.text().toString().trimmed().left(40)));
                return false;
            }
            break;
        case QXmlStreamReader::EntityReference:
            fail(QStringLiteral("unresolved entity &%1;").arg(xml.name()));
            return false;
        default: // the XML declaration, DOCTYPE, comments, processing instructions
            break;
        }
    }
    fail(xml.hasError() ? xml.errorString() : QStringLiteral("unexpected end of document"));
    return false;
}

// The text of the current element, entities and CDATA resolved, leaving
// the reader on its closing tag. A child element or an entity the reader
// cannot resolve is an error (QXmlStreamReader::readElementText would drop
// the entity silently).
std::optional<QString> XmlReader::text()
{
    QString content;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
            content += xml.text();
            break;
        case QXmlStreamReader::EndElement:
            return content;
        case QXmlStreamReader::StartElement:
            fail(QStringLiteral("<%1> inside a text element").arg(xml.name()));
            return std::nullopt;
        case QXmlStreamReader::EntityReference:
            fail(QStringLiteral("unresolved entity &%1;").arg(xml.name()));
            return std::nullopt;
        default: // comments, processing instructions
            break;
        }
    }
    fail(xml.hasError() ? xml.errorString() : QStringLiteral("unexpected end of document"));
    return std::nullopt;
}

// Reads the element the reader stands on, leaving it on its closing tag.
std::optional<QVariant> XmlReader::value(int depth)
{
    const QString tag = xml.name().toString();
    if ((tag == u"array" || tag == u"dict") && depth >= plistMaxDepth) {
        fail(QStringLiteral("nested deeper than %1 levels").arg(plistMaxDepth));
        return std::nullopt;
    }
    if (tag == u"array") {
        QVariantList list;
        while (nextChild()) {
            const auto item = value(depth + 1);
            if (!item)
                return std::nullopt;
            list.append(*item);
        }
        return problem.isEmpty() ? std::optional<QVariant>(list) : std::nullopt;
    }
    if (tag == u"dict") {
        QVariantMap map;
        while (nextChild()) {
            if (xml.name() != u"key") {
                fail(QStringLiteral("<%1> where a <key> belongs").arg(xml.name()));
                return std::nullopt;
            }
            const auto key = text();
            if (!key)
                return std::nullopt;
            if (map.contains(*key)) {
                fail(QStringLiteral("key \"%1\" appears twice").arg(*key));
                return std::nullopt;
            }
            if (!nextChild()) {
                fail(QStringLiteral("key \"%1\" has no value").arg(*key));
                return std::nullopt;
            }
            const auto item = value(depth + 1);
            if (!item)
                return std::nullopt;
            map.insert(*key, *item);
        }
        return problem.isEmpty() ? std::optional<QVariant>(map) : std::nullopt;
    }
    static const QStringList scalars = {QStringLiteral("string"), QStringLiteral("integer"),
                                        QStringLiteral("real"),   QStringLiteral("true"),
                                        QStringLiteral("false"),  QStringLiteral("date"),
                                        QStringLiteral("data")};
    if (!scalars.contains(tag)) {
        fail(QStringLiteral("<%1> is not a property list value").arg(tag));
        return std::nullopt;
    }
    const auto content = text();
    if (!content)
        return std::nullopt;
    if (tag == u"string")
        return QVariant(*content);
    if (tag == u"true" || tag == u"false") {
        if (content->trimmed().isEmpty())
            return QVariant(tag == u"true");
    } else if (tag == u"integer") {
        if (const auto n = number<qint64>(*content))
            return QVariant(qint64(*n));
    } else if (tag == u"real") {
        if (const auto n = number<double>(*content))
            return QVariant(*n);
    } else if (tag == u"date") {
        const QDateTime when = QDateTime::fromString(content->trimmed(), Qt::ISODateWithMs);
        if (content->trimmed().endsWith(u'Z') && when.isValid())
            return QVariant(when);
    } else if (tag == u"data") {
        QByteArray base64 = content->toLatin1();
        base64.removeIf([](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
        const auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        if (decoded)
            return QVariant(*decoded);
    }
    fail(QStringLiteral("<%1> holds \"%2\", which is not valid there").arg(tag, content->trimmed().left(40)));
    return std::nullopt;
}

std::optional<QVariant> XmlReader::read(QString* error)
{
    std::optional<QVariant> root;
    if (nextChild()) {
        if (xml.name() != u"plist")
            fail(QStringLiteral("not a property list: the root element is <%1>").arg(xml.name()));
        else if (!nextChild())
            fail(QStringLiteral("<plist> holds no value"));
        else if ((root = value(0)) && nextChild())
            fail(QStringLiteral("<plist> holds more than one value"));
    }
    while (problem.isEmpty() && !xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        fail(xml.errorString());
    if (!problem.isEmpty()) {
        setError(error, QStringLiteral("XML property list, ") + problem);
        return std::nullopt;
    }
    return root;
}

// ---- Reading binary ----

// Layout: "bplist00", the objects, a table of object offsets, and a 32-byte
// trailer (6 unused bytes, offset width, reference width, object count,
// top object, offset table position; big-endian). Every size and reference
// is checked against the file before it is used; a container may be
// reached only once, which rules out cycles and exponential sharing.
class BinaryReader {
public:
    explicit BinaryReader(const QByteArray& bytes)
        : data(reinterpret_cast<const uchar*>(bytes.constData())), size(bytes.size())
    {
    }
    std::optional<QVariant> read(QString* error);

private:
    quint64 number(quint64 at, int width) const;
    bool fits(quint64 at, quint64 count, quint64 width) const;
    std::optional<quint64> length(quint8 info, quint64& at) const;
    std::optional<QVariant> object(quint64 index, int depth);

    const uchar* data;
    qsizetype size;
    int offsetWidth = 0;
    int refWidth = 0;
    quint64 objectCount = 0;
    quint64 tableStart = 0;
    std::vector<QVariant> scalars; // decoded once, however often referenced
    std::vector<bool> opened;      // containers already read
    QString problem;
};

quint64 BinaryReader::number(quint64 at, int width) const
{
    quint64 n = 0;
    for (int i = 0; i < width; ++i)
        n = (n << 8) | data[at + i];
    return n;
}

// Whether `count` items of `width` bytes starting at `at` lie within the
// object area, which ends where the offset table starts.
bool BinaryReader::fits(quint64 at, quint64 count, quint64 width) const
{
    return at <= tableStart && count <= (tableStart - at) / width;
}

// The length of data, strings and containers: the marker's low nibble, or,
// when that is 0xF, an integer object that follows the marker.
std::optional<quint64> BinaryReader::length(quint8 info, quint64& at) const
{
    if (info != 0x0F)
        return info;
    if (!fits(at, 1, 1) || (data[at] >> 4) != 0x1 || (data[at] & 0x0F) > 3)
        return std::nullopt;
    const int width = 1 << (data[at] & 0x0F);
    if (!fits(at + 1, width, 1))
        return std::nullopt;
    const quint64 n = number(at + 1, width);
    at += 1 + width;
    return n;
}

std::optional<QVariant> BinaryReader::object(quint64 index, int depth)
{
    auto fail = [&](const QString& why) {
        problem = QStringLiteral("object %1: %2").arg(index).arg(why);
        return std::nullopt;
    };
    if (index >= objectCount)
        return fail(QStringLiteral("reference out of range"));
    if (scalars[index].isValid())
        return scalars[index];
    const quint64 start = number(tableStart + index * offsetWidth, offsetWidth);
    if (start < 8 || start >= tableStart)
        return fail(QStringLiteral("offset out of range"));
    quint64 at = start + 1;
    const quint8 marker = data[start];
    const quint8 info = marker & 0x0F;
    const QString past = QStringLiteral("runs past the object area");
    QVariant result;
    switch (marker >> 4) {
    case 0x0:
        if (marker != 0x08 && marker != 0x09)
            return fail(QStringLiteral("unsupported marker 0x%1").arg(marker, 2, 16, QChar(u'0')));
        result = marker == 0x09;
        break;
    case 0x1: {
        // 1, 2 and 4 bytes are unsigned, 8 bytes two's complement; 16 bytes
        // are accepted when the value fits 64 signed bits.
        if (info > 4)
            return fail(QStringLiteral("bad integer size"));
        const int width = 1 << info;
        if (!fits(at, width, 1))
            return fail(past);
        const int lowWidth = std::min(width, 8);
        const quint64 low = number(at + width - lowWidth, lowWidth);
        if (width == 16 && number(at, 8) != (qint64(low) < 0 ? ~quint64(0) : 0))
            return fail(QStringLiteral("integer does not fit 64 signed bits"));
        result = qint64(low);
        break;
    }
    case 0x2:
        if (info != 2 && info != 3)
            return fail(QStringLiteral("bad real size"));
        if (!fits(at, 1 << info, 1))
            return fail(past);
        result = info == 2 ? double(std::bit_cast<float>(quint32(number(at, 4)))) : std::bit_cast<double>(number(at, 8));
        break;
    case 0x3: {
        if (marker != 0x33)
            return fail(QStringLiteral("bad date size"));
        if (!fits(at, 8, 1))
            return fail(past);
        const double seconds = std::bit_cast<double>(number(at, 8));
        if (!std::isfinite(seconds) || std::abs(seconds) > 1e12)
            return fail(QStringLiteral("date out of range"));
        result = QDateTime::fromMSecsSinceEpoch(std::llround(seconds * 1000) + kEpoch2001Ms, Qt::UTC);
        break;
    }
    case 0x4: // data
    case 0x5: // ASCII string
    case 0x6: { // UTF-16 string, length in code units
        const auto count = length(info, at);
        const quint64 width = (marker >> 4) == 0x6 ? 2 : 1;
        if (!count || !fits(at, *count, width))
            return fail(past);
        const char* bytes = reinterpret_cast<const char*>(data + at);
        if ((marker >> 4) == 0x4) {
            result = QByteArray(bytes, qsizetype(*count));
        } else if ((marker >> 4) == 0x5) {
            result = QString::fromLatin1(bytes, qsizetype(*count));
        } else {
            QString text(qsizetype(*count), Qt::Uninitialized);
            for (qsizetype i = 0; i < text.size(); ++i)
                text[i] = QChar(char16_t(number(at + 2 * i, 2)));
            if (!text.isValidUtf16())
                return fail(QStringLiteral("invalid UTF-16 string"));
            result = text;
        }
        break;
    }
    case 0xA:   // array: references to the items
    case 0xD: { // dict: references to the keys, then to the values
        const bool dict = (marker >> 4) == 0xD;
        const auto count = length(info, at);
        if (!count || !fits(at, *count, quint64(refWidth) * (dict ? 2 : 1)))
            return fail(past);
        if (depth >= plistMaxDepth)
            return fail(QStringLiteral("nested deeper than %1 levels").arg(plistMaxDepth));
        if (opened[index])
            return fail(QStringLiteral("container reached twice (a cycle or shared container)"));
        opened[index] = true;
        QVariantList list;
        QVariantMap map;
        for (quint64 i = 0; i < *count; ++i) {
            const auto item = object(number(at + (dict ? *count + i : i) * refWidth, refWidth), depth + 1);
            if (!item)
                return std::nullopt;
            if (!dict) {
                list.append(*item);
                continue;
            }
            const auto key = object(number(at + i * refWidth, refWidth), depth + 1);
            if (!key)
                return std::nullopt;
            if (key->typeId() != QMetaType::QString)
                return fail(QStringLiteral("dictionary key is not a string"));
            if (map.contains(key->toString()))
                return fail(QStringLiteral("key \"%1\" appears twice").arg(key->toString()));
            map.insert(key->toString(), *item);
        }
        return dict ? QVariant(map) : QVariant(list);
    }
    default:
        return fail(QStringLiteral("unsupported object type 0x%1").arg(marker, 2, 16, QChar(u'0')));
    }
    scalars[index] = result;
    return result;
}

std::optional<QVariant> BinaryReader::read(QString* error)
{
    auto fail = [&](const QString& why) {
        setError(error, QStringLiteral("binary property list: ") + why);
        return std::nullopt;
    };
    if (size < 8 + 32)
        return fail(QStringLiteral("too short (%1 bytes)").arg(size));
    if (std::memcmp(data, "bplist00", 8) != 0)
        return fail(QStringLiteral("unsupported version \"%1\"")
                        .arg(QString::fromLatin1(reinterpret_cast<const char*>(data), 8)));
    const quint64 trailer = quint64(size) - 32;
    offsetWidth = data[trailer + 6];
    refWidth = data[trailer + 7];
    objectCount = number(trailer + 8, 8);
    const quint64 top = number(trailer + 16, 8);
    tableStart = number(trailer + 24, 8);
    // The offset table fills the space between the objects and the trailer.
    if (offsetWidth < 1 || offsetWidth > 8 || refWidth < 1 || refWidth > 8 || tableStart < 9
        || tableStart > trailer || (trailer - tableStart) % offsetWidth != 0
        || (trailer - tableStart) / offsetWidth != objectCount || top >= objectCount)
        return fail(QStringLiteral("the trailer does not match the file (truncated or damaged)"));
    scalars.resize(objectCount);
    opened.assign(objectCount, false);
    auto root = object(top, 0);
    if (!root)
        return fail(problem);
    return root;
}

} // namespace

QByteArray plistSerialize(const QVariant& root, PlistFormat format, QString* error)
{
    QString problem;
    plist_t node = toNode(root, format, QString(), 0, problem);
    if (!node) {
        setError(error, QStringLiteral("cannot write property list: ") + problem);
        return {};
    }
    char* out = nullptr; // libplist refuses an output pointer that is not null
    uint32_t length = 0;
    QByteArray bytes;
    if (format == PlistFormat::Xml) {
        plist_to_xml(node, &out, &length);
        bytes = QByteArray(out, length);
        plist_to_xml_free(out);
        // libplist escapes & < > but writes carriage returns as they are,
        // and an XML reader would turn them into line feeds.
        bytes.replace('\r', "&#13;");
    } else {
        plist_to_bin(node, &out, &length);
        bytes = QByteArray(out, length);
        plist_to_bin_free(out);
    }
    plist_free(node);
    if (bytes.isEmpty())
        setError(error, QStringLiteral("cannot write property list: libplist produced nothing"));
    return bytes;
}

std::optional<QVariant> plistParse(const QByteArray& bytes, QString* error)
{
    if (bytes.isEmpty()) {
        setError(error, QStringLiteral("empty property list"));
        return std::nullopt;
    }
    if (bytes.startsWith("bplist"))
        return BinaryReader(bytes).read(error);
    return XmlReader(bytes).read(error);
}

bool plistWriteFile(const QString& path, const QVariant& root, PlistFormat format, QString* error,
                    QFileDevice::Permissions permissions)
{
    const QByteArray bytes = plistSerialize(root, format, error);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    const bool opened = file.open(QIODevice::WriteOnly) && (!permissions || file.setPermissions(permissions));
    if (!opened || file.write(bytes) != bytes.size() || !file.commit()) {
        setError(error, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

std::optional<QVariant> plistReadFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        setError(error, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    QString problem;
    auto root = plistParse(bytes, &problem);
    if (!root)
        setError(error, QStringLiteral("%1: %2").arg(path, problem));
    return root;
}

} // namespace platform
