#include "model/GraphicArchive.h"

#include "model/Helpers.h"
#include "platform/PropertyList.h"

#include <QVariantList>
#include <algorithm>
#include <optional>

namespace {
const char* kindName(GraphicKind kind)
{
    switch (kind) {
    case GraphicKind::Text: return "SKTText";
    case GraphicKind::Image: return "SKTImage";
    case GraphicKind::Barcode: return "SKTBarcode";
    }
    return "";
}

// The kind an archive names; false with the reason for any other name.
bool kindOfName(const QString& name, GraphicKind& kind, QString* error)
{
    for (GraphicKind k : {GraphicKind::Text, GraphicKind::Image, GraphicKind::Barcode})
        if (name == QLatin1String(kindName(k))) {
            kind = k;
            return true;
        }
    if (error)
        *error = QStringLiteral("Unknown graphic kind \"%1\"").arg(name);
    return false;
}

QVariant rectToVariant(const QRectF& r) { return QVariantList{r.x(), r.y(), r.width(), r.height()}; }

// Far beyond any card or barcode size (about 35 metres), near enough for the
// drawing code's integers.
constexpr double Max_Coordinate = 100000;

QRectF rectFromVariant(const QVariant& v)
{
    const QVariantList l = v.toList();
    if (l.size() != 4)
        return {};
    auto c = [&](int i) { return Bounded_Number(l[i], 0, -Max_Coordinate, Max_Coordinate); };
    return QRectF(c(0), c(1), c(2), c(3));
}

QString colorToString(const QColor& c) { return c.name(QColor::HexArgb); }
QColor colorFromVariant(const QVariant& v, const QColor& fallback)
{
    const QColor c(v.toString());
    return c.isValid() ? c : fallback;
}

QFont fontFromVariant(const QVariant& v, const QFont& fallback)
{
    QFont f;
    if (!v.isValid() || !f.fromString(v.toString()))
        return fallback;
    // Sizes no text on a card needs would only overflow the text layout.
    if (f.pointSizeF() > 0)
        f.setPointSizeF(std::clamp(f.pointSizeF(), 1.0, 1000.0));
    else if (f.pixelSize() > 0)
        f.setPixelSize(std::clamp(f.pixelSize(), 1, 1000));
    else
        f.setPointSizeF(fallback.pointSizeF() > 0 ? fallback.pointSizeF() : 12);
    return f;
}
}

QVariantMap Graphic_To_Map(const SKTGraphic& g)
{
    QVariantMap m;
    m["kind"] = QString::fromLatin1(kindName(g.kind()));
    m["bounds"] = rectToVariant(g.bounds);
    m["isDrawingFill"] = g.isDrawingFill;
    m["isDrawingStroke"] = g.isDrawingStroke;
    m["fillColor"] = colorToString(g.fillColor);
    m["strokeColor"] = colorToString(g.strokeColor);
    m["strokeWidth"] = double(g.strokeWidth);
    m["control_ID"] = g.control_ID;
    m["ctrl_is_visible"] = g.ctrl_is_visible;
    m["Text_Value"] = g.Text_Value;
    m["data_source_type"] = g.data_source_type;
    m["batch_list_name"] = g.batch_list_name;
    m["batch_list_index"] = g.batch_list_index;
    m["excel_binding"] = g.excel_binding;
    m["excel_col_indx"] = g.excel_col_indx;
#define X(name, def) m[#name] = g.name;
    SKT_BARCODE_INT_FIELDS(X)
#undef X
#define X(name, def) m[#name] = double(g.name);
    SKT_BARCODE_FLOAT_FIELDS(X)
#undef X
#define X(name, def) m[#name] = g.name;
    SKT_BARCODE_STRING_FIELDS(X)
#undef X
#define X(name) m[#name] = g.name.toString();
    SKT_BARCODE_FONT_FIELDS(X)
#undef X
#define X(name, def) m[#name] = colorToString(g.name);
    SKT_BARCODE_COLOR_FIELDS(X)
#undef X

    if (auto* t = dynamic_cast<const SKTText*>(&g)) {
        m["text"] = t->text;
        m["font"] = t->font.toString();
        m["textColor"] = colorToString(t->textColor);
        m["alignment"] = int(t->alignment);
    } else if (auto* i = dynamic_cast<const SKTImage*>(&g)) {
        m["filePath"] = i->filePath();
    } else if (auto* b = dynamic_cast<const SKTBarcode*>(&g)) {
        m["barcode_scale"] = double(b->barcode_scale);
    }
    return m;
}

