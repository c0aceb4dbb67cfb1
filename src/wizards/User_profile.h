#pragma once
// The wizard-mode profile dialog: the profile dialog's twin that the card
// and template wizards open without a card side. It has no caption or value
// check boxes; each field has a side selector instead (front, back or both,
// both at opening), and OK writes the fields into the front and the back
// profile records at once.
#include "wizards/Show_User_Profile.h"

class User_profile : public Show_User_Profile {
    Q_OBJECT
public:
    static User_profile* defaultInstance();

#define WIZARD_SIDE_OUTLET(P, F) QComboBox*& P##_side_combo = side_combo[F];
    WIZARD_SIDE_OUTLET(name, Profile_Name)
    WIZARD_SIDE_OUTLET(title, Profile_Title)
    WIZARD_SIDE_OUTLET(comp_name, Profile_Company_name)
    WIZARD_SIDE_OUTLET(slogan, Profile_slogan)
    WIZARD_SIDE_OUTLET(address, Profile_address)
    WIZARD_SIDE_OUTLET(phone, Profile_phone)
    WIZARD_SIDE_OUTLET(fax, Profile_fax)
    WIZARD_SIDE_OUTLET(email, Profile_email)
    WIZARD_SIDE_OUTLET(website, Profile_website)
    WIZARD_SIDE_OUTLET(unique, Profile_unique)
    WIZARD_SIDE_OUTLET(image, Profile_image)
#undef WIZARD_SIDE_OUTLET

private:
    User_profile();
};
