// Writes resources/Help.pdf, Gleamcard's short user guide, from the text
// below. Run it after changing the guide:
//   cmake --build build --target make_help_pdf && build/make_help_pdf resources/Help.pdf
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

static const char* kGuide = R"(
<h1>Gleamcard user guide</h1>
<p>Gleamcard designs cards with a front and an optional back: party invitations,
name badges, photo cards and barcoded ID cards. A design can be filled from
data sets and is then exported as images, one card per row of data.</p>
<h2>Starting a project</h2>
<p>Every new project opens the start wizard. Choose a frame picture and a photo
to make an invitation, or open a saved design log (a <i>.gcdl</i> file).</p>
<h2>The card</h2>
<p>In the Card tab, type the card's width and height in millimetres and choose
the shape: rectangle, rounded rectangle
or oval. Switch between the front and the back with the side switch above the
canvas.</p>
<h2>Objects</h2>
<p>Use the tool buttons to place text, images and barcodes. Click an object to
select it and drag it to move it. The property panel on the right edits the
selected object: its text or file, and where its value comes from.</p>
<h2>Data for many cards</h2>
<p>An object's value can be typed in or taken from a data set: a named list of
values, one per line, kept as a text file in the DataSet folder of the
resources folder. Choose "Series" under "Value from" and pick the list. Each
row of data makes one card when you export.</p>
<h2>Export</h2>
<p>File, Export writes the front, the back, both, or one combined image per
card. With data bound, choose a folder: the cards are written into its folder
"Pelvoro Gleamcard" as Card_1, Card_2 and so on, while a progress sheet shows
the count. Stop ends the batch after the card in progress.</p>
<h2>Saving</h2>
<p>Save writes the design log with both sides, the data bindings and the
photo settings. Save as Template keeps the design among your own templates.</p>
)";

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Help.pdf");
    QPdfWriter writer(out);
    writer.setTitle(QStringLiteral("Gleamcard user guide"));
    writer.setCreator(QStringLiteral("Gleamcard"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(kGuide));
    doc.setPageSize(writer.pageLayout().paintRectPixels(writer.resolution()).size());
    doc.print(&writer);
    return 0;
}
