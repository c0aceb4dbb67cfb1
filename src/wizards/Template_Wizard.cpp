#include "wizards/Template_Wizard.h"

#include "barcode/Barcode_Gen.h"
#include "model/Codes.h"
#include "model/DesignLog.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"
#include "wizards/Export_Template.h"
#include "wizards/Template_Files.h"
#include "wizards/User_profile.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

QString Selected_Template_Path = QStringLiteral("");
quint64 User_Defined_File = 0;

namespace {
const QString Select_Template_Message = QStringLiteral("Please select template.");
constexpr float Initial_Zoom = 0.6f;
}

Template_Wizard* Template_Wizard::defaultInstance()
{
    static Template_Wizard* instance = new Template_Wizard;
    return instance;
}

Template_Wizard::Template_Wizard(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Template Wizard"));
    Apply_Dialog_Background(this);
    resize(980, 620);

    cat_cmbo_bx = new QComboBox;
    cat_cmbo_bx->addItems({QStringLiteral("Built-in Templates"), QStringLiteral("My Templates")});
    connect(cat_cmbo_bx, &QComboBox::activated, this, [this] { comboBoxSelectionDidChange(cat_cmbo_bx); });

    imageBrowser = new ImageBrowser;
    imageBrowser->setDataSource(this);
    imageBrowser->setDelegate(this);
    imageBrowser->setAllowsReordering(true);
    imageBrowser->setZoomValue(Initial_Zoom);
    imageBrowser->setMinimumSize(560, 420);

    _zoom_slider = new QSlider(Qt::Horizontal);
    _zoom_slider->setRange(0, 100);
    _zoom_slider->setValue(int(Initial_Zoom * 100));
    connect(_zoom_slider, &QSlider::valueChanged, this, &Template_Wizard::zoomSliderDidChange);

    Delete_temp_btn = new QPushButton(QStringLiteral("Delete"));
    Copy_temp_btn = new QPushButton(QStringLiteral("Copy"));
    Rename_temp_btn = new QPushButton(QStringLiteral("Rename..."));
    connect(Delete_temp_btn, &QPushButton::clicked, this, &Template_Wizard::Delete_Template_Click);
    connect(Copy_temp_btn, &QPushButton::clicked, this, &Template_Wizard::Copy_Templatee_Click);
    connect(Rename_temp_btn, &QPushButton::clicked, this, &Template_Wizard::Rename_Template_Click);

    auto* browserTop = new QHBoxLayout;
    browserTop->addWidget(cat_cmbo_bx);
    browserTop->addStretch();
    for (QPushButton* b : {Copy_temp_btn, Rename_temp_btn, Delete_temp_btn}) {
        b->setAutoDefault(false);
        browserTop->addWidget(b);
    }
    auto* zoomRow = new QHBoxLayout;
    zoomRow->addStretch();
    zoomRow->addWidget(new QLabel(QStringLiteral("Zoom")));
    zoomRow->addWidget(_zoom_slider);
    auto* browserColumn = new QVBoxLayout;
    browserColumn->addLayout(browserTop);
    browserColumn->addWidget(imageBrowser, 1);
    browserColumn->addLayout(zoomRow);

    auto* sizeBox = new QGroupBox(QStringLiteral("Card Size"));
    auto* sizeLayout = new QVBoxLayout(sizeBox);
    sizeLayout->addWidget(Build_Preset_Panel(sizeBox));
    auto* profile = new QPushButton(QStringLiteral("User Profile..."));
    profile->setAutoDefault(false);
    connect(profile, &QPushButton::clicked, this, &Template_Wizard::User_Profile_Click);
    auto* sideColumn = new QVBoxLayout;
    sideColumn->addWidget(sizeBox);
    sideColumn->addWidget(profile);
    sideColumn->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(browserColumn, 1);
    top->addLayout(sideColumn);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, &Template_Wizard::OK_Click);
    connect(buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this, &Template_Wizard::CancelClick);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);
}

// ---------------------------------------------------------------- opening and listing

