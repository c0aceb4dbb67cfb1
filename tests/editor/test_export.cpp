#include "barcode/BarcodeDispatch.h"
#include "canvas/SKTRenderingView.h"
#include "data/DataSetFiles.h"
#include "editor/SKTWindowController.h"
#include "editor/SmallDialogs.h"
#include "model/Batch_Sources.h"
#include "model/Globals.h"
#include "output/Card_Output.h"
#include "output/ExportWindow.h"
#include "output/Send_Modeless.h"
#include "support/BoundSymbols.h"
#include "support/SharedState.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"
#include "support/Wait.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>
#include <QThread>
#include <atomic>
#include <semaphore>
#include <gtest/gtest.h>

namespace {
struct ExportTest : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    QString out;

    void SetUp() override
    {
        Reset_Shared_State();
        wnd->New_Project_Setting_Reset();
        CARD_SIDE_STR = "2";
        out = resources.path() + "/out";
        QDir().mkpath(out);
        QDir().mkpath(Data_Folder_Path);
        // Front: red over the whole card; back: blue.
        fill(wnd->Get_Front_Controls_Array(), Qt::red);
        fill(wnd->Get_Back_Controls_Array(), Qt::blue);
        if (!wnd->exportWindow)
            wnd->Export_As_Template_Clicked(resources.path() + "/warmup.png");
    }
    void TearDown() override
    {
        ASSERT_TRUE(waitUntil([] { return !SKTWindowController::Batch_Running(); }, 30000));
        choose("F", false); // the choices the export dialog opens with, for the tests after
        Reset_Shared_State();
    }
    static void fill(Face& face, QColor colour)
    {
        auto g = std::make_shared<SKTText>();
        g->bounds = QRectF(0, 0, 243, 153);
        g->isDrawingFill = true;
        g->isDrawingStroke = false;
        g->fillColor = colour;
        face.append(g);
    }
    // A text on the front bound to a data set of n values.
    std::shared_ptr<SKTText> bindRows(int n, const QString& side = "F")
    {
        QStringList values;
        for (int i = 0; i < n; ++i)
            values << QStringLiteral("Row %1").arg(i);
        EXPECT_TRUE(Write_Data_Set("Rows", values, false));
        auto t = std::make_shared<SKTText>();
        t->data_source_type = 1;
        t->batch_list_name = "Rows";
        t->bounds = QRectF(10, 10, 100, 20);
        (side == "F" ? wnd->Get_Front_Controls_Array() : wnd->Get_Back_Controls_Array()).insert(0, t);
        wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();
        return t;
    }
    // A graphic of the front bound to the data set name, which holds values.
    template <typename Graphic>
    std::shared_ptr<Graphic> bindSet(const QString& name, const QStringList& values)
    {
        EXPECT_TRUE(Write_Data_Set(name, values, false));
        auto g = std::make_shared<Graphic>();
        g->data_source_type = Source_Data_Set;
        g->batch_list_name = name;
        g->bounds = QRectF(10, 10 + 30 * wnd->Get_Front_Controls_Array().size(), 200, 25);
        wnd->Get_Front_Controls_Array().insert(0, g);
        return g;
    }
    // Runs the export command with its dialog's OK (rows on).
    void exportCommand()
    {
        host.modalScripts.push_back([](QDialog& d) {
            static_cast<ExportWindow&>(d).exportOkay();
            return d.result();
        });
        wnd->Export_Button();
    }
    void choose(const QString& side, bool combined, int type = 0, int dpi = 72)
    {
        wnd->exportWindow->saveDPIText->setCurrentText(QString::number(dpi));
        wnd->exportWindow->export_file_type_CellClick(type);
        wnd->exportWindow->export_card_side_CellClick(side == "BOTH" ? 0 : side == "F" ? 1 : 2);
        wnd->exportWindow->export_combined_image_chk->setChecked(combined);
    }
    QStringList files(const QString& folder) const { return QDir(folder).entryList(QDir::Files, QDir::Name); }
    bool runBatch()
    {
        if (!wnd->Start_Batch_Export(out))
            return false;
        return waitUntil([] { return !SKTWindowController::Batch_Running(); }, 30000);
    }
};

