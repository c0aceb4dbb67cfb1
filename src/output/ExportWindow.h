#pragma once
// The export dialog: file type, side and combined image, and whether the
// bound data-set and spreadsheet rows are used.
#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;

class ExportWindow : public QDialog {
    Q_OBJECT
public:
    explicit ExportWindow(QWidget* parent = nullptr);

    QComboBox* fileFormatPopup;
    QButtonGroup* matrix_file_type;      // one row per file type
    QComboBox* saveDPIText;
    QButtonGroup* matrix_export_card_side; // rows: 0 both sides, 1 front, 2 back
    QCheckBox* export_combined_image_chk;
    QCheckBox* Export_with_batch_chk;
    QCheckBox* Export_with_excel_chk;

    static const QStringList File_Types;

public slots:
    void exportOkay() { hide(); done(1); }
    void exportCancel() { hide(); done(0); }
    void exportFileTypeChanged();
    void export_file_type_CellClick(int row);
    void export_card_side_CellClick(int row);
};

// The side the export writes: "BOTH", "F" or "B".
extern QString export_card_side;
