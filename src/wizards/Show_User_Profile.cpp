#include "wizards/Show_User_Profile.h"

#include "canvas/SKTRenderingView.h"
#include "data/Data_From_Excel.h"
#include "data/Import_Excel.h"
#include "data/View_Data_Series.h"
#include "model/Data_Source_Lookup.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"
#include "wizards/Profile_Placement.h"
#include "wizards/Wizard_Host.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>
#include <stdexcept>

Show_User_Profile* Show_User_Profile_Window = nullptr;

namespace {
constexpr QSize Preview_Size(340, 260);
constexpr QSize Thumbnail_Size(96, 96);
// The template boxes have the size of a credit-card badge, landscape and portrait.
constexpr QSize Landscape_Box(243, 153);
constexpr QSize Portrait_Box(153, 243);

bool spreadsheetLoaded() { return Data_From_Excel_Window && !Data_From_Excel_Window->ListData.isEmpty(); }

void showScaled(QLabel* label, const QImage& image, const QSize& box)
{
    if (image.isNull()) {
        label->setPixmap(QPixmap());
        return;
    }
    label->setPixmap(QPixmap::fromImage(image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}
}

Show_User_Profile* Show_User_Profile::defaultInstance()
{
    static Show_User_Profile* instance = [] {
        auto* dialog = new Show_User_Profile;
        Show_User_Profile_Window = dialog;
        return dialog;
    }();
    return instance;
}

Show_User_Profile::Show_User_Profile(QWidget* parent)
    : Show_User_Profile(false, parent)
{
}

Show_User_Profile::Show_User_Profile(bool wizard, QWidget* parent)
    : QDialog(parent)
    , wizard_mode(wizard)
{
    Apply_Dialog_Background(this);
    buildWindow();
    if (!wizard_mode)
        buildTemplates();
}

// ---------------------------------------------------------------- window

void Show_User_Profile::buildWindow()
{
    setWindowTitle(QStringLiteral("User Profile Information"));
    QGridLayout* grid = buildFieldGrid();
    buildPhotoPanel(grid, Profile_Field_Count + 1);
    buildSpreadsheetPanel(grid, Profile_Field_Count + 2);

    auto* top = new QHBoxLayout;
    top->addLayout(grid);
    top->addSpacing(12);
    top->addLayout(buildPreviewPanel());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buildButtonRow());
}

QGridLayout* Show_User_Profile::buildFieldGrid()
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    int column = 0;
    for (const char* heading : {"Caption", "Edit", "Value", "Edit", "Value from", "List", ""}) {
        const bool checkColumn = column == 1 || column == 3;
        if (!(wizard_mode && checkColumn))
            grid->addWidget(new QLabel(QString::fromLatin1(heading)), 0, column);
        ++column;
    }
    if (wizard_mode) {
        select_side_label = new QLabel(QStringLiteral("Side"));
        grid->addWidget(select_side_label, 0, 7);
    }
    for (int f = 0; f < Profile_Field_Count; ++f)
        buildFieldRow(grid, f);
    return grid;
}

