#include "output/Send_Modeless.h"

#include "model/Helpers.h"
#include "platform/LookAndFeel.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <cmath>

std::atomic<bool> Stop_SMS_Sending_Now{false};
std::atomic<double> curr_barcode_count{0};
std::atomic<int> list_count{0};
QString curr_msg_count;
std::atomic<bool> Stop_Question_Open{false};

void Wait_For_Stop_Answer()
{
    Stop_Question_Open.wait(true);
}

Send_Modeless* Send_Modeless::defaultInstance()
{
    static Send_Modeless* instance = new Send_Modeless;
    return instance;
}

Send_Modeless::Send_Modeless(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Progress"));
    Apply_Dialog_Background(this);
    auto* grid = new QGridLayout(this);
    _tot_msg_cnt = new QLabel;
    _curr_msg_cnt = new QLabel;
    _Curr_Progress = new QProgressBar;
    _Curr_Progress->setTextVisible(false);
    _stop_btn = new QPushButton(QStringLiteral("Stop"));
    pause_label = new QLabel;
    grid->addWidget(new QLabel(QStringLiteral("Total:")), 0, 0);
    grid->addWidget(_tot_msg_cnt, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Current:")), 1, 0);
    grid->addWidget(_curr_msg_cnt, 1, 1);
    grid->addWidget(_Curr_Progress, 2, 0, 1, 2);
    grid->addWidget(pause_label, 3, 0, 1, 2);
    grid->addWidget(_stop_btn, 4, 1, Qt::AlignRight);
    setMinimumWidth(320);
    connect(_stop_btn, &QPushButton::clicked, this, &Send_Modeless::Stop_Sending_Pressed);
    _timer = new QTimer(this);
    _timer->setInterval(500);
    connect(_timer, &QTimer::timeout, this, &Send_Modeless::update_sending_progress_bar);
}

void Send_Modeless::Begin_Batch(QWidget* parent, int total, const QString& current_format)
{
    if (parent && parentWidget() != parent)
        setParent(parent, windowFlags());
    setWindowModality(Qt::WindowModal);
    _stop_btn->setEnabled(true);
    _Curr_Progress->setRange(0, std::max(total, 0));
    _Curr_Progress->setValue(0);
    _tot_msg_cnt->setText(QString::number(total));
    _curr_msg_cnt->setText(current_format.arg(0).arg(total));
    pause_label->clear();
    open();
    _timer->start();
}

void Send_Modeless::End_Batch()
{
    _timer->stop();
    hide();
}

bool Send_Modeless::timerRunning() const
{
    return _timer->isActive();
}

void Send_Modeless::update_sending_progress_bar()
{
    const int current = int(std::trunc(curr_barcode_count.load()));
    _Curr_Progress->setValue(std::min(current, _Curr_Progress->maximum()));
    curr_msg_count = QStringLiteral("%1 / %2 ").arg(current).arg(list_count.load());
    _curr_msg_cnt->setText(curr_msg_count);
}

void Send_Modeless::Stop_Sending_Pressed()
{
    // The worker waits while the question is open, so the answer decides
    // about the next card. The batch may still end meanwhile (its last card
    // was in progress); a late Yes then stops nothing.
    Stop_Question_Open = true;
    const bool yes = Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to continue?"));
    if (yes && isVisible())
        Stop_SMS_Sending_Now = true;
    Stop_Question_Open = false;
    Stop_Question_Open.notify_all();
}
