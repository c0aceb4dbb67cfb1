#include "model/DesignLog.h"

#include "model/Globals.h"
#include "model/GraphicArchive.h"
#include "model/Helpers.h"
#include "model/Work_Files.h"
#include "platform/PropertyList.h"

#include <QFileInfo>

const QString Design_Log_Magic = QStringLiteral("PELVOROMACGLEAMCARDLG");

namespace {
QString yesNo(bool b) { return b ? QStringLiteral("Y") : QStringLiteral("N"); }

// Item positions of the root array.
enum Item {
    Magic, FrontCard, BackCard, CardSides, CardShape, FrontFace, BackFace,
    ExcelUse, ExcelPath, ColumnTitles, Rows, PhotoPath, MainPhoto,
    FilterGray, FilterSepia, FilterInvert, FilterRotate, FilterTransparency, FilterHue,
    FilterSaturation, FilterBrightness, FilterContrast, FilterSharpness, FilterExposure, FilterBlur,
    ItemCount
};

QVariantList archives(const QList<QByteArray>& list)
{
    QVariantList out;
    for (const QByteArray& a : list)
        out << a;
    return out;
}
}

QVariantList Design_Log_To_Plist(const Design_Log_Content& c)
{
    QVariantList root(ItemCount);
    root[Magic] = Design_Log_Magic;
    root[FrontCard] = c.front.toMap();
    root[BackCard] = c.back.toMap();
    root[CardSides] = c.cardSides;
    root[CardShape] = c.cardShape;
    root[FrontFace] = archives(c.frontGraphics);
    root[BackFace] = archives(c.backGraphics);
    root[ExcelUse] = yesNo(c.excelBindingUse);
    root[ExcelPath] = c.excelSourcePath;
    root[ColumnTitles] = c.columnTitles;
    QVariantList rows;
    for (const QVariantMap& r : c.rows)
        rows << r;
    root[Rows] = rows;
    root[PhotoPath] = c.photoPath;
    root[MainPhoto] = c.mainPhotoPng;
    const Photo_Filter_Settings& f = c.filters;
    root[FilterGray] = yesNo(f.gray);
    root[FilterSepia] = yesNo(f.sepia);
    root[FilterInvert] = yesNo(f.invert);
    root[FilterRotate] = double(f.rotate);
    root[FilterTransparency] = double(f.transparency);
    root[FilterHue] = double(f.hue);
    root[FilterSaturation] = double(f.saturation);
    root[FilterBrightness] = double(f.brightness);
    root[FilterContrast] = double(f.contrast);
    root[FilterSharpness] = double(f.sharpness);
    root[FilterExposure] = double(f.exposure);
    root[FilterBlur] = double(f.blur);
    return root;
}

std::optional<Design_Log_Content> Design_Log_From_Plist(const QVariant& rootVariant, QString* error)
{
    auto fail = [&](const QString& why) -> std::optional<Design_Log_Content> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (rootVariant.typeId() != QMetaType::QVariantList)
        return fail(QStringLiteral("The root is not an array"));
    const QVariantList root = rootVariant.toList();
    if (root.isEmpty() || root[Magic].toString() != Design_Log_Magic)
        return fail(QStringLiteral("The first item is not the design-log mark"));
    if (root.size() < ItemCount)
        return fail(QStringLiteral("The design log is incomplete"));
    auto isList = [&](int i) { return root[i].typeId() == QMetaType::QVariantList; };
    auto isMap = [&](int i) { return root[i].typeId() == QMetaType::QVariantMap; };
    if (!isMap(FrontCard) || !isMap(BackCard) || !isList(FrontFace) || !isList(BackFace) || !isList(ColumnTitles)
        || !isList(Rows))
        return fail(QStringLiteral("An item of the design log has the wrong type"));

    Design_Log_Content c;
    c.front = Card_Property::fromMap(root[FrontCard].toMap());
    c.back = Card_Property::fromMap(root[BackCard].toMap());
    c.cardSides = root[CardSides].toString();
    c.cardShape = root[CardShape].toInt();
    for (const QVariant& v : root[FrontFace].toList())
        c.frontGraphics << v.toByteArray();
    for (const QVariant& v : root[BackFace].toList())
        c.backGraphics << v.toByteArray();
    c.excelBindingUse = root[ExcelUse].toString() == QLatin1String("Y");
    c.excelSourcePath = root[ExcelPath].toString();
    c.columnTitles = root[ColumnTitles].toStringList();
    for (const QVariant& v : root[Rows].toList()) {
        if (v.typeId() != QMetaType::QVariantMap)
            return fail(QStringLiteral("A table row is not a dictionary"));
        c.rows << v.toMap();
    }
    c.photoPath = root[PhotoPath].toString();
    c.mainPhotoPng = root[MainPhoto].toByteArray();
    Photo_Filter_Settings& f = c.filters;
    f.gray = root[FilterGray].toString() == QLatin1String("Y");
    f.sepia = root[FilterSepia].toString() == QLatin1String("Y");
    f.invert = root[FilterInvert].toString() == QLatin1String("Y");
    // Within the photo page's slider ranges: the filters turn these into
    // pixel counts and angles.
    auto filter = [&](int item, float& value, double low, double high) {
        value = float(Bounded_Number(root[item], value, low, high));
    };
    filter(FilterRotate, f.rotate, -180, 180);
    filter(FilterTransparency, f.transparency, 0, 100);
    filter(FilterHue, f.hue, -3.14, 3.14);
    filter(FilterSaturation, f.saturation, 0, 2);
    filter(FilterBrightness, f.brightness, -1, 1);
    filter(FilterContrast, f.contrast, 0, 3);
    filter(FilterSharpness, f.sharpness, 0, 2);
    filter(FilterExposure, f.exposure, -2, 2);
    filter(FilterBlur, f.blur, 0, 20);
    return c;
}

