#include "wizards/Invitation_Wizard.h"

#include "model/Globals.h"
#include "model/Helpers.h"
#include "model/ImageProcesser.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"
#include "wizards/Invitation_Globals.h"
#include "wizards/Wizard_Host.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <cmath>
#include <exception>

namespace {
// The side, in pixels, of the square the photo page previews in (twice the
// preview's size, so it stays sharp on a high-density screen).
constexpr int Screen_Side = Filter_Reference_Side;

QImage At_Screen_Size(const QImage& picture)
{
    if (picture.width() <= Screen_Side && picture.height() <= Screen_Side)
        return picture;
    return picture.scaled(Screen_Side, Screen_Side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage Apply_Filters(const QImage& picture, const Photo_Filter_Settings& s)
{
    return ImageProcesser::Get_Processed_Image(picture, s.gray, s.sepia, s.invert, s.hue, s.saturation, s.brightness,
                                               s.contrast, int(s.rotate), s.sharpness, s.exposure, s.blur,
                                               s.transparency);
}

void Show_Slider_Value(QLabel* field, const Filter_Slider* slider)
{
    field->setText(QString::number(double(slider->floatValue()), 'f', 2));
}
}

// ---------------------------------------------------------------- slider

Filter_Slider::Filter_Slider(float minimum, float maximum, float scale, QWidget* parent)
    : QSlider(Qt::Horizontal, parent), _scale(scale)
{
    setRange(int(std::lround(minimum * scale)), int(std::lround(maximum * scale)));
    setMinimumWidth(170);
    // The photo page filters a copy at screen size, so each step shows at once.
}

void Filter_Slider::setFloatValue(float v)
{
    setValue(int(std::lround(v * _scale)));
}

// ---------------------------------------------------------------- set-up

Invitation_Wizard* Invitation_Wizard::defaultInstance()
{
    static Invitation_Wizard* instance = new Invitation_Wizard;
    return instance;
}

Invitation_Wizard::Invitation_Wizard()
{
    auto_background_selection = false;
    setWindowTitle(QStringLiteral("Gleamcard - Start"));
    buildWindow();
    awakeFromNib();
}

void Invitation_Wizard::awakeFromNib()
{
    const QImage pattern = Wizard_Main_Window() ? Wizard_Main_Window()->Wizard_Pattern_Image() : QImage();
    if (!pattern.isNull()) {
        QPalette pal = palette();
        pal.setBrush(QPalette::Window, QBrush(pattern));
        setPalette(pal);
        setAutoFillBackground(true);
    } else {
        Apply_Dialog_Background(this);
    }
    shrp_slidr->setSingleStep(1); // 0.1 at its scale
    {
        const QSignalBlocker b1(Date_picker), b2(Time_picker);
        Date_picker->setDate(QDate::currentDate());
        Time_picker->setTime(QTime::currentTime());
    }
    images.clear();
    imageBrowser->setDataSource(this);
    imageBrowser->setDelegate(this);
    imageBrowser->setAllowsReordering(true);
    imageBrowser->setZoomValue(0.4f);
}

void Invitation_Wizard::buildWindow()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildStartPage());
    layout->addWidget(buildSizeBox());
    layout->addWidget(buildFramePage());
    layout->addWidget(buildPhotoPage(), 1);

    auto* bottom = new QHBoxLayout;
    Exit_btn = new QPushButton(QStringLiteral("Exit"));
    Help_btn_1 = new QPushButton(QStringLiteral("Help"));
    Contact_us_btn = new QPushButton(QStringLiteral("Contact Us"));
    Contact_us_btn->setEnabled(false);
    connect(Exit_btn, &QPushButton::clicked, this, &Invitation_Wizard::ExitClick);
    connect(Help_btn_1, &QPushButton::clicked, this, &Invitation_Wizard::HelpClick);
    bottom->addWidget(Help_btn_1);
    bottom->addWidget(Contact_us_btn);
    bottom->addStretch();
    bottom->addWidget(Exit_btn);

    button_box = new QWidget;
    auto* nav = new QHBoxLayout(button_box);
    nav->setContentsMargins(0, 0, 0, 0);
    Help_btn_2 = new QPushButton(QStringLiteral("Help"));
    Back_Btn = new QPushButton(QStringLiteral("< Back"));
    Next_btn = new QPushButton(QStringLiteral("Next >"));
    Cancel_btn = new QPushButton(QStringLiteral("Cancel"));
    connect(Help_btn_2, &QPushButton::clicked, this, &Invitation_Wizard::HelpClick);
    connect(Back_Btn, &QPushButton::clicked, this, &Invitation_Wizard::Back_Click);
    connect(Next_btn, &QPushButton::clicked, this, &Invitation_Wizard::OK_Click);
    connect(Cancel_btn, &QPushButton::clicked, this, &Invitation_Wizard::CancelClick);
    nav->addWidget(Help_btn_2);
    nav->addStretch();
    nav->addWidget(Cancel_btn);
    nav->addWidget(Back_Btn);
    nav->addWidget(Next_btn);
    bottom->addWidget(button_box, 1);

