#include "WizardTestKit.h"

#include "canvas/SKTRenderingView.h"
#include "model/ImageProcesser.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {
bool shown(QWidget* w) { return !w->isHidden(); }
}

TEST_F(WizardTest, NewUserBuildsAnInvitation)
{
    const QLocale oldLocale;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString photo = makePhoto("photo.png");
    Card_Shape = 2;
    script([&](Invitation_Wizard& w) {
        EXPECT_EQ(w.next_counter, 0);
        EXPECT_TRUE(shown(w.Start_card_box));
        EXPECT_FALSE(shown(w.button_box));
        EXPECT_TRUE(shown(w.Exit_btn));
        EXPECT_FALSE(shown(w.Finish_Btn));
        EXPECT_EQ(w.images.size(), 8);
        w.Using_Wizard_Click();
        // The frame page opens with the first frame chosen.
        EXPECT_EQ(Start_Card_Option, "W");
        EXPECT_EQ(w.next_counter, 2);
        EXPECT_TRUE(shown(w.second_box));
        EXPECT_FALSE(shown(w.Start_card_box));
        EXPECT_EQ(w.imageBrowser->selectionIndexes(), QList<int>{0});
        EXPECT_EQ(w.selected_image, w.images[0].image_Path);
        w.OK_Click();
        EXPECT_EQ(w.next_counter, 3);
        EXPECT_TRUE(shown(w.photo_box));
        EXPECT_TRUE(shown(w.third_box));
        EXPECT_TRUE(shown(w.fourth_box));
        EXPECT_FALSE(w.Image_Setting_Box->isEnabled());
        host.answerPanel(photo);
        w.Browse_Image_Click();
        EXPECT_TRUE(w.Image_Setting_Box->isEnabled());
        EXPECT_EQ(w.image_path->text(), photo);
        w.to_value->setText("  Ann  ");
        w.from_value->setText("Bo\n");
        w.venue_value->setText("Town hall");
        w.Date_picker->setDate(QDate(2026, 12, 6));
        w.Time_picker->setTime(QTime(15, 15));
        w.Title_Next_Click();
        w.OK_Click();
    });
    EXPECT_EQ(wiz->Open_Wnd(), 1);
    EXPECT_EQ(host.panels.size(), 1);
    EXPECT_TRUE(host.panels[0].extensions.contains("jfif"));
    EXPECT_EQ(Invite_To, "Ann");
    EXPECT_EQ(Invite_From, "Bo");
    EXPECT_EQ(Invite_Venue, "Town hall");
    EXPECT_EQ(Invite_Date, "Sunday, December 6, 2026");
    EXPECT_EQ(Invite_Time, "3:15 PM");
    EXPECT_EQ(Invite_Title, wiz->Title_Array.value(1).trimmed());
    EXPECT_EQ(Invite_Message, wiz->Message_Array.value(0).trimmed());
    EXPECT_EQ(Invite_Frame_IMG, resources.path() + "/Frames/Balloons.png");
    EXPECT_EQ(Invite_BG_IMG, Invite_Frame_IMG);
    EXPECT_EQ(Invite_Frame_Pic_IMG, photo);
    EXPECT_EQ(Card_Shape.load(), 0);
    EXPECT_EQ(Get_Main_Photo_image(), wiz->Preview_Image);
    EXPECT_FALSE(Get_Main_Photo_image().isNull());
    EXPECT_EQ(SKTRenderingView::cardSize().toSize(), QSize(340, 425));
    EXPECT_TRUE(host.alerts.isEmpty());
    QLocale::setDefault(oldLocale);
}

