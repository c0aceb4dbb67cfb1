#pragma once
// The profile dialog: edits the user profile of the card side on screen.
// Each of the eleven fields is typed in or bound to a data set or a column of
// the design's spreadsheet table. It opens with what the card shows, previews
// the profile on a copy of the side, and on OK writes the side's profile
// record for the main window to place. Its hidden template boxes hold the
// placeholder views that give each field its default place on a card.
#include "model/SKTDocument.h"
#include "wizards/User_Profile_Class.h"

#include <QDialog>
#include <QImage>
#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The controls of one field. The photo has no caption or check boxes; its
// value control is the path field.
struct Profile_Field_Controls {
    QLineEdit* label = nullptr;
    QCheckBox* label_chk = nullptr;
    QLineEdit* value = nullptr;
    QCheckBox* value_chk = nullptr;
    QComboBox* ds_combo = nullptr;   // 0 typed, 1 data set, 2 "Excel" (a column)
    QComboBox* ser_col_cb = nullptr; // the data sets or the column titles
    QPushButton* view_btn = nullptr;  // shows the chosen data set
};

// What the user chose as a field's source.
struct Profile_Field_Choice {
    int source = 0;  // index in the data-source list
    int entry = -1;  // index in the data-set or column list; -1 none
    QString text;    // that entry's text
};

// The dialog's controls under their own names (name_value, phone_ds_combo,
// image_path_val, photo_default_V ...), all reaching the per-field tables.
struct Show_User_Profile_Outlets {
    std::array<Profile_Field_Controls, Profile_Field_Count> fields;
    // Placeholder views of the default places, landscape and portrait cards.
    std::array<QWidget*, Profile_Field_Count> placeholder{};
    std::array<QWidget*, Profile_Field_Count> placeholder_V{};

#define PROFILE_TEXT_OUTLETS(P, F)                                                                   \
    QLineEdit*& P##_label = fields[F].label;                                                         \
    QCheckBox*& P##_label_chk = fields[F].label_chk;                                                 \
    QLineEdit*& P##_value = fields[F].value;                                                         \
    QCheckBox*& P##_value_chk = fields[F].value_chk;                                                 \
    QComboBox*& P##_ds_combo = fields[F].ds_combo;                                                   \
    QComboBox*& P##_ser_col_cb = fields[F].ser_col_cb;                                               \
    QPushButton*& P##_view_btn = fields[F].view_btn;
    PROFILE_TEXT_OUTLETS(name, Profile_Name)
    PROFILE_TEXT_OUTLETS(title, Profile_Title)
    PROFILE_TEXT_OUTLETS(comp_name, Profile_Company_name)
    PROFILE_TEXT_OUTLETS(slogan, Profile_slogan)
    PROFILE_TEXT_OUTLETS(address, Profile_address)
    PROFILE_TEXT_OUTLETS(phone, Profile_phone)
    PROFILE_TEXT_OUTLETS(fax, Profile_fax)
    PROFILE_TEXT_OUTLETS(email, Profile_email)
    PROFILE_TEXT_OUTLETS(website, Profile_website)
    PROFILE_TEXT_OUTLETS(unique, Profile_unique)
#undef PROFILE_TEXT_OUTLETS
    QLineEdit*& image_path_val = fields[Profile_image].value;
    QComboBox*& image_ds_combo = fields[Profile_image].ds_combo;
    QComboBox*& image_ser_col_cb = fields[Profile_image].ser_col_cb;
    QPushButton*& image_view_btn = fields[Profile_image].view_btn;

#define PROFILE_PLACEHOLDER_OUTLETS(P, F)                                                            \
    QWidget*& P##_default = placeholder[F];                                                          \
    QWidget*& P##_default_V = placeholder_V[F];
    PROFILE_PLACEHOLDER_OUTLETS(name, Profile_Name)
    PROFILE_PLACEHOLDER_OUTLETS(title, Profile_Title)
    PROFILE_PLACEHOLDER_OUTLETS(comp_name, Profile_Company_name)
    PROFILE_PLACEHOLDER_OUTLETS(slogan, Profile_slogan)
    PROFILE_PLACEHOLDER_OUTLETS(address, Profile_address)
    PROFILE_PLACEHOLDER_OUTLETS(phone, Profile_phone)
    PROFILE_PLACEHOLDER_OUTLETS(fax, Profile_fax)
    PROFILE_PLACEHOLDER_OUTLETS(email, Profile_email)
    PROFILE_PLACEHOLDER_OUTLETS(website, Profile_website)
    PROFILE_PLACEHOLDER_OUTLETS(unique, Profile_unique)
    PROFILE_PLACEHOLDER_OUTLETS(photo, Profile_image)
#undef PROFILE_PLACEHOLDER_OUTLETS

