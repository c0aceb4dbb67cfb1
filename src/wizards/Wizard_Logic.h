#pragma once
// The plain rules behind the start wizard, the message templates and the
// party layout, free of widgets.
#include "model/SKTGraphic.h"

#include <QDate>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QTime>
#include <algorithm>

// The first limit UTF-16 code units of text; a surrogate pair that the limit
// would split is left out whole.
QString Limit_Text_Length(const QString& text, int limit);

// The names of the frame pictures in a folder: files whose extension is
// "png" or "jpg" in any case, sorted by name. A missing folder gives none.
QStringList List_Frame_Files(const QString& folder);

// The date in the full style of the current locale ("Sunday, December 6,
// 2026" in English), and the time as "h:mm" with the locale's AM/PM text.
QString Format_Invite_Date(const QDate& date);
QString Format_Invite_Time(const QTime& time);

// A title or message list file: the whole UTF-8 text trimmed, then split at
// every line feed (entries are not trimmed). Missing or unreadable: no list.
QStringList Load_Template_List(const QString& path);

// The title and message lists with their browsing positions, shared by the
// template picker and the start wizard.
class Template_Lists {
public:
    QStringList Title_Array;
    QStringList Message_Array;
    int title_count = 0;
    int message_count = 0;
    int title_index = 0;
    int message_index = 0;

    // Reads "Title.txt" and "Message.txt" of the resource folder.
    void Load_Msg_And_Title();
    // The entry at the current position; empty when there is no list.
    QString Get_Title() const;
    QString Get_Message() const;
    // One step back or on, wrapping at both ends.
    void Title_Step(int step);
    void Message_Step(int step);
};

// Moves the items at indexes (in their former order) before destination,
// where destination counts positions before the move. The indexes must be
// distinct and in range.
template <typename T>
void Move_Items_To(QList<T>& list, QList<int> indexes, int destination)
{
    std::sort(indexes.begin(), indexes.end());
    QList<T> moved;
    for (int i : indexes)
        moved << list.at(i);
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
        list.removeAt(*it);
    destination -= int(std::count_if(indexes.begin(), indexes.end(), [&](int i) { return i < destination; }));
    destination = std::clamp(destination, 0, int(list.size()));
    for (int k = 0; k < moved.size(); ++k)
        list.insert(destination + k, moved.at(k));
}

// One graphic of the party layout: its kind, identifier, content,
// rectangle in front-canvas points, and for a text the scale of its font
// (1: the size the canvas gives it).
struct Party_Item {
    GraphicKind kind;
    QString ctrl_ID;
    QString value;
    QRectF rect;
    qreal text_scale = 1;
};

// The texts end this far above the card's bottom edge, no lower than the
// sender of short details ends on the wizard's card, so the corners of the
// frame pictures never cover them; to stay above it they are made smaller,
// down to this scale of their size at most.
constexpr qreal Party_Bottom_Margin = 85;
constexpr qreal Party_Smallest_Text_Scale = 0.4;

// The graphics that lay the current invitation details out on a card of the
// given size and position, in the order they are placed (each one goes in
// front of those before it): the photo behind everything, fitted to its
// proportions (photoSize) and centred in its box; then the texts, from the
// top, each in a box that holds it whole and below the one before; the
// frame picture in front of all.
QList<Party_Item> Party_Layout_Items(const QSizeF& cardSize, const QPointF& cardLocation, const QSizeF& photoSize);