TEST_F(WizardTest, FrameClickMovesOnAndBackKeepsFrameAndPhoto)
{
    const QString photo = makePhoto("photo.png");
    script([&](Invitation_Wizard& w) {
        w.Using_Wizard_Click();
        // A click on the third frame checks it and goes on to the photo page.
        w.imageBrowser->setSelectionIndexes({2}, false);
        EXPECT_EQ(w.selected_image, w.images[2].image_Path);
        EXPECT_EQ(w.next_counter, 3);
        host.answerPanel(photo);
        w.Browse_Image_Click();
        w.Back_Click();
        EXPECT_EQ(w.next_counter, 2);
        EXPECT_TRUE(shown(w.second_box));
        EXPECT_FALSE(shown(w.photo_box));
        EXPECT_EQ(w.imageBrowser->selectionIndexes(), QList<int>{2});
        // Dragging the chosen frame to the end keeps it chosen and highlighted.
        const QString chosen = w.selected_image;
        w.imageBrowserMoveItemsAtIndexes(w.imageBrowser, {2}, int(w.images.size()));
        ASSERT_EQ(w.imageBrowser->selectionIndexes(), QList<int>{int(w.images.size()) - 1});
        EXPECT_EQ(w.images.last().image_Path, chosen);
        EXPECT_EQ(w.selected_image, chosen);
        EXPECT_EQ(w.next_counter, 2); // still on the frame page
        w.OK_Click();
        EXPECT_EQ(w.next_counter, 3);
        EXPECT_EQ(w.image_path->text(), photo);
        EXPECT_FALSE(w.Preview_Image.isNull());
        w.Close_Form_Click();
    });
    EXPECT_EQ(wiz->Open_Wnd(), 0);
}

TEST_F(WizardTest, BackToStartAndCancelResetEverything)
{
    const QString photo = makePhoto("photo.png");
    auto fill = [&](Invitation_Wizard& w) {
        toPhotoPage(w, photo);
        w.from_value->setText("Bo");
        w.to_value->setText("Ann");
        w.venue_value->setText("Hall");
        w.datePickerAction();
        w.timePickerAction();
        w.Hue_slidr->setFloatValue(1.5f);
        EXPECT_FLOAT_EQ(IMG_hue_val.load(), 1.5f);
    };
    auto expectReset = [](Invitation_Wizard& w) {
        EXPECT_EQ(w.next_counter, 0);
        EXPECT_TRUE(shown(w.Start_card_box));
        EXPECT_EQ(w.selected_image, "");
        EXPECT_EQ(w.image_path->text(), "");
        EXPECT_TRUE(w.User_Picture.isNull());
        EXPECT_TRUE(w.Preview_Image.isNull());
        EXPECT_EQ(w.from_value->text(), "");
        EXPECT_EQ(w.to_value->text(), "");
        EXPECT_EQ(w.venue_value->text(), "");
        EXPECT_EQ(w.selected_date, "");
        EXPECT_EQ(w.selected_time, "");
        EXPECT_EQ(w.Date_ctrl_value->text(), "");
        EXPECT_FALSE(w.clear_details_btn->isEnabled());
        EXPECT_FLOAT_EQ(w.Hue_slidr->floatValue(), 0);
        // Settings tried on a photo that was not taken are put back.
        EXPECT_FLOAT_EQ(IMG_hue_val.load(), 0.25f);
    };
    IMG_hue_val = 0.25f; // the settings the wizard found
    script([&](Invitation_Wizard& w) {
        fill(w);
        w.CancelClick();
        expectReset(w);
        fill(w);
        w.Back_Click();
        w.Back_Click(); // on the frame page: back to the start page
        expectReset(w);
        w.Close_Form_Click();
    });
    EXPECT_EQ(wiz->Open_Wnd(), 0);
}

TEST_F(WizardTest, MissingFramePhotoOrPictureIsRefused)
{
    QDir(resources.path() + "/Frames").removeRecursively();
    QDir().mkpath(resources.path() + "/Frames");
    const QString fake = makeNotAPicture("fake.png");
    const QString photo = makePhoto("photo.png");
    script([&](Invitation_Wizard& w) {
        w.Using_Wizard_Click();
        EXPECT_TRUE(w.images.isEmpty());
        w.OK_Click();
        EXPECT_EQ(w.next_counter, 2);
        // Past the frame page by hand: a frame that exists.
        w.selected_image = photo;
        w.OK_Click();
        EXPECT_EQ(w.next_counter, 3);
        w.OK_Click();
        // A file that is no picture: the preview is cleared, the page stays.
        host.answerPanel(photo);
        w.Browse_Image_Click();
        host.answerPanel(fake);
        w.Browse_Image_Click();
        EXPECT_EQ(w.image_path->text(), fake);
        EXPECT_TRUE(w.Preview_Image.isNull());
        w.OK_Click();
        EXPECT_EQ(w.next_counter, 3);
        EXPECT_EQ(w.result(), 0);
    });
    EXPECT_EQ(wiz->Open_Wnd(), 0);
    EXPECT_EQ(host.alertTexts(), QStringList({"Please select frame.", "Please select photo.",
                                              "This file is not a picture Gleamcard can read.",
                                              "This file is not a picture Gleamcard can read."}));
}

