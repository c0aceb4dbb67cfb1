#include "editor/SKTWindowController.h"

#include "barcode/Barcode_Gen.h"
#include "canvas/SKTGraphicView.h"
#include "canvas/SKTRenderingView.h"
#include "data/Data_From_Excel.h"
#include "data/Design_Data_Sources.h"
#include "editor/SmallDialogs.h"
#include "model/Batch_Sources.h"
#include "model/DesignLog.h"
#include "model/Fonts.h"
#include "model/Globals.h"
#include "model/GraphicArchive.h"
#include "model/Helpers.h"
#include "model/ImageProcesser.h"
#include "output/Card_Output.h"
#include "output/ExportWindow.h"
#include "output/Preferences.h"
#include "output/Send_Modeless.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"
#include "platform/MainThread.h"
#include "wizards/Export_Template.h"
#include "wizards/Invitation_Globals.h"
#include "wizards/Invitation_Wizard.h"
#include "wizards/Show_User_Profile.h"
#include "wizards/Template_Files.h"
#include "wizards/User_Profile_Class.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QSlider>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>

SKTWindowController* Main_App_wnd = nullptr;

SKTWindowController* SKTWindowController::defaultInstance()
{
    if (!Main_App_wnd)
        Main_App_wnd = new SKTWindowController;
    return Main_App_wnd;
}

SKTWindowController::SKTWindowController()
{
    // Shared dialogs exist before the controller needs them.
    Export_Template::defaultInstance();
    Open_Export_Log::defaultInstance();
    Grid_Wizard::defaultInstance();
    Send_Modeless::defaultInstance();
    Show_User_Profile::defaultInstance();

    // init
    grid = SKTGrid();
    Selected_Control_Tool = Tool_None;
    textFont = Font_From_PostScript_Name(QStringLiteral("TimesNewRomanPS-ItalicMT"), 14);
    pvc_card_arry = {"CR80-Credit Card Size", "CR79", "CR90-Over Sized", "CR100-Military Size", "CR50", "CR60", "CR70"};
    for (int n = 1452; n <= 1459; ++n)
        paper_card_arry << QStringLiteral("Durable %1 - Name Badge").arg(n);
    Front_card_Prop = Default_Card_Property();
    Back_card_Prop = Default_Card_Property();
    Front_user_profile = new User_Profile_Class;
    Back_user_profile = new User_Profile_Class;
    TEMP_user_profile = new User_Profile_Class;
    for (User_Profile_Class* profile : {Front_user_profile, Back_user_profile, TEMP_user_profile})
        profile->Reset_All_Values();
    batch.Refresh_Design = [this] { Refresh_Canvas(); };
    wizard_pattern_image = QImage(Resource_Path + QStringLiteral("/wizard_pattern.png"));
    promotion_pattern_image = QImage(Resource_Path + QStringLiteral("/pattern_1.jpg"));

    buildWindow();
    awakeFromNib();
    Install_Barcode_Designer();
    Install_Wizard_Host();
    Mark_Design_Saved();
}

SKTWindowController::~SKTWindowController()
{
    if (Main_App_wnd == this)
        Main_App_wnd = nullptr;
    delete Front_user_profile;
    delete Back_user_profile;
    delete TEMP_user_profile;
}

void SKTWindowController::awakeFromNib()
{
    // The whole window, title bar included, on the screen's free area.
    Fit_Window_On_Screen(this, QSize(1000, 800));
    if (Resource_Path.isEmpty())
        Set_Resource_Folder(QCoreApplication::applicationDirPath() + QStringLiteral("/resources"));
    // The settings file lives in the resource folder, so it is read once that is known.
    Get_Email_Details();
    Check_Path_And_Create_Files();
    if (!QFileInfo(Data_Folder_Path).isDir()) {
        Show_MessageBox(QStringLiteral("Can not access Bulk sms Data file."));
        ::exit(1);
    }
}

// ---------------------------------------------------------------- window

