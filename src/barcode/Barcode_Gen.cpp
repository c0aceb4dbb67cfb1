// The designer's window: its making, the load of a graphic and the modal
// road, the preview, and the batch entry.
#include "barcode/Barcode_Gen.h"

#include "barcode/BarcodeImage.h"
#include "barcode/LinearLayout.h"
#include "barcode/DataMatrixImage.h"
#include "barcode/NKDBarcode.h"
#include "barcode/NKDBarcodeOffscreenView.h"
#include "barcode/QREncoder.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/Guarded.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QtMath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>
#include <type_traits>

Barcode_Gen* Barcode_Gen_Var = nullptr;
std::atomic<int> QR_Version_Val{0};
std::atomic<int> QR_EC_Level_Val{0};
std::atomic<int> QR_Enc_Mode_Val{0};
std::atomic<int> PDF_Row{0};
std::atomic<int> PDF_Col{3};
std::atomic<int> Barcode_module_size{1};
std::atomic<int> last_unit_val{0};

namespace {
Guarded<Barcode_Art> g_output;
QString reason(const std::exception& e) { return QString::fromUtf8(e.what()); }

// Clears the suppression flag however the load ends.
struct Suppressed {
    Suppressed() { Not_Draw_Only_Prop_Change = true; }
    ~Suppressed() { Not_Draw_Only_Prop_Change = false; }
};

QString fontLabel(const QFont& font)
{
    return QString::asprintf("%s ( %0.2f )", qUtf8Printable(font.family()), font.pointSizeF());
}
}

Barcode_Art Get_Barcode_output_image() { return g_output.get(); }
void Set_Barcode_output_image(const Barcode_Art& image) { g_output.set(image); }

// ---------------------------------------------------------------- the batch road

BarcodeStyle Barcode_Gen::Style_Of_Graphic(const SKTGraphic& graphic)
{
    BarcodeStyle style = BarcodeStyle::fromGraphic(graphic);
    auto clampIndex = [&](int& index, qsizetype count, const char* what) {
        const int clamped = std::clamp(index, 0, int(count) - 1);
        if (clamped != index)
            Show_NSLog_Message(QStringLiteral("Stored barcode %1 %2 is out of range; %3 is used.")
                                   .arg(QLatin1String(what)).arg(index).arg(clamped));
        index = clamped;
    };
    clampIndex(style.barcode_font_index, Barcode_Type_Items.size(), "type");
    clampIndex(style.align_hdr_index, Barcode_Alignment_Items.size(), "header alignment");
    clampIndex(style.align_ftr_index, Barcode_Alignment_Items.size(), "footer alignment");
    clampIndex(style.qr_version_index, 41, "QR version");
    clampIndex(style.qr_ec_index, 4, "QR level");
    clampIndex(style.pdf_ec_val, 9, "PDF417 level");
    clampIndex(style.dm_format_index, DataMatrix_Format_Items.size(), "DataMatrix format");
    clampIndex(style.dm_encoding_index, DataMatrix_Encoding_Items.size(), "DataMatrix encoding");
    clampIndex(style.dpi_val_index, Barcode_DPI_Items.size(), "resolution");
    // Sizes and margins stay within the designer's own ranges: numbers no
    // window can enter (infinite, or past what an int holds) draw nothing sane.
    auto clampNumber = [&](auto& value, double low, double high, double fallback, const char* what) {
        using T = std::remove_reference_t<decltype(value)>;
        const double d = double(value);
        const double clamped = std::isnan(d) ? fallback : std::clamp(d, low, high);
        if (clamped != d)
            Show_NSLog_Message(QStringLiteral("Stored barcode %1 %2 is out of range; %3 is used.")
                                   .arg(QLatin1String(what)).arg(d).arg(clamped));
        value = T(clamped);
    };
    clampNumber(style.linear_height_val, 0.01, 100, 0.6, "bar height");
    clampNumber(style.linear_width_val, 1, 500, 20, "bar width");
    clampNumber(style.qr_size_val, 21, QREncoder::MaxImageDimension, 60, "QR size");
    clampNumber(style.pdf_hgt_val, 1, 5000, 20, "PDF417 height");
    clampNumber(style.pdf_wdt_val, 1, 5000, 100, "PDF417 width");
    clampNumber(style.dm_module_val, 1, 100, 2, "DataMatrix module size");
    for (float* margin : {&style.hdr_margin_val, &style.ftr_margin_val, &style.val_margin_val, &style.TB_marging_val,
                          &style.LR_margin_val})
        clampNumber(*margin, 0, 20, 0.1, "margin");
    // The kind follows the type, so a stored pair that disagrees still draws.
    style.linear_or_2d = Is_2D_Barcode_Title(Barcode_Type_Title(style.barcode_font_index)) ? 1 : 0;
    return style;
}

void Barcode_Gen::Set_Barcode_Prop_To_Control(const SKTGraphic& graphic, BarcodeStyle& record)
{
    record = Style_Of_Graphic(graphic);
}

Barcode_Art Barcode_Gen::Symbol_Of_Graphic(const SKTGraphic& graphic)
{
    BarcodeStyle style = Style_Of_Graphic(graphic);
    const QString& value = style.linear_or_2d ? style.two_d_font_val : style.linear_font_val;
    return Barcode_Picture(style, value, style.header_val, style.footer_val);
}

Barcode_Art Barcode_Gen::Get_Image_From_Val(BarcodeStyle& record, const QString& value, const QString& header,
                                         const QString& footer)
{
    return Barcode_Picture(record, value, header, footer);
}

// ---------------------------------------------------------------- making the window