    Close_Btn = new QPushButton(QStringLiteral("Close"));
    Finish_Btn = new QPushButton(QStringLiteral("Finish"));
    connect(Close_Btn, &QPushButton::clicked, this, &Invitation_Wizard::Close_Form_Click);
    connect(Finish_Btn, &QPushButton::clicked, this, &Invitation_Wizard::OK_Click);
    bottom->addWidget(Close_Btn);
    bottom->addWidget(Finish_Btn);
    layout->addLayout(bottom);
    setMinimumSize(1120, 640);
}

QWidget* Invitation_Wizard::buildStartPage()
{
    Start_card_box = new QGroupBox;
    auto* layout = new QVBoxLayout(Start_card_box);
    auto* heading = new QLabel(QStringLiteral("<h1>Welcome to Gleamcard</h1><p>How would you like to begin?</p>"));
    heading->setAlignment(Qt::AlignCenter);
    layout->addStretch();
    layout->addWidget(heading);
    auto* choices = new QHBoxLayout;
    Using_Wizard_btn = new QPushButton(QStringLiteral("Make an invitation\nwith the wizard"));
    Open_Log_btn = new QPushButton(QStringLiteral("Open a saved design\n(.gcdl)"));
    for (QPushButton* b : {Using_Wizard_btn, Open_Log_btn}) {
        b->setMinimumSize(260, 110);
        QFont f = b->font();
        f.setPointSizeF(f.pointSizeF() * 1.3);
        b->setFont(f);
    }
    connect(Using_Wizard_btn, &QPushButton::clicked, this, &Invitation_Wizard::Using_Wizard_Click);
    connect(Open_Log_btn, &QPushButton::clicked, this, &Invitation_Wizard::Open_Log_Click);
    choices->addStretch();
    choices->addWidget(Using_Wizard_btn);
    choices->addSpacing(40);
    choices->addWidget(Open_Log_btn);
    choices->addStretch();
    layout->addLayout(choices);
    layout->addStretch();
    APP_path_label = new QLabel;
    APP_path_label->setAlignment(Qt::AlignCenter);
    APP_path_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(APP_path_label);
    return Start_card_box;
}

QWidget* Invitation_Wizard::buildSizeBox()
{
    first_box = new QGroupBox(QStringLiteral("Card size"));
    auto* form = new QFormLayout(first_box);
    width_Stepper = new QDoubleSpinBox;
    height_Stepper = new QDoubleSpinBox;
    width_Text = new QLineEdit;
    height_Text = new QLineEdit;
    for (QDoubleSpinBox* s : {width_Stepper, height_Stepper}) {
        s->setRange(10, 1000);
        s->setSuffix(QStringLiteral(" mm"));
    }
    connect(width_Stepper, &QDoubleSpinBox::valueChanged, width_Text, [this](double v) { width_Text->setText(QString::number(v)); });
    connect(height_Stepper, &QDoubleSpinBox::valueChanged, height_Text, [this](double v) { height_Text->setText(QString::number(v)); });
    form->addRow(QStringLiteral("Width"), width_Stepper);
    form->addRow(QStringLiteral("Height"), height_Stepper);
    first_box->hide();
    return first_box;
}

QWidget* Invitation_Wizard::buildFramePage()
{
    second_box = new QGroupBox(QStringLiteral("Choose a frame for your invitation"));
    auto* layout = new QVBoxLayout(second_box);
    imageBrowser = new ImageBrowser;
    layout->addWidget(imageBrowser);
    return second_box;
}

