// The series generator and the import wizard's file, pasted and folder
// sources, driven the way their commands and the data-set manager open them.
#include "ImportTestKit.h"
#include "support/Menus.h"

#include "data/Generate_List.h"
#include "data/Import_Sources.h"
#include "data/Import_Wizard.h"
#include "data/View_Data_Series.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QDoubleSpinBox>
#include <QStringEncoder>

namespace {
const QString kReplace = "Batch Processing Series already exists. Do you want to replace it?";
using Gen = Generate_List;
using Wiz = Import_Wizard;

// UTF-16 (little endian, with its mark) of text in which "#" stands for a
// stray high surrogate, which no encoder would write.
QByteArray utf16WithStraySurrogate(const QString& text)
{
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text) {
        const char16_t u = c == u'#' ? char16_t(0xD800) : c.unicode();
        bytes.append(char(u & 0xFF)).append(char(u >> 8));
    }
    return bytes;
}

// The process's resident memory now ("VmRSS") or at its peak ("VmHWM"), in
// bytes; the peak starts afresh with resetPeak().
qint64 residentBytes(const char* field = "VmRSS:")
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}
bool resetPeak()
{
    QFile refs("/proc/self/clear_refs");
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}
}

TEST_F(ImportTest, CreateSeriesCommandWritesANewSetAndAsksBeforeReplacingOne)
{
    EXPECT_TRUE(Menu_Command(wnd, "Create Series...")->isEnabled());
    EXPECT_TRUE(Menu_Command(wnd, "Import...")->isEnabled());
    auto sequence = [](const QString& from, const QString& to) {
        return [from, to](Gen& g) {
            EXPECT_TRUE(g.seq_file_name->isVisibleTo(&g));
            g.seq_file_name->setText(" Numbers ");
            g.from_txt->setText(from);
            g.to_txt->setText(to);
            g.manage_digit_chk->setChecked(true);
            g.OKPressed();
        };
    };
    script<Gen>([&](Gen& g) {
        EXPECT_EQ(g.seq_file_name->text(), "Untitled");
        sequence("1", "10")(g);
    });
    Menu_Command(wnd, "Create Series...")->trigger();
    EXPECT_EQ(set("Numbers"), "01\n02\n03\n04\n05\n06\n07\n08\n09\n10\n");

    // No keeps the set and the dialog; Yes replaces the set.
    script<Gen>([&](Gen& g) {
        sequence("0", "2")(g);
        EXPECT_EQ(g.result(), 0);
        EXPECT_EQ(set("Numbers").left(3), "01\n");
        sequence("0", "2")(g);
    });
    host.answer("No");
    host.answer("Yes");
    wnd->Create_Series_Button();
    EXPECT_EQ(host.alertTexts(), (QStringList{kReplace, kReplace}));
    EXPECT_EQ(set("Numbers"), "0\n1\n2\n");
}

TEST_F(ImportTest, GeneratorRefusesWhatCannotBeASeries)
{
    struct Case {
        std::function<void(Gen&)> fill;
        QString message;
    };
    const QString count = "Please enter valid 'Count' value.";
    const QList<Case> cases = {
        {[](Gen& g) { g.to_txt->setText("3"); }, "Please enter valid 'From' value."},
        {[](Gen& g) { g.from_txt->setText("abc"); g.to_txt->setText("3"); }, "Please enter valid 'From' value."},
        {[](Gen& g) { g.from_txt->setText("-"); g.to_txt->setText("3"); }, "Please enter valid 'From' value."},
        {[](Gen& g) { g.from_txt->setText("3"); }, "Please enter valid 'To' value."},
        {[](Gen& g) { g.from_txt->setText("3"); g.to_txt->setText("12ab"); }, "Please enter valid 'To' value."},
        {[](Gen& g) { g.from_txt->setText("5"); g.to_txt->setText("5"); }, "'From' value must be smaller than 'To' value."},
        {[](Gen& g) { g.from_txt->setText("10"); g.to_txt->setText("2"); }, "'From' value must be smaller than 'To' value."},
        {[](Gen& g) { g.from_txt->setText("1"); g.to_txt->setText("1000001"); },
         "A Batch Processing Series can hold at most 1000000 values; this one would hold 1000001."},
        {[](Gen& g) { g.Constant_Radio_Pressed(); g.value_txt->setText("v"); g.count_txt->setText("-3"); }, count},
        {[](Gen& g) { g.Random_Radio_Pressed(); g.rand_count_txt->setText(""); }, count},
        {[](Gen& g) { g.from_txt->setText("1"); g.to_txt->setText("2"); g.seq_file_name->setText("a/b"); },
         Invalid_Data_Set_Name_Message},
        {[](Gen& g) { g.from_txt->setText("1"); g.to_txt->setText("2"); g.seq_file_name->setText(".."); },
         Invalid_Data_Set_Name_Message},
    };
    for (const Case& c : cases) {
        host.alerts.clear();
        script<Gen>([&](Gen& g) {
            c.fill(g);
            g.OKPressed();
            EXPECT_EQ(g.result(), 0) << c.message.toStdString();
        });
        wnd->Create_Series_Button();
        EXPECT_EQ(host.alertTexts(), QStringList{c.message});
    }
    EXPECT_TRUE(Data_Set_Listing(Data_Folder_Path).isEmpty());
}