Barcode_Gen* Barcode_Gen::defaultInstance()
{
    static Barcode_Gen* instance = nullptr;
    if (!instance) {
        instance = new Barcode_Gen;
        instance->awakeFromNib();
    }
    return instance;
}

Barcode_Gen::Barcode_Gen()
{
    setWindowTitle(QStringLiteral("Barcode Designer"));
    buildWindow();
}

namespace {
QLineEdit* field(int width = 60)
{
    auto* f = new QLineEdit;
    f->setFixedWidth(width);
    return f;
}

QDoubleSpinBox* stepper(double min, double max, double step, int decimals)
{
    auto* s = new QDoubleSpinBox;
    s->setRange(min, max);
    s->setSingleStep(step);
    s->setDecimals(decimals);
    return s;
}

// The pair, kept to its natural width in a form row.
QWidget* pairRow(QLineEdit* f, QDoubleSpinBox* s, QWidget* extra = nullptr)
{
    QWidget* pair = Field_With_Stepper(f, s, extra);
    static_cast<QHBoxLayout*>(pair->layout())->addStretch();
    return pair;
}

QPushButton* helpButton()
{
    auto* b = new QPushButton(QStringLiteral("?"));
    b->setFixedWidth(26);
    return b;
}

// A row of a control and its help button, kept to their natural width.
QWidget* helpRow(QWidget* control, QPushButton* help)
{
    auto* row = new QWidget;
    auto* l = new QHBoxLayout(row);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(control);
    l->addWidget(help);
    l->addStretch();
    return row;
}
}

void Barcode_Gen::makePair(QLineEdit*& f, QDoubleSpinBox*& s, double min, double max, double step, int decimals,
                           void (Barcode_Gen::*handler)(QObject*))
{
    f = field();
    s = stepper(min, max, step, decimals);
    connect(f, &QLineEdit::editingFinished, this, [this, f, handler] { (this->*handler)(f); });
    connect(s, &QDoubleSpinBox::valueChanged, this, [this, s, handler] { (this->*handler)(s); });
}

QComboBox* Barcode_Gen::makeCombo(const QStringList& items)
{
    auto* c = new QComboBox;
    c->addItems(items);
    connect(c, &QComboBox::activated, this, [this, c] { comboBoxSelectionDidChange(c); });
    return c;
}

void Barcode_Gen::buildWindow()
{
    QGridLayout* top = buildValuePanel();
    QWidget* symbolPage = buildSymbolPage();
    QWidget* textPage = buildFontsPage();
    QWidget* marginPage = buildMarginPage();
    dpi_tab_item = buildResolutionPage();

    sett_tab = new QTabWidget;
    sett_tab->addTab(symbolPage, QStringLiteral("Symbol"));
    sett_tab->addTab(textPage, QStringLiteral("Fonts and Colours"));
    sett_tab->addTab(marginPage, QStringLiteral("Margins"));
    sett_tab->addTab(dpi_tab_item, QStringLiteral("Resolution"));

    QVBoxLayout* right = buildPreviewPanel();
    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(sett_tab, 1);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 3);
    main->addLayout(right, 2);

    // Return in a field applies the field; it never closes the window.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

// Type, binding and value; header, footer and the value's caption.
QGridLayout* Barcode_Gen::buildValuePanel()
{
    barcodeTypePopup = new QComboBox;
    barcodeTypePopup->addItems(Barcode_Type_Items);
    connect(barcodeTypePopup, &QComboBox::activated, this, &Barcode_Gen::barcodeTypeChanged);
    Data_source_type = makeCombo({QStringLiteral("Manual"), QStringLiteral("Series")});
    Batch_Series = makeCombo({});
    Batch_Series->setMinimumWidth(140);
    View_Series_Button = new QPushButton(QStringLiteral("View Series"));
    connect(View_Series_Button, &QPushButton::clicked, this, &Barcode_Gen::View_batch_Series_Button);
    dataText = new QLineEdit;
    connect(dataText, &QLineEdit::textEdited, this, [this] { controlTextDidChange(dataText); });
    dataText_2D = new QPlainTextEdit;
    dataText_2D->setMaximumHeight(70);
    connect(dataText_2D, &QPlainTextEdit::textChanged, this, &Barcode_Gen::textDidChange);

    HeaderText = new QLineEdit;
    FooterText = new QLineEdit;
    for (QLineEdit* f : {HeaderText, FooterText})
        connect(f, &QLineEdit::textEdited, this, [this, f] { controlTextDidChange(f); });
    hideHeaderCheckbox = new QCheckBox(QStringLiteral("Hide"));
    hideFooterCheckbox = new QCheckBox(QStringLiteral("Hide"));
    captionCheckbox = new QCheckBox(QStringLiteral("Hide value"));
    showinTopCheckbox = new QCheckBox(QStringLiteral("Value on top"));
    kerning_value_Checkbox = new QCheckBox(QStringLiteral("Wide kerning"));
    connect(hideHeaderCheckbox, &QCheckBox::clicked, this, &Barcode_Gen::hideHeaderChanged);
    connect(hideFooterCheckbox, &QCheckBox::clicked, this, &Barcode_Gen::hideFooterChanged);
    connect(captionCheckbox, &QCheckBox::clicked, this, &Barcode_Gen::captionChanged);
    connect(showinTopCheckbox, &QCheckBox::clicked, this, &Barcode_Gen::showinTopChanged);
    connect(kerning_value_Checkbox, &QCheckBox::clicked, this, &Barcode_Gen::kerningChanged);
    align_hdr_combo = makeCombo(Barcode_Alignment_Items);
    align_ftr_combo = makeCombo(Barcode_Alignment_Items);

    auto* top = new QGridLayout;
    // Type and source each on a row of their own, so the window stays
    // narrower than a 1024-pixel screen.
    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(Data_source_type);
    sourceRow->addWidget(Batch_Series, 1);
    sourceRow->addWidget(View_Series_Button);
    top->addWidget(new QLabel(QStringLiteral("Type :")), 0, 0);
    top->addWidget(barcodeTypePopup, 0, 1, 1, 3);
    top->addWidget(new QLabel(QStringLiteral("Value from :")), 1, 0);
    top->addLayout(sourceRow, 1, 1, 1, 3);
    top->addWidget(new QLabel(QStringLiteral("Value :")), 2, 0);
    top->addWidget(dataText, 2, 1, 1, 3);
    top->addWidget(dataText_2D, 3, 1, 1, 3);
    top->addWidget(new QLabel(QStringLiteral("Header :")), 4, 0);
    top->addWidget(HeaderText, 4, 1);
    top->addWidget(hideHeaderCheckbox, 4, 2);
    top->addWidget(align_hdr_combo, 4, 3);
    top->addWidget(new QLabel(QStringLiteral("Footer :")), 5, 0);
    top->addWidget(FooterText, 5, 1);
    top->addWidget(hideFooterCheckbox, 5, 2);
    top->addWidget(align_ftr_combo, 5, 3);
    top->setColumnStretch(1, 1);
    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(captionCheckbox);
    captionRow->addWidget(showinTopCheckbox);
    captionRow->addWidget(kerning_value_Checkbox);
    captionRow->addStretch();
    top->addLayout(captionRow, 6, 1, 1, 3);
    return top;
}

