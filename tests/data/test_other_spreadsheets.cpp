#include "support/XlsxTestKit.h"
#include "data/SpreadsheetFormats.h"
#include "support/TempResources.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
using Table = QList<QStringList>;

// Awkward values: numbers that must stay text, markup, runs of spaces at
// either end, tabs, line ends, characters outside the basic plane, and rows
// of their own lengths.
const Table Awkward = {
    {"Name", "Number", "Note"},
    {"Ann", "42", "  two  spaces "},
    {"Bob", "007", "line one\nline two"},
    {"tab\there", "", "a<&>\"b'"},
    {"Zoë ✓ 😀", "-3.5"},
    {},
    {"1.50", "1e5", "x"},
};

Table fromJson(const QByteArray& json)
{
    Table rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(json).array()) {
        QStringList cells;
        for (const QJsonValue& cell : row.toArray())
            cells << cell.toString();
        rows << cells;
    }
    return rows;
}

// Python's odfpy: each cell's paragraphs as one text, repeats expanded.
Table readWithOdfpy(const QString& path)
{
    return fromJson(runPython(QStringLiteral(R"(
import json, sys, zipfile
from odf.opendocument import load
from odf.table import Table, TableRow
from odf.text import P
from odf import teletype
path = sys.stdin.read()
first = zipfile.ZipFile(path).infolist()[0]
assert first.filename == "mimetype" and first.compress_type == zipfile.ZIP_STORED, first
table = load(path).getElementsByType(Table)[0]
rows = []
for r in table.getElementsByType(TableRow):
    row = []
    for c in r.childNodes:
        if getattr(c, "qname", (None, None))[1] in ("table-cell", "covered-table-cell"):
            text = "\n".join(teletype.extractText(p) for p in c.getElementsByType(P))
            row += [text] * int(c.getAttribute("numbercolumnsrepeated") or 1)
    while row and row[-1] == "":
        row.pop()
    rows.append(row)
print(json.dumps(rows))
)"),
                               path.toUtf8()));
}

// Python's xml module: each Data element's text and type.
QByteArray readWithPythonXml(const QString& path)
{
    return runPython(QStringLiteral(R"(
import json, sys
import xml.etree.ElementTree as ET
ns = "{urn:schemas-microsoft-com:office:spreadsheet}"
root = ET.parse(sys.stdin.read()).getroot()
table = root.find(ns + "Worksheet").find(ns + "Table")
print(json.dumps({"rows": [[c.find(ns + "Data").text or "" for c in r.findall(ns + "Cell")] for r in table.findall(ns + "Row")],
                  "types": [[c.find(ns + "Data").get(ns + "Type") for c in r.findall(ns + "Cell")] for r in table.findall(ns + "Row")],
                  "columns": table.get(ns + "ExpandedColumnCount"), "name": root.find(ns + "Worksheet").get(ns + "Name")}))
)"),
                     path.toUtf8());
}

struct OtherFormats : ::testing::Test {
    TempResources resources;
    QTemporaryDir tmp;
    QString at(const QString& name) const { return tmp.path() + QLatin1Char('/') + name; }
    QString rawOds(const QString& name, const QString& rows, const QString& prolog = {})
    {
        const QString content = QStringLiteral("<?xml version=\"1.0\"?>%1<office:document-content"
                                               " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
                                               " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
                                               " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\">"
                                               "<office:body><office:spreadsheet><table:table table:name=\"T\">%2"
                                               "</table:table></office:spreadsheet></office:body></office:document-content>")
                                    .arg(prolog, rows);
        EXPECT_TRUE(makeZip(at(name), {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet", true},
                                       {"content.xml", content.toUtf8()}}));
        return at(name);
    }
    QString rawXml(const QString& name, const QString& rows, const QString& prolog = {}, const QString& styles = {})
    {
        QFile f(at(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("<?xml version=\"1.0\"?>%1<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\""
                               " xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"><Styles>%3</Styles>"
                               "<Worksheet ss:Name=\"A\"><Table>%2"
                               "</Table></Worksheet><Worksheet ss:Name=\"B\"><Table><Row><Cell><Data>no</Data></Cell></Row>"
                               "</Table></Worksheet></Workbook>")
                    .arg(prolog, rows, styles)
                    .toUtf8());
        return at(name);
    }
};
}

