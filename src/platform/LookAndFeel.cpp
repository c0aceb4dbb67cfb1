#include "platform/LookAndFeel.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QColor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

void Apply_Dialog_Background(QWidget* window)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, QColor(241, 244, 250));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}

QWidget* Field_With_Stepper(QLineEdit* field, QAbstractSpinBox* stepper, QWidget* extra)
{
    stepper->setFixedWidth(stepper->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 6);
    stepper->setStyleSheet(QStringLiteral("QAbstractSpinBox { color: transparent; selection-color: transparent; "
                                          "selection-background-color: transparent; }"));
    stepper->setFocusPolicy(Qt::NoFocus);
    auto* pair = new QWidget;
    auto* row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(field);
    row->addWidget(stepper);
    if (extra)
        row->addWidget(extra);
    return pair;
}

QWidget* Field_With_Caption(const QString& caption, QWidget* field)
{
    auto* pair = new QWidget;
    auto* row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(caption));
    row->addWidget(field, 1);
    return pair;
}

void Style_As_Link(QAbstractButton* button)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setBold(true);
    font.setPointSize(11);
    font.setUnderline(true);
    button->setFont(font);
    button->setCursor(Qt::OpenHandCursor);
    button->setStyleSheet(QStringLiteral("QAbstractButton { color: blue; background: transparent; border: none;"
                                         " text-align: left; padding: 2px; }"));
}

QDialogButtonBox* Ok_Cancel_Buttons(QDialog* dialog, const char* ok_slot, const char* cancel_slot)
{
    auto* box = new QDialogButtonBox(dialog);
    auto* okButton = box->addButton(QDialogButtonBox::Ok);
    auto* cancelButton = box->addButton(QDialogButtonBox::Cancel);
    QObject::connect(okButton, SIGNAL(clicked()), dialog, ok_slot);
    QObject::connect(cancelButton, SIGNAL(clicked()), dialog, cancel_slot);
    return box;
}

QRect Window_Frame_On_Screen(const QSize& wanted, const QRect& room)
{
    // The frame and title bar take about 40 points across and 80 down.
    const int width = std::max(1, std::min(wanted.width(), room.width() - 40));
    const int height = std::max(1, std::min(wanted.height(), room.height() - 80));
    return QRect(room.left() + (room.width() - width) / 2, room.top() + 20, width, height);
}

void Fit_Window_On_Screen(QWidget* window, const QSize& wanted)
{
    const QScreen* screen = window->screen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    const QRect place = Window_Frame_On_Screen(wanted, screen->availableGeometry());
    window->resize(place.size());
    window->move(place.topLeft());
}
