#include "wizards/Profile_Placement.h"

#include "canvas/SKTGraphicView.h"
#include "model/Globals.h"
#include "model/Helpers.h"

#include <algorithm>
#include <cmath>
#include <exception>

std::array<GraphicPtr, Profile_Field_Count> Find_Profile_Graphics(const Face& face)
{
    std::array<GraphicPtr, Profile_Field_Count> found;
    for (const GraphicPtr& g : face) {
        if (!(Is_Kind(g.get(), GraphicKind::Text) || Is_Kind(g.get(), GraphicKind::Image)) || !g->ctrl_is_visible)
            continue;
        const int f = Profile_Field_Of_ID(Trim_Str(g->control_ID));
        if (f >= 0)
            found[f] = g; // later in the face is further back, and wins
    }
    return found;
}

void Bind_Profile_Graphic(SKTGraphic& graphic, const User_Profile_Field& field)
{
    if (!field.ds && !field.xl) {
        // Typed: the typed value must not be replaced by batch rows.
        graphic.Set_Data_source_type(Source_Typed);
        graphic.Set_Batch_List_Name(QStringLiteral(""));
        graphic.Set_Batch_List_Index(0);
        graphic.Set_Excel_binding(false);
        graphic.Set_Excel_binding_Index(0);
        return;
    }
    if (field.ds) {
        graphic.Set_Data_source_type(Source_Data_Set);
        graphic.Set_Batch_List_Name(field.ds_name);
        graphic.Set_Batch_List_Index(field.ds_indx);
        graphic.Set_Excel_binding(false);
    }
    if (field.xl) {
        graphic.Set_Data_source_type(Source_Spreadsheet);
        graphic.Set_Excel_binding(true);
        graphic.Set_Excel_binding_Index(field.xl_col_indx);
    }
}

void Fit_Profile_Text(SKTText& text)
{
    // Half a point at a time, so the text keeps the largest size that fits.
    const qreal smallest = text.font.pointSizeF() * Profile_Smallest_Text_Scale;
    while (text.Text_Width() > text.bounds.width() && text.font.pointSizeF() - 0.5 >= smallest)
        text.font.setPointSizeF(text.font.pointSizeF() - 0.5);
    text.bounds.setHeight(std::max(text.bounds.height(), std::ceil(text.Text_Height(text.bounds.width()))));
}

void Place_User_Profile(SKTGraphicView& canvas, const User_Profile_Class& record, const Profile_Rect_Lookup& rectFor)
{
    try {
        canvas.Hide_all_Text_control_FUP_Control();
        Selected_Control_Tool = Tool_Text;
        for (int f = 0; f < Profile_Field_Count; ++f) {
            const User_Profile_Field& field = record.field[f];
            if (field.value.isEmpty())
                continue;
            const bool photo = Profile_Fields()[f].kind == Profile_Field_Kind::Photo;
            const bool exists = canvas.Selcect_Ctrl_With_ID(field.id) != nullptr;
            const QRectF rect = exists ? QRectF() : rectFor(field.id);
            if (photo) {
                Selected_Control_Tool = Tool_Image_File;
                Library_Selected_Image = field.value;
            }
            canvas._Selected_Graphic = nullptr;
            canvas.ReplaceGraphicText(photo ? GraphicKind::Image : GraphicKind::Text, nullptr, !exists, rect,
                                      QStringLiteral("F"), field.value, field.id);
            // Only the graphic that now carries this field's identifier takes
            // its binding; nothing is bound when none could be made.
            const GraphicPtr placed = canvas._Selected_Graphic;
            if (placed && placed->control_ID == field.id) {
                Bind_Profile_Graphic(*placed, field);
                if (Is_Kind(placed.get(), GraphicKind::Text))
                    Fit_Profile_Text(static_cast<SKTText&>(*placed));
            }
        }
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

QRectF Template_Frame_To_Card_Rect(const QRectF& frame, qreal box_height)
{
    return QRectF(frame.x(), box_height - frame.y(), frame.width(), frame.height());
}