QWidget* Invitation_Wizard::buildPhotoPage()
{
    photo_box = new QGroupBox(QStringLiteral("Choose and adjust the photo"));
    auto* row = new QHBoxLayout(photo_box);

    auto* left = new QVBoxLayout;
    Selected_picture = new QLabel;
    Selected_picture->setFixedSize(300, 300);
    Selected_picture->setAlignment(Qt::AlignCenter);
    Selected_picture->setFrameShape(QFrame::StyledPanel);
    Selected_picture->setStyleSheet(QStringLiteral("background: white"));
    image_path = new QLineEdit;
    image_path->setReadOnly(true);
    image_path->setPlaceholderText(QStringLiteral("No photo chosen"));
    browse_photo_btn = new QPushButton(QStringLiteral("Browse Photo..."));
    connect(browse_photo_btn, &QPushButton::clicked, this, &Invitation_Wizard::Browse_Image_Click);
    left->addWidget(Selected_picture);
    left->addWidget(image_path);
    left->addWidget(browse_photo_btn, 0, Qt::AlignLeft);
    left->addStretch();
    row->addLayout(left);

    Image_Setting_Box = new QGroupBox(QStringLiteral("Photo settings"));
    auto* grid = new QGridLayout(Image_Setting_Box);
    int r = 0;
    auto addSlider = [&](const QString& caption, Filter_Slider*& slider, QLabel*& field, float lo, float hi,
                         float scale, void (Invitation_Wizard::*action)()) {
        slider = new Filter_Slider(lo, hi, scale);
        field = new QLabel;
        field->setMinimumWidth(48);
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(slider, &QSlider::valueChanged, this, action);
        // The value shows while the knob is dragged; the photo follows on release.
        connect(slider, &QSlider::sliderMoved, field, [slider, field] { Show_Slider_Value(field, slider); });
        grid->addWidget(new QLabel(caption), r, 0);
        grid->addWidget(slider, r, 1);
        grid->addWidget(field, r, 2);
        ++r;
    };
    addSlider(QStringLiteral("Rotate"), Rotate_slidr, Rotate_slidr_val, -180, 180, 10, &Invitation_Wizard::Rotate_Slider_Changed);
    addSlider(QStringLiteral("Transparency"), Trsp_slidr, Trsp_slidr_val, 0, 100, 1, &Invitation_Wizard::Transperncy_Slider_Changed);
    addSlider(QStringLiteral("Hue"), Hue_slidr, Hue_slidr_val, -3.14f, 3.14f, 100, &Invitation_Wizard::Hue_Slider_Changed);
    addSlider(QStringLiteral("Saturation"), Sat_slidr, Sat_slidr_val, 0, 2, 100, &Invitation_Wizard::Sat_Slider_Changed);
    addSlider(QStringLiteral("Brightness"), Brt_slidr, Brt_slidr_val, -1, 1, 100, &Invitation_Wizard::Brt_Slider_Changed);
    addSlider(QStringLiteral("Contrast"), Con_slidr, Con_slidr_val, 0, 3, 100, &Invitation_Wizard::Con_Slider_Changed);
    addSlider(QStringLiteral("Sharpness"), shrp_slidr, shrp_slidr_val, 0, 2, 10, &Invitation_Wizard::sharp_Slider_Changed);
    addSlider(QStringLiteral("Exposure"), ev_slidr, ev_slidr_val, -2, 2, 100, &Invitation_Wizard::EV_Slider_Changed);
    addSlider(QStringLiteral("Blur"), blr_slidr, blr_slidr_val, 0, 20, 10, &Invitation_Wizard::Blr_Slider_Changed);

    Image_Gray_Scale_chk = new QCheckBox(QStringLiteral("Grey scale"));
    Image_Sepia_chk = new QCheckBox(QStringLiteral("Sepia"));
    Image_Invert_chk = new QCheckBox(QStringLiteral("Invert colours"));
    Image_FIV_chk = new QCheckBox(QStringLiteral("Flip vertically"));
    Image_FIH_chk = new QCheckBox(QStringLiteral("Flip horizontally"));
    connect(Image_Gray_Scale_chk, &QCheckBox::clicked, this, &Invitation_Wizard::Image_Gray_Scale_Chked);
    connect(Image_Sepia_chk, &QCheckBox::clicked, this, &Invitation_Wizard::Image_Sepia_Chked);
    connect(Image_Invert_chk, &QCheckBox::clicked, this, &Invitation_Wizard::Image_Invert_Chked);
    connect(Image_FIV_chk, &QCheckBox::clicked, this, &Invitation_Wizard::Image_FIV_Chked);
    connect(Image_FIH_chk, &QCheckBox::clicked, this, &Invitation_Wizard::Image_FIH_Chked);
    // Flipping is neither kept with the design nor applied by the filter
    // chain, so the two flip boxes stay out of sight.
    Image_FIV_chk->hide();
    Image_FIH_chk->hide();
    auto* checks = new QHBoxLayout;
    checks->addWidget(Image_Gray_Scale_chk);
    checks->addWidget(Image_Sepia_chk);
    checks->addWidget(Image_Invert_chk);
    checks->addWidget(Image_FIV_chk);
    checks->addWidget(Image_FIH_chk);
    grid->addLayout(checks, r++, 0, 1, 3);
    Image_reset_btn = new QPushButton(QStringLiteral("Reset"));
    connect(Image_reset_btn, &QPushButton::clicked, this, &Invitation_Wizard::Image_reset_Button);
    grid->addWidget(Image_reset_btn, r++, 0, 1, 3, Qt::AlignRight);
    grid->setRowStretch(r, 1);
    row->addWidget(Image_Setting_Box);

    row->addWidget(buildDetailBoxes(), 1);
    return photo_box;
}

