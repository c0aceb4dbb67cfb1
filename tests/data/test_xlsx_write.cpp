#include "support/XlsxTestKit.h"
#include "data/SSZipArchive.h"
#include "data/SpreadsheetWriter.h"
#include "support/TempResources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
using Table = QList<QStringList>;

struct XlsxWrite : ::testing::Test {
    TempResources resources;
    QTemporaryDir tmp;
    QString at(const QString& name) const { return tmp.path() + QLatin1Char('/') + name; }
    void TearDown() override { SpreadsheetWriter::Release_Data(); }

    Table readBack(const QString& path, int sheet = 1)
    {
        QString error;
        SpreadsheetWriter::ReadWorkbook(path, true, &error);
        EXPECT_TRUE(error.isNull()) << error.toStdString();
        Excel_Sheet_Number = sheet;
        SpreadsheetWriter::ReadData_only_column(&error);
        return SpreadsheetWriter::ReadWorkbook(path, false, &error);
    }
    QByteArray part(const QString& xlsx, const QString& name)
    {
        QTemporaryDir out;
        EXPECT_TRUE(SSZipArchive::unzipFileAtPath(xlsx, out.path()));
        QFile f(out.path() + QLatin1Char('/') + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};
}

TEST_F(XlsxWrite, ADataSetExportOpensInOpenpyxlAndInOurReader)
{
    const QString path = at("series.xlsx");
    const Table input = {{"Batch Value"}, {"12"}, {"abc"}, {"abc"}};
    QString error;
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, input, true, &error)) << error.toStdString();
    QString report;
    EXPECT_TRUE(unzipTest(path, &report)) << report.toStdString();

    const QByteArray sheet = part(path, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(sheet.contains("<dimension ref=\"A1:A4\"/>"));
    EXPECT_TRUE(sheet.contains("<selection activeCell=\"A4\" sqref=\"A4\"/>"));
    EXPECT_TRUE(sheet.contains("<c r=\"A1\" t=\"s\"><v>0</v></c>"));
    EXPECT_TRUE(sheet.contains("<c r=\"A2\"><v>12</v></c>"));
    EXPECT_TRUE(sheet.contains("<c r=\"A4\" t=\"s\"><v>2</v></c>"));
    EXPECT_TRUE(part(path, "xl/sharedStrings.xml").contains("count=\"3\" uniqueCount=\"3\""));

    bool ok = false;
    const QJsonObject book = readWithOpenpyxl(path, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(book["sheets"].toArray(), QJsonArray{"Sheet1"});
    QStringList types;
    EXPECT_EQ(openpyxlCells(book, &types), (Table{{"Batch Value"}, {"12"}, {"abc"}, {"abc"}}));
    EXPECT_EQ(types, (QStringList{"str", "int", "str", "str"}));

    EXPECT_EQ(readBack(path), input);
}

TEST_F(XlsxWrite, OnlyCanonicalNumbersBecomeNumberCells)
{
    const QStringList values = {"007", "1234567890123456", "123456789012345", "3.5", "-2", "0", "0.25",
                                "1.50", "1e5", "+4", ".5", "-0", "3,5", "12ab", "0.000000000000001234"};
    const QStringList expected = {"str", "str", "int", "float", "int", "int", "float",
                                  "str", "str", "str", "str", "str", "str", "str", "float"};
    const QString path = at("numbers.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, {values}, false));
    bool ok = false;
    QStringList types;
    const Table cells = openpyxlCells(readWithOpenpyxl(path, &ok), &types);
    ASSERT_TRUE(ok);
    EXPECT_EQ(types, expected);
    EXPECT_EQ(cells[0][0], QStringLiteral("007"));
    EXPECT_EQ(cells[0][1], QStringLiteral("1234567890123456"));
    // Our reader gives every value back as it was written.
    EXPECT_EQ(readBack(path), Table{values});
}

TEST_F(XlsxWrite, AwkwardTextAlwaysGivesAWorkbookThatOpens)
{
    const Table input = {{"Name", "Note", "Code"},
                         {"Tom & Jerry <cats>", "say \"hi\"", "  padded  "},
                         {QString::fromUtf8("bell\x07" "and\x01nul"), QStringLiteral("line\r\nbreak\ttab"),
                          QString::fromUtf8("emoji \xF0\x9F\x98\x80") + QChar(0xD800) + QStringLiteral("lone")},
                         {},
                         {"longer", "than", "the", "title", "row"}};
    const QString path = at("awkward.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, input, true));
    EXPECT_TRUE(unzipTest(path));
    const QByteArray sheet = part(path, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(sheet.contains("<dimension ref=\"A1:E5\"/>"));
    EXPECT_TRUE(sheet.contains("<row r=\"4\" spans=\"1:5\"/>"));

    const Table expected = {{"Name", "Note", "Code", "", ""},
                            {"Tom & Jerry <cats>", "say \"hi\"", "  padded  ", "", ""},
                            {"bellandnul", "line\r\nbreak\ttab", QString::fromUtf8("emoji \xF0\x9F\x98\x80") + "lone", "", ""},
                            // the empty row is no batch row
                            {"longer", "than", "the", "title", "row"}};
    EXPECT_EQ(readBack(path), expected);
    bool ok = false;
    const Table cells = openpyxlCells(readWithOpenpyxl(path, &ok));
    ASSERT_TRUE(ok);
    ASSERT_EQ(cells.size(), 5);
    EXPECT_EQ(cells[0].mid(0, 3), (QStringList{"Name", "Note", "Code"}));
    EXPECT_EQ(cells[1][0], QStringLiteral("Tom & Jerry <cats>"));
    EXPECT_EQ(cells[2][1], QStringLiteral("line\r\nbreak\ttab"));
    EXPECT_EQ(cells[4][4], QStringLiteral("row"));
}

TEST_F(XlsxWrite, FailuresAreReportedAndLeaveNoBrokenFile)
{
    QString error;
    EXPECT_FALSE(SpreadsheetWriter::WriteWorkbook(at("empty.xlsx"), {}, true, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(at("empty.xlsx")));

    EXPECT_FALSE(SpreadsheetWriter::WriteWorkbook(at("no/such/folder/x.xlsx"), {{"a"}}, true, &error));
    EXPECT_FALSE(error.isEmpty());

    // A part that cannot be written: the template holds a folder where the worksheet goes.
    QFile keep(at("keep.xlsx"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("the user's old file");
    keep.close();
    const QString templ = resources.path() + "/Template.xlsx";
    ASSERT_TRUE(makeZip(templ, {{"[Content_Types].xml", "<Types/>"}, {"xl/worksheets/sheet1.xml/", ""}}));
    // A temporary folder of this test alone, so other test programs running
    // at the same time cannot add or remove folders while we count them.
    const QByteArray oldTmp = qgetenv("TMPDIR");
    const QString privateTmp = at("tmp");
    ASSERT_TRUE(QDir().mkpath(privateTmp));
    qputenv("TMPDIR", privateTmp.toUtf8());
    ASSERT_EQ(QDir::tempPath(), privateTmp);
    const QStringList before = QDir(QDir::tempPath()).entryList({"gleamcard-ziptmp-*"});
    error.clear();
    EXPECT_FALSE(SpreadsheetWriter::WriteWorkbook(at("keep.xlsx"), {{"a"}}, true, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile old(at("keep.xlsx"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the user's old file"));

    // The writer's own folder went with the failed write.
    EXPECT_EQ(QDir(QDir::tempPath()).entryList({"gleamcard-ziptmp-*"}), before);
    if (oldTmp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmp);

    ASSERT_TRUE(QFile::remove(templ));
    error.clear();
    EXPECT_FALSE(SpreadsheetWriter::WriteWorkbook(at("notemplate.xlsx"), {{"a"}}, true, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(at("notemplate.xlsx")));
}

TEST_F(XlsxWrite, WritingDoesNotDisturbAWorkbookBeingRead)
{
    const QString source = at("source.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(source, {{"Title"}, {"one"}, {"2"}}, true));
    QString error;
    SpreadsheetWriter::ReadWorkbook(source, true, &error);
    ASSERT_TRUE(error.isNull());

    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(at("other.xlsx"), {{"x"}, {"y"}}, true));
    Excel_Sheet_Number = 1;
    EXPECT_EQ(SpreadsheetWriter::ReadData_only_column(&error), Table{{"Title"}});
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(source, false, &error), (Table{{"Title"}, {"one"}, {"2"}}));
}

TEST_F(XlsxWrite, AllNumberSheetHasAnEmptySharedStringPart)
{
    const QString path = at("nums.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, {{"1", "2"}, {"3"}}, true));
    const QByteArray strings = part(path, "xl/sharedStrings.xml");
    EXPECT_TRUE(strings.contains("<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"/>"));
    bool ok = false;
    EXPECT_EQ(openpyxlCells(readWithOpenpyxl(path, &ok)), (Table{{"1", "2"}, {"3", ""}}));
    EXPECT_TRUE(ok);
}