TEST_F(OtherFormats, WrittenFilesReadBackHereAndInIndependentReaders)
{
    QString error;
    ASSERT_TRUE(SpreadsheetFormats::WriteODS(at("t.ods"), Awkward, true, &error)) << error.toStdString();
    EXPECT_EQ(SpreadsheetFormats::ReadODS(at("t.ods"), &error), Awkward);
    EXPECT_TRUE(error.isNull());
    EXPECT_EQ(readWithOdfpy(at("t.ods")), Awkward);
    EXPECT_EQ(unzipNames(at("t.ods")).value(0), "mimetype");

    ASSERT_TRUE(SpreadsheetFormats::WriteWorksheetXML2004(at("t.xml"), Awkward, &error)) << error.toStdString();
    EXPECT_EQ(SpreadsheetFormats::ReadWorksheetXML2004(at("t.xml"), &error), Awkward);
    const QJsonObject seen = QJsonDocument::fromJson(readWithPythonXml(at("t.xml"))).object();
    EXPECT_EQ(fromJson(QJsonDocument(seen["rows"].toArray()).toJson()), Awkward);
    EXPECT_EQ(seen["name"].toString(), "Notes");
    EXPECT_EQ(seen["columns"].toString(), "3");
    // Only numbers that read back as the same text are numbers.
    const QJsonArray types = seen["types"].toArray();
    EXPECT_EQ(types[1].toArray()[1].toString(), "Number");     // 42
    EXPECT_EQ(types[2].toArray()[1].toString(), "String");     // 007
    EXPECT_EQ(types[4].toArray()[1].toString(), "Number");     // -3.5
    EXPECT_EQ(types[6].toArray()[0].toString(), "String");     // 1.50
    EXPECT_EQ(types[6].toArray()[1].toString(), "String");     // 1e5
    EXPECT_EQ(types[0].toArray()[0].toString(), "String");     // Name

    // The same names by file type, as the import dialogs use them.
    EXPECT_TRUE(SpreadsheetFormats::Handles(at("T.ODS")));
    EXPECT_FALSE(SpreadsheetFormats::Handles(at("t.xlsx")));
    EXPECT_EQ(SpreadsheetFormats::Read(at("t.xml")), Awkward);

    // A failed write leaves the old file as it was.
    QFile::remove(resources.path() + "/Template.ods");
    EXPECT_FALSE(SpreadsheetFormats::WriteODS(at("t.ods"), {{"new"}}, false, &error));
    EXPECT_FALSE(error.isNull());
    EXPECT_EQ(SpreadsheetFormats::ReadODS(at("t.ods")), Awkward);
}

TEST_F(OtherFormats, FilesOfOtherProgramsReadAsTheSheetShowsThem)
{
    // Written by odfpy: repeated cells and rows, a merged cell and the one it
    // covers, text in two paragraphs with a run of spaces, empty rows between
    // content, and the usual million empty rows at the end.
    runPython(QStringLiteral(R"(
import sys
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell, CoveredTableCell
from odf.text import P
from odf import teletype
doc = OpenDocumentSpreadsheet()
t = Table(name="People")
def cell(*paragraphs, **kw):
    c = TableCell(valuetype="string", **kw)
    for text in paragraphs:
        p = P()
        teletype.addTextToElement(p, text)
        c.addElement(p)
    return c
def row(*cells, **kw):
    r = TableRow(**kw)
    for c in cells:
        r.addElement(c)
    t.addElement(r)
row(cell("x", numbercolumnsrepeated=3), cell("end"))
covered = CoveredTableCell()
covered.addElement(P(text="hidden"))
row(cell("Merged", numbercolumnsspanned=2), covered, cell("after"))
row(cell("one", "two  spaced"))
row(TableCell(numbercolumnsrepeated=1024), numberrowsrepeated=2)
row(cell("twice"), TableCell(numbercolumnsrepeated=16000), numberrowsrepeated=2)
row(TableCell(numbercolumnsrepeated=1024), numberrowsrepeated=1048000)
doc.spreadsheet.addElement(t)
doc.save(sys.stdin.read())
)"),
              at("odfpy.ods").toUtf8());
    QString error;
    EXPECT_EQ(SpreadsheetFormats::ReadODS(at("odfpy.ods"), &error),
              (Table{{"x", "x", "x", "end"}, {"Merged", "", "after"}, {"one\ntwo  spaced"}, {}, {}, {"twice"}, {"twice"}}));
    EXPECT_TRUE(error.isNull()) << error.toStdString();

    // XML 2003 as spreadsheet programs write it: indexes skip cells and rows,
    // a merged cell covers the next, formatted text inside Data.
    const QString xml = rawXml("other.xml", "<Row><Cell><Data ss:Type=\"String\">a</Data></Cell>"
                                            "<Cell ss:Index=\"4\"><Data ss:Type=\"Number\">4</Data></Cell></Row>"
                                            "<Row ss:Index=\"3\"><Cell ss:MergeAcross=\"1\"><Data>m</Data></Cell>"
                                            "<Cell><Data>c</Data><Comment><Data>note</Data></Comment></Cell></Row>"
                                            "<Row><Cell><ss:Data xmlns:html=\"http://www.w3.org/TR/REC-html40\">"
                                            "<html:B>bo</html:B>ld</ss:Data></Cell><Cell/></Row>");
    EXPECT_EQ(SpreadsheetFormats::ReadWorksheetXML2004(xml, &error),
              (Table{{"a", "", "", "4"}, {}, {"m", "", "c"}, {"bold"}}));
    EXPECT_TRUE(error.isNull()) << error.toStdString();
}

