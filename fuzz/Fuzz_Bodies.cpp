#include "Fuzz_Bodies.h"

#include "barcode/Barcode_Gen.h"
#include "canvas/SKTRenderingView.h"
#include "data/DataSetFiles.h"
#include "data/Import_Sources.h"
#include "data/Rtf_Reader.h"
#include "data/SSZipArchive.h"
#include "data/Sheet_Builder.h"
#include "data/SpreadsheetFormats.h"
#include "data/SpreadsheetWriter.h"
#include "model/DesignLog.h"
#include "model/Globals.h"
#include "model/GraphicArchive.h"
#include "model/Helpers.h"
#include "platform/PropertyList.h"
#include "wizards/Template_Files.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <zip.h>

const char* const Fuzz_Xlsx_Parts[4] = {"xl/workbook.xml", "xl/worksheets/sheet1.xml", "xl/sharedStrings.xml",
                                        "xl/styles.xml"};
const char* const Fuzz_Xlsx_Separator = "\n--gleamcard-part--\n";

namespace {
QTemporaryDir* g_scratch = nullptr;

QString scratch(const QString& name) { return g_scratch->path() + QLatin1Char('/') + name; }

QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A promise the code under test broke: the fuzzer keeps the input.
[[noreturn]] void broken(const char* what)
{
    std::fprintf(stderr, "Broken promise: %s\n", what);
    std::abort();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void freshFolder(const QString& path)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path);
}

// Every file below a folder with its bytes, by relative path.
QMap<QString, QByteArray> tree(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(QDir(root).relativeFilePath(path), file.readAll());
    }
    return files;
}

