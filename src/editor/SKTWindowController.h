#pragma once
// The main window: the card canvases, the tools, the card and property
// panels, and the commands. One per process, reached through Main_App_wnd.
#include "canvas/SKTGrid.h"
#include "data/BatchWizard.h"
#include "editor/Batch_Binding.h"
#include "model/Card_Property.h"
#include "model/DesignLog.h"
#include "model/SKTDocument.h"
#include "output/Batch_Export.h"

#include <QImage>
#include <QMainWindow>
#include <QHash>
#include <QVariantList>

class QAction;
class QCheckBox;
class QComboBox;
class QDialog;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QStackedWidget;
class QTabBar;
class QTabWidget;
class QTimer;
class SKTGraphicView;
class User_Profile_Class;
class ExportWindow;

class SKTWindowController : public QMainWindow, public Data_Set_User {
    Q_OBJECT
public:
    // Creates the one controller (and its document) on first use.
    static SKTWindowController* defaultInstance();
    ~SKTWindowController() override;

    SKTDocument document;
    SKTGrid grid;
    SKTGraphicView* _graphicView = nullptr;
    SKTGraphicView* _graphicView_TEMP = nullptr;

    Card_Property Front_card_Prop;
    Card_Property Back_card_Prop;
    // The user-profile records of the front, back and template-preview sides.
    User_Profile_Class* Front_user_profile = nullptr;
    User_Profile_Class* Back_user_profile = nullptr;
    User_Profile_Class* TEMP_user_profile = nullptr;

    QStringList pvc_card_arry;
    QStringList paper_card_arry;
    QFont textFont;
    QImage wizard_pattern_image;
    // The main photo ("PARTY_IMAGE" on the front) is bound to a data set.
    bool main_photo_ds_batch = false;
    // The batch binding of the design: its rows for export, printing and mail.
    Batch_Binding& Card_Rows() { return batch; }
    QString App_Name = QStringLiteral("Gleamcard");

    // Property panel.
    QComboBox* Data_source_type = nullptr;
    QComboBox* Batch_Series = nullptr;
    QPlainTextEdit* Text_value_Edit = nullptr;
    QPushButton* insert_template_btn = nullptr;
    // Card panel.
    QTabWidget* settings_tab = nullptr;
    QTabBar* side_switch = nullptr;
    QComboBox* card_sides_combo = nullptr;

    // Start flow and project.
    void Open_Start_Window();
    void New_Project_Setting_Reset();
    int Open_Log_File();
    bool Save_project_file(const QString& path, bool show_msg);
    // Loads a design log ("L" a project, "T" a template); 1 on success.
    int Read_and_load_design_Log(const QString& path, const QString& log_or_template);

    // Card size.
    void Set_Card_Size_In_Control(double width_mm, double height_mm);
    float MM_to_Points_Convert(float mm) const;
    QSizeF Set_Document_Size(const QSizeF& size);
    void SetDocumentCanvasSize(const QSizeF& size);
    QSizeF Get_My_card_Size(const QString& category, const QString& preset, int list_index) const;

    // Faces.
    Face& Get_Front_Controls_Array();
    Face& Get_Back_Controls_Array();
    Face Get_Temp_Controls_Array() const;
    // The template-preview face takes the graphics of the side on screen:
    // the same objects, or with copies true copies of them, so that what is
    // done to the preview stays off the card.
    void Temp_Design_Control_Assign(bool copies = false);
    void Temp_Design_Control_Assign_From(const Face& graphics, bool copies);
    // The canvas of the side on screen.
    void Refresh_Canvas();

    // Main photo.
    void Update_frame_Main_Photo_And_Path(const QString& path, bool change_path);

    // Data-set and spreadsheet helpers of the property panel.
    QString Get_First_Value_Of_Dataset(const QString& name) const;
    QString Get_First_Value_Of_Excel_Binding(int column) const;
    void Fill_Excel_Col_Name_In_Combo(QComboBox* combo) const;
    void Add_Excel_Col_Name_In_Combo(QComboBox* combo) const;
    void Remove_Excel_Col_Name_In_Combo(QComboBox* combo) const;
    void Fill_Data_Set_File_Name_In_Combo(QComboBox* combo) const;

