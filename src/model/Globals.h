#pragma once
// The application's shared state: what the main window, the batch workers and
// every subsystem read. It sits low so that every room may include it.
// Those that batch worker threads read or write are atomics.
#include "model/Codes.h"

#include <QImage>
#include <QString>
#include <atomic>

// The resource folder: fixed files the app reads, and the data sets, user
// templates and settings it writes.
extern QString Resource_Path;
// The data-set folder ("DataSet" inside the resource folder).
extern QString Data_Folder_Path;

// Points both folder globals at resourceFolder.
void Set_Resource_Folder(const QString& resourceFolder);

// The side commands act on and whose card base the renderer draws (Card_Side).
extern std::atomic<int> Card_Front_Or_Back;
// Card shape of the card base (Card_Shape_Code).
extern std::atomic<int> Card_Shape;
// Set while a batch fills the design; canvases do not repaint the live design meanwhile.
extern std::atomic<bool> Card_Value_In_Process;
// The current drawing tool (Control_Tool; the last value written stays).
extern std::atomic<int> Selected_Control_Tool;
// The path chosen for the next new image graphic.
extern QString Library_Selected_Image;
// Where the next new graphic without a control identifier is placed.
extern float last_ctrl_X;
extern float last_ctrl_Y;

// Extensions of data-set files ("txt") and design logs ("gcdl").
extern QString batch_file_EXT;
extern QString design_file_EXT;
// "2" card with a back, "1" one-sided; "" (a design whose sides were never
// chosen) is read as the sides box shows it: a card with a back.
extern QString CARD_SIDE_STR;
// The sides a code stands for: "1" stays one-sided, every other code is a
// card with a back ("2"), as the sides box shows it.
QString Card_Sides_Code(const QString& sides);
// Whether the card (CARD_SIDE_STR) has a back. Every check of the back asks
// this: its bindings, rows, sources and the data sets it keeps in use.
bool Card_Has_Back();
// Set while panels are filled or a design is loaded, so handlers write nothing back.
extern std::atomic<bool> Not_Draw_Only_Prop_Change;

// The spreadsheet the design's table came from and whether it is in use.
extern QString Excel_Source_Path;
extern std::atomic<bool> Excel_Binding_Use;
extern bool Fill_User_Profile;

// Captions of the profile fields.
extern const QString Title_Name, Title_Title, Title_Company_name, Title_slogan, Title_address,
    Title_phone, Title_fax, Title_email, Title_website, Title_unique, Title_image;

// The twelve filter settings of the main photo.
extern std::atomic<float> IMG_rotate_image, IMG_trnsp_val, IMG_hue_val, IMG_sat_val, IMG_brt_val,
    IMG_con_val, IMG_srp_val, IMG_ev_val, IMG_blr_val;
extern std::atomic<bool> IMG_gray_Scale, IMG_Sepia, IMG_invert_clr;
// Puts the twelve filter settings back to their neutral values.
void Reset_Image_Filter_Globals();

// The last exported or saved file or folder, and the after-export message.
extern QString Export_File_Path;
extern QString Export_File_Message;
// The long-text box's apply-to-all answer of its last OK; the data-set
// dialogs read it.
extern std::atomic<bool> Msg_Apply_All_Chk;
// The template name accepted by the template-name dialog.
extern QString export_template_name;

// Mail account, copied from the settings file by Get_Email_Details.
extern QString sender_email, sender_pwd, sending_server, sending_port, send_enable_ssl;

// Batch state: whether data sets and the spreadsheet table take part, the
// rows each gives and the number of batch rows. Read by the batch workers.
extern std::atomic<bool> Use_Data_Sheet_Values;
extern std::atomic<bool> Use_Excel_Binding_Values;
extern std::atomic<int> Data_table_rows;
extern std::atomic<int> Excel_table_rows;
extern std::atomic<int> Total_Batch_Excel_Card;

// The main photo with the filter settings applied (drawn by the graphic
// "PARTY_IMAGE"). Guarded: the batch binding may replace it from a worker.
QImage Get_Main_Photo_image();
void Set_Main_Photo_image(const QImage& image);