void SKTWindowController::buildWindow()
{
    setWindowTitle(QStringLiteral("Untitled[*] - Gleamcard"));

    _graphicView = new SKTGraphicView(&document, &document.graphics, &grid, 0);
    _graphicView_BACK = new SKTGraphicView(&document, &document.graphics_back, &grid, 1);
    _graphicView_TEMP = new SKTGraphicView(&document, &document.graphics_temp, &grid, 2, this);
    _graphicView_TEMP->hide();
    for (SKTGraphicView* view : {_graphicView, _graphicView_BACK}) {
        connect(view, &SKTGraphicView::selectionChanged, this, &SKTWindowController::Show_Graphic_Properties);
        connect(view, &SKTGraphicView::graphicDoubleClicked, this, [this](const GraphicPtr& g) {
            if (Is_Kind(g.get(), GraphicKind::Barcode))
                Open_Barcode_Window();
        });
        view->installEventFilter(this);
    }

    canvas_stack = new QStackedWidget;
    canvas_stack->addWidget(_graphicView);
    canvas_stack->addWidget(_graphicView_BACK);
    auto* holder = new QWidget;
    auto* holderLayout = new QVBoxLayout(holder);
    holderLayout->addWidget(canvas_stack, 0, Qt::AlignCenter);
    auto* scroll = new QScrollArea;
    scroll->setWidget(holder);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);

    side_switch = new QTabBar;
    side_switch->addTab(QStringLiteral("Front"));
    side_switch->addTab(QStringLiteral("Back"));
    side_switch->setDrawBase(false);
    connect(side_switch, &QTabBar::currentChanged, this, &SKTWindowController::Side_Changed);
    front_back_label = new QLabel(QStringLiteral("Side:"));

    auto* centre = new QWidget;
    auto* centreLayout = new QVBoxLayout(centre);
    auto* switchRow = new QHBoxLayout;
    switchRow->addWidget(front_back_label);
    switchRow->addWidget(side_switch);
    switchRow->addStretch();
    centreLayout->addLayout(switchRow);
    centreLayout->addWidget(scroll);

    settings_tab = new QTabWidget;
    auto topAligned = [](QWidget* panel) {
        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(panel);
        layout->addStretch();
        return page;
    };
    settings_tab->addTab(topAligned(buildCardPanel()), QStringLiteral("Card"));
    settings_tab->addTab(topAligned(buildPropertyPanel()), QStringLiteral("Properties"));
    settings_tab->setMinimumWidth(280);

    auto* main = new QWidget;
    auto* mainLayout = new QHBoxLayout(main);
    mainLayout->addWidget(centre, 1);
    mainLayout->addWidget(settings_tab);
    setCentralWidget(main);

    auto* tools = addToolBar(QStringLiteral("Tools"));
    tools->addAction(QStringLiteral("Text"), this, &SKTWindowController::Text_Tool_Clicked);
    tools->addAction(QStringLiteral("Image"), this, &SKTWindowController::Image_Tool_Clicked);
    tools->addAction(QStringLiteral("Barcode"), this, &SKTWindowController::Barcode_Tool_Clicked);

    buildGridControls();
    buildMenus();

    // Sheets for long work.
    Send_Models_Window = Send_Modeless::defaultInstance();
    plz_wait_Window = new QDialog(this);
    plz_wait_Window->setWindowModality(Qt::WindowModal);
    plz_wait_label = new QLabel(plz_wait_Window);
    (new QVBoxLayout(plz_wait_Window))->addWidget(plz_wait_label);

    applyCardProperty(Front_card_Prop);
}

QWidget* SKTWindowController::buildCardPanel()
{
    auto* box = new QGroupBox(QStringLiteral("Card"));
    auto* form = new QFormLayout(box);
    card_width_mm = new QDoubleSpinBox;
    card_height_mm = new QDoubleSpinBox;
    for (QDoubleSpinBox* spin : {card_width_mm, card_height_mm}) {
        spin->setRange(10, 1000);
        spin->setDecimals(2);
        spin->setSuffix(QStringLiteral(" mm"));
        connect(spin, &QDoubleSpinBox::editingFinished, this, &SKTWindowController::Card_Size_Changed);
    }
    form->addRow(QStringLiteral("Width"), card_width_mm);
    form->addRow(QStringLiteral("Height"), card_height_mm);
    card_shape_list = new QListWidget;
    card_shape_list->addItems({QStringLiteral("Rectangle"), QStringLiteral("Rounded Rectangle"), QStringLiteral("Oval")});
    card_shape_list->setMaximumHeight(70);
    connect(card_shape_list, &QListWidget::currentRowChanged, this, &SKTWindowController::Card_Shape_Changed);
    form->addRow(QStringLiteral("Shape"), card_shape_list);
    card_sides_combo = new QComboBox;
    card_sides_combo->addItems({QStringLiteral("One side"), QStringLiteral("Front and back")});
    connect(card_sides_combo, &QComboBox::activated, this, &SKTWindowController::Card_Sides_Changed);
    form->addRow(QStringLiteral("Sides"), card_sides_combo);
    return box;
}

QWidget* SKTWindowController::buildPropertyPanel()
{
    auto* box = new QGroupBox(QStringLiteral("Selected object"));
    auto* form = new QFormLayout(box);
    Data_source_type = new QComboBox;
    Data_source_type->addItems({QStringLiteral("Manual"), QStringLiteral("Series")});
    Batch_Series = new QComboBox;
    connect(Data_source_type, &QComboBox::activated, this, [this] { comboBoxSelectionDidChange(Data_source_type); });
    connect(Batch_Series, &QComboBox::activated, this, [this] { comboBoxSelectionDidChange(Batch_Series); });
    form->addRow(QStringLiteral("Value from"), Data_source_type);
    form->addRow(QStringLiteral("List"), Batch_Series);
    auto* sourceButtons = new QHBoxLayout;
    auto* viewSource = new QPushButton(QStringLiteral("View..."));
    auto* sourceHelp = new QPushButton(QStringLiteral("Help"));
    connect(viewSource, &QPushButton::clicked, this, &SKTWindowController::View_batch_Series_Button);
    connect(sourceHelp, &QPushButton::clicked, this, &SKTWindowController::Data_Source_Help_Button);
    sourceButtons->addWidget(viewSource);
    sourceButtons->addWidget(sourceHelp);
    sourceButtons->addStretch();
    form->addRow(QString(), sourceButtons);
    Text_value_Edit = new QPlainTextEdit;
    Text_value_Edit->setMaximumHeight(120);
    connect(Text_value_Edit, &QPlainTextEdit::textChanged, this, &SKTWindowController::Text_Value_Changed);
    form->addRow(QStringLiteral("Value"), Text_value_Edit);
    barcode_designer_btn = new QPushButton(QStringLiteral("Barcode Designer..."));
    barcode_designer_btn->hide();
    connect(barcode_designer_btn, &QPushButton::clicked, this, &SKTWindowController::Open_Barcode_Window);
    form->addRow(barcode_designer_btn);
    insert_template_btn = new QPushButton(QStringLiteral("Use Template Title"));
    insert_template_btn->hide();
    connect(insert_template_btn, &QPushButton::clicked, this, &SKTWindowController::Insert_Template_Button);
    form->addRow(insert_template_btn);
    box->setEnabled(false);
    return box;
}