int Template_Wizard::Open_Template_Window()
{
    try {
        shape_at_opening = Card_Shape;
        cat_cmbo_bx->setCurrentIndex(0);
        Reset_Preset_Panel();
        images.clear();
        _zoom_slider->setValue(int(Initial_Zoom * 100));
        imageBrowser->setZoomValue(Initial_Zoom);
        imageBrowser->reloadData();
        Fill_Templates();
        Show_Hide_Template_Buttons(true);
        const int code = platform::runModal(*this);
        hide();
        return code;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return 0;
    }
}

void Template_Wizard::Fill_Templates() { List_Folder(Builtin_Templates_Folder(), false); }

void Template_Wizard::Fill_Templates_User_Defined() { List_Folder(User_Templates_Folder(), true); }

void Template_Wizard::List_Folder(const QString& folder, bool user)
{
    // A new listing starts with nothing selected: a template of the list
    // shown before is never acted on.
    Selected_Template_Path = QStringLiteral("");
    images.clear();
    imageBrowser->reloadData();
    for (const QString& path : List_Template_Previews(folder)) {
        const QString name = QFileInfo(path).fileName();
        if (user)
            addImageWithPath(path, name, QString::asprintf("TEMP%llu.png", static_cast<unsigned long long>(User_Defined_File++)));
        else
            addImageWithPath(path, name, name);
    }
    if (!images.isEmpty())
        imageBrowser->setSelectionIndexes({0}, false);
}

void Template_Wizard::addImageWithPath(const QString& path, const QString& name, const QString& uid)
{
    if (Trim_Str(path).isEmpty())
        return;
    MyImageObject item(path, name, uid);
    item.setPath(path);
    images.append(item);
    imageBrowser->reloadData();
}

void Template_Wizard::Show_Hide_Template_Buttons(bool hidden)
{
    for (QPushButton* b : {Delete_temp_btn, Copy_temp_btn, Rename_temp_btn})
        b->setHidden(hidden);
}

