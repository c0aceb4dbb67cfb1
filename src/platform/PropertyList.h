#pragma once
#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <QVariant>
#include <optional>

namespace platform {
enum class PlistFormat { Xml, Binary };

// A property list as a QVariant tree: QString <-> string, bool <-> boolean,
// any integral QVariant <-> integer (signed 64-bit), double/float <-> real,
// QByteArray <-> data, QDateTime <-> date, QVariantList/QStringList <-> array,
// QVariantMap <-> dict. Any other value is an error, never dropped.
// Parsing gives integers as qint64, dates as UTC QDateTime and arrays as
// QVariantList. Dates keep milliseconds in binary and whole seconds in XML,
// and must lie within 2001 +/- 68 years (what libplist can store). XML
// loses the sign of a negative zero (libplist writes it as 0.0).
// Nesting is limited to plistMaxDepth containers in both directions.
constexpr int plistMaxDepth = 512;

// Empty on error.
QByteArray plistSerialize(const QVariant& root, PlistFormat format, QString* error = nullptr);
// Takes XML or binary ("bplist00"); malformed input gives std::nullopt.
std::optional<QVariant> plistParse(const QByteArray& bytes, QString* error = nullptr);
// Writes through a temporary file renamed over the old one, so a failed
// write leaves the old file as it was. With permissions, the new file has
// exactly those (from its first byte on); without, the old file's or the
// default ones.
bool plistWriteFile(const QString& path, const QVariant& root, PlistFormat format, QString* error = nullptr,
                    QFileDevice::Permissions permissions = {});
std::optional<QVariant> plistReadFile(const QString& path, QString* error = nullptr);
}
