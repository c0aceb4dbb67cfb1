#pragma once
// The number codes that stored files, settings and the batch roads share, by
// name. They are plain enumerations so they compare with the int fields and
// atomics that hold them.

#include <QLatin1StringView>
#include <QString>
#include <array>

// Card_Front_Or_Back: the side commands act on.
enum Card_Side : int { Side_Front = 0, Side_Back = 1 };
// The same sides as the windows and stored settings write them, and "BOTH".
inline constexpr QLatin1StringView Side_Code_Front("F"), Side_Code_Back("B"), Side_Code_Both("BOTH");
inline QString Side_Code(Card_Side side) { return side == Side_Front ? Side_Code_Front : Side_Code_Back; }
// "F" is the front; any other code names the back.
inline Card_Side Card_Side_From_Code(const QString& code) { return code == Side_Code_Front ? Side_Front : Side_Back; }

// Selected_Control_Tool: the drawing tool of the next new graphic.
enum Control_Tool : int { Tool_None = 0, Tool_Text = 2, Tool_Image_File = 8 };

// Card_Shape: the outline of the card base.
enum Card_Shape_Code : int { Shape_Rectangle = 0, Shape_Rounded_Rectangle = 1, Shape_Ellipse = 2 };

// SKTGraphic::data_source_type: where a graphic's value comes from.
enum Data_Source_Code : int { Source_Typed = 0, Source_Data_Set = 1, Source_Spreadsheet = 2 };

// The control identifiers of the graphics that show the eleven user-profile
// fields (name, title, company, slogan, address, phone, fax, e-mail, website,
// unique number, photo), in field order.
inline constexpr std::array<QLatin1StringView, 11> Profile_Control_IDs{
    QLatin1StringView("Fup_Name"), QLatin1StringView("Fup_Title"), QLatin1StringView("Fup_Company"),
    QLatin1StringView("Fup_CompanySlogan"), QLatin1StringView("Fup_Address"), QLatin1StringView("Fup_PhoneNO"),
    QLatin1StringView("Fup_FaxNo"), QLatin1StringView("Fup_EmailID"), QLatin1StringView("Fup_Website"),
    QLatin1StringView("Fup_UniqueNo"), QLatin1StringView("Fup_Photo")};
inline bool Is_Profile_Control_ID(const QString& id)
{
    for (QLatin1StringView known : Profile_Control_IDs)
        if (id == known)
            return true;
    return false;
}

// Measument_Unit_Is: the unit of barcode heights and margins.
enum Barcode_Unit : int { Unit_Inch = 0, Unit_Centimetre = 1, Unit_Millimetre = 2 };

// Lengths: points (1/72 inch) on the canvas, millimetres in card and print
// settings, inches in the preset tables.
inline constexpr double Points_Per_Inch = 72.0;
inline constexpr double MM_Per_Inch = 25.4;
inline constexpr double Points_Per_MM = Points_Per_Inch / MM_Per_Inch;
// Printed cards are drawn at 300 dpi so fine bars and small text stay sharp.
inline constexpr double Print_Pixels_Per_Point = 300.0 / Points_Per_Inch;
