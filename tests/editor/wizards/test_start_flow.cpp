// The main window's side: the start flow, the party layout on the front
// face, editing the main photo again and the template picker.
#include "WizardTestKit.h"
#include "support/Menus.h"

#include "canvas/SKTGraphicView.h"
#include "wizards/Insert_Template.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {
QStringList frontIDs(SKTWindowController* wnd)
{
    QStringList out;
    for (const GraphicPtr& g : wnd->Get_Front_Controls_Array())
        out << g->control_ID;
    return out;
}

GraphicPtr byID(SKTWindowController* wnd, const QString& id)
{
    return wnd->_graphicView->Selcect_Ctrl_With_ID(id);
}

void scriptPicker(ScriptedHost& host, std::function<void(Insert_Template&)> fn)
{
    host.modalScripts.push_back([fn](QDialog& d) {
        d.setResult(0);
        fn(static_cast<Insert_Template&>(d));
        return d.result();
    });
}
}

TEST_F(WizardTest, StartFlowLaysTheInvitationOnTheFront)
{
    const QString photo = makePhoto("photo.png");
    // A picture chosen earlier for something else must not become the frame.
    Library_Selected_Image = makePhoto("profile.png", 10, 10);
    script([&](Invitation_Wizard& w) {
        toPhotoPage(w, photo);
        w.to_value->setText("Ann");
        w.from_value->setText("   ");
        w.venue_value->setText("Town hall");
        w.datePickerAction();
        w.OK_Click();
    });
    wnd->Open_Start_Window();
    EXPECT_TRUE(endedWith.isEmpty());
    // Front to back: frame, venue, date, message, addressee, title, and the
    // photo behind every text; no sender.
    EXPECT_EQ(frontIDs(wnd), QStringList({"PARTY_IMAGE_BG", "PARTY_VENUE", "PARTY_DATE", "PARTY_MSG", "PARTY_TO",
                                          "PARTY_TITLE", "PARTY_IMAGE"}));
    EXPECT_EQ(Selected_Control_Tool.load(), 8);
    EXPECT_EQ(Library_Selected_Image, resources.path() + "/profile.png");
    EXPECT_FLOAT_EQ(float(wnd->Front_card_Prop.Card_Size.width()), 340.15747f);
    EXPECT_FLOAT_EQ(float(wnd->Front_card_Prop.Card_Size.height()), 425.19684f);
    EXPECT_DOUBLE_EQ(wnd->Front_card_Prop.width_mm, 120);

    auto frame = std::dynamic_pointer_cast<SKTImage>(byID(wnd, "PARTY_IMAGE_BG"));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->filePath(), Invite_Frame_IMG);
    EXPECT_EQ(frame->image.size(), QImage(Invite_Frame_IMG).size());
    EXPECT_EQ(frame->bounds.size(), wnd->Front_card_Prop.Card_Size);
    auto picture = std::dynamic_pointer_cast<SKTImage>(byID(wnd, "PARTY_IMAGE"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->filePath(), photo);
    EXPECT_EQ(picture->image, Get_Main_Photo_image());
    // The 40 by 30 photo keeps its proportions, centred in its 260 by 250 box.
    EXPECT_FLOAT_EQ(float(picture->bounds.y()), 87.59842f + (250 - 195.11811f) / 2);
    EXPECT_FLOAT_EQ(float(picture->bounds.width() / picture->bounds.height()), 4.0f / 3.0f);

    auto to = std::dynamic_pointer_cast<SKTText>(byID(wnd, "PARTY_TO"));
    ASSERT_TRUE(to);
    EXPECT_EQ(to->text, "Dear Ann,");
    EXPECT_EQ(to->bounds.topLeft(), QPointF(30, 90));
    auto venue = std::dynamic_pointer_cast<SKTText>(byID(wnd, "PARTY_VENUE"));
    EXPECT_EQ(venue->alignment, Qt::AlignHCenter);
    EXPECT_EQ(venue->bounds.y(), 230);
    auto title = std::dynamic_pointer_cast<SKTText>(byID(wnd, "PARTY_TITLE"));
    EXPECT_EQ(title->text, wiz->Title_Array.value(0));
    EXPECT_TRUE(title->font.bold());
    EXPECT_FALSE(title->isDrawingStroke);
    EXPECT_EQ(wnd->settings_tab->currentIndex(), 0);
    EXPECT_TRUE(wnd->document.undoRegistrationEnabled);
    Library_Selected_Image.clear();
}

