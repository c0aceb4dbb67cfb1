// A bound design printed through the real print system: CUPS with a PDF
// printer (cups-pdf). The CUPS daemon is started when it is not running, a
// printer is added for the test and removed after it, and the PDF that the
// printer writes is read back with poppler's tools. Without root rights and
// without a running CUPS (a developer's desktop) the test is skipped; as root
// (CI) every step must work.
#include "data/DataSetFiles.h"
#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "output/Print_Wnd.h"
#include "platform/Task.h"
#include "support/SharedState.h"
#include "support/Pdf.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace {
const QStringList kSystemFolders = {"/usr/sbin", "/sbin", "/usr/local/sbin"};

QString program(const QString& name)
{
    QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, kSystemFolders) : found;
}

platform::TaskResult run(const QString& name, const QStringList& args)
{
    platform::TaskRequest request;
    request.program = program(name);
    request.arguments = args;
    request.timeoutMs = 30000;
    return platform::runTask(request);
}

QString said(const platform::TaskResult& r)
{
    return QString::fromLocal8Bit(r.standardOutput + r.standardError).trimmed();
}

bool schedulerRunning()
{
    return said(run("lpstat", {"-r"})).contains("scheduler is running");
}

template <typename Pred>
bool waitFor(Pred pred, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > ms)
            return false;
        QThread::msleep(100);
    }
    return true;
}

// Where cups-pdf writes the jobs of the user running the tests: its "Out"
// setting, with ${HOME} and ${USER} filled in.
QString cupsPdfFolder()
{
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QString& line : QString::fromUtf8(conf.readAll()).split('\n')) {
            const auto m = QRegularExpression(R"(^\s*Out\s+(\S.*?)\s*$)").match(line);
            if (m.hasMatch())
                out = m.captured(1);
        }
    }
    const passwd* me = getpwuid(geteuid());
    if (me) {
        out.replace("${HOME}", QString::fromLocal8Bit(me->pw_dir));
        out.replace("${USER}", QString::fromLocal8Bit(me->pw_name));
    }
    return out;
}