QWidget* Invitation_Wizard::buildDetailBoxes()
{
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    third_box = new QGroupBox(QStringLiteral("Invitation details"));
    auto* form = new QFormLayout(third_box);
    to_value = new QLineEdit;
    from_value = new QLineEdit;
    venue_value = new QLineEdit;
    Date_picker = new QDateEdit;
    Date_picker->setCalendarPopup(true);
    Date_picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    Time_picker = new QTimeEdit;
    Time_picker->setDisplayFormat(QStringLiteral("h:mm AP"));
    Date_ctrl_value = new QLineEdit;
    Time_ctrl_value = new QLineEdit;
    for (QLineEdit* e : {Date_ctrl_value, Time_ctrl_value}) {
        e->setReadOnly(true);
        e->setPlaceholderText(QStringLiteral("not chosen"));
    }
    clear_details_btn = new QPushButton(QStringLiteral("Clear"));
    for (QLineEdit* e : {to_value, from_value, venue_value})
        connect(e, &QLineEdit::textChanged, this, [this, e] { controlTextDidChange(e); });
    connect(Date_picker, &QDateEdit::dateChanged, this, &Invitation_Wizard::datePickerAction);
    connect(Date_picker->calendarWidget(), &QCalendarWidget::clicked, this, &Invitation_Wizard::datePickerAction);
    connect(Time_picker, &QTimeEdit::timeChanged, this, &Invitation_Wizard::timePickerAction);
    connect(clear_details_btn, &QPushButton::clicked, this, &Invitation_Wizard::Clear_Details_Click);
    auto pair = [](QWidget* a, QWidget* b) {
        auto* w = new QWidget;
        auto* h = new QHBoxLayout(w);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(a);
        h->addWidget(b, 1);
        return w;
    };
    auto counted = [this](QLineEdit* field) {
        auto* w = new QWidget;
        auto* h = new QHBoxLayout(w);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(field, 1);
        h->addWidget(makeLengthCount(field));
        return w;
    };
    form->addRow(QStringLiteral("To"), counted(to_value));
    form->addRow(QStringLiteral("From"), counted(from_value));
    form->addRow(QStringLiteral("Venue"), counted(venue_value));
    form->addRow(QStringLiteral("Date"), pair(Date_picker, Date_ctrl_value));
    form->addRow(QStringLiteral("Time"), pair(Time_picker, Time_ctrl_value));
    form->addRow(QString(), clear_details_btn);
    layout->addWidget(third_box);

    fourth_box = new QGroupBox(QStringLiteral("Title and message"));
    auto* grid = new QGridLayout(fourth_box);
    msg_title = new QLineEdit;
    msg_value = new QPlainTextEdit;
    msg_value->setMaximumHeight(90);
    connect(msg_title, &QLineEdit::textChanged, this, [this] { controlTextDidChange(msg_title); });
    connect(msg_value, &QPlainTextEdit::textChanged, this, [this] { controlTextDidChange(msg_value); });
    title_bk_btn = new QPushButton(QStringLiteral("<"));
    title_nxt_btn = new QPushButton(QStringLiteral(">"));
    msg_bk_btn = new QPushButton(QStringLiteral("<"));
    msg_nxt_btn = new QPushButton(QStringLiteral(">"));
    for (QPushButton* b : {title_bk_btn, title_nxt_btn, msg_bk_btn, msg_nxt_btn})
        b->setFixedWidth(32);
    connect(title_bk_btn, &QPushButton::clicked, this, &Invitation_Wizard::Title_Back_Click);
    connect(title_nxt_btn, &QPushButton::clicked, this, &Invitation_Wizard::Title_Next_Click);
    connect(msg_bk_btn, &QPushButton::clicked, this, &Invitation_Wizard::Msg_Back_Click);
    connect(msg_nxt_btn, &QPushButton::clicked, this, &Invitation_Wizard::Msg_Next_Click);
    grid->addWidget(new QLabel(QStringLiteral("Title")), 0, 0);
    grid->addWidget(msg_title, 0, 1);
    grid->addWidget(title_bk_btn, 0, 2);
    grid->addWidget(title_nxt_btn, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Message")), 1, 0, Qt::AlignTop);
    grid->addWidget(msg_value, 1, 1);
    grid->addWidget(msg_bk_btn, 1, 2, Qt::AlignTop);
    grid->addWidget(msg_nxt_btn, 1, 3, Qt::AlignTop);
    grid->addWidget(makeLengthCount(msg_title), 0, 4);
    grid->addWidget(makeLengthCount(msg_value), 1, 4, Qt::AlignTop);
    layout->addWidget(fourth_box);
    layout->addStretch();
    return column;
}

void Invitation_Wizard::keyPressEvent(QKeyEvent* event)
{
    // Escape would close the wizard, and with it the application.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------- opening

int Invitation_Wizard::Open_Wnd()
{
    try {
        openingFilters = Photo_Filter_Settings::fromGlobals();
        wizard_or_edit_photo = false;
        browse_photo_btn->setEnabled(true);
        width_Stepper->setValue(120);
        width_Text->setText(QStringLiteral("120"));
        height_Stepper->setValue(150);
        height_Text->setText(QStringLiteral("150"));
        APP_path_label->setText(Resource_Path);
        images.clear();
        Show_Hide_Card_Start_Screen(true);
        Finish_Btn->hide();
        Close_Btn->hide();
        imageBrowser->setZoomValue(0.4f);
        imageBrowser->reloadData();
        Load_and_fill_backgrounds();
        Reset_All();
        Load_Msg_And_Title();
        msg_title->setText(Get_Title());
        msg_value->setPlainText(Get_Message());
        const int code = platform::runModal(*this);
        hide();
        if (code != 1)
            openingFilters.toGlobals();
        return code;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        hide();
        return 0;
    }
}

int Invitation_Wizard::Open_Wnd_For_Edit_Photo()
{
    try {
        openingFilters = Photo_Filter_Settings::fromGlobals();
        wizard_or_edit_photo = true;
        Start_Card_Option = QStringLiteral("W");
        width_Stepper->setValue(120);
        height_Stepper->setValue(120);
        APP_path_label->setText(Resource_Path);
        Show_Hide_Card_Start_Screen(false);
        first_box->hide();
        second_box->hide();
        photo_box->show();
        fourth_box->hide();
        button_box->hide();
        Finish_Btn->show();
        Close_Btn->show();
        next_counter = 3;
        SetObjEnabled(Image_Setting_Box, true);
        image_path->setText(Invite_Frame_Pic_IMG);

        // The settings are applied to the photo file as it is, so that they
        // are not applied twice; without the file, to the photo as shown.
        const QImage original = Invite_Frame_Pic_IMG.isEmpty() ? QImage() : Read_Image_File(Invite_Frame_Pic_IMG);
        User_Picture = original.isNull() ? Get_Main_Photo_image() : original;
        Screen_Picture = At_Screen_Size(User_Picture);
        const Photo_Filter_Settings s = openingFilters;
        showSettings(s, false);
        browse_photo_btn->setEnabled(!(Wizard_Main_Window() && Wizard_Main_Window()->Main_Photo_Bound_To_Data_Set()));
        // The stored settings are shown as they are; they change only when
        // a control is touched.
        Preview_Shows_Photo_As_Is = original.isNull();
        Preview_Image = original.isNull() ? Screen_Picture : Apply_Filters(Screen_Picture, s);
        showPreview(Preview_Image);

        const int code = platform::runModal(*this);
        hide();
        if (code != 1)
            openingFilters.toGlobals();
        return code;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        openingFilters.toGlobals();
        hide();
        return 0;
    }
}

// ---------------------------------------------------------------- pages

void Invitation_Wizard::Show_Hide_Card_Start_Screen(bool start_page)
{
    if (start_page) {
        next_counter = 0;
        auto_background_selection = false;
        photo_box->hide();
        Start_card_box->show();
        for (QWidget* w : {static_cast<QWidget*>(first_box), static_cast<QWidget*>(second_box),
                           static_cast<QWidget*>(third_box), static_cast<QWidget*>(fourth_box), button_box})
            w->hide();
        for (QWidget* w : {Exit_btn, Help_btn_1, Contact_us_btn})
            w->show();
        Reset_All();
        // Settings tried on a photo that was not taken go back as they were.
        openingFilters.toGlobals();
        msg_title->setText(Get_Title());
        msg_value->setPlainText(Get_Message());
    } else {
        photo_box->hide();
        Start_card_box->hide();
        second_box->show();
        third_box->hide();
        fourth_box->hide();
        button_box->show();
        Next_btn->setText(QStringLiteral("Next >"));
        for (QWidget* w : {Exit_btn, Help_btn_1, Contact_us_btn})
            w->hide();
    }
}

void Invitation_Wizard::showPhotoPage()
{
    first_box->hide();
    second_box->hide();
    photo_box->show();
    // The details are asked for on the photo page of a new invitation.
    third_box->setVisible(!wizard_or_edit_photo);
    fourth_box->setVisible(!wizard_or_edit_photo);
    Next_btn->setText(QStringLiteral("Finish"));
}

void Invitation_Wizard::Load_and_fill_backgrounds()
{
    const QString folder = Resource_Path + QStringLiteral("/Frames");
    if (!QFileInfo(folder).isDir())
        return;
    images.clear();
    imageBrowser->reloadData();
    for (const QString& name : List_Frame_Files(folder))
        addImageWithPath(folder + QLatin1Char('/') + name, name, name);
}

void Invitation_Wizard::addImageWithPath(const QString& path, const QString& imageName, const QString& image_UID)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return;
    MyImageObject item(trimmed, imageName, image_UID);
    item.setPath(trimmed);
    images.append(item);
    imageBrowser->reloadData();
}

void Invitation_Wizard::Reset_All()
{
    selected_image = QStringLiteral("");
    User_Picture = QImage();
    Screen_Picture = QImage();
    Preview_Shows_Photo_As_Is = false;
    Reset_Image_Editing_Controls();
    SetObjEnabled(Image_Setting_Box, false);
    Preview_Image = QImage();
    showPreview(QImage());
    next_counter = 0;
    title_index = 0;
    message_index = 0;
    selected_title = QStringLiteral("");
    selected_msg = QStringLiteral("");
    selected_date = QStringLiteral("");
    selected_time = QStringLiteral("");
    msg_title->clear();
    msg_value->clear();
    clear_details_btn->setEnabled(false);
    image_path->clear();
    Clear_Details();
}

void Invitation_Wizard::Clear_Details()
{
    from_value->clear();
    to_value->clear();
    venue_value->clear();
    {
        const QSignalBlocker b1(Date_picker), b2(Time_picker);
        Date_picker->setDate(QDate::currentDate());
        Time_picker->setTime(QTime::currentTime());
    }
    Date_ctrl_value->clear();
    Time_ctrl_value->clear();
    // What is no longer shown is no longer handed over.
    selected_date = QStringLiteral("");
    selected_time = QStringLiteral("");
    clear_details_btn->setEnabled(false);
}

// ---------------------------------------------------------------- details

void Invitation_Wizard::Clear_Details_Click()
{
    if (Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to clear details?")))
        Clear_Details();
}

void Invitation_Wizard::datePickerAction()
{
    selected_date = Format_Invite_Date(Date_picker->date());
    Date_ctrl_value->setText(selected_date);
    clear_details_btn->setEnabled(true);
}

void Invitation_Wizard::timePickerAction()
{
    selected_time = Format_Invite_Time(Time_picker->time());
    Time_ctrl_value->setText(selected_time);
    clear_details_btn->setEnabled(true);
}

int Invitation_Wizard::Length_Limit(const QWidget* field) const
{
    if (field == from_value || field == to_value)
        return 40;
    if (field == venue_value || field == msg_title)
        return 100;
    if (field == msg_value)
        return 250;
    return 0;
}

QLabel* Invitation_Wizard::Length_Count(const QWidget* field) const
{
    const auto it = length_counts.find(field);
    return it == length_counts.end() ? nullptr : it->second;
}

QLabel* Invitation_Wizard::makeLengthCount(QWidget* field)
{
    auto* count = new QLabel;
    // As wide as the widest count, so the fields keep their width.
    QFont bold = count->font();
    bold.setBold(true);
    count->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("250/250")) + 2);
    count->setToolTip(QStringLiteral("At most %1 characters").arg(Length_Limit(field)));
    field->setToolTip(count->toolTip());
    length_counts[field] = count;
    showLengthCount(field, 0);
    return count;
}

