#include "data/Import_Excel_DataSheet.h"

#include "data/BatchWizard.h"
#include "data/DataSetFiles.h"
#include "data/Import_Sources.h"
#include "data/Value_Delivery.h"
#include "data/View_Data_Series.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/LookAndFeel.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

namespace {
const QString kNoSheetData = QStringLiteral(
    "There is no data in selected sheet.\nPlease select another Sheet/Excel File.\nEither file is corrupted or "
    "selected file contains invalid characters.");
}

Import_Excel_DataSheet* Import_Excel_DataSheet::defaultInstance()
{
    static Import_Excel_DataSheet* instance = new Import_Excel_DataSheet;
    return instance;
}

Import_Excel_DataSheet::Import_Excel_DataSheet(QWidget* parent)
    : Excel_Column_Dialog(true, parent)
{
    setWindowTitle(QStringLiteral("Import Spreadsheet Columns as Batch Processing Series"));
    Each_col_RD = new QRadioButton(QStringLiteral("Each column becomes a Batch Processing Series"));
    Fill_col_RD = new QRadioButton(QStringLiteral("All columns go into one Batch Processing Series"));
    ownControls->addWidget(Each_col_RD);
    ownControls->addWidget(Fill_col_RD);

    fill_box = new QGroupBox;
    auto* box = new QVBoxLayout(fill_box);
    matrix_fill_type = new QButtonGroup(this);
    auto* choices = new QHBoxLayout;
    int id = 0;
    for (const char* text : {"New", "Replace", "Append"}) {
        auto* b = new QRadioButton(QString::fromLatin1(text));
        matrix_fill_type->addButton(b, id++);
        choices->addWidget(b);
    }
    choices->addStretch();
    box->addLayout(choices);
    list_name = new QLineEdit;
    List_ComboBox = new QComboBox;
    nameRow = Field_With_Caption(QStringLiteral("New series name:"), list_name);
    setRow = Field_With_Caption(QStringLiteral("Series:"), List_ComboBox);
    box->addWidget(nameRow);
    box->addWidget(setRow);
    ownControls->addWidget(fill_box);

    connect(Each_col_RD, &QRadioButton::clicked, this, &Import_Excel_DataSheet::Each_Col_RD_Click);
    connect(Fill_col_RD, &QRadioButton::clicked, this, &Import_Excel_DataSheet::Fill_Col_RD_Click);
    connect(matrix_fill_type, &QButtonGroup::idClicked, this, &Import_Excel_DataSheet::Fill_Type_CellClick);
}

void Import_Excel_DataSheet::Opening()
{
    matrix_fill_type->button(0)->setChecked(true);
    fill_col_option = 0;
    Each_col_RD->setChecked(true);
    Fill_col_RD->setChecked(false);
    nameRow->show();
    setRow->hide();
    SetObjEnabled(fill_box, false);
    Show_Set_Name_Column();
    List_ComboBox->clear();
    list_name->clear();
}

void Import_Excel_DataSheet::Show_Set_Name_Column()
{
    ColList->setColumnHidden(2, !Each_col_RD->isChecked());
}

void Import_Excel_DataSheet::Loaded()
{
    const QStringList sets = Data_Set_Listing(Data_Folder_Path);
    List_ComboBox->addItems(sets);
    List_ComboBox->setCurrentIndex(sets.isEmpty() ? -1 : 0);
}

void Import_Excel_DataSheet::Each_Col_RD_Click()
{
    Each_col_RD->setChecked(true);
    Fill_col_RD->setChecked(false);
    SetObjEnabled(fill_box, false);
    Show_Set_Name_Column();
}

void Import_Excel_DataSheet::Fill_Col_RD_Click()
{
    Each_col_RD->setChecked(false);
    Fill_col_RD->setChecked(true);
    SetObjEnabled(fill_box, true);
    Show_Set_Name_Column();
}

void Import_Excel_DataSheet::Fill_Type_CellClick()
{
    fill_col_option = std::max(0, matrix_fill_type->checkedId());
    const bool named = fill_col_option == 0;
    nameRow->setVisible(named);
    setRow->setVisible(!named);
}

int Import_Excel_DataSheet::askLong(const QString& title, const QString& text, bool show_apply, bool* apply_all,
                                    bool inform)
{
    *apply_all = false;
    if (Ask_Long_Message)
        return Ask_Long_Message(title, text, show_apply, apply_all);
    if (inform) {
        Show_MessageBox(text);
        return 1;
    }
    return Show_YES_NO_MessageBox(text) ? 1 : 0;
}

