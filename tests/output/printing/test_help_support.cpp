// The help window: the user guide and the five links, each opened with the
// default application.
#include "model/Globals.h"
#include "output/Help_Support.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"

#include <QFile>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(HelpSupport, GuideAndLinksOpenWithTheDefaultApplication)
{
    TempResources resources;
    ScriptedHost host;
    Help_Support* help = Help_Support::defaultInstance();

    help->_Help_File_Label->click();
    const QList<QPushButton*> links = {help->website_1, help->reseller_1, help->reseller_2, help->support_id,
                                       help->support_id_2};
    for (QPushButton* link : links) {
        EXPECT_FALSE(link->text().isEmpty());
        EXPECT_EQ(link->cursor().shape(), Qt::OpenHandCursor);
        link->click();
    }
    ASSERT_EQ(host.opened.size(), 6);
    EXPECT_EQ(host.opened[0], QUrl::fromLocalFile(Resource_Path + "/Help.pdf"));
    QStringList schemes;
    for (int i = 1; i < 6; ++i)
        schemes << host.opened[i].scheme();
    EXPECT_EQ(schemes, (QStringList{"https", "https", "https", "mailto", "mailto"}));
    EXPECT_TRUE(host.alerts.isEmpty());

    // A link nothing opens is reported; a missing guide too.
    host.openSucceeds = false;
    help->website_1->click();
    ASSERT_TRUE(QFile::remove(Resource_Path + "/Help.pdf"));
    help->_Help_File_Label->click();
    ASSERT_EQ(host.alertTexts().size(), 2);
    EXPECT_TRUE(host.alertTexts()[0].contains("could not be opened"));
    EXPECT_EQ(host.alertTexts()[1], "Help file does not exist!");
}
