// Hostile designs through the main window: design logs that carry picture
// data, text that a saved design cannot hold, saves that would not open
// again, and picture paths that are not files.
#include "support/XlsxTestKit.h"
#include "barcode/Barcode_Gen.h"
#include "canvas/SKTRenderingView.h"
#include "data/Data_From_Excel.h"
#include "data/SpreadsheetWriter.h"
#include "model/DesignLog.h"
#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "model/GraphicArchive.h"
#include "model/Helpers.h"
#include "model/Work_Files.h"
#include "platform/Log.h"
#include "platform/PropertyList.h"
#include "support/SharedState.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <atomic>
#include <climits>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
struct HostileDesigns : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    Data_From_Excel* table = Data_From_Excel_Window;
    QStringList log;
    platform::LogSink oldSink;

    void SetUp() override
    {
        Reset_Shared_State();
        wnd->New_Project_Setting_Reset();
        oldSink = platform::setLogSink([this](const QString& line) { log << line; });
    }
    void TearDown() override
    {
        platform::setLogSink(oldSink);
        Reset_Shared_State();
        Excel_Binding_Use = false;
        SpreadsheetWriter::Release_Data();
    }
    QString at(const QString& name) const { return resources.path() + QLatin1Char('/') + name; }
    std::shared_ptr<SKTText> addText(const QString& text)
    {
        auto g = std::make_shared<SKTText>();
        g->text = text;
        g->bounds = QRectF(5, 5, 200, 20);
        wnd->Get_Front_Controls_Array().append(g);
        return g;
    }
    // The part files beside the designs of the resource folder.
    QStringList partFiles() const
    {
        return QDir(resources.path()).entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden);
    }
};

int pixelsOfColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return n;
}

QByteArray pictureBytes(const QPicture& picture) { return QByteArray(picture.data(), qsizetype(picture.size())); }
}

TEST_F(HostileDesigns, StoredBarcodePicturesAreNeverReplayed)
{
    SKTBarcode barcode;
    barcode.bounds = QRectF(20, 20, 100, 50);
    barcode.barcode_font_index = 9; // Code 128
    barcode.linear_font_val = QStringLiteral("CARD-42");
    // Picture data as an old or crafted file may carry it: a red block over
    // the whole card, and a picture reaching to the end of the int range.
    QPicture red, vast;
    QPainter(&red).fillRect(QRectF(0, 0, 300, 200), Qt::red);
    QPainter(&vast).drawRect(QRect(0, 0, INT_MAX - 2, INT_MAX - 2));
    for (const QPicture& stored : {red, vast}) {
        QVariantMap fields = Graphic_To_Map(barcode);
        fields["barcode_image"] = pictureBytes(stored);
        Design_Log_Content content;
        content.frontGraphics << platform::plistSerialize(fields, platform::PlistFormat::Binary);
        const QString path = at(QStringLiteral("crafted.gcdl"));
        ASSERT_TRUE(Write_Design_Log(path, content));

        ASSERT_EQ(wnd->Read_and_load_design_Log(path, QStringLiteral("L")), 1);
        ASSERT_EQ(wnd->Get_Front_Controls_Array().size(), 1);
        const GraphicPtr opened = wnd->Get_Front_Controls_Array().first();
        // The symbol is the one its settings make, drawn where the graphic is.
        EXPECT_EQ(pictureBytes(opened->_barcode_image.picture()),
                  pictureBytes(Barcode_Gen::Symbol_Of_Graphic(*opened).picture()));
        EXPECT_LT(opened->drawingBounds().width(), 1000);
        const QImage card = SKTRenderingView::image_From_Card_Graphics(wnd->Get_Front_Controls_Array(), 1.0);
        EXPECT_EQ(pixelsOfColour(card, qRgb(255, 0, 0)), 0);
        EXPECT_GT(pixelsOfColour(card, qRgb(0, 0, 0)), 100); // the bars
    }
}

