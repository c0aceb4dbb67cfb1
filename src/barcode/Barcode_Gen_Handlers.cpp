// The designer's control handlers: every change shows at once in the preview.
#include "barcode/Barcode_Gen.h"

#include "barcode/DataMatrixImage.h"
#include "barcode/NKDBarcode.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/Host.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <exception>

namespace {
template <typename F>
void guarded(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}
}

// ---------------------------------------------------------------- refresh effects

void Barcode_Gen::redraw()
{
    if (!testBarcode)
        return;
    Store_Controls_In_Style();
    Set_Barcode_Height(*testBarcode, Live_Barcode_Style, Measument_Unit_Is);
    Get_Image_From_Barcode(testBarcode.get());
}

void Barcode_Gen::reWidth()
{
    if (!testBarcode)
        return;
    Store_Controls_In_Style();
    testBarcode->setBarWidth(Mils_To_Points(float(widthStepper->value())));
    testBarcode->calculateWidth();
    testBarcode->setWidth(Set_Linear_Barcode_Width(*testBarcode, Live_Barcode_Style, Measument_Unit_Is));
    Get_Image_From_Barcode(testBarcode.get());
}

void Barcode_Gen::show_()
{
    Store_Controls_In_Style();
    Get_Image_From_Barcode(testBarcode.get());
}

// ---------------------------------------------------------------- type and control sets

void Barcode_Gen::barcodeTypeChanged()
{
    guarded([&] {
        const QString title = barcodeTypePopup->currentText();
        if (Is_2D_Barcode_Title(title)) {
            liner_or_2D_font = 1;
            two_d_barcode_Opt_Select();
        } else {
            liner_or_2D_font = 0;
            Liner_Barcode_Opt_Select();
            for (QWidget* w : std::initializer_list<QWidget*>{
                     HeightText, HeightStepper, widthText, widthStepper, captionCheckbox, hideHeaderCheckbox,
                     hideFooterCheckbox, FooterText, val_mar_Text, val_mar_Stepper, hdr_mar_Text,
                     hdr_mar_Stepper, ftr_mar_Text, ftr_mar_Stepper, align_hdr_combo, align_ftr_combo,
                     showinTopCheckbox, kerning_value_Checkbox})
                w->setEnabled(true);
        }
        _setLabels();
        // Linear and 2-D symbols keep values of their own; a bound barcode
        // shows its bound value whichever kind it becomes.
        if (const QString bound = Bound_Value(); !bound.isNull())
            Set_Value_Text(bound);
        if (Current_Value().isEmpty()) {
            Show_MessageBox(QStringLiteral("Please enter barcode value"));
            Set_Blank_Image();
            return;
        }
        if (title == QLatin1String("UPCE") || title == QLatin1String("UPCA") || title == QLatin1String("EAN-8") ||
            title == QLatin1String("EAN-13"))
            kerning_value_Checkbox->setEnabled(false);
        regenerate();
    });
}

void Barcode_Gen::Liner_Barcode_Opt_Select()
{
    liner_or_2D_font = 0;
    dataText->setEnabled(true);
    dataText->show();
    dataText_2D->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{showinTopCheckbox, captionCheckbox, kerning_value_Checkbox,
                                                      linear_settings_box})
        w->show();
    for (QWidget* w : std::as_const(linearOnly))
        w->show();
    for (QWidget* w : std::initializer_list<QWidget*>{qr_settings_box, pdf_settings_box, dm_settings_box})
        w->hide();
    if (sett_tab->count() == 4)
        sett_tab->removeTab(3);
    sett_tab->setCurrentIndex(0);
}

void Barcode_Gen::two_d_barcode_Opt_Select()
{
    liner_or_2D_font = 1;
    dataText->setEnabled(false);
    dataText->hide();
    dataText_2D->show();
    for (QWidget* w : std::initializer_list<QWidget*>{showinTopCheckbox, captionCheckbox, kerning_value_Checkbox,
                                                      linear_settings_box})
        w->hide();
    for (QWidget* w : std::as_const(linearOnly))
        w->hide();
    if (sett_tab->count() == 3)
        sett_tab->insertTab(3, dpi_tab_item, QStringLiteral("Resolution"));
    const QString title = barcodeTypePopup->currentText();
    qr_settings_box->setVisible(title == QLatin1String("QR Code"));
    pdf_settings_box->setVisible(title == QLatin1String("PDF417"));
    dm_settings_box->setVisible(title == QLatin1String("DataMatrix"));
}

