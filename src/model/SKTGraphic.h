#pragma once
// The objects placed on a card. Every graphic carries its bounds, drawing
// flags, the identifier a wizard gave it, its data binding and the stored
// settings of a barcode; the kinds add their own content.
#include "model/BarcodeArt.h"
#include "model/Codes.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPicture>
#include <QRectF>
#include <QString>
#include <memory>
#include <typeinfo>

class QPainter;

// The kinds callers compare; a subclass of a kind does not count as that kind.
enum class GraphicKind { Text, Image, Barcode };

// The stored barcode settings, by type: name and default of a new graphic.
// A key missing from a file reads as the default (wide kerning off).
#define SKT_BARCODE_INT_FIELDS(X) \
    X(linear_or_2d, 0) X(barcode_font_index, 0) X(show_hide_hdr, 0) X(show_hide_ftr, 0) \
    X(show_hide_val, 0) X(show_val_on_top, 0) X(align_hdr_index, 1) X(align_ftr_index, 1) \
    X(qr_size_val, 60) X(qr_version_index, 0) X(qr_ec_index, 0) X(pdf_hgt_val, 20) \
    X(pdf_wdt_val, 100) X(pdf_ec_val, 2) X(dm_module_val, 2) X(dm_format_index, 0) \
    X(dm_encoding_index, 0) X(dpi_val_index, 0) X(barcode_unit_val, 1) \
    X(kerning_value_state, 0)
#define SKT_BARCODE_FLOAT_FIELDS(X) \
    X(linear_height_val, 0.6f) X(linear_width_val, 20.0f) X(hdr_margin_val, 0.1f) \
    X(ftr_margin_val, 0.1f) X(val_margin_val, 0.1f) X(TB_marging_val, 0.1f) X(LR_margin_val, 0.1f)
#define SKT_BARCODE_STRING_FIELDS(X) \
    X(linear_font_val, "0123") X(two_d_font_val, "0123") X(header_val, "HEADER") \
    X(footer_val, "FOOTER") X(dpi_custom_val, "0")
#define SKT_BARCODE_FONT_FIELDS(X) X(value_font_val) X(header_font_val) X(footer_font_val)
#define SKT_BARCODE_COLOR_FIELDS(X) \
    X(barcode_hdr_clr_val, Qt::black) X(barcode_ftr_clr_val, Qt::black) X(barcode_val_clr_val, Qt::black) \
    X(barcode_back_clr_val, Qt::white) X(barcode_clr_val, Qt::black)

// The default font of barcode texts: "Times New Roman" at 10 points.
QFont Default_Barcode_Font();

class SKTGraphic {
public:
    virtual ~SKTGraphic() = default;
    virtual GraphicKind kind() const = 0;

    // Geometry and drawing flags.
    QRectF bounds;
    bool isDrawingFill = false;
    bool isDrawingStroke = true;
    QColor fillColor = Qt::white;
    QColor strokeColor = Qt::black;
    float strokeWidth = 1.0f;

    // Identity and binding.
    QString control_ID = QStringLiteral("");
    bool ctrl_is_visible = true;
    QString Text_Value = QStringLiteral("");
    int data_source_type = Source_Typed; // Data_Source_Code
    QString batch_list_name = QStringLiteral("");
    int batch_list_index = 0;
    bool excel_binding = false;
    int excel_col_indx = 0;    // spreadsheet-table column; 0 is the row-number column

#define X(name, def) int name = def;
    SKT_BARCODE_INT_FIELDS(X)
#undef X
#define X(name, def) float name = def;
    SKT_BARCODE_FLOAT_FIELDS(X)
#undef X
#define X(name, def) QString name = QStringLiteral(def);
    SKT_BARCODE_STRING_FIELDS(X)
#undef X
#define X(name) QFont name = Default_Barcode_Font();
    SKT_BARCODE_FONT_FIELDS(X)
#undef X
#define X(name, def) QColor name = QColor(def);
    SKT_BARCODE_COLOR_FIELDS(X)
#undef X

