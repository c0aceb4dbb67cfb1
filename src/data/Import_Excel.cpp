#include "data/Import_Excel.h"

#include "data/BatchWizard.h"
#include "data/Data_From_Excel.h"
#include "data/Import_Sources.h"
#include "data/SpreadsheetFormats.h"
#include "data/SpreadsheetWriter.h"
#include "data/View_Data_Series.h"
#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

const QString Corrupted_File_Message =
    QStringLiteral("Either file is corrupted or selected file contains invalid characters.");
Import_Excel* imp_xl_Window = nullptr;

// The list of columns: a check box ("State"), the title ("Extension") and,
// for the data-set dialog, the set name ("Header"), which may be edited.
class Excel_Column_Model : public QAbstractTableModel {
public:
    Excel_Column_Model(QList<Excel_Column_Entry>* entries, bool set_names, QObject* parent)
        : QAbstractTableModel(parent), _entries(entries), _setNames(set_names)
    {
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(_entries->size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : _setNames ? 3 : 2; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= _entries->size())
            return {};
        const Excel_Column_Entry& e = (*_entries)[index.row()];
        if (index.column() == 0)
            return role == Qt::CheckStateRole ? QVariant(e.State ? Qt::Checked : Qt::Unchecked) : QVariant();
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        return index.column() == 1 ? e.Extension : e.Header;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!index.isValid() || index.row() < 0 || index.row() >= _entries->size()) {
            Show_NSLog_Message(QStringLiteral("Row %1 is outside the column list").arg(index.row()));
            return false;
        }
        Excel_Column_Entry& e = (*_entries)[index.row()];
        if (index.column() == 0 && role == Qt::CheckStateRole)
            e.State = value.toInt() == Qt::Checked;
        else if (index.column() == 2 && role == Qt::EditRole)
            e.Header = value.toString();
        else
            return false;
        emit dataChanged(index, index);
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        if (index.column() == 0)
            f |= Qt::ItemIsUserCheckable;
        if (index.column() == 2)
            f |= Qt::ItemIsEditable;
        return f;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        switch (section) {
        case 0: return QString();
        case 1: return QStringLiteral("Column");
        default: return QStringLiteral("Batch Processing Series Name");
        }
    }
    void reload()
    {
        beginResetModel();
        endResetModel();
    }

private:
    QList<Excel_Column_Entry>* _entries;
    bool _setNames;
};

QString Choose_Spreadsheet_File()
{
    SpreadsheetWriter::Release_Data();
    platform::PanelRequest request;
    request.title = QStringLiteral("Choose Spreadsheet");
    request.extensions = {QStringLiteral("xlsx"), QStringLiteral("ods"), QStringLiteral("xml")};
    const platform::PanelResult chosen = platform::runPanel(request);
    return chosen.accepted && !chosen.path().isEmpty() ? chosen.path() : QString();
}

// ---------------------------------------------------------------- shared dialog

Excel_Column_Dialog::Excel_Column_Dialog(bool set_names, QWidget* parent)
    : QDialog(parent)
{
    Apply_Dialog_Background(this);
    resize(520, 480);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    file_path = new QLineEdit;
    file_path->setReadOnly(true);
    Sheet_ComboBox = new QComboBox;
    form->addRow(QStringLiteral("Spreadsheet:"), file_path);
    form->addRow(QStringLiteral("Worksheet:"), Sheet_ComboBox);
    layout->addLayout(form);
    contains_header = new QCheckBox(QStringLiteral("The first row holds the column titles"));
    layout->addWidget(contains_header);

    model = new Excel_Column_Model(&ListData_xl, set_names, this);
    ColList = new QTableView;
    ColList->setModel(model);
    ColList->verticalHeader()->hide();
    ColList->horizontalHeader()->setStretchLastSection(true);
    ColList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ColList->setColumnWidth(0, 28);
    ColList->setColumnWidth(1, 200);
    ColList->setSelectionMode(QAbstractItemView::NoSelection);
    ColList->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                             | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    layout->addWidget(ColList, 1);

    auto* ticks = new QHBoxLayout;
    auto* all = new QPushButton(QStringLiteral("Select All"));
    auto* none = new QPushButton(QStringLiteral("Clear All"));
    ticks->addWidget(all);
    ticks->addWidget(none);
    ticks->addStretch();
    layout->addLayout(ticks);
    ownControls = new QVBoxLayout;
    layout->addLayout(ownControls);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    for (QPushButton* b : {all, none, cancel})
        b->setAutoDefault(false);

    connect(all, &QPushButton::clicked, this, &Excel_Column_Dialog::Select_ALL_Pressed);
    connect(none, &QPushButton::clicked, this, &Excel_Column_Dialog::Clear_All_Pressed);
    connect(cancel, &QPushButton::clicked, this, &Excel_Column_Dialog::CancelPressed);
    connect(ok, &QPushButton::clicked, this, &Excel_Column_Dialog::OKPressed);
    connect(Sheet_ComboBox, &QComboBox::activated, this, [this] { comboBoxSelectionDidChange(Sheet_ComboBox); });
}

