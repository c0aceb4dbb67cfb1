#include "output/Print_Wnd.h"

#include "model/Batch_Sources.h"
#include "model/Card_Property.h"
#include "model/Card_Rows.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "output/Printing_View.h"
#include "output/Sample_Preview.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtMath>
#include <exception>

Print_Wnd* Print_DefaultInstance = nullptr;
Print_Wnd* Print_Var = nullptr;
bool loading = false;

namespace {
const QString kTooBig = QStringLiteral("'Frame Size' is bigger than selected 'Paper Size' or drawn label may be out of "
                                       "margin area.\n\nDo you want to continue?");
const QString kNothingToPrint = QStringLiteral("There is no barcode to print.");
const QString kJobTitle = QStringLiteral("Gleamcard labels");
constexpr int kTotalMaximum = 999999;

// The alignment buttons' pictures in the resource folder, codes 1 to 9.
const char* const kPlainPictures[9] = {"top_left", "top_center", "top_right", "middle_left", "middle_center",
                                       "middle_right", "bootom_left", "bootom_center", "boottom_right"};
const char* const kSelectedPictures[9] = {"top_left - sel", "top_center - sel", "top_right - sel",
                                          "middle_left - sel", "middle_center_sel", "middle_right - sel",
                                          "bootom_left - sel", "bootom_center - sel", "boottom_right - sel"};

QString reason(const std::exception& e) { return QString::fromUtf8(e.what()); }

QLineEdit* numberField(QValidator* validator)
{
    auto* field = new QLineEdit;
    field->setValidator(validator);
    field->setAlignment(Qt::AlignRight);
    field->setMaximumWidth(90);
    return field;
}

QDoubleValidator* millimetreValidator(QObject* parent)
{
    auto* v = new QDoubleValidator(0, 10000, 2, parent);
    v->setNotation(QDoubleValidator::StandardNotation);
    v->setLocale(QLocale::c());
    return v;
}

// Shows value in a pair without running its handler. A count shows as given,
// also where the stepper stops short of it.
void setPair(QLineEdit* field, QDoubleSpinBox* stepper, double value, bool whole)
{
    const QSignalBlocker block(stepper);
    stepper->setValue(value);
    field->setText(whole ? QString::number(qRound64(value)) : QString::number(stepper->value()));
}
}

Print_Wnd* Print_Wnd::defaultInstance()
{
    if (!Print_DefaultInstance)
        Print_DefaultInstance = new Print_Wnd;
    return Print_DefaultInstance;
}

Print_Wnd::Print_Wnd()
{
    Print_DefaultInstance = this;
    for (int i = 0; i < 9; ++i) {
        plainImages << QImage(Resource_Path + '/' + QString::fromLatin1(kPlainPictures[i]) + QStringLiteral(".png"));
        selectedImages << QImage(Resource_Path + '/' + QString::fromLatin1(kSelectedPictures[i]) +
                                 QStringLiteral(".png"));
    }
    buildWindow();
    awakeFromNib();
}

Print_Wnd::~Print_Wnd()
{
    if (Print_DefaultInstance == this)
        Print_DefaultInstance = nullptr;
    if (Print_Var == this)
        Print_Var = nullptr;
}

void Print_Wnd::awakeFromNib()
{
    Apply_Dialog_Background(this);
    Print_Var = this;
    setPrintInfo(QPrinter(QPrinter::HighResolution));
}

