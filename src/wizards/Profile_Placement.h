#pragma once
// Profiles on the card: which graphics of a face show the profile fields,
// and laying a profile record out on a face as text and image graphics
// carrying the fields' control identifiers, bound as the record says.
#include "model/SKTDocument.h"
#include "wizards/User_Profile_Class.h"

#include <functional>

class SKTGraphicView;

// The graphic that shows each field, as the profile dialog reads a card back:
// exactly a text or an image graphic, visible, with the field's identifier
// (blanks around it ignored). When two carry one identifier the one further
// back wins. Null where no graphic shows the field.
std::array<GraphicPtr, Profile_Field_Count> Find_Profile_Graphics(const Face& face);

// The default rectangle of the field with a control identifier, on the card.
using Profile_Rect_Lookup = std::function<QRectF(const QString& ctrl_ID)>;

// Hides the face's profile graphics, then shows every field that has a value:
// the graphic carrying its identifier is updated in place (keeping its place,
// size and order), or a new one is made at the field's default rectangle in
// front of all others; either is bound as the field says, and a typed field
// leaves its graphic unbound. A field whose default rectangle is empty gets
// no graphic. Leaves the text tool chosen, or the image tool and the photo's
// path as Library_Selected_Image after a photo. Every text is fitted to its
// box (Fit_Profile_Text).
void Place_User_Profile(SKTGraphicView& canvas, const User_Profile_Class& record, const Profile_Rect_Lookup& rectFor);

// A text's value shown whole in its box: when its line is wider than the
// box the text is made smaller, down to this scale of its size, and when it
// still needs more than one line the box grows down to hold them. A box is
// never made smaller.
constexpr qreal Profile_Smallest_Text_Scale = 0.5;
void Fit_Profile_Text(SKTText& text);

// The binding a placed graphic takes from its field: the data set, then the
// column (so a field with both ends on the column); neither: typed.
void Bind_Profile_Graphic(SKTGraphic& graphic, const User_Profile_Field& field);

// A placeholder's frame as its box reports it (y up from the box's bottom)
// turned into card coordinates (y down) against a box height: y becomes
// height - y; the frame's own height is not taken off.
QRectF Template_Frame_To_Card_Rect(const QRectF& frame, qreal box_height);