    QLabel* user_picture = nullptr;
    QPushButton* browse_pic_btn = nullptr;
    QPushButton* clear_pic_btn = nullptr;
    QLineEdit* excel_path_field = nullptr;
    QPushButton* excel_browse_btn = nullptr;
    QPushButton* view_excel_btn = nullptr;
    QPushButton* batch_series_btn = nullptr;
    QLabel* Preivew_picture = nullptr;
    QFrame* horz_template = nullptr;
    QFrame* vert_template = nullptr;

    // Wizard mode only: the side each field is meant for, and a picture of
    // the side's card.
    QLabel* select_side_label = nullptr;
    std::array<QComboBox*, Profile_Field_Count> side_combo{};
    QLabel* Template_picture = nullptr;
};

class Show_User_Profile : public QDialog, public Show_User_Profile_Outlets {
    Q_OBJECT
public:
    static Show_User_Profile* defaultInstance();

    // "F" the front is edited, "B" the back, "" both (wizard mode).
    QString load_side = QStringLiteral("");
    // The graphics last rendered into the preview.
    Face Graphics_array;
    // A card the preview shows instead of the side on screen (the template
    // being browsed): its front graphics, shape and size in points.
    struct Preview_Card {
        Face graphics;
        int shape = 0;
        QSizeF size;
    };
    std::optional<Preview_Card> Preview_Graphics;
    // The caption of the field that failed validation.
    QString checked_field_name = QStringLiteral("");

    // Edit mode reads the side on screen back into the fields; 1 after OK, 0 after Cancel.
    int Open_Wnd(bool edit);
    void Reset_all_Ctrl();
    // True when every bound field has its data set or column chosen. A check
    // that fails on its own refuses too, saying why.
    bool Check_Validation();
    // Copy the dialog into the front, back or preview record; false (and
    // nothing written) when validation refused.
    bool Fill_Front_User_profile_value_in_Variable();
    bool Fill_Back_User_profile_value_in_Variable();
    bool Fill_TEMP_User_profile_value_in_Variable();
    // Shows the photo at path and its path; a picture that cannot be read
    // clears the thumbnail and says why.
    void Set_User_Image(const QString& path);
    // Renders Graphics_array into the preview.
    void Create_and_Set_template_picture();
    void Create_and_Set_Preview_picture() { Create_and_Set_template_picture(); }
    // Shows the data set chosen in the list (its selected entry, trimmed).
    void View_Data_Series_By_Name(QComboBox* combo);
    // The "Excel" entry of the eleven data-source lists.
    void Add_Excel_in_Data_Source_Combo();
    void Remove_Excel_in_Data_Source_Combo();

    // A placeholder's frame in its template box, y up from the box's bottom;
    // null when the view is missing.
    QRectF Placeholder_Frame(int field, bool landscape) const;
    // The height of the landscape template box (0 when it is missing).
    qreal Template_Height() const;

    // The field's source as chosen in its two lists.
    virtual Profile_Field_Choice Field_Choice(int field) const;

