// Label sheets printed to PDF, checked with the poppler tools a user would
// have: page counts, the images on each page, and the rendered pages.
#include "canvas/SKTRenderingView.h"
#include "data/DataSetFiles.h"
#include "editor/Batch_Binding.h"
#include "model/Globals.h"
#include "output/LabelLayout.h"
#include "output/Printing_View.h"
#include "platform/Task.h"
#include "support/Decode.h"
#include "support/Pdf.h"
#include "support/ScriptedHost.h"
#include "support/SharedState.h"
#include "support/TempResources.h"
#include "support/Wait.h"

#include <QDir>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>

namespace {
platform::TaskResult run(const QString& program, const QStringList& args)
{
    platform::TaskRequest request;
    request.program = program;
    request.arguments = args;
    return platform::runTask(request);
}

int pdfPages(const QString& pdf) { return Pdf_Pages(pdf); }

// Images drawn on each page (soft masks not counted).
QList<int> imagesPerPage(const QString& pdf, int pages)
{
    QList<int> counts(pages, 0);
    for (const Pdf_Image& image : Pdf_Images(pdf))
        if (image.page <= pages)
            ++counts[image.page - 1];
    return counts;
}

// One page at 72 dpi: one pixel per point.
QImage pageImage(const QString& pdf, int page)
{
    const QString out = pdf + QStringLiteral("-p%1").arg(page);
    run("pdftoppm", {"-r", "72", "-f", QString::number(page), "-l", QString::number(page), "-singlefile", "-png",
                     pdf, out});
    return QImage(out + ".png");
}

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 16 && std::abs(a.green() - b.green()) < 16 &&
           std::abs(a.blue() - b.blue()) < 16;
}

bool printToPdf(Printing_View& view, const QString& path, QSizeF paper, QMarginsF margins = {})
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(paper, QPageSize::Point));
    writer.setPageMargins(margins, QPageLayout::Point);
    return view.Print_Sheets(writer);
}

QImage solid(QSize size, QColor colour)
{
    QImage img(size, QImage::Format_ARGB32);
    img.fill(colour);
    return img;
}

struct LabelPrint : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    SKTDocument document;
    Batch_Binding binding{document};

    void SetUp() override
    {
        Reset_Shared_State();
        QDir().mkpath(Data_Folder_Path);
        Left_Mar = Rite_Mar = Top_Mar = Bot_Mar = 10;
        horz_mar = vert_mar = 10;
        label_align_val = 1;
        auto_center_flag = false;
        Print_Card_Side = "F";
        Print_Card_Algn = "U";
        barcode_counter = 0;
    }
    void TearDown() override { Reset_Shared_State(); }
    QString pdf(const QString& name) const { return resources.dir.path() + "/" + name + ".pdf"; }
    void grid(int rows, int cols, float w, float h, int total)
    {
        Print_Row = rows;
        Print_Col = cols;
        label_width = w;
        label_hight = h;
        Total_Label = Total_Label_Real = total;
    }
    // A full-card image graphic whose file comes from the data set.
    std::shared_ptr<SKTImage> boundPicture(Face& face, const QString& set)
    {
        auto pic = std::make_shared<SKTImage>();
        pic->data_source_type = 1;
        pic->batch_list_name = set;
        pic->bounds = QRectF(0, 0, 243, 153);
        pic->isDrawingStroke = false;
        face.append(pic);
        return pic;
    }
    // A data set of solid-colour pictures, one per row.
    QList<QColor> colourSet(const QString& name, int rows, int hueStart)
    {
        QList<QColor> colours;
        QStringList paths;
        for (int i = 0; i < rows; ++i) {
            colours << QColor::fromHsv((hueStart + i * 31) % 360, 255, 210);
            paths << resources.path() + QStringLiteral("/%1%2.png").arg(name).arg(i);
            solid(QSize(4, 4), colours.last()).save(paths.last());
        }
        EXPECT_TRUE(Write_Data_Set(name, paths, false));
        return colours;
    }
};
}

