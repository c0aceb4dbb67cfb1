#include "support/XlsxTestKit.h"
#include "data/SpreadsheetWriter.h"
#include "support/TempResources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace {
using Table = QList<QStringList>;

struct XlsxRead : ::testing::Test {
    QTemporaryDir tmp;
    QString at(const QString& name) const { return tmp.path() + QLatin1Char('/') + name; }
    void SetUp() override { Excel_Sheet_Number = 1; } // as a workbook's first read finds it
    void TearDown() override { SpreadsheetWriter::Release_Data(); }

    // Opens the workbook and reads worksheet number n the way the import dialogs do.
    void readSheet(const QString& path, int n, Table& titles, Table& rows)
    {
        QString error;
        SpreadsheetWriter::ReadWorkbook(path, true, &error);
        ASSERT_TRUE(error.isNull()) << error.toStdString();
        Excel_Sheet_Number = n;
        titles = SpreadsheetWriter::ReadData_only_column(&error);
        ASSERT_TRUE(error.isNull()) << error.toStdString();
        rows = SpreadsheetWriter::ReadWorkbook(path, false, &error);
        ASSERT_TRUE(error.isNull()) << error.toStdString();
    }
};

QString xml(const QString& body)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") + body;
}

// A workbook of one worksheet whose sheetData (and anything before it) is given.
// A workbook of one worksheet whose sheetData (and anything around it) is
// given, with shared strings and styles when given, in the given namespaces.
QMap<QString, QString> oneSheet(const QString& sheetBody, const QString& strings = QString(),
                                const QString& styles = QString(), const QString& workbookPr = QString(),
                                const QString& main = Sheet_Main, const QString& rel = Sheet_Rel)
{
    QMap<QString, QString> parts = {
        {"xl/workbook.xml", xml(QStringLiteral("<workbook xmlns=\"%1\" xmlns:r=\"%2\">%3<sheets>"
                                               "<sheet name=\"Only\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>")
                                    .arg(main, rel, workbookPr))},
        {"xl/_rels/workbook.xml.rels",
         xml(QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                            "<Relationship Id=\"rId1\" Type=\"%1/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
                            "<Relationship Id=\"rId2\" Type=\"%1/sharedStrings\" Target=\"sharedStrings.xml\"/>"
                            "<Relationship Id=\"rId3\" Type=\"%1/styles\" Target=\"styles.xml\"/>"
                            "</Relationships>")
                 .arg(rel))},
        {"xl/worksheets/sheet1.xml", xml(QStringLiteral("<worksheet xmlns=\"%1\">%2</worksheet>").arg(main, sheetBody))},
    };
    if (!strings.isEmpty())
        parts["xl/sharedStrings.xml"] = strings;
    if (!styles.isEmpty())
        parts["xl/styles.xml"] = xml(QStringLiteral("<styleSheet xmlns=\"%1\">%2</styleSheet>").arg(main, styles));
    return parts;
}
}