void Invitation_Wizard::showLengthCount(QWidget* field, int length)
{
    QLabel* count = Length_Count(field);
    if (!count)
        return;
    const int limit = Length_Limit(field);
    count->setText(QStringLiteral("%1/%2").arg(length).arg(limit));
    count->setStyleSheet(length >= limit ? QStringLiteral("color: #c00000; font-weight: bold;") : QString());
}

void Invitation_Wizard::controlTextDidChange(QWidget* field)
{
    const int limit = Length_Limit(field);
    if (limit == 0)
        return;
    const bool enablesClear = field == from_value || field == to_value || field == venue_value;

    QString text;
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        text = line->text();
        const QString limited = Limit_Text_Length(text, limit);
        if (limited != text) {
            const QSignalBlocker block(line);
            line->setText(limited);
            text = limited;
        }
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(field)) {
        text = edit->toPlainText();
        const QString limited = Limit_Text_Length(text, limit);
        if (limited != text) {
            const QSignalBlocker block(edit);
            edit->setPlainText(limited);
            edit->moveCursor(QTextCursor::End);
            text = limited;
        }
    }
    showLengthCount(field, int(text.size()));
    if (enablesClear && !text.isEmpty())
        clear_details_btn->setEnabled(true);
    // The title and message handed over are the ones in the fields.
    if (field == msg_title)
        selected_title = text;
    else if (field == msg_value)
        selected_msg = text;
}