TEST_F(LabelPrint, SevenLabelsOnTwoByTwoTwiceOver)
{
    // 2 x 2 cells of 120 x 80 from the top left of a 400 x 300 sheet, with a
    // printer that only paints inside 20/30-point margins.
    grid(2, 2, 120, 80, 7);
    Printing_View view(solid(QSize(100, 60), Qt::red), QImage(), Printing_View::Print_Spool_Job);
    // A second pass of the same job (a preview drawn again) starts from the first label.
    for (const QString name : {"seven", "seven-again"}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(printToPdf(view, pdf(name), QSizeF(400, 300), QMarginsF(20, 30, 20, 30)));
        ASSERT_EQ(pdfPages(pdf(name)), 2);
        EXPECT_EQ(imagesPerPage(pdf(name), 2), (QList<int>{4, 3}));
        EXPECT_EQ(barcode_counter.load(), 7);
        const QImage second = pageImage(pdf(name), 2);
        ASSERT_EQ(second.size(), QSize(400, 300));
        // Cell (r, c) from the paper's top left: x 10 + (c-1) 130, y 10 + (r-1) 90;
        // the 100 x 60 image centred in it.
        auto centre = [](int r, int c) { return QPoint(10 + (c - 1) * 130 + 60, 10 + (r - 1) * 90 + 40); };
        EXPECT_TRUE(near(second.pixelColor(centre(1, 1)), Qt::red));
        EXPECT_TRUE(near(second.pixelColor(centre(1, 2)), Qt::red));
        EXPECT_TRUE(near(second.pixelColor(centre(2, 1)), Qt::red));
        EXPECT_EQ(second.pixelColor(centre(2, 2)), QColor(Qt::white));
        // The image's own size: its edge 10 points in from the cell's edge.
        EXPECT_EQ(second.pixelColor(10 + 8, 10 + 40), QColor(Qt::white));
        EXPECT_TRUE(near(second.pixelColor(10 + 12, 10 + 40), Qt::red));
    }
    EXPECT_TRUE(host.alerts.isEmpty());
}

TEST_F(LabelPrint, TenBoundRowsTwelveLabelsOnAWorkerThread)
{
    CARD_SIDE_STR = "2";
    const QList<QColor> colours = colourSet("Pics", 10, 0);
    auto pic = boundPicture(document.graphics, "Pics");
    binding.Check_Series_Or_Excel_Use_or_not();
    ASSERT_EQ(Total_Batch_Excel_Card.load(), 10);
    grid(1, 1, 243, 153, 12);
    // The front as the print window renders it when it opens: it sizes the labels.
    const QImage front = SKTRenderingView::image_From_Card_Graphics(document.graphics, false);
    Card_Front_Or_Back = 1; // the back is on screen

    Printing_View view(front, QImage(), Printing_View::Print_Spool_Job, &binding);
    std::atomic<bool> done{false}, printed{false};
    QThread* worker = QThread::create([&] {
        printed = printToPdf(view, pdf("rows"), QSizeF(300, 200));
        done = true;
    });
    worker->start();
    ASSERT_TRUE(waitUntil([&] { return done.load(); }, 60000));
    worker->wait();
    delete worker;
    ASSERT_TRUE(printed);

    ASSERT_EQ(pdfPages(pdf("rows")), 12);
    EXPECT_EQ(imagesPerPage(pdf("rows"), 12), (QList<int>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}));
    // The card centred in the 243 x 153 cell at (10, 10): each sheet its own row.
    for (int page : {1, 3, 10}) {
        const QImage img = pageImage(pdf("rows"), page);
        EXPECT_TRUE(near(img.pixelColor(130, 85), colours[page - 1])) << page;
    }
    const QImage eleventh = pageImage(pdf("rows"), 11);
    EXPECT_EQ(eleventh.pixelColor(130, 85), QColor(Qt::white));
    EXPECT_EQ(barcode_counter.load(), 12);

    // Afterwards the design holds row 0 again and the back is still on screen.
    EXPECT_EQ(Card_Front_Or_Back.load(), 1);
    EXPECT_TRUE(pic->filePath().endsWith("/Pics0.png"));
    EXPECT_TRUE(host.alerts.isEmpty());
}