TEST_F(WizardTest, CancelledLogOpeningStaysOnTheStartPage)
{
    script([&](Invitation_Wizard& w) {
        w.Open_Log_Click(); // the open panel is cancelled
        EXPECT_EQ(Start_Card_Option, "L");
        EXPECT_EQ(w.next_counter, 0);
        EXPECT_EQ(w.result(), 0);
        w.Using_Wizard_Click();
        EXPECT_EQ(w.next_counter, 2);
        EXPECT_FALSE(w.selected_image.isEmpty());
        w.Close_Form_Click();
    });
    EXPECT_EQ(wiz->Open_Wnd(), 0);
    ASSERT_EQ(host.panels.size(), 1);
    EXPECT_EQ(host.panels[0].extensions, QStringList{"gcdl"});
}

TEST_F(WizardTest, ExitEndsTheProcess)
{
    Start_Card_Option = "W";
    script([](Invitation_Wizard& w) { w.ExitClick(); });
    EXPECT_EQ(wiz->Open_Wnd(), 0);
    EXPECT_EQ(endedWith, QList<int>{0});
    EXPECT_EQ(Start_Card_Option, "");
}

TEST_F(WizardTest, PastedTextIsCutToTheLimitAndDrivesTheDetails)
{
    script([&](Invitation_Wizard& w) {
        EXPECT_FALSE(w.clear_details_btn->isEnabled());
        w.from_value->insert(QString(45, 'f'));
        EXPECT_EQ(w.from_value->text(), QString(40, 'f'));
        EXPECT_TRUE(w.clear_details_btn->isEnabled());
        w.to_value->insert(QString(39, 't') + QString::fromUtf8("\xF0\x9F\x8E\x89"));
        EXPECT_EQ(w.to_value->text(), QString(39, 't'));
        w.venue_value->insert(QString(120, 'v'));
        EXPECT_EQ(w.venue_value->text().size(), 100);
        w.msg_value->clear();
        w.msg_value->insertPlainText(QString(300, 'm'));
        EXPECT_EQ(w.msg_value->toPlainText(), QString(250, 'm'));
        w.msg_title->clear();
        w.msg_title->insert(QString(130, 'x'));
        EXPECT_EQ(w.msg_title->text().size(), 100);
        // The title and message handed over follow their fields.
        EXPECT_EQ(w.selected_title, QString(100, 'x'));
        EXPECT_EQ(w.selected_msg, QString(250, 'm'));
        w.Msg_Next_Click();
        EXPECT_EQ(w.selected_msg, w.Message_Array.value(1));
        // Each limited field shows how much of its limit it holds.
        const std::pair<QWidget*, QString> counts[] = {{w.from_value, "40/40"}, {w.to_value, "39/40"},
                                                       {w.venue_value, "100/100"}, {w.msg_title, "100/100"},
                                                       {w.msg_value, QString("%1/250").arg(w.selected_msg.size())}};
        for (const auto& [field, count] : counts) {
            ASSERT_TRUE(w.Length_Count(field));
            EXPECT_EQ(w.Length_Count(field)->text(), count);
            EXPECT_FALSE(w.Length_Count(field)->isHidden());
            EXPECT_TRUE(field->toolTip().startsWith("At most "));
        }
        // Emptying a field never turns Clear off.
        w.from_value->clear();
        EXPECT_EQ(w.Length_Count(w.from_value)->text(), "0/40");
        EXPECT_TRUE(w.clear_details_btn->isEnabled());
    });
    wiz->Open_Wnd();
}