void SKTWindowController::buildGridControls()
{
    Grid_clr = new QPushButton(QStringLiteral("Colour..."));
    connect(Grid_clr, &QPushButton::clicked, this, [this] {
        const QColor c = platform::runColorPanel(grid.color, QStringLiteral("Grid colour"));
        if (c.isValid())
            Grid_Clr_Changed(c);
    });
    Grid_Space_slidr = new QSlider(Qt::Horizontal);
    Grid_Space_slidr->setRange(2, 100);
    connect(Grid_Space_slidr, &QSlider::valueChanged, this, &SKTWindowController::Grid_Slider_Changed);
    Show_hide_grid_chk = new QCheckBox(QStringLiteral("Show grid"));
    connect(Show_hide_grid_chk, &QCheckBox::toggled, this, &SKTWindowController::Grid_Show_Hide_Changed);
    Grid_Opt_box = new QGroupBox(QStringLiteral("Grid options"));
    auto* opts = new QFormLayout(Grid_Opt_box);
    opts->addRow(QStringLiteral("Colour"), Grid_clr);
    opts->addRow(QStringLiteral("Spacing"), Grid_Space_slidr);
    Grid_Wizard::defaultInstance()->controlsLayout->addWidget(Show_hide_grid_chk);
    Grid_Wizard::defaultInstance()->controlsLayout->addWidget(Grid_Opt_box);
}

void SKTWindowController::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    newAction = file->addAction(QStringLiteral("&New"), this, &SKTWindowController::New_Button);
    openAction = file->addAction(QStringLiteral("&Open..."), this, &SKTWindowController::Open_Button);
    saveAction = file->addAction(QStringLiteral("&Save..."), this, &SKTWindowController::Save_Button);
    saveTemplateAction = file->addAction(QStringLiteral("Save as &Template..."), this, &SKTWindowController::Save_As_Template_Button);
    file->addSeparator();
    exportAction = file->addAction(QStringLiteral("&Export..."), this, &SKTWindowController::Export_Button);
    printAction = file->addAction(QStringLiteral("&Print..."));
    mailAction = file->addAction(QStringLiteral("&Mail..."));
    file->addSeparator();
    // Quitting closes the main window, which asks about unsaved work.
    file->addAction(QStringLiteral("&Quit"), qApp, &QApplication::quit);
    newAction->setShortcut(QKeySequence::New);
    openAction->setShortcut(QKeySequence::Open);
    saveAction->setShortcut(QKeySequence::Save);

    QMenu* card = menuBar()->addMenu(QStringLiteral("&Card"));
    userProfileAction = card->addAction(QStringLiteral("&User Profile..."));
    editPhotoAction = card->addAction(QStringLiteral("Edit Main &Photo..."));
    gridAction = card->addAction(QStringLiteral("&Grid..."), this, &SKTWindowController::toggleGridShowing);

    QMenu* data = menuBar()->addMenu(QStringLiteral("&Data"));
    batchSeriesAction = data->addAction(QStringLiteral("&Batch Series..."));
    createSeriesAction = data->addAction(QStringLiteral("&Create Series..."));
    importAction = data->addAction(QStringLiteral("&Import..."));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    helpAction = help->addAction(QStringLiteral("Gleamcard &Help"), this, [] { Open_Help_File(); });
    help->addSeparator();
    for (int i = 1; i <= 3; ++i)
        productPageActions << help->addAction(QStringLiteral("Product Page %1").arg(i));

    // Commands whose dialogs are provided elsewhere stay off until connected.
    for (QAction* a : {printAction, mailAction, userProfileAction, editPhotoAction,
                       batchSeriesAction, createSeriesAction, importAction})
        a->setEnabled(false);
    for (QAction* a : productPageActions)
        a->setEnabled(false);
    connect(editPhotoAction, &QAction::triggered, this, &SKTWindowController::Edit_Main_Photo_Button);
    editPhotoAction->setEnabled(true);
    connectDataSetCommands();
    connectImportCommands();
    connect(mailAction, &QAction::triggered, this, &SKTWindowController::Mail_Button);
    mailAction->setEnabled(true);
    connect(userProfileAction, &QAction::triggered, this, &SKTWindowController::User_Profile_Button_Clicked);
    userProfileAction->setEnabled(true);
    buildPrintCommands(help);
    connectTemplateCommands(file, card);
    connectPromotionCommands(help);
}

// ---------------------------------------------------------------- start flow and project

