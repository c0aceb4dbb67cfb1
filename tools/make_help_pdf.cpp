// Writes resources/Help.pdf, Gleamcard's user guide, from the text below:
// A4 pages, an 11-point body. Run it after changing the guide:
//   cmake --build build --target make_help_pdf && build/make_help_pdf resources/Help.pdf
#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

static const char* kStyle = R"(
h1 { font-size: 22pt; color: #1d3f72; }
h2 { font-size: 15pt; color: #1d3f72; margin-top: 16pt; }
h3 { font-size: 12pt; margin-top: 10pt; }
p, li, td { font-size: 11pt; }
th { font-size: 11pt; text-align: left; background: #e8eef7; }
.note { color: #444444; }
)";

static const char* kGuide = R"(
<h1>Gleamcard user guide</h1>
<p>Gleamcard designs cards with a front and an optional back: party invitations,
name badges, photo cards and barcoded ID cards. You place texts, pictures and
barcodes on the card, take their values from data sets when you want one card
per name, and export the cards as image files.</p>

<h2>1. Starting Gleamcard</h2>
<p>From the program's folder, run <b>./scripts/run</b>. The first time it
installs what is missing and builds Gleamcard, which takes a few minutes; later
starts are quick. Gleamcard keeps its frames, data sets, your templates and its
settings in the <i>resources</i> folder beside the program.</p>
<p>Every new project begins with the <b>start wizard</b>:</p>
<ul>
<li><b>Make an invitation with the wizard</b> leads you through three pages: a
frame, a photo, and the words of the invitation.</li>
<li><b>Open a saved design (.gcdl)</b> asks for a design file and opens it.</li>
<li><b>Help</b> opens this guide; <b>Exit</b> ends Gleamcard.</li>
</ul>

<h2>2. Making an invitation</h2>
<h3>The frame</h3>
<p>Click a frame picture. The wizard goes on to the photo page at once;
<b>&lt; Back</b> returns to the frames, and <b>Cancel</b> to the first page.</p>
<h3>The photo</h3>
<p><b>Browse Photo...</b> chooses a photo (JPEG, PNG, BMP, GIF or TIFF). Photos
straight from a phone camera load fine: Gleamcard keeps them at the size a
card can use, up to 4096 pixels on the long side. A file that is not a picture
is refused with <i>"This file is not a picture Gleamcard can read."</i>, and a
picture too big for this computer's memory with <i>"This picture is too
large."</i></p>
<p>The photo settings change the preview as you move them: <b>Rotate</b>,
<b>Transparency</b>, <b>Hue</b>, <b>Saturation</b>, <b>Brightness</b>,
<b>Contrast</b>, <b>Sharpness</b>, <b>Exposure</b> and <b>Blur</b>, and the
boxes <b>Grey scale</b>, <b>Sepia</b> and <b>Invert colours</b>. <b>Reset</b>
puts every setting back to neutral. The preview works on a screen-sized copy so
it answers at once; the whole photo gets the settings when you press
<b>Finish</b>.</p>
<h3>The words</h3>
<p>Type who the invitation is <b>To</b> and <b>From</b> and the <b>Venue</b>, and
pick the <b>Date</b> and <b>Time</b> (choose a value in the picker to put it on the
card). <b>Clear</b> empties these fields. Under <b>Title and message</b>, the
arrow buttons <b>&lt;</b> and <b>&gt;</b> step through ready-made titles and
messages; you can also type your own.</p>
<p><b>Finish</b> lays everything out on the front of the card: the title, the
greeting, the message, date and time, venue and sender stay readable in front
of the photo, the photo keeps its proportions in the middle of the card, and
the frame lies over everything.</p>

<h2>3. The main window</h2>
<p>The card is in the middle; above it, <b>Front</b> and <b>Back</b> switch the
side you work on. On the right, the <b>Card</b> tab sets the card and the
<b>Properties</b> tab edits the selected object. The window title shows the
design's name and an asterisk (*) while it has changes that are not saved.</p>
<h3>The Card tab</h3>
<ul>
<li><b>Width</b> and <b>Height</b>: the card's size in millimetres (type a value
and press Enter).</li>
<li><b>Shape</b>: Rectangle, Rounded Rectangle or Oval.</li>
<li><b>Sides</b>: One side, or Front and back.</li>
</ul>
<h3>Objects</h3>
<p>The tool buttons above the card place objects:</p>
<table width="100%" cellpadding="3" cellspacing="0">
<tr><th>Button</th><th>What it places</th></tr>
<tr><td>Text</td><td>A text object; type its words under <b>Value</b> in the Properties tab.</td></tr>
<tr><td>Image</td><td>A picture from a file you choose. A file that is not a picture is refused.</td></tr>
<tr><td>Barcode</td><td>A barcode object, and opens the barcode designer for it
(section 7). Double-click a barcode to open the designer again.</td></tr>
</table>
<p>Click an object to select it and drag it to move it. Clear parts of a
picture (such as the window of a frame) let the click through to the object
beneath.</p>
<h3>The Properties tab</h3>
<ul>
<li><b>Value from</b>: <i>Manual</i> (the value you type), <i>Series</i> (a
data set, one card per value) or <i>Excel</i> (a spreadsheet column, when a
spreadsheet is bound to the design).</li>
<li><b>List</b>: the data set or column the value comes from.</li>
<li><b>View...</b> shows the values of the chosen data set; <b>Help</b>
explains data sources.</li>
<li><b>Value</b>: the text of the object.</li>
<li><b>Use Template Title</b> / <b>Use Template Message</b> (for the
invitation's title and message) picks one of the ready-made texts.</li>
</ul>

<h2>4. Menu commands</h2>
<h3>File</h3>
<table width="100%" cellpadding="3" cellspacing="0">
<tr><th>Command</th><th>What it does</th></tr>
<tr><td>New</td><td>Starts a new project with the start wizard. If the design
has unsaved changes you are asked <i>"Do you want to save the changes to this
design?"</i>: <b>Save</b>, <b>Don't Save</b> or <b>Cancel</b>.</td></tr>
<tr><td>New from Start Choice...</td><td>Asks how the new card begins: from a
template, with the wizard, or by opening a saved design. <b>Cancel</b> keeps
the design you have.</td></tr>
<tr><td>New from Template...</td><td>Starts a new card from a template
(section 11).</td></tr>
<tr><td>Open...</td><td>Opens a saved design (.gcdl), after the same question.</td></tr>
<tr><td>Save...</td><td>Saves the design: both sides, the data bindings, the
photo and its settings.</td></tr>
<tr><td>Save as Template...</td><td>Keeps the design among your own templates,
with a preview picture.</td></tr>
<tr><td>Export...</td><td>Writes the card as image files (section 5).</td></tr>
<tr><td>Print...</td><td>Prints the card on label sheets (section 10).</td></tr>
<tr><td>Mail...</td><td>Sends e-mails, with or without the card (section 8).</td></tr>
<tr><td>Quit</td><td>Ends Gleamcard, after the save question when there are
unsaved changes. Closing the window does the same.</td></tr>
</table>
<h3>Card</h3>
<table width="100%" cellpadding="3" cellspacing="0">
<tr><th>Command</th><th>What it does</th></tr>
<tr><td>Card Wizard...</td><td>Sets the card's size and shape from the PVC
card and name-badge sizes (section 11).</td></tr>
<tr><td>User Profile...</td><td>Fills the side on screen with the fields of a
badge or ID card (section 9).</td></tr>
<tr><td>Edit Main Photo...</td><td>Opens the photo page of the wizard again to
change the invitation's photo or its settings.</td></tr>
<tr><td>Grid...</td><td>Shows or hides the grid and sets its colour and
spacing.</td></tr>
</table>
<h3>Data</h3>
<table width="100%" cellpadding="3" cellspacing="0">
<tr><th>Command</th><th>What it does</th></tr>
<tr><td>Batch Series...</td><td>The data-set manager (section 6).</td></tr>
<tr><td>Create Series...</td><td>Makes a data set of numbers: counting up or
down with a prefix, suffix and leading zeros, or random numbers between two
bounds.</td></tr>
<tr><td>Import...</td><td>Makes data sets from a spreadsheet's columns, a text,
CSV or RTF file, pasted text or a folder of pictures (section 6).</td></tr>
</table>
<h3>Help</h3>
<table width="100%" cellpadding="3" cellspacing="0">
<tr><th>Command</th><th>What it does</th></tr>
<tr><td>Gleamcard Help</td><td>Opens this guide with your PDF viewer. If no
program on the computer can open it, Gleamcard says so.</td></tr>
<tr><td>Help and Support...</td><td>Opens this guide, or the product's web pages
and support addresses.</td></tr>
<tr><td>Product Page 1</td><td>Product Page 1, Product Page 2 and Product Page 3
each show one of the maker's other products: Labelwright (address and shipping
labels), Snapsheet (contact sheets and photo albums) and Tallybook (stock counts
and shelf labels). Its buttons open your mail program with a prepared message
(<b>Mail Me How</b>) or a question (<b>Ask us a question</b>), or your web browser
at the product's order page or the maker's videos.</td></tr>
<tr><td>Review Gleamcard...</td><td>Opens the review page in your web browser
when you click <b>Review Now</b>; <b>Later</b> closes the window.</td></tr>
</table>

<h2>5. Exporting cards as images</h2>
<p><b>File &gt; Export...</b> opens the export dialog:</p>
<ul>
<li><b>File type</b>: PNG, JPG, BMP or TIFF. The file is written in that format.
JPG and BMP have no transparency, so the corners outside a rounded or oval card
are white.</li>
<li><b>Resolution</b>: 72, 150 or 300 dots per inch. A card of 85.6 by 54 mm is
243 by 153 pixels at 72 dpi and 1012 by 638 pixels at 300 dpi; choose 300 for
printing. The resolution is recorded in the file.</li>
<li><b>Card side</b>: Both sides, Front or Back. With both sides you can put
<b>front and back in one image</b>, the front above the back.</li>
<li><b>Use Batch Processing Series values</b> and <b>Use spreadsheet
values</b>: make one card per row of the bound data. When a bound data set has
no values, the dialog says so and the choice is off.</li>
</ul>
<p>Without data, you choose one file name. The back is written beside it as
<i>name_Back</i>. With data, you choose a folder: the cards go into its folder
<i>Pelvoro Gleamcard</i> as <i>Card_1</i>, <i>Card_2</i> and so on. A progress
sheet shows how far the export is. <b>Stop</b> asks whether to stop; while the
question is open no further card is begun, and after <b>Yes</b> the export ends
after the card in progress. The closing box says how many cards were written,
or that everything was exported, and can open the file or folder; it also
names the rows whose barcode could not be made from their value.</p>
<p>Before cards are made from data, Gleamcard checks it. When a data set or
spreadsheet column the design uses cannot be found (for example a deleted data
set), export, printing and mail do not start and say which; opening such a
design says so too. When the data sets and the spreadsheet in use have
different lengths, you are told each length and how many cards will have empty
fields, and choose whether to go on: the cards then follow the longest.</p>

<h2>6. Data sets</h2>
<p>A data set is a named list of values, one per line, such as the guests'
names. Each set is a text file in the <i>DataSet</i> folder of the resources
folder. Files made in any text editor work: UTF-8, UTF-16 with a byte-order
mark, or older Latin-1 files.</p>
<p><b>Data &gt; Batch Series...</b> lists the sets (<b>Total List</b>). <b>New</b>
starts a set, filled with <b>Create Series</b> or <b>Import</b>; <b>Edit</b> opens the selected set, <b>Delete</b> removes sets that
no object uses. In a set, you can rename it under <b>Name</b>, change a value
by double-clicking it, <b>Delete Rows</b>, <b>Export...</b> the values to a text
file or a spreadsheet (xlsx, OpenDocument ods, or XML Spreadsheet 2003), and <b>Save</b>. <b>Back</b> returns to the list.</p>
<p>An empty line between two values is an empty value: the set shows it as an
empty row, <b>Total Rows</b> counts it, saving and exporting keep it, and the
card of that row has that field empty.</p>
<p>To make one card per value, select an object, set <b>Value from</b> to
<i>Series</i> and choose the set under <b>List</b>. The card shows the first
value; the export writes a card for every value.</p>
<p><b>Data &gt; Import...</b> fills data sets from other files. Each source
gives its values in this way:</p>
<ul>
<li><b>Spreadsheet</b> (xlsx, OpenDocument ods, or XML Spreadsheet 2003; of an
ods or XML file the first sheet is read): you choose the worksheet and tick the
columns you want. Each ticked column becomes a set named after its title, or
all go into one set, row by row and column after column. When <b>The first row
holds the column titles</b> is ticked, that row gives no value. Every cell gives
one value: an empty cell an empty value, so each row of a set stays on its
sheet row; a cell of several lines one value with its lines joined by a
space.</li>
<li><b>Text file</b> (txt): one value per line. Blanks at the ends of a line,
the characters \, { and }, and empty lines are left out.</li>
<li><b>RTF file</b>: the document's text, one value per paragraph or line,
cleaned like a text file; fonts, colours and pictures are not read.</li>
<li><b>CSV file</b>: one value per field, row by row, the title row included;
empty fields are left out. A field in double quotes may hold commas and line
breaks; a line break in it becomes a space.</li>
<li><b>Pasted text</b>: one value per line; empty lines are left out.</li>
<li><b>Folder of pictures</b>: the path of each picture file (jpg, jpeg, jpe,
jfif, gif, bmp, png, tif, tiff) directly in the folder, in name order;
sub-folders are not read.</li>
</ul>
<p>A text, RTF or CSV file larger than 64 MB, or one that would give more than
1,000,000 values, is refused with a message. For each set you choose to make a
new one, replace an existing one or add to it; a set that the design uses is
never replaced. To use a spreadsheet's columns directly, load it in the User
Profile dialog or the import: its columns then appear as <i>Excel</i> under
<b>Value from</b>.</p>

<h2>7. Barcodes</h2>
<p>The <b>Barcode Designer</b> opens when you place a barcode and when you
double-click one. Choose the <b>Type</b>: EAN-13, EAN-8, UPCA, UPCE, Code 128
(also SET A, B and C), Codabar, Interleaved 2 of 5, Industrial 2 of 5,
Modified Plessey (also Hex), PostNet, Planet, Royal Mail, Japan Post, QR Code,
PDF417 or DataMatrix. Type the <b>Value</b>, or set <b>Value from</b> to
<i>Series</i> or <i>Excel</i> to take one value per card from a data set or a
spreadsheet column (<b>View Series</b> shows the values). The other settings
change the bar width and height, the margins, the value's font and colour,
the header and footer lines, and for QR Code, PDF417 and DataMatrix their own
options. The <b>Preview</b> shows the symbol; <b>OK</b> puts it on the
card.</p>

<h2>8. E-mail</h2>
<p><b>File &gt; Mail...</b> sends e-mails through your own mail account. First
press <b>Settings...</b> and enter the sender's e-mail, the password, the SMTP
server, the port and the security (SSL or TLS); <b>Send Test Mail</b> tries
them. In the mail window, fill in <b>To</b>, <b>Subject</b> and
<b>Message</b>, and choose <b>Send without card</b> (with an attachment if you
like) or <b>Send with card</b> (the card's front, back or both sides as
pictures). With data bound to the card you can send one card per row of data.
<b>Pause after</b> waits between groups of messages. A progress sheet with
<b>Stop</b> shows the sending.</p>

<h2>9. User profiles</h2>
<p><b>Card &gt; User Profile...</b> places the fields of a badge or ID card on
the side on screen: name, title, company, contact lines, a unique number and
a photo. Each field is typed, or taken from a data set or a spreadsheet
column. <b>Preview</b> shows them on the card; <b>OK</b> places them. Open
the dialog again to change them.</p>

<h2>10. Printing label sheets</h2>
<p><b>File &gt; Print...</b> opens the print settings. Choose the
<b>printer</b>, the paper and its orientation (<b>Page Setup...</b>), then the
size of one label, the gaps between labels, how many rows and columns a sheet
holds and how many labels to print in all. The nine placement buttons put the
card in a corner, on an edge or in the middle of its label; <b>Spread
evenly</b> leaves equal gaps all round. Choose the side: both sides (the front
above the back, or side by side), the front or the back. The sample beside the
settings shows the sheet as you change them. With data bound to the card,
every label prints its own row. <b>Preview</b> shows the sheets;
<b>Print</b> sends them to the printer. Text stays text and barcodes stay
sharp on paper. If the printer refuses the job, Gleamcard says so.</p>

<h2>11. Templates and card sizes</h2>
<p><b>File &gt; New from Template...</b> shows the templates as pictures:
<b>Built-in Templates</b> (a name badge, an ID card with photo and barcode, a
membership card and a party invitation) or <b>My Templates</b>, the designs you
kept with <b>Save as Template...</b>. Pick one and press <b>OK</b> to start a
new card from it. For your own templates, <b>Copy</b> makes a copy named
<i>name (copy 1)</i>, <b>Rename...</b> gives it a new name and <b>Delete</b> removes
it; built-in templates cannot be changed. <b>User Profile...</b> in the
template or card wizard fills in name, title, company and the other profile
fields for the front and the back at once; each field's <b>Side</b> list keeps
it to one side if you like. They are placed on the card when you press
<b>OK</b>.</p>
<p><b>Card &gt; Card Wizard...</b> sets the card's size: choose <b>PVC Card</b>
(CR80 credit-card size and others) or the paper name badges, pick a size from
the list, <b>Horizontal</b> or <b>Vertical</b>, or type the width and height
in millimetres, and choose the shape. <b>Cancel</b> leaves the card as it
was.</p>

<h2>12. Files</h2>
<table width="100%" cellpadding="3" cellspacing="0">
<tr><th>File</th><th>What it is</th></tr>
<tr><td>name.gcdl</td><td>A saved design.</td></tr>
<tr><td>resources/DataSet/name.txt</td><td>A data set, one value per line.</td></tr>
<tr><td>resources/Templates</td><td>The built-in templates and their previews.</td></tr>
<tr><td>resources/Templates/User</td><td>Your templates and their previews.</td></tr>
<tr><td>Pelvoro Gleamcard/Card_N.png</td><td>The cards of a batch export.</td></tr>
</table>
<p class="note">Gleamcard is free software under the GNU General Public
License, version 2 or later.</p>
)";

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Help.pdf");
    QPdfWriter writer(out);
    writer.setTitle(QStringLiteral("Gleamcard user guide"));
    writer.setCreator(QStringLiteral("Gleamcard"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter);
    writer.setResolution(300);

    // The document is laid out on the writer itself, so points are printed
    // points whatever the writer's resolution.
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    QFont body(QStringLiteral("Liberation Sans"));
    body.setPointSizeF(11);
    doc.setDefaultFont(body);
    doc.setDefaultStyleSheet(QString::fromUtf8(kStyle));
    doc.setHtml(QString::fromUtf8(kGuide));
    const QRectF page = writer.pageLayout().paintRectPixels(writer.resolution());
    doc.setPageSize(page.size());

    QPainter painter(&writer);
    const int pages = doc.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -i * page.height());
        doc.drawContents(&painter, QRectF(0, i * page.height(), page.width(), page.height()));
        painter.restore();
    }
    return 0;
}
