#pragma once
#include <QImage>

// The longer side of the picture for which blur and sharpening radii are
// given in pixels (the start wizard's preview); on a larger or smaller copy
// of the picture they scale with it, so every copy looks alike.
constexpr int Filter_Reference_Side = 600;
// A radius given for the reference side, in pixels of a picture of this size
// (at least 1 while the radius is 1 or more).
int Filter_Radius_For(float radius, const QSize& picture);

// The photo filter chain. Pure and thread-safe.
class ImageProcesser {
public:
    // Applies, in this order: grey scale, sepia and inversion (each when on),
    // hue rotation (radians), colour controls (saturation, brightness,
    // contrast), luminance sharpening by r, box blur of radius b (both
    // scaled to the picture, see Filter_Radius_For), exposure of
    // g stops (a factor of 2^g), then rotation by whole degrees counter-
    // clockwise (the image grows to hold the turned picture), and last the
    // transparency: at 100 (or above) the picture is as it was, below it its
    // opacity is tranprency percent, so 0 leaves nothing to see. Neutral
    // settings give the image back unchanged; a null image gives a null image.
    static QImage Get_Processed_Image(const QImage& image, bool grayscale, bool sepia, bool invrtclr,
                                      float hue, float sat, float brt, float con, int rotate,
                                      float r, float g, float b, float tranprency);
};

// The photo filter settings the start wizard's photo page edits, as a design
// log stores them. The live settings are the IMG_* globals.
struct Photo_Filter_Settings {
    bool gray = false, sepia = false, invert = false;
    float rotate = 0, transparency = 100, hue = 0, saturation = 1, brightness = 0, contrast = 1,
          sharpness = 0, exposure = 0, blur = 0;
    bool operator==(const Photo_Filter_Settings&) const = default;
    static Photo_Filter_Settings fromGlobals();
    void toGlobals() const;
};

class QString;
// Reads the picture at path, runs it through the photo filters of the design
// (the IMG_ settings) and makes it the main photo; false, logged, when the
// picture cannot be read (the main photo stays as it was).
bool Load_Main_Photo(const QString& path);
