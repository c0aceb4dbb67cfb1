#include "model/Globals.h"
#include "support/TempResources.h"
#include "wizards/Invitation_Globals.h"
#include "wizards/Wizard_Logic.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

namespace {
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void clearDetails()
{
    for (QString* s : {&Invite_Title, &Invite_To, &Invite_Message, &Invite_Date, &Invite_Time, &Invite_Venue,
                       &Invite_From, &Invite_Frame_Pic_IMG, &Invite_Frame_IMG})
        *s = QString();
}

QStringList ids(const QList<Party_Item>& items)
{
    QStringList out;
    for (const Party_Item& i : items)
        out << i.ctrl_ID;
    return out;
}

const Party_Item& item(const QList<Party_Item>& items, const QString& id)
{
    for (const Party_Item& i : items)
        if (i.ctrl_ID == id)
            return i;
    throw std::runtime_error("missing " + id.toStdString());
}

// The wizard's card, 120 by 150 millimetres, in points.
const QSizeF kCard(340.15747, 425.19684);
const float kTW = float(kCard.width()) - 80;
}

TEST(WizardLogic, TextLimitKeepsSurrogatePairsWhole)
{
    EXPECT_EQ(Limit_Text_Length(QString(45, 'a'), 40), QString(40, 'a'));
    EXPECT_EQ(Limit_Text_Length(QStringLiteral("short"), 40), "short");
    // A face emoji takes two code units; at the limit it goes out whole.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString text = QString(39, 'x') + emoji + QStringLiteral("yz");
    EXPECT_EQ(Limit_Text_Length(text, 40), QString(39, 'x'));
    EXPECT_EQ(Limit_Text_Length(text, 41), QString(39, 'x') + emoji);
}

TEST(WizardLogic, FramesAreListedByExtensionAnyCase)
{
    QTemporaryDir dir;
    for (const char* name : {"b.PNG", "c.jpeg", "a.jpg", "d.txt", "e.Jpg"})
        writeFile(dir.path() + '/' + name, "x");
    QDir(dir.path()).mkdir("f.png");
    EXPECT_EQ(List_Frame_Files(dir.path()), QStringList({"a.jpg", "b.PNG", "e.Jpg"}));
    EXPECT_TRUE(List_Frame_Files(dir.path() + "/missing").isEmpty());
}

TEST(WizardLogic, DateAndTimeInAnEnglishLocale)
{
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(Format_Invite_Date(QDate(2026, 12, 6)), "Sunday, December 6, 2026");
    EXPECT_EQ(Format_Invite_Time(QTime(15, 15)), "3:15 PM");
    EXPECT_EQ(Format_Invite_Time(QTime(0, 5)), "12:05 AM");
    QLocale::setDefault(old);
}

TEST(WizardLogic, TemplateListsKeepInnerBlanksAndCarriageReturns)
{
    TempResources res;
    writeFile(res.path() + "/Title.txt", "\n\nFirst\r\n\r\nThird\r\n");
    writeFile(res.path() + "/Message.txt", "Only one");
    Template_Lists lists;
    lists.Load_Msg_And_Title();
    // The whole text is trimmed, then split: leading blank lines go, an
    // inner blank line stays, each entry but the last keeps its CR.
    EXPECT_EQ(lists.Title_Array, QStringList({"First\r", "\r", "Third"}));
    EXPECT_EQ(lists.title_count, 3);
    EXPECT_EQ(lists.Get_Title(), "First\r");
    lists.Title_Step(-1);
    EXPECT_EQ(lists.Get_Title(), "Third");
    lists.Title_Step(1);
    EXPECT_EQ(lists.Get_Title(), "First\r");

    EXPECT_EQ(lists.message_count, 1);
    lists.Message_Step(1);
    EXPECT_EQ(lists.Get_Message(), "Only one");
    lists.Message_Step(-1);
    EXPECT_EQ(lists.Get_Message(), "Only one");

    QFile::remove(res.path() + "/Title.txt");
    lists.Load_Msg_And_Title();
    EXPECT_EQ(lists.title_count, 0);
    lists.Title_Step(-1);
    EXPECT_EQ(lists.Get_Title(), "");
    lists.Title_Step(1);
    EXPECT_EQ(lists.Get_Title(), "");
}

TEST(WizardLogic, ShippedTemplateListsHaveADozenEntries)
{
    TempResources res;
    Template_Lists lists;
    lists.Load_Msg_And_Title();
    EXPECT_GE(lists.title_count, 12);
    EXPECT_GE(lists.message_count, 12);
    for (const QString& s : lists.Title_Array + lists.Message_Array) {
        EXPECT_FALSE(s.trimmed().isEmpty());
        EXPECT_LE(s.size(), 250);
    }
}

TEST(WizardLogic, MovingItemsCountsDestinationBeforeTheMove)
{
    QStringList l = {"a", "b", "c", "d", "e"};
    Move_Items_To(l, {0, 1}, 4);
    EXPECT_EQ(l, QStringList({"c", "d", "a", "b", "e"}));
    l = {"a", "b", "c", "d", "e"};
    Move_Items_To(l, {4, 2}, 0);
    EXPECT_EQ(l, QStringList({"c", "e", "a", "b", "d"}));
    l = {"a", "b", "c"};
    Move_Items_To(l, {0}, 3);
    EXPECT_EQ(l, QStringList({"b", "c", "a"}));
}