void Show_User_Profile::buildFieldRow(QGridLayout* grid, int f)
{
    const Profile_Field_Row& row_def = Profile_Fields()[f];
    Profile_Field_Controls& c = fields[f];
    const int row = f + 1;
    c.value = new QLineEdit;
    c.value->setMinimumWidth(220);
    c.ds_combo = new QComboBox;
    c.ds_combo->addItems({QStringLiteral("Manual"), QStringLiteral("Series")});
    c.ser_col_cb = new QComboBox;
    c.ser_col_cb->setMinimumWidth(130);
    for (QComboBox* combo : {c.ds_combo, c.ser_col_cb})
        connect(combo, &QComboBox::activated, this, [this, combo] { comboBoxSelectionDidChange(combo); });
    if (row_def.kind == Profile_Field_Kind::Text) {
        c.label = new QLineEdit(*row_def.caption);
        c.label->setReadOnly(true);
        // Wide enough for the whole caption, however the style draws it.
        c.label->setMinimumWidth(c.label->fontMetrics().horizontalAdvance(*row_def.caption) + 24);
        c.label->setCursorPosition(0);
        grid->addWidget(c.label, row, 0);
        grid->addWidget(c.value, row, 2);
        if (!wizard_mode) {
            c.label_chk = new QCheckBox;
            c.value_chk = new QCheckBox;
            c.label_chk->setToolTip(QStringLiteral("Edit the caption"));
            c.value_chk->setToolTip(QStringLiteral("Edit the value"));
            connect(c.label_chk, &QCheckBox::clicked, this, [this, f] { Label_Chk_Clicked(f); });
            connect(c.value_chk, &QCheckBox::clicked, this, [this, f] { Value_Chk_Clicked(f); });
            for (QLineEdit* edit : {c.label, c.value})
                connect(edit, &QLineEdit::textEdited, this, [this, edit] { controlTextDidChange(edit); });
            grid->addWidget(c.label_chk, row, 1);
            grid->addWidget(c.value_chk, row, 3);
        }
    } else {
        // The photo's value is its path, chosen with Browse.
        c.value->setReadOnly(true);
        grid->addWidget(new QLabel(*row_def.caption), row, 0);
        grid->addWidget(c.value, row, 2);
    }
    grid->addWidget(c.ds_combo, row, 4);
    grid->addWidget(c.ser_col_cb, row, 5);
    c.view_btn = new QPushButton(QStringLiteral("View"));
    c.view_btn->setAutoDefault(false);
    c.view_btn->setToolTip(QStringLiteral("Show the values of the chosen Batch Processing Series"));
    connect(c.view_btn, &QPushButton::clicked, this, [this, f] { View_Data_Series_By_Name(fields[f].ser_col_cb); });
    grid->addWidget(c.view_btn, row, 6);
    if (wizard_mode) {
        side_combo[f] = new QComboBox;
        side_combo[f]->addItems({QStringLiteral("Front"), QStringLiteral("Back"), QStringLiteral("Both")});
        side_combo[f]->setToolTip(QStringLiteral("The card side this field is written to"));
        grid->addWidget(side_combo[f], row, 7);
    }
}

void Show_User_Profile::buildPhotoPanel(QGridLayout* grid, int row)
{
    user_picture = new QLabel;
    user_picture->setFixedSize(Thumbnail_Size);
    user_picture->setAlignment(Qt::AlignCenter);
    user_picture->setFrameShape(QFrame::StyledPanel);
    browse_pic_btn = new QPushButton(QStringLiteral("Browse..."));
    clear_pic_btn = new QPushButton(QStringLiteral("Clear"));
    connect(browse_pic_btn, &QPushButton::clicked, this, &Show_User_Profile::Browse_image_Btn_Clicked);
    connect(clear_pic_btn, &QPushButton::clicked, this, &Show_User_Profile::Clear_image_Btn_Clicked);
    auto* photoRow = new QHBoxLayout;
    photoRow->addWidget(user_picture);
    auto* photoButtons = new QVBoxLayout;
    photoButtons->addWidget(browse_pic_btn);
    photoButtons->addWidget(clear_pic_btn);
    photoButtons->addStretch();
    photoRow->addLayout(photoButtons);
    photoRow->addStretch();
    grid->addLayout(photoRow, row, 2, 1, 4);
}