// Long invitation texts are laid out whole: every text fits its box, no two
// boxes overlap, and all stay clear of the frame's bottom corners.
TEST_F(WizardTest, LongInvitationTextsAreLaidOutWholeWithoutOverlap)
{
    const QString words = "Please join us for an evening of music, food and old friends as we celebrate ";
    const struct {
        const char* walk;
        QString title, to, message, venue, from;
    } cases[] = {
        {"short", "Party", "Ann", "Come!", "Hall", "Bo"},
        {"as a new user typed them", "A Very Special Birthday Celebration For Our Dear Friend",
         QString(40, 'A'), (words + words + words).left(197), "The Grand Ballroom, Hotel Excelsior, "
         "Long Street 123, Old Town, Springfield", "The Whole Family And All Their Friends"},
        {"every field at its limit", QString("Title ").repeated(17).left(100), QString("Addressee ").repeated(4),
         (words + words + words + words).left(250), QString("Venue words ").repeated(9).left(100),
         QString("Sender ").repeated(6).left(40)},
    };
    const QString photo = makePhoto("photo.png");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.walk);
        wnd->New_Project_Setting_Reset();
        script([&](Invitation_Wizard& w) {
            toPhotoPage(w, photo);
            w.msg_title->setText(c.title);
            w.msg_value->setPlainText(c.message);
            w.to_value->setText(c.to);
            w.venue_value->setText(c.venue);
            w.from_value->setText(c.from);
            w.datePickerAction();
            w.timePickerAction();
            w.OK_Click();
        });
        wnd->Open_Start_Window();
        const QSizeF card = wnd->Front_card_Prop.Card_Size;
        QList<std::shared_ptr<SKTText>> texts;
        for (const GraphicPtr& g : wnd->Get_Front_Controls_Array())
            if (auto t = std::dynamic_pointer_cast<SKTText>(g))
                texts << t;
        ASSERT_EQ(texts.size(), 6);
        for (const auto& t : texts) {
            SCOPED_TRACE(t->control_ID.toStdString());
            EXPECT_LE(t->Text_Height(t->bounds.width()), t->bounds.height());
            EXPECT_GE(t->bounds.top(), 0);
            EXPECT_LE(t->bounds.bottom(), card.height() - Party_Bottom_Margin);
            EXPECT_LE(t->bounds.right(), card.width());
            EXPECT_GE(t->font.pointSizeF(), 14 * Party_Smallest_Text_Scale);
            for (const auto& other : texts)
                if (other != t)
                    EXPECT_FALSE(t->bounds.intersects(other->bounds)) << other->control_ID.toStdString();
        }
    }
}

TEST_F(WizardTest, StartFlowEndsTheProcessOrOpensADesignLog)
{
    script([](Invitation_Wizard& w) { w.Close_Form_Click(); });
    wnd->Open_Start_Window();
    EXPECT_EQ(endedWith, QList<int>{0});
    EXPECT_TRUE(wnd->Get_Front_Controls_Array().isEmpty());

    // A saved design opened from the start page is shown as it was saved.
    auto g = std::make_shared<SKTText>();
    g->control_ID = "PARTY_TITLE";
    g->text = "Saved";
    g->bounds = QRectF(1, 2, 50, 20);
    wnd->Get_Front_Controls_Array() << g;
    const QString log = resources.path() + "/saved.gcdl";
    ASSERT_TRUE(wnd->Save_project_file(log, false));
    wnd->New_Project_Setting_Reset();
    script([&](Invitation_Wizard& w) {
        host.answerPanel(log);
        w.Open_Log_Click();
    });
    wnd->Open_Start_Window();
    EXPECT_EQ(endedWith, QList<int>{0});
    EXPECT_EQ(Start_Card_Option, "L");
    EXPECT_EQ(frontIDs(wnd), QStringList{"PARTY_TITLE"});
}