TEST_F(WizardTest, ClearAsksThenEmptiesDateAndTime)
{
    script([&](Invitation_Wizard& w) {
        w.datePickerAction();
        w.timePickerAction();
        w.venue_value->setText("Hall");
        ASSERT_FALSE(w.selected_date.isEmpty());
        host.answer("No");
        w.Clear_Details_Click();
        EXPECT_EQ(w.venue_value->text(), "Hall");
        host.answer("Yes");
        w.Clear_Details_Click();
        EXPECT_EQ(w.venue_value->text(), "");
        EXPECT_EQ(w.selected_date, "");
        EXPECT_EQ(w.selected_time, "");
        EXPECT_EQ(w.Time_ctrl_value->text(), "");
        EXPECT_FALSE(w.clear_details_btn->isEnabled());
    });
    wiz->Open_Wnd();
    EXPECT_EQ(host.alertTexts(), QStringList({"Are you sure you want to clear details?",
                                              "Are you sure you want to clear details?"}));
}

TEST_F(WizardTest, SlidersDriveTheGlobalsAndThePreview)
{
    const QString first = makePhoto("first.png");
    const QString second = makePhoto("second.png", 20, 20);
    script([&](Invitation_Wizard& w) {
        toPhotoPage(w, first);
        w.Rotate_slidr->setFloatValue(45.7f);
        EXPECT_FLOAT_EQ(IMG_rotate_image.load(), 45.7f);
        EXPECT_EQ(w.Rotate_slidr_val->text(), "45.70");
        const QImage turned = ImageProcesser::Get_Processed_Image(w.User_Picture, false, false, false, 0, 1, 0, 1, 45,
                                                                  0, 0, 0, 100);
        EXPECT_EQ(w.Preview_Image, turned);
        w.Rotate_slidr->setFloatValue(0);
        w.Image_Gray_Scale_chk->setChecked(true);
        w.Image_Gray_Scale_Chked();
        EXPECT_TRUE(IMG_gray_Scale.load());
        // Another photo keeps the settings.
        host.answerPanel(second);
        w.Browse_Image_Click();
        EXPECT_EQ(w.Preview_Image.size(), QSize(20, 20));
        const QRgb px = w.Preview_Image.pixel(2, 2);
        EXPECT_EQ(qRed(px), qBlue(px));
        // No to the reset question changes nothing; Yes makes everything neutral.
        host.answer("No");
        w.Image_reset_Button();
        EXPECT_TRUE(w.Image_Gray_Scale_chk->isChecked());
        EXPECT_TRUE(IMG_gray_Scale.load());
        host.answer("Yes");
        w.Image_reset_Button();
        EXPECT_FALSE(w.Image_Gray_Scale_chk->isChecked());
        EXPECT_FALSE(IMG_gray_Scale.load());
        EXPECT_EQ(w.Preview_Image.pixel(2, 2), qRgb(255, 0, 0));
    });
    wiz->Open_Wnd();
}

// Transparency fades the photo alike on the preview and on the card.
TEST_F(WizardTest, TransparencyFadesThePreviewAndTheCard)
{
    const QString photo = makePhoto("photo.png");
    const struct {
        float transparency;
        int alpha;
    } cases[] = {{100, 255}, {8, 20}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.transparency);
        script([&](Invitation_Wizard& w) {
            toPhotoPage(w, photo);
            w.Trsp_slidr->setFloatValue(c.transparency);
            EXPECT_NEAR(qAlpha(w.Preview_Image.pixel(5, 5)), c.alpha, 1);
            w.OK_Click();
        });
        ASSERT_EQ(wiz->Open_Wnd(), 1);
        EXPECT_NEAR(qAlpha(Get_Main_Photo_image().pixel(5, 5)), c.alpha, 1);
        // On the card: the red half over the white card, as much as it shows.
        SKTImage graphic;
        graphic.control_ID = "PARTY_IMAGE";
        graphic.bounds = QRectF(0, 0, 40, 30);
        QImage card(40, 30, QImage::Format_ARGB32);
        card.fill(Qt::white);
        QPainter painter(&card);
        graphic.draw(painter);
        painter.end();
        EXPECT_NEAR(qGreen(card.pixel(5, 5)), 255 - c.alpha, 2);
    }
}

