#pragma once
// The progress sheet of long batch jobs and the state that the worker, the
// progress timer and the Stop button share.
#include <QDialog>
#include <QString>
#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// Batch progress state. The worker writes the counts, the Stop button the
// flag; the progress timer (on the main thread) reads them.
extern std::atomic<bool> Stop_SMS_Sending_Now;
extern std::atomic<double> curr_barcode_count;
extern std::atomic<int> list_count;
// The current-count text, written on the main thread only.
extern QString curr_msg_count;
// Set while the Stop question is open: a worker begins no further row until
// it is answered.
extern std::atomic<bool> Stop_Question_Open;
// Called by a worker before each row: returns once no Stop question is open.
void Wait_For_Stop_Answer();

class Send_Modeless : public QDialog {
    Q_OBJECT
public:
    static Send_Modeless* defaultInstance();

    QLabel* _tot_msg_cnt;
    QLabel* _curr_msg_cnt;
    QProgressBar* _Curr_Progress;
    QPushButton* _stop_btn;
    QLabel* pause_label;

    // Start of a batch of total rows: the labels and the bar are reset, the
    // sheet is shown over the parent and the 0.5-second progress timer runs.
    // current_format is filled with 0 and the total ("%1 / %2 Frame").
    // Call on the main thread.
    void Begin_Batch(QWidget* parent, int total, const QString& current_format);
    // End of a batch: the timer stops and the sheet goes. Call on the main thread.
    void End_Batch();
    bool timerRunning() const;

public slots:
    void Stop_Sending_Pressed();
    void update_sending_progress_bar();

private:
    explicit Send_Modeless(QWidget* parent = nullptr);
    QTimer* _timer;
};