// Symbol settings: one box per kind.
QWidget* Barcode_Gen::buildSymbolPage()
{
    linear_settings_box = buildBarsBox();
    qr_settings_box = buildQRBox();
    pdf_settings_box = buildPDF417Box();
    dm_settings_box = buildDataMatrixBox();
    auto* symbolPage = new QWidget;
    auto* l = new QVBoxLayout(symbolPage);
    for (QGroupBox* box : {linear_settings_box, qr_settings_box, pdf_settings_box, dm_settings_box})
        l->addWidget(box);
    l->addStretch();
    return symbolPage;
}

QGroupBox* Barcode_Gen::buildBarsBox()
{
    auto* box = new QGroupBox(QStringLiteral("Bars"));
    auto* form = new QFormLayout(box);
    makePair(HeightText, HeightStepper, 0.01, 100, 0.1, 2, &Barcode_Gen::heightChanged);
    makePair(widthText, widthStepper, 1, 500, 1, 1, &Barcode_Gen::widthChanged);
    barHeightLabel = new QLabel;
    barWidthLabel = new QLabel;
    form->addRow(barHeightLabel, pairRow(HeightText, HeightStepper));
    form->addRow(barWidthLabel, pairRow(widthText, widthStepper));
    bar_align_combo = makeCombo({QStringLiteral("Center"), QStringLiteral("Top"), QStringLiteral("TopLeft"),
                                 QStringLiteral("TopRight"), QStringLiteral("Left"), QStringLiteral("Bottom"),
                                 QStringLiteral("BottomLeft"), QStringLiteral("BottomRight"),
                                 QStringLiteral("Right")});
    bar_orient_combo = makeCombo({QStringLiteral("Horizontal")});
    form->addRow(QStringLiteral("Preview alignment :"), bar_align_combo);
    form->addRow(QStringLiteral("Orientation :"), bar_orient_combo);
    return box;
}

QGroupBox* Barcode_Gen::buildQRBox()
{
    auto* box = new QGroupBox(QStringLiteral("QR Code"));
    auto* form = new QFormLayout(box);
    makePair(HeightText_2D, HeightStepper_2D, 21, QREncoder::MaxImageDimension, 1, 0, &Barcode_Gen::heightChanged);
    form->addRow(QStringLiteral("Size (pixels) :"), pairRow(HeightText_2D, HeightStepper_2D));
    qr_version_ComboBox = makeCombo({});
    qr_ec_lvl_ComboBox =
        makeCombo({QStringLiteral("L"), QStringLiteral("M"), QStringLiteral("Q"), QStringLiteral("H")});
    qr_enc_mode_ComboBox = makeCombo({QStringLiteral("Auto"), QStringLiteral("Numeric"),
                                      QStringLiteral("Alphanumeric"), QStringLiteral("Byte")});
    auto* v = helpButton();
    auto* e = helpButton();
    connect(v, &QPushButton::clicked, this, &Barcode_Gen::QR_Version_Help_Btn);
    connect(e, &QPushButton::clicked, this, &Barcode_Gen::QR_EC_Lvl_Help_Btn);
    form->addRow(QStringLiteral("Version :"), helpRow(qr_version_ComboBox, v));
    form->addRow(QStringLiteral("Error correction :"), helpRow(qr_ec_lvl_ComboBox, e));
    form->addRow(QStringLiteral("Encoding mode :"), qr_enc_mode_ComboBox);
    return box;
}