TEST_F(LabelPrint, BothFacesOfEachRowStackedInOneCell)
{
    CARD_SIDE_STR = "2";
    const QList<QColor> fronts = colourSet("Fronts", 2, 0);
    const QList<QColor> backs = colourSet("Backs", 2, 180);
    boundPicture(document.graphics, "Fronts");
    boundPicture(document.graphics_back, "Backs");
    binding.Check_Series_Or_Excel_Use_or_not();
    ASSERT_EQ(Total_Batch_Excel_Card.load(), 2);
    Print_Card_Side = "BOTH";
    Print_Card_Algn = "U";
    grid(1, 2, 243, 2 * 153, 2); // the window doubles the height for "U"

    const QImage front = SKTRenderingView::image_From_Card_Graphics(document.graphics, false);
    Printing_View view(front, QImage(), Printing_View::Print_Spool_Job, &binding);
    ASSERT_TRUE(printToPdf(view, pdf("both"), QSizeF(520, 340)));
    ASSERT_EQ(pdfPages(pdf("both")), 1);
    EXPECT_EQ(imagesPerPage(pdf("both"), 1), (QList<int>{4}));
    const QImage page = pageImage(pdf("both"), 1);
    for (int c = 0; c < 2; ++c) {
        const int x = 10 + c * 253 + 120;
        EXPECT_TRUE(near(page.pixelColor(x, 10 + 76), fronts[c])) << c; // front on top
        EXPECT_TRUE(near(page.pixelColor(x, 10 + 153 + 76), backs[c])) << c;
    }
    EXPECT_EQ(Card_Front_Or_Back.load(), 0);
}

TEST_F(LabelPrint, MissingFrontPrintsInvalidDataInTheCell)
{
    grid(1, 1, 200, 100, 1);
    Printing_View view(QImage(), QImage(), Printing_View::Print_Spool_Job);
    ASSERT_TRUE(printToPdf(view, pdf("invalid"), QSizeF(300, 200)));
    const auto text = run("pdftotext", {pdf("invalid"), "-"});
    EXPECT_TRUE(QString::fromUtf8(text.standardOutput).contains("Invalid Data"));
    // The red text is centred on the cell (10, 10, 200, 100).
    const QImage page = pageImage(pdf("invalid"), 1);
    QRect red;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor p = page.pixelColor(x, y);
            if (p.red() > 150 && p.green() < 100 && p.blue() < 100)
                red |= QRect(x, y, 1, 1);
        }
    ASSERT_FALSE(red.isEmpty());
    EXPECT_NEAR(red.center().x(), 110, 3);
    EXPECT_NEAR(red.center().y(), 60, 4);
    EXPECT_LT(red.height(), 14);
}

TEST_F(LabelPrint, PreviewDrawsFiftySheetsPrintingAll)
{
    grid(1, 1, 20, 20, 60);
    const QImage card = solid(QSize(10, 10), Qt::blue);
    Printing_View preview(card, QImage(), Printing_View::Print_Preview_Job);
    ASSERT_TRUE(printToPdf(preview, pdf("preview"), QSizeF(60, 60)));
    EXPECT_EQ(pdfPages(pdf("preview")), 50);
    EXPECT_EQ(host.alertTexts().size(), 1);
    Printing_View print(card, QImage(), Printing_View::Print_Spool_Job);
    ASSERT_TRUE(printToPdf(print, pdf("print"), QSizeF(60, 60)));
    EXPECT_EQ(pdfPages(pdf("print")), 60);
    EXPECT_EQ(host.alertTexts().size(), 1);
}

TEST_F(LabelPrint, BoundLabelsKeepTheirTextAndShareTheirPictures)
{
    // Six rows: a name each, and one of two photos in turn.
    QStringList names, photos;
    for (int i = 0; i < 6; ++i) {
        names << QStringLiteral("Guest %1").arg(i + 1);
        photos << resources.path() + (i % 2 ? "/b.png" : "/a.png");
    }
    solid(QSize(40, 30), Qt::darkGreen).save(resources.path() + "/a.png");
    solid(QSize(40, 30), Qt::darkBlue).save(resources.path() + "/b.png");
    ASSERT_TRUE(Write_Data_Set("Names", names, false));
    ASSERT_TRUE(Write_Data_Set("Photos", photos, false));
    auto name = std::make_shared<SKTText>();
    name->data_source_type = 1;
    name->batch_list_name = "Names";
    name->bounds = QRectF(10, 10, 150, 30);
    auto photo = std::make_shared<SKTImage>();
    photo->data_source_type = 1;
    photo->batch_list_name = "Photos";
    photo->bounds = QRectF(170, 10, 60, 45);
    document.graphics << name << photo;
    binding.Check_Series_Or_Excel_Use_or_not();
    grid(3, 2, 243, 153, 6);

    const QImage front = SKTRenderingView::image_From_Card_Graphics(document.graphics, false);
    Printing_View view(front, QImage(), Printing_View::Print_Spool_Job, &binding);
    ASSERT_TRUE(printToPdf(view, pdf("shared"), QSizeF(520, 500)));
    const QString text = Pdf_Text(pdf("shared"));
    for (const QString& n : names)
        EXPECT_TRUE(text.contains(n)) << n.toStdString();
    // Six pictures drawn, two embedded.
    const QList<Pdf_Image> images = Pdf_Images(pdf("shared"));
    QSet<int> objects;
    for (const Pdf_Image& image : images)
        objects << image.object;
    EXPECT_EQ(images.size(), 6);
    EXPECT_EQ(objects.size(), 2);
}