int Excel_Column_Dialog::Open_excel_Wnd(const QString& path)
{
    try {
        Excel_Sheet_Number = 1;
        file_path->setText(path);
        contains_header->setChecked(true);
        ListData_xl.clear();
        Reload_List();
        {
            const QSignalBlocker block(Sheet_ComboBox);
            Sheet_ComboBox->clear();
        }
        excel_content.clear();
        Opening();
        if (!Load_file_Func(path))
            return 0;
        const int code = platform::runModal(*this);
        hide();
        return code;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        hide();
        return 0;
    }
}

bool Excel_Column_Dialog::Load_file_Func(const QString& path)
{
    QString error;
    // OpenDocument and XML-2003 files are read whole at once, their first
    // sheet only; xlsx workbooks sheet by sheet.
    other_format = SpreadsheetFormats::Handles(path);
    other_rows.clear();
    QString otherSheet;
    {
        const Please_Wait wait;
        if (other_format)
            other_rows = SpreadsheetFormats::Read(path, &error, &otherSheet);
        else
            SpreadsheetWriter::ReadWorkbook(path, true, &error);
    }
    if (!error.isNull()) {
        Show_MessageBox(Corrupted_File_Message);
        return false;
    }
    // The one sheet of another format read under its own name.
    if (other_format && otherSheet.isEmpty())
        otherSheet = QStringLiteral("Sheet1");
    const QStringList sheets = other_format ? QStringList{otherSheet} : SpreadsheetWriter::Read_Sheet_Name();
    {
        const QSignalBlocker block(Sheet_ComboBox);
        Sheet_ComboBox->addItems(sheets);
        Sheet_ComboBox->setCurrentIndex(sheets.isEmpty() ? -1 : 0);
    }
    if (!sheets.isEmpty())
        comboBoxSelectionDidChange(Sheet_ComboBox);
    Loaded();
    return true;
}