    // The barcode symbol this graphic draws (bars, texts or module grid, sized in points).
    Barcode_Art _barcode_image;

    void Set_Data_source_type(int value) { data_source_type = value; }
    void Set_Batch_List_Name(const QString& value) { batch_list_name = value; }
    void Set_Batch_List_Index(int value) { batch_list_index = value; }
    void Set_Excel_binding(bool value) { excel_binding = value; }
    void Set_Excel_binding_Index(int value) { excel_col_indx = value; }
    void Set_Ctrl_Is_Visible(bool value) { ctrl_is_visible = value; }
    void Set_Barcode_image(const Barcode_Art& image) { _barcode_image = image; }

    // The rectangle the graphic covers on the card (hit testing, selection).
    virtual QRectF drawingBounds() const { return bounds; }
    // Draws the graphic's content in card coordinates (y down, points).
    void draw(QPainter& painter) const;

protected:
    virtual void drawContent(QPainter& painter) const = 0;
};

using GraphicPtr = std::shared_ptr<SKTGraphic>;

class SKTText : public SKTGraphic {
public:
    SKTText();
    GraphicKind kind() const override { return GraphicKind::Text; }
    QString text;              // the text storage, replaced whole by batch values
    QFont font;
    QColor textColor = Qt::black;
    Qt::Alignment alignment = Qt::AlignLeft;

    // The height the text takes in a box of this width, and the width of its
    // widest line unbroken, as it is drawn.
    qreal Text_Height(qreal width) const;
    qreal Text_Width() const;

protected:
    void drawContent(QPainter& painter) const override;
};

// The look of an invitation text by its identifier: the title, date, time
// and venue centred, the sender right-aligned, the title in bold italic of
// 18 points; the others keep the text defaults.
void Style_Party_Text(SKTText& text, const QString& ctrl_ID);

class SKTImage : public SKTGraphic {
public:
    SKTImage() { isDrawingStroke = false; }
    GraphicKind kind() const override { return GraphicKind::Image; }
    // Keeps the path; "PARTY_IMAGE" shows the main photo, any other graphic
    // loads the file (no image when it cannot be read).
    void setFilePath(const QString& path);
    QString filePath() const { return _filePath; }
    QImage image;

protected:
    void drawContent(QPainter& painter) const override;

private:
    QString _filePath;
};

class SKTBarcode : public SKTGraphic {
public:
    SKTBarcode() { isDrawingStroke = false; }
    GraphicKind kind() const override { return GraphicKind::Barcode; }
    QRectF drawingBounds() const override;
    // The symbol is drawn at its own size times this (at most 1): a symbol
    // larger than its card is drawn smaller, proportions kept.
    float barcode_scale = 1.0f;
    // Places the symbol inside a card of the given size (points): moved in,
    // and scaled down when it is larger than the card.
    void Keep_Inside_Card(const QSizeF& card);

protected:
    void drawContent(QPainter& painter) const override;
};

// Makes a new graphic of a kind.
GraphicPtr Make_Graphic(GraphicKind kind);
// A new graphic of the same kind holding the same fields.
GraphicPtr Copy_Graphic(const SKTGraphic& graphic);
// Copies what a graphic is bound to (source type, data set, spreadsheet column).
void Copy_Binding(const SKTGraphic& from, SKTGraphic& to);
// True when the graphic exists and is exactly of the kind's class (a
// subclass does not count).
inline bool Is_Kind(const SKTGraphic* g, GraphicKind kind)
{
    if (!g || g->kind() != kind)
        return false;
    switch (kind) {
    case GraphicKind::Text: return typeid(*g) == typeid(SKTText);
    case GraphicKind::Image: return typeid(*g) == typeid(SKTImage);
    case GraphicKind::Barcode: return typeid(*g) == typeid(SKTBarcode);
    }
    return false;
}
// The grey picture shown by an image graphic placed without a file.
QImage Placeholder_Image();
// The same picture on a see-through ground, shown by an image graphic whose
// file cannot be read: a missing frame over the whole card leaves the card
// readable.
QImage Missing_Picture_Image();
