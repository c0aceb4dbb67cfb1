#include "wizards/Card_Preset_Panel.h"

#include "model/Card_Property.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/LookAndFeel.h"
#include "wizards/Wizard_Host.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableWidget>
#include <exception>
#include <tuple>

QWidget* Card_Preset_Panel::Build_Preset_Panel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    Category_ComboBox = new QComboBox(panel);
    Category_ComboBox->addItems({QStringLiteral("PVC Card"), QStringLiteral("Paper Name Badge")});
    Preset_ComboBox = new QComboBox(panel);
    Preset_ComboBox->addItems({QStringLiteral("Horizontal"), QStringLiteral("Vertical")});
    ColList = new QTableWidget(0, 1, panel);
    ColList->setHorizontalHeaderLabels({QStringLiteral("Preset")});
    ColList->horizontalHeader()->setStretchLastSection(true);
    ColList->verticalHeader()->hide();
    ColList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ColList->setSelectionMode(QAbstractItemView::SingleSelection);
    ColList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ColList->setMinimumHeight(150);

    auto pair = [panel](QLineEdit*& field, QDoubleSpinBox*& stepper) {
        field = new QLineEdit(panel);
        field->setValidator(new QDoubleValidator(1, 1000, 2, field));
        field->setMaximumWidth(80);
        stepper = new QDoubleSpinBox(panel);
        stepper->setRange(1, 1000);
        stepper->setSingleStep(0.5);
        stepper->setDecimals(2);
        QObject::connect(field, &QLineEdit::editingFinished, field,
                         [field, stepper] { Copy_Pair_Value(field, field, stepper, false); });
        QObject::connect(stepper, &QDoubleSpinBox::valueChanged, stepper,
                         [field, stepper] { Copy_Pair_Value(stepper, field, stepper, false); });
        return Field_With_Stepper(field, stepper);
    };
    auto* form = new QFormLayout(panel);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("Category"), Category_ComboBox);
    form->addRow(ColList);
    form->addRow(QStringLiteral("Orientation"), Preset_ComboBox);
    form->addRow(QStringLiteral("Width (mm)"), pair(width_Text, width_Stepper));
    form->addRow(QStringLiteral("Height (mm)"), pair(height_Text, height_Stepper));

    for (QComboBox* combo : {Category_ComboBox, Preset_ComboBox})
        QObject::connect(combo, &QComboBox::activated, panel, [this, combo] { Preset_Combo_Changed(combo); });
    QObject::connect(ColList, &QTableWidget::itemSelectionChanged, panel, [this] { tableViewSelectionDidChange(); });
    return panel;
}

void Card_Preset_Panel::Preset_Combo_Changed(QComboBox* combo)
{
    if (combo == Preset_ComboBox) {
        if (!ColList->selectedRanges().isEmpty()) {
            tableViewSelectionDidChange();
            return;
        }
        const double w = Width_MM(), h = Height_MM();
        const bool landscape = Preset_ComboBox->currentText() == QLatin1String("Horizontal");
        if (landscape ? h > w : w > h)
            Set_Size_MM(h, w);
        return;
    }
    if (combo != Category_ComboBox)
        return;
    try {
        ListData.clear();
        Reload_List();
        if (const Wizard_Host* host = Wizard_Main_Window())
            for (const QString& name : host->Card_Preset_Names(Category_ComboBox->currentIndex() == 0 ? 0 : 1))
                Create_List(name);
        Reload_List();
        Mark_List_New_Selection(0);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Card_Preset_Panel::Create_List(const QString& name)
{
    const QString trimmed = Trim_Str(name);
    if (trimmed.isEmpty())
        return;
    ListData.append(QVariantMap{{QStringLiteral("Extension"), trimmed}});
}

void Card_Preset_Panel::Reload_List()
{
    const QSignalBlocker block(ColList);
    ColList->setRowCount(int(ListData.size()));
    for (int row = 0; row < ListData.size(); ++row)
        ColList->setItem(row, 0, new QTableWidgetItem(ListData[row].value(QStringLiteral("Extension")).toString()));
}

void Card_Preset_Panel::Mark_List_New_Selection(int row)
{
    {
        const QSignalBlocker block(ColList);
        ColList->clearSelection();
        if (row >= 0 && row < ColList->rowCount())
            ColList->selectRow(row);
    }
    // Selecting the row that was already selected still shows its size.
    tableViewSelectionDidChange();
}

void Card_Preset_Panel::tableViewSelectionDidChange()
{
    try {
        const QList<QTableWidgetSelectionRange> ranges = ColList->selectedRanges();
        const int row = ranges.isEmpty() ? -1 : ranges.first().topRow();
        const QString orientation =
            Preset_ComboBox->currentText() == QLatin1String("Horizontal") ? QStringLiteral("H") : QStringLiteral("V");
        const Wizard_Host* host = Wizard_Main_Window();
        const QSizeF size = host ? host->Get_My_card_Size(Category_ComboBox->currentText(), orientation, row)
                                 : Card_Preset_Size_MM(Category_ComboBox->currentText(), orientation, row);
        Set_Size_MM(size.width(), size.height());
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Card_Preset_Panel::Set_Size_MM(double width, double height)
{
    for (auto [field, stepper, value] : {std::tuple{width_Text, width_Stepper, width},
                                         std::tuple{height_Text, height_Stepper, height}}) {
        const QSignalBlocker block(stepper);
        stepper->setValue(float(value));
        field->setText(QString::number(stepper->value()));
    }
}

double Card_Preset_Panel::Width_MM() const { return width_Stepper->value(); }
double Card_Preset_Panel::Height_MM() const { return height_Stepper->value(); }

void Card_Preset_Panel::Reset_Preset_Panel()
{
    Preset_ComboBox->setCurrentIndex(0);
    Category_ComboBox->setCurrentIndex(0);
    Preset_Combo_Changed(Category_ComboBox);
}

void Card_Preset_Panel::Open_Wizard_Profile()
{
    if (Wizard_Host* host = Wizard_Main_Window())
        host->Open_User_Profile_Window(false, QStringLiteral(""));
}