void Show_User_Profile::buildSpreadsheetPanel(QGridLayout* grid, int row)
{
    excel_path_field = new QLineEdit;
    excel_path_field->setReadOnly(true);
    excel_path_field->setPlaceholderText(QStringLiteral("No spreadsheet"));
    excel_browse_btn = new QPushButton(QStringLiteral("Load..."));
    view_excel_btn = new QPushButton(QStringLiteral("View"));
    batch_series_btn = new QPushButton(QStringLiteral("Batch Processing Series..."));
    for (QPushButton* b : {excel_browse_btn, view_excel_btn, batch_series_btn})
        b->setAutoDefault(false);
    connect(excel_browse_btn, &QPushButton::clicked, this, &Show_User_Profile::Browse_excel_Btn_Clicked);
    connect(view_excel_btn, &QPushButton::clicked, this, &Show_User_Profile::View_Excel_Btn_Clicked);
    connect(batch_series_btn, &QPushButton::clicked, this, &Show_User_Profile::Batch_Series_Btn_Clicked);
    grid->addWidget(new QLabel(QStringLiteral("Spreadsheet :")), row, 0);
    grid->addWidget(excel_path_field, row, 2, 1, 3);
    grid->addWidget(excel_browse_btn, row, 5);
    grid->addWidget(view_excel_btn, row, 6);
    grid->addWidget(batch_series_btn, row + 1, 5, 1, 2);
}

QVBoxLayout* Show_User_Profile::buildPreviewPanel()
{
    Preivew_picture = new QLabel;
    Preivew_picture->setFixedSize(Preview_Size);
    Preivew_picture->setAlignment(Qt::AlignCenter);
    Preivew_picture->setFrameShape(QFrame::StyledPanel);
    auto* previewButton = new QPushButton(QStringLiteral("Preview"));
    connect(previewButton, &QPushButton::clicked, this, &Show_User_Profile::Preview_Btn_Clicked);
    auto* previewColumn = new QVBoxLayout;
    if (wizard_mode) {
        Template_picture = new QLabel;
        Template_picture->setFixedSize(Preview_Size / 2);
        Template_picture->setAlignment(Qt::AlignCenter);
        Template_picture->setFrameShape(QFrame::StyledPanel);
        previewColumn->addWidget(Template_picture);
    }
    previewColumn->addWidget(Preivew_picture);
    previewColumn->addWidget(previewButton, 0, Qt::AlignRight);
    previewColumn->addStretch();
    return previewColumn;
}

QHBoxLayout* Show_User_Profile::buildButtonRow()
{
    auto* buttons = new QHBoxLayout;
    auto addButton = [&](const QString& text, void (Show_User_Profile::*action)()) {
        auto* b = new QPushButton(text);
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
        return b;
    };
    addButton(QStringLiteral("Reset"), &Show_User_Profile::Reset_Btn_Clicked);
    addButton(QStringLiteral("Help"), &Show_User_Profile::Help_Btn_Clicked);
    buttons->addStretch();
    addButton(QStringLiteral("Cancel"), &Show_User_Profile::Cancel_Btn_Clicked);
    addButton(QStringLiteral("OK"), &Show_User_Profile::OK_Btn_Clicked)->setDefault(true);
    return buttons;
}

void Show_User_Profile::buildTemplates()
{
    // Never shown: the boxes only carry the placeholder views whose frames
    // are the fields' default places. A frame is kept the way the
    // placement reads it back: y up from the box's bottom, turned against
    // the landscape box's height.
    horz_template = new QFrame(this);
    vert_template = new QFrame(this);
    horz_template->setGeometry(QRect(QPoint(0, 0), Landscape_Box));
    vert_template->setGeometry(QRect(QPoint(0, 0), Portrait_Box));
    const int H = Landscape_Box.height();
    for (int f = 0; f < Profile_Field_Count; ++f) {
        const Profile_Field_Row& row_def = Profile_Fields()[f];
        auto place = [H](QFrame* box, const QRectF& card) {
            auto* view = new QWidget(box);
            const qreal yUp = H - card.y();
            view->setGeometry(QRectF(card.x(), box->height() - yUp - card.height(), card.width(), card.height())
                                  .toRect());
            return view;
        };
        placeholder[f] = place(horz_template, row_def.landscape);
        placeholder_V[f] = place(vert_template, row_def.portrait);
    }
    horz_template->hide();
    vert_template->hide();
}