void SKTWindowController::Open_Start_Window()
{
    front_back_label->hide();
    if (Invitation_Wizard::defaultInstance()->Open_Wnd() != 1) {
        End_Process(0);
        return;
    }
    if (Start_Card_Option == QLatin1String("W")) {
        document.undoRegistrationEnabled = false;
        Card_Size_Changed(); // the card takes the size the wizard put in the panel
        canvas_stack->show();
        settings_tab->setCurrentIndex(0);
        card_shape_list->setCurrentRow(Card_Shape);
        Fill_Party_Invidation_Details();
        settings_tab->setCurrentIndex(0);
        document.undoRegistrationEnabled = true;
    }
    front_back_label->show();
    show();
}

void SKTWindowController::New_Project_Setting_Reset()
{
    Invite_Frame_IMG = QStringLiteral("");
    Invite_Frame_Pic_IMG = QStringLiteral("");
    Set_Main_Photo_image(QImage());
    Fill_User_Profile = false;
    Front_user_profile->Reset_All_Values();
    Back_user_profile->Reset_All_Values();
    main_photo_ds_batch = false;
    Reset_Image_Filter_Globals();
    document.graphics.clear();
    document.graphics_back.clear();
    document.graphics_temp.clear();
    // A new design holds no values of the last one's data sets, nor its spreadsheet table.
    batch.data_table_content.clear();
    Data_From_Excel_Window->Clear();
    Excel_Binding_Use = false;
    Excel_Source_Path = QStringLiteral("");
    Remove_Excel_Col_Name_In_Combo(Data_source_type);
    for (SKTGraphicView* v : {_graphicView, _graphicView_BACK, _graphicView_TEMP}) {
        v->selectGraphic(nullptr);
        v->_Selected_Graphic = nullptr;
    }
    Front_card_Prop = Default_Card_Property();
    Back_card_Prop = Default_Card_Property();
    Card_Shape = Shape_Rectangle;
    // A new card has a back, as the sides box shows.
    CARD_SIDE_STR = Card_Sides_Code(QString());
    card_sides_combo->setCurrentIndex(1);
    side_switch->setTabEnabled(1, true);
    side_switch->setCurrentIndex(0);
    Card_Front_Or_Back = Side_Front;
    last_ctrl_X = 20;
    last_ctrl_Y = 20;
    currentProjectPath.clear();
    applyCardProperty(Front_card_Prop);
    Mark_Design_Saved(); // an empty design holds no work yet
}

int SKTWindowController::Open_Log_File()
{
    try {
        platform::PanelRequest request;
        request.kind = platform::PanelRequest::Open;
        request.title = QStringLiteral("Open Design");
        request.extensions = {design_file_EXT};
        const platform::PanelResult result = platform::runPanel(request);
        if (!result.accepted || result.path().isEmpty())
            return 0;
        return Read_and_load_design_Log(result.path(), QStringLiteral("L"));
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return 0;
    }
}

bool SKTWindowController::Save_project_file(const QString& path, bool show_msg)
{
    QString error;
    const Design_Log_Content c = Current_Design_Content(true, &error);
    if (!error.isEmpty() || !Write_Design_Log(path, c, &error)) {
        Show_NSLog_Message(error);
        Show_MessageBox(QStringLiteral("The design could not be saved.\n%1").arg(error));
        return false;
    }
    Export_File_Path = path;
    if (show_msg)
        Show_MessageBox(QStringLiteral("Design saved successfully."));
    return true;
}

Design_Log_Content SKTWindowController::Current_Design_Content(bool photo_png, QString* error) const
{
    Design_Log_Content c;
    c.front = Front_card_Prop;
    c.back = Back_card_Prop;
    c.cardSides = CARD_SIDE_STR;
    c.cardShape = Card_Shape;
    // A graphic that cannot be stored is reported: its empty archive would
    // make the whole design unreadable.
    for (const auto& [face, archives] : {std::pair{&document.graphics, &c.frontGraphics},
                                         std::pair{&document.graphics_back, &c.backGraphics}})
        for (const GraphicPtr& g : *face) {
            QString why;
            const QByteArray archive = Archive_Graphic(*g, &why);
            if (archive.isEmpty() && error && error->isEmpty())
                *error = QStringLiteral("An object of the card cannot be stored (%1).").arg(why);
            *archives << archive;
        }
    c.excelBindingUse = Excel_Binding_Use;
    c.excelSourcePath = Excel_Source_Path;
    c.columnTitles = Data_From_Excel_Window->Column_Titles();
    c.rows = Data_From_Excel_Window->ListData;
    c.photoPath = Invite_Frame_Pic_IMG;
    const QImage photo = Get_Main_Photo_image();
    if (!photo.isNull() && photo_png) {
        QBuffer buffer(&c.mainPhotoPng);
        buffer.open(QIODevice::WriteOnly);
        photo.save(&buffer, "PNG");
    } else if (!photo.isNull()) {
        c.mainPhotoPng = QByteArray::number(photo.cacheKey());
    }
    c.filters = Photo_Filter_Settings::fromGlobals();
    return c;
}

