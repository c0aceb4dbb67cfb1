#include "wizards/User_profile.h"

User_profile* User_profile::defaultInstance()
{
    static User_profile* instance = new User_profile;
    return instance;
}

User_profile::User_profile()
    : Show_User_Profile(true, nullptr)
{
}
