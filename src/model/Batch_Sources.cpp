#include "model/Batch_Sources.h"

#include <QFileInfo>

#include <algorithm>

QString Data_Set_Source_Name(const QString& set)
{
    return QStringLiteral("Batch Processing Series \"%1\"").arg(set);
}

QString Spreadsheet_Column_Source_Name(int column)
{
    return column == 0 ? QStringLiteral("the spreadsheet's row numbers") : QStringLiteral("spreadsheet column %1").arg(column);
}

QString Spreadsheet_Source_Name(const QString& path)
{
    const QString file = QFileInfo(path).fileName();
    return file.isEmpty() ? QStringLiteral("the spreadsheet") : QStringLiteral("spreadsheet \"%1\"").arg(file);
}

namespace {
QString listed(const QStringList& names)
{
    return QStringLiteral("    ") + names.join(QStringLiteral("\n    "));
}
}

QString Missing_Sources_On_Open_Message(const QStringList& missing)
{
    return QStringLiteral("This design takes values from data that cannot be found:\n%1\n\nIts objects show the "
                          "values they had. Cards cannot be exported, printed or mailed until the data is there "
                          "again or the objects are bound to other data.")
        .arg(listed(missing));
}

QString Missing_Sources_Batch_Message(const QStringList& missing)
{
    return QStringLiteral("The cards cannot be made: this design takes values from data that cannot be found:\n%1\n\n"
                          "Make or import the data again, or bind the objects to other data.")
        .arg(listed(missing));
}

int Batch_Rows_Of(const QList<Batch_Source>& sources)
{
    int rows = 0;
    for (const Batch_Source& s : sources)
        rows = std::max(rows, s.rows);
    return rows;
}

QString Different_Lengths_Question(const QList<Batch_Source>& sources)
{
    if (sources.isEmpty())
        return {};
    const int longest = Batch_Rows_Of(sources);
    int shortest = longest;
    QStringList lengths;
    for (const Batch_Source& s : sources) {
        shortest = std::min(shortest, s.rows);
        lengths << QStringLiteral("%1: %2 %3")
                       .arg(s.name, QString::number(s.rows),
                            s.rows == 1 ? QStringLiteral("value") : QStringLiteral("values"));
    }
    if (shortest == longest)
        return {};
    return QStringLiteral("The data this design takes its values from have different lengths:\n%1\n\n%2 cards will "
                          "be made; %3 of them will have empty fields.\nDo you want to go on?")
        .arg(listed(lengths), QString::number(longest), QString::number(longest - shortest));
}

Cards_Without_Barcode& Cards_Without_Barcode::operator+=(const Cards_Without_Barcode& other)
{
    for (auto it = other.no_value.cbegin(); it != other.no_value.cend(); ++it)
        no_value[it.key()] += it.value();
    refused += other.refused;
    return *this;
}

namespace {
QList<int> eachOnceInOrder(QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// "Cards written without a barcode: 2 (rows 4, 5)." for rows each once in
// order, the first twenty listed.
QString cardsWithoutBarcode(const QList<int>& rows, const QString& cards)
{
    constexpr int Listed = 20;
    QStringList numbers;
    for (int i = 0; i < rows.size() && i < Listed; ++i)
        numbers << QString::number(rows[i]);
    if (rows.size() > Listed)
        numbers << QStringLiteral("...");
    return QStringLiteral("%1 without a barcode: %2 (%3 %4).")
        .arg(cards, QString::number(rows.size()), rows.size() == 1 ? QStringLiteral("row") : QStringLiteral("rows"),
             numbers.join(QStringLiteral(", ")));
}
}

QString Rows_Without_Barcode_Note(const Cards_Without_Barcode& cards_without, const QString& cards)
{
    QStringList lines;
    for (auto it = cards_without.no_value.cbegin(); it != cards_without.no_value.cend(); ++it) {
        const QList<int> rows = eachOnceInOrder(it.value());
        lines << QStringLiteral("%1 %2 no value in %3.")
                     .arg(cardsWithoutBarcode(rows, cards),
                          rows.size() == 1 ? QStringLiteral("That card has") : QStringLiteral("Those cards have"),
                          it.key());
    }
    if (!cards_without.refused.isEmpty()) {
        const QList<int> rows = eachOnceInOrder(cards_without.refused);
        lines << QStringLiteral("%1 The barcode could not be made from %2.")
                     .arg(cardsWithoutBarcode(rows, cards),
                          rows.size() == 1 ? QStringLiteral("that row's value") : QStringLiteral("those rows' values"));
    }
    return lines.join('\n');
}
