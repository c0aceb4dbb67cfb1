// Making linear symbols as the batch does: 10,000 Code 128, Code 39 and
// EAN-13 symbols, each encoded from its own value (Code 128 and Code 39
// from IDs and from mixed-case texts), as drawing data (bars and
// caption glyphs ready for any painter) and as pixels. Google Benchmark
// reports the time per symbol; bench/compare.sh sets them beside libzint's
// vector output and bitmap of the same values.
#include "SymbolBench.h"

#include <cstdio>

namespace {
// The style a card's barcode has, the caption shown, no header or footer.
BarcodeStyle styleOf(const QString& title)
{
    BarcodeStyle style;
    style.barcode_font_index = int(Barcode_Type_Items.indexOf(title));
    style.show_hide_hdr = 1;
    style.show_hide_ftr = 1;
    return style;
}

// The values, made as the peer makes them: a card's ID (two letters and
// ten digits) and mixed-case texts.
QString printed(const char* pattern, int number)
{
    char text[32];
    std::snprintf(text, sizeof text, pattern, number);
    return QString::fromLatin1(text);
}
QString idOf(int row)
{
    return printed("GC%010d", row + 1);
}

void registerAll()
{
    // Each symbology with both kinds of value a card carries: an ID of
    // digits and a mixed-case text (Code 39 has capitals only).
    symbol_bench::add("Code128", styleOf("Code 128"), [](int row) { return printed("Card-%d-row", row); });
    symbol_bench::add("Code128Id", styleOf("Code 128"), idOf);
    symbol_bench::add("Code39", styleOf("Code 39"), [](int row) { return printed("CARD-%d-ROW", row); });
    symbol_bench::add("Code39Id", styleOf("Code 39"), idOf);
    symbol_bench::add("EAN13", styleOf("EAN-13"), [](int row) {
        return QStringLiteral("%1").arg(400000000000LL + row, 12, 10, QLatin1Char('0'));
    });
}
}

int main(int argc, char** argv)
{
    return symbol_bench::run(argc, argv, registerAll);
}