// ---------------------------------------------------------------- combo boxes

void Barcode_Gen::comboBoxSelectionDidChange(QComboBox* combo)
{
    using Handler = void (Barcode_Gen::*)();
    // The lists that act whatever the symbol, those of the 2-D symbologies,
    // and those of a linear barcode (once there is one).
    const std::pair<QComboBox*, Handler> always[] = {{DPI_ComboBox, &Barcode_Gen::DPI_Choice_Changed},
                                                     {Data_source_type, &Barcode_Gen::Data_Source_Changed},
                                                     {Batch_Series, &Barcode_Gen::Batch_Series_Changed}};
    const std::pair<QComboBox*, Handler> twoD[] = {{qr_enc_mode_ComboBox, &Barcode_Gen::QR_Enc_Mode_Changed},
                                                   {qr_version_ComboBox, &Barcode_Gen::QR_Version_Changed},
                                                   {qr_ec_lvl_ComboBox, &Barcode_Gen::QR_EC_Lvl_Changed},
                                                   {dm_format_ComboBox, &Barcode_Gen::DM_Format_Changed},
                                                   {dm_encoding_ComboBox, &Barcode_Gen::regenerate}};
    const std::pair<QComboBox*, Handler> linear[] = {{align_hdr_combo, &Barcode_Gen::show_},
                                                     {align_ftr_combo, &Barcode_Gen::show_},
                                                     {bar_orient_combo, &Barcode_Gen::show_},
                                                     {bar_align_combo, &Barcode_Gen::Preview_Alignment_Changed}};
    auto handlerIn = [combo](const auto& table) -> Handler {
        for (const auto& [box, handler] : table)
            if (box == combo)
                return handler;
        return nullptr;
    };
    Handler handler = handlerIn(always);
    if (!handler)
        handler = liner_or_2D_font ? handlerIn(twoD) : testBarcode ? handlerIn(linear) : nullptr;
    if (handler)
        guarded([&] { (this->*handler)(); });
}

void Barcode_Gen::DPI_Choice_Changed()
{
    const bool custom = DPI_ComboBox->currentText() == QLatin1String("Custom");
    dpi_Stepper->setVisible(custom);
    dpi_Text->setVisible(custom);
    USED_DPI_VALUE = Checked_Barcode_DPI(Barcode_DPI_Of_Item(DPI_ComboBox->currentIndex(), int(dpi_Stepper->value())));
}

void Barcode_Gen::Data_Source_Changed()
{
    const std::shared_ptr<SKTGraphic> g = pass_barcode_control;
    const int type = Data_source_type->currentIndex();
    if (type == Source_Typed) {
        View_Series_Button->setEnabled(false);
        Batch_Series->setEnabled(false);
        {
            const QSignalBlocker b(Batch_Series);
            Batch_Series->clear();
        }
        Set_Value_Editable(true);
        if (g)
            g->Set_Data_source_type(Source_Typed);
    } else if (type == Source_Data_Set) {
        const QStringList names = _sources ? _sources->Get_datasheet_File_Name_Array() : QStringList();
        if (names.isEmpty()) {
            Show_MessageBox(QStringLiteral("Please create batch processing series first."));
            // The binding stays as it was, and so does the choice shown.
            const QSignalBlocker b(Data_source_type);
            Data_source_type->setCurrentIndex(g ? g->data_source_type : Source_Typed);
            return;
        }
        View_Series_Button->setEnabled(true);
        Batch_Series->setEnabled(true);
        Set_Value_Editable(false);
        _sources->Fill_Data_Set_File_Name_In_Combo(Batch_Series);
        const QSignalBlocker b(Batch_Series);
        Batch_Series->setCurrentIndex(g && !g->batch_list_name.isEmpty() ? names.indexOf(g->batch_list_name) : -1);
        if (g)
            g->Set_Data_source_type(Source_Data_Set);
    } else {
        View_Series_Button->setEnabled(true);
        Batch_Series->setEnabled(true);
        Set_Value_Editable(false);
        const QSignalBlocker b(Batch_Series);
        Batch_Series->clear();
        if (_sources)
            _sources->Fill_Excel_Col_Name_In_Combo(Batch_Series);
        Batch_Series->setCurrentIndex(g && g->excel_col_indx < Batch_Series->count() ? g->excel_col_indx : -1);
        if (g) {
            g->Set_Data_source_type(Source_Spreadsheet);
            g->Set_Excel_binding(true);
        }
    }
    regenerate();
}

