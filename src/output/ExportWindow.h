#pragma once
// The export dialog: file type, side and combined image, and whether the
// bound data-set and spreadsheet rows are used.
#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;

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
    QLabel* batch_note; // why the batch choice is off, when a bound data set gives no rows

    // The popup's types: those this machine can write (Card_File_Types).
    static QStringList File_Types();
    // The chosen resolution in dots per inch.
    int Chosen_DPI() const;

public slots:
    void exportOkay() { hide(); done(1); }
    void exportCancel() { hide(); done(0); }
    void exportFileTypeChanged();
    void export_file_type_CellClick(int row);
    void export_card_side_CellClick(int row);
};

// The side the export writes: "BOTH", "F" or "B".
extern QString export_card_side;