TEST_F(HostileDesigns, ControlCharactersFromDataSetsAndSheetsNeitherEmptyNorBlockASave)
{
    QDir().mkpath(Data_Folder_Path);
    QFile set(Data_Folder_Path + QStringLiteral("/Names.txt"));
    ASSERT_TRUE(set.open(QIODevice::WriteOnly));
    static const char bytes[] = "Ada\0Lovelace\nBo\x01\x0b" "Ek\n";
    set.write(bytes, sizeof bytes - 1);
    set.close();
    // A sheet from elsewhere: character references, an escaped control
    // character and a raw vertical tab.
    const QString book = at(QStringLiteral("cities.xlsx"));
    const QString main = QString::fromLatin1(Sheet_Main);
    ASSERT_TRUE(makeRawWorkbook(book, {
        {"xl/workbook.xml", "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + Sheet_Rel
                                + "\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + QString::fromLatin1(Sheet_Rel) + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
         "<Relationship Id=\"rId2\" Type=\"" + QString::fromLatin1(Sheet_Rel) + "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
         "</Relationships>"},
        {"xl/sharedStrings.xml", "<sst xmlns=\"" + main + "\"><si><t>Oslo&#1;_x0001_&#11;\x0bNorth</t></si></sst>"},
        {"xl/worksheets/sheet1.xml", "<worksheet xmlns=\"" + main + "\"><sheetData><row r=\"1\">"
                                     "<c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"inlineStr\"><is><t>x&#2;y</t></is></c>"
                                     "</row></sheetData></worksheet>"}}));
    SpreadsheetWriter::ReadWorkbook(book, true);
    Excel_Sheet_Number = 1;
    SpreadsheetWriter::ReadData_only_column();
    const QList<QStringList> rows = SpreadsheetWriter::ReadWorkbook(book, false);
    ASSERT_EQ(rows, (QList<QStringList>{{"OsloNorth", "xy"}}));
    table->Set_Data_Columns({QStringLiteral("City"), QStringLiteral("Code")});
    table->Create_List_By_Array(rows[0], 2);
    Excel_Binding_Use = true;

    auto name = addText(QStringLiteral("typed"));
    name->data_source_type = Source_Data_Set;
    name->batch_list_name = QStringLiteral("Names");
    auto city = addText(QStringLiteral("typed"));
    city->data_source_type = Source_Spreadsheet;
    city->excel_col_indx = 1;
    wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();
    wnd->Card_Rows().Set_data_table_value_to_card(1, QStringLiteral("F"), false);
    EXPECT_EQ(name->text, "BoEk");
    wnd->Card_Rows().Set_data_table_value_to_card(0, QStringLiteral("F"), false);
    EXPECT_EQ(name->text, "AdaLovelace");
    EXPECT_EQ(city->text, "OsloNorth");
    EXPECT_TRUE(log.filter(QStringLiteral("Dropped")).filter(QStringLiteral("Names")).size() >= 1) << log.join('\n').toStdString();

    const QString path = at(QStringLiteral("badge.gcdl"));
    ASSERT_TRUE(wnd->Save_project_file(path, true));
    EXPECT_EQ(host.alertTexts(), QStringList{"Design saved successfully."});
    wnd->New_Project_Setting_Reset();
    table->ListData.clear();
    ASSERT_EQ(wnd->Read_and_load_design_Log(path, QStringLiteral("L")), 1);
    ASSERT_EQ(wnd->Get_Front_Controls_Array().size(), 2);
    EXPECT_EQ(static_cast<SKTText&>(*wnd->Get_Front_Controls_Array()[0]).text, "AdaLovelace");
    EXPECT_EQ(static_cast<SKTText&>(*wnd->Get_Front_Controls_Array()[1]).text, "OsloNorth");
    EXPECT_EQ(table->ListData.value(0).value(Data_From_Excel::Column_Key(1)).toString(), "OsloNorth");
}

TEST_F(HostileDesigns, ASaveThatWouldNotOpenAgainKeepsTheOldFileAndSaysWhy)
{
    auto text = addText(QStringLiteral("first"));
    const QString path = at(QStringLiteral("kept.gcdl"));
    ASSERT_TRUE(wnd->Save_project_file(path, false));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    // A character no archive can hold, typed rather than read: the graphic
    // would come back as nothing, so nothing is replaced.
    text->text = QStringLiteral("half") + QChar(0) + QStringLiteral("way");
    EXPECT_FALSE(wnd->Save_project_file(path, true));
    ASSERT_EQ(host.alerts.size(), 1);
    EXPECT_TRUE(host.alertTexts().first().startsWith("The design could not be saved.")) << host.alertTexts().first().toStdString();
    EXPECT_TRUE(host.alertTexts().first().contains("NUL"));

    // Whatever makes the written file fail to open again keeps the old one.
    QString error;
    auto damaged = [](const QByteArray&, QString* why) {
        *why = QStringLiteral("damaged on the way");
        return false;
    };
    EXPECT_FALSE(Write_File_Checked(path, "other bytes", damaged, &error));
    EXPECT_TRUE(error.contains("would not open again: damaged on the way")) << error.toStdString();

    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_TRUE(partFiles().isEmpty()) << partFiles().join(' ').toStdString();
    wnd->New_Project_Setting_Reset();
    ASSERT_EQ(wnd->Read_and_load_design_Log(path, QStringLiteral("L")), 1);
    EXPECT_EQ(static_cast<SKTText&>(*wnd->Get_Front_Controls_Array().first()).text, "first");
}

TEST_F(HostileDesigns, PicturePathsOpenOnlyRegularFiles)
{
    QTemporaryDir dir;
    const QString fifo = dir.path() + QStringLiteral("/photo.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.path() + QStringLiteral("/folder.png");
    QDir().mkpath(folder);
    for (const QString& path : {fifo, folder, QStringLiteral("/dev/zero")}) {
        QString error;
        EXPECT_TRUE(Read_Image_File(path, &error).isNull()) << path.toStdString();
        EXPECT_FALSE(error.isEmpty()) << path.toStdString();
    }

    // A design log naming the FIFO opens at once; were it to wait for a
    // writer, the watchdog releases it and the test fails.
    auto image = std::make_shared<SKTImage>();
    image->bounds = QRectF(0, 0, 50, 50);
    image->setFilePath(fifo);
    Design_Log_Content content;
    content.frontGraphics << Archive_Graphic(*image);
    const QString path = at(QStringLiteral("fifo.gcdl"));
    ASSERT_TRUE(Write_Design_Log(path, content));
    std::atomic<bool> opened{false}, released{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 500 && !opened; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!opened) {
            released = true;
            const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    });
    const int result = wnd->Read_and_load_design_Log(path, QStringLiteral("L"));
    opened = true;
    watchdog.join();
    EXPECT_FALSE(released);
    ASSERT_EQ(result, 1);
    // Unread, it shows the missing picture's placeholder and is named.
    EXPECT_EQ(static_cast<SKTImage&>(*wnd->Get_Front_Controls_Array().first()).image, Missing_Picture_Image());
    EXPECT_TRUE(host.alertTexts().last().contains(fifo));
}
