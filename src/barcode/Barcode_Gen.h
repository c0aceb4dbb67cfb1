#pragma once
// The barcode designer: a modal window in which the user edits one barcode
// graphic and sees its symbol at once, and the one entry through which the
// batch roads make the symbol of a bound barcode for each data row.
//
// The window's controls edit the live style record (Live_Barcode_Style) on
// the main thread. The batch road never touches the window: it loads a
// graphic's stored style into a record of its own and draws from that, on
// whatever thread asks.
#include "barcode/BarcodeDispatch.h"
#include "barcode/BarcodeStyle.h"
#include "model/Data_Source_Lookup.h"

#include <QDialog>
#include <QPicture>
#include <QString>
#include <atomic>
#include <memory>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QVBoxLayout;
class QWidget;

// What the designer needs of the main window: the long-text box and the
// data-set viewer. What a barcode may be bound to it asks its
// Data_Source_Lookup.
class Barcode_Designer_Host {
public:
    virtual ~Barcode_Designer_Host() = default;
    // The long-text box with a title and a text.
    virtual void Show_Long_Message(const QString& title, const QString& text) = 0;
    // The values of a data set, read-only; the spreadsheet table.
    virtual void Show_Data_Series(const QString& name) = 0;
    virtual void Show_Spreadsheet_Table() = 0;
};

class Barcode_Gen : public QDialog {
    Q_OBJECT
public:
    // The designer, made on first use (on the main thread).
    static Barcode_Gen* defaultInstance();
    void setHost(Barcode_Designer_Host* host) { _host = host; }
    void setDataSources(const Data_Source_Lookup* sources) { _sources = sources; }

    // ---- the batch road: any thread, no widget is touched
    // The graphic's stored style as a load gives it: indexes out of range
    // clamped, the kind following the type, the custom resolution kept.
    static BarcodeStyle Style_Of_Graphic(const SKTGraphic& graphic);
    // The symbol a barcode graphic's stored settings make of its stored value,
    // header and footer (a design being opened gets its symbols this way);
    // null when nothing can be made.
    static Barcode_Art Symbol_Of_Graphic(const SKTGraphic& graphic);
    // Loads the graphic's stored style into a record of the caller's. Needs
    // no designer: a batch runs without one.
    static void Set_Barcode_Prop_To_Control(const SKTGraphic& graphic, BarcodeStyle& record);
    // The picture of value under the record, with the given header and
    // footer; null when nothing could be made.
    static Barcode_Art Get_Image_From_Val(BarcodeStyle& record, const QString& value, const QString& header,
                                          const QString& footer);

    // ---- the window (main thread)
    // Runs the window on a barcode graphic; returns the same graphic. After
    // OK its barcode fields hold the window's settings and
    // Barcode_output_image the symbol; after Cancel nothing changed and
    // Barcode_output_image is null.
    std::shared_ptr<SKTGraphic> Open_Wnd(const std::shared_ptr<SKTGraphic>& graphic);
    // Loads a graphic's stored style into the window, regeneration suppressed.
    void Set_Barcode_Prop_To_Control(const std::shared_ptr<SKTGraphic>& graphic);
    // Whether the value is printed; enables the value-on-top box to match.
    bool Get_Print_State();
    // The symbol of a value from the window's settings; with preview set it
    // is also shown. While a load is in progress nothing is built (the
    // caller keeps testBarcode). 2-D symbols are left in image_2d.
    std::unique_ptr<NKDBarcode> Generate_Barcode_Variable(bool preview, const QString& value,
                                                          const QString& header, const QString& footer);
    bool Check_And_Validat_Barcode(bool show_msg, bool chk_image);
    void Get_Image_From_Barcode(NKDBarcode* barcode);
    void Get_Image_From_barcode_image(const Barcode_Grid& grid);
    void Get_2d_barcode_from_image();
    // Shows a symbol (as a picture on the panel) and keeps it as the preview.
    void Set_Barcode_On_Panel(const Barcode_Art& image);
    void Set_Blank_Image();
    void _setLabels();
    // The current value: the 2-D text in 2-D mode, else the value field.
    QString Current_Value() const;
    // The controls' settings into the live style record.
    void Store_Controls_In_Style();

    int liner_or_2D_font = 0;
    std::unique_ptr<NKDBarcode> testBarcode;
    Barcode_Grid image_2d;
    Barcode_Art preview_image;
    std::shared_ptr<SKTGraphic> pass_barcode_control;

