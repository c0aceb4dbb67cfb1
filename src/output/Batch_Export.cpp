#include "output/Batch_Export.h"

#include "model/Card_Rows.h"
#include "model/Helpers.h"
#include "output/Send_Modeless.h"
#include "platform/MainThread.h"

#include <QDir>
#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {
// Threads that run jobs from a bounded queue: add() waits while the queue is
// full, finish() waits until every job has run.
class Writer_Pool {
public:
    explicit Writer_Pool(int threads) : capacity(size_t(std::max(1, threads)) * 2)
    {
        for (int i = 0; i < std::max(1, threads); ++i)
            workers.emplace_back([this] { run(); });
    }
    ~Writer_Pool() { finish(); }

    void add(std::function<void()> job)
    {
        std::unique_lock lock(mutex);
        spaceFree.wait(lock, [this] { return jobs.size() < capacity; });
        jobs.push_back(std::move(job));
        jobWaiting.notify_one();
    }
    // Returns once every job added so far has run.
    void waitIdle()
    {
        std::unique_lock lock(mutex);
        idle.wait(lock, [this] { return jobs.empty() && running == 0; });
    }
    void finish()
    {
        {
            std::lock_guard lock(mutex);
            closing = true;
        }
        jobWaiting.notify_all();
        for (std::thread& t : workers)
            if (t.joinable())
                t.join();
        workers.clear();
    }

private:
    void run()
    {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(mutex);
                jobWaiting.wait(lock, [this] { return closing || !jobs.empty(); });
                if (jobs.empty())
                    return;
                job = std::move(jobs.front());
                jobs.pop_front();
                ++running;
            }
            spaceFree.notify_one();
            // Cards already drawn are the cards in progress: they are
            // written even while the Stop question is open.
            try {
                job();
            } catch (const std::exception& e) {
                Show_NSLog_Message(QString::fromUtf8(e.what()));
            }
            {
                std::lock_guard lock(mutex);
                --running;
            }
            idle.notify_all();
        }
    }

    const size_t capacity;
    std::mutex mutex;
    std::condition_variable jobWaiting, spaceFree, idle;
    int running = 0;
    std::deque<std::function<void()>> jobs;
    std::vector<std::thread> workers;
    bool closing = false;
};

int writerThreads(const Export_Choices& choices)
{
    if (choices.writers > 0)
        return choices.writers;
    return std::max(1, QThread::idealThreadCount() - 1);
}
}

Batch_Export_Result Export_Card_Rows(Card_Row_Source& rows, const QString& folder, const Export_Choices& choices,
                                     QWidget* sheet_parent)
{
    Batch_Export_Result result;
    result.folder = QDir(folder).filePath(QStringLiteral("Pelvoro Gleamcard"));
    if (!QDir().mkpath(result.folder)) {
        Show_MessageBox(QStringLiteral("Unable to continue saving barcode image.\n\nEither Destination Drive is "
                                       "inaccessible or there is no free space available in drive to save barcode image."));
        result.outcome = Export_Outcome::Folder_Unusable;
        return result;
    }

    Stop_SMS_Sending_Now = false;
    Send_Modeless* sheet = Send_Modeless::defaultInstance();
    bool sheetUp = false;
    Faces_Written count;
    std::mutex countMutex;
    // Only the first failure is shown; the rest would bury the user in boxes.
    bool failureShown = false;
    const Card_Image_Writer write = [&](const QImage& image, const QString& path) {
        QString reason;
        if (Save_Card_Image(image, path, false, &reason))
            return true;
        bool show = false;
        {
            std::lock_guard lock(countMutex);
            show = !failureShown;
            failureShown = true;
        }
        if (show)
            Show_Card_Write_Failure(path, reason);
        return false;
    };
    rows.Batch_Begin();
    try {
        list_count = rows.Batch_Row_Count();
        curr_barcode_count = 0;
        platform::runOnMainThread([&] { sheet->Begin_Batch(sheet_parent, list_count, QStringLiteral("%1 / %2 Frame")); });
        sheetUp = true;

        result.total = list_count;
        const QString suffix = choices.fileType.isEmpty() ? QString() : '.' + choices.fileType;
        bool stopped = false;
        Writer_Pool pool(writerThreads(choices));
        for (int r = 0; r < list_count; ++r) {
            // While the Stop question is open the cards begun are finished
            // and no other is begun.
            if (Stop_Question_Open)
                pool.waitIdle();
            Wait_For_Stop_Answer();
            if (Stop_SMS_Sending_Now) {
                stopped = true;
                break;
            }
            curr_barcode_count = r + 1;
            const QString path = QDir(result.folder).filePath(QStringLiteral("Card_%1").arg(r + 1) + suffix);
            const Card_Faces faces = Render_Card_Sides(choices.side, [&](Card_Side side) {
                return rows.Card_Row_Image(r, side, choices.pixelsPerPoint());
            });
            pool.add([&, faces, path] {
                Faces_Written one;
                Write_Card_Faces(choices.side, choices.combined, faces, path, Back_Card_Path(path), write, one);
                std::lock_guard lock(countMutex);
                count.written += one.written;
                count.failed += one.failed;
            });
            result.cards = r + 1;
        }
        // Every card begun is written before the batch ends.
        pool.finish();
        // The sheet stays up until a question asked over the last card is answered.
        Wait_For_Stop_Answer();
        result.outcome = stopped ? Export_Outcome::Stopped : count.outcome();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        result.outcome = Export_Outcome::Broken_Off;
    }
    result.written = count.written;
    result.failed = count.failed;
    result.rowsWithoutBarcode = rows.Rows_Without_Barcode();

    // The design is put back while the sheet still keeps the user out.
    rows.Batch_End();
    platform::runOnMainThread([&] {
        if (sheetUp)
            sheet->End_Batch();
    });
    return result;
}
