#include "support/XlsxTestKit.h"
#include "data/SSZipArchive.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {
void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file and folder below root, relative, sorted.
QStringList tree(const QString& root)
{
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out.append(QDir(root).relativeFilePath(it.next()));
    out.sort();
    return out;
}

struct ZipTest : ::testing::Test {
    QTemporaryDir tmp;
    QString at(const QString& name) const { return tmp.path() + QLatin1Char('/') + name; }
};
}

TEST_F(ZipTest, PackedFoldersAreStoredUnderTheirLastComponentAndUnpackBack)
{
    writeFile(at("src/xl/worksheets/sheet1.xml"), "<sheet/>");
    writeFile(at("src/xl/.hidden"), "h");
    QDir().mkpath(at("src/xl/empty"));
    writeFile(at("src/[Content_Types].xml"), QByteArray(100000, 'x'));
    const QString big = at("src/[Content_Types].xml");

    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(at("a.zip"), {at("src/xl/"), big}));
    ASSERT_TRUE(unzipTest(at("a.zip")));
    EXPECT_EQ(unzipNames(at("a.zip")), (QStringList{"xl/.hidden", "xl/empty/", "xl/worksheets/sheet1.xml",
                                                    "[Content_Types].xml"}));
    // With or without the trailing slash the names are the same.
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(at("b.zip"), QString(at("src/xl"))));
    EXPECT_EQ(unzipNames(at("b.zip")), (QStringList{"xl/.hidden", "xl/empty/", "xl/worksheets/sheet1.xml"}));

    SSZipArchiveError error;
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("a.zip"), at("out"), true, QString(), &error));
    EXPECT_EQ(tree(at("out")), (QStringList{"[Content_Types].xml", "xl", "xl/.hidden", "xl/empty", "xl/worksheets",
                                            "xl/worksheets/sheet1.xml"}));
    EXPECT_EQ(readFile(at("out/[Content_Types].xml")), QByteArray(100000, 'x'));
    EXPECT_EQ(readFile(at("out/xl/worksheets/sheet1.xml")), QByteArray("<sheet/>"));
}

TEST_F(ZipTest, BackslashNamesFolderEntriesOverwriteAndDates)
{
    ASSERT_TRUE(makeZip(at("w.zip"), {{"a\\b.txt", "one"},
                                      {"only/folder/", ""},
                                      ZipEntry::dated("dated.txt", "d", {2021, 5, 6, 7, 8, 10})}));
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("w.zip"), at("out")));
    EXPECT_EQ(readFile(at("out/a/b.txt")), QByteArray("one"));
    EXPECT_TRUE(QFileInfo(at("out/only/folder")).isDir());
    EXPECT_EQ(QFileInfo(at("out/dated.txt")).lastModified(),
              QDateTime(QDate(2021, 5, 6), QTime(7, 8, 10), Qt::LocalTime));
    // An entry dated 0 (our own packing) keeps the time of writing.
    writeFile(at("src/z.txt"), "z");
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(at("z.zip"), QStringList{at("src/z.txt")}));
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("z.zip"), at("zout")));
    EXPECT_LT(qAbs(QFileInfo(at("zout/z.txt")).lastModified().secsTo(QDateTime::currentDateTime())), 60);

    writeFile(at("out/a/b.txt"), "changed");
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("w.zip"), at("out"), false, QString(), nullptr));
    EXPECT_EQ(readFile(at("out/a/b.txt")), QByteArray("changed"));
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("w.zip"), at("out"), true, QString(), nullptr));
    EXPECT_EQ(readFile(at("out/a/b.txt")), QByteArray("one"));
}

TEST_F(ZipTest, HostileEntryNamesAreRefusedBeforeAnythingIsWritten)
{
    const QList<QString> names = {"../x", "/abs", "..\\x", "a/../../x", "C:/x", "c:x"};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString zip = at("hostile.zip");
        QFile::remove(zip);
        ASSERT_TRUE(makeZip(zip, {{"first.txt", "ok"}, {name, "evil"}}));
        QDir(at("dest")).removeRecursively();
        QDir().mkpath(at("dest"));
        SSZipArchiveError error;
        EXPECT_FALSE(SSZipArchive::unzipFileAtPath(zip, at("dest"), true, QString(), &error));
        EXPECT_EQ(error.domain, QStringLiteral("SSZipArchiveErrorDomain"));
        EXPECT_EQ(error.code, SSZipArchive::Error_Unsafe_Entry);
        EXPECT_TRUE(tree(at("dest")).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(at("x")));
        EXPECT_FALSE(QFileInfo::exists("/abs"));
    }
    ASSERT_TRUE(makeZip(at("link.zip"), {ZipEntry::symlink("link", "/etc/passwd"), {"link2", "through the link"}}));
    SSZipArchiveError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("link.zip"), at("ldest"), true, QString(), &error));
    EXPECT_EQ(error.code, SSZipArchive::Error_Unsafe_Entry);
    EXPECT_FALSE(QFileInfo(at("ldest/link")).isSymLink());
}