TEST_F(XlsxRead, WorkbookMadeByOpenpyxl)
{
    const QString path = at("people.xlsx");
    runPython(QStringLiteral(R"(
import datetime, sys, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.title = "People"
ws.append(["Name", None, "City", "Born"])
ws.append(["Ann", 42, "Oslo", datetime.date(2024, 1, 15)])
ws.append(["Bob", 3.5, None, None])
ws["A6"] = "after a gap"
ws["B6"] = "=1+2"
late = wb.create_sheet("Late start")
for r in range(10, 21):
    for c in range(1, 4):
        late.cell(row=r, column=c, value="r%dc%d" % (r, c))
wb.create_sheet("Empty")
wb.save(sys.stdin.read())
)"),
              path.toUtf8());
    ASSERT_TRUE(QFileInfo(path).isFile());

    Table titles, rows;
    readSheet(path, 1, titles, rows);
    EXPECT_EQ(SpreadsheetWriter::Read_Sheet_Name(), (QStringList{"People", "Late start", "Empty"}));
    EXPECT_EQ(Excel_Sheet_Columns, 4);
    EXPECT_EQ(titles, (Table{{"Name", "Untitled Column 2", "City", "Born"}}));
    // Rows 4 and 5 are absent and leave no gap; openpyxl stores no cached
    // value for the formula, so it reads empty; the date reads as a date.
    EXPECT_EQ(rows, (Table{{"Name", "", "City", "Born"},
                           {"Ann", "42", "Oslo", "2024-01-15"},
                           {"Bob", "3.5", "", ""},
                           {"after a gap", "", "", ""}}));

    readSheet(path, 2, titles, rows);
    EXPECT_EQ(Excel_Sheet_Columns, 3); // dimension A10:C20
    EXPECT_EQ(titles, (Table{{"r10c1", "r10c2", "r10c3"}}));
    ASSERT_EQ(rows.size(), 11);
    EXPECT_EQ(rows.last(), (QStringList{"r20c1", "r20c2", "r20c3"}));

    readSheet(path, 3, titles, rows);
    EXPECT_TRUE(titles.isEmpty());
    EXPECT_TRUE(rows.isEmpty());

    QString error;
    SpreadsheetWriter::ReadWorkbook(path, true, &error);
    Excel_Sheet_Number = 4;
    EXPECT_TRUE(SpreadsheetWriter::ReadData_only_column(&error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(XlsxRead, RawPartsWithRichTextFormulasInlineStringsAndTheWorkbookOrder)
{
    const QString rels = QStringLiteral(
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"%1/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\"%1/worksheet\" Target=\"/xl/worksheets/sheet2.xml\"/>"
        "<Relationship Id=\"rId3\" Type=\"%1/chartsheet\" Target=\"chartsheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId4\" Type=\"%1/sharedStrings\" Target=\"strings.xml\"/>"
        "</Relationships>").arg(Sheet_Rel);
    // Prefixed names throughout: only local names may matter.
    const QString workbook = QStringLiteral(
        "<x:workbook xmlns:x=\"%1\" xmlns:rel=\"%2\"><x:sheets>"
        "<x:sheet name=\"Beta\" sheetId=\"2\" rel:id=\"rId2\"/>"
        "<x:sheet name=\"Chart\" sheetId=\"3\" rel:id=\"rId3\"/>"
        "<x:sheet name=\"Alpha\" sheetId=\"1\" rel:id=\"rId1\"/>"
        "</x:sheets></x:workbook>").arg(Sheet_Main, Sheet_Rel);
    const QString strings = QStringLiteral(
        "<x:sst xmlns:x=\"%1\">"
        "<x:si><x:t>plain</x:t></x:si>"
        "<x:si><x:r><x:rPr><x:b/></x:rPr><x:t xml:space=\"preserve\">Hello </x:t></x:r><x:r><x:t>World</x:t></x:r>"
        "<x:rPh sb=\"0\" eb=\"1\"><x:t>READING</x:t></x:rPh><x:phoneticPr fontId=\"1\"/></x:si>"
        "<x:si><x:t xml:space=\"preserve\"> </x:t></x:si>"
        "<x:si><x:t>a &amp; b &lt;c&gt;</x:t></x:si>"
        "</x:sst>").arg(Sheet_Main);
    const QString beta = QStringLiteral(
        "<x:worksheet xmlns:x=\"%1\"><x:sheetData>"
        "<x:row r=\"1\">"
        "<x:c t=\"inlineStr\"><x:is><x:t>first</x:t></x:is></x:c>"
        "<x:c t=\"s\"><x:v>1</x:v></x:c>"
        "<x:c r=\"D1\"><x:f>SUM(1,2)</x:f><x:v>3</x:v></x:c>"
        "<x:c r=\"E1\" t=\"s\"><x:v>4</x:v></x:c>"
        "<x:c t=\"s\"><x:v>-1</x:v></x:c>"
        "<x:c><x:v>2.5</x:v></x:c>"
        "</x:row>"
        "<x:row r=\"2\"><x:c r=\"A2\" t=\"s\"><x:v>2</x:v></x:c>"
        "<x:c r=\"B2\" t=\"str\"><x:f>\"text \"&amp;\"result\"</x:f><x:v>text result</x:v></x:c>"
        "<x:c r=\"C2\" t=\"b\"><x:v>1</x:v></x:c></x:row>"
        "<x:row r=\"5\"><x:c r=\"C5\" t=\"s\"><x:v>3</x:v></x:c><x:c r=\"C5\"><x:v>9</x:v></x:c></x:row>"
        "</x:sheetData></x:worksheet>").arg(Sheet_Main);
    // A single-cell dimension narrower than the cells.
    const QString alpha = QStringLiteral(
        "<worksheet xmlns=\"%1\"><dimension ref=\"A1\"/><sheetData>"
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\"><v>10</v></c></row>"
        "</sheetData></worksheet>").arg(Sheet_Main);
    const QString path = at("raw.xlsx");
    ASSERT_TRUE(makeRawWorkbook(path, {{"xl/workbook.xml", xml(workbook)},
                                       {"xl/_rels/workbook.xml.rels", xml(rels)},
                                       {"xl/strings.xml", xml(strings)},
                                       {"xl/worksheets/sheet2.xml", xml(beta)},
                                       {"xl/worksheets/sheet1.xml", xml(alpha)}}));
    Table titles, rows;
    readSheet(path, 1, titles, rows);
    EXPECT_EQ(SpreadsheetWriter::Read_Sheet_Name(), (QStringList{"Beta", "Alpha"}));
    EXPECT_EQ(spreadsheet->sharedStrings(), (QStringList{"plain", "Hello World", " ", "a & b <c>"}));
    // No dimension: the count comes from the cells seen.
    EXPECT_EQ(Excel_Sheet_Columns, 7);
    EXPECT_EQ(titles, (Table{{"first", "Hello World", "Untitled Column 3", "3", "Untitled Column 5",
                              "Untitled Column 6", "2.5"}}));
    // The index equal to the table size and the negative one read empty; of
    // two cells at C5 the later wins; a boolean reads as the sheet shows it.
    EXPECT_EQ(rows, (Table{{"first", "Hello World", "", "3", "", "", "2.5"},
                           {" ", "text result", "TRUE", "", "", "", ""},
                           {"", "", "9", "", "", "", ""}}));

    readSheet(path, 2, titles, rows);
    EXPECT_EQ(Excel_Sheet_Columns, 3);
    EXPECT_EQ(rows, (Table{{"plain", "", "10"}}));
}

TEST_F(XlsxRead, TheWorkbookIsReadInPlaceAndReleased)
{
    const QString path = at("one.xlsx");
    ASSERT_TRUE(makeRawWorkbook(path, oneSheet("<sheetData><row><c><v>1</v></c></row></sheetData>")));
    // Temporary files would land in a folder of this test's own.
    QTemporaryDir temp;
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    QString error;
    SpreadsheetWriter::ReadWorkbook(path, true, &error);
    ASSERT_TRUE(error.isNull());
    // Nothing is unpacked; the open file is read even after it is replaced on disk.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(makeRawWorkbook(path, oneSheet("<sheetData><row><c><v>2</v></c></row></sheetData>")));
    Excel_Sheet_Number = 1;
    SpreadsheetWriter::ReadData_only_column(&error);
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(path, false, &error), Table{{"1"}});
    EXPECT_TRUE(QDir(temp.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    qputenv("TMPDIR", oldTemp);

    SpreadsheetWriter::Release_Data();
    EXPECT_TRUE(SpreadsheetWriter::Read_Sheet_Name().isEmpty());
    SpreadsheetWriter::ReadWorkbook(path, false, &error);
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(XlsxRead, BrokenAndHostilePackagesAreErrors)
{
    QString error;
    const auto unpackError = [&](const QString& path) {
        SpreadsheetWriter::ReadWorkbook(path, true, &error);
        return error;
    };
    QFile text(at("notes.xlsx"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just some text");
    text.close();
    EXPECT_FALSE(unpackError(at("notes.xlsx")).isEmpty());

    ASSERT_TRUE(makeZip(at("evil.xlsx"), {{"xl/workbook.xml", "<workbook/>"}, {"../escape.xml", "x"}}));
    EXPECT_FALSE(unpackError(at("evil.xlsx")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(QDir::tempPath() + "/escape.xml"));

    auto parts = oneSheet("<sheetData/>");
    parts["xl/workbook.xml"] = "";
    ASSERT_TRUE(makeRawWorkbook(at("noworkbook.xlsx"), parts));
    EXPECT_FALSE(unpackError(at("noworkbook.xlsx")).isEmpty());

    // Shared strings are read while the sheet is: their damage fails the read.
    ASSERT_TRUE(makeRawWorkbook(at("badstrings.xlsx"), oneSheet("<sheetData/>", "<sst><si><t>abc</sst>")));
    EXPECT_TRUE(unpackError(at("badstrings.xlsx")).isNull());
    Excel_Sheet_Number = 1;
    EXPECT_TRUE(SpreadsheetWriter::ReadWorkbook(at("badstrings.xlsx"), false, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());

    ASSERT_TRUE(makeRawWorkbook(at("badsheet.xlsx"), oneSheet("<sheetData><row><c><v>1</v></row></sheetData>")));
    EXPECT_TRUE(unpackError(at("badsheet.xlsx")).isNull());
    Excel_Sheet_Number = 1;
    EXPECT_TRUE(SpreadsheetWriter::ReadData_only_column(&error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(SpreadsheetWriter::ReadWorkbook(at("badsheet.xlsx"), false, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());

    // Past the widest sheet the format allows.
    ASSERT_TRUE(makeRawWorkbook(at("wide.xlsx"), oneSheet("<sheetData><row><c r=\"XFE1\"><v>1</v></c></row></sheetData>")));
    EXPECT_TRUE(unpackError(at("wide.xlsx")).isNull());
    SpreadsheetWriter::ReadWorkbook(at("wide.xlsx"), false, &error);
    EXPECT_FALSE(error.isEmpty());

    // A dimension claiming every column of the format, over a few thousand rows.
    const QString manyRows = QStringLiteral("<row><c><v>1</v></c></row>").repeated(2000);
    ASSERT_TRUE(makeRawWorkbook(at("claims.xlsx"),
                                oneSheet("<dimension ref=\"A1:XFD1048576\"/><sheetData>" + manyRows + "</sheetData>")));
    EXPECT_TRUE(unpackError(at("claims.xlsx")).isNull());
    Excel_Sheet_Number = 1;
    EXPECT_EQ(SpreadsheetWriter::ReadData_only_column(&error).value(0).size(), 16384);
    EXPECT_TRUE(SpreadsheetWriter::ReadWorkbook(at("claims.xlsx"), false, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

TEST(ColumnLetters, NamesAndNumbersRoundTrip)
{
    const QList<QPair<int, QString>> cases = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {53, "BA"},
                                              {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
    for (const auto& [number, name] : cases) {
        EXPECT_EQ(SpreadsheetWriter::ColumnNumber_To_Name(number), name);
        EXPECT_EQ(Get_Col_index(name, 64), number);
        EXPECT_EQ(Get_Col_index(name, 65), number - 1);
    }
    EXPECT_EQ(Get_Column_Char_Str("AB120"), QStringLiteral("AB"));
    EXPECT_EQ(Get_Col_index("", 64), -1);
    EXPECT_EQ(Get_Col_index("A1", 64), -1);
    EXPECT_EQ(Get_Col_index("ABCD", 64), -1);
}

TEST_F(XlsxRead, HostileSizesFailWithAnErrorNotACrash)
{
    QString error;
    // Markup nested far deeper than any stack inside a shared string and a cell:
    // the text is still read, without recursion.
    const int depth = 200000;
    const QString deep = QStringLiteral("<a>").repeated(depth) + QStringLiteral("deep") + QStringLiteral("</a>").repeated(depth);
    ASSERT_TRUE(makeRawWorkbook(at("deep.xlsx"),
                                oneSheet("<sheetData><row><c t=\"s\"><v>0</v></c><c><v>x" + deep + "</v></c></row></sheetData>",
                                         "<sst><si><t>s" + deep + "</t></si></sst>")));
    SpreadsheetWriter::ReadWorkbook(at("deep.xlsx"), true, &error);
    ASSERT_TRUE(error.isNull()) << error.toStdString();
    const Table rows = SpreadsheetWriter::ReadWorkbook(at("deep.xlsx"), false, &error);
    ASSERT_TRUE(error.isNull()) << error.toStdString();
    EXPECT_EQ(rows, (Table{{"sdeep", "xdeep"}}));

    // Many rows each holding one cell in the last column would pad to billions
    // of empty cells: refused as the rows are read, with a reason.
    QString wideRows;
    for (int r = 1; r <= 400; ++r)
        wideRows += QStringLiteral("<row><c r=\"XFD%1\"><v>1</v></c></row>").arg(r);
    ASSERT_TRUE(makeRawWorkbook(at("padding.xlsx"), oneSheet("<sheetData>" + wideRows + "</sheetData>")));
    SpreadsheetWriter::ReadWorkbook(at("padding.xlsx"), true, &error);
    error.clear();
    EXPECT_TRUE(SpreadsheetWriter::ReadWorkbook(at("padding.xlsx"), false, &error).isEmpty());
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();

    // Five million rows, past the most a worksheet may have, are refused.
    const QString huge = QStringLiteral("<row><c/></row>").repeated(5 * 1024 * 1024);
    ASSERT_TRUE(makeRawWorkbook(at("huge.xlsx"), oneSheet("<sheetData>" + huge + "</sheetData>")));
    error.clear();
    SpreadsheetWriter::ReadWorkbook(at("huge.xlsx"), true, &error);
    Excel_Sheet_Number = 1;
    error.clear();
    EXPECT_TRUE(SpreadsheetWriter::ReadWorkbook(at("huge.xlsx"), false, &error).isEmpty());
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
}

// The rows of a workbook that our writer made, as the import reads them back:
// the bench's table of names and numbers at a smaller size, with the values
// that need care (blanks at the ends, markup characters, text that looks like
// a number, several scripts) in every tenth row.
TEST_F(XlsxRead, AWrittenTableReadsBackRowForRow)
{
    const QStringList awkward = {" lead", "trail ", "a & b <c>", "007", "1e5", "3.5", "-0.25", "Ünïcødé ✓",
                                 "日本語", "", "line\nbreak", "123456789012345"};
    Table table;
    QStringList titles;
    for (int c = 1; c <= 10; ++c)
        titles.append(QStringLiteral("Column %1").arg(c));
    table.append(titles);
    for (int r = 1; r <= 2000; ++r) {
        QStringList row;
        for (int c = 1; c <= 10; ++c)
            row.append(r % 10 == 0 ? awkward[(r / 10 + c) % awkward.size()]
                                   : c % 2 ? QStringLiteral("Name %1-%2").arg(r).arg(c) : QString::number(r * c));
        table.append(row);
    }
    const QString path = at("table.xlsx");
    {
        TempResources resources; // the writer's template package
        ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, table, true));
    }
    Table header, rows;
    readSheet(path, 1, header, rows);
    EXPECT_EQ(header, Table{titles});
    EXPECT_EQ(rows, table);
}

// Cells as the sheet shows them: one small workbook per case.
TEST_F(XlsxRead, CellsReadAsTheSheetShowsThem)
{
    const QString strings = QStringLiteral("<sst xmlns=\"%1\"><si><t>Name</t></si><si><t>ABC_x000D_</t></si>"
                                           "<si><t>_x005F_x000D_</t></si><si><t>line_x000A_break</t></si></sst>")
                                .arg(Sheet_Main);
    // Styles 1 to 7: built-in short date and date with time (as the United
    // States shows them), then dd/mm/yyyy,
    // h:mm AM/PM, elapsed hours, a plain number format, d mmmm yyyy.
    const QString styles = QStringLiteral(
        "<numFmts><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\"/><numFmt numFmtId=\"165\" formatCode=\"h:mm AM/PM\"/>"
        "<numFmt numFmtId=\"166\" formatCode=\"[h]:mm:ss\"/><numFmt numFmtId=\"167\" formatCode=\"0.00\"/>"
        "<numFmt numFmtId=\"168\" formatCode=\"d mmmm yyyy;@\"/></numFmts><cellXfs>"
        "<xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"22\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/>"
        "<xf numFmtId=\"166\"/><xf numFmtId=\"167\"/><xf numFmtId=\"168\"/></cellXfs>");
    const auto row = [](int r, const QString& cells) { return QStringLiteral("<row r=\"%1\">%2</row>").arg(r).arg(cells); };
    struct Case {
        const char* what;
        QString sheet;
        Table rows;
        QString workbookPr = QString();
    };
    const QList<Case> cases = {
        {"an empty, missing or out-of-range string index reads empty",
         "<sheetData>" + row(1, "<c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"/><c r=\"C1\" t=\"s\"><v></v></c>"
                                "<c r=\"D1\" t=\"s\"><v>9</v></c><c r=\"E1\" t=\"s\"><v>-1</v></c><c r=\"F1\"><v>1</v></c>")
             + "</sheetData>",
         {{"Name", "", "", "", "", "1"}}},
        {"cells go where their references put them; rows and cells without one follow the previous",
         "<sheetData>" + row(1, "<c r=\"A1\" t=\"s\"><v>0</v></c>") + row(1, "<c r=\"B1\"><v>2</v></c>")
             + row(3, "<c r=\"B3\"><v>3</v></c>") + "<row><c><v>5</v></c><c><v>6</v></c></row>"
             + row(3, "<c r=\"C3\"><v>4</v></c>") + "</sheetData>",
         {{"Name", "2", ""}, {"", "3", "4"}, {"5", "6", ""}}},
        {"a reference of more letters than any column has counts as none",
         "<sheetData>" + row(1, "<c r=\"A1\"><v>1</v></c><c r=\"XFDXFDXFDXFDXFD1\"><v>2</v></c>") + "</sheetData>",
         {{"1", "2"}}},
        {"cells under a merged range other than its first read empty",
         "<sheetData>" + row(1, "<c r=\"A1\"><v>1</v></c><c r=\"B1\"><v>2</v></c><c r=\"C1\"><v>3</v></c>")
             + row(2, "<c r=\"A2\"><v>4</v></c><c r=\"B2\"><v>5</v></c>")
             + "</sheetData><mergeCells count=\"1\"><mergeCell ref=\"A1:B2\"/></mergeCells>",
         {{"1", "", "3"}}},
        {"escaped characters are decoded",
         "<sheetData>" + row(1, "<c t=\"s\"><v>1</v></c><c t=\"s\"><v>2</v></c><c t=\"s\"><v>3</v></c>"
                                "<c t=\"inlineStr\"><is><t>x_x0041_</t></is></c><c t=\"str\"><v>_x0042_</v></c>")
             + "</sheetData>",
         {{"ABC\r", "_x000D_", "line\nbreak", "xA", "B"}}},
        {"dates and times under their formats, other numbers in their shortest form",
         "<sheetData>" + row(1, "<c s=\"1\"><v>44197</v></c><c s=\"2\"><v>44197.5</v></c><c s=\"3\"><v>44197</v></c>"
                                "<c s=\"4\"><v>0.75</v></c><c s=\"5\"><v>1.5</v></c><c s=\"6\"><v>10.199999999999999</v></c>"
                                "<c s=\"7\"><v>44197</v></c><c s=\"3\" t=\"d\"><v>2021-02-03</v></c><c s=\"1\"><v>60</v></c>")
             + "</sheetData>",
         {{"1/1/2021", "1/1/2021 12:00", "01/01/2021", "6:00 PM", "36:00:00", "10.2", "1 January 2021",
           "03/02/2021", "2/29/1900"}}},
        {"the 1904 date system", "<sheetData>" + row(1, "<c s=\"1\"><v>0</v></c><c s=\"1\"><v>366</v></c>") + "</sheetData>",
         {{"1/1/1904", "1/1/1905"}}, "<workbookPr date1904=\"1\"/>"},
        {"booleans, errors and stored binary forms",
         "<sheetData>" + row(1, "<c t=\"b\"><v>1</v></c><c t=\"b\"><v>0</v></c><c t=\"e\"><v>#N/A</v></c>"
                                "<c><v>6.2506249999999999E-2</v></c><c><v>1E-3</v></c><c><v>-0.30000000000000004</v></c>")
             + "</sheetData>",
         {{"TRUE", "FALSE", "#N/A", "0.06250625", "0.001", "-0.30000000000000004"}}},
        {"rows whose cells are all empty are no rows",
         "<sheetData>" + row(1, "<c r=\"A1\"><v>1</v></c>") + row(2, "<c r=\"A2\" t=\"s\"><v></v></c><c r=\"B2\"/>")
             + "<row r=\"3\"/>" + row(4, "<c r=\"B4\"><v>2</v></c>") + "</sheetData>",
         {{"1", ""}, {"", "2"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = at("case.xlsx");
        QFile::remove(path);
        ASSERT_TRUE(makeRawWorkbook(path, oneSheet(c.sheet, strings, styles, c.workbookPr)));
        Table titles, rows;
        readSheet(path, 1, titles, rows);
        EXPECT_EQ(rows, c.rows);
        ASSERT_FALSE(titles.isEmpty());
        for (qsizetype i = 0; i < titles[0].size(); ++i)
            EXPECT_EQ(titles[0][i], c.rows[0][i].isEmpty() ? QStringLiteral("Untitled Column %1").arg(i + 1) : c.rows[0][i]);
    }
}

// Packages as other programs make them: Strict namespaces, part names in
// another case, and one without the relationships of its workbook.
TEST_F(XlsxRead, PackagesReadAlikeOrAreRefusedWithAReason)
{
    const QString sheet = "<sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" s=\"1\"><v>44197</v></c></row></sheetData>";
    const QString styles = "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs>";
    const auto strings = [](const QString& main) { return QStringLiteral("<sst xmlns=\"%1\"><si><t>Name</t></si></sst>").arg(main); };
    const Table expected = {{"Name", "1/1/2021"}};
    Table titles, rows;

    const QString strictMain = "http://purl.oclc.org/ooxml/spreadsheetml/main";
    const QString strictRel = "http://purl.oclc.org/ooxml/officeDocument/relationships";
    ASSERT_TRUE(makeRawWorkbook(at("strict.xlsx"), oneSheet(sheet, strings(strictMain), styles, QString(), strictMain, strictRel)));
    readSheet(at("strict.xlsx"), 1, titles, rows);
    EXPECT_EQ(rows, expected);

    // Names of parts in the zip in another case than the relationships give.
    QMap<QString, QString> parts = oneSheet(sheet, strings(Sheet_Main), styles);
    parts["xl/SharedStrings.xml"] = parts.take("xl/sharedStrings.xml");
    parts["XL/Worksheets/Sheet1.xml"] = parts.take("xl/worksheets/sheet1.xml");
    parts["xl/WORKBOOK.xml"] = parts.take("xl/workbook.xml");
    ASSERT_TRUE(makeRawWorkbook(at("cases.xlsx"), parts));
    readSheet(at("cases.xlsx"), 1, titles, rows);
    EXPECT_EQ(rows, expected);

    parts = oneSheet(sheet, strings(Sheet_Main), styles);
    parts["xl/_rels/workbook.xml.rels"] = "";
    ASSERT_TRUE(makeRawWorkbook(at("norels.xlsx"), parts));
    QString error;
    SpreadsheetWriter::ReadWorkbook(at("norels.xlsx"), true, &error);
    EXPECT_TRUE(error.contains("worksheets cannot be found")) << error.toStdString();
    EXPECT_TRUE(SpreadsheetWriter::Read_Sheet_Name().isEmpty());
}

// A sheet that takes its strings in their stored order, then one from the
// start again after many thousands: the reader lets go of the strings it has
// used as it goes, and reads them afresh when one is wanted again.
TEST_F(XlsxRead, AStringWantedAgainLongAfterItsFirstUseStillReads)
{
    const int count = 50000;
    QString strings = QStringLiteral("<sst xmlns=\"%1\">").arg(Sheet_Main), sheet = "<sheetData>";
    for (int i = 0; i < count; ++i) {
        strings += QStringLiteral("<si><t>s%1</t></si>").arg(i);
        sheet += QStringLiteral("<row r=\"%1\"><c r=\"A%1\" t=\"s\"><v>%2</v></c></row>").arg(i + 1).arg(i);
    }
    sheet += QStringLiteral("<row r=\"%1\"><c r=\"A%1\" t=\"s\"><v>0</v></c><c r=\"B%1\" t=\"s\"><v>%2</v></c></row></sheetData>")
                 .arg(count + 1)
                 .arg(count - 1);
    ASSERT_TRUE(makeRawWorkbook(at("again.xlsx"), oneSheet(sheet, strings + "</sst>")));
    Table titles, rows;
    readSheet(at("again.xlsx"), 1, titles, rows);
    ASSERT_EQ(rows.size(), count + 1);
    EXPECT_EQ(rows[12345], (QStringList{"s12345", ""}));
    EXPECT_EQ(rows.last(), (QStringList{"s0", "s49999"}));
    // And a second read of the sheet reads them all again.
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(at("again.xlsx"), false).value(count - 1), (QStringList{"s49999", ""}));
}

TEST_F(XlsxRead, EmptyRowsAndEmptySharedStringsCountAgainstTheLimitsWithinAMemoryBound)
{
    // 11 million empty rows, and 13 million empty shared strings used by one
    // cell: each part packed into some 100 KB.
    struct Case {
        const char* file;
        const char* sheetItem;   // written 100000 times over, `times` times
        const char* sheetTail;   // after them, inside sheetData
        const char* stringItem;  // likewise inside sst
        int times;
        const char* refusal;
    } cases[] = {
        {"empty-rows.xlsx", "<row/>", "", "", 110, "more than 1048576 rows"},
        {"empty-strings.xlsx", "", "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>", "<si/>", 130,
         "more than 5000000 shared strings"},
    };
    for (const Case& c : cases) {
        const QString path = at(c.file);
        runPython(QStringLiteral(R"(
import sys, zipfile
main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
path, row, tail, item, times = sys.stdin.read().split("|")
with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("[Content_Types].xml", '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>')
    z.writestr("_rels/.rels", '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
               '<Relationship Id="rId1" Type="%s/officeDocument" Target="xl/workbook.xml"/></Relationships>' % rel)
    z.writestr("xl/workbook.xml", '<workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>' % (main, rel))
    z.writestr("xl/_rels/workbook.xml.rels", '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
               '<Relationship Id="rId1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/>'
               '<Relationship Id="rId2" Type="%s/sharedStrings" Target="sharedStrings.xml"/></Relationships>' % (rel, rel))
    for name, open_, close, each, last in (("xl/worksheets/sheet1.xml", '<worksheet xmlns="%s"><sheetData>' % main, "</sheetData></worksheet>", row, tail),
                                          ("xl/sharedStrings.xml", '<sst xmlns="%s">' % main, "</sst>", item, "")):
        with z.open(name, "w") as f:
            f.write(open_.encode())
            for _ in range(int(times)):
                f.write(each.encode() * 100000)
            f.write((last + close).encode())
)"),
                  QStringLiteral("%1|%2|%3|%4|%5").arg(path, c.sheetItem, c.sheetTail, c.stringItem).arg(c.times).toUtf8());
        ASSERT_LT(QFileInfo(path).size(), 1024 * 1024) << c.file;

        // Read in a child whose address space may grow by 400 MB at most:
        // the refusal must come from the limits, before memory runs out.
        const pid_t child = ::fork();
        if (child == 0) {
            QFile statm(QStringLiteral("/proc/self/statm"));
            statm.open(QIODevice::ReadOnly);
            const qint64 now = statm.readAll().split(' ').value(0).toLongLong() * ::sysconf(_SC_PAGESIZE);
            const rlimit bound{rlim_t(now + 400 * 1024 * 1024), rlim_t(now + 400 * 1024 * 1024)};
            ::setrlimit(RLIMIT_AS, &bound);
            QString error;
            SpreadsheetWriter::ReadWorkbook(path, true, &error);
            if (error.isEmpty()) {
                Excel_Sheet_Number = 1;
                SpreadsheetWriter::ReadWorkbook(path, false, &error);
            }
            ::_exit(error.contains(QLatin1String(c.refusal)) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.file << " status " << status;
    }
}

// Cells in the plainest markup are taken straight from the part; any other
// markup goes through the parser. The same cell reads alike either way: each
// case is read once as written and once with a comment inside the cell,
// which only the parser takes.
TEST_F(XlsxRead, PlainAndElaborateMarkupOfACellReadAlike)
{
    const QString styles = "<numFmts><numFmt numFmtId=\"164\" formatCode=\"yyyy-mm-dd\"/></numFmts>"
                           "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/></cellXfs>";
    const QList<std::pair<QString, QString>> cases = {
        {"<c r=\"B%1\"><v>12</v></c>", "12"},
        {"<c r=\"B%1\" t=\"n\" s=\"0\"><v> 7 </v></c>", "7"},
        {"<c r=\"B%1\" s=\"1\"><v>44197</v></c>", "2021-01-01"},
        {"<c r='B%1' t='inlineStr'><is><t xml:space=\"preserve\"> lead</t></is></c>", " lead"},
        {"<c t=\"inlineStr\" r=\"B%1\"><is>\n <t>order\tand tab</t>\n </is></c>", "order\tand tab"},
        {"<c r=\"B%1\"\n t=\"inlineStr\"><is><t>new line in the tag</t></is></c>", "new line in the tag"},
        {"<c r=\"B%1\" t=\"inlineStr\"><v>value of an inline cell</v></c>", "value of an inline cell"},
        {"<c r=\"B%1\" t=\"n\"><is><t>inline text of a number cell</t></is></c>", ""},
        {"<c r=\"B%1\" t=\"str\"><v>x_x000D_y</v></c>", "x\ry"},
        {"<c r=\"B%1\" t=\"b\"><v>1</v></c>", "TRUE"},
        {"<c r=\"B%1\" t=\"e\"><v>#N/A</v></c>", "#N/A"},
        {"<c r=\"B%1\"><v>1&amp;2</v></c>", "1&2"},
        {"<c r=\"B%1\" t=\"inlineStr\"><is><r><t>rich</t></r><r><t> text</t></r></is></c>", "rich text"},
        {"<c r=\"B%1\" t=\"inlineStr\"><is><t>Ünïcødé ✓</t></is></c>", "Ünïcødé ✓"},
        {"<c t=\"inlineStr\"><is><t>no reference</t></is></c>", "no reference"},
        {"<c r=\"B%1\" xmlns:x=\"urn:x\" x:t=\"inlineStr\"><is><t>prefixed type</t></is></c>", "prefixed type"},
        {"<c r=\"B%1\" t=\"inlineStr\"/>", ""},
    };
    Table read[2];
    for (int road = 0; road < 2; ++road) {
        QString rows;
        for (qsizetype i = 0; i < cases.size(); ++i) {
            QString cell = QString(cases[i].first).replace("%1", QString::number(i + 1));
            if (road == 1) {
                const qsizetype end = cell.indexOf('>');
                cell = cell[end - 1] == '/' ? cell.left(end - 1) + "><!-- --></c>" : cell.insert(end + 1, "<!-- -->");
            }
            rows += QStringLiteral("<row r=\"%1\"><c r=\"A%1\"><v>%1</v></c>%2</row>").arg(i + 1).arg(cell);
        }
        const QString path = at(QStringLiteral("road%1.xlsx").arg(road));
        ASSERT_TRUE(makeRawWorkbook(path, oneSheet("<sheetData>" + rows + "</sheetData>", QString(), styles)));
        Table titles;
        readSheet(path, 1, titles, read[road]);
    }
    ASSERT_EQ(read[0].size(), cases.size());
    for (qsizetype i = 0; i < cases.size(); ++i)
        EXPECT_EQ(read[0][i].value(1), cases[i].second) << cases[i].first.toStdString();
    EXPECT_EQ(read[1], read[0]);
}

// Reading the titles of a sheet that declares no dimension goes through all
// of it for the width; the rows read next are the ones that pass made, and
// read as a read of the rows alone reads them, failures included.
TEST_F(XlsxRead, TheTitlesOfASheetWithoutADimensionComeFromTheSamePassAsItsRows)
{
    const auto rowsAlone = [](const QString& path, int sheet, QString& error) {
        SpreadsheetWriter::ReadWorkbook(path, true, &error);
        Excel_Sheet_Number = sheet;
        return SpreadsheetWriter::ReadWorkbook(path, false, &error);
    };
    QString rows;
    for (int r = 1; r <= 20000; ++r)
        rows += QStringLiteral("<row r=\"%1\"><c r=\"A%1\" t=\"inlineStr\"><is><t>n%1</t></is></c><c r=\"C%1\"><v>%1</v></c></row>").arg(r);
    const QString path = at("nodimension.xlsx");
    ASSERT_TRUE(makeRawWorkbook(path, oneSheet("<sheetData>" + rows + "<row r=\"3\"><c r=\"B3\"><v>late</v></c></row></sheetData>"
                                               "<mergeCells><mergeCell ref=\"A5:C5\"/></mergeCells>")));
    Table titles, read;
    readSheet(path, 1, titles, read);
    EXPECT_EQ(titles, (Table{{"n1", "Untitled Column 2", "1"}}));
    EXPECT_EQ(Excel_Sheet_Columns, 3);
    ASSERT_EQ(read.size(), 20000);
    EXPECT_EQ(read[2], (QStringList{"n3", "late", "3"}));
    EXPECT_EQ(read[4], (QStringList{"n5", "", ""}));
    QString error;
    EXPECT_EQ(rowsAlone(path, 1, error), read);
    EXPECT_TRUE(error.isNull());

    // A table too large to hold: the titles read, the rows fail as they would alone.
    QString wideRows;
    for (int r = 1; r <= 400; ++r)
        wideRows += QStringLiteral("<row><c r=\"XFD%1\"><v>1</v></c></row>").arg(r);
    ASSERT_TRUE(makeRawWorkbook(at("wide.xlsx"), oneSheet("<sheetData>" + wideRows + "</sheetData>")));
    SpreadsheetWriter::ReadWorkbook(at("wide.xlsx"), true, &error);
    Excel_Sheet_Number = 1;
    titles = SpreadsheetWriter::ReadData_only_column(&error);
    EXPECT_TRUE(error.isNull()) << error.toStdString();
    EXPECT_EQ(Excel_Sheet_Columns, 16384);
    EXPECT_EQ(titles.value(0).value(16383), "1");
    EXPECT_TRUE(SpreadsheetWriter::ReadWorkbook(at("wide.xlsx"), false, &error).isEmpty());
    QString alone;
    rowsAlone(at("wide.xlsx"), 1, alone);
    EXPECT_EQ(error, alone);
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
}

// The part is scanned ahead of the rows being made. Titles of a sheet that
// declares its dimension end with the first row, so nothing wrong further on
// in the part touches them; reading all rows finds it.
TEST_F(XlsxRead, ATitleReadThatEndsEarlyIsUntouchedByWhatFollowsInThePart)
{
    QString rows;
    for (int r = 1; r <= 20000; ++r)
        rows += QStringLiteral("<row r=\"%1\"><c r=\"A%1\"><v>%1</v></c></row>").arg(r);
    const QList<std::pair<QString, QString>> ends = {
        {"<row r=\"20001\"><c r=\"A20001\"><v>1</v></c></rows>", "does not close"},
        {"<row r=\"20001\"><c r=\"A1048577\"><v>1</v></c></row>", "out of range"},
    };
    for (const auto& [end, reason] : ends) {
        SCOPED_TRACE(reason.toStdString());
        const QString path = at("late.xlsx");
        QFile::remove(path);
        ASSERT_TRUE(makeRawWorkbook(path, oneSheet("<dimension ref=\"A1:A20001\"/><sheetData>" + rows + end + "</sheetData>")));
        QString error;
        SpreadsheetWriter::ReadWorkbook(path, true, &error);
        Excel_Sheet_Number = 1;
        EXPECT_EQ(SpreadsheetWriter::ReadData_only_column(&error), (Table{{"1"}}));
        EXPECT_TRUE(error.isNull()) << error.toStdString();
        EXPECT_TRUE(SpreadsheetWriter::ReadWorkbook(path, false, &error).isEmpty());
        EXPECT_TRUE(error.contains(reason)) << error.toStdString();
    }
}

// Memory running out while a sheet is read, on whichever thread of the pass,
// reaches the caller as the exception it is (as the import dialogs catch
// it), not as the end of the program.
TEST_F(XlsxRead, MemoryRunningOutDuringAPassReachesTheCaller)
{
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer's operator new ends the program when memory runs out
    // (and reserves far more address space than any bound here allows).
    GTEST_SKIP() << "no std::bad_alloc under AddressSanitizer";
#endif
    if (const QByteArray bounded = qgetenv("GLEAMCARD_BOUNDED_READ"); !bounded.isEmpty()) {
        // The fresh process: it reads the workbook within its bound, and
        // passes only when memory ran out as an exception.
        QFile statm(QStringLiteral("/proc/self/statm"));
        statm.open(QIODevice::ReadOnly);
        const qint64 now = statm.readAll().split(' ').value(0).toLongLong() * ::sysconf(_SC_PAGESIZE);
        const rlimit bound{rlim_t(now + 200 * 1024 * 1024), rlim_t(now + 200 * 1024 * 1024)};
        ::setrlimit(RLIMIT_AS, &bound);
        bool ranOut = false;
        try {
            QString error;
            SpreadsheetWriter::ReadWorkbook(QFile::decodeName(bounded), true, &error);
            Excel_Sheet_Number = 1;
            SpreadsheetWriter::ReadData_only_column(&error);
            SpreadsheetWriter::ReadWorkbook(QFile::decodeName(bounded), false, &error);
        } catch (const std::bad_alloc&) {
            ranOut = true;
        }
        EXPECT_TRUE(ranOut);
        return;
    }
    const QString path = at("big-cells.xlsx");
    runPython(QStringLiteral(R"(
import sys, zipfile
main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
with zipfile.ZipFile(sys.stdin.read(), "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("[Content_Types].xml", '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>')
    z.writestr("_rels/.rels", '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
               '<Relationship Id="rId1" Type="%s/officeDocument" Target="xl/workbook.xml"/></Relationships>' % rel)
    z.writestr("xl/workbook.xml", '<workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>' % (main, rel))
    z.writestr("xl/_rels/workbook.xml.rels", '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
               '<Relationship Id="rId1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/></Relationships>' % rel)
    with z.open("xl/worksheets/sheet1.xml", "w") as f:
        f.write(('<worksheet xmlns="%s"><sheetData>' % main).encode())
        for r in range(1, 161):
            f.write(('<row r="%d"><c r="A%d" t="inlineStr"><is><t>' % (r, r)).encode() + b"x" * (1024 * 1024) + b"</t></is></c></row>")
        f.write(b"</sheetData></worksheet>")
)"), path.toUtf8());
    ASSERT_LT(QFileInfo(path).size(), 2 * 1024 * 1024);
    // 160 cells of a million characters each need 320 MB as text; the
    // reading process's address space may grow by 200 MB. It is this test
    // program started afresh for this test alone: a process forked from one
    // that read sheets before holds the memory they left reserved, and
    // would read within the bound.
    std::vector<QByteArray> environment{"GLEAMCARD_BOUNDED_READ=" + QFile::encodeName(path)};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "GTEST_", 6) != 0) // its own report, if any, is not the caller's
            environment.emplace_back(*e);
    std::vector<char*> envp;
    for (QByteArray& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    QByteArray program = "tests_data", filter = "--gtest_filter=XlsxRead.MemoryRunningOutDuringAPassReachesTheCaller";
    char* const args[] = {program.data(), filter.data(), nullptr};
    const pid_t child = ::fork();
    if (child == 0) {
        ::execve("/proc/self/exe", args, envp.data());
        ::_exit(2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}