TEST_F(WizardTest, EditMainPhotoReplacesThePhotoGraphicOnlyOnFinish)
{
    const QString photo = makePhoto("photo.png");
    script([&](Invitation_Wizard& w) {
        toPhotoPage(w, photo);
        w.OK_Click();
    });
    wnd->Open_Start_Window();
    const GraphicPtr before = byID(wnd, "PARTY_IMAGE");
    ASSERT_TRUE(before);
    const QRectF bounds = before->bounds;
    before->Set_Ctrl_Is_Visible(false);
    const int count = int(wnd->Get_Front_Controls_Array().size());

    script([](Invitation_Wizard& w) {
        w.Image_Sepia_chk->setChecked(true);
        w.Image_Sepia_Chked();
        w.Close_Form_Click();
    });
    wnd->Edit_Main_Photo_Button();
    EXPECT_FALSE(before->ctrl_is_visible);
    EXPECT_FALSE(IMG_Sepia.load());

    const QString other = makePhoto("other.png", 16, 16);
    script([&](Invitation_Wizard& w) {
        host.answerPanel(other);
        w.Browse_Image_Click();
        w.OK_Click();
    });
    wnd->Edit_Main_Photo_Button();
    EXPECT_EQ(int(wnd->Get_Front_Controls_Array().size()), count);
    EXPECT_EQ(byID(wnd, "PARTY_IMAGE"), before);
    EXPECT_TRUE(before->ctrl_is_visible);
    EXPECT_EQ(before->bounds, bounds);
    EXPECT_EQ(std::dynamic_pointer_cast<SKTImage>(before)->filePath(), other);
    EXPECT_EQ(Get_Main_Photo_image().size(), QSize(16, 16));
    EXPECT_TRUE(Menu_Command(wnd, "Edit Main Photo...")->isEnabled());
}

TEST_F(WizardTest, TemplateTitleGoesIntoThePartyTitle)
{
    auto title = std::make_shared<SKTText>();
    title->control_ID = "PARTY_TITLE";
    title->text = "Old";
    title->bounds = QRectF(10, 10, 100, 30);
    wnd->Get_Front_Controls_Array() << title;
    wnd->_graphicView->selectGraphic(title);
    ASSERT_FALSE(wnd->insert_template_btn->isHidden());
    ASSERT_EQ(wnd->insert_template_btn->text(), "Use Template Title");

    scriptPicker(host, [](Insert_Template& t) {
        EXPECT_EQ(t.title_or_msg, "T");
        t.Msg_Back_Click(); // wraps to the last title
        t.Msg_Next_Click();
        t.Msg_Next_Click();
        t.OKPressed();
    });
    wnd->insert_template_btn->click();
    EXPECT_EQ(title->text, Insert_Template::defaultInstance()->Title_Array.value(1).trimmed());
    EXPECT_EQ(wnd->Text_value_Edit->toPlainText(), title->text);

    // Cancel leaves the text alone.
    scriptPicker(host, [](Insert_Template& t) { t.CancelPressed(); });
    const QString kept = title->text;
    wnd->insert_template_btn->click();
    EXPECT_EQ(title->text, kept);
    EXPECT_EQ(Template_Msg_Val, "");
}

TEST_F(WizardTest, TemplatePickerRefusesAnEmptyLineAndTrimsAnEditedOne)
{
    Insert_Template* picker = Insert_Template::defaultInstance();
    picker->title_or_msg = "M";
    scriptPicker(host, [](Insert_Template& t) {
        EXPECT_EQ(t.msg_value->toPlainText(), t.Message_Array.value(0));
        t.msg_value->setPlainText(" \n ");
        t.OKPressed();
        EXPECT_EQ(t.result(), 0);
        t.msg_value->setPlainText("  See you there!\r\n");
        t.OKPressed();
    });
    EXPECT_EQ(picker->Open_Template_Dialog(), 1);
    EXPECT_EQ(Template_Msg_Val, "See you there!");
    EXPECT_EQ(host.alertTexts(), QStringList{"Please select message."});

    // Without list files the field is empty and OK asks for a line.
    QFile::remove(resources.path() + "/Message.txt");
    scriptPicker(host, [](Insert_Template& t) {
        t.Msg_Next_Click();
        t.Msg_Back_Click();
        EXPECT_EQ(t.msg_value->toPlainText(), "");
        t.OKPressed();
        t.CancelPressed();
    });
    EXPECT_EQ(picker->Open_Template_Dialog(), 0);
    EXPECT_EQ(host.alertTexts().size(), 2);
}
