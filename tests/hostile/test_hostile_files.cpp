// Hostile files and lost work: what a killed run leaves behind (a save,
// template commands killed at every step), a design replaced by a save typed
// without its extension, a design whose pictures have gone, template names
// Qt would take for something else, barcode settings no window can enter,
// and every input that once failed a fuzz target. (More hostile designs
// opened and saved by the main window are tested with the window.)
#include "Fuzz_Bodies.h"
#include "barcode/Barcode_Gen.h"
#include "editor/SKTWindowController.h"
#include "model/Codes.h"
#include "model/DesignLog.h"
#include "model/Globals.h"
#include "model/GraphicArchive.h"
#include "model/Work_Files.h"
#include "platform/Log.h"
#include "platform/PropertyList.h"
#include "support/ScriptedHost.h"
#include "support/SharedState.h"
#include "support/TempResources.h"
#include "wizards/Template_Files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
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
    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
};

// Designs saved and opened by the main window.
struct HostileDesignFiles : HostileFiles {
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    void SetUp() override
    {
        HostileFiles::SetUp();
        Reset_Shared_State();
        wnd->New_Project_Setting_Reset();
    }
    void TearDown() override
    {
        Reset_Shared_State();
        HostileFiles::TearDown();
    }
};
}

TEST_F(HostileDesignFiles, ADesignIsReplacedOnlyAfterTheQuestionAboutTheFileWritten)
{
    const QString question = "\"other.gcdl\" already exists. Do you want to replace it?";
    const struct {
        QString typed;
        QString answer;  // to the question about other.gcdl; empty: none is asked
        QString written; // the file saved; empty: nothing is
    } cases[] = {
        {"other", "No", ""},
        {"other.gcdl", "No", ""},
        {"other", "Yes", "other.gcdl"},
        {"Other.GCDL", "", "Other.GCDL"},
        {"fresh", "", "fresh.gcdl"},
        {"other.v2", "", "other.v2.gcdl"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        for (const QString& name : QDir(resources.path()).entryList({"*.gcdl"}, QDir::Files))
            QFile::remove(at(name));
        write(at("other.gcdl"), "the other design");
        host.alerts.clear();
        host.panels.clear();
        host.answerPanel(at(c.typed));
        if (!c.answer.isEmpty())
            host.answer(c.answer);

        EXPECT_EQ(wnd->Save_Design(), !c.written.isEmpty());
        QStringList said;
        if (!c.answer.isEmpty())
            said << question;
        if (!c.written.isEmpty())
            said << "Design saved successfully.";
        EXPECT_EQ(host.alertTexts(), said);
        // No opens the panel again on the name asked about (here cancelled).
        EXPECT_EQ(host.panels.size(), c.answer == "No" ? 2 : 1);
        EXPECT_EQ(host.panels.last().fileName, c.answer == "No" ? "other.gcdl" : "Untitled.gcdl");
        EXPECT_EQ(read(at("other.gcdl")) == "the other design", c.written != "other.gcdl");
        if (!c.written.isEmpty()) {
            EXPECT_TRUE(Read_Design_Log(at(c.written)).has_value());
        }
        wnd->New_Project_Setting_Reset();
    }
}

TEST_F(HostileDesignFiles, OpeningNamesMissingPicturesWithMissingDataAndShowsAPlaceholder)
{
    const QString dataText = "This design takes values from data that cannot be found:\n"
                             "    Batch Processing Series \"Gone\"\n\n"
                             "Its objects show the values they had. Cards cannot be exported, printed or mailed until "
                             "the data is there again or the objects are bound to other data.";
    const QString photo = at("photo.png"), kept = at("kept.png");
    const QString pictureText = "This design shows pictures whose files cannot be found:\n    " + photo
                                + "\n\nTheir objects show a crossed-out placeholder until the files are there "
                                  "again or other pictures are chosen.";
    const struct {
        bool dataGone, photoGone;
        QStringList said;
    } cases[] = {
        {false, false, {}},
        {true, false, {dataText}},
        {false, true, {pictureText}},
        {true, true, {dataText + "\n\n" + pictureText}},
    };
    QImage red(8, 6, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(kept));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.dataGone) + std::to_string(c.photoGone));
        ASSERT_TRUE(red.save(photo));
        wnd->New_Project_Setting_Reset();
        Face& front = wnd->Get_Front_Controls_Array();
        for (const QString& file : {photo, kept, photo}) { // the same picture twice
            auto image = std::make_shared<SKTImage>();
            image->bounds = QRectF(10, 10, 40, 30);
            image->setFilePath(file);
            front.append(image);
        }
        auto text = std::make_shared<SKTText>();
        text->text = "Ann";
        text->bounds = QRectF(5, 5, 100, 20);
        if (c.dataGone) {
            text->data_source_type = Source_Data_Set;
            text->batch_list_name = "Gone";
        }
        front.append(text);
        ASSERT_TRUE(wnd->Save_project_file(at("design.gcdl"), false));
        if (c.photoGone)
            QFile::remove(photo);

        host.alerts.clear();
        ASSERT_EQ(wnd->Read_and_load_design_Log(at("design.gcdl"), "L"), 1);
        EXPECT_EQ(host.alertTexts(), c.said);
        const Face& opened = wnd->Get_Front_Controls_Array();
        ASSERT_EQ(opened.size(), 4);
        for (int i : {0, 2})
            EXPECT_EQ(static_cast<SKTImage&>(*opened[i]).image, c.photoGone ? Missing_Picture_Image() : red);
        EXPECT_EQ(static_cast<SKTImage&>(*opened[1]).image, red);
    }
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

