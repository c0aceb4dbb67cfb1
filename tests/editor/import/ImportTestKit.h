#pragma once
// Shared set-up of the import tests: a fresh resource folder, the scripted
// answerer, the main window (which connects the import commands), files to
// import, and the data sets they make.
#include "data/BatchWizard.h"
#include "data/Data_From_Excel.h"
#include "data/DataSetFiles.h"
#include "data/SpreadsheetWriter.h"
#include "editor/SKTWindowController.h"
#include "model/Globals.h"
#include "support/SharedState.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"

#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

struct ImportTest : ::testing::Test {
    TempResources resources;
    ScriptedHost host;
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    BatchWizard* manager = BatchWizard::defaultInstance();
    QTemporaryDir files;

    void SetUp() override
    {
        Reset_Shared_State();
        wnd->New_Project_Setting_Reset();
        CARD_SIDE_STR = QStringLiteral("1");
        manager->ListData_value.clear();
        manager->Update_Value_List_Count();
    }
    void TearDown() override
    {
        EXPECT_TRUE(host.modalScripts.empty()) << "a scripted dialog never ran";
        Reset_Shared_State();
    }

    // Queues one modal run of a dialog of kind D in which fn acts; the run
    // ends with the code the dialog's own buttons gave (0 when none did).
    template <typename D>
    void script(std::function<void(D&)> fn)
    {
        host.modalScripts.push_back([fn](QDialog& d) {
            D* dialog = dynamic_cast<D*>(&d);
            if (!dialog) {
                ADD_FAILURE() << "a " << d.metaObject()->className() << " ran where another dialog was expected";
                return 0;
            }
            d.setResult(0);
            fn(*dialog);
            return d.result();
        });
    }

    QString file(const QString& name, const QByteArray& bytes)
    {
        QFile f(files.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QString workbook(const QString& name, const QList<QStringList>& rows)
    {
        const QString path = files.filePath(name);
        EXPECT_TRUE(SpreadsheetWriter::WriteWorkbook(path, rows, false));
        return path;
    }
    void writeSet(const QString& name, const QByteArray& bytes)
    {
        QFile f(Data_Set_File_Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The set's file as text; "<none>" when there is none.
    QString set(const QString& name)
    {
        QFile f(Data_Set_File_Path(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<none>");
    }
    GraphicPtr bindFront(const QString& setName)
    {
        auto g = std::make_shared<SKTText>();
        g->data_source_type = Source_Data_Set;
        g->batch_list_name = setName;
        wnd->Get_Front_Controls_Array().append(g);
        return g;
    }
};
