#pragma once
// What the wizards and the profile dialog need of the main window. The main
// window hands its implementation over at start-up (Set_Wizard_Host); tests
// give a stand-in. With no host set the wizards still run: what would reach
// the main window is left out.
#include "model/SKTDocument.h"

#include <QImage>
#include <QSizeF>
#include <QString>
#include <QStringList>

class Data_Source_Lookup;
class User_Profile_Class;

class Wizard_Host {
public:
    virtual ~Wizard_Host() = default;

    // Card size: the card panel's fields (millimetres), the document and the
    // canvases (points).
    virtual void Set_Card_Size_In_Control(double width_mm, double height_mm) = 0;
    virtual float MM_to_Points_Convert(float mm) const = 0;
    virtual QSizeF Set_Document_Size(const QSizeF& size) = 0;
    virtual void SetDocumentCanvasSize(const QSizeF& size) = 0;
    // The card presets of a category (0 PVC cards, 1 paper cards) and the
    // size of one of them.
    virtual QStringList Card_Preset_Names(int category) const = 0;
    virtual QSizeF Get_My_card_Size(const QString& category, const QString& preset, int list_index) const = 0;

    // The user-profile records of the front, back and template-preview sides.
    virtual User_Profile_Class* Front_user_profile() const = 0;
    virtual User_Profile_Class* Back_user_profile() const = 0;
    virtual User_Profile_Class* TEMP_user_profile() const = 0;
    // The faces; the template-preview face takes copies of the side on
    // screen (Temp_Design_Control_Assign) and the preview record is laid out
    // on it (Fill_User_profile_info_TEMP_side).
    virtual Face& Get_Front_Controls_Array() = 0;
    virtual Face& Get_Back_Controls_Array() = 0;
    virtual Face Get_Temp_Controls_Array() const = 0;
    virtual void Temp_Design_Control_Assign(bool copies) = 0;
    // The template-preview face takes copies of other graphics (a template
    // being browsed) instead of the side on screen.
    virtual void Temp_Design_Control_Assign_From(const Face& graphics) = 0;
    virtual void Fill_User_profile_info_TEMP_side() = 0;

    // The profile dialog for side "F" or "B" (1 after OK).
    virtual int Open_User_Profile_Window(bool edit, const QString& side) = 0;
    // Opens a design log chosen by the user; 1 when one was opened.
    virtual int Open_Log_File() = 0;
    // The data-set manager.
    virtual void Batch_Series_Button() = 0;
    // What a field or graphic may be bound to.
    virtual const Data_Source_Lookup& Data_Sources() const = 0;

    // Drawn behind the start wizard's pages.
    virtual QImage Wizard_Pattern_Image() const = 0;
    // The main photo is bound to a data set (its picture is not chosen here).
    virtual bool Main_Photo_Bound_To_Data_Set() const = 0;
};

// The host the wizards use; null until one is set. Returns the one before.
Wizard_Host* Wizard_Main_Window();
Wizard_Host* Set_Wizard_Host(Wizard_Host* host);