int SKTWindowController::Read_and_load_design_Log(const QString& path, const QString& log_or_template)
{
    QString error;
    const auto content = Read_Design_Log(path, &error);
    std::optional<Face> front, back;
    if (content && (front = Design_Log_Face(content->frontGraphics, &Barcode_Gen::Symbol_Of_Graphic, &error)))
        back = Design_Log_Face(content->backGraphics, &Barcode_Gen::Symbol_Of_Graphic, &error);
    if (!back) {
        // The open design stays as it was.
        Show_NSLog_Message(QStringLiteral("%1: %2").arg(path, error));
        Show_MessageBox(QStringLiteral("This file is not a valid design log."));
        return 0;
    }

    Not_Draw_Only_Prop_Change = true;
    Front_card_Prop = content->front;
    Back_card_Prop = content->back;
    // Sides never chosen ("") open as the sides box shows them.
    CARD_SIDE_STR = Card_Sides_Code(content->cardSides);
    Card_Shape = std::clamp(content->cardShape, int(Shape_Rectangle), int(Shape_Ellipse));
    document.graphics = *front;
    document.graphics_back = *back;
    document.graphics_temp.clear();
    QStringList pictures = Show_Missing_Pictures(document.graphics);
    for (const QString& file : Show_Missing_Pictures(document.graphics_back))
        if (Card_Has_Back() && !pictures.contains(file))
            pictures << file; // a one-sided card's back is never shown
    for (SKTGraphicView* v : {_graphicView, _graphicView_BACK}) {
        v->selectGraphic(nullptr);
        v->_Selected_Graphic = nullptr;
    }

    Excel_Binding_Use = content->excelBindingUse;
    if (Excel_Binding_Use)
        Add_Excel_Col_Name_In_Combo(Data_source_type);
    else
        Remove_Excel_Col_Name_In_Combo(Data_source_type);
    Excel_Source_Path = content->excelSourcePath;
    if (!content->columnTitles.isEmpty())
        Data_From_Excel_Window->Set_Data_Columns(content->columnTitles.mid(1));
    Data_From_Excel_Window->ListData = content->rows;

    Invite_Frame_Pic_IMG = content->photoPath;
    content->filters.toGlobals();
    QImage photo;
    photo.loadFromData(content->mainPhotoPng, "PNG");
    Set_Main_Photo_image(photo);
    if (!Invite_Frame_Pic_IMG.isEmpty() && QFileInfo::exists(Invite_Frame_Pic_IMG))
        Update_frame_Main_Photo_And_Path(Invite_Frame_Pic_IMG, false);

    card_sides_combo->setCurrentIndex(Card_Has_Back() ? 1 : 0);
    side_switch->setTabEnabled(1, Card_Has_Back());
    side_switch->setCurrentIndex(0);
    Card_Front_Or_Back = Side_Front;
    applyCardProperty(Front_card_Prop);
    card_shape_list->setCurrentRow(Card_Shape);
    Update_Main_Photo_Binding();
    Not_Draw_Only_Prop_Change = false;
    if (log_or_template == QLatin1String("L")) {
        currentProjectPath = path;
        Start_Card_Option = QStringLiteral("L");
    }
    // As opened (a saved design or a template) it holds no change of the user's.
    Mark_Design_Saved();
    Refresh_Canvas();
    Update_Window_Title();
    // Objects bound to data that has gone keep showing their last value, and
    // pictures whose files have gone show a placeholder: say so, in one message.
    const QStringList missing = batch.Missing_Sources();
    if (!missing.isEmpty() || !pictures.isEmpty())
        Show_MessageBox(Missing_Sources_On_Open_Message(missing, pictures));
    return 1;
}

// ---------------------------------------------------------------- card size

void SKTWindowController::applyCardProperty(const Card_Property& property)
{
    Set_Card_Size_In_Control(property.width_mm, property.height_mm);
    SetDocumentCanvasSize(QSizeF(MM_to_Points_Convert(float(property.width_mm)),
                                 MM_to_Points_Convert(float(property.height_mm))));
}

void SKTWindowController::Set_Card_Size_In_Control(double width_mm, double height_mm)
{
    const bool old = Not_Draw_Only_Prop_Change.exchange(true);
    card_width_mm->setValue(width_mm);
    card_height_mm->setValue(height_mm);
    Not_Draw_Only_Prop_Change = old;
}

float SKTWindowController::MM_to_Points_Convert(float mm) const
{
    return MM_to_Points(mm);
}

QSizeF SKTWindowController::Set_Document_Size(const QSizeF& size)
{
    return document.canvasSize(false, size);
}

void SKTWindowController::SetDocumentCanvasSize(const QSizeF& size)
{
    for (SKTGraphicView* v : {_graphicView, _graphicView_BACK, _graphicView_TEMP})
        v->setFixedSize(0, 0);
    Refresh_Canvas();
    const QSize pixels = size.toSize();
    for (SKTGraphicView* v : {_graphicView, _graphicView_BACK, _graphicView_TEMP})
        v->setFixedSize(pixels);
    canvas_stack->setFixedSize(pixels);
    document.canvasSize(true, size);
    SKTRenderingView::setCardSize(size);
    Refresh_Canvas();
}

QSizeF SKTWindowController::Get_My_card_Size(const QString& category, const QString& preset, int list_index) const
{
    return Card_Preset_Size_MM(category, preset, list_index);
}

