#pragma once
// Shared set-up of the wizard tests: a fresh resource folder, the scripted
// answerer, the main window, a recorded end of the process, and photos.
#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "support/SharedState.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"
#include "wizards/Invitation_Globals.h"
#include "wizards/Invitation_Wizard.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

struct WizardTest : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    Invitation_Wizard* wiz = Invitation_Wizard::defaultInstance();
    QList<int> endedWith;
    std::function<void(int)> oldHook;

    void SetUp() override
    {
        oldHook = Set_End_Process_Hook([this](int status) { endedWith << status; });
        Reset_Shared_State();
        wnd->New_Project_Setting_Reset();
        Start_Card_Option = QStringLiteral("T");
    }
    void TearDown() override
    {
        // Every scripted run really happened.
        EXPECT_TRUE(host.modalScripts.empty());
        Set_End_Process_Hook(oldHook);
        Reset_Shared_State();
    }

    // Queues one modal run of the wizard in which fn acts; the run ends
    // with the code the wizard's own buttons gave (0 when none did).
    void script(std::function<void(Invitation_Wizard&)> fn)
    {
        host.modalScripts.push_back([fn](QDialog& d) {
            d.setResult(0);
            fn(static_cast<Invitation_Wizard&>(d));
            return d.result();
        });
    }

    // A small photo: a red left half and a blue right half.
    QString makePhoto(const QString& name, int w = 40, int h = 30)
    {
        QImage img(w, h, QImage::Format_ARGB32);
        img.fill(Qt::blue);
        QPainter(&img).fillRect(0, 0, w / 2, h, Qt::red);
        const QString path = resources.path() + '/' + name;
        img.save(path, "PNG");
        return path;
    }
    QString makeNotAPicture(const QString& name)
    {
        const QString path = resources.path() + '/' + name;
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("this is not a picture");
        return path;
    }

    // Start page -> "W" -> frame page (first frame selected) -> photo page with a photo.
    void toPhotoPage(Invitation_Wizard& w, const QString& photo)
    {
        w.Using_Wizard_Click();
        w.OK_Click();
        host.answerPanel(photo);
        w.Browse_Image_Click();
    }
};