QRectF Show_User_Profile::Placeholder_Frame(int field, bool landscape) const
{
    if (field < 0 || field >= Profile_Field_Count)
        return {};
    const QWidget* view = landscape ? placeholder[field] : placeholder_V[field];
    if (!view || !view->parentWidget())
        return {};
    const QRect g = view->geometry();
    return QRectF(g.x(), view->parentWidget()->height() - g.y() - g.height(), g.width(), g.height());
}

qreal Show_User_Profile::Template_Height() const
{
    return horz_template ? horz_template->height() : 0;
}

// ---------------------------------------------------------------- opening and reset

int Show_User_Profile::Open_Wnd(bool edit)
{
    // The lists offer "Excel" while the design holds a spreadsheet table,
    // however it got there (loaded here, or with a design log).
    if (spreadsheetLoaded())
        Add_Excel_in_Data_Source_Combo();
    else
        Remove_Excel_in_Data_Source_Combo();

    if (wizard_mode)
        select_side_label->setHidden(edit);
    for (QComboBox* side : side_combo)
        if (side)
            side->setHidden(edit);
    if (edit) {
        Reset_all_Ctrl();
        for (QComboBox* side : side_combo)
            if (side)
                side->setCurrentIndex(Card_Front_Or_Back != Side_Front ? 1 : 0);
        excel_path_field->setText(Excel_Source_Path);
        const bool back = Card_Front_Or_Back != Side_Front;
        setWindowTitle(back ? QStringLiteral("Back Side User Profile Information")
                            : QStringLiteral("Front Side User Profile Information"));
        if (Wizard_Host* host = Wizard_Main_Window())
            Graphics_array = back ? host->Get_Back_Controls_Array() : host->Get_Front_Controls_Array();
        Create_and_Set_template_picture();
        Read_Back_Side();
    } else {
        setWindowTitle(QStringLiteral("User Profile Information"));
        Reset_all_Ctrl();
    }
    name_value->setFocus();
    const int code = platform::runModal(*this);
    hide();
    return code;
}

void Show_User_Profile::Read_Back_Side()
{
    const auto found = Find_Profile_Graphics(Graphics_array);
    for (int f = 0; f < Profile_Field_Count; ++f) {
        const GraphicPtr& g = found[f];
        if (!g)
            continue;
        Profile_Field_Controls& c = fields[f];
        c.value->setText(g->Text_Value);
        if (c.value_chk)
            c.value_chk->setChecked(true);
        // A binding the lists cannot show (a column while no spreadsheet
        // table is loaded) opens as typed.
        int source = g->data_source_type;
        if (source < 0 || source >= c.ds_combo->count())
            source = Source_Typed;
        c.ds_combo->setCurrentIndex(source);
        Data_Source_Changed(f);
        if (source == Source_Typed)
            continue;
        // A data set is found again by its name, whatever its place in the
        // listing now; a column past the table's end stays unchosen.
        const int entry = source == Source_Data_Set ? c.ser_col_cb->findText(g->batch_list_name) : g->excel_col_indx;
        if (entry >= 0 && entry < c.ser_col_cb->count()) {
            c.ser_col_cb->setCurrentIndex(entry);
            Series_Changed(f);
        }
    }
}

void Show_User_Profile::Reset_all_Ctrl()
{
    Preivew_picture->setPixmap(QPixmap());
    if (Template_picture)
        Template_picture->setPixmap(QPixmap());
    Set_User_Image(QStringLiteral(""));
    for (int f = 0; f < Profile_Field_Count; ++f) {
        Profile_Field_Controls& c = fields[f];
        if (Profile_Fields()[f].kind == Profile_Field_Kind::Text)
            c.value->clear();
        if (c.label_chk) {
            c.label_chk->setChecked(false);
            c.value_chk->setChecked(false);
        }
        if (side_combo[f])
            side_combo[f]->setCurrentIndex(2);
        c.ds_combo->setCurrentIndex(Source_Typed);
        Data_Source_Changed(f);
        c.ser_col_cb->setCurrentIndex(-1);
    }
}

void Show_User_Profile::Reset_Btn_Clicked() { Reset_all_Ctrl(); }

