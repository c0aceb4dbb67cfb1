#pragma once
// The print settings window: the printer, its paper and orientation, the size
// of one label, the gaps, rows and columns per sheet and the total, where the
// block of labels sits, the side (front, back, or both in one label) and
// whether the labels take the design's bound rows. An on-screen sample shows
// one sheet as it changes; Preview and Print run the job.
//
// The window writes the label sheet layout (LabelLayout.h); the sheet views
// read it. It runs on the main thread only.
#include "output/LabelLayout.h"
#include "platform/Host.h"

#include <QDialog>
#include <QImage>
#include <memory>

class Card_Row_Source;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollArea;
class QToolButton;
class QVBoxLayout;
class Sample_Preview;

class Print_Wnd : public QDialog {
    Q_OBJECT
public:
    static Print_Wnd* defaultInstance();
    ~Print_Wnd() override;

    // The design the window prints: its faces, its bound rows and the
    // drawing of its labels. The main window sets it before opening; without
    // one the labels print the faces as images and there are no rows.
    Card_Row_Source* design = nullptr;

    // Prepares the window and runs it until it is closed; false when it
    // could not be prepared (the reason has been shown).
    bool Open_Print_Wnd();

    // The window's printer, paper and orientation; they stay from one
    // opening to the next.
    QPrinter* printInfo() const { return m_printInfo.get(); }
    // Takes the printer, paper and orientation of info.
    void setPrintInfo(const QPrinter& info);
    // The paper of printInfo in points.
    QSizeF paperSize() const;

    void Set_values_From_Printer();
    void Check_Max_Cell_Value();
    void Refresh_Preview();
    void Set_Reset_Alignemnt_Image();
    void Verify_Card_Count();
    // Starts a preview (true) or a print job (false) of the layout.
    void Execute_Printing(bool preview);
    float MM_to_Points_Convert(float mm) const;
    float Points_to_MM_Convert(float points) const;

    // The faces rendered when the window opened (null when a face rendered
    // to nothing); the sample and the labels take their size.
    QImage front_image, back_image;
    // The side chosen: "F", "B" or "BOTH".
    QString card_side_str;

    QComboBox* Printer_ComboBox;
    QComboBox* Orient_ComboBox; // 0 portrait ("Portrait"), 1 landscape
    QLabel* Paper_id;
    QLabel* Size_id;
    QLabel *l_mar_id, *r_mar_id, *t_mar_id, *b_mar_id;
    // Each number is a field with a stepper beside it (millimetres, counts).
    QLineEdit* width_Text;
    QDoubleSpinBox* width_Stepper;
    QLineEdit* height_Text;
    QDoubleSpinBox* height_Stepper;
    QLineEdit* horz_mar_Text;
    QDoubleSpinBox* horz_mar_Stepper;
    QLineEdit* vert_mar_Text;
    QDoubleSpinBox* vert_mar_Stepper;
    QLineEdit* Row_Text;
    QDoubleSpinBox* Row_Stepper;
    QLineEdit* Col_Text;
    QDoubleSpinBox* Col_Stepper;
    QLineEdit* Total_Text;
    QDoubleSpinBox* Total_Stepper;
    QCheckBox* Show_Margins;
    QCheckBox* Auto_Center_chk_bx;
    QGroupBox* align_Gp_Bx;
    QToolButton *top_left_btn, *top_center_btn, *top_rite_btn;
    QToolButton *mid_left_btn, *mid_center_btn, *mid_rite_btn;
    QToolButton *bot_left_btn, *bot_center_btn, *bot_rite_btn;
    QButtonGroup* matrix_card_side; // rows: 0 both, 1 front, 2 back
    QComboBox* print_alignment;     // 0 front above back ("U"), 1 side by side
    QCheckBox* print_with_batch_chk;
    QCheckBox* print_with_excel_chk;
    QScrollArea* Print_sclview;
    Sample_Preview* PrintView;
    QLabel* test_image_view;
    QLabel* print_status = nullptr; // what became of the last print job

public slots:
    // Number pairs: the sender's value goes into its partner, then the
    // layout is worked out again (not for the total).
    void Horz_Margin_Changed(QObject* sender);
    void Vert_Margin_Changed(QObject* sender);
    void Width_Changed(QObject* sender);
    void Height_Changed(QObject* sender);
    void Row_Changed(QObject* sender);
    void Col_Changed(QObject* sender);
    void Total_Val_Changed(QObject* sender);
    void Show_Margin_Checked();
    void Auto_Center_Checked();
    void Top_left_btn_clicked();
    void Top_center_btn_clicked();
    void Top_rite_btn_clicked();
    void Mid_left_btn_clicked();
    void Mid_center_btn_clicked();
    void Mid_rite_btn_clicked();
    void Bot_left_btn_clicked();
    void Bot_center_btn_clicked();
    void Bot_rite_btn_clicked();
    void card_side_CellClick();
    // The printer, orientation and stacking lists.
    void comboBoxSelectionDidChange(QComboBox* combo);
    void Print_With_Batch_Changed();
    void Print_With_Excel_Changed();
    void pagesetup();
    void PreviewButtonPressed();
    void PrintButtonPressed();
    void CancelButtonPressed();
    void windowWillClose();
    void boundsDidChangeNotification();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    Print_Wnd();
    // The window, one builder per panel, in the order they are made.
    void buildWindow();
    QGroupBox* buildPrinterBox();
    QGroupBox* buildLabelBox();
    QGroupBox* buildPlacementBox();
    QGroupBox* buildSideBox();
    QHBoxLayout* buildButtonRow();
    QVBoxLayout* buildSampleColumn();
    void awakeFromNib();
    // A number pair changed: the sender's value to its partner, then the layout.
    void pairChanged(QObject* sender, QLineEdit* field, QDoubleSpinBox* stepper, bool whole);
    void alignmentClicked(int code);
    void fillPrinters();
    void batchBoxChanged();

    std::unique_ptr<QPrinter> m_printInfo;
    QList<QToolButton*> alignButtons;              // codes 1 to 9
    QList<QImage> plainImages, selectedImages;     // the same order
};

// The line the window shows after a print job: how many sheets went to
// which printer, or why nothing was printed.
QString Print_Outcome_Text(const platform::PrintResult& result, quint64 sheets, const QString& printer);

extern Print_Wnd* Print_DefaultInstance;
// The window the sheet views read the faces from.
extern Print_Wnd* Print_Var;
// Set while Open_Print_Wnd prepares the window: the sample is not redrawn.
extern bool loading;
