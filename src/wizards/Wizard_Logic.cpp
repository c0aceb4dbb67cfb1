#include "wizards/Wizard_Logic.h"

#include "model/Card_Property.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "wizards/Invitation_Globals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <cmath>

QString Limit_Text_Length(const QString& text, int limit)
{
    if (limit < 0 || text.size() <= limit)
        return text;
    qsizetype cut = limit;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate() && text.at(cut).isLowSurrogate())
        --cut;
    return text.left(cut);
}

QStringList List_Frame_Files(const QString& folder)
{
    QStringList names;
    const QFileInfo info(folder);
    if (!info.isDir())
        return names;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString ext = entry.suffix().toLower();
        if (ext == QLatin1String("png") || ext == QLatin1String("jpg"))
            names << entry.fileName();
    }
    return names;
}

QString Format_Invite_Date(const QDate& date)
{
    return QLocale().toString(date, QLocale::LongFormat);
}

QString Format_Invite_Time(const QTime& time)
{
    return QLocale().toString(time, QStringLiteral("h:mm AP"));
}

QStringList Load_Template_List(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return Trim_Str(QString::fromUtf8(file.readAll())).split(QLatin1Char('\n'));
}

void Template_Lists::Load_Msg_And_Title()
{
    Title_Array = Load_Template_List(Resource_Path + QStringLiteral("/Title.txt"));
    title_count = int(Title_Array.size());
    Message_Array = Load_Template_List(Resource_Path + QStringLiteral("/Message.txt"));
    message_count = int(Message_Array.size());
}

QString Template_Lists::Get_Title() const
{
    return title_index >= 0 && title_index < title_count ? Title_Array.at(title_index) : QStringLiteral("");
}

QString Template_Lists::Get_Message() const
{
    return message_index >= 0 && message_index < message_count ? Message_Array.at(message_index) : QStringLiteral("");
}

namespace {
int wrapped(int index, int step, int count)
{
    index += step;
    if (index < 0)
        index = count - 1;
    if (index >= count)
        index = 0;
    return index;
}
}

void Template_Lists::Title_Step(int step)
{
    title_index = wrapped(title_index, step, title_count);
}

void Template_Lists::Message_Step(int step)
{
    message_index = wrapped(message_index, step, message_count);
}


namespace {
// One text of the party layout as first laid out: its left edge, the
// height of its box and how far the next one starts below its top.
struct Party_Text {
    QString ctrl_ID;
    QString value;
    float left;
    float box;
    float advance;
};

// The invitation texts in their order; a detail not given leaves only its
// advance (an empty identifier).
QList<Party_Text> Party_Texts(float XC)
{
    QList<Party_Text> texts;
    if (!Invite_Title.isEmpty())
        texts.append({QStringLiteral("PARTY_TITLE"), Invite_Title, XC, 30, 50});
    if (!Invite_To.isEmpty())
        texts.append({QStringLiteral("PARTY_TO"), QStringLiteral("Dear ") + Invite_To + QStringLiteral(","), 30, 20, 30});
    if (!Invite_Message.isEmpty())
        texts.append({QStringLiteral("PARTY_MSG"), Invite_Message, 50, 80, 80});
    if (!Invite_Date.isEmpty()) {
        QString when = Invite_Date;
        if (!Invite_Time.isEmpty())
            when += QStringLiteral(" at ") + Invite_Time;
        texts.append({QStringLiteral("PARTY_DATE"), when, 30, 20, 30});
    } else if (!Invite_Time.isEmpty()) {
        texts.append({QStringLiteral("PARTY_TIME"), QStringLiteral("AT ") + Invite_Time, 30, 20, 60});
    } else {
        texts.append({QString(), QString(), 0, 0, 30});
    }
    if (!Invite_Venue.isEmpty())
        texts.append({QStringLiteral("PARTY_VENUE"), QStringLiteral("Venue:\n") + Invite_Venue, 30, 60, 70});
    else
        texts.append({QString(), QString(), 0, 0, 20});
    if (!Invite_From.isEmpty())
        texts.append({QStringLiteral("PARTY_FROM"), QStringLiteral("From:\n") + Invite_From, XC, 40, 0});
    return texts;
}

// The texts laid out from y = 40 with their fonts, the least heights of
// their boxes and the room between them at scale: each box as high as its
// text needs, and what follows moved down by what a box grew.
QList<Party_Item> Lay_Out_Party_Texts(const QList<Party_Text>& texts, float TW, qreal scale)
{
    QList<Party_Item> items;
    float y = 40;
    for (const Party_Text& t : texts) {
        const float least = float(t.box * scale);
        const float room = float((t.advance - t.box) * scale);
        if (t.ctrl_ID.isEmpty()) {
            y += least + room;
            continue;
        }
        SKTText probe;
        Style_Party_Text(probe, t.ctrl_ID);
        probe.text = t.value;
        probe.font.setPointSizeF(probe.font.pointSizeF() * scale);
        const float box = std::max(least, float(std::ceil(probe.Text_Height(TW))));
        items.append({GraphicKind::Text, t.ctrl_ID, t.value, QRectF(t.left, y, TW, box), scale});
        y += box + room;
    }
    return items;
}
}

QList<Party_Item> Party_Layout_Items(const QSizeF& cardSize, const QPointF& cardLocation, const QSizeF& photoSize)
{
    // Worked in single precision, handed on in double.
    const float W = float(cardSize.width());
    const float H = float(cardSize.height());
    const float TW = W - 80;
    const float XC = (W - TW) / 2;
    const float YP = (H - 250) / 2;
    QList<Party_Item> items;
    if (!Invite_Frame_Pic_IMG.isEmpty())
        items.append({GraphicKind::Image, QStringLiteral("PARTY_IMAGE"), Invite_Frame_Pic_IMG,
                      Fit_Picture_In_Box(QRectF(XC, YP, TW, 250), photoSize)});

    // Every text whole and above the card's bottom margin: when the texts
    // need more room than the card has, all of them get smaller together.
    const QList<Party_Text> texts = Party_Texts(XC);
    const qreal bottom = H - Party_Bottom_Margin;
    QList<Party_Item> laid;
    for (qreal scale = 1;; scale *= 0.95) {
        laid = Lay_Out_Party_Texts(texts, TW, scale);
        const bool fits = laid.isEmpty() || laid.last().rect.bottom() <= bottom;
        if (fits || scale < Party_Smallest_Text_Scale)
            break;
    }
    items << laid;
    if (!Invite_Frame_IMG.isEmpty())
        items.append({GraphicKind::Image, QStringLiteral("PARTY_IMAGE_BG"), Invite_Frame_IMG,
                      QRectF(cardLocation, cardSize)});
    return items;
}