TEST_F(WizardTest, EditPhotoStartsFromTheFileAndCloseKeepsTheSettings)
{
    const QString photo = makePhoto("photo.png");
    Invite_Frame_Pic_IMG = photo;
    IMG_invert_clr = true;
    IMG_blr_val = 0;
    wnd->Update_frame_Main_Photo_And_Path(photo, false);
    const QImage photoShown = Get_Main_Photo_image();
    ASSERT_EQ(QColor(photoShown.pixel(2, 2)), QColor(0, 255, 255)); // red, inverted
    Card_Shape = 1;
    wnd->main_photo_ds_batch = true;
    script([&](Invitation_Wizard& w) {
        EXPECT_TRUE(w.wizard_or_edit_photo);
        EXPECT_EQ(w.next_counter, 3);
        EXPECT_TRUE(shown(w.photo_box));
        EXPECT_FALSE(shown(w.third_box));
        EXPECT_FALSE(shown(w.button_box));
        EXPECT_TRUE(shown(w.Finish_Btn));
        EXPECT_TRUE(shown(w.Close_Btn));
        EXPECT_FALSE(w.browse_photo_btn->isEnabled());
        EXPECT_TRUE(w.Image_Setting_Box->isEnabled());
        EXPECT_TRUE(w.Image_Invert_chk->isChecked());
        EXPECT_EQ(w.image_path->text(), photo);
        // The inversion is applied once, to the file's picture.
        EXPECT_EQ(QColor(w.Preview_Image.pixel(2, 2)), QColor(0, 255, 255));
        w.Sat_slidr->setFloatValue(0.5f);
        EXPECT_FLOAT_EQ(IMG_sat_val.load(), 0.5f);
        EXPECT_EQ(QColor(w.Preview_Image.pixel(2, 2)).hue(), 180);
        w.Close_Form_Click();
    });
    EXPECT_EQ(wiz->Open_Wnd_For_Edit_Photo(), 0);
    EXPECT_EQ(Start_Card_Option, "W");
    EXPECT_FLOAT_EQ(IMG_sat_val.load(), 1);
    EXPECT_TRUE(IMG_invert_clr.load());
    EXPECT_EQ(Get_Main_Photo_image(), photoShown);

    // Finish keeps the new settings and the card's shape.
    wnd->main_photo_ds_batch = false;
    script([&](Invitation_Wizard& w) {
        EXPECT_TRUE(w.browse_photo_btn->isEnabled());
        w.Image_Invert_chk->setChecked(false);
        w.Image_Invert_Chked();
        w.OK_Click();
    });
    EXPECT_EQ(wiz->Open_Wnd_For_Edit_Photo(), 1);
    EXPECT_FALSE(IMG_invert_clr.load());
    EXPECT_EQ(QColor(Get_Main_Photo_image().pixel(2, 2)), QColor(255, 0, 0));
    EXPECT_EQ(Card_Shape.load(), 1);
    EXPECT_EQ(Invite_Frame_Pic_IMG, photo);
    Card_Shape = 0;
}

TEST_F(WizardTest, APhoneSizedPhotoLoadsAndItsSlidersWorkOnAScreenSizedCopy)
{
    // 48 megapixels, more than Qt reads by default.
    const QString photo = resources.path() + "/phone.jpg";
    {
        QImage big(8000, 6000, QImage::Format_RGB32);
        big.fill(Qt::red);
        ASSERT_TRUE(big.save(photo, "JPEG"));
    }
    script([&](Invitation_Wizard& w) {
        toPhotoPage(w, photo);
        EXPECT_TRUE(host.alerts.isEmpty());
        EXPECT_EQ(w.User_Picture.size(), QSize(4096, 3072)); // what a card can use
        EXPECT_EQ(w.Preview_Image.size(), QSize(600, 450));
        w.Image_Gray_Scale_chk->setChecked(true);
        w.Image_Gray_Scale_Chked();
        EXPECT_EQ(w.Preview_Image.size(), QSize(600, 450)); // the sliders filter the screen copy
        EXPECT_EQ(qRed(w.Preview_Image.pixel(300, 200)), qBlue(w.Preview_Image.pixel(300, 200)));
        w.OK_Click();
    });
    EXPECT_EQ(wiz->Open_Wnd(), 1);
    // The whole picture is filtered when the wizard finishes.
    const QImage main = Get_Main_Photo_image();
    ASSERT_EQ(main.size(), QSize(4096, 3072));
    EXPECT_EQ(qRed(main.pixel(3000, 2000)), qBlue(main.pixel(3000, 2000)));
    IMG_gray_Scale = false;
}
