#include "wizards/User_Profile_Class.h"

#include "model/Globals.h"

const std::array<Profile_Field_Row, Profile_Field_Count>& Profile_Fields()
{
    using L = QLatin1StringView;
    using K = Profile_Field_Kind;
    const auto& id = Profile_Control_IDs;
    // Landscape: photo at the left with the unique number under it, name,
    // title, company, slogan and address beside it, the contact lines along
    // the bottom. Portrait: photo on top, one line per field below it, each
    // as wide as the card allows.
    static const std::array<Profile_Field_Row, Profile_Field_Count> fields{{
        {L("name"), L("Name"), id[0], L("Fup_lbl_Name"), &Title_Name, K::Text,
         {80, 8, 155, 17}, {8, 70, 137, 17}},
        {L("title"), L("Title"), id[1], L("Fup_lbl_Title"), &Title_Title, K::Text,
         {80, 25, 155, 17}, {8, 87, 137, 17}},
        {L("comp_name"), L("Company_Name"), id[2], L("Fup_lbl_Company"), &Title_Company_name, K::Text,
         {80, 42, 155, 17}, {8, 104, 137, 17}},
        {L("slogan"), L("Slogan"), id[3], L("Fup_lbl_CompanySlogan"), &Title_slogan, K::Text,
         {80, 59, 155, 17}, {8, 121, 137, 17}},
        {L("address"), L("Address"), id[4], L("Fup_lbl_Address"), &Title_address, K::Text,
         {80, 76, 155, 17}, {8, 138, 137, 17}},
        {L("phone"), L("Phone"), id[5], L("Fup_lbl_PhoneNO"), &Title_phone, K::Text,
         {10, 97, 110, 17}, {8, 155, 137, 17}},
        {L("fax"), L("Fax"), id[6], L("Fup_lbl_FaxNo"), &Title_fax, K::Text,
         {125, 97, 110, 17}, {8, 172, 137, 17}},
        {L("email"), L("Email"), id[7], L("Fup_lbl_EmailID"), &Title_email, K::Text,
         {10, 114, 225, 17}, {8, 189, 137, 17}},
        {L("website"), L("Website"), id[8], L("Fup_lbl_Website"), &Title_website, K::Text,
         {10, 131, 225, 17}, {8, 206, 137, 17}},
        {L("unique"), L("Unique"), id[9], L("Fup_lbl_UniqueNo"), &Title_unique, K::Text,
         {10, 80, 62, 17}, {8, 223, 137, 17}},
        {L("image"), L("Image"), id[10], L("Fup_lbl_Photo"), &Title_image, K::Photo,
         {10, 8, 62, 70}, {41, 8, 71, 58}},
    }};
    return fields;
}

int Profile_Field_Of_ID(const QString& ctrl_ID)
{
    for (int f = 0; f < Profile_Field_Count; ++f)
        if (ctrl_ID == Profile_Fields()[f].ctrl_ID)
            return f;
    return -1;
}

void User_Profile_Class::Reset_All_Values()
{
    Fill_User_Profile_Enable = false;
    Excel_Binding = false;
    for (int f = 0; f < Profile_Field_Count; ++f) {
        User_Profile_Field& x = field[f];
        x.id = Profile_Fields()[f].ctrl_ID;
        x.label_id = Profile_Fields()[f].label_ID;
        x.value = QStringLiteral("");
        Set_Field_Binding(f, Source_Typed, QString(), 0);
    }
}

void User_Profile_Class::Set_Field_Binding(int f, int source, const QString& entry, int index)
{
    User_Profile_Field& x = field[f];
    switch (source) {
    case Source_Typed:
        x.ds = false, x.ds_name = QStringLiteral(""), x.ds_indx = 0, x.xl = false, x.xl_col_indx = 0;
        break;
    case Source_Data_Set:
        x.ds = true, x.ds_name = entry, x.ds_indx = index, x.xl = false, x.xl_col_indx = 0;
        break;
    case Source_Spreadsheet:
        x.ds = false, x.ds_name = QStringLiteral(""), x.ds_indx = 0, x.xl = true, x.xl_col_indx = index;
        break;
    default:
        break;
    }
}