GraphicPtr Graphic_From_Map(const QVariantMap& m, QString* error)
{
    GraphicKind kind;
    if (!kindOfName(m.value("kind").toString(), kind, error))
        return nullptr;
    GraphicPtr g = Make_Graphic(kind);
    g->bounds = rectFromVariant(m.value("bounds"));
    g->isDrawingFill = m.value("isDrawingFill", g->isDrawingFill).toBool();
    g->isDrawingStroke = m.value("isDrawingStroke", g->isDrawingStroke).toBool();
    g->fillColor = colorFromVariant(m.value("fillColor"), g->fillColor);
    g->strokeColor = colorFromVariant(m.value("strokeColor"), g->strokeColor);
    g->strokeWidth = float(Bounded_Number(m.value("strokeWidth"), g->strokeWidth, 0, 1000));
    g->control_ID = m.value("control_ID", g->control_ID).toString();
    g->ctrl_is_visible = m.value("ctrl_is_visible", g->ctrl_is_visible).toBool();
    g->Text_Value = m.value("Text_Value", g->Text_Value).toString();
    g->data_source_type = m.value("data_source_type", g->data_source_type).toInt();
    g->batch_list_name = m.value("batch_list_name", g->batch_list_name).toString();
    g->batch_list_index = m.value("batch_list_index", g->batch_list_index).toInt();
    g->excel_binding = m.value("excel_binding", g->excel_binding).toBool();
    g->excel_col_indx = m.value("excel_col_indx", g->excel_col_indx).toInt();
#define X(name, def) g->name = m.value(#name, g->name).toInt();
    SKT_BARCODE_INT_FIELDS(X)
#undef X
#define X(name, def) g->name = float(Bounded_Number(m.value(#name), g->name, -Max_Coordinate, Max_Coordinate));
    SKT_BARCODE_FLOAT_FIELDS(X)
#undef X
#define X(name, def) g->name = m.value(#name, g->name).toString();
    SKT_BARCODE_STRING_FIELDS(X)
#undef X
#define X(name) g->name = fontFromVariant(m.value(#name), g->name);
    SKT_BARCODE_FONT_FIELDS(X)
#undef X
#define X(name, def) g->name = colorFromVariant(m.value(#name), g->name);
    SKT_BARCODE_COLOR_FIELDS(X)
#undef X
    // A barcode's symbol is not stored: whoever opens the graphic makes it
    // again from the settings above (a picture in an old file is ignored).

    if (auto* t = dynamic_cast<SKTText*>(g.get())) {
        t->text = m.value("text").toString();
        t->font = fontFromVariant(m.value("font"), t->font);
        t->textColor = colorFromVariant(m.value("textColor"), t->textColor);
        t->alignment = Qt::Alignment(m.value("alignment", int(t->alignment)).toInt());
    } else if (auto* i = dynamic_cast<SKTImage*>(g.get())) {
        i->setFilePath(m.value("filePath").toString());
    } else if (auto* b = dynamic_cast<SKTBarcode*>(g.get())) {
        // Older files have no scale: their symbols are drawn at their own size.
        b->barcode_scale = float(Bounded_Number(m.value("barcode_scale"), 1.0, 0.001, 1.0));
    }
    return g;
}

QByteArray Archive_Graphic(const SKTGraphic& graphic, QString* error)
{
    return platform::plistSerialize(Graphic_To_Map(graphic), platform::PlistFormat::Binary, error);
}

namespace {
std::optional<QVariantMap> archiveMap(const QByteArray& archive, QString* error)
{
    const auto root = platform::plistParse(archive, error);
    if (!root)
        return std::nullopt;
    if (root->typeId() != QMetaType::QVariantMap) {
        if (error)
            *error = QStringLiteral("A graphic archive must be a dictionary");
        return std::nullopt;
    }
    return root->toMap();
}
}

GraphicPtr Unarchive_Graphic(const QByteArray& archive, QString* error)
{
    const auto map = archiveMap(archive, error);
    return map ? Graphic_From_Map(*map, error) : nullptr;
}

bool Is_Readable_Graphic_Archive(const QByteArray& archive, QString* error)
{
    const auto map = archiveMap(archive, error);
    if (!map)
        return false;
    GraphicKind kind;
    return kindOfName(map->value("kind").toString(), kind, error);
}