void Import_Excel_DataSheet::OKPressed()
{
    try {
        if (!Columns_Chosen())
            return;
        const QString path = file_path->text();
        if (Each_col_RD->isChecked()) {
            if (Create_file_For_Col_Func(path)) {
                excel_content.clear();
                done(1);
            }
            return;
        }
        if (fill_col_option != 0 && Trim_Str(List_ComboBox->currentText()).isEmpty()) {
            Show_MessageBox(QStringLiteral("Please select list name."));
            return;
        }
        if (fill_col_option == 0 && Trim_Str(list_name->text()).isEmpty()) {
            Show_MessageBox(QStringLiteral("Please enter list name."));
            list_name->setFocus();
            return;
        }
        if (Insert_file_Func(path))
            excel_content.clear();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

bool Import_Excel_DataSheet::Create_file_For_Col_Func(const QString& /*path*/)
{
    // Every ticked column must make a set of its own inside the data-set
    // folder before anything is written.
    const QList<int> ticked = Ticked_Positions();
    QStringList names;
    for (int p : ticked) {
        const Excel_Column_Entry& e = ListData_xl[p];
        const QString name = Remove_Reserve_Char_In_File_Name(Trim_Str(e.Header));
        if (Data_Set_File_Path(name).isEmpty()) {
            Show_MessageBox(QStringLiteral("The column \"%1\" cannot become the Batch Processing Series \"%2\".\n%3")
                                .arg(e.Extension, Trim_Str(e.Header), Invalid_Data_Set_Name_Message));
            return false;
        }
        if (const qsizetype twin = names.indexOf(name); twin >= 0) {
            Show_MessageBox(QStringLiteral("The columns \"%1\" and \"%2\" would both become the Batch Processing "
                                           "Series \"%3\". Please give one of them another name.")
                                .arg(ListData_xl[ticked[twin]].Extension, e.Extension, name));
            return false;
        }
        names << name;
    }
    const auto rows = Read_Data_Rows(kNoSheetData);
    if (!rows)
        return false;

    // The answers given with "apply to all" hold for the rest of this run only.
    bool replaceAll = false, quietInUse = false;
    const bool several = ticked.size() > 1;
    BatchWizard* manager = BatchWizard::defaultInstance();
    QStringList failed;
    for (qsizetype i = 0; i < ticked.size(); ++i) {
        const QString& name = names[i];
        if (QFileInfo::exists(Data_Set_File_Path(name))) {
            bool apply = false;
            if (manager->In_Use(name)) {
                // A set the design is bound to is never replaced.
                if (!quietInUse
                    && askLong(QStringLiteral("Message :"), Data_Set_In_Use_Message(name), several, &apply, true) == 1)
                    quietInUse = apply;
                continue;
            }
            if (!replaceAll) {
                const int code = askLong(QStringLiteral("Batch Processing Series already exists :"),
                                         name + QStringLiteral("\nBatch Processing Series already exists. Do you want "
                                                               "to replace it?"),
                                         several, &apply, false);
                if (code != 1)
                    continue;
                replaceAll = apply;
            }
        }
        QStringList values;
        for (const QStringList& row : *rows)
            values << Cell_Value(row.value(ticked[i]));
        bool written = false;
        {
            const Please_Wait wait;
            written = Write_Data_Set(name, values, false);
        }
        if (!written)
            failed << name;
    }
    if (file_name_Insert == 1)
        manager->Fill_List();
    if (!failed.isEmpty())
        Show_MessageBox(QStringLiteral("Error in file accessing.\n%1").arg(failed.join('\n')));
    return true;
}

bool Import_Excel_DataSheet::Insert_file_Func(const QString& /*path*/)
{
    QString name;
    if (fill_col_option == 0) {
        name = Accept_New_Data_Set_Name(list_name->text(), true);
        if (name.isNull())
            return false;
    } else {
        name = Remove_Reserve_Char_In_File_Name(List_ComboBox->currentText());
        if (Data_Set_File_Path(name).isEmpty()) {
            Show_MessageBox(Invalid_Data_Set_Name_Message);
            return false;
        }
        if (fill_col_option == 1 && BatchWizard::defaultInstance()->In_Use(name)) {
            Show_MessageBox(Data_Set_In_Use_Message(name));
            return false;
        }
    }
    const auto rows = Read_Data_Rows(Corrupted_File_Message);
    if (!rows)
        return false;
    const QList<int> ticked = Ticked_Positions();
    QStringList values;
    for (const QStringList& row : *rows)
        for (int p : ticked)
            values << Cell_Value(row.value(p));
    if (!Deliver_Values(1, file_name_Insert, name, values, fill_col_option == 2))
        return false;
    done(1);
    return true;
}