bool isPng(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(8) == QByteArray("\x89PNG\r\n\x1a\n", 8);
}

// The format of a file as its content shows it ("png", "jpeg", "bmp", "tiff").
QByteArray formatOf(const QString& path)
{
    QImageReader reader(path, QByteArray());
    reader.setDecideFormatFromContent(true);
    return reader.format();
}

int typeIndex(const QString& type)
{
    return int(ExportWindow::File_Types().indexOf(type));
}
}

TEST_F(ExportTest, SingleExportSizesAndSides)
{
    choose("F", false);
    ASSERT_TRUE(wnd->Export_Single_File(out + "/a.png", false));
    EXPECT_EQ(QImage(out + "/a.png").size(), QSize(243, 153));

    choose("B", false);
    ASSERT_TRUE(wnd->Export_Single_File(out + "/b.png", true));
    EXPECT_EQ(files(out), (QStringList{"a.png", "b_Back.png"}));
    EXPECT_EQ(QImage(out + "/b_Back.png").pixelColor(100, 100), QColor(Qt::blue));
    EXPECT_EQ(Export_File_Path, out + "/b_Back.png"); // the after-export box shows the back file
    EXPECT_EQ(host.modalRuns.last(), "Open_Export_Log");

    choose("BOTH", true);
    ASSERT_TRUE(wnd->Export_Single_File(out + "/c.png", false));
    const QImage combined(out + "/c.png");
    ASSERT_EQ(combined.size(), QSize(243, 306));
    EXPECT_EQ(combined.pixelColor(100, 50), QColor(Qt::red));   // front on top
    EXPECT_EQ(combined.pixelColor(100, 250), QColor(Qt::blue)); // back below
    EXPECT_TRUE(isPng(out + "/c.png"));
    EXPECT_FALSE(QFileInfo::exists(out + "/c_Back.png"));

    choose("BOTH", false);
    ASSERT_TRUE(wnd->Export_Single_File(out + "/d.png", false));
    EXPECT_TRUE(QFileInfo::exists(out + "/d.png"));
    EXPECT_TRUE(QFileInfo::exists(out + "/d_Back.png"));
    EXPECT_EQ(Card_Front_Or_Back.load(), 0); // the side is put back
}

