#pragma once
// The one seam through which the application waits for a person: alerts,
// modal runs of dialogs, open/save/folder panels, and handing a file or link
// to its default application. The application answers with Qt dialogs; tests
// install a scripted host so nothing ever blocks.
//
// The free functions below may be called from any thread: a worker's request
// is carried to the main thread and the worker waits for the answer; a request
// made on the main thread runs directly.

#include <QColor>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QDialog;
class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace platform {

struct AlertRequest {
    QString title;
    QString text;
    QStringList buttons{QStringLiteral("OK")};
    int defaultButton = 0;
};

struct PanelRequest {
    enum Kind { Open, Save, Folder };
    Kind kind = Open;
    QString title;
    QString directory;
    QString fileName;          // proposed name (save panels)
    QStringList extensions;    // allowed extensions without dot, any case; empty = all
    bool allowMultiple = false;
    QWidget* accessory = nullptr; // extra controls shown inside the panel (save panels)
    // Save panels: file types (extensions without dot) offered as a choice,
    // and the one chosen at first. The chosen one comes back in the result.
    QStringList typeChoices;
    int typeChoice = 0;
};

struct PanelResult {
    bool accepted = false;
    QStringList paths;
    int typeChoice = 0; // index into the request's typeChoices
    QString path() const { return paths.isEmpty() ? QString() : paths.first(); }
};

// A job for a printer: its title in the print queue, and the drawing of its
// pages onto a paged device laid out like the printer (false when the pages
// could not be drawn).
struct PrintJob {
    QString title;
    std::function<bool(QPagedPaintDevice&)> paint;
};

struct PrintResult {
    bool printed = false; // the print system took the job
    QString error;        // why not, in words a person can act on
    QString jobId;        // the print system's name for the job
};

class Host {
public:
    virtual ~Host() = default;
    // Index of the button pressed.
    virtual int alert(const AlertRequest& request) = 0;
    // Runs the dialog modally; its result code (1 after OK, 0 after Cancel).
    virtual int runModal(QDialog& dialog) = 0;
    virtual PanelResult panel(const PanelRequest& request) = 0;
    virtual bool openWithDefaultApp(const QUrl& url) = 0;
    // A colour chosen in a colour panel; invalid when cancelled.
    virtual QColor chooseColor(const QColor& initial, const QString& title) = 0;
    // The names of the printers the system offers, in its order.
    virtual QStringList printerNames() = 0;
    // The page-layout panel on printer's paper and orientation: 1 after OK.
    virtual int pageSetup(QPrinter& printer) = 0;
    // Shows the pages of a job laid out like printer until the person closes
    // the preview.
    virtual void printPreview(QPrinter& printer, const PrintJob& job) = 0;
    // Draws the job and hands it to the printer named by printer.
    virtual PrintResult print(QPrinter& printer, const PrintJob& job) = 0;
};

// Installs a host; nullptr puts back the Qt host. Returns the previous one.
Host* setHost(Host* host);
Host& host();

int showAlert(const AlertRequest& request);
int runModal(QDialog& dialog);
// Save panels answer with the file that will be written: with typeChoices
// the chosen type's extension takes the place of the one typed (or is added);
// otherwise the first of extensions is added to a name that ends in none of
// them. When a file of that final name exists, the panel asks whether to
// replace it (the one place this is asked, for every host), and No opens
// the panel again on that name.
PanelResult runPanel(const PanelRequest& request);
bool openUrl(const QUrl& url);
bool openPath(const QString& path); // a local file or folder
QColor runColorPanel(const QColor& initial, const QString& title);
QStringList printerNames();
int runPageSetup(QPrinter& printer);
void runPrintPreview(QPrinter& printer, const PrintJob& job);
PrintResult runPrint(QPrinter& printer, const PrintJob& job);

// The Qt implementation, used unless another host is installed.
class QtHost : public Host {
public:
    int alert(const AlertRequest& request) override;
    int runModal(QDialog& dialog) override;
    PanelResult panel(const PanelRequest& request) override;
    bool openWithDefaultApp(const QUrl& url) override;
    QColor chooseColor(const QColor& initial, const QString& title) override;
    QStringList printerNames() override;
    int pageSetup(QPrinter& printer) override;
    void printPreview(QPrinter& printer, const PrintJob& job) override;
    PrintResult print(QPrinter& printer, const PrintJob& job) override;
};
}