    // The check boxes of the captions and values.
    void Label_Chk_Clicked(int field);
    void Value_Chk_Clicked(int field);
#define PROFILE_CHECK_HANDLERS(Stem, F)                                                              \
    void Stem##_Label_Chk_Clicked() { Label_Chk_Clicked(F); }                                        \
    void Stem##_Value_Chk_Clicked() { Value_Chk_Clicked(F); }
    PROFILE_CHECK_HANDLERS(Name, Profile_Name)
    PROFILE_CHECK_HANDLERS(Title, Profile_Title)
    PROFILE_CHECK_HANDLERS(Company_Name, Profile_Company_name)
    PROFILE_CHECK_HANDLERS(Slogan, Profile_slogan)
    PROFILE_CHECK_HANDLERS(Address, Profile_address)
    PROFILE_CHECK_HANDLERS(Phone, Profile_phone)
    PROFILE_CHECK_HANDLERS(Fax, Profile_fax)
    PROFILE_CHECK_HANDLERS(Email, Profile_email)
    PROFILE_CHECK_HANDLERS(Website, Profile_website)
    PROFILE_CHECK_HANDLERS(Unique, Profile_unique)
#undef PROFILE_CHECK_HANDLERS
#define PROFILE_VIEW_HANDLER(Stem, F)                                                                \
    void View_##Stem##_Series_Btn_Clicked() { View_Data_Series_By_Name(fields[F].ser_col_cb); }
    PROFILE_VIEW_HANDLER(Name, Profile_Name)
    PROFILE_VIEW_HANDLER(Title, Profile_Title)
    PROFILE_VIEW_HANDLER(Company_Name, Profile_Company_name)
    PROFILE_VIEW_HANDLER(Slogan, Profile_slogan)
    PROFILE_VIEW_HANDLER(Address, Profile_address)
    PROFILE_VIEW_HANDLER(Phone, Profile_phone)
    PROFILE_VIEW_HANDLER(Fax, Profile_fax)
    PROFILE_VIEW_HANDLER(Email, Profile_email)
    PROFILE_VIEW_HANDLER(Website, Profile_website)
    PROFILE_VIEW_HANDLER(Unique, Profile_unique)
    PROFILE_VIEW_HANDLER(Image, Profile_image)
#undef PROFILE_VIEW_HANDLER

public slots:
    void OK_Btn_Clicked();
    void Cancel_Btn_Clicked();
    void Reset_Btn_Clicked();
    void Help_Btn_Clicked();
    void Browse_image_Btn_Clicked();
    void Clear_image_Btn_Clicked();
    void Preview_Btn_Clicked();
    // Loads chosen columns of an xlsx workbook into the design's spreadsheet
    // table; the path is kept once the table holds its rows.
    void Browse_excel_Btn_Clicked();
    // The spreadsheet table's viewer, and the data-set manager.
    void View_Excel_Btn_Clicked();
    void Batch_Series_Btn_Clicked();
    // A data source or a data set or column was chosen in a field's lists.
    void comboBoxSelectionDidChange(QComboBox* combo);
    // A caption or value was typed into: its check box is ticked.
    void controlTextDidChange(QLineEdit* field);

protected:
    explicit Show_User_Profile(QWidget* parent = nullptr);
    // The wizard-mode twin: no check boxes or placeholders, a side selector
    // per field, and OK writes the front and the back record.
    Show_User_Profile(bool wizard_mode, QWidget* parent);
    // Whether a field is written into this record (every field is, unless
    // the wizard's side selector keeps it to the other side).
    bool Field_Goes_To(int field, const User_Profile_Class* record) const;

    const bool wizard_mode = false;

private:
    // The window, one builder per panel: the field grid (a row per field),
    // the photo and spreadsheet panels below it, the preview beside it and
    // the button row.
    void buildWindow();
    QGridLayout* buildFieldGrid();
    void buildFieldRow(QGridLayout* grid, int field);
    void buildPhotoPanel(QGridLayout* grid, int row);
    void buildSpreadsheetPanel(QGridLayout* grid, int row);
    QVBoxLayout* buildPreviewPanel();
    QHBoxLayout* buildButtonRow();
    void buildTemplates();
    void Data_Source_Changed(int field);
    void Series_Changed(int field);
    void Read_Back_Side();
    bool Fill_User_profile_value_in_Variable(User_Profile_Class* record, bool accepted);

    QString validation_failure; // why the last check could not run
};

// The profile dialog's shared instance, through which the placement reads
// the placeholder views at any time.
extern Show_User_Profile* Show_User_Profile_Window;
