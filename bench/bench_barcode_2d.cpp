// Making 2-D symbols as the batch does: 10,000 QR Code (level M), PDF417
// and DataMatrix symbols, each encoded from its own value, with the
// designer's default sizes, as drawing data (the module grid framed, scaled
// when it is painted) and as pixels. Google Benchmark reports the time per
// symbol; bench/compare.sh sets them beside libzint's vector output and
// bitmap of the same values.
#include "SymbolBench.h"

#include <cstdio>

namespace {
// Made as the peer makes it.
QString valueOf(int row)
{
    char text[64];
    std::snprintf(text, sizeof text, "GLEAMCARD member %06d, badge %d", row, row % 97);
    return QString::fromLatin1(text);
}

BarcodeStyle styleOf(const QString& title)
{
    BarcodeStyle style;
    style.barcode_font_index = int(Barcode_Type_Items.indexOf(title));
    style.linear_or_2d = 1;
    style.qr_ec_index = 1; // M
    style.show_hide_hdr = 1;
    style.show_hide_ftr = 1;
    return style;
}

void registerAll()
{
    symbol_bench::add("QR", styleOf("QR Code"), valueOf);
    symbol_bench::add("PDF417", styleOf("PDF417"), valueOf);
    symbol_bench::add("DataMatrix", styleOf("DataMatrix"), valueOf);
}
}

int main(int argc, char** argv)
{
    return symbol_bench::run(argc, argv, registerAll);
}
