// The Help menu's product pages and review window, as a user opens them.
#include "editor/SKTWindowController.h"
#include "output/Promotion_Form.h"
#include "support/Menus.h"
#include "support/ScriptedHost.h"
#include "support/TempResources.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {
QString queryValue(const QUrl& url, const QString& key)
{
    return QUrlQuery(url).queryItemValue(key, QUrl::FullyDecoded);
}
}

TEST(Promotion, EachProductPageShowsItsProductAndOpensItsLinks)
{
    TempResources resources;
    ScriptedHost host;
    SKTWindowController* wnd = SKTWindowController::defaultInstance();
    QStringList titles;
    for (int i = 0; i < 3; ++i) {
        QAction* page = Menu_Command(wnd, QStringLiteral("Product Page %1").arg(i + 1));
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->isEnabled());
        host.opened.clear();
        host.modalScripts.push_back([&](QDialog& d) {
            auto* form = static_cast<Promotion_Form*>(&d);
            titles << form->Software_title->text();
            EXPECT_FALSE(form->short_descp->text().isEmpty());
            EXPECT_FALSE(form->long_descp->text().isEmpty());
            EXPECT_FALSE(form->bundle_image->image().isNull());
            EXPECT_EQ(form->website_1->cursor().shape(), Qt::OpenHandCursor);
            form->Mail_Clicked();
            form->support_id->click(); // the enquiry
            form->website_1->click();  // the order page
            form->youtube_Clicked();
            form->OK_Clicked();
            return d.result();
        });
        page->trigger();
        EXPECT_EQ(host.modalRuns.last(), "Promotion_Form");
        ASSERT_EQ(host.opened.size(), 4);
        const QUrl mail = host.opened[0], enquiry = host.opened[1];
        // Line ends and spaces travel escaped; nothing else needs to.
        for (const QUrl& link : {mail, enquiry}) {
            const QString raw = link.toString(QUrl::FullyEncoded);
            EXPECT_EQ(link.scheme(), "mailto");
            EXPECT_TRUE(raw.contains("%0A%0A")) << raw.toStdString();
            EXPECT_FALSE(raw.contains(' ') || raw.contains('\n')) << raw.toStdString();
        }
        EXPECT_EQ(queryValue(mail, "subject"), "How to get started");
        EXPECT_EQ(queryValue(mail, "body"), "Hello,\n\nplease send me the steps to try and buy this product.\n\nThank you.");
        EXPECT_EQ(queryValue(enquiry, "subject"), "Question from a user of " + wnd->App_Name);
        EXPECT_EQ(queryValue(enquiry, "body"), "Hello,\n\nI use " + wnd->App_Name + " and have a question about this product.");
        EXPECT_EQ(mail.path(), enquiry.path()); // the product's own address
        EXPECT_EQ(host.opened[2].scheme(), "https");
        EXPECT_EQ(host.opened[3], QUrl(Promotion_Form::Video_Link));
    }
    EXPECT_EQ(titles, (QStringList{"Pelvoro Labelwright", "Pelvoro Snapsheet", "Pelvoro Tallybook"}));
    EXPECT_TRUE(host.alerts.isEmpty());

    // The review window: a review button opens the review page and ends the
    // run with 1; closing the window ends it with 0 and opens nothing.
    QAction* reviewAction = Menu_Command(wnd, "Review Gleamcard...");
    ASSERT_NE(reviewAction, nullptr);
    host.opened.clear();
    host.modalScripts.push_back([](QDialog& d) {
        static_cast<Review_Form&>(d).support_id->click();
        return d.result();
    });
    Review_Form* review = Review_Form::defaultInstance();
    EXPECT_EQ(review->Open_Review_Form_Window(), 1);
    host.modalScripts.push_back([](QDialog& d) {
        d.reject();
        return d.result();
    });
    reviewAction->trigger();
    EXPECT_EQ(host.modalRuns.last(), "Review_Form");
    EXPECT_EQ(host.opened, (QList<QUrl>{QUrl(Review_Form::Review_Link)}));
}