    // Export of card images.
    ExportWindow* exportWindow = nullptr;
    void Export_Button();
    // Writes the current design (no batch rows) to path; true when every file was written.
    bool Export_Single_File(const QString& path, bool show_msg);
    // Starts the batch export into folder on a worker thread; false while
    // another batch runs. The choices of the export dialog are taken now.
    bool Start_Batch_Export(const QString& folder);
    static bool Batch_Running();
    // The preview of a user template: both sides in one image.
    bool Export_As_Template_Clicked(const QString& preview_path);

    // Images. Failures are shown unless show_errors is false.
    bool Save_gen_image(const QImage& image, const QString& file_path_val, bool show_errors = true);

    // The graphic selected on the side on screen.
    GraphicPtr Selected_Graphic() const;

    // User profiles. Opens the profile dialog for side "F" or "B" (1 after
    // OK, which allows the profiles to be placed).
    int Open_User_Profile_Window(bool edit, const QString& side);
    // Lay the front, back or preview record out on its face; the front and
    // back only after a profile was accepted, and they also keep the "Excel"
    // entry of the data-source list in step with the spreadsheet table.
    void Fill_User_profile_info_front_side();
    SKTGraphicView* Current_Canvas() const;
    void Fill_User_profile_info_TEMP_side();
    // The default rectangle on the card of the profile field with the control
    // identifier, from the profile dialog's placeholder views.
    QRectF Get_Control_Rect_From_Template(const QString& ctrl_ID) const;
    // The barcode designer on the selected barcode graphic; after OK the
    // selected barcodes take its settings and symbol.
    void Open_Barcode_Window();
    // Label printing.
    void Print_Button();

    // Unsaved work. The design as last opened, saved or begun is kept to
    // compare with; the title shows the design's name, marked while they differ.
    void Mark_Design_Saved();
    bool Design_Has_Changes() const;
    // Asks "Do you want to save the changes to this design?" when there are
    // changes: true to go on (saved, or not to be saved), false after Cancel
    // or a save that did not happen.
    bool Ask_To_Save_Changes();
    void Update_Window_Title();
    // Asks for a file and saves the design there; true when it was saved.
    bool Save_Design();

public slots:
    void comboBoxSelectionDidChange(QComboBox* combo);
    void toggleGridShowing();
    void Grid_Clr_Changed(const QColor& colour);
    void Show_Graphic_Properties(const GraphicPtr& graphic);
    void Text_Tool_Clicked();
    void Image_Tool_Clicked();
    void Barcode_Tool_Clicked();
    void New_Button();
    void Open_Button();
    void Save_Button();
    void Save_As_Template_Button();
    void Edit_Main_Photo_Button();
    // Data sets: the manager, and the property panel's view and help buttons.
    void Batch_Series_Button();
    void View_batch_Series_Button();
    void Data_Source_Help_Button();
    // Removes the spreadsheet reader's unpacked workbook before another is chosen.
    void Delete_Excel_File_Temp_Folder();
    // The series generator and the import wizard, making new data sets.
    void Create_Series_Button();
    void Import_Wizard_Button();
    void User_Profile_Button_Clicked();
    // The start-choice dialog, the template wizard (a new design from a
    // template) and the card wizard (the card's size and shape).
    void Start_Choice_Button();
    void New_From_Template_Button();
    void Card_Wizard_Button();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void Grid_Slider_Changed(int value);
    void Grid_Show_Hide_Changed(bool shown);
    void Side_Changed(int side);
    void Card_Size_Changed();
    void Card_Shape_Changed(int row);
    void Card_Sides_Changed(int index);
    void Text_Value_Changed();
    void Insert_Template_Button();
    // The Mail command: the binding flags again, then the mail window.
    void Mail_Button();
    // Help > Product Page 1 to 3: the promotion window for each product;
    // Help > Review: the review window.
    void Pelvoro_Product1_Prmotion();
    void Pelvoro_Product2_Prmotion();
    void Pelvoro_Product3_Prmotion();
    void Review_Button();

private:
    SKTWindowController();
    void Fill_User_profile_info_back_side();
    void Fill_User_profile_Details();
    void buildWindow();
    void buildMenus();
    QWidget* buildCardPanel();
    QWidget* buildPropertyPanel();
    void buildGridControls();
    void connectDataSetCommands();
    void buildPrintCommands(QMenu* help);
    void connectImportCommands();
    void connectTemplateCommands(QMenu* file, QMenu* card);
    // Runs the template wizard and opens the chosen template as a new design.
    void Start_From_Template();
    // Lays the wizard-mode profile out on both sides once a wizard accepted it.
    void Place_Wizard_Profiles(bool was_filled);
    void connectPromotionCommands(QMenu* help);
    void Open_Promotion(int product);
    // The property panel shows the selection anew (data sets may have come
    // or gone), on the page the user left it.
    void Show_Properties_Keeping_Page();
    // Fills the panel's list for the graphic's source and chooses its binding.
    void Show_Binding_List(const SKTGraphic& graphic);
    void awakeFromNib();
    void applyCardProperty(const Card_Property& property);
    void Fill_User_profile_info(SKTGraphicView* canvas, const User_Profile_Class* record, bool card_side);
    void Install_Barcode_Designer();
    // Hands the wizards what they need of this window (wizards/Wizard_Host.h).
    void Install_Wizard_Host();