QSet<QString> pdfsIn(const QString& folder)
{
    const QStringList names = QDir(folder).entryList({"*.pdf"}, QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

struct RealPrinter : ::testing::Test {
    static inline QProcess* daemon = nullptr; // the CUPS daemon, when the test started it
    static inline QString printer;
    static inline QString skip;

    static void SetUpTestSuite()
    {
        if (program("lpadmin").isEmpty() || program("lp").isEmpty()) {
            skip = "CUPS is not installed";
            return;
        }
        if (!schedulerRunning()) {
            if (geteuid() != 0) {
                skip = "CUPS is not running and only root may start it";
                return;
            }
            daemon = new QProcess;
            daemon->setProgram(program("cupsd"));
            daemon->setArguments({"-f"});
            daemon->start();
            if (!daemon->waitForStarted(10000) || !waitFor(schedulerRunning, 30000))
                return;
        }
        const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
        if (!QFileInfo::exists(ppd))
            return;
        printer = QStringLiteral("Gleamcard_Test_%1").arg(QCoreApplication::applicationPid());
        // Text passes through the PDF printer as text with the cairo renderer.
        const auto added = run("lpadmin", {"-p", printer, "-E", "-v", "cups-pdf:/", "-P", ppd, "-o",
                                           "pdftops-renderer-default=pdftocairo"});
        if (!added.succeeded()) {
            if (geteuid() != 0)
                skip = "this user may not add printers: " + said(added);
            printer.clear();
        }
    }
    static void TearDownTestSuite()
    {
        if (!printer.isEmpty())
            run("lpadmin", {"-x", printer});
        if (daemon) {
            daemon->terminate();
            if (!daemon->waitForFinished(10000))
                daemon->kill();
            daemon->waitForFinished(5000);
            delete daemon;
            daemon = nullptr;
        }
    }
};
}

TEST_F(RealPrinter, BoundDesignThroughCupsPdf)
{
    if (!skip.isEmpty())
        GTEST_SKIP() << skip.toStdString();
    ASSERT_TRUE(schedulerRunning()) << "the CUPS daemon did not start";
    ASSERT_FALSE(printer.isEmpty()) << "the PDF printer could not be added (is printer-driver-cups-pdf installed?)";

    TempResources resources;
    ScriptedHost host;
    host.realPrinting = true;
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    wnd->New_Project_Setting_Reset();
    CARD_SIDE_STR = "1";
    QDir().mkpath(Data_Folder_Path);
    QStringList guests;
    for (int i = 1; i <= 25; ++i)
        guests << QStringLiteral("Guest %1").arg(i);
    ASSERT_TRUE(Write_Data_Set("Guests", guests, false));
    auto name = std::make_shared<SKTText>();
    name->data_source_type = Source_Data_Set;
    name->batch_list_name = "Guests";
    name->bounds = QRectF(20, 20, 200, 30);
    wnd->Get_Front_Controls_Array().append(name);

    const QString folder = cupsPdfFolder();
    const bool folderWasThere = QFileInfo::exists(folder);
    const QSet<QString> before = pdfsIn(folder);
    QString pdf;
    Print_Wnd* pw = Print_Wnd::defaultInstance();
    host.modalScripts.push_back([&](QDialog&) {
        const int index = pw->Printer_ComboBox->findText(printer);
        EXPECT_GE(index, 0) << "the printer is not offered";
        pw->Printer_ComboBox->setCurrentIndex(index);
        pw->comboBoxSelectionDidChange(pw->Printer_ComboBox);
        // Ten CR80 cards to an A4 sheet: 25 labels on 3 sheets.
        pw->Col_Text->setText("2");
        pw->Col_Changed(pw->Col_Text);
        pw->Row_Text->setText("5");
        pw->Row_Changed(pw->Row_Text);
        pw->PrintButtonPressed();
        // The printer writes one PDF for the job, named after its number
        // ("<title>-job_<n>.pdf"): another suite printing beside this one
        // adds files of its own to the same folder.
        const QString job = host.printResults.isEmpty() ? QString() : host.printResults[0].jobId.section('-', -1);
        waitFor(
            [&] {
                for (const QString& added : pdfsIn(folder) - before) {
                    if (!job.isEmpty() && added.endsWith("-job_" + job + ".pdf")) {
                        pdf = folder + "/" + added;
                        return Pdf_Pages(pdf) > 0;
                    }
                }
                return false;
            },
            60000);

        // A printer that refuses jobs, then one that is gone: each says so.
        run("cupsreject", {printer});
        pw->PrintButtonPressed();
        run("lpadmin", {"-x", printer});
        pw->PrintButtonPressed();
        return 0;
    });
    wnd->Print_Button();

    ASSERT_EQ(host.printResults.size(), 3);
    ASSERT_TRUE(host.printResults[0].printed) << host.printResults[0].error.toStdString();
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF from " << host.printResults[0].jobId.toStdString() << " in "
                                << folder.toStdString() << ": " << said(run("lpstat", {"-W", "all", "-l", "-o"})).toStdString();
    EXPECT_EQ(Pdf_Pages(pdf), 3);
    const QString text = Pdf_Text(pdf);
    for (const QString& guest : guests)
        EXPECT_TRUE(QRegularExpression("\\b" + guest + "\\b").match(text).hasMatch()) << guest.toStdString();
    QFile::remove(pdf);
    if (!folderWasThere)
        QDir().rmdir(folder); // the printer made it; only when empty

    EXPECT_FALSE(host.printResults[1].printed);
    EXPECT_FALSE(host.printResults[2].printed);
    const QStringList alerts = host.alertTexts();
    ASSERT_EQ(alerts.size(), 2);
    for (const QString& alert : alerts)
        EXPECT_TRUE(alert.startsWith("The labels could not be printed.")) << alert.toStdString();
    EXPECT_TRUE(alerts[0].contains(printer)) << alerts[0].toStdString(); // the print service's reason
    EXPECT_TRUE(alerts[1].contains(QStringLiteral("The printer \"%1\" is not available.").arg(printer)));
    Reset_Shared_State();
}
