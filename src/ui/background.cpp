#include "ui/background.h"

#include "ui/prompts.h"

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <exception>
#include <mutex>
#include <thread>

namespace ui {

namespace {

// What the window's thread and the worker share; it outlives either side.
struct Shared {
    std::stop_source stop;
    std::mutex mutex;
    // Whom the worker wakes when done; cleared before the loop goes, so the worker never
    // posts to a loop that is gone (posts still pending go with it).
    QEventLoop* loop = nullptr;
    bool done = false;
    std::exception_ptr error;

    bool isDone()
    {
        const std::lock_guard lock(mutex);
        return done;
    }
};

} // namespace

bool runInBackground(QWidget* parent, const QString& text,
                     std::function<void(std::stop_token)> work, AfterCancel afterCancel)
{
    auto shared = std::make_shared<Shared>();
    QEventLoop loop;
    shared->loop = &loop;
    std::thread worker([shared, work = std::move(work)] {
        std::exception_ptr error;
        try {
            work(shared->stop.get_token());
        } catch (...) {
            error = std::current_exception();
        }
        const std::lock_guard lock(shared->mutex);
        shared->error = error;
        shared->done = true;
        if (shared->loop)
            QMetaObject::invokeMethod(shared->loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    QTimer delay;
    delay.setSingleShot(true);
    // A coarse timer may fire 5 % early.
    delay.setTimerType(Qt::PreciseTimer);
    QObject::connect(&delay, &QTimer::timeout, &loop, &QEventLoop::quit);
    const int delayMs = prompts().progressDelayMs();
    if (delayMs > 0) {
        delay.start(delayMs);
        if (!shared->isDone())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    bool cancelled = false;
    std::unique_ptr<QObject> progress;
    // The loop also ends when the application quits; then the work is cancelled too. No
    // delay at all shows the progress whatever the work's pace.
    if (delayMs <= 0 || (!shared->isDone() && !delay.isActive())) {
        progress = prompts().showProgress(parent, text, [&] {
            cancelled = true;
            loop.quit();
        });
        if (!cancelled && !shared->isDone())
            loop.exec();
    }
    progress.reset();
    {
        const std::lock_guard lock(shared->mutex);
        shared->loop = nullptr;
    }
    if (!cancelled && shared->isDone()) {
        worker.join();
        if (shared->error)
            std::rethrow_exception(shared->error);
        return true;
    }
    shared->stop.request_stop();
    if (afterCancel == AfterCancel::Wait)
        worker.join();
    else
        worker.detach();
    return false;
}

} // namespace ui