    Export_Choices currentExportChoices() const;
    void Export_Batch_File(const QString& folder, const Export_Choices& choices);

    // What a design log of the current design holds; the main photo as PNG
    // data, or (photo_png false) only as the identity of its picture. error:
    // why a graphic cannot be stored, when one cannot.
    Design_Log_Content Current_Design_Content(bool photo_png, QString* error = nullptr) const;
    // Lays the start wizard's invitation details out on the front side.
    void Fill_Party_Invidation_Details();
    QString Convert_Path_From_URL(const QUrl& url) const;
    bool Check_And_Validate_File_Path(const QString& path) const;
    QImage Main_Photo_image() const;
    QStringList Get_datasheet_File_Name_Array() const;
    // Sets main_photo_ds_batch from the front side's graphics.
    void Update_Main_Photo_Binding();
    // The data-set manager's questions about the design.
    bool Check_Batch_File_In_Use_Validation(const QString& name) const override;
    void Open_Export_File_Box() override;

    bool Export_Combined_Image(const QImage& front, const QImage& back, const QString& path, bool show_msg);
    bool Export_File_Function(const QString& path, const QImage& image, bool show_msg);
    QString Create_Front_Card_Path(const QString& path) const;
    QString Create_Back_Card_Path(const QString& path) const;
    // The data sets bound on the exported sides that give no values (empty or unreadable).
    QStringList Bound_Data_Sets_Without_Rows() const;
    void Show_One_By_One_Modeless();
    void Hide_One_By_One_Modeless();
    void Show_Create_Modeless();
    void Hide_Destroy_Modeless();
    void Get_Email_Details();
    void Update_Barcode_Graphics(const GraphicPtr& graphic);
    // Gives a barcode graphic its symbol and keeps it inside the card.
    void Set_Barcode_Symbol(SKTGraphic& graphic, const Barcode_Art& symbol);
    void Print_method();
    void Help_Support_Button();

    Batch_Binding batch{document};
    SKTGraphicView* _graphicView_BACK = nullptr;
    // Drawn behind the product picture of the promotion window.
    QImage promotion_pattern_image;
    // Card panel.
    QDoubleSpinBox* card_width_mm = nullptr;
    QDoubleSpinBox* card_height_mm = nullptr;
    QListWidget* card_shape_list = nullptr;
    QLabel* front_back_label = nullptr;
    QStackedWidget* canvas_stack = nullptr;
    // Grid controls (shown in the grid dialog).
    QPushButton* Grid_clr = nullptr;
    QSlider* Grid_Space_slidr = nullptr;
    QCheckBox* Show_hide_grid_chk = nullptr;
    QGroupBox* Grid_Opt_box = nullptr;
    QPushButton* barcode_designer_btn = nullptr;
    // Sheets shown over the main window while long work runs.
    QDialog* Send_Models_Window = nullptr;
    QDialog* plz_wait_Window = nullptr;
    QLabel* plz_wait_label = nullptr;
    // Menu commands; those whose dialogs are not part of this window are
    // connected by the code that provides them.
    QAction *newAction, *openAction, *saveAction, *saveTemplateAction, *exportAction, *printAction,
        *mailAction, *userProfileAction, *batchSeriesAction, *createSeriesAction, *importAction, *gridAction,
        *editPhotoAction, *helpAction;
    QList<QAction*> productPageActions;
    QAction* reviewAction = nullptr;

    QString currentProjectPath;
    QVariantList savedDesign;         // the design as last opened or saved
    QTimer* titleTimer = nullptr;     // gathers repaints into one title check
};

// The one main window controller.
extern SKTWindowController* Main_App_wnd;