void Print_Wnd::buildWindow()
{
    setWindowTitle(QStringLiteral("Print Labels"));
    // The settings scroll when the window is too short for them; the buttons
    // and the outcome of the last job stay in view below them.
    auto* outer = new QHBoxLayout(this);
    auto* settingsPanel = new QWidget;
    auto* settings = new QVBoxLayout(settingsPanel);
    settings->setContentsMargins(0, 0, 0, 0);
    auto* settingsScroll = new QScrollArea;
    settingsScroll->setWidget(settingsPanel);
    settingsScroll->setWidgetResizable(true);
    settingsScroll->setFrameShape(QFrame::NoFrame);
    settingsScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* left = new QVBoxLayout;
    left->addWidget(settingsScroll, 1);
    outer->addLayout(left);
    settings->addWidget(buildPrinterBox());
    settings->addWidget(buildLabelBox());
    settings->addWidget(buildPlacementBox());
    settings->addWidget(buildSideBox());

    print_with_batch_chk = new QCheckBox(QStringLiteral("Use Batch Processing Series values"));
    print_with_excel_chk = new QCheckBox(QStringLiteral("Use spreadsheet values"));
    connect(print_with_batch_chk, &QCheckBox::clicked, this, &Print_Wnd::Print_With_Batch_Changed);
    connect(print_with_excel_chk, &QCheckBox::clicked, this, &Print_Wnd::Print_With_Excel_Changed);
    settings->addWidget(print_with_batch_chk);
    settings->addWidget(print_with_excel_chk);
    settings->addStretch();
    // As wide as the settings, so only their height ever scrolls.
    settingsScroll->setMinimumWidth(settingsPanel->minimumSizeHint().width() +
                                    settingsScroll->verticalScrollBar()->sizeHint().width());
    print_status = new QLabel;
    print_status->setWordWrap(true);
    left->addWidget(print_status);
    left->addLayout(buildButtonRow());

    outer->addLayout(buildSampleColumn(), 1);
    // Fits a 1366 by 768 screen with its panels; smaller screens scroll.
    resize(1000, 660);
}