QGroupBox* Barcode_Gen::buildPDF417Box()
{
    auto* box = new QGroupBox(QStringLiteral("PDF417"));
    auto* form = new QFormLayout(box);
    makePair(pdf_HeightText_2D, pdf_HeightStepper_2D, 1, 5000, 1, 0, &Barcode_Gen::pdf_heightChanged);
    makePair(Pdf_widthText_2D, Pdf_widthStepper_2D, 1, 5000, 1, 0, &Barcode_Gen::widthChanged);
    makePair(pdf_ec_lvl_Text, pdf_ec_lvl_Stepper, 0, 8, 1, 0, &Barcode_Gen::PDF_EC_Lvl_Changed);
    makePair(pdf_row_Text, pdf_row_Stepper, 0, 90, 1, 0, &Barcode_Gen::PDF_Row_Changed);
    makePair(pdf_col_Text, pdf_col_Stepper, 1, 30, 1, 0, &Barcode_Gen::PDF_Col_Changed);
    auto* ec = helpButton();
    auto* rows = helpButton();
    auto* cols = helpButton();
    connect(ec, &QPushButton::clicked, this, &Barcode_Gen::PDF_ec_lvl_Help_btn);
    connect(rows, &QPushButton::clicked, this, &Barcode_Gen::PDF_row_Help_btn);
    connect(cols, &QPushButton::clicked, this, &Barcode_Gen::PDF_col_Help_btn);
    form->addRow(QStringLiteral("Height :"), pairRow(pdf_HeightText_2D, pdf_HeightStepper_2D));
    form->addRow(QStringLiteral("Width :"), pairRow(Pdf_widthText_2D, Pdf_widthStepper_2D));
    form->addRow(QStringLiteral("EC level :"), pairRow(pdf_ec_lvl_Text, pdf_ec_lvl_Stepper, ec));
    form->addRow(QStringLiteral("Rows :"), pairRow(pdf_row_Text, pdf_row_Stepper, rows));
    form->addRow(QStringLiteral("Columns :"), pairRow(pdf_col_Text, pdf_col_Stepper, cols));
    return box;
}

QGroupBox* Barcode_Gen::buildDataMatrixBox()
{
    auto* box = new QGroupBox(QStringLiteral("DataMatrix"));
    auto* form = new QFormLayout(box);
    makePair(dm_moduleText_2D, dm_moduleStepper_2D, 1, 100, 1, 0, &Barcode_Gen::dm_modulesizeChanged);
    makePair(dm_widthText_2D, dm_widthStepper_2D, 0, 10000, 1, 0, &Barcode_Gen::dm_widthChanged);
    makePair(dm_HeightText_2D, dm_HeightStepper_2D, 0, 10000, 1, 0, &Barcode_Gen::dm_heightChanged);
    dm_format_ComboBox = makeCombo({});
    dm_encoding_ComboBox = makeCombo({});
    auto* f = helpButton();
    auto* e = helpButton();
    connect(f, &QPushButton::clicked, this, &Barcode_Gen::DM_format_Help_btn);
    connect(e, &QPushButton::clicked, this, &Barcode_Gen::DM_Encoding_Help_btn);
    form->addRow(QStringLiteral("Module size :"), pairRow(dm_moduleText_2D, dm_moduleStepper_2D));
    form->addRow(QStringLiteral("Preferred format :"), helpRow(dm_format_ComboBox, f));
    form->addRow(QStringLiteral("Encoding mode :"), helpRow(dm_encoding_ComboBox, e));
    form->addRow(QStringLiteral("Width :"), pairRow(dm_widthText_2D, dm_widthStepper_2D));
    form->addRow(QStringLiteral("Height :"), pairRow(dm_HeightText_2D, dm_HeightStepper_2D));
    return box;
}

// Fonts and colours.
QWidget* Barcode_Gen::buildFontsPage()
{
    auto* textPage = new QWidget;
    auto* grid = new QGridLayout(textPage);
    value_font_value = new QLabel;
    header_font_value = new QLabel;
    footer_font_value = new QLabel;
    auto fontRow = [&](int row, const QString& name, QLabel* label, void (Barcode_Gen::*handler)()) {
        auto* b = new QPushButton(QStringLiteral("Font..."));
        connect(b, &QPushButton::clicked, this, handler);
        auto* caption = new QLabel(name);
        grid->addWidget(caption, row, 0);
        grid->addWidget(label, row, 1);
        grid->addWidget(b, row, 2);
        if (label == value_font_value)
            linearOnly << caption << label << b;
    };
    fontRow(0, QStringLiteral("Value font :"), value_font_value, &Barcode_Gen::Value_Font_Changed);
    fontRow(1, QStringLiteral("Header font :"), header_font_value, &Barcode_Gen::Header_Font_Changed);
    fontRow(2, QStringLiteral("Footer font :"), footer_font_value, &Barcode_Gen::Footer_Font_Changed);
    auto well = [&](QPushButton*& w, int row, int column, const QString& name) {
        w = new QPushButton;
        w->setFixedSize(40, 22);
        QPushButton* made = w;
        connect(w, &QPushButton::clicked, this, [this, made] { Header_Color_Changed(made); });
        auto* caption = new QLabel(name);
        grid->addWidget(caption, row, column);
        grid->addWidget(w, row, column + 1);
        if (w == bar_val_clr || w == barcode_clr || w == bar_back_clr)
            linearOnly << caption << w;
    };
    well(bar_hdr_clr, 3, 0, QStringLiteral("Header colour :"));
    well(bar_ftr_clr, 4, 0, QStringLiteral("Footer colour :"));
    well(bar_val_clr, 5, 0, QStringLiteral("Value colour :"));
    well(barcode_clr, 6, 0, QStringLiteral("Bar colour :"));
    well(bar_back_clr, 7, 0, QStringLiteral("Background :"));
    grid->setRowStretch(8, 1);
    grid->setColumnStretch(3, 1);
    return textPage;
}