TEST_F(ZipTest, ZipBombsFailWithoutFillingTheDisk)
{
    ASSERT_TRUE(makeZip(at("bomb.zip"), {ZipEntry::zeros("zeros.bin", qint64(1) << 30)}));
    EXPECT_LT(QFileInfo(at("bomb.zip")).size(), 16 << 20);
    SSZipArchiveError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("bomb.zip"), at("dest"), true, QString(), &error));
    EXPECT_EQ(error.code, SSZipArchive::Error_Too_Large);
    EXPECT_FALSE(error.description.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(at("dest/zeros.bin")));

    QList<ZipEntry> many;
    for (int i = 0; i <= SSZipArchive::Max_Entry_Count; ++i)
        many.append(ZipEntry(QStringLiteral("f%1").arg(i), "x"));
    ASSERT_TRUE(makeZip(at("many.zip"), many));
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("many.zip"), at("dest2"), true, QString(), &error));
    EXPECT_EQ(error.code, SSZipArchive::Error_Too_Large);
    EXPECT_FALSE(QFileInfo::exists(at("dest2/f0")));
}

TEST_F(ZipTest, DamagedArchivesAreErrors)
{
    SSZipArchiveError error;
    writeFile(at("text.zip"), "this is not a zip archive");
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("text.zip"), at("d1"), true, QString(), &error));
    EXPECT_EQ(error.code, SSZipArchive::Error_Open_Archive);
    EXPECT_EQ(error.description, QStringLiteral("failed to open zip file"));
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("missing.zip"), at("d1"), true, QString(), &error));
    EXPECT_EQ(error.code, SSZipArchive::Error_Open_Archive);

    // minizip cannot open an archive without entries at all; either way it fails.
    ASSERT_TRUE(makeZip(at("empty.zip"), {}));
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("empty.zip"), at("d2"), true, QString(), &error));
    EXPECT_FALSE(QFileInfo::exists(at("d2")));

    // Cut in half: the central directory is gone.
    const QByteArray payload = QByteArray("0123456789abcdef").repeated(4096);
    ASSERT_TRUE(makeZip(at("whole.zip"), {{"data.bin", payload, true}, {"more.bin", payload}}));
    const QByteArray whole = readFile(at("whole.zip"));
    writeFile(at("cut.zip"), whole.left(whole.size() / 2));
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("cut.zip"), at("d3"), true, QString(), &error));
    EXPECT_EQ(error.code, SSZipArchive::Error_Open_Archive);

    // One flipped byte in a stored entry: the CRC no longer matches.
    QByteArray flipped = whole;
    const qsizetype at1000 = flipped.indexOf(payload) + 1000;
    flipped[at1000] = char(flipped[at1000] ^ 0x20);
    writeFile(at("crc.zip"), flipped);
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("crc.zip"), at("d4"), true, QString(), &error));
    EXPECT_EQ(error.code, SSZipArchive::Error_Read_Entry);
    EXPECT_FALSE(QFileInfo::exists(at("d4/data.bin")));

    // Garbage inside a deflated entry.
    ASSERT_TRUE(makeZip(at("defl.zip"), {{"data.bin", payload}}));
    QByteArray garbled = readFile(at("defl.zip"));
    for (qsizetype i = 60; i < 90; ++i)
        garbled[i] = char(0xff);
    writeFile(at("defl.zip"), garbled);
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("defl.zip"), at("d5"), true, QString(), &error));
    EXPECT_EQ(error.code, SSZipArchive::Error_Read_Entry);
}

TEST_F(ZipTest, AFileThatCannotBeWrittenIsAnError)
{
    // The file "a" stands where the folder for "a/b" must go.
    ASSERT_TRUE(makeZip(at("clash.zip"), {{"a", "file"}, {"a/b", "below"}}));
    SSZipArchiveError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("clash.zip"), at("dest"), true, QString(), &error));
    EXPECT_EQ(error.code, SSZipArchive::Error_Write_File);
}

TEST_F(ZipTest, PackingFailuresLeaveNoArchiveAndKeepTheOldFile)
{
    writeFile(at("src/ok.txt"), "ok");
    writeFile(at("old.zip"), "previous contents");
    EXPECT_FALSE(SSZipArchive::createZipFileAtPath(at("old.zip"), {at("src/ok.txt"), at("src/missing.txt")}));
    EXPECT_EQ(readFile(at("old.zip")), QByteArray("previous contents"));
    EXPECT_FALSE(SSZipArchive::createZipFileAtPath(at("no/such/folder/x.zip"), QStringList{at("src/ok.txt")}));
    // No half-written archives lie around.
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"old.zip"}));
}

TEST_F(ZipTest, WriterMisuseStopsWithItsMessage)
{
    SSZipArchive writer(at("w.zip"));
    try {
        writer.writeFile("x", tmp.path() + "/");
        FAIL() << "no exception";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "Attempting to write to an archive which was never opened");
    }
    EXPECT_THROW(writer.close(), std::logic_error);
    ASSERT_TRUE(writer.open());
    EXPECT_THROW(writer.open(), std::logic_error);
    EXPECT_TRUE(writer.writeData("in memory", "mem.txt"));
    EXPECT_TRUE(writer.close());
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("w.zip"), at("out")));
    EXPECT_EQ(readFile(at("out/mem.txt")), QByteArray("in memory"));
    // Bytes are dated when written.
    EXPECT_LT(qAbs(QFileInfo(at("out/mem.txt")).lastModified().secsTo(QDateTime::currentDateTime())), 60);
}