void Barcode_Gen::Batch_Series_Changed()
{
    const QString name = Trim_Str(Batch_Series->currentText());
    const int index = Batch_Series->currentIndex();
    const std::shared_ptr<SKTGraphic> g = pass_barcode_control;
    if (name.isEmpty() || !g || !_sources)
        return;
    if (Data_source_type->currentIndex() == Source_Data_Set) {
        g->Set_Batch_List_Name(name);
        g->Set_Batch_List_Index(index);
    } else {
        g->Set_Excel_binding_Index(index);
    }
    Set_Value_Text(Bound_Value());
    regenerate();
}

QString Barcode_Gen::Bound_Value() const
{
    const int type = Data_source_type->currentIndex();
    const int index = Batch_Series->currentIndex();
    if (type == Source_Typed || index < 0 || !_sources)
        return QString();
    const QString value = type == Source_Data_Set
                              ? _sources->Get_First_Value_Of_Dataset(Trim_Str(Batch_Series->currentText()))
                              : _sources->Get_First_Value_Of_Excel_Binding(index);
    return value.isNull() ? QStringLiteral("") : value;
}

void Barcode_Gen::QR_Enc_Mode_Changed()
{
    QR_Enc_Mode_Val = qr_enc_mode_ComboBox->currentIndex();
    regenerate();
}

void Barcode_Gen::QR_Version_Changed()
{
    QR_Version_Val = qr_version_ComboBox->currentIndex();
    Check_And_Set_QR_size_Acc_Version(QR_Version_Val);
    regenerate();
}

void Barcode_Gen::QR_EC_Lvl_Changed()
{
    QR_EC_Level_Val = qr_ec_lvl_ComboBox->currentIndex();
    regenerate();
}

void Barcode_Gen::DM_Format_Changed()
{
    data_matrix_barcode_size_acc_format();
    regenerate();
}

void Barcode_Gen::Preview_Alignment_Changed()
{
    static const QList<QPair<QString, Qt::Alignment>> alignments = {
        {"Center", Qt::AlignCenter},        {"Top", Qt::AlignTop | Qt::AlignHCenter},
        {"TopLeft", Qt::AlignTop | Qt::AlignLeft}, {"TopRight", Qt::AlignTop | Qt::AlignRight},
        {"Left", Qt::AlignLeft | Qt::AlignVCenter}, {"Bottom", Qt::AlignBottom | Qt::AlignHCenter},
        {"BottomLeft", Qt::AlignBottom | Qt::AlignLeft}, {"BottomRight", Qt::AlignBottom | Qt::AlignRight},
        {"Right", Qt::AlignRight | Qt::AlignVCenter}};
    const QString item = bar_align_combo->currentText();
    for (const auto& [text, alignment] : alignments)
        if (item == text)
            barcodeImage->setAlignment(alignment);
}

void Barcode_Gen::data_matrix_barcode_size_acc_format()
{
    const int module = int(dm_moduleStepper_2D->value());
    const DataMatrix_Size size = DataMatrix_Size_Of_Format(dm_format_ComboBox->currentText());
    auto grow = [](QLineEdit* field, QDoubleSpinBox* stepper, int needed) {
        if (stepper->value() < needed) {
            const QSignalBlocker b(stepper);
            stepper->setValue(needed);
            field->setText(QString::number(needed));
        }
    };
    grow(dm_widthText_2D, dm_widthStepper_2D, size.W * module);
    grow(dm_HeightText_2D, dm_HeightStepper_2D, size.H * module);
}

