#include "model/Globals.h"

#include <QDir>
#include "platform/Guarded.h"

QString Resource_Path;
QString Data_Folder_Path;

void Set_Resource_Folder(const QString& resourceFolder)
{
    Resource_Path = QDir::cleanPath(resourceFolder);
    Data_Folder_Path = Resource_Path + QStringLiteral("/DataSet");
}

std::atomic<int> Card_Front_Or_Back{0};
std::atomic<int> Card_Shape{0};
std::atomic<bool> Card_Value_In_Process{false};
std::atomic<int> Selected_Control_Tool{2};
QString Library_Selected_Image;
float last_ctrl_X = 20;
float last_ctrl_Y = 20;

QString batch_file_EXT = QStringLiteral("txt");
QString design_file_EXT = QStringLiteral("gcdl");
QString CARD_SIDE_STR = QStringLiteral("");

QString Card_Sides_Code(const QString& sides)
{
    return sides == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("2");
}

bool Card_Has_Back()
{
    return Card_Sides_Code(CARD_SIDE_STR) == QLatin1String("2");
}
std::atomic<bool> Not_Draw_Only_Prop_Change{false};
QString Excel_Source_Path = QStringLiteral("");
std::atomic<bool> Excel_Binding_Use{false};
bool Fill_User_Profile = false;

const QString Title_Name = QStringLiteral("Name :");
const QString Title_Title = QStringLiteral("Position / Title :");
const QString Title_Company_name = QStringLiteral("Company Name :");
const QString Title_slogan = QStringLiteral("Company Slogan :");
const QString Title_address = QStringLiteral("Address :");
const QString Title_phone = QStringLiteral("Phone No. :");
const QString Title_fax = QStringLiteral("Fax No. :");
const QString Title_email = QStringLiteral("Email Id :");
const QString Title_website = QStringLiteral("Website :");
const QString Title_unique = QStringLiteral("Unique No. :");
const QString Title_image = QStringLiteral("Photo :");

std::atomic<float> IMG_rotate_image{0}, IMG_trnsp_val{100}, IMG_hue_val{0}, IMG_sat_val{1}, IMG_brt_val{0},
    IMG_con_val{1}, IMG_srp_val{0}, IMG_ev_val{0}, IMG_blr_val{0};
std::atomic<bool> IMG_gray_Scale{false}, IMG_Sepia{false}, IMG_invert_clr{false};

void Reset_Image_Filter_Globals()
{
    IMG_rotate_image = 0;
    IMG_trnsp_val = 100;
    IMG_hue_val = 0;
    IMG_sat_val = 1;
    IMG_brt_val = 0;
    IMG_con_val = 1;
    IMG_srp_val = 0;
    IMG_ev_val = 0;
    IMG_blr_val = 0;
    IMG_gray_Scale = false;
    IMG_Sepia = false;
    IMG_invert_clr = false;
}

QString Export_File_Path;
QString Export_File_Message;
std::atomic<bool> Msg_Apply_All_Chk{false};
QString export_template_name;
QString sender_email, sender_pwd, sending_server, sending_port, send_enable_ssl;

std::atomic<bool> Use_Data_Sheet_Values{false};
std::atomic<bool> Use_Excel_Binding_Values{false};
std::atomic<int> Data_table_rows{0};
std::atomic<int> Excel_table_rows{0};
std::atomic<int> Total_Batch_Excel_Card{0};

namespace {
Guarded<QImage> g_mainPhoto;
}

QImage Get_Main_Photo_image() { return g_mainPhoto.get(); }
void Set_Main_Photo_image(const QImage& image) { g_mainPhoto.set(image); }
