#include "data/View_Data_Series.h"

#include "data/BatchWizard.h"
#include "data/DataSetFiles.h"
#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

namespace {
QString reason(const std::exception& e) { return QString::fromUtf8(e.what()); }
}

// ---------------------------------------------------------------- shared pieces

Value_List_Model::Value_List_Model(const QStringList* rows, const QString& title, QObject* parent)
    : QAbstractTableModel(parent), _rows(rows), _title(title)
{
}

int Value_List_Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(_rows->size());
}

int Value_List_Model::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant Value_List_Model::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    if (index.row() >= _rows->size()) {
        Show_NSLog_Message(QStringLiteral("Row %1 is outside the list of %2").arg(index.row()).arg(_rows->size()));
        return {};
    }
    return _rows->at(index.row());
}

QVariant Value_List_Model::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == 0)
        return _title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

void Value_List_Model::reload()
{
    beginResetModel();
    endResetModel();
}

void Value_List_Model::appended()
{
    const int row = int(_rows->size()) - 1;
    beginInsertRows({}, row, row);
    endInsertRows();
}

QTableView* Value_List_Model::Make_Table()
{
    auto* table = new QTableView;
    table->setModel(this);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return table;
}

Please_Wait::Please_Wait()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

Please_Wait::~Please_Wait()
{
    QApplication::restoreOverrideCursor();
}

// ---------------------------------------------------------------- viewer

View_Data_Series* View_Data_Series::defaultInstance()
{
    static View_Data_Series* instance = new View_Data_Series;
    return instance;
}

View_Data_Series::View_Data_Series(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Batch Processing Series"));
    Apply_Dialog_Background(this);
    resize(360, 440);
    model = new Value_List_Model(&ListData, QStringLiteral("Value"), this);
    auto* layout = new QVBoxLayout(this);
    series_name = new QLabel;
    QFont bold = series_name->font();
    bold.setBold(true);
    series_name->setFont(bold);
    layout->addWidget(series_name);
    List = model->Make_Table();
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(List);
    auto* bottom = new QHBoxLayout;
    list_count = new QLabel;
    bottom->addWidget(list_count);
    bottom->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &View_Data_Series::OK_Btn_Clicked);
    bottom->addWidget(ok);
    layout->addLayout(bottom);
}

void View_Data_Series::View_Series_Named(const QString& name)
{
    const QString trimmed = Trim_Str(name);
    if (trimmed.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select the series."));
        return;
    }
    View_Data_Series* viewer = defaultInstance();
    viewer->file_name = trimmed;
    viewer->Open_Wnd();
}

void View_Data_Series::Open_Wnd()
{
    try {
        series_name->setText(file_name);
        ListData.clear();
        model->reload();
        Load_file_Func(file_name);
        platform::runModal(*this);
        hide();
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

void View_Data_Series::Load_file_Func(const QString& name)
{
    try {
        const Please_Wait wait;
        ListData = Data_Set_Shown_Values(name).value_or(QStringList());
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
    Update_batch_List_Count();
}

void View_Data_Series::Update_batch_List_Count()
{
    model->reload();
    list_count->setText(QStringLiteral("Total Rows : %1").arg(ListData.size()));
}

void View_Data_Series::OK_Btn_Clicked()
{
    done(1);
}

// ---------------------------------------------------------------- replace or append

Load_Num_Info* Load_Num_Info::defaultInstance()
{
    static Load_Num_Info* instance = new Load_Num_Info;
    return instance;
}

Load_Num_Info::Load_Num_Info(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Batch Processing Series"));
    Apply_Dialog_Background(this);
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(QStringLiteral("The list already holds values.\n"
                                               "Do you want to replace them with the new values,\n"
                                               "or add the new values after them?"));
    layout->addWidget(question);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    auto* append = new QPushButton(QStringLiteral("Append"));
    auto* replace = new QPushButton(QStringLiteral("Replace"));
    replace->setDefault(true);
    buttons->addWidget(cancel);
    buttons->addWidget(append);
    buttons->addWidget(replace);
    layout->addLayout(buttons);
    connect(replace, &QPushButton::clicked, this, &Load_Num_Info::YESPressed);
    connect(append, &QPushButton::clicked, this, &Load_Num_Info::NOPressed);
    connect(cancel, &QPushButton::clicked, this, &Load_Num_Info::CancelPressed);
}

void Load_Num_Info::YESPressed() { done(1); }
void Load_Num_Info::NOPressed() { done(0); }
void Load_Num_Info::CancelPressed() { done(Cancelled); }

// ---------------------------------------------------------------- value editor

Update_Ex_Num* Update_Ex_Num::defaultInstance()
{
    static Update_Ex_Num* instance = new Update_Ex_Num;
    return instance;
}

Update_Ex_Num::Update_Ex_Num(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Edit Value"));
    Apply_Dialog_Background(this);
    resize(380, 140);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_ex_num_index = new QLineEdit;
    m_ex_num_index->hide();
    m_s_number = new QLineEdit;
    m_s_number->setReadOnly(true);
    m_s_number->setFocusPolicy(Qt::NoFocus);
    m_ex_num_str = new QLineEdit;
    form->addRow(QStringLiteral("Value:"), m_s_number);
    form->addRow(QStringLiteral("New value:"), m_ex_num_str);
    layout->addLayout(form);
    layout->addWidget(m_ex_num_index);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &Update_Ex_Num::OKPressed);
    connect(cancel, &QPushButton::clicked, this, &Update_Ex_Num::CancelPressed);
}

void Update_Ex_Num::clearFields()
{
    m_ex_num_index->clear();
    m_ex_num_str->clear();
    m_s_number->clear();
}

void Update_Ex_Num::OKPressed()
{
    try {
        if (m_s_number->text() == m_ex_num_str->text()) {
            done(1);
            return;
        }
        const QString value = Trim_Str(m_ex_num_str->text());
        if (value.isEmpty()) {
            Show_MessageBox(QStringLiteral("Please enter a valid value."));
            m_ex_num_str->setFocus();
            return;
        }
        bool isRow = false;
        const int row = m_ex_num_index->text().toInt(&isRow);
        QStringList& values = BatchWizard_Window->ListData_value;
        if (!isRow || row < 0 || row >= values.size()) {
            Show_NSLog_Message(QStringLiteral("No value at row \"%1\" to change").arg(m_ex_num_index->text()));
            CancelPressed();
            return;
        }
        values[row] = value;
        BatchWizard_Window->Update_Value_List_Count();
        clearFields();
        done(1);
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

void Update_Ex_Num::CancelPressed()
{
    clearFields();
    done(0);
}