// Margins.
QWidget* Barcode_Gen::buildMarginPage()
{
    auto* marginPage = new QWidget;
    auto* l = new QVBoxLayout(marginPage);
    margin_box = new QGroupBox;
    auto* form = new QFormLayout(margin_box);
    makePair(hdr_mar_Text, hdr_mar_Stepper, 0, 20, 0.1, 2, &Barcode_Gen::Header_Margin_Changed);
    makePair(ftr_mar_Text, ftr_mar_Stepper, 0, 20, 0.1, 2, &Barcode_Gen::Footer_Margin_Changed);
    makePair(val_mar_Text, val_mar_Stepper, 0, 20, 0.1, 2, &Barcode_Gen::Value_Margin_Changed);
    makePair(TB_mar_Text, TB_mar_Stepper, 0, 20, 0.1, 2, &Barcode_Gen::TB_Margin_Changed);
    makePair(LR_mar_Text, LR_mar_Stepper, 0, 20, 0.1, 2, &Barcode_Gen::LR_Margin_Changed);
    form->addRow(QStringLiteral("Header :"), pairRow(hdr_mar_Text, hdr_mar_Stepper));
    form->addRow(QStringLiteral("Footer :"), pairRow(ftr_mar_Text, ftr_mar_Stepper));
    auto* valueRow = pairRow(val_mar_Text, val_mar_Stepper);
    form->addRow(QStringLiteral("Value :"), valueRow);
    linearOnly << valueRow << form->labelForField(valueRow);
    form->addRow(QStringLiteral("Top and bottom :"), pairRow(TB_mar_Text, TB_mar_Stepper));
    form->addRow(QStringLiteral("Left and right :"), pairRow(LR_mar_Text, LR_mar_Stepper));
    l->addWidget(margin_box);
    l->addStretch();
    return marginPage;
}

// Resolution (2-D symbologies only).
QWidget* Barcode_Gen::buildResolutionPage()
{
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    DPI_ComboBox = makeCombo(Barcode_DPI_Items);
    makePair(dpi_Text, dpi_Stepper, Min_Barcode_DPI, Max_Barcode_DPI, 1, 0, &Barcode_Gen::DPI_Value_Changed);
    auto* help = helpButton();
    connect(help, &QPushButton::clicked, this, &Barcode_Gen::DPI_Help_Label);
    auto* row = new QWidget;
    auto* l = new QHBoxLayout(row);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(DPI_ComboBox);
    l->addWidget(dpi_Text);
    l->addWidget(dpi_Stepper);
    l->addWidget(help);
    l->addStretch();
    form->addRow(QStringLiteral("DPI :"), row);
    return page;
}

// The preview, its error line and the window's buttons.
QVBoxLayout* Barcode_Gen::buildPreviewPanel()
{
    barcodeImage = new QLabel;
    barcodeImage->setAlignment(Qt::AlignCenter);
    barcodeImage->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    image_scroll = new QScrollArea;
    image_scroll->setWidget(barcodeImage);
    image_scroll->setWidgetResizable(true);
    image_scroll->setMinimumSize(300, 240);
    image_scroll->setBackgroundRole(QPalette::Base);
    barcode_error_label = new QLabel(QStringLiteral("There was a problem drawing the barcode."));
    barcode_error_label->setStyleSheet(QStringLiteral("color: #b00000"));
    barcode_error_label->hide();

    Encode_Button = new QPushButton(QStringLiteral("Encode"));
    OK_Button = new QPushButton(QStringLiteral("OK"));
    Cancel_Button = new QPushButton(QStringLiteral("Cancel"));
    connect(Encode_Button, &QPushButton::clicked, this, &Barcode_Gen::Encode_btn);
    connect(OK_Button, &QPushButton::clicked, this, &Barcode_Gen::OK_Btn_Clicked);
    connect(Cancel_Button, &QPushButton::clicked, this, &Barcode_Gen::Cancel_Btn_Clicked);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Preview")));
    right->addWidget(image_scroll, 1);
    right->addWidget(barcode_error_label);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Encode_Button);
    buttons->addStretch();
    buttons->addWidget(Cancel_Button);
    buttons->addWidget(OK_Button);
    right->addLayout(buttons);
    return right;
}

namespace {
void setPair(QLineEdit* f, QDoubleSpinBox* s, double value, bool integer)
{
    const QSignalBlocker b(s);
    s->setValue(value);
    f->setText(integer ? QString::asprintf("%d", int(s->value())) : QString::number(s->value()));
}

void setIndex(QComboBox* c, int index)
{
    const QSignalBlocker b(c);
    c->setCurrentIndex(std::clamp(index, 0, c->count() - 1));
}

void setChecked(QCheckBox* c, int state)
{
    const QSignalBlocker b(c);
    c->setChecked(state == 1);
}
}

void Barcode_Gen::awakeFromNib()
{
    Apply_Dialog_Background(this);
    Barcode_Gen_Var = this;
    liner_or_2D_font = 0;
    sett_tab->removeTab(3);
    const Suppressed suppressed;
    Live_Barcode_Style = BarcodeStyle();
    Measument_Unit_Is = last_unit_val = Unit_Centimetre;
    {
        const QSignalBlocker b1(qr_version_ComboBox), b2(dm_format_ComboBox), b3(dm_encoding_ComboBox);
        qr_version_ComboBox->clear();
        qr_version_ComboBox->addItem(QStringLiteral("Auto"));
        for (int v = 1; v <= 40; ++v)
            qr_version_ComboBox->addItem(QStringLiteral("V%1").arg(v));
        dm_format_ComboBox->clear();
        dm_format_ComboBox->addItems(DataMatrix_Format_Items);
        dm_encoding_ComboBox->clear();
        dm_encoding_ComboBox->addItems(DataMatrix_Encoding_Items);
    }
    Load_Controls_From_Style();
    setPair(dm_widthText_2D, dm_widthStepper_2D, 0, true);
    setPair(dm_HeightText_2D, dm_HeightStepper_2D, 0, true);
    const QSignalBlocker b(dpi_Stepper);
    dpi_Stepper->setValue(Auto_Barcode_DPI);
    dpi_Text->setText(QString::number(Auto_Barcode_DPI));
    comboBoxSelectionDidChange(DPI_ComboBox);
    comboBoxSelectionDidChange(Data_source_type);
    Liner_Barcode_Opt_Select();
    _setLabels();
}

