// Writes the fuzz targets' seed corpora with the project's own writers:
//   fuzz_seeds <corpus folder> <resource folder>
// Each body gets a folder of small, valid inputs to start from.
#include "Fuzz_Bodies.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus folder> <resource folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Fuzz_Write_Seeds(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    return 0;
}