void SKTWindowController::Card_Size_Changed()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    Card_Property& p = Card_Front_Or_Back == Side_Front ? Front_card_Prop : Back_card_Prop;
    p.width_mm = card_width_mm->value();
    p.height_mm = card_height_mm->value();
    p.Card_Size = QSizeF(MM_to_Points_Convert(float(p.width_mm)), MM_to_Points_Convert(float(p.height_mm)));
    // Both sides share one card size.
    (Card_Front_Or_Back == Side_Front ? Back_card_Prop : Front_card_Prop) = p;
    applyCardProperty(p);
}

void SKTWindowController::Card_Shape_Changed(int row)
{
    if (row < 0 || Not_Draw_Only_Prop_Change)
        return;
    Card_Shape = row;
    Front_card_Prop.shape = Back_card_Prop.shape = row;
    Refresh_Canvas();
}

void SKTWindowController::Card_Sides_Changed(int index)
{
    CARD_SIDE_STR = index == 0 ? QStringLiteral("1") : QStringLiteral("2");
    side_switch->setTabEnabled(1, index != 0);
    if (index == 0)
        side_switch->setCurrentIndex(0);
}

void SKTWindowController::Side_Changed(int side)
{
    Card_Front_Or_Back = side;
    canvas_stack->setCurrentIndex(side);
    Show_Graphic_Properties(Selected_Graphic());
    Refresh_Canvas();
}

// ---------------------------------------------------------------- paths

QString SKTWindowController::Convert_Path_From_URL(const QUrl& url) const
{
    return url.toLocalFile();
}

bool SKTWindowController::Check_And_Validate_File_Path(const QString& path) const
{
    return ::Check_And_Validate_File_Path(path);
}

// ---------------------------------------------------------------- faces

Face& SKTWindowController::Get_Front_Controls_Array() { return document.graphics; }
Face& SKTWindowController::Get_Back_Controls_Array() { return document.graphics_back; }
Face SKTWindowController::Get_Temp_Controls_Array() const { return document.graphics_temp; }

void SKTWindowController::Temp_Design_Control_Assign(bool copies)
{
    Temp_Design_Control_Assign_From(Card_Front_Or_Back == Side_Front ? document.graphics : document.graphics_back,
                                    copies);
}

void SKTWindowController::Temp_Design_Control_Assign_From(const Face& side, bool copies)
{
    document.graphics_temp.clear();
    for (const GraphicPtr& g : side)
        document.graphics_temp << (copies && g ? Copy_Graphic(*g) : g);
    _graphicView_TEMP->update();
}

SKTGraphicView* SKTWindowController::Current_Canvas() const
{
    return Card_Front_Or_Back == Side_Front ? _graphicView : _graphicView_BACK;
}

void SKTWindowController::Refresh_Canvas()
{
    if (Card_Value_In_Process)
        return;
    if (!platform::isMainThread()) {
        platform::postToMainThread([this] { Refresh_Canvas(); });
        return;
    }
    Current_Canvas()->update();
}

GraphicPtr SKTWindowController::Selected_Graphic() const
{
    const auto& selection = Current_Canvas()->selectedGraphics();
    return selection.isEmpty() ? nullptr : selection.first();
}

// ---------------------------------------------------------------- main photo

QImage SKTWindowController::Main_Photo_image() const
{
    return Get_Main_Photo_image();
}

void SKTWindowController::Update_frame_Main_Photo_And_Path(const QString& path, bool change_path)
{
    if (Load_Main_Photo(path) && change_path)
        Invite_Frame_Pic_IMG = path;
}

// ---------------------------------------------------------------- data-source helpers

QString SKTWindowController::Get_First_Value_Of_Excel_Binding(int column) const
{
    return Design_Data_Sources().Get_First_Value_Of_Excel_Binding(column);
}

void SKTWindowController::Fill_Excel_Col_Name_In_Combo(QComboBox* combo) const
{
    Design_Data_Sources().Fill_Excel_Col_Name_In_Combo(combo);
}

void SKTWindowController::Add_Excel_Col_Name_In_Combo(QComboBox* combo) const
{
    if (combo && combo->count() == 2) {
        const QSignalBlocker block(combo);
        combo->addItem(QStringLiteral("Excel"));
    }
}

void SKTWindowController::Remove_Excel_Col_Name_In_Combo(QComboBox* combo) const
{
    if (combo && combo->count() == 3) {
        const QSignalBlocker block(combo);
        combo->removeItem(2);
    }
}

// ---------------------------------------------------------------- property panel