void Show_User_Profile::Help_Btn_Clicked() { Open_Help_File(); }

// ---------------------------------------------------------------- typing and check boxes

void Show_User_Profile::Label_Chk_Clicked(int field)
{
    const Profile_Field_Controls& c = fields[field];
    if (c.label)
        c.label->setReadOnly(!c.label_chk->isChecked());
}

void Show_User_Profile::Value_Chk_Clicked(int field)
{
    const Profile_Field_Controls& c = fields[field];
    if (c.value_chk)
        c.value->setReadOnly(!c.value_chk->isChecked());
}

void Show_User_Profile::controlTextDidChange(QLineEdit* edit)
{
    for (const Profile_Field_Controls& c : fields) {
        if (!c.label_chk)
            continue;
        if (edit == c.label)
            c.label_chk->setChecked(true);
        else if (edit == c.value)
            c.value_chk->setChecked(true);
    }
}

// ---------------------------------------------------------------- data sources

void Show_User_Profile::comboBoxSelectionDidChange(QComboBox* combo)
{
    for (int f = 0; f < Profile_Field_Count; ++f) {
        if (combo == fields[f].ds_combo)
            Data_Source_Changed(f);
        else if (combo == fields[f].ser_col_cb)
            Series_Changed(f);
    }
}

void Show_User_Profile::Data_Source_Changed(int field)
{
    try {
        Profile_Field_Controls& c = fields[field];
        const int source = c.ds_combo->currentIndex();
        const bool typed = source <= Source_Typed;
        if (Profile_Fields()[field].kind == Profile_Field_Kind::Photo) {
            browse_pic_btn->setEnabled(typed);
            clear_pic_btn->setEnabled(typed);
        } else {
            c.value->setReadOnly(!typed);
        }
        c.ser_col_cb->setEnabled(!typed);
        c.view_btn->setEnabled(source == Source_Data_Set);
        const Wizard_Host* host = Wizard_Main_Window();
        if (typed || !host) {
            const QSignalBlocker block(c.ser_col_cb);
            c.ser_col_cb->clear();
        } else if (source == Source_Data_Set) {
            host->Data_Sources().Fill_Data_Set_File_Name_In_Combo(c.ser_col_cb);
        } else {
            host->Data_Sources().Fill_Excel_Col_Name_In_Combo(c.ser_col_cb);
        }
        const QSignalBlocker block(c.ser_col_cb);
        c.ser_col_cb->setCurrentIndex(-1);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Show_User_Profile::Series_Changed(int field)
{
    try {
        const Profile_Field_Controls& c = fields[field];
        const Profile_Field_Choice choice = Field_Choice(field);
        const Wizard_Host* host = Wizard_Main_Window();
        if (choice.entry < 0 || choice.text.isEmpty() || !host)
            return;
        QString value;
        if (choice.source == Source_Data_Set)
            value = host->Data_Sources().Get_First_Value_Of_Dataset(choice.text);
        else if (choice.source == Source_Spreadsheet)
            value = host->Data_Sources().Get_First_Value_Of_Excel_Binding(choice.entry);
        else
            return;
        if (Profile_Fields()[field].kind == Profile_Field_Kind::Photo)
            Set_User_Image(value);
        else
            c.value->setText(value);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

Profile_Field_Choice Show_User_Profile::Field_Choice(int field) const
{
    const Profile_Field_Controls& c = fields.at(size_t(field));
    if (!c.ds_combo || !c.ser_col_cb)
        throw std::runtime_error("the source lists of a profile field are missing");
    return {c.ds_combo->currentIndex(), c.ser_col_cb->currentIndex(), c.ser_col_cb->currentText()};
}

void Show_User_Profile::View_Data_Series_By_Name(QComboBox* combo)
{
    View_Data_Series::View_Series_Named(combo->currentIndex() < 0 ? QString() : combo->currentText());
}

// ---------------------------------------------------------------- spreadsheet

void Show_User_Profile::Browse_excel_Btn_Clicked()
{
    try {
        const QString path = Choose_Spreadsheet_File();
        if (path.isNull() || Check_And_Validate_File_Path(path))
            return;
        Import_Excel* picker = Import_Excel::defaultInstance();
        picker->open_mode = QStringLiteral("E");
        // The path names the table only once the table came from it.
        if (picker->Open_excel_Wnd(path) == 1 && spreadsheetLoaded())
            excel_path_field->setText(path);
        if (spreadsheetLoaded())
            Add_Excel_in_Data_Source_Combo();
        else
            Remove_Excel_in_Data_Source_Combo();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Show_User_Profile::View_Excel_Btn_Clicked()
{
    try {
        Data_From_Excel_Window->Open_Wnd();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Show_User_Profile::Batch_Series_Btn_Clicked()
{
    if (Wizard_Host* host = Wizard_Main_Window())
        host->Batch_Series_Button();
}

void Show_User_Profile::Add_Excel_in_Data_Source_Combo()
{
    for (Profile_Field_Controls& c : fields)
        if (c.ds_combo->count() == 2) {
            const QSignalBlocker block(c.ds_combo);
            c.ds_combo->addItem(QStringLiteral("Excel"));
        }
}

void Show_User_Profile::Remove_Excel_in_Data_Source_Combo()
{
    for (Profile_Field_Controls& c : fields)
        if (c.ds_combo->count() == 3) {
            const QSignalBlocker block(c.ds_combo);
            c.ds_combo->removeItem(2);
        }
}

// ---------------------------------------------------------------- validation and records

bool Show_User_Profile::Check_Validation()
{
    checked_field_name = QStringLiteral("");
    validation_failure.clear();
    try {
        for (int f = 0; f < Profile_Field_Count; ++f) {
            const Profile_Field_Choice choice = Field_Choice(f);
            if ((choice.source == Source_Data_Set || choice.source == Source_Spreadsheet) && choice.entry < 0) {
                checked_field_name = *Profile_Fields()[f].caption;
                return false;
            }
        }
        return true;
    } catch (const std::exception& e) {
        // The profile cannot be known to be sound: refuse it.
        validation_failure = QString::fromUtf8(e.what());
        Show_NSLog_Message(validation_failure);
        return false;
    }
}

bool Show_User_Profile::Fill_User_profile_value_in_Variable(User_Profile_Class* record, bool accepted)
{
    if (!Check_Validation()) {
        if (!validation_failure.isEmpty()) {
            Show_MessageBox(QStringLiteral("The profile could not be checked: %1").arg(validation_failure));
            return false;
        }
        QString name = Trim_Str(checked_field_name);
        if (!name.isEmpty())
            name = QStringLiteral(" for '%1'").arg(name.remove(QStringLiteral(" :")));
        Show_MessageBox(QStringLiteral("Please select the source") + name);
        return false;
    }
    if (!record)
        return false;
    if (accepted) {
        record->Fill_User_Profile_Enable = true;
        if (spreadsheetLoaded()) {
            record->Excel_Binding = true;
            Excel_Source_Path = excel_path_field->text();
            Excel_Binding_Use = true;
        } else {
            Excel_Binding_Use = false;
            record->Excel_Binding = false;
        }
    }
    for (int f = 0; f < Profile_Field_Count; ++f) {
        if (!Field_Goes_To(f, record))
            continue;
        const Profile_Field_Choice choice = Field_Choice(f);
        record->field[f].value = fields[f].value->text();
        record->Set_Field_Binding(f, choice.source, choice.text, choice.entry);
    }
    return true;
}

bool Show_User_Profile::Fill_Front_User_profile_value_in_Variable()
{
    const Wizard_Host* host = Wizard_Main_Window();
    return Fill_User_profile_value_in_Variable(host ? host->Front_user_profile() : nullptr, true);
}

bool Show_User_Profile::Fill_Back_User_profile_value_in_Variable()
{
    const Wizard_Host* host = Wizard_Main_Window();
    return Fill_User_profile_value_in_Variable(host ? host->Back_user_profile() : nullptr, true);
}

bool Show_User_Profile::Fill_TEMP_User_profile_value_in_Variable()
{
    const Wizard_Host* host = Wizard_Main_Window();
    return Fill_User_profile_value_in_Variable(host ? host->TEMP_user_profile() : nullptr, false);
}

// ---------------------------------------------------------------- OK and Cancel

void Show_User_Profile::OK_Btn_Clicked()
{
    bool written;
    if (load_side == Side_Code_Back)
        written = Fill_Back_User_profile_value_in_Variable();
    else if (!load_side.isEmpty())
        written = Fill_Front_User_profile_value_in_Variable();
    else
        written = Fill_Front_User_profile_value_in_Variable() && Fill_Back_User_profile_value_in_Variable();
    if (written)
        done(1);
}

void Show_User_Profile::Cancel_Btn_Clicked()
{
    // A spreadsheet table in use keeps the path it came from.
    if (spreadsheetLoaded())
        Excel_Source_Path = excel_path_field->text();
    done(0);
}

// ---------------------------------------------------------------- photo

void Show_User_Profile::Set_User_Image(const QString& path)
{
    const QString trimmed = Trim_Str(path);
    image_path_val->setText(trimmed);
    if (trimmed.isEmpty()) {
        user_picture->setPixmap(QPixmap());
        return;
    }
    QString error;
    const QImage picture = Read_Image_File(trimmed, &error);
    showScaled(user_picture, picture, Thumbnail_Size);
    if (picture.isNull())
        Show_MessageBox(QStringLiteral("The photo \"%1\" could not be loaded: %2").arg(trimmed, error));
}

void Show_User_Profile::Browse_image_Btn_Clicked()
{
    const QString path = Choose_Picture_File(QStringLiteral("Choose Photo"));
    if (path.isEmpty()) {
        Library_Selected_Image = QStringLiteral("");
        return;
    }
    Set_User_Image(path);
}

void Show_User_Profile::Clear_image_Btn_Clicked() { Set_User_Image(QStringLiteral("")); }

// ---------------------------------------------------------------- preview

void Show_User_Profile::Create_and_Set_template_picture()
{
    const QImage card = Preview_Graphics ? SKTRenderingView::image_From_Card_Graphics(Graphics_array, Side_Front,
                                                                                      Preview_Graphics->shape,
                                                                                      Preview_Graphics->size, 1)
                                         : SKTRenderingView::image_From_Card_Graphics(Graphics_array, false);
    showScaled(Preivew_picture, card, Preview_Size);
    if (Template_picture)
        showScaled(Template_picture, card, Template_picture->size());
}

bool Show_User_Profile::Field_Goes_To(int field, const User_Profile_Class* record) const
{
    const QComboBox* side = side_combo[size_t(field)];
    const Wizard_Host* host = Wizard_Main_Window();
    if (!side || !host || side->isHidden() || side->currentIndex() == 2)
        return true;
    // The preview shows every field.
    if (record == host->TEMP_user_profile())
        return true;
    return side->currentIndex() == 1 ? record == host->Back_user_profile() : record == host->Front_user_profile();
}

void Show_User_Profile::Preview_Btn_Clicked()
{
    Wizard_Host* host = Wizard_Main_Window();
    if (!host || !Fill_TEMP_User_profile_value_in_Variable())
        return;
    // The preview lays the profile out on copies of the side's graphics, so
    // nothing it changes reaches the card.
    if (Preview_Graphics)
        host->Temp_Design_Control_Assign_From(Preview_Graphics->graphics);
    else
        host->Temp_Design_Control_Assign(true);
    Graphics_array = host->Get_Temp_Controls_Array();
    const float keptX = last_ctrl_X, keptY = last_ctrl_Y;
    host->Fill_User_profile_info_TEMP_side();
    Graphics_array = host->Get_Temp_Controls_Array();
    Create_and_Set_Preview_picture();
    last_ctrl_X = keptX;
    last_ctrl_Y = keptY;
}