    // Outlets.
    QComboBox* barcodeTypePopup = nullptr;
    QLineEdit* dataText = nullptr;
    QPlainTextEdit* dataText_2D = nullptr;
    QLineEdit* HeaderText = nullptr;
    QLineEdit* FooterText = nullptr;
    QCheckBox* hideHeaderCheckbox = nullptr;
    QCheckBox* hideFooterCheckbox = nullptr;
    QCheckBox* captionCheckbox = nullptr;
    QCheckBox* showinTopCheckbox = nullptr;
    QCheckBox* kerning_value_Checkbox = nullptr;
    QComboBox* align_hdr_combo = nullptr;
    QComboBox* align_ftr_combo = nullptr;
    QComboBox* Data_source_type = nullptr;
    QComboBox* Batch_Series = nullptr;
    QPushButton* View_Series_Button = nullptr;
    QTabWidget* sett_tab = nullptr;
    QWidget* dpi_tab_item = nullptr;
    QGroupBox* linear_settings_box = nullptr;
    QGroupBox* qr_settings_box = nullptr;
    QGroupBox* pdf_settings_box = nullptr;
    QGroupBox* dm_settings_box = nullptr;
    QGroupBox* margin_box = nullptr;
    QLineEdit* HeightText = nullptr;
    QDoubleSpinBox* HeightStepper = nullptr;
    QLineEdit* widthText = nullptr;
    QDoubleSpinBox* widthStepper = nullptr;
    QLabel* barHeightLabel = nullptr;
    QLabel* barWidthLabel = nullptr;
    QComboBox* bar_align_combo = nullptr;
    QComboBox* bar_orient_combo = nullptr;
    QLineEdit* HeightText_2D = nullptr;
    QDoubleSpinBox* HeightStepper_2D = nullptr;
    QComboBox* qr_version_ComboBox = nullptr;
    QComboBox* qr_ec_lvl_ComboBox = nullptr;
    QComboBox* qr_enc_mode_ComboBox = nullptr;
    QLineEdit* pdf_HeightText_2D = nullptr;
    QDoubleSpinBox* pdf_HeightStepper_2D = nullptr;
    QLineEdit* Pdf_widthText_2D = nullptr;
    QDoubleSpinBox* Pdf_widthStepper_2D = nullptr;
    QLineEdit* pdf_ec_lvl_Text = nullptr;
    QDoubleSpinBox* pdf_ec_lvl_Stepper = nullptr;
    QLineEdit* pdf_row_Text = nullptr;
    QDoubleSpinBox* pdf_row_Stepper = nullptr;
    QLineEdit* pdf_col_Text = nullptr;
    QDoubleSpinBox* pdf_col_Stepper = nullptr;
    QLineEdit* dm_moduleText_2D = nullptr;
    QDoubleSpinBox* dm_moduleStepper_2D = nullptr;
    QLineEdit* dm_widthText_2D = nullptr;
    QDoubleSpinBox* dm_widthStepper_2D = nullptr;
    QLineEdit* dm_HeightText_2D = nullptr;
    QDoubleSpinBox* dm_HeightStepper_2D = nullptr;
    QComboBox* dm_format_ComboBox = nullptr;
    QComboBox* dm_encoding_ComboBox = nullptr;
    QLineEdit* hdr_mar_Text = nullptr;
    QDoubleSpinBox* hdr_mar_Stepper = nullptr;
    QLineEdit* ftr_mar_Text = nullptr;
    QDoubleSpinBox* ftr_mar_Stepper = nullptr;
    QLineEdit* val_mar_Text = nullptr;
    QDoubleSpinBox* val_mar_Stepper = nullptr;
    QLineEdit* TB_mar_Text = nullptr;
    QDoubleSpinBox* TB_mar_Stepper = nullptr;
    QLineEdit* LR_mar_Text = nullptr;
    QDoubleSpinBox* LR_mar_Stepper = nullptr;
    QLabel* value_font_value = nullptr;
    QLabel* header_font_value = nullptr;
    QLabel* footer_font_value = nullptr;
    QPushButton* bar_hdr_clr = nullptr;
    QPushButton* bar_ftr_clr = nullptr;
    QPushButton* bar_val_clr = nullptr;
    QPushButton* bar_back_clr = nullptr;
    QPushButton* barcode_clr = nullptr;
    QComboBox* DPI_ComboBox = nullptr;
    QLineEdit* dpi_Text = nullptr;
    QDoubleSpinBox* dpi_Stepper = nullptr;
    QLabel* barcodeImage = nullptr;
    QScrollArea* image_scroll = nullptr;
    QLabel* barcode_error_label = nullptr;
    QPushButton* Encode_Button = nullptr;
    QPushButton* OK_Button = nullptr;
    QPushButton* Cancel_Button = nullptr;

public slots:
    void goButtonActionPerformed();
    void Encode_btn() { goButtonActionPerformed(); }
    void OK_Btn_Clicked();
    void Cancel_Btn_Clicked();
    void barcodeTypeChanged();
    void Liner_Barcode_Opt_Select();
    void two_d_barcode_Opt_Select();
    void comboBoxSelectionDidChange(QComboBox* combo);
    void controlTextDidChange(QObject* field);
    void textDidChange();
    void Value_Font_Changed();
    void Header_Font_Changed();
    void Footer_Font_Changed();
    void changeFont(const QFont& font);
    void header_changeFont(const QFont& font);
    void footer_changeFont(const QFont& font);
    void Value_Margin_Changed(QObject* sender);
    void Header_Margin_Changed(QObject* sender);
    void Footer_Margin_Changed(QObject* sender);
    void TB_Margin_Changed(QObject* sender);
    void LR_Margin_Changed(QObject* sender);
    void heightChanged(QObject* sender);
    void widthChanged(QObject* sender);
    void pdf_heightChanged(QObject* sender);
    void PDF_Row_Changed(QObject* sender);
    void PDF_Col_Changed(QObject* sender);
    void PDF_EC_Lvl_Changed(QObject* sender);
    void dm_widthChanged(QObject* sender);
    void dm_heightChanged(QObject* sender);
    void dm_modulesizeChanged(QObject* sender);
    void captionChanged();
    void showinTopChanged();
    void hideHeaderChanged();
    void hideFooterChanged();
    void kerningChanged();
    // A colour well: the colour panel, then the new colour is shown.
    void Header_Color_Changed(QPushButton* well);
    void DPI_Value_Changed(QObject* sender);
    void DPI_Help_Label();
    void View_batch_Series_Button();
    void QR_Version_Help_Btn();
    void QR_EC_Lvl_Help_Btn();
    void PDF_row_Help_btn();
    void PDF_col_Help_btn();
    void PDF_ec_lvl_Help_btn();
    void DM_format_Help_btn();
    void DM_Encoding_Help_btn();

private:
    Barcode_Gen();
    // The window, one builder per panel and tab, in the order they are made.
    void buildWindow();
    QGridLayout* buildValuePanel();
    QWidget* buildSymbolPage();
    QGroupBox* buildBarsBox();
    QGroupBox* buildQRBox();
    QGroupBox* buildPDF417Box();
    QGroupBox* buildDataMatrixBox();
    QWidget* buildFontsPage();
    QWidget* buildMarginPage();
    QWidget* buildResolutionPage();
    QVBoxLayout* buildPreviewPanel();
    // A number field and its stepper, both running handler with themselves.
    void makePair(QLineEdit*& f, QDoubleSpinBox*& s, double min, double max, double step, int decimals,
                  void (Barcode_Gen::*handler)(QObject*));
    // A list whose choice runs comboBoxSelectionDidChange.
    QComboBox* makeCombo(const QStringList& items);
    void awakeFromNib();
    void Load_Controls_From_Style();
    void Set_Font_Labels();
    void Set_Well_Colour(QPushButton* well, const QColor& colour);
    void Set_Value_Text(const QString& value);
    // The first value of the chosen data set or column; null while the
    // value is typed in or nothing is chosen.
    QString Bound_Value() const;
    void Set_Value_Editable(bool editable);
    // One handler per list; comboBoxSelectionDidChange picks the one.
    void DPI_Choice_Changed();
    void Data_Source_Changed();
    void Batch_Series_Changed();
    void QR_Enc_Mode_Changed();
    void QR_Version_Changed();
    void QR_EC_Lvl_Changed();
    void DM_Format_Changed();
    void Preview_Alignment_Changed();
    void data_matrix_barcode_size_acc_format();
    void Check_And_Set_QR_size_Acc_Version(int version);
    Barcode_Drawing Window_Drawing() const;
    // The five refresh effects of a control change.
    void redraw();
    void reWidth();
    void show_();
    void regenerate() { goButtonActionPerformed(); }
    void recompose() { Get_2d_barcode_from_image(); }
    void Help(const QString& title, const QString& text);

    Barcode_Designer_Host* _host = nullptr;
    const Data_Source_Lookup* _sources = nullptr;
    // What only a linear barcode uses: hidden for 2-D symbologies.
    QList<QWidget*> linearOnly;
};

// The designer, set when it is made; the batch roads reach it here.
extern Barcode_Gen* Barcode_Gen_Var;

// The designer's choices that its handlers record (main thread only).
extern std::atomic<int> QR_Version_Val;
extern std::atomic<int> QR_EC_Level_Val;
extern std::atomic<int> QR_Enc_Mode_Val;
extern std::atomic<int> PDF_Row;
extern std::atomic<int> PDF_Col;
extern std::atomic<int> Barcode_module_size;
extern std::atomic<int> last_unit_val;

// The symbol the designer handed back on OK (null after Cancel).
Barcode_Art Get_Barcode_output_image();
void Set_Barcode_output_image(const Barcode_Art& image);
