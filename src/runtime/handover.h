#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>

namespace rt {

// True on the thread that started the program (the GUI thread).
bool isMainThread();

// Calls that worker threads hand to the GUI thread. A worker posts a call and blocks; the
// GUI thread runs it when woken (the Qt binding posts a queued call; tests pump with
// serve()). No lock is held while a call runs, so a call may post, serve or wait itself.
class HandOverQueue {
public:
    // The program's one queue, served by the GUI thread.
    static HandOverQueue& main();

    HandOverQueue() = default;
    ~HandOverQueue();
    HandOverQueue(const HandOverQueue&) = delete;
    HandOverQueue& operator=(const HandOverQueue&) = delete;

    // Runs fn on the GUI thread and returns once it has run completely; an exception it
    // raises is raised again here. Called on the GUI thread itself, fn runs at once.
    void synchronize(std::function<void()> fn);

    // Hands fn over and returns as soon as the GUI thread has taken it, before it runs.
    // An exception it raises goes to the unhandled-error handler.
    void send(std::function<void()> fn);

    // Queues fn without waiting at all.
    void post(std::function<void()> fn);

    // GUI thread: runs every call pending now and those that arrive meanwhile. Returns
    // how many ran; a wake-up that finds nothing does nothing.
    int serve();

    // GUI thread: serves calls until done() holds. done() is checked under the queue's
    // lock, so whoever makes it true must call wake() afterwards.
    void serveUntil(const std::function<bool()>& done);
    void wake();

    // Called from the posting thread after every post: the toolkit's way to get serve()
    // called on the GUI thread. Empty means nobody is woken (tests pump by hand).
    void setWaker(std::function<void()> waker);

    std::size_t pendingCount();

private:
    struct Call {
        Call(std::function<void()> f, int m)
            : fn(std::move(f))
            , mode(static_cast<Mode>(m))
        {
        }
        std::function<void()> fn;
        enum Mode { Synchronous, ReleaseOnTake, Detached } mode = Synchronous;
        bool done = false;
        std::exception_ptr error;
    };

    void enqueue(Call* call);
    bool runOne();

    std::mutex m_mutex;
    std::condition_variable m_arrived;  // GUI side: a call arrived, or wake()
    std::condition_variable m_finished; // worker side: a call was taken or has run
    std::deque<Call*> m_calls;

    std::mutex m_wakerMutex;
    std::function<void()> m_waker;
};

// Where errors go that cannot travel back to anyone (calls handed over by send()). The Qt
// layer installs the program's report of unhandled errors; by default they are dropped.
void setUnhandledErrorHandler(std::function<void(std::exception_ptr)> handler);
void handleUnhandledError(std::exception_ptr error);

} // namespace rt