void Barcode_Gen::Check_And_Set_QR_size_Acc_Version(int version)
{
    const QR_Size_Rule rule = ::Check_And_Set_QR_size_Acc_Version(version, Int_Value(HeightText_2D->text()));
    const QSignalBlocker b(HeightStepper_2D);
    HeightStepper_2D->setMinimum(rule.minimum);
    if (rule.size != Int_Value(HeightText_2D->text())) {
        HeightStepper_2D->setValue(rule.size);
        HeightText_2D->setText(QString::number(rule.size));
    }
}

// ---------------------------------------------------------------- texts

void Barcode_Gen::controlTextDidChange(QObject* field)
{
    guarded([&] {
        if (!liner_or_2D_font) {
            regenerate();
            return;
        }
        if (field == HeaderText || field == FooterText)
            recompose();
    });
}

void Barcode_Gen::textDidChange()
{
    if (liner_or_2D_font)
        guarded([&] { regenerate(); });
}

// ---------------------------------------------------------------- fonts and colours

namespace {
// The font panel; an invalid font when it was cancelled.
QFont chooseFont(const QFont& current, QWidget* parent)
{
    QFontDialog panel(current, parent);
    panel.setOption(QFontDialog::DontUseNativeDialog);
    if (platform::runModal(panel) != 1)
        return QFont(QStringLiteral("-")); // family "-" marks no choice
    return panel.currentFont();
}
bool chosen(const QFont& font) { return font.family() != QLatin1String("-"); }
}

void Barcode_Gen::Value_Font_Changed()
{
    const QFont font = chooseFont(Live_Barcode_Style.value_font_val, this);
    if (chosen(font))
        changeFont(font);
}

void Barcode_Gen::Header_Font_Changed()
{
    const QFont font = chooseFont(Live_Barcode_Style.header_font_val, this);
    if (chosen(font))
        header_changeFont(font);
}

void Barcode_Gen::Footer_Font_Changed()
{
    const QFont font = chooseFont(Live_Barcode_Style.footer_font_val, this);
    if (chosen(font))
        footer_changeFont(font);
}

void Barcode_Gen::changeFont(const QFont& font)
{
    guarded([&] {
        Live_Barcode_Style.value_font_val = font;
        Set_Font_Labels();
        if (liner_or_2D_font) {
            recompose();
        } else if (testBarcode) {
            testBarcode->setCaptionFontSize(float(font.pointSizeF()));
            redraw();
        }
    });
}

void Barcode_Gen::header_changeFont(const QFont& font)
{
    guarded([&] {
        Live_Barcode_Style.header_font_val = font;
        Set_Font_Labels();
        if (liner_or_2D_font) {
            recompose();
        } else if (testBarcode) {
            testBarcode->setHeaderFontSize(float(font.pointSizeF()));
            reWidth();
            redraw();
        }
    });
}

void Barcode_Gen::footer_changeFont(const QFont& font)
{
    guarded([&] {
        Live_Barcode_Style.footer_font_val = font;
        Set_Font_Labels();
        if (liner_or_2D_font) {
            recompose();
        } else if (testBarcode) {
            testBarcode->setFooterFontSize(float(font.pointSizeF()));
            reWidth();
            redraw();
        }
    });
}

void Barcode_Gen::Header_Color_Changed(QPushButton* well)
{
    guarded([&] {
        QColor* colour = well == bar_hdr_clr   ? &Live_Barcode_Style.barcode_hdr_clr_val
                         : well == bar_ftr_clr ? &Live_Barcode_Style.barcode_ftr_clr_val
                         : well == bar_val_clr ? &Live_Barcode_Style.barcode_val_clr_val
                         : well == bar_back_clr ? &Live_Barcode_Style.barcode_back_clr_val
                                                : &Live_Barcode_Style.barcode_clr_val;
        const QColor picked = platform::runColorPanel(*colour, QStringLiteral("Colours"));
        if (!picked.isValid())
            return;
        *colour = picked;
        Set_Well_Colour(well, picked);
        if (liner_or_2D_font)
            recompose();
        else
            show_();
    });
}