TEST_F(ExportTest, BackPathsAndAnExistingBackFile)
{
    EXPECT_EQ(Back_Card_Path("/x/Card_3.png"), "/x/Card_3_Back.png");
    EXPECT_EQ(Back_Card_Path("/x.y/card"), "/x.y/card_Back"); // no trailing dot, folder untouched
    EXPECT_EQ(Back_Card_Path("/x/a.b.png"), "/x/a.b_Back.png");

    QFile old(out + "/e_Back.png");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    choose("B", false);
    host.answer("No");
    EXPECT_FALSE(wnd->Export_Single_File(out + "/e.png", false));
    EXPECT_TRUE(host.alertTexts().last().contains("e_Back.png"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("keep me"));
    old.close();
    host.answer("Yes");
    EXPECT_TRUE(wnd->Export_Single_File(out + "/e.png", false));
    EXPECT_TRUE(isPng(out + "/e_Back.png"));
}

TEST_F(ExportTest, BatchNamesForEachSideChoice)
{
    bindRows(3);
    choose("F", false, typeIndex("jpg"));
    ASSERT_TRUE(runBatch());
    const QString batch = out + "/Pelvoro Gleamcard";
    EXPECT_EQ(files(batch), (QStringList{"Card_1.jpg", "Card_2.jpg", "Card_3.jpg"}));
    for (const QString& f : files(batch))
        EXPECT_EQ(formatOf(batch + '/' + f), "jpeg");
    EXPECT_EQ(Export_File_Path, batch);
    EXPECT_EQ(Export_File_Message, "Frame has been exported successfully.");

    QDir(batch).removeRecursively();
    choose("B", false);
    ASSERT_TRUE(runBatch());
    EXPECT_EQ(files(batch), (QStringList{"Card_1_Back.png", "Card_2_Back.png", "Card_3_Back.png"}));

    QDir(batch).removeRecursively();
    choose("BOTH", false);
    ASSERT_TRUE(runBatch());
    EXPECT_EQ(files(batch).size(), 6);

    QDir(batch).removeRecursively();
    choose("BOTH", true);
    ASSERT_TRUE(runBatch());
    EXPECT_EQ(files(batch), (QStringList{"Card_1.png", "Card_2.png", "Card_3.png"}));
    EXPECT_EQ(QImage(batch + "/Card_2.png").size(), QSize(243, 306));
}

TEST_F(ExportTest, EachCardHoldsItsOwnRowAndRowZeroComesBack)
{
    auto front = bindRows(4);
    auto back = std::make_shared<SKTText>();
    back->data_source_type = 1;
    back->batch_list_name = "Rows";
    back->bounds = QRectF(0, 0, 10, 10);
    wnd->Get_Back_Controls_Array().insert(0, back);
    wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();
    Card_Front_Or_Back = 1; // the user is looking at the back
    choose("BOTH", false);
    ASSERT_TRUE(runBatch());
    EXPECT_EQ(front->text, "Row 0");
    EXPECT_EQ(back->text, "Row 0");
    EXPECT_EQ(Card_Front_Or_Back.load(), 1);
    EXPECT_FALSE(Card_Value_In_Process);
    // Row 3's card differs from row 0's: the text was really replaced per row.
    const QString batch = out + "/Pelvoro Gleamcard";
    EXPECT_NE(QImage(batch + "/Card_4.png"), QImage(batch + "/Card_1.png"));
    EXPECT_FALSE(Send_Modeless::defaultInstance()->timerRunning());
    EXPECT_FALSE(Send_Modeless::defaultInstance()->isVisible());
}

namespace {
// A card part that, drawn by the batch's worker, waits for a permit from the
// test: the test knows which row the worker is on and lets it on row by row.
struct GatedText : SKTText {
    struct Gate {
        std::counting_semaphore<> permits{0};
        std::atomic<int> begun{0};          // draws begun on the worker
        std::atomic<int> begunWhileAsked{0}; // of which with the Stop question open
    };
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();

    void drawContent(QPainter& painter) const override
    {
        if (QThread::currentThread() != qApp->thread()) {
            if (Stop_Question_Open)
                ++gate->begunWhileAsked;
            ++gate->begun;
            gate->permits.acquire();
        }
        SKTText::drawContent(painter);
    }
};
}

TEST_F(ExportTest, StopEndsTheBatchWithinOneRowAndLeavesCompleteCards)
{
    bindRows(400);
    auto gated = std::make_shared<GatedText>();
    gated->bounds = QRectF(0, 0, 10, 10);
    wnd->Get_Front_Controls_Array().append(gated);
    GatedText::Gate& gate = *gated->gate;
    // Whatever fails, the worker is let go so the batch ends.
    struct LetGo {
        GatedText::Gate& gate;
        ~LetGo() { gate.permits.release(100000); }
    } letGo{gate};
    const QString batch = out + "/Pelvoro Gleamcard";
    const auto cards = [&](int n) {
        QStringList names;
        for (int i = 1; i <= n; ++i)
            names << QStringLiteral("Card_%1.png").arg(i);
        names.sort();
        return names;
    };
    choose("F", false);
    ASSERT_TRUE(wnd->Start_Batch_Export(out));
    EXPECT_FALSE(wnd->Start_Batch_Export(out)); // one batch at a time
    gate.permits.release(5);
    ASSERT_TRUE(waitUntil([&] { return gate.begun == 6; }, 60000)); // drawing row 6

    // While the question is open the worker finishes the card in progress
    // and begins no other.
    int asked = -1;
    host.whileAlertOpen = [&] {
        gate.permits.release(1);
        EXPECT_TRUE(waitUntil([&] { return files(batch) == cards(6); }, 60000));
        asked = int(curr_barcode_count.load());
    };
    host.answer("No");
    Send_Modeless::defaultInstance()->Stop_Sending_Pressed();
    EXPECT_EQ(asked, 6);
    EXPECT_EQ(gate.begunWhileAsked.load(), 0);
    EXPECT_FALSE(Stop_SMS_Sending_Now);

    // No: it goes on. Yes over row 9 ends the batch once that card is written.
    host.whileAlertOpen = nullptr;
    gate.permits.release(2);
    ASSERT_TRUE(waitUntil([&] { return gate.begun == 9; }, 60000));
    host.whileAlertOpen = [&] { gate.permits.release(1); };
    host.answer("Yes");
    Send_Modeless::defaultInstance()->Stop_Sending_Pressed();
    host.whileAlertOpen = nullptr;
    ASSERT_TRUE(waitUntil([] { return !SKTWindowController::Batch_Running(); }, 60000));
    EXPECT_EQ(gate.begun.load(), 9);
    EXPECT_EQ(files(batch), cards(9));
    EXPECT_EQ(curr_barcode_count.load(), 9);
    for (const QString& f : files(batch))
        EXPECT_FALSE(QImage(batch + '/' + f).isNull()) << f.toStdString();
    EXPECT_EQ(Export_File_Message, "The export was stopped: 9 of 400 cards were written.");
    EXPECT_FALSE(Send_Modeless::defaultInstance()->timerRunning());
}

TEST_F(ExportTest, OneRowBatchLeavesNoTimerAndShowsItsCount)
{
    bindRows(1);
    choose("F", false);
    ASSERT_TRUE(runBatch());
    Send_Modeless* sheet = Send_Modeless::defaultInstance();
    EXPECT_FALSE(sheet->timerRunning());
    EXPECT_EQ(sheet->_tot_msg_cnt->text(), "1");
    sheet->update_sending_progress_bar();
    EXPECT_EQ(sheet->_curr_msg_cnt->text(), "1 / 1 ");
}

TEST_F(ExportTest, FailedWritesAreCountedAndNoSuccessIsClaimed)
{
    bindRows(3);
    choose("F", false);
    const QString batch = out + "/Pelvoro Gleamcard";
    QDir().mkpath(batch + "/Card_2.png"); // a folder where a card should go
    ASSERT_TRUE(runBatch());
    EXPECT_EQ(Export_File_Message, "1 of 3 files could not be written.");
    EXPECT_TRUE(host.alertTexts().contains(batch + "/Card_2.png"));
    EXPECT_TRUE(isPng(batch + "/Card_1.png"));
    EXPECT_TRUE(isPng(batch + "/Card_3.png"));

    // The batch folder cannot be made: one message, nothing written, no success box.
    host.alerts.clear();
    Export_File_Message.clear();
    const QString blocked = resources.path() + "/blocked";
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const int boxes = host.modalRuns.size();
    ASSERT_TRUE(wnd->Start_Batch_Export(blocked));
    ASSERT_TRUE(waitUntil([] { return !SKTWindowController::Batch_Running(); }, 30000));
    ASSERT_EQ(host.alerts.size(), 1);
    EXPECT_TRUE(host.alertTexts()[0].startsWith("Unable to continue saving barcode image."));
    EXPECT_EQ(host.modalRuns.size(), boxes);
    EXPECT_TRUE(Export_File_Message.isEmpty());
    EXPECT_FALSE(Card_Value_In_Process);
}

TEST_F(ExportTest, ExportCommandWithBoundRowsUncheckedWritesOneFile)
{
    bindRows(5);
    host.modalScripts.push_back([&](QDialog& d) {
        auto& dlg = static_cast<ExportWindow&>(d);
        EXPECT_TRUE(dlg.Export_with_batch_chk->isChecked());
        EXPECT_FALSE(dlg.Export_with_excel_chk->isEnabled());
        EXPECT_EQ(export_card_side, "F");
        dlg.Export_with_batch_chk->setChecked(false);
        dlg.exportOkay();
        return d.result();
    });
    host.answerPanel(out + "/single.png");
    wnd->Export_Button();
    ASSERT_EQ(host.panels.size(), 1);
    EXPECT_EQ(host.panels[0].kind, platform::PanelRequest::Save);
    EXPECT_EQ(host.panels[0].extensions, QStringList{"png"});
    EXPECT_EQ(files(out), QStringList{"single.png"});
    EXPECT_FALSE(QFileInfo::exists(out + "/Pelvoro Gleamcard"));

    // Cancel in the dialog does nothing.
    host.modalScripts.push_back([](QDialog& d) { static_cast<ExportWindow&>(d).exportCancel(); return d.result(); });
    wnd->Export_Button();
    EXPECT_EQ(host.panels.size(), 1);
}

TEST_F(ExportTest, DialogControls)
{
    ExportWindow* dlg = wnd->exportWindow;
    dlg->export_file_type_CellClick(0);
    EXPECT_TRUE(dlg->saveDPIText->isEnabled());
    dlg->export_file_type_CellClick(2);
    EXPECT_TRUE(dlg->saveDPIText->isEnabled()); // every type is written at the chosen resolution
    EXPECT_EQ(dlg->fileFormatPopup->currentText(), "bmp");
    // Only types this machine writes are offered (Qt reads GIF but cannot write it).
    EXPECT_EQ(ExportWindow::File_Types(), (QStringList{"png", "jpg", "bmp", "tiff"}));
    dlg->export_card_side_CellClick(0);
    EXPECT_EQ(export_card_side, "BOTH");
    EXPECT_TRUE(dlg->export_combined_image_chk->isEnabled());
    dlg->export_card_side_CellClick(2);
    EXPECT_EQ(export_card_side, "B");
    EXPECT_FALSE(dlg->export_combined_image_chk->isEnabled());
}

TEST_F(ExportTest, ALateYesAfterTheBatchStopsNothing)
{
    Send_Modeless* sheet = Send_Modeless::defaultInstance();
    ASSERT_FALSE(sheet->isVisible());
    Stop_SMS_Sending_Now = false;
    host.answer("Yes");
    sheet->Stop_Sending_Pressed();
    EXPECT_EQ(host.alertTexts().last(), "Are you sure you want to continue?");
    EXPECT_FALSE(Stop_SMS_Sending_Now);
}

TEST_F(ExportTest, BothSidesGoBackToRowZeroWhateverTheSidesSetting)
{
    // A new project has no sides setting yet; the back is exported all the same.
    CARD_SIDE_STR = "";
    auto front = bindRows(3);
    auto back = std::make_shared<SKTText>();
    back->data_source_type = 1;
    back->batch_list_name = "Rows";
    wnd->Get_Back_Controls_Array().insert(0, back);
    wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();
    choose("BOTH", false);
    ASSERT_TRUE(runBatch());
    EXPECT_EQ(back->text, "Row 0");
    EXPECT_EQ(front->text, "Row 0");
}

TEST_F(ExportTest, TheMainPhotoComesBackAfterABatch)
{
    QImage red(4, 4, QImage::Format_ARGB32);
    red.fill(Qt::red);
    red.save(resources.path() + "/red.png");
    ASSERT_TRUE(Write_Data_Set("Photos", {resources.path() + "/red.png"}, false));
    auto party = std::make_shared<SKTImage>();
    party->control_ID = "PARTY_IMAGE";
    party->data_source_type = 1;
    party->batch_list_name = "Photos";
    wnd->Get_Front_Controls_Array().insert(0, party);
    QImage green(4, 4, QImage::Format_ARGB32);
    green.fill(Qt::green);
    Set_Main_Photo_image(green);
    wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();
    choose("F", false);
    ASSERT_TRUE(runBatch());
    EXPECT_EQ(QImage(out + "/Pelvoro Gleamcard/Card_1.png").pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(Get_Main_Photo_image(), green);
    Set_Main_Photo_image(QImage());
}

TEST_F(ExportTest, SingleExportAddsTheExtensionAndWritesTheFrontWhenTheBackFails)
{
    host.modalScripts.push_back([](QDialog& d) {
        auto& dlg = static_cast<ExportWindow&>(d);
        dlg.export_card_side_CellClick(0); // both sides, not combined
        dlg.exportOkay();
        return d.result();
    });
    QDir().mkpath(out + "/card_Back.png"); // the back cannot be written
    host.answerPanel(out + "/card");
    wnd->Export_Button();
    EXPECT_TRUE(isPng(out + "/card.png"));
    EXPECT_TRUE(host.alertTexts().contains(out + "/card_Back.png"));
    EXPECT_NE(host.modalRuns.last(), "Open_Export_Log"); // no success box
}

TEST_F(ExportTest, EachTypeIsWrittenInItsFormatAtTheChosenResolution)
{
    // A card of 240 by 150 points: at 150 dpi 500 by 312.5 pixels (rounded
    // up), at 300 dpi 1000 by 625.
    wnd->SetDocumentCanvasSize(QSizeF(240, 150));
    const struct {
        const char* type;
        QByteArray format;
        int dpi;
        QSize size;
    } cases[] = {
        {"png", "png", 72, {240, 150}},
        {"jpg", "jpeg", 300, {1000, 625}},
        {"bmp", "bmp", 150, {500, 313}},
        {"tiff", "tiff", 300, {1000, 625}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const int type = typeIndex(c.type);
        ASSERT_GE(type, 0);
        choose("F", false, type, c.dpi);
        const QString path = out + "/single." + c.type;
        ASSERT_TRUE(wnd->Export_Single_File(path, false));
        EXPECT_EQ(formatOf(path), c.format);
        const QImage written(path);
        EXPECT_EQ(written.size(), c.size);
        EXPECT_EQ(qRound(written.dotsPerMeterX() * 0.0254), c.dpi); // the resolution is in the file
        EXPECT_GT(written.pixelColor(c.size.width() / 2, c.size.height() / 2).red(), 200);
    }

    // The batch and the combined image alike: front above back, each at 300 dpi.
    bindRows(2);
    choose("BOTH", true, typeIndex("tiff"), 300);
    ASSERT_TRUE(runBatch());
    const QString card = out + "/Pelvoro Gleamcard/Card_2.tiff";
    EXPECT_EQ(formatOf(card), "tiff");
    const QImage both(card);
    ASSERT_EQ(both.size(), QSize(1000, 1250));
    EXPECT_EQ(qRound(both.dotsPerMeterX() * 0.0254), 300);
    EXPECT_EQ(both.pixelColor(900, 600), QColor(Qt::red));
    EXPECT_EQ(both.pixelColor(900, 700), QColor(Qt::blue));
}

TEST_F(ExportTest, ABoundDataSetWithoutValuesSaysWhyThereIsNoBatch)
{
    auto t = bindRows(0); // an empty data set
    host.modalScripts.push_back([](QDialog& d) {
        auto& dlg = static_cast<ExportWindow&>(d);
        EXPECT_FALSE(dlg.Export_with_batch_chk->isEnabled());
        EXPECT_FALSE(dlg.batch_note->isHidden());
        EXPECT_EQ(dlg.batch_note->text(), "One card per row is off: the data set \"Rows\" has no values.");
        return 0;
    });
    wnd->Export_Button();
    ASSERT_EQ(host.modalRuns.size(), 1);

    // With values the note goes.
    ASSERT_TRUE(Write_Data_Set("Rows", {"Ann"}, false));
    host.modalScripts.push_back([](QDialog& d) {
        auto& dlg = static_cast<ExportWindow&>(d);
        EXPECT_TRUE(dlg.Export_with_batch_chk->isEnabled());
        EXPECT_TRUE(dlg.batch_note->isHidden());
        return 0;
    });
    wnd->Export_Button();
    EXPECT_EQ(host.modalRuns.size(), 2);
}

TEST_F(ExportTest, ADesignWhoseDataSetWasDeletedSaysSoOnOpenAndNoBatchStarts)
{
    bindSet<SKTText>("Guests", {"Ann", "Bo"});
    auto code = bindSet<SKTBarcode>("Guests", {"Ann", "Bo"});
    code->barcode_font_index = int(Barcode_Type_Items.indexOf("Code 128"));
    auto column = std::make_shared<SKTText>(); // bound to a column of a spreadsheet the design has not
    column->data_source_type = Source_Spreadsheet;
    column->excel_col_indx = 2;
    wnd->Get_Front_Controls_Array().append(column);
    const QString design = resources.path() + "/party.gcdl";
    ASSERT_TRUE(wnd->Save_project_file(design, false));
    ASSERT_TRUE(QFile::remove(Data_Set_File_Path("Guests")));

    ASSERT_EQ(wnd->Read_and_load_design_Log(design, "L"), 1);
    const QStringList missing{Data_Set_Source_Name("Guests"), "spreadsheet column 2"};
    EXPECT_EQ(host.alertTexts(), QStringList{Missing_Sources_On_Open_Message(missing)});
    EXPECT_TRUE(host.alertTexts().value(0).contains("cannot be found:\n    Batch Processing Series \"Guests\"\n"));

    // Export and printing say why and go no further: no dialog, no panel, no file.
    host.alerts.clear();
    wnd->Export_Button();
    wnd->Print_Button();
    EXPECT_EQ(host.alertTexts(), (QStringList{Missing_Sources_Batch_Message(missing), Missing_Sources_Batch_Message(missing)}));
    EXPECT_TRUE(host.modalRuns.isEmpty());
    EXPECT_TRUE(host.panels.isEmpty());
    EXPECT_TRUE(files(out).isEmpty());

    // With the set back and the column gone the design is whole again.
    ASSERT_TRUE(Write_Data_Set("Guests", {"Ann"}, false));
    wnd->Get_Front_Controls_Array().removeIf([](const GraphicPtr& g) { return g->data_source_type == Source_Spreadsheet; });
    ASSERT_TRUE(wnd->Save_project_file(design, false));
    host.alerts.clear();
    ASSERT_EQ(wnd->Read_and_load_design_Log(design, "L"), 1);
    EXPECT_TRUE(host.alerts.isEmpty());
}

TEST_F(ExportTest, SourcesOfDifferentLengthsAreToldAndTheUserChooses)
{
    QStringList numbers;
    for (int i = 1; i <= 5000; ++i)
        numbers << QString::number(i);
    QStringList names;
    for (int i = 1; i <= 20; ++i)
        names << QStringLiteral("Name %1").arg(i);
    bindSet<SKTText>("Names", names);
    bindSet<SKTText>("Numbers", numbers);
    host.answer("No");
    exportCommand();
    const QString question = host.alertTexts().value(0);
    EXPECT_EQ(question, Different_Lengths_Question({{Data_Set_Source_Name("Names"), 20}, {Data_Set_Source_Name("Numbers"), 5000}}));
    EXPECT_TRUE(question.contains("Batch Processing Series \"Names\": 20 values\n    Batch Processing Series "
                                  "\"Numbers\": 5000 values\n\n5000 cards will be made; 4980 of them will have empty fields."));
    EXPECT_TRUE(host.panels.isEmpty()); // No: no folder is asked for, nothing is written

    // Going on makes as many cards as the longest source has values.
    wnd->Get_Front_Controls_Array().clear();
    bindSet<SKTText>("Two", {"a", "b"});
    bindSet<SKTText>("Three", {"x", "y", "z"});
    host.alerts.clear();
    host.answer("Yes");
    host.answerPanel(out);
    exportCommand();
    ASSERT_TRUE(waitUntil([] { return !SKTWindowController::Batch_Running(); }, 30000));
    EXPECT_EQ(host.alertTexts().size(), 1);
    EXPECT_EQ(files(out + "/Pelvoro Gleamcard"), (QStringList{"Card_1.png", "Card_2.png", "Card_3.png"}));
}

TEST_F(ExportTest, CardsWithoutTheirBarcodeAreNamedInTheFinishTextWithTheReason)
{
    CARD_SIDE_STR = "1";
    auto code = bindSet<SKTBarcode>("Codes", {"400638133393", "not digits", "400638133394", ""});
    code->barcode_font_index = int(Barcode_Type_Items.indexOf("EAN-13"));
    code->bounds = QRectF(10, 10, 200, 100);
    wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();
    // The data set file drops the trailing empty value, so 3 rows.
    choose("F", false);
    ASSERT_TRUE(runBatch());
    EXPECT_EQ(files(out + "/Pelvoro Gleamcard").size(), 3);
    EXPECT_EQ(Export_File_Message, "Frame has been exported successfully.\nCards written without a barcode: 1 (row 2). "
                                   "The barcode could not be made from that row's value.");

    // Rows with no value (an empty one, or past the end of a shorter set)
    // are said to have none; the barcode is blamed only for a refused value.
    ASSERT_TRUE(Write_Data_Set("Codes", {"400638133393", "", "400638133394", "x"}, false));
    bindSet<SKTText>("Names", {"a", "b", "c", "d", "e", "f"});
    wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();
    ASSERT_TRUE(runBatch());
    EXPECT_TRUE(Export_File_Message.endsWith(
        "Cards written without a barcode: 3 (rows 2, 5, 6). Those cards have no value in Batch Processing Series "
        "\"Codes\".\nCards written without a barcode: 1 (row 4). The barcode could not be made from that row's value."))
        << Export_File_Message.toStdString();
}

TEST_F(ExportTest, CardsOfABoundDesignExportedAt72DpiCarryEachRowsSymbols)
{
    CARD_SIDE_STR = "1";
    wnd->SetDocumentCanvasSize(Bound_Symbols_Card);
    wnd->Get_Front_Controls_Array().clear();
    const QList<Bound_Symbol> symbols = Bind_Symbols(wnd->Get_Front_Controls_Array(), 3);
    wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();
    choose("F", false, typeIndex("png"), 72);
    ASSERT_TRUE(runBatch());
    QStringList cards;
    for (int r = 1; r <= 3; ++r)
        cards << out + QStringLiteral("/Pelvoro Gleamcard/Card_%1.png").arg(r);
    Expect_Cards_Carry_Rows(cards, symbols);
}

// Printing and label sheets draw the design as vectors: a page of it is the
// symbols' paths and rectangles, exactly, whatever the pixel road does.
TEST_F(ExportTest, APdfPageOfABoundDesignIsItsSymbolsVectorDrawing)
{
    CARD_SIDE_STR = "1";
    wnd->SetDocumentCanvasSize(Bound_Symbols_Card);
    Face& face = wnd->Get_Front_Controls_Array();
    face.clear();
    Bind_Symbols(face, 1);
    wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();
    wnd->Card_Rows().Select_first_row_value_for_design(false);
    auto page = [&](const std::function<void(QPainter&)>& draw) {
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(Bound_Symbols_Card, QPageSize::Point));
        writer.setPageMargins({});
        QPainter painter(&writer);
        painter.scale(writer.resolution() / 72.0, writer.resolution() / 72.0);
        draw(painter);
        painter.end();
        // What differs between two runs: when the file was made.
        const qsizetype date = pdf.indexOf("/CreationDate");
        if (date >= 0)
            pdf.remove(date, pdf.indexOf(')', date) + 1 - date);
        return pdf;
    };
    const QByteArray printed = page([&](QPainter& p) { wnd->Card_Rows().Draw_Card_Row(-1, Side_Front, p); });
    const QByteArray vectors = page([&](QPainter& p) {
        SKTRenderingView::drawCardBase(p, QRectF(QPointF(), Bound_Symbols_Card), Card_Shape.load());
        for (qsizetype i = face.size() - 1; i >= 0; --i) {
            const auto& code = static_cast<const SKTBarcode&>(*face[i]);
            ASSERT_FALSE(code._barcode_image.isNull());
            code._barcode_image.drawPaths(p, code.bounds.topLeft());
        }
    });
    EXPECT_GT(printed.size(), 1000);
    EXPECT_EQ(printed, vectors);
}