bool Write_Design_Log(const QString& path, const Design_Log_Content& content, QString* error)
{
    const QByteArray bytes = platform::plistSerialize(Design_Log_To_Plist(content), platform::PlistFormat::Xml, error);
    if (bytes.isEmpty())
        return false;
    // What is read back must open as this same design: every graphic
    // archive readable, and the items as they were written.
    auto reopens = [&](const QByteArray& written, QString* why) {
        const auto root = platform::plistParse(written, why);
        if (!root)
            return false;
        const auto back = Design_Log_From_Plist(*root, why);
        if (!back)
            return false;
        for (const QList<QByteArray>* face : {&back->frontGraphics, &back->backGraphics})
            for (const QByteArray& archive : *face)
                if (!Is_Readable_Graphic_Archive(archive, why))
                    return false;
        if (platform::plistSerialize(Design_Log_To_Plist(*back), platform::PlistFormat::Xml) != bytes) {
            *why = QStringLiteral("the design reads back differently");
            return false;
        }
        return true;
    };
    return Write_File_Checked(path, bytes, reopens, error);
}

std::optional<Design_Log_Content> Read_Design_Log(const QString& path, QString* error)
{
    // Never wait on a FIFO or read a device, nor take in more than any
    // design holds (its photo included).
    constexpr qint64 Max_Design_Log_Size = qint64(512) * 1024 * 1024;
    if (!Is_Regular_File(path) || QFileInfo(path).size() > Max_Design_Log_Size) {
        if (error)
            *error = QStringLiteral("%1 is not a file of a design's size").arg(path);
        return std::nullopt;
    }
    const auto root = platform::plistReadFile(path, error);
    if (!root)
        return std::nullopt;
    return Design_Log_From_Plist(*root, error);
}

std::optional<Face> Design_Log_Face(const QList<QByteArray>& archives, Barcode_Symbol_Maker symbol_of,
                                    QString* error)
{
    Face face;
    for (const QByteArray& archive : archives) {
        GraphicPtr g = Unarchive_Graphic(archive, error);
        if (!g)
            return std::nullopt;
        if (Is_Kind(g.get(), GraphicKind::Barcode))
            g->Set_Barcode_image(symbol_of ? symbol_of(*g) : Barcode_Art());
        face << g;
    }
    return face;
}

QStringList Show_Missing_Pictures(const Face& face)
{
    QStringList missing;
    for (const GraphicPtr& g : face) {
        auto* picture = dynamic_cast<SKTImage*>(g.get());
        if (!picture || picture->control_ID == QLatin1String("PARTY_IMAGE") || !picture->image.isNull())
            continue;
        // One placed without a file shows the placeholder it was placed with.
        const QString file = picture->filePath();
        picture->image = file.isEmpty() ? Placeholder_Image() : Missing_Picture_Image();
        if (!file.isEmpty() && !missing.contains(file))
            missing << file;
    }
    return missing;
}
