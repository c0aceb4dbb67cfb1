// The wizards without the main window: a stand-in host gives the presets,
// the data sources and the profile records, and takes what they hand back.
#include "support/ScriptedHost.h"
#include "support/StandInWizardHost.h"
#include "wizards/Card_Wizard.h"
#include "wizards/Show_User_Profile.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {
QStringList items(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}
}

TEST(WizardHost, CardWizardListsTheHostsPresetsAsksItForSizesAndHandsTheSizeBack)
{
    ScriptedHost person;
    StandInWizardHost host;
    host.presets[0] = {"Small", "Big"};
    host.presets[1] = {"Badge"};
    host.presetSize = {12, 34};
    Card_Wizard* cw = Card_Wizard::defaultInstance();

    const struct {
        bool ok;
        QSizeF document;
    } cases[] = {{false, {}}, {true, {200, 100}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ok);
        host.documentSize = host.canvasSize = {};
        person.modalScripts.push_back([&](QDialog& d) {
            auto& w = static_cast<Card_Wizard&>(d);
            EXPECT_EQ(w.ListData.size(), 2); // the PVC presets on opening
            w.Category_ComboBox->setCurrentIndex(1);
            w.comboBoxSelectionDidChange(w.Category_ComboBox);
            EXPECT_EQ(w.ListData.size(), 1);
            EXPECT_EQ(w.ListData[0]["Extension"], "Badge");
            EXPECT_EQ(host.askedPreset, w.Category_ComboBox->currentText() + " H 0");
            EXPECT_EQ(w.Width_MM(), 12);
            EXPECT_EQ(w.Height_MM(), 34);
            w.Set_Size_MM(100, 50);
            c.ok ? w.OK_Click() : w.CancelClick();
            return d.result();
        });
        EXPECT_EQ(cw->Open_Wnd(), c.ok ? 1 : 0);
        EXPECT_EQ(host.documentSize, c.document);
        EXPECT_EQ(host.canvasSize, c.document);
    }
    cw->User_Profile_Click();
    EXPECT_EQ(host.profileOpenings, 1);

    // With no host the wizard lists nothing and still closes.
    Set_Wizard_Host(nullptr);
    person.modalScripts.push_back([](QDialog& d) {
        auto& w = static_cast<Card_Wizard&>(d);
        EXPECT_TRUE(w.ListData.isEmpty());
        w.OK_Click();
        return d.result();
    });
    EXPECT_EQ(cw->Open_Wnd(), 1);
    Set_Wizard_Host(&host); // the stand-in puts the host before it back
}

TEST(WizardHost, ProfileDialogListsAndReadsTheHostsDataSourcesAndWritesItsRecords)
{
    ScriptedHost person;
    StandInWizardHost host;
    host.sources.dataSets = {{"Names", "Ann"}, {"Cities", "Oslo"}};
    host.sources.columns = {"No.", "Name", "Town"};
    host.sources.firstRow = {"1", "Eve", "Bergen"};
    Show_User_Profile* dlg = Show_User_Profile::defaultInstance();
    dlg->load_side = "F";
    auto choose = [](Show_User_Profile& d, QComboBox* combo, int index) {
        combo->setCurrentIndex(index);
        d.comboBoxSelectionDidChange(combo);
    };
    person.modalScripts.push_back([&](QDialog& d) {
        auto& p = static_cast<Show_User_Profile&>(d);
        choose(p, p.name_ds_combo, Source_Data_Set);
        EXPECT_EQ(items(p.name_ser_col_cb), QStringList({"Cities", "Names"}));
        EXPECT_EQ(p.name_ser_col_cb->currentIndex(), -1);
        choose(p, p.name_ser_col_cb, 1);
        EXPECT_EQ(p.name_value->text(), "Ann");

        p.Add_Excel_in_Data_Source_Combo();
        choose(p, p.title_ds_combo, Source_Spreadsheet);
        EXPECT_EQ(items(p.title_ser_col_cb), host.sources.columns);
        choose(p, p.title_ser_col_cb, 2);
        EXPECT_EQ(p.title_value->text(), "Bergen");

        p.Batch_Series_Btn_Clicked();
        p.OK_Btn_Clicked();
        return d.result();
    });
    EXPECT_EQ(dlg->Open_Wnd(false), 1);
    EXPECT_EQ(host.dataSetManagerOpenings, 1);
    const User_Profile_Field& name = host.front.field[Profile_Name];
    EXPECT_EQ(name.value, "Ann");
    EXPECT_TRUE(name.ds);
    EXPECT_EQ(name.ds_name, "Names");
    const User_Profile_Field& title = host.front.field[Profile_Title];
    EXPECT_EQ(title.value, "Bergen");
    EXPECT_TRUE(title.xl);
    EXPECT_EQ(title.xl_col_indx, 2);
    EXPECT_TRUE(host.back.field[Profile_Name].value.isEmpty()); // only the edited side is written
}