TEST(PartyLayout, EveryDetailGivenGivesTheKnownRectangles)
{
    clearDetails();
    Invite_Title = "T";
    Invite_To = "Ann";
    Invite_Message = "M";
    Invite_Date = "D";
    Invite_Time = "3:15 PM";
    Invite_Venue = "Hall";
    Invite_From = "Bo";
    Invite_Frame_Pic_IMG = "/p.png";
    Invite_Frame_IMG = "/f.png";
    const auto items = Party_Layout_Items(kCard, QPointF(0, 0), QSizeF());
    // Placed in this order, each in front of the ones before: the photo lies
    // behind every text, the frame in front of everything.
    EXPECT_EQ(ids(items), QStringList({"PARTY_IMAGE", "PARTY_TITLE", "PARTY_TO", "PARTY_MSG", "PARTY_DATE",
                                       "PARTY_VENUE", "PARTY_FROM", "PARTY_IMAGE_BG"}));
    const std::pair<const char*, QRectF> expected[] = {
        {"PARTY_TITLE", {40, 40, kTW, 30}},  {"PARTY_TO", {30, 90, kTW, 20}},      {"PARTY_MSG", {50, 120, kTW, 80}},
        {"PARTY_DATE", {30, 200, kTW, 20}},  {"PARTY_VENUE", {30, 230, kTW, 60}},  {"PARTY_FROM", {40, 300, kTW, 40}},
        {"PARTY_IMAGE", {40, 87.59842f, kTW, 250}}};
    for (const auto& [id, rect] : expected) {
        SCOPED_TRACE(id);
        const QRectF r = item(items, id).rect;
        EXPECT_FLOAT_EQ(float(r.x()), float(rect.x()));
        EXPECT_FLOAT_EQ(float(r.y()), float(rect.y()));
        EXPECT_FLOAT_EQ(float(r.width()), float(rect.width()));
        EXPECT_FLOAT_EQ(float(r.height()), float(rect.height()));
    }
    EXPECT_FLOAT_EQ(float(item(items, "PARTY_TITLE").rect.width()), 260.15747f);
    EXPECT_EQ(item(items, "PARTY_IMAGE_BG").rect, QRectF(QPointF(0, 0), kCard));
    EXPECT_EQ(item(items, "PARTY_TO").value, "Dear Ann,");
    EXPECT_EQ(item(items, "PARTY_DATE").value, "D at 3:15 PM");
    EXPECT_EQ(item(items, "PARTY_VENUE").value, "Venue:\nHall");
    EXPECT_EQ(item(items, "PARTY_FROM").value, "From:\nBo");
    EXPECT_EQ(item(items, "PARTY_IMAGE").kind, GraphicKind::Image);
    EXPECT_EQ(item(items, "PARTY_MSG").kind, GraphicKind::Text);
}

TEST(PartyLayout, MissingDetailsMoveTheLinesBelow)
{
    // Only a time: it stands where the date would, the venue 60 lower.
    clearDetails();
    Invite_Time = "9:00 AM";
    Invite_Venue = "Park";
    auto items = Party_Layout_Items(kCard, QPointF(0, 0), QSizeF());
    EXPECT_EQ(ids(items), QStringList({"PARTY_TIME", "PARTY_VENUE"}));
    EXPECT_EQ(item(items, "PARTY_TIME").value, "AT 9:00 AM");
    EXPECT_EQ(item(items, "PARTY_TIME").rect.topLeft(), QPointF(30, 40));
    EXPECT_EQ(item(items, "PARTY_VENUE").rect.y(), 100);

    // No title: the addressee starts at the top; no venue: the sender is 20 below the date line.
    clearDetails();
    Invite_To = "Ann";
    Invite_Date = "Monday";
    Invite_From = "Bo";
    items = Party_Layout_Items(kCard, QPointF(0, 0), QSizeF());
    EXPECT_EQ(ids(items), QStringList({"PARTY_TO", "PARTY_DATE", "PARTY_FROM"}));
    EXPECT_EQ(item(items, "PARTY_TO").rect.topLeft(), QPointF(30, 40));
    EXPECT_EQ(item(items, "PARTY_DATE").rect.y(), 70);
    EXPECT_EQ(item(items, "PARTY_DATE").value, "Monday");
    EXPECT_EQ(item(items, "PARTY_FROM").rect.topLeft(), QPointF(40, 120));

    // Nothing but the two pictures: exactly two graphics, the frame over the card's place.
    clearDetails();
    Invite_Frame_Pic_IMG = "/p.png";
    Invite_Frame_IMG = "/f.png";
    items = Party_Layout_Items(QSizeF(200, 300), QPointF(5, 7), QSizeF());
    EXPECT_EQ(ids(items), QStringList({"PARTY_IMAGE", "PARTY_IMAGE_BG"}));
    EXPECT_EQ(item(items, "PARTY_IMAGE").rect, QRectF(40, 25, 120, 250));
    EXPECT_EQ(item(items, "PARTY_IMAGE_BG").rect, QRectF(5, 7, 200, 300));
    clearDetails();
}

TEST(PartyLayout, ThePhotoKeepsItsProportionsCentredInItsBox)
{
    clearDetails();
    Invite_Frame_Pic_IMG = "/p.png";
    // The box is 120 by 250 at (40, 25) on a 200 by 300 card.
    const struct {
        QSizeF photo;
        QRectF rect;
    } cases[] = {
        {{8000, 6000}, {40, 105, 120, 90}},    // landscape 4:3: full width, centred in height
        {{600, 800}, {40, 70, 120, 160}},      // portrait 3:4: still the full width
        {{100, 1000}, {87.5, 25, 25, 250}},    // tall: full height, centred in width
        {{}, {40, 25, 120, 250}},              // size unknown: the box
    };
    for (const auto& c : cases) {
        const QRectF r = item(Party_Layout_Items(QSizeF(200, 300), QPointF(0, 0), c.photo), "PARTY_IMAGE").rect;
        EXPECT_EQ(r, c.rect) << c.photo.width() << "x" << c.photo.height();
    }
    clearDetails();
}
