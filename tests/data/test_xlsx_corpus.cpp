// The reader against workbooks that other programs saved: the corpus beside
// the project (../shared/realworld-xlsx), each file compared with the reading
// recorded for it in expected/. Values are compared as the sheet shows them:
// dates by their parts, numbers by value in their shortest form, booleans as
// TRUE and FALSE, and rows left empty are no rows.
#include "support/XlsxTestKit.h"
#include "data/SpreadsheetWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>

namespace {
const QString Corpus = QStringLiteral(GLEAMCARD_SOURCE_DIR "/../shared/realworld-xlsx");

QByteArray gunzip(const QString& path)
{
    QByteArray out;
    gzFile file = gzopen(QFile::encodeName(path).constData(), "rb");
    if (!file)
        return out;
    char buffer[65536];
    int n;
    while ((n = gzread(file, buffer, sizeof buffer)) > 0)
        out.append(buffer, n);
    gzclose(file);
    return out;
}

// The significant digits of a number's text ("0.0120" and "1.2e-2" give "12").
QString digitsOf(const QString& number)
{
    QString mantissa = number.section(QRegularExpression("[eE]"), 0, 0);
    mantissa.remove(QLatin1Char('-')).remove(QLatin1Char('.'));
    while (mantissa.startsWith(QLatin1Char('0')))
        mantissa.remove(0, 1);
    while (mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);
    return mantissa;
}

const QStringList Months = {"january", "february", "march",     "april",   "may",      "june",
                            "july",    "august",   "september", "october", "november", "december"};

// A date or time text agrees with the recorded value when every number in it
// is one of the value's parts (year, month, day, hours, minutes, seconds,
// rounded to the second or not) and every word names its month or half-day.
bool dateAgrees(const QString& ours, const QJsonArray& cell)
{
    const QString kind = cell[1].toString();
    if (kind == QLatin1String("invalid"))
        return ours.toDouble() == cell[3].toDouble();
    QList<qint64> parts;
    int month = 0;
    const auto addTime = [&](double seconds) {
        for (const double s : {seconds, std::round(seconds)}) {
            const qint64 whole = qint64(std::floor(s + 1e-9));
            const qint64 h = whole / 3600 % 24, m = whole / 60 % 60;
            parts << h << (h % 12 == 0 ? 12 : h % 12) << m << whole % 60 << whole / 3600 << whole / 60;
        }
    };
    const QString value = cell[2].toVariant().toString();
    if (kind == QLatin1String("time") && cell[3].toDouble() < 1)
        parts << 1899 << 99 << 12 << 31 << 1900 << 0 << 1, month = 12; // day 0 under a date format
    if (kind == QLatin1String("timedelta")) {
        addTime(cell[2].toDouble());
        parts << qint64(cell[2].toDouble() / 86400);
    } else {
        const QRegularExpressionMatch date = QRegularExpression("^(\\d{4})-(\\d\\d)-(\\d\\d)").match(value);
        if (date.hasMatch()) {
            const int year = date.captured(1).toInt();
            month = date.captured(2).toInt();
            const int day = date.captured(3).toInt();
            parts << year << year % 100 << month << day;
            if (month == 2 && day == 28 && year == 1900)
                parts << 29; // the day the 1900 system counts though it never was
            if (month == 12 && day == 31 && year == 1899)
                parts << 1900 << 0 << 1; // serial 0, "1900-01-00"
        }
        const QRegularExpressionMatch time = QRegularExpression("(\\d\\d):(\\d\\d):(\\d\\d(\\.\\d+)?)$").match(value);
        if (time.hasMatch()) {
            addTime(time.captured(1).toInt() * 3600 + time.captured(2).toInt() * 60 + time.captured(3).toDouble());
            if (std::round(time.captured(3).toDouble()) >= 60 || time.captured(1) == "23")
                parts << 0 << 1 << 12; // rounded into the next minute, hour or day
        } else {
            parts << 0 << 12;
        }
    }
    const QRegularExpression token("\\d+|[A-Za-z]+");
    int numbers = 0;
    for (auto it = token.globalMatch(ours); it.hasNext();) {
        const QString t = it.next().captured();
        if (t[0].isDigit()) {
            ++numbers;
            if (!parts.contains(t.toLongLong()))
                return false;
        } else if (const QString word = t.toLower(); word != "am" && word != "pm" && word != "a" && word != "p" && word != "utc"
                                                     && (month == 0 || !Months[month - 1].startsWith(word))) {
            return false;
        }
    }
    return numbers > 0;
}

// Whether our text shows the recorded cell; an empty recorded cell is "".
bool cellAgrees(const QString& ours, const QJsonValue& recorded)
{
    if (recorded.isNull())
        return ours.isEmpty();
    const QJsonArray cell = recorded.toArray();
    const QString type = cell[0].toString();
    if (type == QLatin1String("s") || type == QLatin1String("e"))
        return ours == cell[1].toString();
    if (type == QLatin1String("b"))
        return ours == (cell[1].toBool() ? QLatin1String("TRUE") : QLatin1String("FALSE"));
    if (type == QLatin1String("n")) {
        bool ok = false;
        const double value = ours.toDouble(&ok);
        return ok && value == cell[1].toString().toDouble() && digitsOf(ours) == digitsOf(cell[1].toString());
    }
    return dateAgrees(ours, cell);
}

bool isEmptyRow(const QJsonArray& cells)
{
    for (const QJsonValue& cell : cells)
        if (!cell.isNull() && !(cell.toArray()[0].toString() == "s" && cell.toArray()[1].toString().isEmpty()))
            return false;
    return true;
}

// What differs between our reading of a workbook and the recorded one; empty when they agree.
QString compareWorkbook(const QString& file, const QJsonObject& expected)
{
    QString error;
    SpreadsheetWriter::ReadWorkbook(file, true, &error);
    if (expected["refuse"].toBool())
        return error.isEmpty() ? QStringLiteral("read, though it should be refused") : QString();
    if (!error.isEmpty())
        return QStringLiteral("refused: ") + error;
    const QStringList sheets = SpreadsheetWriter::Read_Sheet_Name();
    const QJsonArray names = expected["sheets"].toArray();
    const QJsonArray perSheet = expected["per_sheet"].toArray();
    int ours = 0;
    for (qsizetype s = 0; s < names.size(); ++s) {
        if (ours >= sheets.size() || sheets[ours] != names[s].toString()) {
            if (perSheet[s].toObject()["rows"].toArray().isEmpty())
                continue; // a chart sheet: no cells, and not offered
            return QStringLiteral("sheet %1 missing").arg(names[s].toString());
        }
        Excel_Sheet_Number = ++ours;
        SpreadsheetWriter::ReadData_only_column(&error);
        if (!error.isEmpty())
            return QStringLiteral("%1: title row: %2").arg(names[s].toString(), error);
        const QList<QStringList> rows = SpreadsheetWriter::ReadWorkbook(file, false, &error);
        if (!error.isEmpty())
            return QStringLiteral("%1: %2").arg(names[s].toString(), error);
        QList<QJsonArray> recorded;
        for (const QJsonValue& row : perSheet[s].toObject()["rows"].toArray())
            if (!isEmptyRow(row.toArray()[1].toArray()))
                recorded.append(row.toArray()[1].toArray());
        if (rows.size() != recorded.size())
            return QStringLiteral("%1: %2 rows, %3 recorded").arg(names[s].toString()).arg(rows.size()).arg(recorded.size());
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const qsizetype width = std::max(rows[r].size(), recorded[r].size());
            for (qsizetype c = 0; c < width; ++c) {
                const QString cell = rows[r].value(c);
                const QJsonValue want = c < recorded[r].size() ? recorded[r][c] : QJsonValue();
                if (!cellAgrees(cell, want))
                    return QStringLiteral("%1: row %2 column %3: \"%4\", recorded %5")
                        .arg(names[s].toString())
                        .arg(r + 1)
                        .arg(c + 1)
                        .arg(cell, QString::fromUtf8(QJsonDocument(QJsonArray{want}).toJson(QJsonDocument::Compact)));
            }
        }
    }
    return QString();
}
}

TEST(XlsxCorpus, RealWorkbooksReadAsTheirSheetsShowThem)
{
    if (!QDir(Corpus + "/expected").exists())
        GTEST_SKIP() << "the real-world workbook corpus is not at " << QDir::cleanPath(Corpus).toStdString()
                     << " (it lies beside the project, not in it)";
    QElapsedTimer clock;
    clock.start();
    int files = 0;
    QStringList differing;
    for (QDirIterator it(Corpus + "/expected", {"*.json.gz"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString recordedPath = it.next();
        const QJsonObject expected = QJsonDocument::fromJson(gunzip(recordedPath)).object();
        ASSERT_FALSE(expected.isEmpty()) << recordedPath.toStdString();
        const QString file = Corpus + "/files/" + expected["file"].toString();
        ++files;
        const QString difference = compareWorkbook(file, expected);
        if (!difference.isEmpty())
            differing << expected["file"].toString() + ": " + difference;
        SpreadsheetWriter::Release_Data();
    }
    EXPECT_EQ(files, 307);
    EXPECT_TRUE(differing.isEmpty()) << differing.size() << " workbooks differ:\n"
                                     << differing.join('\n').toStdString();
    EXPECT_LT(clock.elapsed(), 60000);
}
