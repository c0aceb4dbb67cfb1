#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"
#include "platform/MainThread.h"
#include "platform/Task.h"
#include "support/ScriptedHost.h"
#include "support/Wait.h"

#include <QApplication>
#include <QDialog>
#include <QRect>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>

TEST(MessageSeam, OkBoxPutsALineBreakBeforeTheText)
{
    ScriptedHost host;
    Show_MessageBox(QStringLiteral("Please select valid file path."));
    ASSERT_EQ(host.alerts.size(), 1);
    EXPECT_EQ(host.alerts[0].request.text, QStringLiteral("\nPlease select valid file path."));
    EXPECT_EQ(host.alerts[0].request.buttons, QStringList{"OK"});
}

TEST(MessageSeam, YesNoReturnsTheScriptedAnswer)
{
    ScriptedHost host;
    host.answer("No");
    EXPECT_FALSE(Show_YES_NO_MessageBox(QStringLiteral("Replace?")));
    host.answer("Yes");
    EXPECT_TRUE(Show_YES_NO_MessageBox(QStringLiteral("Replace?")));
    // No script: the default button, which is "Yes".
    EXPECT_TRUE(Show_YES_NO_MessageBox(QStringLiteral("Replace?")));
    ASSERT_EQ(host.alerts.size(), 3);
    EXPECT_EQ(host.alerts[0].request.buttons, (QStringList{"Yes", "No"}));
    EXPECT_EQ(host.alerts[0].request.text, QStringLiteral("Replace?"));
}

TEST(MessageSeam, WorkerRequestRunsOnTheMainThreadAndTheWorkerWaits)
{
    ScriptedHost host;
    host.answer("No");
    std::atomic<bool> done{false};
    std::atomic<int> answer{-1};
    std::atomic<bool> returnedBeforeAnswer{false};
    QThread* worker = QThread::create([&] {
        answer = Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to continue?")) ? 1 : 0;
        returnedBeforeAnswer = host.alerts.isEmpty();
        done = true;
    });
    worker->start();
    // The worker cannot finish while the main thread is not serving events.
    QThread::msleep(100);
    EXPECT_FALSE(done.load());
    ASSERT_TRUE(waitUntil([&] { return done.load(); }));
    worker->wait();
    delete worker;
    EXPECT_EQ(answer.load(), 0);
    EXPECT_FALSE(returnedBeforeAnswer.load());
    ASSERT_EQ(host.alerts.size(), 1);
    EXPECT_EQ(host.alerts[0].thread, QApplication::instance()->thread());
}

TEST(MessageSeam, MainThreadRequestRunsDirectly)
{
    ScriptedHost host;
    bool ran = false;
    platform::runOnMainThread([&] { ran = true; });
    EXPECT_TRUE(ran); // no event loop turn needed: no self-deadlock
}

TEST(ModalSeam, ScriptDecidesTheResultAndClassIsRecorded)
{
    ScriptedHost host;
    QDialog dialog;
    host.modalScripts.push_back([](QDialog& d) { d.done(1); return d.result(); });
    EXPECT_EQ(platform::runModal(dialog), 1);
    EXPECT_EQ(platform::runModal(dialog), 0); // nothing scripted: Cancel
    EXPECT_EQ(host.modalRuns, (QStringList{"QDialog", "QDialog"}));
}

TEST(PanelSeam, ScriptedPathsAndCancel)
{
    ScriptedHost host;
    host.answerPanel("/tmp/a.gcdl");
    platform::PanelRequest req;
    req.extensions = {"gcdl"};
    auto first = platform::runPanel(req);
    EXPECT_TRUE(first.accepted);
    EXPECT_EQ(first.path(), QStringLiteral("/tmp/a.gcdl"));
    auto second = platform::runPanel(req);
    EXPECT_FALSE(second.accepted);
    EXPECT_TRUE(second.path().isEmpty());
    ASSERT_EQ(host.panels.size(), 2);
    EXPECT_EQ(host.panels[0].extensions, QStringList{"gcdl"});
}

TEST(Task, ArgumentsStdinExitStatusAndTimeLimit)
{
    platform::TaskRequest req;
    req.program = "/bin/sh";
    // The argument reaches the program as one word, unexpanded.
    req.arguments = {"-c", "read line; echo \"$line|$1\"; exit 3", "sh", "a b;$(x)"};
    req.standardInput = "secret\n";
    auto r = platform::runTask(req);
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitStatus, 3);
    EXPECT_FALSE(r.succeeded());
    EXPECT_EQ(r.standardOutput, QByteArray("secret|a b;$(x)\n"));

    platform::TaskRequest slow;
    slow.program = "/bin/sleep";
    slow.arguments = {"10"};
    slow.timeoutMs = 200;
    auto t = platform::runTask(slow);
    EXPECT_TRUE(t.timedOut);
    EXPECT_FALSE(t.succeeded());

    platform::TaskRequest missing;
    missing.program = "/nonexistent/program";
    EXPECT_FALSE(platform::runTask(missing).started);
}

// A window opens whole on the screen's free area: as large as it would like
// where there is room, else as large as the area less its frame, centred.
TEST(WindowPlace, AWindowOpensWithinTheFreeAreaOfItsScreen)
{
    const struct {
        QSize wanted;
        QRect room;
        QRect place;
    } cases[] = {
        {{900, 800}, {0, 0, 1366, 768}, {233, 20, 900, 688}},     // the print preview on a laptop
        {{900, 800}, {0, 0, 1920, 1080}, {510, 20, 900, 800}},    // room to spare
        {{900, 800}, {0, 27, 1366, 741}, {233, 47, 900, 661}},    // under a top panel
        {{900, 800}, {1366, 0, 800, 600}, {1386, 20, 760, 520}},  // a small second screen
        {{1000, 800}, {0, 0, 1366, 768}, {183, 20, 1000, 688}},   // the main window
    };
    for (const auto& c : cases) {
        const QRect place = Window_Frame_On_Screen(c.wanted, c.room);
        EXPECT_EQ(place, c.place);
        EXPECT_TRUE(c.room.contains(place.adjusted(0, -20, 0, 40))); // title bar and frame included
    }
}
