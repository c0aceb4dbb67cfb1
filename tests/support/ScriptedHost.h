#pragma once
// A host that answers in place of a person: it records every alert, modal
// run, panel and opened link, and gives the scripted answers in order.
#include "platform/Host.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <QThread>
#include <deque>
#include <functional>
#include <optional>

struct ScriptedHost : platform::Host {
    struct Alert {
        platform::AlertRequest request;
        QThread* thread = nullptr;
    };
    QList<Alert> alerts;
    std::deque<QString> alertAnswers; // button texts, e.g. "Yes"; empty queue: the default button
    std::deque<std::function<int(QDialog&)>> modalScripts; // empty queue: Cancel (0)
    QStringList modalRuns; // class names of dialogs run modally
    std::deque<platform::PanelResult> panelAnswers; // empty queue: cancelled
    QList<platform::PanelRequest> panels;
    QList<QUrl> opened;
    std::deque<QColor> colorAnswers; // empty queue: cancelled (an invalid colour)
    bool openSucceeds = true;
    std::function<void()> whileAlertOpen; // runs inside each alert, before it is answered
    // Printing. printers unset: the system's own list. Page setup runs the
    // scripts in order (empty queue: Cancel). Previews and print jobs are
    // drawn into PDF files in printFolder and the files recorded; with
    // realPrinting a print job goes to the system's printer instead.
    std::optional<QStringList> printers;
    std::deque<std::function<int(QPrinter&)>> pageSetupScripts;
    QString printFolder;
    bool realPrinting = false;
    QStringList previewFiles, printFiles;
    QList<platform::PrintResult> printResults;

    ScriptedHost() { previous = platform::setHost(this); }
    ~ScriptedHost() override { platform::setHost(previous); }

    int alert(const platform::AlertRequest& request) override;
    int runModal(QDialog& dialog) override;
    platform::PanelResult panel(const platform::PanelRequest& request) override;
    bool openWithDefaultApp(const QUrl& url) override;
    QColor chooseColor(const QColor& initial, const QString& title) override;
    QStringList printerNames() override;
    int pageSetup(QPrinter& printer) override;
    void printPreview(QPrinter& printer, const platform::PrintJob& job) override;
    platform::PrintResult print(QPrinter& printer, const platform::PrintJob& job) override;

    // The texts of all alerts so far, without the leading line break of OK boxes.
    QStringList alertTexts() const;
    void answer(const QString& button) { alertAnswers.push_back(button); }
    void answerPanel(const QString& path) { panelAnswers.push_back({true, {path}}); }

private:
    platform::Host* previous = nullptr;
};