// ---------------------------------------------------------------- field and stepper pairs

void Barcode_Gen::Value_Margin_Changed(QObject* sender)
{
    Copy_Pair_Value(sender, val_mar_Text, val_mar_Stepper, false);
    if (!liner_or_2D_font)
        guarded([&] { redraw(); });
}

void Barcode_Gen::Header_Margin_Changed(QObject* sender)
{
    Copy_Pair_Value(sender, hdr_mar_Text, hdr_mar_Stepper, false);
    guarded([&] { liner_or_2D_font ? recompose() : redraw(); });
}

void Barcode_Gen::Footer_Margin_Changed(QObject* sender)
{
    Copy_Pair_Value(sender, ftr_mar_Text, ftr_mar_Stepper, false);
    guarded([&] { liner_or_2D_font ? recompose() : redraw(); });
}

void Barcode_Gen::TB_Margin_Changed(QObject* sender)
{
    Copy_Pair_Value(sender, TB_mar_Text, TB_mar_Stepper, false);
    guarded([&] { liner_or_2D_font ? recompose() : redraw(); });
}

void Barcode_Gen::LR_Margin_Changed(QObject* sender)
{
    Copy_Pair_Value(sender, LR_mar_Text, LR_mar_Stepper, false);
    guarded([&] { liner_or_2D_font ? recompose() : reWidth(); });
}

void Barcode_Gen::heightChanged(QObject* sender)
{
    if (sender == HeightText_2D || sender == HeightStepper_2D) {
        Copy_Pair_Value(sender, HeightText_2D, HeightStepper_2D, true);
        guarded([&] { regenerate(); });
        return;
    }
    Copy_Pair_Value(sender, HeightText, HeightStepper, false);
    guarded([&] { redraw(); });
}

void Barcode_Gen::widthChanged(QObject* sender)
{
    if (sender == Pdf_widthText_2D || sender == Pdf_widthStepper_2D) {
        Copy_Pair_Value(sender, Pdf_widthText_2D, Pdf_widthStepper_2D, true);
        guarded([&] { regenerate(); });
        return;
    }
    Copy_Pair_Value(sender, widthText, widthStepper, false);
    guarded([&] { reWidth(); });
}

void Barcode_Gen::pdf_heightChanged(QObject* sender)
{
    Copy_Pair_Value(sender, pdf_HeightText_2D, pdf_HeightStepper_2D, true);
    guarded([&] { regenerate(); });
}

void Barcode_Gen::PDF_Row_Changed(QObject* sender)
{
    Copy_Pair_Value(sender, pdf_row_Text, pdf_row_Stepper, true);
    PDF_Row = int(pdf_row_Stepper->value());
    guarded([&] { regenerate(); });
}

void Barcode_Gen::PDF_Col_Changed(QObject* sender)
{
    Copy_Pair_Value(sender, pdf_col_Text, pdf_col_Stepper, true);
    PDF_Col = int(pdf_col_Stepper->value());
    guarded([&] { regenerate(); });
}

void Barcode_Gen::PDF_EC_Lvl_Changed(QObject* sender)
{
    Copy_Pair_Value(sender, pdf_ec_lvl_Text, pdf_ec_lvl_Stepper, true);
    guarded([&] { regenerate(); });
}

void Barcode_Gen::dm_widthChanged(QObject* sender)
{
    Copy_Pair_Value(sender, dm_widthText_2D, dm_widthStepper_2D, true);
    guarded([&] { regenerate(); });
}

void Barcode_Gen::dm_heightChanged(QObject* sender)
{
    Copy_Pair_Value(sender, dm_HeightText_2D, dm_HeightStepper_2D, true);
    guarded([&] { regenerate(); });
}

void Barcode_Gen::dm_modulesizeChanged(QObject* sender)
{
    Copy_Pair_Value(sender, dm_moduleText_2D, dm_moduleStepper_2D, true);
    if (sender == dm_moduleStepper_2D)
        data_matrix_barcode_size_acc_format();
    guarded([&] { regenerate(); });
}