// A zip archive of the parts, packed with minizip itself: the archive is
// only the way in (and no file needs to reach the disk before the next run).
bool packParts(const QString& path, const QMap<QString, QByteArray>& parts)
{
    zipFile zip = zipOpen(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    for (auto it = parts.cbegin(); it != parts.cend(); ++it) {
        zipOpenNewFileInZip(zip, it.key().toUtf8().constData(), nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                            Z_DEFAULT_COMPRESSION);
        zipWriteInFileInZip(zip, it.value().constData(), unsigned(it.value().size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    return true;
}

// A sheet as a reader promises it: within the row, column, cell and text
// limits, and no cell longer than a cell may be.
void checkSheet(const QList<QStringList>& rows, const QString& error)
{
    if (!error.isNull() && !rows.isEmpty())
        broken("a refused sheet gave rows");
    if (rows.size() > SpreadsheetFormats::Max_Rows)
        broken("a sheet read past the row limit");
    qsizetype cells = 0, text = 0;
    for (const QStringList& row : rows) {
        if (row.size() > SpreadsheetFormats::Max_Columns)
            broken("a sheet read past the column limit");
        cells += row.size();
        for (const QString& cell : row) {
            if (cell.size() > SpreadsheetFormats::Max_Cell_Text)
                broken("a cell read past the text limit");
            text += cell.size();
        }
    }
    if (cells > SpreadsheetFormats::Max_Cells)
        broken("a sheet read past the cell limit");
    if (text > Sheet_Builder::textLimit)
        broken("a sheet read past the limit of its text");
}

// Values written as a data set read back as the lists show them: each less
// what a saved design cannot hold, trimmed; an empty value stays an empty
// row, save at either end of the file, whose blank lines go with its trimming.
void checkDataSetRoundTrip(const QStringList& values)
{
    if (!Write_Data_Set(QStringLiteral("Again"), values, false))
        broken("values cannot be written as a data set");
    QStringList expected;
    Xml_Text_Filter holdable(QStringLiteral("the values written"));
    for (const QString& value : values)
        expected << Trim_Str(holdable(value));
    while (!expected.isEmpty() && expected.first().isEmpty())
        expected.removeFirst();
    while (!expected.isEmpty() && expected.last().isEmpty())
        expected.removeLast();
    if (Data_Set_Shown_Values(QStringLiteral("Again")) != expected)
        broken("a data set written and read again changed its values");
}

// Equal property-list trees; reals exactly (NaN equals NaN; XML keeps no
// negative zero), dates to the millisecond or, in XML, to the second.
bool sameTree(const QVariant& a, const QVariant& b, bool xml)
{
    if (a.typeId() == QMetaType::QVariantList || a.typeId() == QMetaType::QStringList) {
        const QVariantList x = a.toList(), y = b.toList();
        if (x.size() != y.size())
            return false;
        for (qsizetype i = 0; i < x.size(); ++i)
            if (!sameTree(x[i], y[i], xml))
                return false;
        return true;
    }
    if (a.typeId() == QMetaType::QVariantMap) {
        const QVariantMap x = a.toMap(), y = b.toMap();
        if (x.keys() != y.keys())
            return false;
        for (auto it = x.cbegin(); it != x.cend(); ++it)
            if (!sameTree(it.value(), y.value(it.key()), xml))
                return false;
        return true;
    }
    if (a.typeId() == QMetaType::Double) {
        const double x = a.toDouble(), y = b.toDouble();
        return (std::isnan(x) && std::isnan(y)) || x == y;
    }
    if (a.typeId() == QMetaType::QDateTime && xml) {
        const qint64 x = a.toDateTime().toMSecsSinceEpoch(), y = b.toDateTime().toMSecsSinceEpoch();
        return x - y >= 0 && x - y < 1000;
    }
    return a == b;
}

void drawFace(const Face& face)
{
    // A quarter of a pixel to the point: the drawing code is the same at any scale.
    const QImage card = SKTRenderingView::image_From_Card_Graphics(face, 0.25);
    Q_UNUSED(card);
}

// Reads fields from the front of an input; past its end every read gives 0.
struct Fields {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    uint8_t byte() { return at < size ? data[at++] : 0; }
    quint32 word()
    {
        quint32 w = 0;
        for (int i = 0; i < 4; ++i)
            w = w << 8 | byte();
        return w;
    }
    float real()
    {
        const quint32 w = word();
        float f;
        std::memcpy(&f, &w, sizeof f);
        return f;
    }
    QString rest() { return QString::fromUtf8(reinterpret_cast<const char*>(data + std::min(at, size)), qsizetype(size - std::min(at, size))); }
};
}

void Fuzz_Setup()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "gleamcard-fuzz";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
    g_scratch = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/gleamcard-fuzz-XXXXXX"));
    if (Resource_Path.isEmpty()) {
        Set_Resource_Folder(scratch(QStringLiteral("resources")));
        Check_Path_And_Create_Files();
    }
}

int Fuzz_Design_Log(const uint8_t* data, size_t size)
{
    Fuzz_Setup();
    const auto root = platform::plistParse(bytesOf(data, size));
    if (!root)
        return 0;
    const auto content = Design_Log_From_Plist(*root);
    if (!content)
        return 0;
    const auto front = Design_Log_Face(content->frontGraphics, &Barcode_Gen::Symbol_Of_Graphic);
    const auto back = front ? Design_Log_Face(content->backGraphics, &Barcode_Gen::Symbol_Of_Graphic) : std::nullopt;
    if (!back)
        return 0;
    QImage photo;
    photo.loadFromData(content->mainPhotoPng, "PNG");
    SKTRenderingView::setCardSize(content->front.Card_Size);
    drawFace(*front);
    drawFace(*back);

    // Saved again, it must open again as the same design.
    const QString path = scratch(QStringLiteral("design.gcdl"));
    if (!Write_Design_Log(path, *content))
        return 0;
    const auto again = Read_Design_Log(path);
    if (!again)
        broken("a saved design log does not open");
    const auto form = platform::PlistFormat::Xml;
    if (platform::plistSerialize(Design_Log_To_Plist(*again), form)
        != platform::plistSerialize(Design_Log_To_Plist(*content), form))
        broken("a saved design log opens as another design");
    if (!Design_Log_Face(again->frontGraphics, &Barcode_Gen::Symbol_Of_Graphic)
        || !Design_Log_Face(again->backGraphics, &Barcode_Gen::Symbol_Of_Graphic))
        broken("a saved design log holds a graphic that does not open");
    return 0;
}

int Fuzz_Graphic_Archive(const uint8_t* data, size_t size)
{
    Fuzz_Setup();
    const GraphicPtr g = Unarchive_Graphic(bytesOf(data, size));
    if (!g)
        return 0;
    if (Is_Kind(g.get(), GraphicKind::Barcode))
        g->Set_Barcode_image(Barcode_Gen::Symbol_Of_Graphic(*g));
    SKTRenderingView::setCardSize(QSizeF(243, 153));
    drawFace(Face{g});
    const QByteArray archive = Archive_Graphic(*g);
    if (archive.isEmpty())
        return 0; // a string no archive can hold (U+0000): refused, never written
    const GraphicPtr again = Unarchive_Graphic(archive);
    if (!again || Graphic_To_Map(*again) != Graphic_To_Map(*g))
        broken("a graphic archived again comes back different");
    return 0;
}

int Fuzz_Property_List(const uint8_t* data, size_t size)
{
    Fuzz_Setup();
    const auto root = platform::plistParse(bytesOf(data, size));
    if (!root)
        return 0;
    for (const auto form : {platform::PlistFormat::Xml, platform::PlistFormat::Binary}) {
        const QByteArray written = platform::plistSerialize(*root, form);
        if (written.isEmpty())
            continue; // what this form cannot hold is refused
        const auto back = platform::plistParse(written);
        if (!back)
            broken("a written property list does not parse");
        // Compared as trees: libplist may lay out the objects of a binary
        // list in another order each time.
        if (!sameTree(*root, *back, form == platform::PlistFormat::Xml))
            broken("a written property list parses as something else");
    }
    return 0;
}

int Fuzz_Zip(const uint8_t* data, size_t size)
{
    Fuzz_Setup();
    const QString archive = scratch(QStringLiteral("in.zip"));
    const QString first = scratch(QStringLiteral("first")), second = scratch(QStringLiteral("second"));
    freshFolder(first);
    freshFolder(second);
    if (!writeFile(archive, bytesOf(data, size)))
        return 0;
    SSZipArchiveError error;
    if (!SSZipArchive::unzipFileAtPath(archive, first, true, QString(), &error))
        return 0;
    QStringList entries = QDir(first).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (QString& entry : entries)
        entry = first + QLatin1Char('/') + entry;
    const QString repacked = scratch(QStringLiteral("again.zip"));
    QFile::remove(repacked);
    if (entries.isEmpty())
        return 0;
    if (!SSZipArchive::createZipFileAtPath(repacked, entries))
        broken("unpacked files cannot be packed again");
    if (!SSZipArchive::unzipFileAtPath(repacked, second, true, QString(), &error))
        broken("a packed archive does not unpack");
    if (tree(first) != tree(second))
        broken("packing and unpacking changed the files");
    return 0;
}

int Fuzz_Xlsx(const uint8_t* data, size_t size)
{
    Fuzz_Setup();
    const QByteArray input = bytesOf(data, size);
    const QString root = scratch(QStringLiteral("xlsx"));
    freshFolder(root);
    QMap<QString, QByteArray> parts = {
        {"[Content_Types].xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"xml\" "
         "ContentType=\"application/xml\"/></Types>"},
        {"_rels/.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
         "Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
         "Target=\"worksheets/sheet1.xml\"/>"
         "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
         "Target=\"sharedStrings.xml\"/>"
         "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
         "Target=\"styles.xml\"/></Relationships>"},
    };
    qsizetype from = 0;
    for (const char* name : Fuzz_Xlsx_Parts) {
        const qsizetype cut = input.indexOf(Fuzz_Xlsx_Separator, from);
        parts.insert(QString::fromLatin1(name), input.mid(from, cut < 0 ? -1 : cut - from));
        if (cut < 0)
            break;
        from = cut + qsizetype(std::strlen(Fuzz_Xlsx_Separator));
    }
    const QString path = scratch(QStringLiteral("book.xlsx"));
    if (!packParts(path, parts))
        return 0;
    QString error;
    SpreadsheetWriter::ReadWorkbook(path, true, &error);
    const int sheets = int(SpreadsheetWriter::Read_Sheet_Name().size());
    for (int n = 1; n <= std::min(sheets, 3); ++n) {
        Excel_Sheet_Number = n;
        SpreadsheetWriter::ReadData_only_column(&error);
        SpreadsheetWriter::ReadWorkbook(path, false, &error);
    }
    SpreadsheetWriter::Release_Data();
    return 0;
}

int Fuzz_Data_Set(const uint8_t* data, size_t size)
{
    Fuzz_Setup();
    QDir().mkpath(Data_Folder_Path);
    if (!writeFile(Data_Set_File_Path(QStringLiteral("Fuzz")), bytesOf(data, size)))
        return 0;
    Data_Set_First_Value(QStringLiteral("Fuzz"));
    Data_Set_Batch_Values(QStringLiteral("Fuzz"));
    const auto shown = Data_Set_Shown_Values(QStringLiteral("Fuzz"));
    if (!shown)
        return 0;
    checkDataSetRoundTrip(*shown);
    return 0;
}

int Fuzz_Ods(const uint8_t* data, size_t size)
{
    Fuzz_Setup();
    const QString path = scratch(QStringLiteral("sheet.ods"));
    QFile::remove(path);
    if (!packParts(path, {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                          {"content.xml", bytesOf(data, size)}}))
        return 0;
    QString error;
    checkSheet(SpreadsheetFormats::ReadODS(path, &error), error);
    return 0;
}

int Fuzz_Xml_Sheet(const uint8_t* data, size_t size)
{
    Fuzz_Setup();
    const QString path = scratch(QStringLiteral("sheet.xml"));
    if (!writeFile(path, bytesOf(data, size)))
        return 0;
    QString error;
    checkSheet(SpreadsheetFormats::ReadWorksheetXML2004(path, &error), error);
    return 0;
}

int Fuzz_Rtf(const uint8_t* data, size_t size)
{
    Fuzz_Setup();
    const std::optional<QString> text = Rtf_Document_Text(bytesOf(data, size));
    if (!text)
        return 0;
    const std::optional<QStringList> values = Text_Values(*text, QStringLiteral("rtf"));
    if (!values)
        return 0;
    for (const QString& value : *values)
        if (value.contains(QLatin1Char('\\')) || value.contains(QLatin1Char('{')) || value.contains(QLatin1Char('}')))
            broken("an imported RTF value kept a backslash or a brace");
    return 0;
}

int Fuzz_Text_Import(const uint8_t* data, size_t size)
{
    Fuzz_Setup();
    // The first byte picks the file's extension; the rest are its bytes.
    static const char* const extensions[] = {"txt", "csv", "CSV", "rtf"};
    if (size == 0)
        return 0;
    const QString extension = QLatin1String(extensions[data[0] % 4]);
    const std::optional<QString> text = Text_File_Text(bytesOf(data + 1, size - 1), extension);
    if (!text)
        return 0;
    const std::optional<QStringList> read = Text_Values(*text, extension);
    if (!read)
        return 0;
    const QStringList& values = *read;
    for (const QString& value : values)
        if (value.isEmpty() || value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'))
            || value.contains(QLatin1Char('\\')) || value.contains(QLatin1Char('{')) || value.contains(QLatin1Char('}')))
            broken("an imported value is empty, holds a line break, a backslash or a brace");
        else if (Trim_Str(value) != value)
            broken("an imported value begins or ends with what trimming takes");
    QDir().mkpath(Data_Folder_Path);
    checkDataSetRoundTrip(values);
    return 0;
}

namespace {
// Every file below root that is not a user template's: none may be there,
// and the working folder stays empty. Every listed template is whole.
void checkNothingOutsideTemplates(const QString& root, const QString& workingFolder)
{
    const QString user = QDir(User_Templates_Folder()).canonicalPath() + QLatin1Char('/');
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = QFileInfo(it.next()).canonicalFilePath();
        if (!file.startsWith(user) || file.mid(user.size()).contains(QLatin1Char('/')))
            broken("a template command wrote outside the user template folder");
    }
    if (!QDir(workingFolder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        broken("a template command wrote into the working folder");
    for (const QString& preview : List_Template_Previews(User_Templates_Folder()))
        if (!QFileInfo(Template_Design_Log_Path(preview)).isFile())
            broken("a template is listed without its design log");
}

void runTemplateCommands(const QStringList& lines, const QString& root, const QString& working)
{
    const QString folder = User_Templates_Folder();
    for (const QString& line : lines) {
        const QStringList listed = List_Template_Previews(folder);
        const QChar command = line.isEmpty() ? QChar() : line[0];
        const QString argument = line.mid(1);
        const uint index = uint(Int_Value(argument.section(QLatin1Char(':'), 0, 0)));
        const QString chosen = listed.isEmpty() ? QString() : listed[qsizetype(index % uint(listed.size()))];
        if (command == QLatin1Char('f')) {
            if (!argument.isEmpty() && !argument.contains(QLatin1Char('/')) && argument != QLatin1String(".")
                && argument != QLatin1String(".."))
                writeFile(folder + QLatin1Char('/') + argument, argument.toUtf8());
        } else if (chosen.isEmpty()) {
            continue;
        } else if (command == QLatin1Char('c')) {
            const QString copy = Create_New_File_Path(chosen);
            if (Copy_Template_Files(chosen, copy).isEmpty() && !List_Template_Previews(folder).contains(copy))
                broken("a copied template is not listed");
        } else if (command == QLatin1Char('r')) {
            const QString name = argument.section(QLatin1Char(':'), 1);
            const QString renamed = folder + QLatin1Char('/') + Trim_Str(name) + QLatin1Char('.') + QFileInfo(chosen).suffix();
            const QString failed = Rename_Template_Files(chosen, name);
            const QStringList after = List_Template_Previews(folder);
            if (failed.isEmpty() && renamed != chosen && (after.contains(chosen) || !after.contains(renamed)))
                broken("a renamed template is not listed under its new name alone");
            if (!failed.isEmpty() && after != listed)
                broken("a refused rename changed the templates");
        } else if (command == QLatin1Char('d')) {
            Delete_Template_Files(chosen);
        }
        checkNothingOutsideTemplates(root, working);
    }
}
}

int Fuzz_Templates(const uint8_t* data, size_t size)
{
    Fuzz_Setup();
    // A resource folder of its own, and an empty working folder beside it: a
    // name taken for a path of another kind shows up outside the templates.
    const QString root = scratch(QStringLiteral("templates")), working = scratch(QStringLiteral("templates-cwd"));
    freshFolder(root);
    freshFolder(working);
    const QString oldResources = Resource_Path, oldWorking = QDir::currentPath();
    Set_Resource_Folder(root);
    QDir().mkpath(User_Templates_Folder());
    QDir::setCurrent(working);
    // One command a line: "f<name>" makes a file, "c<n>" copies the n-th
    // listed template, "r<n>:<name>" renames it, "d<n>" deletes it.
    const QStringList lines = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QLatin1Char('\n'));
    runTemplateCommands(lines.mid(0, 32), root, working);
    Remove_Unfinished_Templates();
    checkNothingOutsideTemplates(root, working);
    QDir::setCurrent(oldWorking);
    Set_Resource_Folder(oldResources);
    return 0;
}

int Fuzz_Barcode(const uint8_t* data, size_t size)
{
    Fuzz_Setup();
    // The style fields come in as a graphic's archive brings them, so the
    // fuzzer walks the road a file takes: archive, graphic, symbol, drawing.
    Fields in{data, size};
    QVariantMap m = Graphic_To_Map(SKTBarcode());
    m["barcode_font_index"] = int(in.byte() % 26) - 2;
    const uint8_t flags = in.byte();
    m["linear_or_2d"] = flags & 1;
    m["show_hide_hdr"] = flags >> 1 & 1;
    m["show_hide_ftr"] = flags >> 2 & 1;
    m["show_hide_val"] = flags >> 3 & 1;
    m["show_val_on_top"] = flags >> 4 & 1;
    for (const char* field : {"align_hdr_index", "align_ftr_index", "qr_version_index", "qr_ec_index", "pdf_ec_val",
                              "dm_format_index", "dm_encoding_index", "dpi_val_index"})
        m[field] = int(int8_t(in.byte()));
    for (const char* field : {"qr_size_val", "pdf_hgt_val", "pdf_wdt_val", "dm_module_val"})
        m[field] = int(qint32(in.word()));
    m["dpi_custom_val"] = QString::number(qint32(in.word()));
    for (const char* field : {"linear_height_val", "linear_width_val", "hdr_margin_val", "ftr_margin_val",
                              "val_margin_val", "TB_marging_val", "LR_margin_val"})
        m[field] = double(in.real());
    for (const char* field : {"value_font_val", "header_font_val", "footer_font_val"})
        m[field] = QStringLiteral("Liberation Serif,%1,-1,5,400,0,0,0,0,0").arg(double(in.real()));
    for (const char* field : {"barcode_clr_val", "barcode_back_clr_val", "barcode_val_clr_val"})
        m[field] = QStringLiteral("#%1").arg(in.word(), 8, 16, QLatin1Char('0'));
    const QStringList texts = in.rest().split(QLatin1Char('\n'));
    m["linear_font_val"] = m["two_d_font_val"] = texts.value(0);
    m["header_val"] = texts.value(1);
    m["footer_val"] = texts.value(2);
    const QByteArray archive = platform::plistSerialize(m, platform::PlistFormat::Binary);
    const GraphicPtr g = archive.isEmpty() ? nullptr : Unarchive_Graphic(archive);
    if (!g)
        return 0;
    g->Set_Barcode_image(Barcode_Gen::Symbol_Of_Graphic(*g));
    g->drawingBounds();
    QImage image(200, 120, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    g->draw(painter);
    return 0;
}

QByteArray Fuzz_Barcode_Input(const SKTGraphic& g)
{
    // The layout Fuzz_Barcode reads, field for field.
    QByteArray out;
    auto byte = [&](int v) { out += char(v); };
    auto word = [&](quint32 w) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out += char(w >> shift);
    };
    auto real = [&](float f) {
        quint32 w;
        std::memcpy(&w, &f, sizeof w);
        word(w);
    };
    byte(g.barcode_font_index + 2);
    byte(g.linear_or_2d | g.show_hide_hdr << 1 | g.show_hide_ftr << 2 | g.show_hide_val << 3 | g.show_val_on_top << 4);
    for (int v : {g.align_hdr_index, g.align_ftr_index, g.qr_version_index, g.qr_ec_index, g.pdf_ec_val,
                  g.dm_format_index, g.dm_encoding_index, g.dpi_val_index})
        byte(v);
    for (int v : {g.qr_size_val, g.pdf_hgt_val, g.pdf_wdt_val, g.dm_module_val})
        word(quint32(v));
    word(quint32(Int_Value(g.dpi_custom_val)));
    for (float v : {g.linear_height_val, g.linear_width_val, g.hdr_margin_val, g.ftr_margin_val, g.val_margin_val,
                    g.TB_marging_val, g.LR_margin_val})
        real(v);
    for (const QFont* f : {&g.value_font_val, &g.header_font_val, &g.footer_font_val})
        real(float(f->pointSizeF()));
    for (const QColor* c : {&g.barcode_clr_val, &g.barcode_back_clr_val, &g.barcode_val_clr_val})
        word(c->rgba());
    out += ((g.linear_or_2d ? g.two_d_font_val : g.linear_font_val) + QLatin1Char('\n') + g.header_val
            + QLatin1Char('\n') + g.footer_val)
               .toUtf8();
    return out;
}

Fuzz_Body Fuzz_Body_Named(const char* name)
{
    static const struct {
        const char* name;
        Fuzz_Body body;
    } bodies[] = {{"design_log", Fuzz_Design_Log}, {"graphic_archive", Fuzz_Graphic_Archive},
                  {"property_list", Fuzz_Property_List}, {"zip", Fuzz_Zip}, {"xlsx", Fuzz_Xlsx},
                  {"data_set", Fuzz_Data_Set}, {"barcode", Fuzz_Barcode}, {"ods", Fuzz_Ods},
                  {"xml_sheet", Fuzz_Xml_Sheet}, {"rtf", Fuzz_Rtf}, {"text_import", Fuzz_Text_Import},
                  {"templates", Fuzz_Templates}};
    for (const auto& b : bodies)
        if (std::strcmp(b.name, name) == 0)
            return b.body;
    return nullptr;
}