// ---------------------------------------------------------------- style and controls


void Barcode_Gen::Load_Controls_From_Style()
{
    const BarcodeStyle& s = Live_Barcode_Style;
    setIndex(barcodeTypePopup, s.barcode_font_index);
    {
        const QSignalBlocker b1(dataText), b2(dataText_2D), b3(HeaderText), b4(FooterText);
        dataText->setText(s.linear_font_val);
        dataText_2D->setPlainText(s.two_d_font_val);
        HeaderText->setText(s.header_val);
        FooterText->setText(s.footer_val);
    }
    setChecked(hideHeaderCheckbox, s.show_hide_hdr);
    setChecked(hideFooterCheckbox, s.show_hide_ftr);
    setChecked(captionCheckbox, s.show_hide_val);
    setChecked(showinTopCheckbox, s.show_val_on_top);
    setChecked(kerning_value_Checkbox, s.kerning_value_state);
    setIndex(align_hdr_combo, s.align_hdr_index);
    setIndex(align_ftr_combo, s.align_ftr_index);
    setPair(HeightText, HeightStepper, s.linear_height_val, false);
    setPair(widthText, widthStepper, s.linear_width_val, false);
    setPair(HeightText_2D, HeightStepper_2D, s.qr_size_val, true);
    setIndex(qr_version_ComboBox, s.qr_version_index);
    setIndex(qr_ec_lvl_ComboBox, s.qr_ec_index);
    setPair(pdf_HeightText_2D, pdf_HeightStepper_2D, s.pdf_hgt_val, true);
    setPair(Pdf_widthText_2D, Pdf_widthStepper_2D, s.pdf_wdt_val, true);
    setPair(pdf_ec_lvl_Text, pdf_ec_lvl_Stepper, s.pdf_ec_val, true);
    setPair(pdf_row_Text, pdf_row_Stepper, PDF_Row, true);
    setPair(pdf_col_Text, pdf_col_Stepper, PDF_Col, true);
    setPair(dm_moduleText_2D, dm_moduleStepper_2D, s.dm_module_val, true);
    setIndex(dm_format_ComboBox, s.dm_format_index);
    setIndex(dm_encoding_ComboBox, s.dm_encoding_index);
    setPair(hdr_mar_Text, hdr_mar_Stepper, s.hdr_margin_val, false);
    setPair(ftr_mar_Text, ftr_mar_Stepper, s.ftr_margin_val, false);
    setPair(val_mar_Text, val_mar_Stepper, s.val_margin_val, false);
    setPair(TB_mar_Text, TB_mar_Stepper, s.TB_marging_val, false);
    setPair(LR_mar_Text, LR_mar_Stepper, s.LR_margin_val, false);
    Set_Font_Labels();
    Set_Well_Colour(bar_hdr_clr, s.barcode_hdr_clr_val);
    Set_Well_Colour(bar_ftr_clr, s.barcode_ftr_clr_val);
    Set_Well_Colour(bar_val_clr, s.barcode_val_clr_val);
    Set_Well_Colour(bar_back_clr, s.barcode_back_clr_val);
    Set_Well_Colour(barcode_clr, s.barcode_clr_val);
    setIndex(DPI_ComboBox, s.dpi_val_index);
    if (Int_Value(s.dpi_custom_val) > 0)
        setPair(dpi_Text, dpi_Stepper, Int_Value(s.dpi_custom_val), true);
}

void Barcode_Gen::Store_Controls_In_Style()
{
    BarcodeStyle& s = Live_Barcode_Style;
    s.linear_or_2d = liner_or_2D_font;
    s.barcode_font_index = barcodeTypePopup->currentIndex();
    s.linear_font_val = dataText->text();
    s.two_d_font_val = dataText_2D->toPlainText();
    s.header_val = HeaderText->text();
    s.footer_val = FooterText->text();
    s.show_hide_hdr = hideHeaderCheckbox->isChecked() ? 1 : 0;
    s.show_hide_ftr = hideFooterCheckbox->isChecked() ? 1 : 0;
    s.show_hide_val = captionCheckbox->isChecked() ? 1 : 0;
    s.show_val_on_top = showinTopCheckbox->isChecked() ? 1 : 0;
    s.kerning_value_state = kerning_value_Checkbox->isChecked() ? 1 : 0;
    s.align_hdr_index = align_hdr_combo->currentIndex();
    s.align_ftr_index = align_ftr_combo->currentIndex();
    s.linear_height_val = float(HeightStepper->value());
    s.linear_width_val = float(widthStepper->value());
    s.qr_size_val = int(HeightStepper_2D->value());
    s.qr_version_index = qr_version_ComboBox->currentIndex();
    s.qr_ec_index = qr_ec_lvl_ComboBox->currentIndex();
    s.pdf_hgt_val = int(pdf_HeightStepper_2D->value());
    s.pdf_wdt_val = int(Pdf_widthStepper_2D->value());
    s.pdf_ec_val = int(pdf_ec_lvl_Stepper->value());
    s.dm_module_val = int(dm_moduleStepper_2D->value());
    s.dm_format_index = dm_format_ComboBox->currentIndex();
    s.dm_encoding_index = dm_encoding_ComboBox->currentIndex();
    s.hdr_margin_val = float(hdr_mar_Stepper->value());
    s.ftr_margin_val = float(ftr_mar_Stepper->value());
    s.val_margin_val = float(val_mar_Stepper->value());
    s.TB_marging_val = float(TB_mar_Stepper->value());
    s.LR_margin_val = float(LR_mar_Stepper->value());
    s.dpi_val_index = DPI_ComboBox->currentIndex();
    s.dpi_custom_val = dpi_Text->text();
}