void Barcode_Gen::DPI_Value_Changed(QObject* sender)
{
    Copy_Pair_Value(sender, dpi_Text, dpi_Stepper, true);
    if (sender == dpi_Stepper)
        USED_DPI_VALUE = Checked_Barcode_DPI(int(dpi_Stepper->value()));
}

// ---------------------------------------------------------------- check boxes

void Barcode_Gen::captionChanged()
{
    guarded([&] {
        const bool caption = Get_Print_State();
        if (liner_or_2D_font) {
            recompose();
        } else if (testBarcode) {
            testBarcode->setPrintsCaption(caption);
            redraw();
        }
    });
}

void Barcode_Gen::showinTopChanged()
{
    guarded([&] {
        if (liner_or_2D_font || !testBarcode)
            return;
        testBarcode->setPrintsCaption(!captionCheckbox->isChecked());
        redraw();
    });
}

void Barcode_Gen::hideHeaderChanged()
{
    guarded([&] {
        if (liner_or_2D_font) {
            recompose();
        } else if (testBarcode) {
            testBarcode->setPrintsHeader(!hideHeaderCheckbox->isChecked());
            reWidth();
            redraw();
        }
    });
}

void Barcode_Gen::hideFooterChanged()
{
    guarded([&] {
        if (liner_or_2D_font) {
            recompose();
        } else if (testBarcode) {
            testBarcode->setPrintsFooter(!hideFooterCheckbox->isChecked());
            reWidth();
            redraw();
        }
    });
}

void Barcode_Gen::kerningChanged()
{
    if (!liner_or_2D_font)
        guarded([&] { show_(); });
}

// ---------------------------------------------------------------- help and the series viewer

void Barcode_Gen::Help(const QString& title, const QString& text)
{
    if (_host)
        _host->Show_Long_Message(title, text);
    else
        Show_NSLog_Message(title + QLatin1Char(' ') + text);
}

void Barcode_Gen::View_batch_Series_Button()
{
    const QString name = Trim_Str(Batch_Series->currentText());
    if (name.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select the series."));
        return;
    }
    if (!_host)
        return;
    // A spreadsheet column is shown in its table, as the property panel does.
    if (Data_source_type->currentIndex() == Source_Spreadsheet)
        _host->Show_Spreadsheet_Table();
    else
        _host->Show_Data_Series(name);
}

void Barcode_Gen::DPI_Help_Label()
{
    Help(QStringLiteral("DPI (Dots Per Inch) :"),
         QStringLiteral("Dots per inch is a measure of the resolution of printers in terms of Print Quality.\n\n"
                        "Bigger the DPI, Better the Print Quality. But File size of image also increases, as you "
                        "choose bigger DPI."));
}

void Barcode_Gen::QR_Version_Help_Btn()
{
    Help(QStringLiteral("Version :"),
         QStringLiteral("Version is configuration or number of modules (combination of black and white dots)."));
}

void Barcode_Gen::QR_EC_Lvl_Help_Btn()
{
    Help(QStringLiteral("Error correction (EC) level :"),
         QStringLiteral("An error-correction mechanism is built in each symbol so that the symbol can still be "
                        "decoded even if it is damaged."));
}

void Barcode_Gen::PDF_row_Help_btn()
{
    Help(QStringLiteral("PDF Rows :"), QStringLiteral("Number of rows in the PDF barcode."));
}

void Barcode_Gen::PDF_col_Help_btn()
{
    Help(QStringLiteral("PDF Columns :"), QStringLiteral("Number of columns in the PDF barcode."));
}

void Barcode_Gen::PDF_ec_lvl_Help_btn()
{
    Help(QStringLiteral("PDF EC Level :"),
         QStringLiteral("An error-correction mechanism is built in each symbol so that the symbol can still be "
                        "decoded even if it is damaged in PDF barcode."));
}

void Barcode_Gen::DM_format_Help_btn()
{
    Help(QStringLiteral("Preferred Format :"),
         QStringLiteral("Preferred Mode determines the smallest size of the symbol."));
}

void Barcode_Gen::DM_Encoding_Help_btn()
{
    Help(QStringLiteral("Encoding Mode :"),
         QStringLiteral("Encoding Mode is mode of compaction to encode data in the symbol."));
}