void Invitation_Wizard::Title_Back_Click()
{
    Title_Step(-1);
    msg_title->setText(Get_Title());
}

void Invitation_Wizard::Title_Next_Click()
{
    Title_Step(1);
    msg_title->setText(Get_Title());
}

void Invitation_Wizard::Msg_Back_Click()
{
    Message_Step(-1);
    msg_value->setPlainText(Get_Message());
}

void Invitation_Wizard::Msg_Next_Click()
{
    Message_Step(1);
    msg_value->setPlainText(Get_Message());
}

// ---------------------------------------------------------------- navigation

void Invitation_Wizard::Using_Wizard_Click() { Select_card_option(1, sender()); }
void Invitation_Wizard::Open_Log_Click() { Select_card_option(2, sender()); }

void Invitation_Wizard::Select_card_option(int option, QObject* /*sender*/)
{
    if (option == 0)
        Start_Card_Option = QStringLiteral("T");
    else if (option == 1)
        Start_Card_Option = QStringLiteral("W");
    else if (option == 2)
        Start_Card_Option = QStringLiteral("L");
    OK_Click();
}

void Invitation_Wizard::OK_Click()
{
    if (Start_Card_Option == QLatin1String("L")) {
        if (Wizard_Main_Window() && Wizard_Main_Window()->Open_Log_File() == 1)
            done(1);
        return;
    }
    if (next_counter == 0) {
        next_counter = 1;
        Show_Hide_Card_Start_Screen(false);
        auto_background_selection = true;
        if (!images.isEmpty())
            imageBrowser->setSelectionIndexes({0}, false);
        auto_background_selection = false;
        next_counter = 2;
        return;
    }
    if (next_counter == 2) {
        if (selected_image.isEmpty() || !QFileInfo(selected_image).isFile()) {
            Show_MessageBox(QStringLiteral("Please select frame."));
            return;
        }
        next_counter = 3;
        showPhotoPage();
        return;
    }
    if (next_counter == 3) {
        const QString photo = image_path->text();
        if (photo.isEmpty() || !QFileInfo(photo).isFile()) {
            Show_MessageBox(QStringLiteral("Please select photo."));
            return;
        }
        if (User_Picture.isNull()) {
            // A file that is not a picture would leave the card without its photo.
            QString error;
            if (!Load_Photo(photo, &error)) {
                Show_MessageBox(error);
                return;
            }
        }
        finish();
    }
}