TEST_F(ImportTest, GeneratorKeepsItsNumberFieldsWithinLimits)
{
    Gen* g = Gen::defaultInstance();
    struct Case {
        QLineEdit* field;
        QDoubleSpinBox* stepper;
        const char *typed, *kept;
    };
    const Case cases[] = {
        {g->count_txt, g->count_stepper, "0", "1"},         {g->count_txt, g->count_stepper, "", "1"},
        {g->count_txt, g->count_stepper, "099999", "09999"}, {g->count_txt, g->count_stepper, "20000", "10000"},
        {g->rand_count_txt, g->rand_count_stepper, "77", "77"}, {g->rand_length_txt, g->rand_length_stepper, "35", "3"},
    };
    for (const Case& c : cases) {
        c.field->setText(c.typed);
        g->controlTextDidChange(c.field);
        EXPECT_EQ(c.field->text(), c.kept) << c.typed;
        EXPECT_EQ(c.stepper->value(), QString(c.kept).toInt()) << c.typed;
    }
    g->rand_length_stepper->setValue(7); // the stepper's arrows hand their value to the field
    EXPECT_EQ(g->rand_length_txt->text(), "7");
}

TEST_F(ImportTest, ANewSetIsMadeEntirelyInTheManager)
{
    // Data > Batch Series > New > Create Series > Save.
    script<BatchWizard>([](BatchWizard& m) {
        m.AddNew_Btn_Clicked();
        m.batch_list_name->setText("Badges");
        m.Series_Value_Btn_Clicked();
        m.Save_Btn_Clicked();
    });
    script<Gen>([](Gen& g) {
        g.prefix_txt->setText("B-");
        g.from_txt->setText("1");
        g.to_txt->setText("3");
        g.OKPressed();
    });
    Menu_Command(wnd, "Batch Series...")->trigger();
    EXPECT_EQ(set("Badges"), "B-1\nB-2\nB-3\n");
    EXPECT_EQ(manager->ListData, QStringList{"Badges"});
}

TEST_F(ImportTest, TextFilesOfEveryKindBecomeSets)
{
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    struct Case {
        const char* file;
        QByteArray bytes;
        const char* values;
    };
    const Case cases[] = {
        {"crlf.txt", "Ann\r\nBob\r\n\r\nCy\r\n", "Ann\nBob\nCy\n"},
        {"lf.TXT", "Ann\nBob\n", "Ann\nBob\n"},
        {"utf16.txt", utf16(QStringLiteral("Zoë\r\nÅsa\r\n")), "Zoë\nÅsa\n"},
        {"latin1.txt", "Jos\xe9\nRen\xe9\n", "José\nRené\n"},
        {"people.csv", "name,town\r\n\"Smith, J\",\"Oslo\r\nNorth\"\r\nsolo\r\n", "name\ntown\nSmith, J\nOslo North\nsolo\n"},
        {"one.CSV", "alpha\nbeta\n", "alpha\nbeta\n"},
        {"doc.rtf", "{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0 Ann {\\b Lee}\\par \\u8364? 5\\par}", "Ann Lee\n€ 5\n"},
        // An unpaired surrogate is dropped; the lines around it still split.
        {"stray.rtf", "{\\rtf1\\ansi Ann\\par \\u-10000?Bo\\par Cy\\par}", "Ann\nBo\nCy\n"},
        {"stray16.txt", utf16WithStraySurrogate("Ann\r\n#Bo\r\nCy\r\n"), "Ann\nBo\nCy\n"},
    };
    for (const Case& c : cases) {
        host.answerPanel(file(c.file, c.bytes));
        script<Wiz>([&](Wiz& w) {
            w.Text_RD_Pressed();
            EXPECT_EQ(w.Text_file_name->text(), "Untitled");
            w.Text_file_name->setText(c.file);
            w.Browse_Text_Pressed(); // choosing the file imports at once
        });
        wnd->Import_Wizard_Button();
        EXPECT_EQ(set(c.file), QString::fromUtf8(c.values)) << c.file;
    }
    EXPECT_TRUE(host.alerts.isEmpty()) << host.alertTexts().join(" | ").toStdString();
}