TEST_F(OtherFormats, XmlSpreadsheetCellsReadAsTheSheetShowsThemAndSheetsByTheirNames)
{
    // One cell a row, each in a style of its own: the style's number format
    // ("" no style; "^" a style with none of its own under the first one's),
    // the Data type, what is stored and what the sheet shows.
    const char* const cases[][4] = {
        {"yyyy\\-mm\\-dd", "DateTime", "2024-03-15T00:00:00.000", "2024-03-15"},
        {"Short Date", "DateTime", "2024-03-15T00:00:00.000", "3/15/2024"},
        {"General Date", "DateTime", "2024-03-15T14:30:00.000", "3/15/2024 14:30"},
        {"Long Time", "DateTime", "1899-12-31T14:30:05.000", "2:30:05 PM"},
        {"d\\ mmmm\\ yyyy", "Number", "45366", "15 March 2024"},
        {"^", "DateTime", "2001-02-03T00:00:00.000", "2001-02-03"},
        {"", "DateTime", "2024-03-15T00:00:00.000", "2024-03-15 00:00:00"},
        {"", "Boolean", "1", "TRUE"},
        {"Yes/No", "Boolean", "0", "FALSE"},
        {"Fixed", "Number", "10.199999999999999", "10.2"},
        {"", "String", "0012", "0012"},
    };
    QString styles, rows;
    Table expected;
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const QString format = cases[i][0];
        if (format == "^")
            styles += QStringLiteral("<Style ss:ID=\"s%1\" ss:Parent=\"s0\"><Font/></Style>").arg(i);
        else if (!format.isEmpty())
            styles += QStringLiteral("<Style ss:ID=\"s%1\"><NumberFormat ss:Format=\"%2\"/></Style>").arg(i).arg(format);
        rows += QStringLiteral("<Row><Cell ss:StyleID=\"s%1\"><Data ss:Type=\"%2\">%3</Data></Cell></Row>")
                    .arg(i).arg(cases[i][1], cases[i][2]);
        expected << QStringList{cases[i][3]};
    }
    const QString xml = rawXml("styled.xml", rows, {}, styles);
    QString error, name;
    EXPECT_EQ(SpreadsheetFormats::Read(xml, &error, &name), expected);
    EXPECT_TRUE(error.isNull()) << error.toStdString();
    EXPECT_EQ(name, "A");
    EXPECT_EQ(SpreadsheetFormats::Read(rawOds("named.ods", ""), &error, &name), Table{});
    EXPECT_EQ(name, "T");
}

TEST_F(OtherFormats, HostileFilesAreRefusedQuicklyAndEmptyRangesCostNothing)
{
    const QString rowOf = "<table:table-row%1><table:table-cell%2><text:p>%3</text:p></table:table-cell></table:table-row>";
    const QString laughs = "<!DOCTYPE lolz [<!ENTITY lol \"lol\"><!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">"
                           "<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">]>";
    struct Case {
        const char* what;
        QString path;
        bool refused;
    };
    const Case cases[] = {
        {"a cell repeated past the last column",
         rawOds("cols.ods", rowOf.arg("", " table:number-columns-repeated=\"100000000\"", "v")), true},
        {"a row repeated past the last row",
         rawOds("rows.ods", rowOf.arg(" table:number-rows-repeated=\"2000000000\"", "", "v")), true},
        {"too many cells in all",
         rawOds("cells.ods", rowOf.arg(" table:number-rows-repeated=\"1000\"", " table:number-columns-repeated=\"16000\"", "v")),
         true},
        {"a document type in the content part", rawOds("dtd.ods", rowOf.arg("", "", "&lol3;"), laughs), true},
        {"a document type in an XML spreadsheet", rawXml("dtd.xml", "<Row><Cell><Data>&lol3;</Data></Cell></Row>", laughs),
         true},
        {"a cell index far past the last column",
         rawXml("index.xml", "<Row><Cell ss:Index=\"2000000000\"><Data>v</Data></Cell></Row>"), true},
        {"a row index far past the last row",
         rawXml("rowindex.xml", "<Row ss:Index=\"2000000000\"><Cell><Data>v</Data></Cell></Row>"), true},
        {"huge empty ranges with nothing after them",
         rawOds("empty.ods", rowOf.arg(" table:number-rows-repeated=\"2000000000\"", " table:number-columns-repeated=\"2000000000\"", "")),
         false},
        {"not a package", rawXml("fake.ods", ""), true},
        {"not a spreadsheet", at("missing.xml"), true},
    };
    for (const Case& c : cases) {
        QElapsedTimer clock;
        clock.start();
        QString error;
        const Table rows = SpreadsheetFormats::Read(c.path, &error);
        EXPECT_EQ(!error.isNull(), c.refused) << c.what << ": " << error.toStdString();
        EXPECT_TRUE(rows.isEmpty()) << c.what;
        EXPECT_LT(clock.elapsed(), 5000) << c.what;
    }
}