TEST_F(LabelPrint, AThousandBoundLabelsWithTextsAndQrCodes)
{
    // A hundred A4 sheets of 2 x 5 cards: two bound texts and a QR code a row.
    constexpr int rows = 1000;
    QStringList names, cities, codes;
    for (int i = 0; i < rows; ++i) {
        names << QStringLiteral("Guest number %1").arg(i);
        cities << QStringLiteral("City %1").arg(i % 37);
        codes << QStringLiteral("GC-%1").arg(i, 6, 10, QLatin1Char('0'));
    }
    ASSERT_TRUE(Write_Data_Set("Names", names, false));
    ASSERT_TRUE(Write_Data_Set("Cities", cities, false));
    ASSERT_TRUE(Write_Data_Set("Codes", codes, false));
    CARD_SIDE_STR = "1";
    Face& face = document.graphics;
    for (int i = 0; i < 2; ++i) {
        auto t = std::make_shared<SKTText>();
        t->bounds = QRectF(10, 10 + 30 * i, 160, 24);
        t->data_source_type = 1;
        t->batch_list_name = i ? "Cities" : "Names";
        face.append(t);
    }
    auto qr = std::make_shared<SKTBarcode>();
    qr->bounds = QRectF(170, 40, 60, 60);
    qr->linear_or_2d = 1;
    qr->barcode_font_index = 19; // QR Code
    qr->show_hide_hdr = qr->show_hide_ftr = 1;
    qr->data_source_type = 1;
    qr->batch_list_name = "Codes";
    face.append(qr);
    binding.Check_Series_Or_Excel_Use_or_not();
    Left_Mar = Rite_Mar = Top_Mar = Bot_Mar = 18;
    horz_mar = vert_mar = 6;
    grid(5, 2, 243, 153, rows);

    const QImage front = SKTRenderingView::image_From_Card_Graphics(face, false);
    Printing_View view(front, QImage(), Printing_View::Print_Spool_Job, &binding);
    const QString path = pdf("thousand");
    ASSERT_TRUE(printToPdf(view, path, QPageSize(QPageSize::A4).size(QPageSize::Point)));
    EXPECT_EQ(pdfPages(path), 100);

    // Every row's texts are text in the PDF.
    // (Lines end with a line feed, pages with a form feed.)
    const QStringList lines = Pdf_Text(path).split(QRegularExpression(QStringLiteral("[\\n\\f]")));
    const QSet<QString> text(lines.cbegin(), lines.cend());
    int missing = 0;
    for (int i = 0; i < rows; ++i)
        missing += !text.contains(names[i]) + !text.contains(cities[i]);
    EXPECT_EQ(missing, 0);

    // Every QR code on three sampled sheets reads back as its row's value.
    for (int page : {1, 50, 100}) {
        const QString out = path + QStringLiteral("-%1").arg(page);
        run("pdftoppm", {"-r", "300", "-f", QString::number(page), "-l", QString::number(page), "-singlefile",
                         "-png", path, out});
        QStringList cells;
        const QImage sheet(out + ".png");
        ASSERT_FALSE(sheet.isNull());
        for (int k = 0; k < 10; ++k) {
            // Each card's QR code with a quiet zone around it, cut from the sheet.
            const qreal x = 18 + (k % 2) * 249 + 160, y = 18 + (k / 2) * 159 + 30;
            const QString cell = out + QStringLiteral("-cell%1.png").arg(k);
            sheet.copy(QRect(int(x * 300 / 72), int(y * 300 / 72), 80 * 300 / 72, 80 * 300 / 72)).save(cell);
            cells << cell;
        }
        const DecodeRun decoded = Decode_With_ZXing(cells, "QRCode");
        ASSERT_TRUE(decoded.ran) << decoded.failure.toStdString();
        for (int k = 0; k < 10; ++k)
            EXPECT_EQ(decoded.bytesOf(cells[k]), codes[(page - 1) * 10 + k].toUtf8()) << "page " << page << " card " << k;
    }
}
