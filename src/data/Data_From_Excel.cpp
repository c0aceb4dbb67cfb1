#include "data/Data_From_Excel.h"

#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

namespace {
// Rows of the table by column position; edits go straight into ListData.
class TableModel : public QAbstractTableModel {
public:
    explicit TableModel(Data_From_Excel* table) : _table(table) {}
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(_table->ListData.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : _table->Column_Count();
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        if (index.row() >= _table->ListData.size())
            return {};
        return _table->ListData[index.row()].value(Data_From_Excel::Column_Key(index.column())).toString();
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || !index.isValid())
            return false;
        if (index.row() < 0 || index.row() >= _table->ListData.size()) {
            Show_NSLog_Message(QStringLiteral("pRowIndex >= 0 && pRowIndex < [ListData count]"));
            return false;
        }
        // The typed text as it is; the binding trims it when it uses it.
        _table->ListData[index.row()].insert(Data_From_Excel::Column_Key(index.column()), value.toString());
        emit dataChanged(index, index);
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return _table->Column_Titles().value(section);
        if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    void reload()
    {
        beginResetModel();
        endResetModel();
    }

private:
    Data_From_Excel* _table;
};
TableModel* g_model = nullptr;
}

const QString Data_From_Excel::Row_Number_Title = QStringLiteral("No.");

Data_From_Excel* Data_From_Excel_Window = Data_From_Excel::defaultInstance();

Data_From_Excel* Data_From_Excel::defaultInstance()
{
    static Data_From_Excel instance;
    return &instance;
}

QStringList Data_From_Excel::Column_Titles() const
{
    return QStringList{Row_Number_Title} + _dataTitles;
}

void Data_From_Excel::Set_Data_Columns(const QStringList& titles)
{
    _dataTitles = titles;
}

void Data_From_Excel::Clear()
{
    ListData.clear();
    _dataTitles.clear();
}

QString Data_From_Excel::Column_Key(int position)
{
    return position == 0 ? QStringLiteral("Extension") : QStringLiteral("Column%1").arg(position);
}

void Data_From_Excel::Create_List_By_Array(const QStringList& values, int count)
{
    if (values.size() < count) {
        Show_NSLog_Message(QStringLiteral("Create_List_By_Array: %1 values for %2 columns").arg(values.size()).arg(count));
        return;
    }
    QVariantMap row;
    row.insert(QStringLiteral("Extension"), QString::number(ListData.size() + 1));
    for (int i = 0; i < count; ++i)
        row.insert(Column_Key(i + 1), Trim_Str(values[i]));
    ListData.append(row);
}

QAbstractTableModel* Data_From_Excel::model()
{
    if (!g_model)
        g_model = new TableModel(this);
    g_model->reload();
    return g_model;
}

int Data_From_Excel::Open_Wnd()
{
    try {
        if (!window) {
            window = new QDialog;
            window->setWindowTitle(QStringLiteral("Spreadsheet Data"));
            window->resize(640, 420);
            Apply_Dialog_Background(window);
            auto* layout = new QVBoxLayout(window);
            ColList = new QTableView;
            ColList->horizontalHeader()->setDefaultSectionSize(100);
            layout->addWidget(ColList);
            auto* counts = new QHBoxLayout;
            rows_count = new QLabel;
            column_count = new QLabel;
            counts->addWidget(new QLabel(QStringLiteral("Rows:")));
            counts->addWidget(rows_count);
            counts->addWidget(new QLabel(QStringLiteral("Columns:")));
            counts->addWidget(column_count);
            counts->addStretch();
            auto* ok = new QPushButton(QStringLiteral("OK"));
            QObject::connect(ok, &QPushButton::clicked, window, [this] { OK_Click(); });
            counts->addWidget(ok);
            layout->addLayout(counts);
        }
        ColList->setModel(model());
        rows_count->setText(QString::number(ListData.size()));
        column_count->setText(QString::number(Column_Count()));
        const int code = platform::runModal(*window);
        window->hide();
        return code;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return 0;
    }
}

void Data_From_Excel::OK_Click()
{
    if (window)
        window->done(1);
}