void Invitation_Wizard::finish()
{
    if (!wizard_or_edit_photo) {
        Card_Shape = Shape_Rectangle;
        if (Wizard_Host* host = Wizard_Main_Window()) {
            const double w = width_Stepper->value();
            const double h = height_Stepper->value();
            host->Set_Card_Size_In_Control(w, h);
            const QSizeF points(host->MM_to_Points_Convert(float(w)), host->MM_to_Points_Convert(float(h)));
            host->Set_Document_Size(points);
            host->SetDocumentCanvasSize(points);
        }
    }
    Invite_Title = Trim_Str(selected_title);
    Invite_Message = Trim_Str(selected_msg);
    Invite_From = Trim_Str(from_value->text());
    Invite_To = Trim_Str(to_value->text());
    Invite_Venue = Trim_Str(venue_value->text());
    Invite_Date = Trim_Str(selected_date);
    Invite_Time = Trim_Str(selected_time);
    Invite_BG_IMG = Trim_Str(selected_image);
    Invite_Frame_Pic_IMG = Trim_Str(image_path->text());
    Invite_Frame_IMG = Invite_BG_IMG;
    // The whole picture is filtered once, now.
    Set_Main_Photo_image(Preview_Shows_Photo_As_Is ? User_Picture
                                                   : Apply_Filters(User_Picture, Photo_Filter_Settings::fromGlobals()));
    done(1);
}

void Invitation_Wizard::Back_Click()
{
    if (next_counter == 2) {
        Show_Hide_Card_Start_Screen(true);
    } else if (next_counter == 3) {
        next_counter = 2;
        first_box->hide();
        second_box->show();
        third_box->hide();
        fourth_box->hide();
        photo_box->hide();
        Next_btn->setText(QStringLiteral("Next >"));
    }
}

void Invitation_Wizard::CancelClick()
{
    Show_Hide_Card_Start_Screen(true);
}

void Invitation_Wizard::ExitClick()
{
    Start_Card_Option = QStringLiteral("");
    done(0);
    End_Process(0);
}

void Invitation_Wizard::Close_Form_Click()
{
    done(0);
}

void Invitation_Wizard::HelpClick()
{
    Open_Help_File();
}

// ---------------------------------------------------------------- frame browser

int Invitation_Wizard::numberOfItemsInImageBrowser(ImageBrowser*)
{
    return int(images.size());
}

MyImageObject Invitation_Wizard::imageBrowserItemAtIndex(ImageBrowser*, int index)
{
    return index >= 0 && index < images.size() ? images.at(index) : MyImageObject();
}

void Invitation_Wizard::imageBrowserRemoveItemsAtIndexes(ImageBrowser*, const QList<int>&)
{
    // The frames of the resource folder are not removed from here.
    imageBrowser->reloadData();
}

bool Invitation_Wizard::imageBrowserMoveItemsAtIndexes(ImageBrowser*, const QList<int>& indexes, int destination)
{
    QList<int> valid;
    for (int i : indexes)
        if (i >= 0 && i < images.size() && !valid.contains(i))
            valid << i;
    Move_Items_To(images, valid, destination);
    imageBrowser->reloadData();
    // The highlight follows the chosen frame to its new place (without a
    // selection notice, which would move on to the photo page).
    const QSignalBlocker block(imageBrowser);
    imageBrowser->clearSelection();
    for (int i = 0; i < images.size(); ++i)
        if (!selected_image.isEmpty() && images[i].image_Path == selected_image)
            imageBrowser->item(i)->setSelected(true);
    return true;
}

int Invitation_Wizard::imageBrowserWriteItemsAtIndexes(ImageBrowser*, const QList<int>&)
{
    return 0;
}

void Invitation_Wizard::imageBrowserCellWasDoubleClickedAtIndex(ImageBrowser*, int) {}

void Invitation_Wizard::imageBrowserSelectionDidChange(ImageBrowser* browser)
{
    if (browser != imageBrowser)
        return;
    const QList<int> selected = browser->selectionIndexes();
    if (selected.isEmpty())
        return;
    selected_image = imageBrowserItemAtIndex(browser, selected.first()).image_Path;
    if (!auto_background_selection)
        OK_Click();
}

// ---------------------------------------------------------------- photo

void Invitation_Wizard::Browse_Image_Click()
{
    const QString path = Choose_Picture_File(QStringLiteral("Choose Photo"));
    if (path.isNull())
        return;
    SetObjEnabled(Image_Setting_Box, true);
    image_path->setText(path);
    if (path.isEmpty()) {
        Preview_Image = QImage();
        showPreview(QImage());
        return;
    }
    QString error;
    if (!Load_Photo(path, &error)) {
        Show_MessageBox(error);
        return;
    }
    Update_Image_With_Settings();
}

bool Invitation_Wizard::Load_Photo(const QString& path, QString* error)
{
    User_Picture = Read_Image_File(path, error);
    Screen_Picture = At_Screen_Size(User_Picture);
    if (User_Picture.isNull()) {
        // The preview must not go on showing a photo that is no longer chosen.
        Preview_Image = QImage();
        showPreview(QImage());
        return false;
    }
    Preview_Image = Screen_Picture;
    showPreview(Preview_Image);
    return true;
}