TEST_F(ImportTest, AFileWithoutDataSaysSoAndLeavesTheSetAlone)
{
    writeSet("Keep", "old\n");
    const QList<std::pair<QString, QString>> cases = {
        {file("empty.csv", ""), "There is no data in the selected file."},
        {file("blank.txt", "\r\n  \r\n{}\n"), "There is no data in the selected file."},
        {file("fake.rtf", "not rtf at all"),
         "Either file is corrupted or selected file contains invalid characters."},
        {files.filePath("missing.txt"), "Please select valid file path."},
        {file("many.txt", QByteArray("a\n").repeated(Series_Value_Cap + 1)), Too_Many_Values_Message()},
        // 200 MB in one CSV line, made sparse: refused before it is read.
        {file("huge.csv", "name,town,"), Text_File_Too_Large_Message(200LL << 20)},
    };
    ASSERT_TRUE(QFile::resize(files.filePath("huge.csv"), 200LL << 20));
    for (const auto& [path, message] : cases) {
        ASSERT_TRUE(resetPeak());
        const qint64 bound = residentBytes() + (256LL << 20);
        host.alerts.clear();
        script<Wiz>([&](Wiz& w) {
            w.Text_RD_Pressed();
            w.Text_path->setText(path);
            w.Text_file_name->setText("Keep");
            w.OKPressed();
            EXPECT_EQ(w.result(), 0); // the wizard stays open
        });
        wnd->Import_Wizard_Button();
        EXPECT_EQ(host.alertTexts(), QStringList{message});
        EXPECT_EQ(set("Keep"), "old\n");
        EXPECT_LE(residentBytes("VmHWM:"), bound) << path.toStdString();
    }
}

TEST_F(ImportTest, PastedTextKeepsItsLinesInASetAndTheManagerDropsBlankOnes)
{
    const QString pasted = "  Ann\n   \nBob \n";
    script<Wiz>([&](Wiz& w) {
        w.Manual_RD_Pressed();
        w.ManualEdit->setPlainText(pasted);
        w.Manual_file_name->setText("Pasted");
        w.OKPressed();
    });
    wnd->Import_Wizard_Button();
    EXPECT_EQ(set("Pasted"), "Ann\n   \nBob\n");

    script<Wiz>([&](Wiz& w) {
        EXPECT_FALSE(w.Manual_file_name->isVisibleTo(&w));
        w.Manual_RD_Pressed();
        w.OKPressed(); // nothing pasted
        w.ManualEdit->setPlainText(pasted);
        w.OKPressed();
    });
    manager->Import_Value_Btn_Clicked();
    EXPECT_EQ(host.alertTexts(), QStringList{"Please enter some data."});
    EXPECT_EQ(manager->ListData_value, (QStringList{"Ann", "Bob"}));
}

TEST_F(ImportTest, AnImageFolderGivesThePathsOfItsPictures)
{
    QDir(files.path()).mkpath("photos/sub.png");
    QDir(files.path()).mkpath("empty");
    for (const char* name : {"photos/B.JPG", "photos/a.png", "photos/:d.png", "photos/read.txt", "photos/sub.png/c.jpg"})
        file(name, "x");
    host.answerPanel(files.filePath("photos"));
    host.answerPanel(files.filePath("empty"));
    for (int run = 0; run < 2; ++run)
        script<Wiz>([](Wiz& w) {
            w.Image_RD_Pressed();
            w.Image_file_name->setText("Photos");
            w.Browse_Image_Pressed();
        });
    wnd->Import_Wizard_Button();
    wnd->Import_Wizard_Button();
    EXPECT_EQ(host.panels.first().kind, platform::PanelRequest::Folder);
    EXPECT_EQ(set("Photos"), files.filePath("photos/:d.png") + '\n' + files.filePath("photos/B.JPG") + '\n'
                                 + files.filePath("photos/a.png") + '\n');
    // A folder without pictures says so; the set made before is kept.
    EXPECT_EQ(host.alertTexts(), (QStringList{"There is no image in the selected folder."}));
}
