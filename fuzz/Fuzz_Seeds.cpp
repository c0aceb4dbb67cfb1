// The fuzz targets' seed corpora, written with the project's own writers.
#include "Fuzz_Bodies.h"

#include "barcode/BarcodeDispatch.h"
#include "data/DataSetFiles.h"
#include "data/SSZipArchive.h"
#include "data/SpreadsheetFormats.h"
#include "data/SpreadsheetWriter.h"
#include "model/DesignLog.h"
#include "model/Globals.h"
#include "model/GraphicArchive.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <cstdio>

namespace {
QString g_corpus;

void seed(const char* body, const QString& name, const QByteArray& bytes)
{
    const QString folder = g_corpus + QLatin1Char('/') + QLatin1String(body);
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write seed %s/%s\n", body, qPrintable(name));
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A value each symbology takes.
QString valueFor(const QString& title)
{
    if (title == QLatin1String("UPCA")) return QStringLiteral("01234567890");
    if (title == QLatin1String("EAN-13")) return QStringLiteral("590123412345");
    if (title == QLatin1String("EAN-8")) return QStringLiteral("9638507");
    if (title == QLatin1String("UPCE")) return QStringLiteral("0123456");
    if (title.startsWith(QLatin1String("Code 128 SET C")) || title == QLatin1String("Interleaved 2 of 5")
        || title == QLatin1String("Industrial 2 of 5") || title == QLatin1String("PostNet")
        || title == QLatin1String("Planet") || title.startsWith(QLatin1String("Modified Plessey")))
        return QStringLiteral("12345678");
    if (title == QLatin1String("Royal Mail Barcode (RM4SCC / CBC)")) return QStringLiteral("SN34RD1A");
    if (title == QLatin1String("Japan Post Barcode")) return QStringLiteral("1234567-1-2-3");
    if (title == QLatin1String("Codabar")) return QStringLiteral("A40156B");
    if (Is_2D_Barcode_Title(title)) return QStringLiteral("https://example.org/card?id=42\nÅse");
    return QStringLiteral("CARD-42");
}

QList<GraphicPtr> sampleGraphics(const QString& photo)
{
    auto text = std::make_shared<SKTText>();
    text->bounds = QRectF(10, 10, 200, 30);
    text->text = QStringLiteral("Dear Ann,\nwelcome ✓");
    text->control_ID = QStringLiteral("PARTY_TITLE");
    text->data_source_type = Source_Data_Set;
    text->batch_list_name = QStringLiteral("Names");
    auto image = std::make_shared<SKTImage>();
    image->bounds = QRectF(10, 50, 60, 60);
    image->setFilePath(photo);
    auto linear = std::make_shared<SKTBarcode>();
    linear->bounds = QRectF(80, 50, 100, 40);
    linear->barcode_font_index = 9; // Code 128
    linear->linear_font_val = QStringLiteral("CARD-42");
    auto qr = std::make_shared<SKTBarcode>();
    qr->bounds = QRectF(190, 50, 50, 50);
    qr->barcode_font_index = Barcode_First_2D_Item;
    qr->linear_or_2d = 1;
    qr->two_d_font_val = QStringLiteral("https://example.org");
    qr->show_hide_hdr = qr->show_hide_ftr = 1;
    return {text, image, linear, qr};
}

// Designs, graphic archives and property lists, with a photo made in work.
void seedDesigns(const QString& work)
{
    QImage picture(8, 8, QImage::Format_ARGB32);
    picture.fill(Qt::darkCyan);
    const QString photo = work + QStringLiteral("/photo.png");
    picture.save(photo);
    const QList<GraphicPtr> graphics = sampleGraphics(photo);

    // Graphic archives, and design logs that carry them.
    Design_Log_Content design;
    design.cardSides = QStringLiteral("2");
    design.excelBindingUse = true;
    design.columnTitles = QStringList{QStringLiteral("No."), QStringLiteral("Name")};
    design.rows = {QVariantMap{{"Extension", 1}, {"Column1", QStringLiteral("Ann")}}};
    design.photoPath = photo;
    design.mainPhotoPng = readAll(photo);
    int n = 0;
    for (const GraphicPtr& g : graphics) {
        const QByteArray archive = Archive_Graphic(*g);
        seed("graphic_archive", QStringLiteral("graphic-%1").arg(++n), archive);
        (n % 2 ? design.frontGraphics : design.backGraphics) << archive;
    }
    const QByteArray log = platform::plistSerialize(Design_Log_To_Plist(design), platform::PlistFormat::Xml);
    seed("design_log", QStringLiteral("design"), log);
    seed("design_log", QStringLiteral("empty-design"),
         platform::plistSerialize(Design_Log_To_Plist(Design_Log_Content()), platform::PlistFormat::Xml));

    // Property lists in both forms.
    seed("property_list", QStringLiteral("design.xml"), log);
    seed("property_list", QStringLiteral("graphic.bin"), design.frontGraphics.first());
    const QVariantMap mixed = {{"int", -7}, {"real", 2.5}, {"yes", true}, {"text", QStringLiteral("Zoë & <co>")},
                               {"data", QByteArray("\x00\x01\xff", 3)}, {"when", QDateTime::fromSecsSinceEpoch(1e9, Qt::UTC)},
                               {"list", QVariantList{1, QStringLiteral("two"), QVariantMap{}}}};
    seed("property_list", QStringLiteral("mixed.xml"), platform::plistSerialize(mixed, platform::PlistFormat::Xml));
    seed("property_list", QStringLiteral("mixed.bin"), platform::plistSerialize(mixed, platform::PlistFormat::Binary));

}

// A data set and a workbook as the program writes them.
void seedDataSetAndWorkbooks(const QString& work)
{
    // A data set as the program writes one, with an empty value (an empty
    // cell of a spreadsheet column) kept as an empty row.
    Write_Data_Set(QStringLiteral("Names"), {QStringLiteral("Ann"), QString(), QStringLiteral("Bo Ek"), QStringLiteral("Zoë\r")},
                   false);
    seed("data_set", QStringLiteral("names"), readAll(Data_Set_File_Path(QStringLiteral("Names"))));

    // A workbook as the program writes one: as a zip, and as its parts.
    const QString book = work + QStringLiteral("/book.xlsx");
    SpreadsheetWriter::WriteWorkbook(book, {{QStringLiteral("Name"), QStringLiteral("Born"), QStringLiteral("Score")},
                                            {QStringLiteral("Ann"), QStringLiteral("1990-05-01"), QStringLiteral("3.5")},
                                            {QStringLiteral("Bo"), QString(), QStringLiteral("42")}},
                                     true);
    seed("zip", QStringLiteral("book.xlsx"), readAll(book));
    const QString folder = work + QStringLiteral("/folder");
    QDir().mkpath(folder + QStringLiteral("/inner/empty"));
    QFile text(folder + QStringLiteral("/inner/a.txt"));
    text.open(QIODevice::WriteOnly);
    text.write("some text\n");
    text.close();
    SSZipArchive::createZipFileAtPath(work + QStringLiteral("/folder.zip"), QStringList{folder});
    seed("zip", QStringLiteral("folder.zip"), readAll(work + QStringLiteral("/folder.zip")));

    const QString unpacked = work + QStringLiteral("/unpacked");
    SSZipArchive::unzipFileAtPath(book, unpacked);
    QByteArray parts;
    for (const char* part : Fuzz_Xlsx_Parts) {
        if (!parts.isEmpty())
            parts += Fuzz_Xlsx_Separator;
        parts += readAll(unpacked + QLatin1Char('/') + QLatin1String(part));
    }
    seed("xlsx", QStringLiteral("written"), parts);
    // Dates: built-in and custom formats, as other programs store them.
    const QByteArray dates = QByteArray(
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><workbookPr date1904=\"0\"/>"
        "<sheets><sheet name=\"Dates\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>")
        + Fuzz_Xlsx_Separator
        + "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
          "<row r=\"1\"><c r=\"A1\" s=\"1\"><v>45351.52083333334</v></c><c r=\"B1\" s=\"2\"><v>45351</v></c>"
          "<c r=\"C1\" s=\"3\"><v>1.75</v></c><c r=\"D1\" s=\"4\"><v>0.5</v></c><c r=\"E1\" t=\"s\"><v>0</v></c></row>"
          "</sheetData></worksheet>"
        + Fuzz_Xlsx_Separator
        + "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><si><t>Expires</t></si></sst>"
        + Fuzz_Xlsx_Separator
        + "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><numFmts count=\"2\">"
          "<numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy hh:mm\"/>"
          "<numFmt numFmtId=\"165\" formatCode=\"[$-409]dddd, mmmm d, yyyy;@\"/></numFmts>"
          "<cellXfs count=\"5\"><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/>"
          "<xf numFmtId=\"46\"/><xf numFmtId=\"18\"/></cellXfs></styleSheet>";
    seed("xlsx", QStringLiteral("dates"), dates);

}

// Sheets in the other formats, and text files to import.
void seedSheetsAndTexts(const QString& work)
{
    // Sheets in the other formats as the program writes them: the ods
    // content part (the body packs it) and the XML 2003 file.
    const QList<QStringList> sheet = {{QStringLiteral("Name"), QStringLiteral("Note")},
                                      {QStringLiteral("Ann"), QStringLiteral("  two  spaces\tand a tab")},
                                      {QStringLiteral("Zoë ✓"), QStringLiteral("line one\nline two")},
                                      {},
                                      {QStringLiteral("42"), QStringLiteral("a<&>b")}};
    const QString content = work + QStringLiteral("/content.xml");
    SpreadsheetFormats::WriteODSData(content, sheet);
    seed("ods", QStringLiteral("written"), readAll(content));
    const QString xmlSheet = work + QStringLiteral("/sheet.xml");
    SpreadsheetFormats::WriteWorksheetXML2004(xmlSheet, sheet);
    seed("xml_sheet", QStringLiteral("written"), readAll(xmlSheet));

    // Text files to import, in every encoding the reader tells apart: the
    // data set as written (UTF-8), with a byte-order mark, in UTF-16 and
    // UTF-32 both ways round, and in Latin-1; a CSV file and an RTF document.
    const QByteArray names = readAll(Data_Set_File_Path(QStringLiteral("Names")));
    const QString namesText = QString::fromUtf8(names);
    const struct {
        const char* name;
        QStringConverter::Encoding encoding;
    } encodings[] = {{"utf16le", QStringConverter::Utf16LE}, {"utf16be", QStringConverter::Utf16BE},
                     {"utf32le", QStringConverter::Utf32LE}, {"utf32be", QStringConverter::Utf32BE}};
    seed("text_import", QStringLiteral("utf8"), '\0' + names);
    seed("text_import", QStringLiteral("utf8-bom"), '\0' + QByteArray("\xef\xbb\xbf") + names);
    for (const auto& e : encodings) {
        QStringEncoder encoder(e.encoding, QStringConverter::Flag::WriteBom);
        seed("text_import", QLatin1String(e.name), '\0' + QByteArray(encoder(namesText)));
    }
    seed("text_import", QStringLiteral("latin1"), '\0' + namesText.toLatin1());
    seed("text_import", QStringLiteral("csv"),
         QByteArray(1, 1) + "Name,City\r\n\"Ek, Bo\",\"Oslo\nNorth\"\r\n\"say \"\"hi\"\"\",x\n");
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                           "\\f0\\fs24 Ann\\par B\\'f6 Ek\\tab x\\line \\u10003?\\par{\\*\\generator me;}\\uc2\\u8364  Zo\\par}";
    seed("text_import", QStringLiteral("rtf"), QByteArray(1, 3) + rtf);
    seed("rtf", QStringLiteral("document"), rtf);

}

void seedTemplatesAndBarcodes()
{
    // Template commands: files as the program names them, then copies,
    // renames (to plain, taken, special and invalid names) and a delete.
    seed("templates", QStringLiteral("commands"),
         "fParty.png\nfParty.gcdl\nfBadge.JPG\nfBadge.gcdl\nfLonely.png\nfnotes.txt\n"
         "c0\nc0\nr1:Renamed\nr0::colon\nr0:Badge\nr2:a/b\nr1:..\nr0: spaced \nd1\n");

    // Every symbology with a value it takes.
    for (int type = 0; type < Barcode_Type_Items.size(); ++type) {
        SKTBarcode g;
        g.barcode_font_index = type;
        g.linear_or_2d = type >= Barcode_First_2D_Item ? 1 : 0;
        g.linear_font_val = g.two_d_font_val = valueFor(Barcode_Type_Items[type]);
        seed("barcode", QStringLiteral("type-%1").arg(type, 2, 10, QLatin1Char('0')), Fuzz_Barcode_Input(g));
    }
}
}

void Fuzz_Write_Seeds(const QString& corpus, const QString& resourceFolder)
{
    g_corpus = corpus;
    // The writers work in a resource folder of their own; the caller's comes back after.
    const QString oldResources = Resource_Path, oldData = Data_Folder_Path;
    QTemporaryDir work;
    Set_Resource_Folder(work.path() + QStringLiteral("/resources"));
    QDir().mkpath(Data_Folder_Path);
    QFile::copy(resourceFolder + QStringLiteral("/Template.xlsx"), Resource_Path + QStringLiteral("/Template.xlsx"));
    seedDesigns(work.path());
    seedDataSetAndWorkbooks(work.path());
    seedSheetsAndTexts(work.path());
    seedTemplatesAndBarcodes();
    Resource_Path = oldResources;
    Data_Folder_Path = oldData;
}