void SKTWindowController::Show_Graphic_Properties(const GraphicPtr& graphic)
{
    const bool old = Not_Draw_Only_Prop_Change.exchange(true);
    QWidget* panel = Text_value_Edit->parentWidget();
    panel->setEnabled(graphic != nullptr);
    insert_template_btn->hide();
    barcode_designer_btn->hide();
    if (graphic) {
        settings_tab->setCurrentIndex(1);
        if (auto* text = dynamic_cast<SKTText*>(graphic.get())) {
            Text_value_Edit->setPlainText(text->text);
            if (text->control_ID == QLatin1String("PARTY_TITLE") || text->control_ID == QLatin1String("PARTY_MSG")) {
                insert_template_btn->setText(text->control_ID == QLatin1String("PARTY_TITLE")
                                                 ? QStringLiteral("Use Template Title")
                                                 : QStringLiteral("Use Template Message"));
                insert_template_btn->show();
            }
        } else if (Is_Kind(graphic.get(), GraphicKind::Barcode)) {
            // A barcode's value is edited in the designer.
            Text_value_Edit->setPlainText(graphic->linear_or_2d ? graphic->two_d_font_val : graphic->linear_font_val);
        } else {
            Text_value_Edit->setPlainText(graphic->Text_Value);
        }
        const bool barcode = Is_Kind(graphic.get(), GraphicKind::Barcode);
        Text_value_Edit->setReadOnly(barcode);
        barcode_designer_btn->setVisible(barcode);
        const int type = graphic->data_source_type;
        Data_source_type->setCurrentIndex(type >= 0 && type < Data_source_type->count() ? type : 0);
        Show_Binding_List(*graphic);
    } else {
        Text_value_Edit->clear();
        Batch_Series->clear();
    }
    Not_Draw_Only_Prop_Change = old;
}

void SKTWindowController::Show_Binding_List(const SKTGraphic& graphic)
{
    // The list shows what the graphic is bound to (nothing chosen while it
    // names no set or column of the list).
    const QSignalBlocker block(Batch_Series);
    Batch_Series->clear();
    const int type = graphic.data_source_type;
    if (type == Source_Data_Set) {
        Fill_Data_Set_File_Name_In_Combo(Batch_Series);
        Batch_Series->setCurrentIndex(Batch_Series->findText(graphic.batch_list_name));
    } else if (type == Source_Spreadsheet) {
        Fill_Excel_Col_Name_In_Combo(Batch_Series);
        Batch_Series->setCurrentIndex(graphic.excel_col_indx < Batch_Series->count() ? graphic.excel_col_indx : -1);
    }
    Batch_Series->setEnabled(type == Source_Data_Set || type == Source_Spreadsheet);
}

void SKTWindowController::Text_Value_Changed()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    const GraphicPtr g = Selected_Graphic();
    auto* text = dynamic_cast<SKTText*>(g.get());
    if (!text)
        return;
    text->text = Text_value_Edit->toPlainText();
    text->Text_Value = text->text;
    Refresh_Canvas();
}

void SKTWindowController::comboBoxSelectionDidChange(QComboBox* combo)
{
    if (Not_Draw_Only_Prop_Change)
        return;
    const GraphicPtr g = Selected_Graphic();
    if (!g)
        return;
    if (combo == Data_source_type) {
        const int type = Data_source_type->currentIndex();
        g->Set_Data_source_type(type < 0 ? 0 : type);
        g->Set_Excel_binding(type == 2);
        Update_Main_Photo_Binding();
        Show_Binding_List(*g);
        Refresh_Canvas();
        return;
    }
    if (combo == Batch_Series && Batch_Series->currentIndex() >= 0) {
        QString value;
        if (g->data_source_type == Source_Data_Set) {
            g->Set_Batch_List_Name(Trim_Str(Batch_Series->currentText()));
            g->Set_Batch_List_Index(Batch_Series->currentIndex());
            value = Get_First_Value_Of_Dataset(g->batch_list_name);
        } else if (g->data_source_type == Source_Spreadsheet) {
            g->Set_Excel_binding_Index(Batch_Series->currentIndex());
            value = Get_First_Value_Of_Excel_Binding(g->excel_col_indx);
        }
        if (auto* text = dynamic_cast<SKTText*>(g.get())) {
            text->text = value;
            text->Text_Value = value;
        } else if (auto* image = dynamic_cast<SKTImage*>(g.get()); image && QFileInfo::exists(value)) {
            image->setFilePath(value);
            image->Text_Value = value;
        } else if (Is_Kind(g.get(), GraphicKind::Barcode)) {
            // The symbol shows the newly bound value at once.
            (g->linear_or_2d ? g->two_d_font_val : g->linear_font_val) = value;
            Set_Barcode_Symbol(*g, Barcode_Gen::Symbol_Of_Graphic(*g));
        }
        const bool old = Not_Draw_Only_Prop_Change.exchange(true);
        Text_value_Edit->setPlainText(value);
        Not_Draw_Only_Prop_Change = old;
        Refresh_Canvas();
    }
}

// ---------------------------------------------------------------- tools

void SKTWindowController::Text_Tool_Clicked()
{
    Selected_Control_Tool = Tool_Text;
    Current_Canvas()->createGraphicOfClass(GraphicKind::Text, nullptr, false, QRectF(),
                                           Side_Code(Card_Side(Card_Front_Or_Back.load())), QStringLiteral("Text"), QString());
    if (auto* text = dynamic_cast<SKTText*>(Current_Canvas()->_Selected_Graphic.get()))
        text->font = textFont;
    Show_Graphic_Properties(Current_Canvas()->_Selected_Graphic);
}