void Excel_Column_Dialog::comboBoxSelectionDidChange(QComboBox* combo)
{
    if (combo != Sheet_ComboBox)
        return;
    try {
        Excel_Sheet_Number = Sheet_ComboBox->currentIndex() + 1;
        QString error;
        {
            const Please_Wait wait;
            excel_content = other_format ? Other_Title_Row() : SpreadsheetWriter::ReadData_only_column(&error);
        }
        // The list shows the chosen worksheet's columns, none for an empty one.
        ListData_xl.clear();
        if (!excel_content.isEmpty())
            for (const QString& title : std::as_const(excel_content.first()))
                Create_List(title, 0, title);
        Reload_List();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

QList<QStringList> Excel_Column_Dialog::Other_Title_Row() const
{
    if (other_rows.isEmpty())
        return {};
    qsizetype columns = 1;
    for (const QStringList& row : other_rows)
        columns = std::max(columns, row.size());
    Excel_Sheet_Columns = int(columns);
    QStringList titles = other_rows.first();
    while (titles.size() < columns)
        titles.append(QString()); // listed as "Untitled Column n"
    return {titles};
}

void Excel_Column_Dialog::Create_List(const QString& title, int state, const QString& datasetname)
{
    const QString placeholder = QStringLiteral("Untitled Column %1").arg(ListData_xl.size() + 1);
    QString shown = Trim_Str(title);
    if (shown.isEmpty())
        shown = placeholder;
    QString set = datasetname.isNull() ? shown : datasetname;
    if (Trim_Str(set).isEmpty())
        set = shown;
    ListData_xl.append({state != 0, shown, set});
}

void Excel_Column_Dialog::Reload_List()
{
    model->reload();
}

void Excel_Column_Dialog::Select_ALL_Pressed()
{
    for (Excel_Column_Entry& e : ListData_xl)
        e.State = true;
    Reload_List();
}

void Excel_Column_Dialog::Clear_All_Pressed()
{
    for (Excel_Column_Entry& e : ListData_xl)
        e.State = false;
    Reload_List();
}

bool Excel_Column_Dialog::Check_For_One_Extension_Selection() const
{
    for (const Excel_Column_Entry& e : ListData_xl)
        if (e.State)
            return true;
    return false;
}

int Excel_Column_Dialog::Get_Selection_State(int position) const
{
    if (position < 0 || position >= ListData_xl.size()) {
        Show_NSLog_Message(QStringLiteral("Column %1 is outside the column list").arg(position));
        return 0;
    }
    return ListData_xl[position].State ? 1 : 0;
}

QList<int> Excel_Column_Dialog::Ticked_Positions() const
{
    QList<int> positions;
    for (int i = 0; i < ListData_xl.size(); ++i)
        if (ListData_xl[i].State)
            positions << i;
    return positions;
}

bool Excel_Column_Dialog::Columns_Chosen()
{
    if (ListData_xl.isEmpty()) {
        Show_MessageBox(QStringLiteral("There is no column."));
        return false;
    }
    if (!Check_For_One_Extension_Selection()) {
        Show_MessageBox(QStringLiteral("No column is selected."));
        return false;
    }
    return true;
}

std::optional<QList<QStringList>> Excel_Column_Dialog::Read_Data_Rows(const QString& no_data)
{
    QString error;
    {
        const Please_Wait wait;
        excel_content = other_format ? other_rows : SpreadsheetWriter::ReadWorkbook(file_path->text(), false, &error);
    }
    QList<QStringList> rows = excel_content.mid(contains_header->isChecked() ? 1 : 0);
    if (!error.isNull() || rows.isEmpty()) {
        Show_MessageBox(no_data);
        return std::nullopt;
    }
    return rows;
}

void Excel_Column_Dialog::CancelPressed()
{
    excel_content.clear();
    done(0);
}

// ---------------------------------------------------------------- the column picker

Import_Excel* Import_Excel::defaultInstance()
{
    static Import_Excel* instance = [] {
        auto* dialog = new Import_Excel;
        imp_xl_Window = dialog;
        return dialog;
    }();
    return instance;
}

Import_Excel::Import_Excel(QWidget* parent)
    : Excel_Column_Dialog(false, parent)
{
    setWindowTitle(QStringLiteral("Import Spreadsheet Columns"));
}

void Import_Excel::OKPressed()
{
    try {
        if (!Columns_Chosen())
            return;
        const QString path = file_path->text();
        const bool imported = open_mode == QLatin1String("D") ? Insert_file_Func(path) : Create_Excel_List_Func(path);
        excel_content.clear();
        if (imported)
            done(1);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

bool Import_Excel::Insert_file_Func(const QString& /*path*/)
{
    const auto rows = Read_Data_Rows(Corrupted_File_Message);
    if (!rows)
        return false;
    const QList<int> ticked = Ticked_Positions();
    BatchWizard* manager = BatchWizard::defaultInstance();
    for (const QStringList& row : *rows)
        for (int p : ticked)
            manager->Create_Value_List(Cell_Value(row.value(p)));
    return true;
}

bool Import_Excel::Create_Excel_List_Func(const QString& /*path*/)
{
    const auto rows = Read_Data_Rows(Corrupted_File_Message);
    if (!rows)
        return false;
    // The table's columns are the ticked ones, under the titles the list
    // showed; the k-th ticked column is "Column<k>".
    const QList<int> ticked = Ticked_Positions();
    QStringList titles;
    for (int p : ticked)
        titles << ListData_xl[p].Extension;
    Data_From_Excel* table = Data_From_Excel_Window;
    table->Set_Data_Columns(titles);
    table->ListData.clear();
    for (const QStringList& row : *rows) {
        if (row.isEmpty())
            continue;
        QStringList cells;
        for (int p : ticked)
            cells << Trim_Str(row.value(p));
        table->Create_List_By_Array(cells, int(cells.size()));
    }
    table->model();
    return true;
}