void Barcode_Gen::Set_Font_Labels()
{
    value_font_value->setText(fontLabel(Live_Barcode_Style.value_font_val));
    header_font_value->setText(fontLabel(Live_Barcode_Style.header_font_val));
    footer_font_value->setText(fontLabel(Live_Barcode_Style.footer_font_val));
}

void Barcode_Gen::Set_Well_Colour(QPushButton* well, const QColor& colour)
{
    well->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid #777").arg(colour.name()));
}

QString Barcode_Gen::Current_Value() const
{
    return liner_or_2D_font ? dataText_2D->toPlainText() : dataText->text();
}

void Barcode_Gen::Set_Value_Text(const QString& value)
{
    const QSignalBlocker b1(dataText), b2(dataText_2D);
    if (liner_or_2D_font)
        dataText_2D->setPlainText(value);
    else
        dataText->setText(value);
}

void Barcode_Gen::Set_Value_Editable(bool editable)
{
    dataText->setReadOnly(!editable);
    dataText_2D->setReadOnly(!editable);
}

Barcode_Drawing Barcode_Gen::Window_Drawing() const
{
    Barcode_Drawing drawing;
    drawing.unit = Measument_Unit_Is;
    drawing.dpi = USED_DPI_VALUE;
    drawing.qrVersion = QR_Version_Val;
    drawing.qrLevel = QR_EC_Level_Val;
    return drawing;
}

// ---------------------------------------------------------------- load and the modal road

