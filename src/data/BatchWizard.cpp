#include "data/BatchWizard.h"

#include "data/DataSetFiles.h"
#include "data/SpreadsheetFormats.h"
#include "data/SpreadsheetWriter.h"
#include "data/View_Data_Series.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

BatchWizard* BatchWizard_Window = nullptr;

namespace {
const QString kListEmpty = QStringLiteral("List is empty.");
const QString kFileError = QStringLiteral("Error in file accessing.");
const QString kInUseDelete = QStringLiteral("Batch Processing Series can't be delete because it is currently in use.");
const QString kInUseUpdate = QStringLiteral("Batch Processing Series can't be update because it is currently in use.");

QString reason(const std::exception& e) { return QString::fromUtf8(e.what()); }

// The selected rows of a table, in ascending order.
QList<int> selectedRows(const QTableView* table)
{
    QList<int> rows;
    for (const QModelIndex& index : table->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The row a table reports as selected: the one selected last; -1 for none.
int selectedRow(const QTableView* table)
{
    const QModelIndex current = table->selectionModel()->currentIndex();
    if (current.isValid() && table->selectionModel()->isRowSelected(current.row(), {}))
        return current.row();
    const QList<int> rows = selectedRows(table);
    return rows.isEmpty() ? -1 : rows.last();
}

void selectOnly(QTableView* table, int row)
{
    const QModelIndex index = table->model()->index(row, 0);
    table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
}

BatchWizard* BatchWizard::defaultInstance()
{
    static BatchWizard* instance = new BatchWizard;
    return instance;
}

BatchWizard::BatchWizard(QWidget* parent)
    : QDialog(parent)
{
    BatchWizard_Window = this;
    setWindowTitle(QStringLiteral("Batch Processing Series"));
    Apply_Dialog_Background(this);
    resize(560, 460);
    listModel = new Value_List_Model(&ListData, QStringLiteral("Batch Processing Series"), this);
    valueModel = new Value_List_Model(&ListData_value, QStringLiteral("Value"), this);

    auto button = [this](QVBoxLayout* box, const QString& title, void (BatchWizard::*slot)()) {
        auto* b = new QPushButton(title);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        box->addWidget(b);
        return b;
    };
    auto* layout = new QHBoxLayout(this);

    // First screen: the sets.
    avl_list_box = new QGroupBox(QStringLiteral("Available Batch Processing Series"));
    auto* sets = new QVBoxLayout(avl_list_box);
    List = listModel->Make_Table();
    batch_list_count = new QLabel;
    sets->addWidget(List);
    sets->addWidget(batch_list_count);
    btn_box1 = new QWidget;
    auto* buttons1 = new QVBoxLayout(btn_box1);
    buttons1->setContentsMargins(0, 0, 0, 0);
    button(buttons1, QStringLiteral("New"), &BatchWizard::AddNew_Btn_Clicked);
    button(buttons1, QStringLiteral("Edit"), &BatchWizard::Update_Btn_Clicked);
    importButton = button(buttons1, QStringLiteral("Import..."), &BatchWizard::Import_Btn_Clicked);
    seriesButton = button(buttons1, QStringLiteral("Create Series..."), &BatchWizard::CreateSeries_Btn_Clicked);
    button(buttons1, QStringLiteral("Delete"), &BatchWizard::Delete_List_Btn_Clicked);
    buttons1->addStretch();
    button(buttons1, QStringLiteral("Help"), &BatchWizard::Help_Btn_Clicked);
    button(buttons1, QStringLiteral("Close"), &BatchWizard::Close_Btn_Clicked);

    // Second screen: the values of one set.
    list_value_box = new QGroupBox(QStringLiteral("Batch Processing Series"));
    auto* values = new QVBoxLayout(list_value_box);
    auto* nameRow = new QFormLayout;
    batch_list_name = new QLineEdit;
    nameRow->addRow(QStringLiteral("Name:"), batch_list_name);
    values->addLayout(nameRow);
    update_list_name = new QLineEdit;
    update_list_name->hide();
    List_value = valueModel->Make_Table();
    batch_value_count = new QLabel;
    values->addWidget(List_value);
    values->addWidget(batch_value_count);
    btn_box2 = new QWidget;
    auto* buttons2 = new QVBoxLayout(btn_box2);
    buttons2->setContentsMargins(0, 0, 0, 0);
    importValueButton = button(buttons2, QStringLiteral("Import..."), &BatchWizard::Import_Value_Btn_Clicked);
    seriesValueButton = button(buttons2, QStringLiteral("Create Series..."), &BatchWizard::Series_Value_Btn_Clicked);
    button(buttons2, QStringLiteral("Delete Rows"), &BatchWizard::Delete_Rows_Btn_Clicked);
    button(buttons2, QStringLiteral("Export..."), &BatchWizard::Export_Value_Btn_Clicked);
    button(buttons2, QStringLiteral("Save"), &BatchWizard::Save_Btn_Clicked);
    buttons2->addStretch();
    button(buttons2, QStringLiteral("Back"), &BatchWizard::Back_Btn_Clicked);
    button(buttons2, QStringLiteral("Help"), &BatchWizard::Help_2_Btn_Clicked);
    button(buttons2, QStringLiteral("Close"), &BatchWizard::Close_2_Btn_Clicked);

    layout->addWidget(avl_list_box, 1);
    layout->addWidget(btn_box1);
    layout->addWidget(list_value_box, 1);
    layout->addWidget(btn_box2);
    connect(List, &QTableView::doubleClicked, this, [this] { doubleClickInTable(List); });
    connect(List_value, &QTableView::doubleClicked, this, [this] { doubleClickInTable(List_value); });

    Update_batch_List_Count();
    Update_Value_List_Count();
    Show_hide_Last_screen(true);
}

// ---------------------------------------------------------------- lists and screens

void BatchWizard::Open_Wnd()
{
    try {
        Check_Path_And_Create_Files();
        Enable_Fill_Buttons();
        Show_hide_Last_screen(true);
        Show_hide_first_screen(false);
        Fill_List();
        platform::runModal(*this);
        hide();
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

void BatchWizard::Fill_List()
{
    ListData.clear();
    Update_batch_List_Count();
    for (const QString& name : Data_Set_Listing(Data_Folder_Path))
        Create_Avail_List(name);
}

void BatchWizard::Create_Avail_List(const QString& name)
{
    const QString n = Trim_Str(name);
    if (n.isEmpty())
        return;
    ListData.append(n);
    listModel->appended();
    batch_list_count->setText(QStringLiteral("Total List : %1").arg(ListData.size()));
}

void BatchWizard::Create_Value_List(const QString& value)
{
    const QString v = Trim_Str(value);
    if (v.isEmpty())
        return;
    ListData_value.append(v);
    valueModel->appended();
    batch_value_count->setText(QStringLiteral("Total Rows : %1").arg(ListData_value.size()));
}

QString BatchWizard::Get_List_Name_Text(int row) const
{
    return Trim_Str(ListData.value(row));
}

void BatchWizard::Update_batch_List_Count()
{
    listModel->reload();
    batch_list_count->setText(QStringLiteral("Total List : %1").arg(ListData.size()));
}

void BatchWizard::Update_Value_List_Count()
{
    valueModel->reload();
    batch_value_count->setText(QStringLiteral("Total Rows : %1").arg(ListData_value.size()));
}

void BatchWizard::Mark_List_New_Selection(int row)
{
    selectOnly(List, row);
}

void BatchWizard::Mark_List_New_Selection_Value(int row)
{
    selectOnly(List_value, row);
}

void BatchWizard::Show_hide_first_screen(bool hide)
{
    avl_list_box->setVisible(!hide);
    btn_box1->setVisible(!hide);
    if (!hide)
        update_list_name->clear();
}

void BatchWizard::Show_hide_Last_screen(bool hide)
{
    list_value_box->setVisible(!hide);
    btn_box2->setVisible(!hide);
}

bool BatchWizard::In_Use(const QString& name) const
{
    return user && !name.isEmpty() && user->Check_Batch_File_In_Use_Validation(name);
}

void BatchWizard::Enable_Fill_Buttons()
{
    importButton->setEnabled(bool(Open_Import_Wizard));
    importValueButton->setEnabled(bool(Open_Import_Wizard));
    seriesButton->setEnabled(bool(Open_Generate_List));
    seriesValueButton->setEnabled(bool(Open_Generate_List));
}

// ---------------------------------------------------------------- sets

bool BatchWizard::Batch_List_Selection_Validation()
{
    if (ListData.isEmpty()) {
        Show_MessageBox(QStringLiteral("Available list is empty."));
        return false;
    }
    const int row = selectedRow(List);
    if (row < 0 || Get_List_Name_Text(row).isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select a record from the available list to continue."));
        List->setFocus();
        return false;
    }
    return true;
}

void BatchWizard::On_Update()
{
    try {
        if (!Batch_List_Selection_Validation())
            return;
        const QString name = Get_List_Name_Text(selectedRow(List));
        // The set is edited only when its file may be read and written.
        const QString path = Data_Set_File_Path(name);
        QFile probe(path);
        if (path.isEmpty() || !probe.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
            Show_NSLog_Message(QStringLiteral("Cannot open the Batch Processing Series \"%1\": %2").arg(name, probe.errorString()));
            Show_MessageBox(kFileError);
            return;
        }
        probe.close();
        Show_hide_first_screen(true);
        Show_hide_Last_screen(false);
        batch_list_name->setText(name);
        update_list_name->setText(name);
        {
            const Please_Wait wait;
            ListData_value = Data_Set_Shown_Values(name).value_or(QStringList());
        }
        Update_Value_List_Count();
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

void BatchWizard::AddNew_Btn_Clicked()
{
    Show_hide_first_screen(true);
    Show_hide_Last_screen(false);
    update_list_name->clear();
    batch_list_name->setText(QStringLiteral("Untitled"));
    ListData_value.clear();
    Update_Value_List_Count();
    batch_list_name->setFocus();
    batch_list_name->selectAll();
}

void BatchWizard::Update_Btn_Clicked()
{
    On_Update();
}

void BatchWizard::Delete_List_Btn_Clicked()
{
    try {
        if (!Batch_List_Selection_Validation())
            return;
        const int reported = selectedRow(List);
        if (In_Use(Get_List_Name_Text(reported))) {
            Show_MessageBox(kInUseDelete);
            return;
        }
        if (!Show_YES_NO_MessageBox(QStringLiteral("Are you sure want to delete selected Batch Processing Series?")))
            return;
        const QList<int> rows = selectedRows(List);
        bool metInUse = false;
        for (int row : rows) {
            const QString name = Get_List_Name_Text(row);
            if (In_Use(name)) {
                metInUse = true;
                if (!Msg_Apply_All_Chk) {
                    Show_MessageBox(kInUseDelete);
                    break;
                }
                continue;
            }
            Delete_File(Data_Set_File_Path(name));
        }
        if (metInUse) {
            // Some sets went, some stayed: the list shows what the folder holds.
            Fill_List();
            return;
        }
        for (auto it = rows.crbegin(); it != rows.crend(); ++it)
            ListData.removeAt(*it);
        Update_batch_List_Count();
        if (reported >= 1 && reported - 1 < ListData.size())
            Mark_List_New_Selection(reported - 1);
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

void BatchWizard::Import_Btn_Clicked()
{
    if (Open_Import_Wizard)
        Open_Import_Wizard(1, 1);
}

void BatchWizard::CreateSeries_Btn_Clicked()
{
    if (Open_Generate_List)
        Open_Generate_List(1, 1);
}

void BatchWizard::Close_Btn_Clicked()
{
    done(0);
}

void BatchWizard::Help_Btn_Clicked()
{
    Open_Help_File();
}

// ---------------------------------------------------------------- values

void BatchWizard::OnGetSelected()
{
    try {
        const int row = selectedRow(List_value);
        if (ListData_value.isEmpty() || row < 0)
            return;
        Update_Ex_Num* sheet = Update_Ex_Num::defaultInstance();
        const QString value = Trim_Str(ListData_value[row]);
        sheet->m_ex_num_str->setText(value);
        sheet->m_s_number->setText(value);
        sheet->m_ex_num_index->setText(QString::number(row));
        sheet->m_ex_num_str->setFocus();
        sheet->m_ex_num_str->selectAll();
        platform::runModal(*sheet);
        sheet->hide();
        Mark_List_New_Selection_Value(row);
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

void BatchWizard::doubleClickInTable(QTableView* sender)
{
    const QList<int> rows = selectedRows(sender);
    if (rows.isEmpty())
        return;
    if (rows.size() > 1) {
        Show_MessageBox(QStringLiteral("Please select only one record to update."));
        return;
    }
    if (sender == List)
        On_Update();
    else if (sender == List_value)
        OnGetSelected();
}

void BatchWizard::Delete_Rows_Btn_Clicked()
{
    if (ListData_value.isEmpty()) {
        Show_MessageBox(kListEmpty);
        List_value->setFocus();
        return;
    }
    const QList<int> rows = selectedRows(List_value);
    if (rows.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select at least one record from the list to continue."));
        List_value->setFocus();
        return;
    }
    const int reported = selectedRow(List_value);
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        ListData_value.removeAt(*it);
    Update_Value_List_Count();
    if (reported >= 1 && reported - 1 < ListData_value.size())
        Mark_List_New_Selection_Value(reported - 1);
}

bool BatchWizard::Make_Room_For_Values()
{
    if (ListData_value.isEmpty())
        return true;
    Load_Num_Info* sheet = Load_Num_Info::defaultInstance();
    const int code = platform::runModal(*sheet);
    sheet->hide();
    if (code == 1) {
        ListData_value.clear();
        Update_Value_List_Count();
    }
    return code == 1 || code == 0;
}

void BatchWizard::Import_Value_Btn_Clicked()
{
    if (Open_Import_Wizard && Make_Room_For_Values())
        Open_Import_Wizard(0, 1);
}

void BatchWizard::Series_Value_Btn_Clicked()
{
    if (Open_Generate_List && Make_Room_For_Values())
        Open_Generate_List(0, 1);
}

void BatchWizard::Export_Value_Btn_Clicked()
{
    try {
        if (ListData_value.isEmpty()) {
            Show_MessageBox(kListEmpty);
            List_value->setFocus();
            return;
        }
        platform::PanelRequest request;
        request.kind = platform::PanelRequest::Save;
        request.title = QStringLiteral("Export Batch Processing Series");
        request.fileName = Trim_Str(batch_list_name->text());
        request.extensions = {QStringLiteral("xlsx"), QStringLiteral("txt"), QStringLiteral("ods"), QStringLiteral("xml")};
        request.typeChoices = request.extensions;
        request.typeChoice = 0;
        const platform::PanelResult chosen = platform::runPanel(request);
        if (!chosen.accepted || chosen.path().isEmpty())
            return;
        raise();
        // The chosen type decides the format and the extension (the panel has
        // put it in place of whatever was typed).
        const QString type = request.extensions.value(chosen.typeChoice, request.extensions.first());
        const QString path = chosen.path();
        Export_File_Path = path;
        bool written = false;
        {
            const Please_Wait wait;
            QList<QStringList> rows{{QStringLiteral("Batch Value")}};
            for (const QString& value : std::as_const(ListData_value))
                rows.append({value});
            if (type == QLatin1String("xlsx"))
                written = SpreadsheetWriter::WriteWorkbook(path, rows, false);
            else if (type == QLatin1String("ods"))
                written = SpreadsheetFormats::WriteODS(path, rows, false);
            else if (type == QLatin1String("xml"))
                written = SpreadsheetFormats::WriteWorksheetXML2004(path, rows);
            else
                written = Write_Text_Lines(path, ListData_value, false);
        }
        if (!written) {
            Show_MessageBox(kFileError);
            return;
        }
        raise();
        Export_File_Message = QStringLiteral("Record has been exported successfully.");
        Export_File_Path = path;
        if (user)
            user->Open_Export_File_Box();
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
        Show_MessageBox(kFileError);
    }
}

void BatchWizard::Save_Btn_Clicked()
{
    try {
        if (ListData_value.isEmpty()) {
            Show_MessageBox(kListEmpty);
            List_value->setFocus();
            return;
        }
        const QString typed = batch_list_name->text();
        const QString old = update_list_name->text();
        const QString name = Remove_Reserve_Char_In_File_Name(typed);
        const QString path = Data_Set_File_Path(name);
        if (path.isEmpty()) {
            Show_MessageBox(Invalid_Data_Set_Name_Message);
            batch_list_name->setFocus();
            return;
        }
        // A set the card is bound to keeps its values, whether it was loaded
        // here or is about to be written over.
        if (In_Use(old) || In_Use(name)) {
            Show_MessageBox(kInUseUpdate);
            return;
        }
        const bool exists = QFileInfo::exists(path);
        if (exists && typed != old
            && !Show_YES_NO_MessageBox(QStringLiteral("Batch Processing Series already exists. Do you want to replace it?")))
            return;
        // Saved under a name no set has: the set moves there, once it is written.
        const QString oldPath = old.isEmpty() ? QString() : Data_Set_File_Path(old);
        const bool moving = !exists && typed != old && !oldPath.isEmpty() && QFileInfo::exists(oldPath);
        Export_File_Path = path;
        // Every value is written, empty ones too, so each stays on its row.
        QStringList values;
        for (const QString& value : std::as_const(ListData_value))
            values << Trim_Str(value);
        bool written = false;
        {
            const Please_Wait wait;
            written = Write_Data_Set(name, values, false);
        }
        if (!written) {
            Show_MessageBox(kFileError);
            return;
        }
        if (moving)
            Delete_File(oldPath);
        raise();
        Show_hide_Last_screen(true);
        Show_hide_first_screen(false);
        Fill_List();
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
        Show_MessageBox(kFileError);
    }
}

void BatchWizard::Back_Btn_Clicked()
{
    Show_hide_Last_screen(true);
    Show_hide_first_screen(false);
}

void BatchWizard::Close_2_Btn_Clicked()
{
    done(0);
}

void BatchWizard::Help_2_Btn_Clicked()
{
    Open_Help_File();
}
