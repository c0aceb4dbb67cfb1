#include "output/ExportWindow.h"

#include "model/Codes.h"
#include "output/Card_Output.h"
#include "platform/LookAndFeel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

QString export_card_side = QStringLiteral("F");

// Each title is the extension, and the file is written in the format it names.
QStringList ExportWindow::File_Types()
{
    return Card_File_Types();
}

int ExportWindow::Chosen_DPI() const
{
    const int dpi = saveDPIText->currentText().toInt();
    return dpi > 0 ? dpi : 72;
}

ExportWindow::ExportWindow(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Export"));
    Apply_Dialog_Background(this);
    auto* layout = new QVBoxLayout(this);

    auto* typeBox = new QGroupBox(QStringLiteral("File type"));
    auto* typeLayout = new QHBoxLayout(typeBox);
    matrix_file_type = new QButtonGroup(this);
    const QStringList types = File_Types();
    for (int i = 0; i < types.size(); ++i) {
        auto* radio = new QRadioButton(types[i].toUpper());
        matrix_file_type->addButton(radio, i);
        typeLayout->addWidget(radio);
    }
    fileFormatPopup = new QComboBox;
    fileFormatPopup->addItems(types);
    fileFormatPopup->hide(); // the radio rows choose its item
    saveDPIText = new QComboBox;
    saveDPIText->addItems({"72", "150", "300"});
    layout->addWidget(typeBox);
    auto* dpiRow = new QFormLayout;
    dpiRow->addRow(QStringLiteral("Resolution"), saveDPIText);
    layout->addLayout(dpiRow);

    auto* sideBox = new QGroupBox(QStringLiteral("Card side"));
    auto* sideLayout = new QVBoxLayout(sideBox);
    matrix_export_card_side = new QButtonGroup(this);
    const QStringList sides = {QStringLiteral("Both sides"), QStringLiteral("Front"), QStringLiteral("Back")};
    for (int i = 0; i < sides.size(); ++i) {
        auto* radio = new QRadioButton(sides[i]);
        matrix_export_card_side->addButton(radio, i);
        sideLayout->addWidget(radio);
    }
    export_combined_image_chk = new QCheckBox(QStringLiteral("Front and back in one image"));
    sideLayout->addWidget(export_combined_image_chk);
    layout->addWidget(sideBox);

    Export_with_batch_chk = new QCheckBox(QStringLiteral("Use Batch Processing Series values"));
    Export_with_excel_chk = new QCheckBox(QStringLiteral("Use spreadsheet values"));
    layout->addWidget(Export_with_batch_chk);
    layout->addWidget(Export_with_excel_chk);
    batch_note = new QLabel;
    batch_note->setWordWrap(true);
    batch_note->hide();
    layout->addWidget(batch_note);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ExportWindow::exportOkay);
    connect(buttons, &QDialogButtonBox::rejected, this, &ExportWindow::exportCancel);
    connect(matrix_file_type, &QButtonGroup::idClicked, this, &ExportWindow::export_file_type_CellClick);
    connect(matrix_export_card_side, &QButtonGroup::idClicked, this, &ExportWindow::export_card_side_CellClick);
    connect(fileFormatPopup, &QComboBox::currentIndexChanged, this, &ExportWindow::exportFileTypeChanged);
}

void ExportWindow::exportFileTypeChanged()
{
    // Every type is written at the chosen resolution.
    saveDPIText->setEnabled(true);
}

void ExportWindow::export_file_type_CellClick(int row)
{
    if (auto* b = matrix_file_type->button(row))
        b->setChecked(true);
    fileFormatPopup->setCurrentIndex(row);
    saveDPIText->setEnabled(true);
}

void ExportWindow::export_card_side_CellClick(int row)
{
    if (auto* b = matrix_export_card_side->button(row))
        b->setChecked(true);
    export_card_side = row == 0 ? Side_Code_Both : row == 1 ? Side_Code_Front : Side_Code_Back;
    export_combined_image_chk->setEnabled(row == 0);
}
