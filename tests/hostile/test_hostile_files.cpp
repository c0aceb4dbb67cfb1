// Hostile files and lost work: what a killed run leaves behind, barcode
// settings no window can enter, and every input that once failed a fuzz
// target. (Hostile designs opened and saved by the main window are tested
// with the window.)
#include "Fuzz_Bodies.h"
#include "barcode/Barcode_Gen.h"
#include "model/GraphicArchive.h"
#include "model/Work_Files.h"
#include "platform/Log.h"
#include "platform/PropertyList.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
struct HostileFiles : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    QStringList log;
    platform::LogSink oldSink;

    void SetUp() override { oldSink = platform::setLogSink([this](const QString& line) { log << line; }); }
    void TearDown() override { platform::setLogSink(oldSink); }
    QString at(const QString& name) const { return resources.path() + QLatin1Char('/') + name; }
    // The part files beside the designs of the resource folder.
    QStringList partFiles() const
    {
        return QDir(resources.path()).entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden);
    }
};
}

TEST_F(HostileFiles, LeftoversOfAKilledSaveGoAtStartUpWhileFilesInUseStay)
{
    // A temporary folder of this test's own, so no other program's folders take part.
    QTemporaryDir temp;
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const QString target = at(QStringLiteral("book.xlsx"));

    // A save killed half-way, with a workbook unpacked.
    const pid_t child = ::fork();
    if (child == 0) {
        Part_File part(target);
        Private_Temp_Folder unpacked;
        if (part.open() && unpacked.isValid() && ::write(part.handle(), "PK\3\4", 4) == 4)
            ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    ASSERT_EQ(partFiles().size(), 1);

    // This running program's own write and unpacked workbook are in use.
    Part_File busy(at(QStringLiteral("design.gcdl")));
    ASSERT_TRUE(busy.open());
    Private_Temp_Folder busyFolder;
    ASSERT_TRUE(busyFolder.isValid());
    // Both folders were made long enough ago to count as settled.
    const QStringList folders = QDir(temp.path()).entryList({"gleamcard-ziptmp-*"}, QDir::Dirs);
    ASSERT_EQ(folders.size(), 2);
    for (const QString& folder : folders) {
        const timespec old[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
        ::utimensat(AT_FDCWD, QFile::encodeName(temp.path() + '/' + folder).constData(), old, 0);
    }

    EXPECT_EQ(Remove_Leftover_Work_Files(), 2);
    EXPECT_EQ(partFiles(), QStringList{QFileInfo(busy.path()).fileName()});
    EXPECT_EQ(QDir(temp.path()).entryList({"gleamcard-ziptmp-*"}, QDir::Dirs),
              QStringList{QFileInfo(busyFolder.path()).fileName()});
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_TRUE(log.filter("Removed 2 files and folders").size() == 1);
    // The write still in use finishes as usual, and leaves nothing behind.
    EXPECT_TRUE(busy.commit());
    EXPECT_TRUE(QFileInfo(at(QStringLiteral("design.gcdl"))).isFile());
    EXPECT_TRUE(partFiles().isEmpty());
    EXPECT_EQ(Remove_Leftover_Work_Files(), 0);
    qputenv("TMPDIR", oldTemp);
}

TEST(HostileBarcodes, StoredSizesAndMarginsStayWithinTheDesignersRanges)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        int type;
        QVariantMap fields;
    } cases[] = {
        {"margins near the float limit", 9, {{"LR_margin_val", 3.4e38}, {"TB_marging_val", 3.4e38}, {"val_margin_val", -3.4e38}}},
        {"an infinite bar height and width", 0, {{"linear_height_val", inf}, {"linear_width_val", inf}}},
        {"bar sizes that are not numbers", 13, {{"linear_height_val", std::nan("")}, {"linear_width_val", -inf}}},
        {"a QR size past the int range", 19, {{"qr_size_val", qint64(1) << 40}, {"LR_margin_val", inf}}},
        {"a PDF417 of a billion points", 20, {{"pdf_wdt_val", 1000000000}, {"pdf_hgt_val", -5}}},
        {"a DataMatrix module of a million points", 21, {{"dm_module_val", 1000000}}},
    };
    for (const Case& c : cases) {
        SKTBarcode barcode;
        barcode.barcode_font_index = c.type;
        barcode.linear_or_2d = c.type >= Barcode_First_2D_Item;
        barcode.linear_font_val = barcode.two_d_font_val = QStringLiteral("1234567890");
        QVariantMap fields = Graphic_To_Map(barcode);
        fields.insert(c.fields);
        const GraphicPtr g = Unarchive_Graphic(platform::plistSerialize(fields, platform::PlistFormat::Binary));
        ASSERT_NE(g, nullptr) << c.what;
        const BarcodeStyle style = Barcode_Gen::Style_Of_Graphic(*g);
        for (float margin : {style.LR_margin_val, style.TB_marging_val, style.val_margin_val, style.hdr_margin_val,
                             style.ftr_margin_val})
            EXPECT_TRUE(margin >= 0 && margin <= 20) << c.what;
        EXPECT_TRUE(style.linear_height_val >= 0.01f && style.linear_height_val <= 100) << c.what;
        EXPECT_TRUE(style.linear_width_val >= 1 && style.linear_width_val <= 500) << c.what;
        EXPECT_TRUE(style.qr_size_val >= 21 && style.pdf_wdt_val <= 5000 && style.pdf_hgt_val >= 1) << c.what;
        EXPECT_LE(style.dm_module_val, 100) << c.what;
        const Barcode_Art symbol = Barcode_Gen::Symbol_Of_Graphic(*g);
        ASSERT_FALSE(symbol.isNull()) << c.what;
        const QRect r = symbol.boundingRect();
        EXPECT_TRUE(r.width() > 0 && r.width() < 100000 && r.height() > 0 && r.height() < 100000) << c.what;
    }
}

TEST(HostileInputs, EverySeedAndEveryInputThatOnceFailedAFuzzTargetRunsClean)
{
    // fuzz/regressions/<body>/<input>: each input that ever made a fuzz
    // target fail; and the seeds the fuzz kit writes, so that a body out of
    // step with the readers it drives fails here. Each runs through its body.
    TempResources resources;
    QTemporaryDir seeds;
    Fuzz_Write_Seeds(seeds.path(), QStringLiteral(GLEAMCARD_SOURCE_DIR "/resources"));
    for (const QString& root : {QStringLiteral(GLEAMCARD_SOURCE_DIR "/fuzz/regressions"), seeds.path()}) {
        QSet<QString> bodies;
        QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString body = QFileInfo(QFileInfo(path).path()).fileName();
            const Fuzz_Body run = Fuzz_Body_Named(body.toUtf8().constData());
            ASSERT_NE(run, nullptr) << "no fuzz body " << body.toStdString();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray input = file.readAll();
            SCOPED_TRACE(path.toStdString());
            EXPECT_EQ(run(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size())), 0);
            bodies << body;
        }
        EXPECT_FALSE(bodies.isEmpty()) << root.toStdString();
        if (root == seeds.path()) { // every body has seeds to start from
            EXPECT_EQ(bodies.size(), 12) << QStringList(bodies.values()).join(' ').toStdString();
        }
    }
}