namespace {
struct HostileTemplates : HostileFiles {
    QString user() const { return User_Templates_Folder(); }
    void SetUp() override
    {
        HostileFiles::SetUp();
        makeParty();
    }
    // The one user template every test starts from.
    void makeParty() const
    {
        QDir().mkpath(user());
        write(user() + "/Party.png", "preview bytes");
        write(user() + "/Party.gcdl", "design log bytes");
    }
    // Every file of the user folder, hidden ones too, by name.
    QStringList files() const
    {
        return QDir(user()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    // The listed templates, each as its preview's name and its two files' bytes.
    QStringList listed() const
    {
        QStringList templates;
        for (const QString& preview : List_Template_Previews(user()))
            templates << QFileInfo(preview).fileName() + ": " + read(preview) + " + "
                             + read(Template_Design_Log_Path(preview));
        return templates;
    }
    // Everything made more than a minute ago, as after a restart.
    void ageEverything() const
    {
        QDirIterator it(resources.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        const timespec old[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
        while (it.hasNext())
            ::utimensat(AT_FDCWD, QFile::encodeName(it.next()).constData(), old, AT_SYMLINK_NOFOLLOW);
    }
};
}

TEST_F(HostileTemplates, ATemplateCommandKilledAtAnyStepLeavesTheOldOrTheNewTemplatesWhole)
{
    const QString party = user() + "/Party.png";
    auto writer = [](const QByteArray& bytes) {
        return [bytes](const QString& path) {
            write(path, bytes);
            return true;
        };
    };
    const QString old = "Party.png: preview bytes + design log bytes";
    const struct {
        const char* what;
        int steps; // that change the disk
        std::function<bool()> run;
        QString name; // the template the command makes or removes
        QStringList before, after;
    } commands[] = {
        {"copy", 3, [&] { return Copy_Template_Files(party, Create_New_File_Path(party)).isEmpty(); },
         "Party (copy 1)", {old}, {"Party (copy 1).png: preview bytes + design log bytes", old}},
        {"rename", 3, [&] { return Rename_Template_Files(party, "Fiesta").isEmpty(); }, "Fiesta", {old},
         {"Fiesta.png: preview bytes + design log bytes"}},
        {"delete", 1, [&] { return Delete_Template_Files(party); }, "Party", {old}, {}},
        {"save over", 5, [&] { return Save_Template_Files("Party", writer("new preview"), writer("new log")); },
         "Party", {old}, {"Party.png: new preview + new log"}},
    };
    for (const auto& c : commands) {
        for (int killedAt = 1; killedAt <= c.steps + 1; ++killedAt) { // the last: not killed
            const bool killed = killedAt <= c.steps;
            SCOPED_TRACE(std::string(c.what) + " killed after step " + std::to_string(killedAt));
            for (const QString& name : files())
                QFile::remove(user() + '/' + name);
            makeParty();
            const pid_t child = ::fork();
            if (child == 0) {
                Set_Template_Step_Hook([killedAt](int step) {
                    if (step == killedAt)
                        ::kill(::getpid(), SIGKILL);
                });
                ::_exit(c.run() ? 0 : 1);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_EQ(killed, WIFSIGNALED(status));
            if (!killed) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            }

            // Start-up: what the killed command left goes, or is finished.
            ageEverything();
            Remove_Leftover_Work_Files();
            Remove_Unfinished_Templates();
            const QStringList now = listed();
            EXPECT_TRUE(now == c.before || now == c.after) << now.join('|').toStdString();
            if (!killed) {
                EXPECT_EQ(now, c.after);
            }
            // Nothing else is left.
            QStringList expected;
            for (const QString& preview : List_Template_Previews(user()))
                expected << QFileInfo(preview).fileName() << QFileInfo(Template_Design_Log_Path(preview)).fileName();
            expected.sort();
            EXPECT_EQ(files(), expected);
            EXPECT_TRUE(QDir(Resource_Path + "/.unfinished").isEmpty(QDir::Files | QDir::Hidden));
            // The name is taken exactly when its template is listed.
            const bool listedName = std::any_of(now.cbegin(), now.cend(), [&](const QString& t) {
                return t.startsWith(c.name + ".png:");
            });
            EXPECT_EQ(QFileInfo::exists(user() + '/' + c.name + ".gcdl"), listedName);
        }
    }
}
TEST_F(HostileTemplates, NamesThatQtWouldTakeForAResourceStayFileNamesInTheFolder)
{
    QTemporaryDir working;
    const QString oldWorking = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(working.path()));
    const QString party = user() + "/Party.png";
    EXPECT_EQ(Rename_Template_Files(party, ":Party"), "");
    const QString colon = user() + "/:Party.png";
    EXPECT_EQ(List_Template_Previews(user()), QStringList{colon});
    EXPECT_EQ(Template_Design_Log_Path(colon), user() + "/:Party.gcdl");
    EXPECT_EQ(Create_New_File_Path(colon), user() + "/:Party (copy 1).png");
    EXPECT_EQ(Copy_Template_Files(colon, Create_New_File_Path(colon)), "");
    EXPECT_EQ(files(), (QStringList{":Party (copy 1).gcdl", ":Party (copy 1).png", ":Party.gcdl", ":Party.png"}));
    EXPECT_TRUE(Delete_Template_Files(colon));
    EXPECT_EQ(files(), (QStringList{":Party (copy 1).gcdl", ":Party (copy 1).png"}));
    EXPECT_TRUE(QDir(working.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    QDir::setCurrent(oldWorking);
}

