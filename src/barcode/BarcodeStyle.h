#pragma once
// The settings that decide how a barcode looks. The designer window shows and
// edits one record; a barcode graphic stores the same settings in its barcode
// fields (same names, same defaults). The barcode model, the renderer and the
// batch road read a record, never widgets, so a symbol can be made on any thread.
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include "model/SKTGraphic.h"

// The items of the header and footer alignment lists, in item order.
extern const QStringList Barcode_Alignment_Items; // "Left", "Center", "Right"
// The item text of an alignment index; "" for an index outside the list.
QString Barcode_Alignment_Text(int index);

struct BarcodeStyle {
    // Stored settings (a barcode graphic's fields of the same names).
    int linear_or_2d = 0;          // 0 linear, 1 2-D
    int barcode_font_index = 0;    // item of the designer's type list
    QString linear_font_val = QStringLiteral("0123");
    QString two_d_font_val = QStringLiteral("0123");
    QString header_val = QStringLiteral("HEADER");
    QString footer_val = QStringLiteral("FOOTER");
    int show_hide_hdr = 0;         // check-box states, 1 hidden
    int show_hide_ftr = 0;
    int show_hide_val = 0;
    int show_val_on_top = 0;       // not 0: the caption is drawn above the bars
    int align_hdr_index = 1;       // items of Barcode_Alignment_Items
    int align_ftr_index = 1;
    float linear_height_val = 0.6f; // bar height, centimetres
    float linear_width_val = 20.0f; // narrow bar, mils
    int qr_size_val = 60;
    int qr_version_index = 0;
    int qr_ec_index = 0;
    int pdf_hgt_val = 20;
    int pdf_wdt_val = 100;
    int pdf_ec_val = 2;
    int dm_module_val = 2;
    int dm_format_index = 0;
    int dm_encoding_index = 0;
    float hdr_margin_val = 0.1f;   // margins in centimetres, as entered
    float ftr_margin_val = 0.1f;
    float val_margin_val = 0.1f;
    float TB_marging_val = 0.1f;
    float LR_margin_val = 0.1f;
    QFont value_font_val = Default_Barcode_Font();
    QFont header_font_val = Default_Barcode_Font();
    QFont footer_font_val = Default_Barcode_Font();
    QColor barcode_hdr_clr_val = Qt::black;
    QColor barcode_ftr_clr_val = Qt::black;
    QColor barcode_val_clr_val = Qt::black;
    QColor barcode_back_clr_val = Qt::white;
    QColor barcode_clr_val = Qt::black;
    int dpi_val_index = 0;
    QString dpi_custom_val = QStringLiteral("0");
    int barcode_unit_val = 1;      // carried along, used by nothing
    int kerning_value_state = 0;   // wide kerning of a single caption: on when exactly 1

    // Live settings that no graphic stores.
    // The five margins in points as last converted from the centimetre
    // fields; 0 for the margin of a hidden part.
    float value_margin = 0.1f;
    float header_margin = 0.1f;
    float footer_margin = 0.1f;
    float LR_margin = 0.1f;
    float TB_margin = 0.1f;

    // The framing of a 2-D symbol image (what a 1-D model answers for itself).
    QString content;
    QString header;                // "" while unset
    QString footer;
    bool printsCaption = false;
    bool printsHeader = false;
    bool printsFooter = false;
    float width = 0;               // outer size in points
    float height = 0;
    float caption_fontSize = 0, header_fontSize = 0, footer_fontSize = 0; // points
    float captionHeight = 0, headerHeight = 0, footerHeight = 0;         // inches
    float headerWidth = 0, footerWidth = 0;                              // points

    QString align_hdr_text() const { return Barcode_Alignment_Text(align_hdr_index); }
    QString align_ftr_text() const { return Barcode_Alignment_Text(align_ftr_index); }

    // The stored settings of a barcode graphic; the live settings keep their defaults.
    static BarcodeStyle fromGraphic(const SKTGraphic& graphic);
    // Loads a graphic's stored settings into this record as the designer
    // does: the custom resolution text is not loaded back, the unit is left
    // alone, and the settings no graphic stores (margins in points, 2-D
    // framing) keep their values.
    void loadFrom(const SKTGraphic& graphic);
    // Writes the stored settings into a barcode graphic's fields; the
    // graphic's unit, which only its archive carries, is left as it is.
    void storeIn(SKTGraphic& graphic) const;
};

// The live style: what the designer shows, and what every reader takes when
// it is given no record of its own. Written on the main thread while no batch
// runs; read by one drawing thread at a time.
extern BarcodeStyle Live_Barcode_Style;

// The record itself, or the live style when none is given.
inline const BarcodeStyle& Barcode_Style_Or_Live(const BarcodeStyle* style)
{
    return style ? *style : Live_Barcode_Style;
}