void Invitation_Wizard::Update_Image_With_Settings()
{
    // The flip boxes take no part in the settings.
    Photo_Filter_Settings s;
    s.invert = Image_Invert_chk->isChecked();
    s.gray = Image_Gray_Scale_chk->isChecked();
    s.sepia = Image_Sepia_chk->isChecked();
    s.transparency = Trsp_slidr->floatValue();
    s.rotate = Rotate_slidr->floatValue();
    s.hue = Hue_slidr->floatValue();
    s.saturation = Sat_slidr->floatValue();
    s.brightness = Brt_slidr->floatValue();
    s.contrast = Con_slidr->floatValue();
    s.sharpness = shrp_slidr->floatValue();
    s.exposure = ev_slidr->floatValue();
    s.blur = blr_slidr->floatValue();
    s.toGlobals();
    Preview_Shows_Photo_As_Is = false;
    Preview_Image = Apply_Filters(Screen_Picture, s);
    showPreview(Preview_Image);
}

void Invitation_Wizard::showPreview(const QImage& image)
{
    if (image.isNull()) {
        Selected_picture->clear();
        return;
    }
    const QSize room = Selected_picture->size() - QSize(8, 8);
    Selected_picture->setPixmap(QPixmap::fromImage(image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void Invitation_Wizard::showSettings(const Photo_Filter_Settings& s, bool flips)
{
    const std::pair<Filter_Slider*, float> sliders[] = {
        {Rotate_slidr, s.rotate}, {Trsp_slidr, s.transparency}, {Hue_slidr, s.hue}, {Sat_slidr, s.saturation},
        {Brt_slidr, s.brightness}, {Con_slidr, s.contrast}, {shrp_slidr, s.sharpness}, {ev_slidr, s.exposure},
        {blr_slidr, s.blur}};
    for (const auto& [slider, value] : sliders) {
        const QSignalBlocker block(slider);
        slider->setFloatValue(value);
    }
    const std::pair<QLabel*, Filter_Slider*> fields[] = {
        {Rotate_slidr_val, Rotate_slidr}, {Trsp_slidr_val, Trsp_slidr}, {Hue_slidr_val, Hue_slidr},
        {Sat_slidr_val, Sat_slidr}, {Brt_slidr_val, Brt_slidr}, {Con_slidr_val, Con_slidr},
        {shrp_slidr_val, shrp_slidr}, {ev_slidr_val, ev_slidr}, {blr_slidr_val, blr_slidr}};
    for (const auto& [field, slider] : fields)
        Show_Slider_Value(field, slider);
    const std::pair<QCheckBox*, bool> checks[] = {
        {Image_Gray_Scale_chk, s.gray}, {Image_Sepia_chk, s.sepia}, {Image_Invert_chk, s.invert}};
    for (const auto& [check, on] : checks) {
        const QSignalBlocker block(check);
        check->setChecked(on);
    }
    if (flips) {
        for (QCheckBox* c : {Image_FIV_chk, Image_FIH_chk}) {
            const QSignalBlocker block(c);
            c->setChecked(false);
        }
    }
}

void Invitation_Wizard::Reset_Image_Editing_Controls()
{
    showSettings(Photo_Filter_Settings(), true);
}

void Invitation_Wizard::Image_reset_Button()
{
    if (!Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to continue?")))
        return;
    Reset_Image_Editing_Controls();
    Update_Image_With_Settings();
}

void Invitation_Wizard::Rotate_Slider_Changed()
{
    Show_Slider_Value(Rotate_slidr_val, Rotate_slidr);
    Update_Image_With_Settings();
}

void Invitation_Wizard::Transperncy_Slider_Changed()
{
    Show_Slider_Value(Trsp_slidr_val, Trsp_slidr);
    Update_Image_With_Settings();
}

void Invitation_Wizard::Hue_Slider_Changed()
{
    Show_Slider_Value(Hue_slidr_val, Hue_slidr);
    Update_Image_With_Settings();
}

void Invitation_Wizard::Sat_Slider_Changed()
{
    Show_Slider_Value(Sat_slidr_val, Sat_slidr);
    Update_Image_With_Settings();
}

void Invitation_Wizard::Brt_Slider_Changed()
{
    Show_Slider_Value(Brt_slidr_val, Brt_slidr);
    Update_Image_With_Settings();
}

void Invitation_Wizard::Con_Slider_Changed()
{
    Show_Slider_Value(Con_slidr_val, Con_slidr);
    Update_Image_With_Settings();
}

void Invitation_Wizard::sharp_Slider_Changed()
{
    Show_Slider_Value(shrp_slidr_val, shrp_slidr);
    Update_Image_With_Settings();
}

void Invitation_Wizard::EV_Slider_Changed()
{
    Show_Slider_Value(ev_slidr_val, ev_slidr);
    Update_Image_With_Settings();
}

void Invitation_Wizard::Blr_Slider_Changed()
{
    Show_Slider_Value(blr_slidr_val, blr_slidr);
    Update_Image_With_Settings();
}

void Invitation_Wizard::Image_Gray_Scale_Chked() { Update_Image_With_Settings(); }
void Invitation_Wizard::Image_Sepia_Chked() { Update_Image_With_Settings(); }
void Invitation_Wizard::Image_Invert_Chked() { Update_Image_With_Settings(); }
void Invitation_Wizard::Image_FIV_Chked() { Update_Image_With_Settings(); }
void Invitation_Wizard::Image_FIH_Chked() { Update_Image_With_Settings(); }