// Printer and paper.
QGroupBox* Print_Wnd::buildPrinterBox()
{
    auto* printerBox = new QGroupBox(QStringLiteral("Printer"));
    auto* printerForm = new QFormLayout(printerBox);
    Printer_ComboBox = new QComboBox;
    Orient_ComboBox = new QComboBox;
    Orient_ComboBox->addItems({QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    for (QComboBox* combo : {Printer_ComboBox, Orient_ComboBox})
        connect(combo, &QComboBox::activated, this, [this, combo] { comboBoxSelectionDidChange(combo); });
    auto* setup = new QPushButton(QStringLiteral("Page Setup..."));
    connect(setup, &QPushButton::clicked, this, &Print_Wnd::pagesetup);
    Paper_id = new QLabel;
    Size_id = new QLabel;
    l_mar_id = new QLabel;
    r_mar_id = new QLabel;
    t_mar_id = new QLabel;
    b_mar_id = new QLabel;
    auto* insets = new QGridLayout;
    insets->addWidget(new QLabel(QStringLiteral("Left")), 0, 0);
    insets->addWidget(l_mar_id, 0, 1);
    insets->addWidget(new QLabel(QStringLiteral("Right")), 0, 2);
    insets->addWidget(r_mar_id, 0, 3);
    insets->addWidget(new QLabel(QStringLiteral("Top")), 1, 0);
    insets->addWidget(t_mar_id, 1, 1);
    insets->addWidget(new QLabel(QStringLiteral("Bottom")), 1, 2);
    insets->addWidget(b_mar_id, 1, 3);
    printerForm->addRow(QStringLiteral("Printer"), Printer_ComboBox);
    printerForm->addRow(QStringLiteral("Orientation"), Orient_ComboBox);
    printerForm->addRow(QStringLiteral("Paper"), Paper_id);
    printerForm->addRow(QStringLiteral("Size (mm)"), Size_id);
    printerForm->addRow(QStringLiteral("Margins (mm)"), insets);
    printerForm->addRow(QString(), setup);
    return printerBox;
}

// One label, the gaps, the grid and the total.
QGroupBox* Print_Wnd::buildLabelBox()
{
    auto* labelBox = new QGroupBox(QStringLiteral("Labels"));
    auto* labelForm = new QFormLayout(labelBox);
    // Numbers: typing ends with Return or leaving the field.
    auto pair = [&](const QString& title, QLineEdit*& field, QDoubleSpinBox*& stepper, QValidator* validator,
                    double min, double max, double step, void (Print_Wnd::*handler)(QObject*)) {
        field = numberField(validator);
        stepper = new QDoubleSpinBox;
        stepper->setRange(min, max);
        stepper->setSingleStep(step);
        stepper->setDecimals(step < 1 ? 2 : 0);
        QWidget* row = Field_With_Stepper(field, stepper);
        static_cast<QHBoxLayout*>(row->layout())->addStretch();
        labelForm->addRow(title, row);
        connect(field, &QLineEdit::editingFinished, this, [this, field, handler] { (this->*handler)(field); });
        connect(stepper, &QDoubleSpinBox::valueChanged, this, [this, stepper, handler] { (this->*handler)(stepper); });
    };
    pair(QStringLiteral("Label width (mm)"), width_Text, width_Stepper, millimetreValidator(this), 1, 1000, 0.5,
         &Print_Wnd::Width_Changed);
    pair(QStringLiteral("Label height (mm)"), height_Text, height_Stepper, millimetreValidator(this), 1, 1000, 0.5,
         &Print_Wnd::Height_Changed);
    pair(QStringLiteral("Horizontal gap (mm)"), horz_mar_Text, horz_mar_Stepper, millimetreValidator(this), 0, 500,
         0.5, &Print_Wnd::Horz_Margin_Changed);
    pair(QStringLiteral("Vertical gap (mm)"), vert_mar_Text, vert_mar_Stepper, millimetreValidator(this), 0, 500, 0.5,
         &Print_Wnd::Vert_Margin_Changed);
    // Counts below 1 are taken and raised to 1; a total cannot be typed negative.
    pair(QStringLiteral("Rows"), Row_Text, Row_Stepper, new QIntValidator(0, 9999, this), 1, 9999, 1,
         &Print_Wnd::Row_Changed);
    pair(QStringLiteral("Columns"), Col_Text, Col_Stepper, new QIntValidator(0, 9999, this), 1, 9999, 1,
         &Print_Wnd::Col_Changed);
    pair(QStringLiteral("Total labels"), Total_Text, Total_Stepper, new QIntValidator(0, 99999999, this), 0,
         kTotalMaximum, 1, &Print_Wnd::Total_Val_Changed);
    return labelBox;
}

// Placement: the nine corners and sides of the paper, spreading, outlines.
QGroupBox* Print_Wnd::buildPlacementBox()
{
    auto* placeBox = new QGroupBox(QStringLiteral("Placement"));
    auto* placeLayout = new QHBoxLayout(placeBox);
    align_Gp_Bx = new QGroupBox;
    align_Gp_Bx->setFlat(true);
    auto* alignGrid = new QGridLayout(align_Gp_Bx);
    alignGrid->setSpacing(2);
    QToolButton** buttons[9] = {&top_left_btn, &top_center_btn, &top_rite_btn, &mid_left_btn, &mid_center_btn,
                                &mid_rite_btn, &bot_left_btn, &bot_center_btn, &bot_rite_btn};
    void (Print_Wnd::*handlers[9])() = {
        &Print_Wnd::Top_left_btn_clicked, &Print_Wnd::Top_center_btn_clicked, &Print_Wnd::Top_rite_btn_clicked,
        &Print_Wnd::Mid_left_btn_clicked, &Print_Wnd::Mid_center_btn_clicked, &Print_Wnd::Mid_rite_btn_clicked,
        &Print_Wnd::Bot_left_btn_clicked, &Print_Wnd::Bot_center_btn_clicked, &Print_Wnd::Bot_rite_btn_clicked};
    for (int i = 0; i < 9; ++i) {
        auto* b = new QToolButton;
        b->setAutoRaise(true);
        b->setIconSize(QSize(36, 36));
        b->setIcon(QIcon(QPixmap::fromImage(plainImages[i])));
        *buttons[i] = b;
        alignButtons << b;
        alignGrid->addWidget(b, i / 3, i % 3);
        connect(b, &QToolButton::clicked, this, handlers[i]);
    }
    Auto_Center_chk_bx = new QCheckBox(QStringLiteral("Spread evenly"));
    Show_Margins = new QCheckBox(QStringLiteral("Show label outlines"));
    connect(Show_Margins, &QCheckBox::clicked, this, &Print_Wnd::Show_Margin_Checked);
    connect(Auto_Center_chk_bx, &QCheckBox::clicked, this, &Print_Wnd::Auto_Center_Checked);
    auto* placeChecks = new QVBoxLayout;
    placeChecks->addWidget(Auto_Center_chk_bx);
    placeChecks->addWidget(Show_Margins);
    placeChecks->addStretch();
    placeLayout->addWidget(align_Gp_Bx);
    placeLayout->addLayout(placeChecks);
    return placeBox;
}

// Side and stacking.
QGroupBox* Print_Wnd::buildSideBox()
{
    auto* sideBox = new QGroupBox(QStringLiteral("Card side"));
    auto* sideLayout = new QHBoxLayout(sideBox);
    matrix_card_side = new QButtonGroup(this);
    const QStringList sides = {QStringLiteral("Both"), QStringLiteral("Front"), QStringLiteral("Back")};
    for (int i = 0; i < sides.size(); ++i) {
        auto* radio = new QRadioButton(sides[i]);
        matrix_card_side->addButton(radio, i);
        sideLayout->addWidget(radio);
    }
    connect(matrix_card_side, &QButtonGroup::idClicked, this, &Print_Wnd::card_side_CellClick);
    print_alignment = new QComboBox;
    print_alignment->addItems({QStringLiteral("Front above back"), QStringLiteral("Side by side")});
    connect(print_alignment, &QComboBox::activated, this, [this] { comboBoxSelectionDidChange(print_alignment); });
    sideLayout->addWidget(print_alignment);
    return sideBox;
}

// Cancel, Preview and Print.
QHBoxLayout* Print_Wnd::buildButtonRow()
{
    auto* buttonsRow = new QHBoxLayout;
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    auto* preview = new QPushButton(QStringLiteral("Preview"));
    auto* print = new QPushButton(QStringLiteral("Print"));
    print->setDefault(true);
    connect(preview, &QPushButton::clicked, this, &Print_Wnd::PreviewButtonPressed);
    connect(print, &QPushButton::clicked, this, &Print_Wnd::PrintButtonPressed);
    connect(cancel, &QPushButton::clicked, this, &Print_Wnd::CancelButtonPressed);
    buttonsRow->addWidget(cancel);
    buttonsRow->addStretch();
    buttonsRow->addWidget(preview);
    buttonsRow->addWidget(print);
    return buttonsRow;
}

// The sample sheet and its small picture.
QVBoxLayout* Print_Wnd::buildSampleColumn()
{
    auto* sampleColumn = new QVBoxLayout;
    PrintView = new Sample_Preview;
    Print_sclview = new QScrollArea;
    Print_sclview->setWidget(PrintView);
    Print_sclview->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Print_sclview->setMinimumSize(240, 200);
    for (QScrollBar* bar : {Print_sclview->horizontalScrollBar(), Print_sclview->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, &Print_Wnd::boundsDidChangeNotification);
    test_image_view = new QLabel;
    test_image_view->setFixedSize(150, 150);
    test_image_view->setAlignment(Qt::AlignCenter);
    sampleColumn->addWidget(Print_sclview, 1);
    sampleColumn->addWidget(test_image_view, 0, Qt::AlignHCenter);
    return sampleColumn;
}

// ---------------------------------------------------------------- printer

void Print_Wnd::setPrintInfo(const QPrinter& info)
{
    if (m_printInfo.get() == &info)
        return;
    if (!m_printInfo)
        m_printInfo = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (info.outputFormat() == QPrinter::NativeFormat && !info.printerName().isEmpty())
        m_printInfo->setPrinterName(info.printerName());
    m_printInfo->setPageLayout(info.pageLayout());
}

QSizeF Print_Wnd::paperSize() const
{
    return m_printInfo ? Paper_Size_In_Points(m_printInfo->pageLayout()) : QSizeF(0, 0);
}

float Print_Wnd::MM_to_Points_Convert(float mm) const
{
    return MM_to_Points(mm);
}

float Print_Wnd::Points_to_MM_Convert(float points) const
{
    return Points_to_MM(points);
}

void Print_Wnd::Set_values_From_Printer()
{
    try {
        const QPageLayout layout = m_printInfo->pageLayout();
        Paper_id->setText(layout.pageSize().name());
        const QSizeF paper = paperSize();
        PrintView->setFixedSize(qCeil(paper.width()), qCeil(paper.height()));
        Print_sclview->setBackgroundRole(QPalette::Button);
        Print_sclview->update();
        Size_id->setText(QString::asprintf("%.2f x %.2f", Points_to_MM_Convert(float(paper.width())),
                                           Points_to_MM_Convert(float(paper.height()))));
        {
            const QSignalBlocker block(Orient_ComboBox);
            Orient_ComboBox->setCurrentIndex(layout.orientation() == QPageLayout::Landscape ? 1 : 0);
        }
        // The printable area's insets.
        const QMarginsF insets = layout.margins(QPageLayout::Point);
        Left_Mar = float(insets.left());
        Rite_Mar = float(insets.right());
        Top_Mar = float(insets.top());
        Bot_Mar = float(insets.bottom());
        l_mar_id->setText(QString::asprintf("%0.2f", Points_to_MM_Convert(Left_Mar)));
        r_mar_id->setText(QString::asprintf("%0.2f", Points_to_MM_Convert(Rite_Mar)));
        t_mar_id->setText(QString::asprintf("%0.2f", Points_to_MM_Convert(Top_Mar)));
        b_mar_id->setText(QString::asprintf("%0.2f", Points_to_MM_Convert(Bot_Mar)));
        Refresh_Preview();
    } catch (const std::exception&) {
    }
}

void Print_Wnd::fillPrinters()
{
    const QStringList names = platform::printerNames();
    const QSignalBlocker block(Printer_ComboBox);
    Printer_ComboBox->clear();
    Printer_ComboBox->addItems(names);
    if (names.isEmpty())
        return;
    // The list shows the printer the job will go to: the one chosen before
    // when it is still there, else the first.
    const int kept = names.indexOf(m_printInfo->printerName());
    Printer_ComboBox->setCurrentIndex(kept >= 0 ? kept : 0);
    if (kept < 0)
        m_printInfo->setPrinterName(names.first());
}

// ---------------------------------------------------------------- opening

bool Print_Wnd::Open_Print_Wnd()
{
    try {
        loading = true;
        print_status->clear(); // no job of this opening yet
        // Side: the front, stacked, until the user chooses.
        matrix_card_side->button(1)->setChecked(true);
        card_side_str = Side_Code_Front;
        Print_Card_Algn = QStringLiteral("U");
        {
            const QSignalBlocker block(print_alignment);
            print_alignment->setCurrentIndex(0);
        }
        print_alignment->setEnabled(false);
        Print_Card_Side = Side_Code_Front;

        auto_center_flag = false;
        Auto_Center_chk_bx->setChecked(false);
        Show_margin_rect = true;
        Show_Margins->setChecked(true);
        Print_Row = Print_Col = Total_Label = 1;
        horz_mar = vert_mar = 0;
        barcode_counter = 0;

        // The faces as they stand, the side on screen kept.
        const int side = Card_Front_Or_Back;
        back_image = design ? design->Card_Row_Image(-1, Side_Back, 1.0) : QImage();
        front_image = design ? design->Card_Row_Image(-1, Side_Front, 1.0) : QImage();
        Card_Front_Or_Back = side;

        // Bound rows: one label per row unless the user says otherwise.
        print_with_batch_chk->setEnabled(Use_Data_Sheet_Values);
        print_with_batch_chk->setChecked(Use_Data_Sheet_Values);
        print_with_excel_chk->setEnabled(Use_Excel_Binding_Values);
        print_with_excel_chk->setChecked(Use_Excel_Binding_Values);
        if (Use_Data_Sheet_Values || Use_Excel_Binding_Values) {
            Total_Label = Total_Batch_Excel_Card.load();
            Total_Stepper->setMaximum(Total_Label);
        } else {
            Total_Stepper->setMaximum(kTotalMaximum);
        }
        setPair(Total_Text, Total_Stepper, Total_Label, true);

        // One label the size of the front.
        const QSizeF face = front_image.isNull() ? QSizeF(0, 0) : front_image.deviceIndependentSize();
        label_width = float(face.width());
        label_hight = float(face.height());
        setPair(width_Text, width_Stepper, Points_to_MM_Convert(label_width), false);
        setPair(height_Text, height_Stepper, Points_to_MM_Convert(label_hight), false);

        setPair(Row_Text, Row_Stepper, 1, true);
        setPair(Col_Text, Col_Stepper, 1, true);
        setPair(horz_mar_Text, horz_mar_Stepper, 0, false);
        setPair(vert_mar_Text, vert_mar_Stepper, 0, false);
        for (QLabel* inset : {l_mar_id, r_mar_id, t_mar_id, b_mar_id})
            inset->setText(QStringLiteral("0.00"));
        horz_mar_Stepper->setEnabled(true);
        vert_mar_Stepper->setEnabled(true);
        SetObjEnabled(align_Gp_Bx, true);

        label_align_val = 1;
        Set_Reset_Alignemnt_Image();

        fillPrinters();
        Set_values_From_Printer();
        loading = false;
        Refresh_Preview();
    } catch (const std::exception& e) {
        loading = false;
        Show_NSLog_Message(reason(e));
        Show_MessageBox(reason(e));
        return false;
    }
    platform::runModal(*this);
    hide();
    return true;
}

// ---------------------------------------------------------------- layout

void Print_Wnd::Check_Max_Cell_Value()
{
    if (!m_printInfo)
        return;
    try {
        barcode_counter = 0;
        float width = MM_to_Points_Convert(float(width_Stepper->value()));
        float height = MM_to_Points_Convert(float(height_Stepper->value()));
        // Both faces share one cell: twice as tall stacked, twice as wide side by side.
        if (Print_Card_Side == Side_Code_Both) {
            if (Print_Card_Algn == QLatin1String("U"))
                height *= 2;
            else
                width *= 2;
        }
        label_width = width;
        label_hight = height;
        const float gapAcross = MM_to_Points_Convert(float(Float_Value(horz_mar_Text->text())));
        const float gapDown = MM_to_Points_Convert(float(Float_Value(vert_mar_Text->text())));
        const int typedCols = Int_Value(Col_Text->text());
        const int typedRows = Int_Value(Row_Text->text());

        const QSizeF paper = paperSize();
        const bool spread = Auto_Center_chk_bx->isChecked();
        const Label_Fit cols = Fit_Label_Cells(float(paper.width()), Left_Mar, Rite_Mar, width, gapAcross, typedCols,
                                               spread);
        const Label_Fit rows = Fit_Label_Cells(float(paper.height()), Top_Mar, Bot_Mar, height, gapDown, typedRows,
                                               spread);
        if (cols.rewrite)
            setPair(Col_Text, Col_Stepper, cols.count, true);
        if (rows.rewrite)
            setPair(Row_Text, Row_Stepper, rows.count, true);
        horz_mar = cols.gap;
        vert_mar = rows.gap;
        Print_Row = rows.count;
        Print_Col = cols.count;

        if (!Use_Data_Sheet_Values && !Use_Excel_Binding_Values) {
            Total_Label = rows.count * cols.count;
            setPair(Total_Text, Total_Stepper, Total_Label, true);
        }
        Refresh_Preview();
    } catch (const std::exception&) {
    }
}

void Print_Wnd::Refresh_Preview()
{
    if (!m_printInfo || loading)
        return;
    // The top of the sheet in view.
    Print_sclview->verticalScrollBar()->setValue(0);
    PrintView->update();
    const QImage snapshot = PrintView->imageRepresentation();
    test_image_view->setPixmap(snapshot.isNull() ? QPixmap()
                                                 : QPixmap::fromImage(snapshot.scaled(test_image_view->size(),
                                                                                      Qt::KeepAspectRatio,
                                                                                      Qt::SmoothTransformation)));
}

void Print_Wnd::Set_Reset_Alignemnt_Image()
{
    const int code = label_align_val;
    if (code < 1 || code > 9)
        return;
    for (int i = 0; i < 9; ++i)
        alignButtons[i]->setIcon(QIcon(QPixmap::fromImage(i + 1 == code ? selectedImages[i] : plainImages[i])));
}

void Print_Wnd::Verify_Card_Count()
{
    if (design)
        design->Check_Series_Or_Excel_Use_or_not();
    if (!print_with_batch_chk->isChecked())
        Use_Data_Sheet_Values = false;
    if (!print_with_excel_chk->isChecked())
        Use_Excel_Binding_Values = false;
    if (design)
        design->Get_total_Card_count();
}

// ---------------------------------------------------------------- handlers

void Print_Wnd::pairChanged(QObject* sender, QLineEdit* field, QDoubleSpinBox* stepper, bool whole)
{
    try {
        Copy_Pair_Value(sender, field, stepper, whole);
        Check_Max_Cell_Value();
    } catch (const std::exception&) {
    }
}

void Print_Wnd::Horz_Margin_Changed(QObject* sender) { pairChanged(sender, horz_mar_Text, horz_mar_Stepper, false); }
void Print_Wnd::Vert_Margin_Changed(QObject* sender) { pairChanged(sender, vert_mar_Text, vert_mar_Stepper, false); }
void Print_Wnd::Width_Changed(QObject* sender) { pairChanged(sender, width_Text, width_Stepper, false); }
void Print_Wnd::Height_Changed(QObject* sender) { pairChanged(sender, height_Text, height_Stepper, false); }
void Print_Wnd::Row_Changed(QObject* sender) { pairChanged(sender, Row_Text, Row_Stepper, true); }
void Print_Wnd::Col_Changed(QObject* sender) { pairChanged(sender, Col_Text, Col_Stepper, true); }

void Print_Wnd::Total_Val_Changed(QObject* sender)
{
    try {
        Copy_Pair_Value(sender, Total_Text, Total_Stepper, true, true);
    } catch (const std::exception&) {
    }
}

void Print_Wnd::Show_Margin_Checked()
{
    Show_margin_rect = Show_Margins->isChecked();
    Refresh_Preview();
}

void Print_Wnd::Auto_Center_Checked()
{
    const bool spread = Auto_Center_chk_bx->isChecked();
    auto_center_flag = spread;
    // Spreading sets the gaps and the place of the block itself.
    horz_mar_Stepper->setEnabled(!spread);
    vert_mar_Stepper->setEnabled(!spread);
    SetObjEnabled(align_Gp_Bx, !spread);
    Check_Max_Cell_Value();
}

void Print_Wnd::alignmentClicked(int code)
{
    label_align_val = code;
    Set_Reset_Alignemnt_Image();
    Refresh_Preview();
}

void Print_Wnd::Top_left_btn_clicked() { alignmentClicked(1); }
void Print_Wnd::Top_center_btn_clicked() { alignmentClicked(2); }
void Print_Wnd::Top_rite_btn_clicked() { alignmentClicked(3); }
void Print_Wnd::Mid_left_btn_clicked() { alignmentClicked(4); }
void Print_Wnd::Mid_center_btn_clicked() { alignmentClicked(5); }
void Print_Wnd::Mid_rite_btn_clicked() { alignmentClicked(6); }
void Print_Wnd::Bot_left_btn_clicked() { alignmentClicked(7); }
void Print_Wnd::Bot_center_btn_clicked() { alignmentClicked(8); }
void Print_Wnd::Bot_rite_btn_clicked() { alignmentClicked(9); }

void Print_Wnd::card_side_CellClick()
{
    const int row = matrix_card_side->checkedId();
    card_side_str = row == 0 ? QString(Side_Code_Both) : row == 1 ? QString(Side_Code_Front) : QString(Side_Code_Back);
    Print_Card_Side = card_side_str;
    print_alignment->setEnabled(card_side_str == Side_Code_Both);
    Check_Max_Cell_Value();
}

void Print_Wnd::comboBoxSelectionDidChange(QComboBox* combo)
{
    try {
        if (combo == Printer_ComboBox) {
            m_printInfo->setPrinterName(Printer_ComboBox->currentText());
            Set_values_From_Printer();
        } else if (combo == Orient_ComboBox) {
            const bool portrait = Orient_ComboBox->currentText() == QLatin1String("Portrait");
            const QPageLayout::Orientation now = m_printInfo->pageLayout().orientation();
            if (portrait && now == QPageLayout::Landscape)
                m_printInfo->setPageOrientation(QPageLayout::Portrait);
            else if (!portrait && now == QPageLayout::Portrait)
                m_printInfo->setPageOrientation(QPageLayout::Landscape);
            Set_values_From_Printer();
            Check_Max_Cell_Value();
        } else if (combo == print_alignment) {
            Print_Card_Algn = print_alignment->currentIndex() == 0 ? QStringLiteral("U") : QStringLiteral("L");
            Check_Max_Cell_Value();
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

void Print_Wnd::batchBoxChanged()
{
    Verify_Card_Count();
    const bool rows = print_with_batch_chk->isChecked() || print_with_excel_chk->isChecked();
    Total_Label = rows ? Total_Batch_Excel_Card.load() : 1;
    // The field shows the count even where the stepper stops short of it.
    setPair(Total_Text, Total_Stepper, Total_Label, true);
}

void Print_Wnd::Print_With_Batch_Changed() { batchBoxChanged(); }
void Print_Wnd::Print_With_Excel_Changed() { batchBoxChanged(); }

void Print_Wnd::pagesetup()
{
    if (platform::runPageSetup(*m_printInfo) != 1)
        return;
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

void Print_Wnd::PreviewButtonPressed() { Execute_Printing(true); }
void Print_Wnd::PrintButtonPressed() { Execute_Printing(false); }

void Print_Wnd::CancelButtonPressed()
{
    hide();
    done(0);
}

void Print_Wnd::windowWillClose()
{
    try {
        hide();
        done(0);
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

void Print_Wnd::boundsDidChangeNotification()
{
    PrintView->update();
}

void Print_Wnd::closeEvent(QCloseEvent* event)
{
    windowWillClose();
    event->accept();
}

void Print_Wnd::reject()
{
    CancelButtonPressed();
}

// ---------------------------------------------------------------- the job

void Print_Wnd::Execute_Printing(bool preview)
{
    const QSizeF paper = paperSize();
    const float W = float(paper.width()), H = float(paper.height());
    // One cell with one gap must fit inside the paper's printable area.
    if (label_width + Left_Mar + Rite_Mar + horz_mar > W || label_hight + Top_Mar + Bot_Mar + vert_mar > H) {
        if (!Show_YES_NO_MessageBox(kTooBig))
            return;
    }
    barcode_counter = 0;
    Total_Label = Int_Value(Total_Text->text());
    Total_Label_Real = Total_Label.load();
    if (Total_Label <= 0) {
        Show_MessageBox(kNothingToPrint);
        return;
    }

    if (!preview && design && design->Batch_Row_Count() > 0 && !design->Confirm_Source_Lengths())
        return;

    Printing_View view(front_image, back_image,
                       preview ? Printing_View::Print_Preview_Job : Printing_View::Print_Spool_Job, design);
    platform::PrintJob job;
    job.title = kJobTitle;
    job.paint = [&view](QPagedPaintDevice& pages) { return view.Print_Sheets(pages); };
    if (preview) {
        platform::runPrintPreview(*m_printInfo, job);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const platform::PrintResult result = platform::runPrint(*m_printInfo, job);
    QApplication::restoreOverrideCursor();
    print_status->setText(Print_Outcome_Text(result, view.numberOfPages(), Printer_ComboBox->currentText()));
    if (!result.printed) {
        Show_NSLog_Message(QStringLiteral("Printing failed: %1").arg(result.error));
        Show_MessageBox(QStringLiteral("The labels could not be printed.\n\n%1").arg(result.error));
        return;
    }
    const QString note = Rows_Without_Barcode_Note(view.Rows_Without_Barcode(), QStringLiteral("Labels printed"));
    if (!note.isEmpty())
        Show_MessageBox(note);
}

QString Print_Outcome_Text(const platform::PrintResult& result, quint64 sheets, const QString& printer)
{
    if (!result.printed)
        return QStringLiteral("Nothing was printed: %1").arg(result.error);
    const QString count = sheets == 1 ? QStringLiteral("1 sheet") : QStringLiteral("%1 sheets").arg(sheets);
    QString text = printer.isEmpty() ? QStringLiteral("%1 sent to the printer").arg(count)
                                     : QStringLiteral("%1 sent to the printer \"%2\"").arg(count, printer);
    if (!result.jobId.isEmpty())
        text += QStringLiteral(" (job %1)").arg(result.jobId);
    return text + QLatin1Char('.');
}