void Template_Wizard::comboBoxSelectionDidChange(QComboBox* combo)
{
    try {
        if (combo == cat_cmbo_bx) {
            const bool builtin = cat_cmbo_bx->currentIndex() == 0;
            if (builtin)
                Fill_Templates();
            else
                Fill_Templates_User_Defined();
            Show_Hide_Template_Buttons(builtin);
        } else {
            Preset_Combo_Changed(combo);
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

// ---------------------------------------------------------------- browser

int Template_Wizard::numberOfItemsInImageBrowser(ImageBrowser*) { return int(images.size()); }

MyImageObject Template_Wizard::imageBrowserItemAtIndex(ImageBrowser*, int index)
{
    return index >= 0 && index < images.size() ? images[index] : MyImageObject();
}

void Template_Wizard::imageBrowserRemoveItemsAtIndexes(ImageBrowser* browser, const QList<int>&)
{
    // Files go only through Delete.
    browser->reloadData();
}

bool Template_Wizard::imageBrowserMoveItemsAtIndexes(ImageBrowser* browser, const QList<int>& indexes, int destination)
{
    QList<int> sorted = indexes;
    std::sort(sorted.begin(), sorted.end());
    QList<MyImageObject> moved;
    for (int i = int(sorted.size()) - 1; i >= 0; --i) {
        const int index = sorted[i];
        if (index < 0 || index >= images.size())
            continue;
        moved.prepend(images.takeAt(index));
        if (index < destination)
            --destination;
    }
    destination = std::clamp(destination, 0, int(images.size()));
    for (int i = 0; i < moved.size(); ++i)
        images.insert(destination + i, moved[i]);
    browser->reloadData();
    return true;
}

void Template_Wizard::imageBrowserSelectionDidChange(ImageBrowser* browser)
{
    if (browser != imageBrowser)
        return;
    const QList<int> selected = browser->selectionIndexes();
    if (!selected.isEmpty() && selected.first() < images.size()) {
        Selected_Template_Path = images[selected.first()].image_Path;
        Show_Template_Size();
    }
}

void Template_Wizard::Show_Template_Size()
{
    // The design opens in its own size: the panel shows that, not a preset.
    const auto log = Read_Design_Log(Template_Design_Log_Path(Selected_Template_Path));
    if (!log)
        return;
    const QSizeF size = log->front.Card_Size / Points_Per_MM;
    Mark_List_New_Selection(-1);
    Preset_ComboBox->setCurrentIndex(size.width() >= size.height() ? 0 : 1);
    Set_Size_MM(size.width(), size.height());
}

void Template_Wizard::zoomSliderDidChange()
{
    imageBrowser->setZoomValue(float(_zoom_slider->value()) / 100.0f);
    imageBrowser->update();
}

// ---------------------------------------------------------------- OK and Cancel

bool Template_Wizard::Has_Selected_Template()
{
    if (!Trim_Str(Selected_Template_Path).isEmpty() && QFileInfo(Selected_Template_Path).isFile())
        return true;
    Show_MessageBox(Select_Template_Message);
    return false;
}

bool Template_Wizard::Has_Selected_User_Template()
{
    if (!Has_Selected_Template())
        return false;
    if (Is_User_Template(Selected_Template_Path))
        return true;
    Show_MessageBox(QStringLiteral("Built-in templates cannot be changed."));
    return false;
}

void Template_Wizard::OK_Click()
{
    // A preview without its design log is no template to start from.
    if (Trim_Str(Selected_Template_Path).isEmpty() || !QFileInfo(Selected_Template_Path).isFile() ||
        !QFileInfo(Template_Design_Log_Path(Selected_Template_Path)).isFile()) {
        Show_MessageBox(Select_Template_Message);
        return;
    }
    Card_Shape = Shape_Rectangle;
    Selected_Template_Path = Template_Design_Log_Path(Selected_Template_Path);
    done(1);
}

void Template_Wizard::CancelClick()
{
    Selected_Template_Path = QStringLiteral("");
    Card_Shape = shape_at_opening; // the card keeps its shape
    done(0);
}

// ---------------------------------------------------------------- user templates

void Template_Wizard::Delete_Template_Click()
{
    if (!Has_Selected_User_Template())
        return;
    if (!Show_YES_NO_MessageBox(QStringLiteral("Do you want to delete this template?")))
        return;
    if (!Delete_Template_Files(Selected_Template_Path))
        Show_MessageBox(QStringLiteral("The template could not be deleted."));
    Fill_Templates_User_Defined();
}

void Template_Wizard::Copy_Templatee_Click()
{
    if (!Has_Selected_User_Template())
        return;
    if (!Show_YES_NO_MessageBox(QStringLiteral("Do you want to make copy of this template?")))
        return;
    const QString failed = Copy_Template_Files(Selected_Template_Path, Create_New_File_Path(Selected_Template_Path));
    if (!failed.isEmpty())
        Show_MessageBox(failed);
    Fill_Templates_User_Defined();
}

void Template_Wizard::Rename_Template_Click()
{
    if (!Has_Selected_User_Template())
        return;
    Export_Template* names = Export_Template::defaultInstance();
    const QString current = QFileInfo(Selected_Template_Path).completeBaseName();
    names->template_name->setText(current);
    names->template_passed = current;
    const int code = names->Open_Wnd();
    names->hide();
    if (code != 1)
        return;
    const QString failed = Rename_Template_Files(Selected_Template_Path, export_template_name);
    if (!failed.isEmpty()) {
        Show_MessageBox(failed);
        return;
    }
    Fill_Templates_User_Defined();
}

void Template_Wizard::User_Profile_Click()
{
    // The profile's preview shows the selected template, not the design behind.
    User_profile* profile = User_profile::defaultInstance();
    profile->Preview_Graphics = Selected_Template_Front();
    Open_Wizard_Profile();
    profile->Preview_Graphics.reset();
}

std::optional<Show_User_Profile::Preview_Card> Template_Wizard::Selected_Template_Front() const
{
    const auto log = Read_Design_Log(Template_Design_Log_Path(Selected_Template_Path));
    if (!log)
        return std::nullopt;
    const auto face = Design_Log_Face(log->frontGraphics, &Barcode_Gen::Symbol_Of_Graphic);
    if (!face)
        return std::nullopt;
    return Show_User_Profile::Preview_Card{*face, log->cardShape, log->front.Card_Size};
}