void SKTWindowController::Image_Tool_Clicked()
{
    const QString path = Choose_Picture_File(QStringLiteral("Choose Image"));
    if (path.isNull())
        return;
    // A file that is not a picture would become an invisible object.
    QString error;
    if (Read_Image_File(path, &error).isNull()) {
        Show_MessageBox(error);
        return;
    }
    Library_Selected_Image = path;
    Selected_Control_Tool = Tool_Image_File;
    Current_Canvas()->createGraphicOfClass(GraphicKind::Image, nullptr, false, QRectF(),
                                           Side_Code(Card_Side(Card_Front_Or_Back.load())), path, QString());
    Library_Selected_Image.clear();
    Show_Graphic_Properties(Current_Canvas()->_Selected_Graphic);
}


// ---------------------------------------------------------------- grid

void SKTWindowController::toggleGridShowing()
{
    const bool old = Not_Draw_Only_Prop_Change.exchange(true);
    {
        const QSignalBlocker b1(Grid_Space_slidr), b2(Show_hide_grid_chk);
        Grid_clr->setStyleSheet(QStringLiteral("background-color: %1").arg(grid.color.name()));
        Grid_Space_slidr->setValue(int(grid.spacing));
        Show_hide_grid_chk->setChecked(grid.isShown);
    }
    SetObjEnabled(Grid_Opt_box, grid.isShown);
    Not_Draw_Only_Prop_Change = old;
    Grid_Wizard::defaultInstance()->Open_Wnd();
}

void SKTWindowController::Grid_Clr_Changed(const QColor& colour)
{
    grid.color = colour;
    grid.isShown = true;
    Grid_clr->setStyleSheet(QStringLiteral("background-color: %1").arg(colour.name()));
    Refresh_Canvas();
}

void SKTWindowController::Grid_Slider_Changed(int value)
{
    if (Not_Draw_Only_Prop_Change)
        return;
    grid.spacing = float(value);
    grid.isShown = true;
    Refresh_Canvas();
}

void SKTWindowController::Grid_Show_Hide_Changed(bool shown)
{
    if (Not_Draw_Only_Prop_Change)
        return;
    grid.isShown = shown;
    SetObjEnabled(Grid_Opt_box, shown);
    Refresh_Canvas();
}

// ---------------------------------------------------------------- images and sheets

bool SKTWindowController::Save_gen_image(const QImage& image, const QString& file_path_val, bool show_errors)
{
    return Save_Card_Image(image, file_path_val, show_errors);
}

void SKTWindowController::Open_Export_File_Box()
{
    platform::runOnMainThread([] {
        Open_Export_Log* box = Open_Export_Log::defaultInstance();
        box->_open_log_chk->setText(QFileInfo(Export_File_Path).isDir() ? QStringLiteral("Open containing folder.")
                                                                         : QStringLiteral("Open exported file."));
        box->_open_log_path->setText(Export_File_Path);
        box->_open_log_message->setText(Export_File_Message);
        platform::runModal(*box);
        box->hide();
    });
}

void SKTWindowController::Show_One_By_One_Modeless()
{
    Send_Models_Window->open();
}

void SKTWindowController::Hide_One_By_One_Modeless()
{
    Send_Models_Window->hide();
}

void SKTWindowController::Show_Create_Modeless()
{
    try {
        plz_wait_label->setText(QStringLiteral("It may take a while, Please wait.."));
        plz_wait_Window->open();
        QCoreApplication::processEvents();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void SKTWindowController::Hide_Destroy_Modeless()
{
    plz_wait_Window->hide();
}

void SKTWindowController::Get_Email_Details()
{
    ::Get_Email_Details();
}

// ---------------------------------------------------------------- commands

void SKTWindowController::New_Button()
{
    if (!Ask_To_Save_Changes())
        return;
    New_Project_Setting_Reset();
    Open_Start_Window();
}

void SKTWindowController::Open_Button()
{
    if (!Ask_To_Save_Changes())
        return;
    Open_Log_File();
}

void SKTWindowController::Save_Button()
{
    Save_Design();
}

bool SKTWindowController::Save_Design()
{
    platform::PanelRequest request;
    request.kind = platform::PanelRequest::Save;
    request.title = QStringLiteral("Save Design");
    request.extensions = {design_file_EXT};
    request.fileName = currentProjectPath.isEmpty() ? QStringLiteral("Untitled.") + design_file_EXT : currentProjectPath;
    const platform::PanelResult result = platform::runPanel(request);
    if (!result.accepted || result.path().isEmpty())
        return false;
    // The panel has added the extension and asked before a design is replaced.
    const QString path = result.path();
    if (!Save_project_file(path, true))
        return false;
    currentProjectPath = path;
    Mark_Design_Saved();
    return true;
}

void SKTWindowController::Save_As_Template_Button()
{
    Export_Template* dialog = Export_Template::defaultInstance();
    dialog->template_passed.clear();
    if (dialog->Open_Wnd() != 1)
        return;
    // A template of that name is replaced whole or not at all.
    QString error;
    const bool saved = Save_Template_Files(
        export_template_name, [this](const QString& preview) { return Export_As_Template_Clicked(preview); },
        [this](const QString& log) { return Save_project_file(log, false); }, &error);
    if (saved) {
        Export_File_Path = User_Templates_Folder() + '/' + export_template_name + '.' + design_file_EXT;
        Show_MessageBox(QStringLiteral("Template saved successfully."));
    } else if (!error.isEmpty()) {
        Show_MessageBox(error);
    }
}
