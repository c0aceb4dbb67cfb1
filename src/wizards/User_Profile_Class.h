#pragma once
// A user profile: eleven fields (name, title, company name, slogan, address,
// phone, fax, e-mail, website, unique number, photo), each typed in or bound
// to a data set or a spreadsheet column, carried from the profile dialog to
// the card. One table describes the fields; the record, the dialog and the
// placement all walk it.
#include "model/Codes.h"

#include <QRectF>
#include <QString>
#include <array>

enum Profile_Field : int {
    Profile_Name,
    Profile_Title,
    Profile_Company_name,
    Profile_slogan,
    Profile_address,
    Profile_phone,
    Profile_fax,
    Profile_email,
    Profile_website,
    Profile_unique,
    Profile_image,
    Profile_Field_Count
};

// A text field is typed; the photo's value is the path of a picture file.
enum class Profile_Field_Kind { Text, Photo };

struct Profile_Field_Row {
    QLatin1StringView prefix;   // of the dialog's controls: "name" -> name_value, name_ds_combo
    QLatin1StringView stem;     // of the dialog's handlers: "Name" -> Name_Label_Chk_Clicked
    QLatin1StringView ctrl_ID;  // of the graphic that shows the field on the card
    QLatin1StringView label_ID;
    const QString* caption;     // the caption global, e.g. Title_Name "Name :"
    Profile_Field_Kind kind;
    // Where a new graphic of the field goes on a landscape card and on a
    // portrait one (card points, y down): the frames the dialog's
    // placeholder views stand for.
    QRectF landscape;
    QRectF portrait;
};

// The eleven fields in their fixed order.
const std::array<Profile_Field_Row, Profile_Field_Count>& Profile_Fields();
// The field shown by a graphic with this control identifier; -1 for none.
int Profile_Field_Of_ID(const QString& ctrl_ID);

// One field of a record.
struct User_Profile_Field {
    QString value;     // the text; for the photo the full path of its file
    QString id;        // control identifier of the graphic that shows it
    QString label_id;  // label identifier; nothing reads it
    QString label;     // reserved
    bool ds = false;   // bound to a data set ...
    QString ds_name;   // ... of this name
    int ds_indx = 0;   // ... at this position of the data-set list
    bool xl = false;   // bound to a spreadsheet-table column ...
    int xl_col_indx = 0; // ... at this position (0 the row-number column)
};

class User_Profile_Class {
public:
    // A new record holds no identifiers (null strings) until Reset_All_Values.
    bool Fill_User_Profile_Enable = false; // accepted in a dialog
    bool Excel_Binding = false;            // a spreadsheet table had rows when accepted
    std::array<User_Profile_Field, Profile_Field_Count> field;

    // Identifiers from the table; values and data-set names empty; every flag
    // off and every index 0. The label texts stay.
    void Reset_All_Values();

    // The binding a dialog writes for a field: source 0 typed (no binding),
    // 1 the data set named entry at position index, 2 the column at index.
    // Any other source leaves the binding as it is.
    void Set_Field_Binding(int f, int source, const QString& entry, int index);

    // Accessors under the fields' own names (Name / setName, slogan_ds /
    // setSlogan_ds, image_label_id / setImage_label_id ...).
#define USER_PROFILE_ACCESSORS(F, name, Name)                                                        \
    const QString& name() const { return field[F].value; }                                          \
    void set##Name(const QString& v) { field[F].value = v; }                                         \
    const QString& name##_id() const { return field[F].id; }                                         \
    void set##Name##_id(const QString& v) { field[F].id = v; }                                       \
    const QString& name##_label_id() const { return field[F].label_id; }                             \
    void set##Name##_label_id(const QString& v) { field[F].label_id = v; }                           \
    bool name##_ds() const { return field[F].ds; }                                                   \
    void set##Name##_ds(bool v) { field[F].ds = v; }                                                 \
    const QString& name##_ds_name() const { return field[F].ds_name; }                               \
    void set##Name##_ds_name(const QString& v) { field[F].ds_name = v; }                             \
    int name##_ds_indx() const { return field[F].ds_indx; }                                          \
    void set##Name##_ds_indx(int v) { field[F].ds_indx = v; }                                        \
    bool name##_xl() const { return field[F].xl; }                                                   \
    void set##Name##_xl(bool v) { field[F].xl = v; }                                                 \
    int name##_xl_col_indx() const { return field[F].xl_col_indx; }                                  \
    void set##Name##_xl_col_indx(int v) { field[F].xl_col_indx = v; }
    USER_PROFILE_ACCESSORS(Profile_Name, Name, Name)
    USER_PROFILE_ACCESSORS(Profile_Title, Title, Title)
    USER_PROFILE_ACCESSORS(Profile_Company_name, Company_name, Company_name)
    USER_PROFILE_ACCESSORS(Profile_slogan, slogan, Slogan)
    USER_PROFILE_ACCESSORS(Profile_address, address, Address)
    USER_PROFILE_ACCESSORS(Profile_phone, phone, Phone)
    USER_PROFILE_ACCESSORS(Profile_fax, fax, Fax)
    USER_PROFILE_ACCESSORS(Profile_email, email, Email)
    USER_PROFILE_ACCESSORS(Profile_website, website, Website)
    USER_PROFILE_ACCESSORS(Profile_unique, unique, Unique)
    USER_PROFILE_ACCESSORS(Profile_image, image, Image)
#undef USER_PROFILE_ACCESSORS
    // The two record flags are read as the fields themselves.
    void setFill_User_Profile_Enable(bool v) { Fill_User_Profile_Enable = v; }
    void setExcel_Binding(bool v) { Excel_Binding = v; }
};
