#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/Log.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <gtest/gtest.h>

TEST(TrimStr, StripsSpaceControlAndFormatCharactersAtTheEndsUntilNoneIsLeft)
{
    const struct {
        QString text, trimmed;
    } cases[] = {
        {QStringLiteral("  \t abc def \r\n"), QStringLiteral("abc def")},
        {QStringLiteral("\uFEFFname\u200B"), QStringLiteral("name")},
        {QStringLiteral("\x01\x02value\x7f"), QStringLiteral("value")},
        // Inner characters stay.
        {QStringLiteral(" a\uFEFFb \u200Bc "), QStringLiteral("a\uFEFFb \u200Bc")},
        // Blanks and control or format characters in any mix go together.
        {QStringLiteral("\uFEFF x"), QStringLiteral("x")},
        {QStringLiteral("ab \u200B"), QStringLiteral("ab")},
        {QStringLiteral("\u009F \u009F"), QStringLiteral("")},
        {QStringLiteral(" \u00A0\u2028 "), QStringLiteral("")},
        // A format character beyond the first plane (a language tag).
        {QStringLiteral("\U000E0001 x \U000E0001"), QStringLiteral("x")},
        {QStringLiteral("\U0001F600"), QStringLiteral("\U0001F600")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Trim_Str(c.text), c.trimmed) << c.text.toStdString();
    EXPECT_TRUE(Trim_Str(QString()).isNull());
    EXPECT_FALSE(Trim_Str(QStringLiteral("   ")).isNull());
}

TEST(ReservedCharacters, StrippedAtTheEndsOnlyThenTrimmed)
{
    EXPECT_EQ(Remove_Reserve_Char_In_File_Name(QStringLiteral("/\\?%*|\"<>Party<>?")), QStringLiteral("Party"));
    EXPECT_EQ(Remove_Reserve_Char_In_File_Name(QStringLiteral("a/b*c")), QStringLiteral("a/b*c"));
    EXPECT_EQ(Remove_Reserve_Char_In_File_Name(QStringLiteral("** My card \n")), QStringLiteral("My card"));
    // Trimming comes last: a reserved character behind a space stays.
    EXPECT_EQ(Remove_Reserve_Char_In_File_Name(QStringLiteral(" *x* ")), QStringLiteral("*x*"));
    EXPECT_EQ(Remove_Reserve_Char_In_File_Name(QStringLiteral("???")), QStringLiteral(""));
}

TEST(Substrings, BoundsAreClamped)
{
    const QString s = QStringLiteral("Gleam");
    EXPECT_EQ(Left_Str_substringToIndex(s, 2), QStringLiteral("Gl"));
    EXPECT_EQ(Left_Str_substringToIndex(s, -3), QStringLiteral(""));
    EXPECT_EQ(Left_Str_substringToIndex(s, 5), s);
    EXPECT_EQ(Left_Str_substringToIndex(s, 99), s);
    EXPECT_EQ(Right_Str_substringFromIndex(s, 2), QStringLiteral("am"));
    EXPECT_EQ(Right_Str_substringFromIndex(s, -1), QStringLiteral(""));
    EXPECT_EQ(Right_Str_substringFromIndex(s, 99), s);
    EXPECT_EQ(Read_Str_FromIndex(s, 0), s);
    EXPECT_EQ(Read_Str_FromIndex(s, 3), QStringLiteral("am"));
    EXPECT_EQ(Read_Str_FromIndex(s, 5), QStringLiteral(""));
    EXPECT_EQ(Read_Str_FromIndex(s, 6), QStringLiteral(""));
    EXPECT_EQ(Read_Str_FromIndex(s, -2), s);
}

TEST(ReplaceChar, ReplacesEveryOccurrence)
{
    EXPECT_EQ(Replace_char_in_string(QStringLiteral("a-b--c"), QStringLiteral("-"), QStringLiteral("+")),
              QStringLiteral("a+b++c"));
    EXPECT_EQ(Replace_char_in_string(QStringLiteral("abab"), QStringLiteral("ab"), QString()), QStringLiteral(""));
    EXPECT_EQ(Replace_char_in_string(QStringLiteral("abc"), QString(), QStringLiteral("x")), QStringLiteral("abc"));
}

TEST(NSLogMessage, WritesOnlyNonEmptyText)
{
    QStringList lines;
    auto old = platform::setLogSink([&](const QString& l) { lines << l; });
    Show_NSLog_Message(QString());
    Show_NSLog_Message(QStringLiteral(""));
    Show_NSLog_Message(QStringLiteral("disk full"));
    platform::setLogSink(old);
    EXPECT_EQ(lines, QStringList{QStringLiteral("disk full")});
}

TEST(Files, CheckPathCreatesOnlyWhatIsMissing)
{
    QTemporaryDir tmp;
    const QString saveRes = Resource_Path, saveData = Data_Folder_Path;
    Set_Resource_Folder(tmp.path() + "/res/deep");
    QDir().mkpath(Resource_Path + "/Frames");
    QFile keep(Resource_Path + "/Frames/mine.png");
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("x");
    keep.close();

    Check_Path_And_Create_Files();
    for (const char* sub : {"DataSet", "Frames", "Fill_Style_Image", "LibraryImage", "Templates", "Templates/User"})
        EXPECT_TRUE(QFileInfo(Resource_Path + '/' + sub).isDir()) << sub;
    EXPECT_TRUE(QFileInfo::exists(Resource_Path + "/Frames/mine.png"));
    Check_Path_And_Create_Files(); // a second run changes nothing and fails nothing
    EXPECT_TRUE(QFileInfo::exists(Resource_Path + "/Frames/mine.png"));
    Resource_Path = saveRes;
    Data_Folder_Path = saveData;
}

TEST(Files, DeleteFileRemovesFilesAndWholeFolders)
{
    QTemporaryDir tmp;
    const QString folder = tmp.path() + "/set";
    QDir().mkpath(folder + "/inner");
    QFile f(folder + "/inner/a.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QFile g(tmp.path() + "/b.txt");
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.close();

    Delete_File(tmp.path() + "/b.txt");
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/b.txt"));
    Delete_File(folder);
    EXPECT_FALSE(QFileInfo::exists(folder));
    Delete_File(tmp.path() + "/never-there"); // nothing happens, nothing thrown
    Delete_File(QString());
    EXPECT_TRUE(QFileInfo(tmp.path()).isDir());
}

TEST(Files, DeleteFileFollowsNoSymbolicLink)
{
    QTemporaryDir tmp;
    QDir().mkpath(tmp.path() + "/target");
    QFile f(tmp.path() + "/target/keep.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ASSERT_TRUE(QFile::link(tmp.path() + "/target", tmp.path() + "/link"));
    Delete_File(tmp.path() + "/link");
    EXPECT_FALSE(QFileInfo(tmp.path() + "/link").isSymLink());
    EXPECT_TRUE(QFileInfo::exists(tmp.path() + "/target/keep.txt"));
}

TEST(HelpFile, OpensTheGuideOrSaysItIsMissing)
{
    TempResources res;
    ScriptedHost host;
    ASSERT_TRUE(QFileInfo::exists(Resource_Path + "/Help.pdf"));
    Open_Help_File();
    ASSERT_EQ(host.opened.size(), 1);
    EXPECT_EQ(host.opened[0].toLocalFile(), Resource_Path + "/Help.pdf");
    EXPECT_TRUE(host.alerts.isEmpty());

    // Nothing on the machine opens PDF files: the user is told, not only the log.
    host.openSucceeds = false;
    Open_Help_File();
    EXPECT_EQ(host.alertTexts(),
              QStringList{QStringLiteral("No application could be found to open \"%1/Help.pdf\".").arg(Resource_Path)});
    host.alerts.clear();
    host.openSucceeds = true;

    QFile::remove(Resource_Path + "/Help.pdf");
    Open_Help_File();
    EXPECT_EQ(host.opened.size(), 2);
    EXPECT_EQ(host.alertTexts(), QStringList{"Help file does not exist!"});
}

TEST(SetObjEnabled, BoxPassesStateToEveryControlInside)
{
    QGroupBox box;
    auto* layout = new QVBoxLayout(&box);
    auto* edit = new QLineEdit;
    auto* inner = new QGroupBox;
    auto* check = new QCheckBox(inner);
    layout->addWidget(edit);
    layout->addWidget(inner);

    SetObjEnabled(&box, false);
    EXPECT_FALSE(box.isEnabled());
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(check->isEnabled());
    SetObjEnabled(&box, true);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(check->isEnabled());

    SetObjEnabled(edit, false);
    EXPECT_FALSE(edit->isEnabled());
    SetObjEnabled(nullptr, true); // no crash
}

TEST(XmlTextFilter, DropsWhatXmlCannotHoldAndLogsOnceWhereFrom)
{
    const QChar high(0xD83D), low(0xDE00); // one emoji as a surrogate pair
    const struct {
        QString in, out;
    } cases[] = {
        {QStringLiteral("Ada") + QChar(0) + QStringLiteral("Lovelace"), QStringLiteral("AdaLovelace")},
        {QStringLiteral("a\x01\x0b\x1f" "b\tc\nd\re"), QStringLiteral("ab\tc\nd\re")},
        {QStringLiteral("x") + QChar(0xFFFE) + QChar(0xFFFF) + QStringLiteral("y"), QStringLiteral("xy")},
        {QString(low) + QStringLiteral("ok") + QString(high), QStringLiteral("ok")}, // surrogates without their pair
        {QStringLiteral("Zoë ") + high + low + QStringLiteral(" \x7f"), QStringLiteral("Zoë ") + high + low + QStringLiteral(" \x7f")},
    };
    QStringList lines;
    auto old = platform::setLogSink([&](const QString& l) { lines << l; });
    {
        Xml_Text_Filter filter(QStringLiteral("Guests"));
        for (const auto& c : cases)
            EXPECT_EQ(filter(c.in), c.out) << c.in.toStdString();
        EXPECT_EQ(filter.dropped(), 8);
    }
    { Xml_Text_Filter(QStringLiteral("clean"))(QStringLiteral("nothing to drop")); }
    platform::setLogSink(old);
    EXPECT_EQ(lines, QStringList{"Dropped 8 characters that a saved design cannot hold from Guests"});
}
