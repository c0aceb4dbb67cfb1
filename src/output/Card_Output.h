#pragma once
// What every road that writes cards shares (single export, batch export,
// printing): which sides a card has, the drawing of those sides, their files.
#include "model/Codes.h"

#include <QImage>
#include <QString>
#include <functional>

// The sides a road writes, from the codes the windows keep: "BOTH" both, "B"
// the back, anything else the front.
enum class Sides_Choice { Both, Front, Back };
Sides_Choice Sides_Choice_From_Code(const QString& code);

struct Card_Faces {
    QImage front, back; // null when the side was not wanted or drew nothing
};
// Draws the sides the choice wants. The back is drawn before the front, so a
// design that is filled row by row ends on its front.
Card_Faces Render_Card_Sides(Sides_Choice choice, const std::function<QImage(Card_Side)>& render);

// Front above back, each at its own size; null (and logged) when either is missing.
// The result keeps the front's scale (device pixel ratio).
QImage Combined_Card_Image(const QImage& front, const QImage& back);

// The back's file beside the front's: "name_Back.ext" in the same folder.
QString Back_Card_Path(const QString& path);

// The card file types this machine can write, as extensions: png, jpg, bmp
// and tiff where Qt has a writer for them.
QStringList Card_File_Types();
// The image format a file is written in, named by its extension (jpg and
// jpeg, tif and tiff, bmp, png; case does not matter); PNG for any other.
QByteArray Card_Image_Format(const QString& path);

// Writes image to path whole or not at all, in the format its extension
// names. The resolution recorded in the file is the image's scale: 72 dots
// per inch times its device pixel ratio. Formats without transparency get the
// card on white. Failures are logged, and shown unless show_errors is false;
// error, when given, receives the reason. Safe on any thread.
bool Save_Card_Image(const QImage& image, const QString& path, bool show_errors = true, QString* error = nullptr);
// Shows why a card file could not be written: the path, then the reason.
void Show_Card_Write_Failure(const QString& path, const QString& reason);

// How a run of writes ended.
enum class Export_Outcome {
    Written,         // every file was written
    Some_Failed,     // some files could not be written
    Folder_Unusable, // nothing was written: the folder could not be made
    Broken_Off,      // an error stopped the run
    Stopped,         // the user stopped the run before the last card
};

struct Faces_Written {
    int written = 0, failed = 0;
    Export_Outcome outcome() const { return failed == 0 ? Export_Outcome::Written : Export_Outcome::Some_Failed; }
};
// Writes the faces the choice wants: the front, or front and back in one
// image when combined, to path; the back alone to back_path (skipped when
// back_path is empty). write saves one image and says whether it did.
using Card_Image_Writer = std::function<bool(const QImage& image, const QString& path)>;
void Write_Card_Faces(Sides_Choice choice, bool combined, const Card_Faces& faces, const QString& path,
                      const QString& back_path, const Card_Image_Writer& write, Faces_Written& count);
