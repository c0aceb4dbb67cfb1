// A new design bound on both sides, walked as a person would: bind through
// the property panel, export one image per row, print both sides, try to
// delete and rename the back's data set, save and open the design again.
#include "data/BatchWizard.h"
#include "data/DataSetFiles.h"
#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "output/ExportWindow.h"
#include "output/Print_Wnd.h"
#include "support/Menus.h"
#include "support/Pdf.h"
#include "support/ScriptedHost.h"
#include "support/SharedState.h"
#include "support/TempResources.h"
#include "support/Wait.h"
#include "wizards/Invitation_Globals.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QTabBar>
#include <QTableView>
#include <gtest/gtest.h>

namespace {
struct BackSideRoad : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    void SetUp() override { Reset_Shared_State(); QDir().mkpath(Data_Folder_Path); }
    void TearDown() override { Reset_Shared_State(); }
    // A text drawn on the side on screen and bound in the panel to the set.
    std::shared_ptr<SKTText> boundText(int side, const QString& set)
    {
        wnd->side_switch->setCurrentIndex(side);
        wnd->Text_Tool_Clicked();
        wnd->Data_source_type->setCurrentIndex(Source_Data_Set);
        wnd->comboBoxSelectionDidChange(wnd->Data_source_type);
        wnd->Batch_Series->setCurrentIndex(wnd->Batch_Series->findText(set));
        wnd->comboBoxSelectionDidChange(wnd->Batch_Series);
        return std::dynamic_pointer_cast<SKTText>(wnd->Selected_Graphic());
    }
};
}

TEST_F(BackSideRoad, ANewDesignBoundOnBothSidesExportsPrintsKeepsItsSetsAndReopens)
{
    const QStringList kSeats = {"SEAT11B", "SEAT12B", "SEAT13B", "SEAT14B", "SEAT15B"};
    const QStringList kNames = {"Ann", "Bo", "Cy", "Di", "Ed"};
    const auto oldHook = Set_End_Process_Hook([](int) {}); // the start wizard is closed unanswered
    ASSERT_TRUE(Write_Data_Set("Seats", kSeats, false));
    ASSERT_TRUE(Write_Data_Set("Names", kNames, false));
    Menu_Command(wnd, "New")->trigger();
    Set_End_Process_Hook(oldHook);
    ASSERT_EQ(wnd->card_sides_combo->currentText(), "Front and back");
    auto back = boundText(Side_Back, "Seats");
    auto front = boundText(Side_Front, "Names");
    ASSERT_TRUE(back && front);
    // A design saved before its sides were ever chosen.
    CARD_SIDE_STR = "";
    const QString design = resources.path() + "/seats.gcdl";
    host.answerPanel(design);
    ASSERT_TRUE(wnd->Save_Design());

    // Export one image per row, both sides: each back carries its row's seat.
    const QString out = resources.path() + "/out";
    QDir().mkpath(out);
    host.modalScripts.push_back([](QDialog& d) {
        auto& dialog = static_cast<ExportWindow&>(d);
        dialog.export_card_side_CellClick(0);
        dialog.exportOkay();
        return d.result();
    });
    host.answerPanel(out);
    wnd->Export_Button();
    ASSERT_TRUE(waitUntil([] { return !SKTWindowController::Batch_Running(); }, 30000));
    // Afterwards the design shows what it showed, unchanged.
    EXPECT_EQ(back->text, "SEAT11B");
    EXPECT_FALSE(wnd->Design_Has_Changes());
    const QString folder = out + "/Pelvoro Gleamcard/";
    for (int r = 0; r < kSeats.size(); ++r) {
        SCOPED_TRACE(r);
        back->text = kSeats[r];
        const QImage expected =
            wnd->Card_Rows().Card_Row_Image(-1, Side_Back, 1.0).convertToFormat(QImage::Format_ARGB32);
        EXPECT_TRUE(QImage(folder + QStringLiteral("Card_%1_Back.png").arg(r + 1)).convertToFormat(QImage::Format_ARGB32)
                    == expected);
    }
    back->text = kSeats[0];

    // Print both sides: the labels carry the back's values too.
    Print_Wnd* pw = Print_Wnd::defaultInstance();
    host.printers = QStringList{"Labels"};
    host.printFolder = resources.path();
    pw->printInfo()->setOutputFormat(QPrinter::PdfFormat);
    pw->printInfo()->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    host.modalScripts.push_back([pw](QDialog&) {
        pw->matrix_card_side->button(0)->setChecked(true);
        pw->card_side_CellClick();
        pw->PrintButtonPressed();
        return 0;
    });
    wnd->Print_Button();
    ASSERT_EQ(host.printFiles.size(), 1);
    const QString printed = Pdf_Text(host.printFiles[0]);
    for (const QString& value : kSeats + kNames)
        EXPECT_TRUE(printed.contains(value)) << value.toStdString();
    EXPECT_EQ(back->text, "SEAT11B");
    EXPECT_EQ(front->text, "Ann");
    EXPECT_FALSE(wnd->Design_Has_Changes());

    // The manager keeps the back's set: neither deleted nor renamed.
    BatchWizard* m = BatchWizard::defaultInstance();
    m->Fill_List();
    const int row = int(m->ListData.indexOf("Seats"));
    m->List->selectionModel()->setCurrentIndex(m->List->model()->index(row, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    host.alerts.clear();
    m->Delete_List_Btn_Clicked();
    m->doubleClickInTable(m->List);
    m->batch_list_name->setText("Rows");
    m->Save_Btn_Clicked();
    m->Back_Btn_Clicked();
    EXPECT_EQ(host.alertTexts(),
              (QStringList{"Batch Processing Series can't be delete because it is currently in use.",
                           "Batch Processing Series can't be update because it is currently in use."}));
    EXPECT_EQ(Data_Set_Batch_Values("Seats"), kSeats);
    EXPECT_FALSE(Data_Set_Batch_Values("Rows").has_value());

    // Opened again, the design has its back, bound as it was.
    wnd->New_Project_Setting_Reset();
    ASSERT_EQ(wnd->Read_and_load_design_Log(design, "L"), 1);
    EXPECT_EQ(CARD_SIDE_STR, "2");
    EXPECT_EQ(wnd->card_sides_combo->currentText(), "Front and back");
    ASSERT_EQ(wnd->Get_Back_Controls_Array().size(), 1);
    EXPECT_EQ(wnd->Get_Back_Controls_Array()[0]->batch_list_name, "Seats");
    EXPECT_TRUE(wnd->Card_Rows().Check_Batch_File_In_Use_Validation("Seats"));
    wnd->Card_Rows().Check_Series_Or_Excel_Use_or_not();
    EXPECT_EQ(wnd->Card_Rows().Batch_Row_Count(), 5);
}