void Barcode_Gen::Set_Barcode_Prop_To_Control(const std::shared_ptr<SKTGraphic>& graphic)
{
    if (!graphic)
        return;
    const Suppressed suppressed;
    try {
        pass_barcode_control = graphic;
        Live_Barcode_Style = Style_Of_Graphic(*graphic);
        liner_or_2D_font = Live_Barcode_Style.linear_or_2d;
        Load_Controls_From_Style();
        // The spreadsheet column source is offered while the design has a table.
        {
            const QSignalBlocker b(Data_source_type);
            if (Excel_Binding_Use && Data_source_type->count() == 2)
                Data_source_type->addItem(QStringLiteral("Excel"));
            else if (!Excel_Binding_Use && Data_source_type->count() == 3)
                Data_source_type->removeItem(2);
        }
        // The data-source combo's own handling: the list of the bound
        // source, its item, and the first bound value in the value field.
        setIndex(Data_source_type, std::clamp(graphic->data_source_type, 0, Data_source_type->count() - 1));
        comboBoxSelectionDidChange(Data_source_type);
        if (graphic->data_source_type != Source_Typed && Batch_Series->currentIndex() >= 0)
            comboBoxSelectionDidChange(Batch_Series);
        captionChanged();
        QR_Version_Val = Live_Barcode_Style.qr_version_index;
        QR_EC_Level_Val = Live_Barcode_Style.qr_ec_index;
        comboBoxSelectionDidChange(DPI_ComboBox);
        Measument_Unit_Is = last_unit_val = Unit_Centimetre;
        if (liner_or_2D_font)
            two_d_barcode_Opt_Select();
        else
            Liner_Barcode_Opt_Select();
        _setLabels();
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

std::shared_ptr<SKTGraphic> Barcode_Gen::Open_Wnd(const std::shared_ptr<SKTGraphic>& graphic)
{
    if (!graphic)
        return graphic;
    // The window edits a copy: its binding reaches the graphic only with OK,
    // so Cancel leaves the graphic (and what the main window shows) as it was.
    const GraphicPtr working = Copy_Graphic(*graphic);
    try {
        Set_Barcode_Prop_To_Control(working);
        goButtonActionPerformed();
    } catch (const std::exception& e) {
        Not_Draw_Only_Prop_Change = false;
        Show_NSLog_Message(reason(e));
    }
    setResult(0);
    const int code = platform::runModal(*this);
    hide();
    if (code == 1) {
        Store_Controls_In_Style();
        Live_Barcode_Style.storeIn(*graphic);
        Copy_Binding(*working, *graphic);
    }
    pass_barcode_control.reset();
    return graphic;
}

void Barcode_Gen::OK_Btn_Clicked()
{
    if (!Check_And_Validat_Barcode(false, false))
        return;
    // A value the symbology refuses has no symbol: the window stays open
    // with its message rather than closing on nothing.
    if (preview_image.isNull()) {
        barcode_error_label->show();
        return;
    }
    Set_Barcode_output_image(preview_image);
    done(1);
}

void Barcode_Gen::Cancel_Btn_Clicked()
{
    Set_Barcode_output_image(Barcode_Art());
    done(0);
}

bool Barcode_Gen::Get_Print_State()
{
    if (!captionCheckbox->isEnabled())
        return false;
    const bool shown = !captionCheckbox->isChecked();
    showinTopCheckbox->setEnabled(shown);
    return shown;
}

// ---------------------------------------------------------------- preview

void Barcode_Gen::goButtonActionPerformed()
{
    try {
        if (!Check_And_Validat_Barcode(false, false))
            return;
        if (Not_Draw_Only_Prop_Change)
            return; // a load is in progress: testBarcode stays
        testBarcode = Generate_Barcode_Variable(true, Current_Value(), HeaderText->text(), FooterText->text());
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

std::unique_ptr<NKDBarcode> Barcode_Gen::Generate_Barcode_Variable(bool preview, const QString& value,
                                                                   const QString& header,
                                                                   const QString& footer)
{
    if (Not_Draw_Only_Prop_Change || value.isEmpty())
        return nullptr;
    try {
        if (preview)
            barcodeImage->setPicture(QPicture());
        barcode_error_label->hide();
        const bool caption = Get_Print_State();
        Store_Controls_In_Style();
        const QString title = barcodeTypePopup->currentText();
        if (liner_or_2D_font) {
            Barcode_module_size = title == QLatin1String("PDF417")       ? Live_Barcode_Style.pdf_hgt_val
                                  : title == QLatin1String("DataMatrix") ? Live_Barcode_Style.dm_module_val
                                                                         : 1;
            image_2d = Barcode_Grid();
        }
        Barcode_Symbol symbol =
            Generate_Barcode_Symbol(Live_Barcode_Style, Window_Drawing(), value, header, footer, caption);
        if (liner_or_2D_font) {
            image_2d = symbol.grid;
            if (preview) {
                if (image_2d.isNull())
                    Set_Blank_Image();
                else
                    Get_Image_From_barcode_image(image_2d);
            }
            return nullptr;
        }
        if (!symbol.model) {
            if (preview)
                Set_Blank_Image();
            return nullptr;
        }
        if (preview)
            Get_Image_From_Barcode(symbol.model.get());
        return std::move(symbol.model);
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
        return nullptr;
    }
}

bool Barcode_Gen::Check_And_Validat_Barcode(bool /*show_msg*/, bool /*chk_image*/)
{
    barcode_error_label->hide();
    const QString value = Current_Value();
    const bool ascii = std::all_of(value.cbegin(), value.cend(), [](QChar c) { return c.unicode() < 128; });
    if (value.isEmpty() || !ascii) {
        Set_Blank_Image();
        return false;
    }
    return true;
}

void Barcode_Gen::Get_Image_From_Barcode(NKDBarcode* barcode)
{
    if (!barcode || !Check_And_Validat_Barcode(false, false))
        return;
    try {
        Set_Barcode_On_Panel(Linear_Barcode_Art(*barcode, &Live_Barcode_Style));
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

void Barcode_Gen::Get_Image_From_barcode_image(const Barcode_Grid& grid)
{
    if (grid.isNull()) {
        Set_Blank_Image();
        return;
    }
    try {
        Set_Barcode_On_Panel(Frame_2D_Barcode(grid, Live_Barcode_Style, Measument_Unit_Is));
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

void Barcode_Gen::Get_2d_barcode_from_image()
{
    if (image_2d.isNull()) {
        Set_Blank_Image();
        return;
    }
    if (!liner_or_2D_font)
        return;
    // The framing follows the texts, flags and fonts as they are now.
    Store_Controls_In_Style();
    BarcodeStyle& s = Live_Barcode_Style;
    s.header = HeaderText->text();
    s.footer = FooterText->text();
    s.printsCaption = Get_Print_State();
    s.printsHeader = s.show_hide_hdr != 1;
    s.printsFooter = s.show_hide_ftr != 1;
    setCaptionFontSize(s, float(s.value_font_val.pointSizeF()));
    setHeaderFontSize(s, float(s.header_font_val.pointSizeF()));
    setFooterFontSize(s, float(s.footer_font_val.pointSizeF()));
    Get_Image_From_barcode_image(image_2d);
}

void Barcode_Gen::Set_Barcode_On_Panel(const Barcode_Art& image)
{
    preview_image = image;
    // The panel is a label: it shows the symbol in the screen's pixels, so
    // that its modules are whole pixels as on a card; a symbol too large for
    // a bitmap is shown recorded as a picture.
    const QSize size = image.boundingRect().size();
    const qreal ratio = barcodeImage->devicePixelRatioF();
    constexpr int Largest_Side = 8192;
    if (!size.isEmpty() && size.width() * ratio <= Largest_Side && size.height() * ratio <= Largest_Side) {
        QImage pixels(qCeil(size.width() * ratio), qCeil(size.height() * ratio), QImage::Format_ARGB32_Premultiplied);
        pixels.setDevicePixelRatio(ratio);
        pixels.fill(Qt::transparent);
        QPainter painter(&pixels);
        image.draw(painter);
        painter.end();
        barcodeImage->setPixmap(QPixmap::fromImage(pixels));
    } else {
        barcodeImage->setPicture(image.picture());
    }
    // Never scaled: the view is at least the symbol's size and fills the area.
    barcodeImage->setMinimumSize(size);
    barcode_error_label->setVisible(image.isNull());
}

void Barcode_Gen::Set_Blank_Image()
{
    image_2d = Barcode_Grid();
    preview_image = Barcode_Art();
    barcodeImage->setPicture(QPicture());
    barcode_error_label->show();
}

void Barcode_Gen::_setLabels()
{
    if (liner_or_2D_font) {
        barHeightLabel->setText(QStringLiteral("Bar Height :"));
        barWidthLabel->setText(QStringLiteral("Bar Width :"));
        return;
    }
    const int unit = Measument_Unit_Is;
    const QString name = unit == Unit_Inch ? QStringLiteral("in") : unit == Unit_Millimetre ? QStringLiteral("mm")
                                                                                             : QStringLiteral("cm");
    barHeightLabel->setText(QStringLiteral("Bar Height (%1):").arg(name));
    margin_box->setTitle(QStringLiteral("Margins (%1)").arg(name));
    barWidthLabel->setText(QStringLiteral("Bar Width (Mils):"));
}
