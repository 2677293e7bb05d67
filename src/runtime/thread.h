#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <thread>

namespace rt {

// A worker thread with a body to override. waitFor() on the GUI thread keeps serving the
// hand-over queue while it waits, so a worker blocked in a hand-over can finish and end.
// An exception that leaves execute() ends the thread quietly; fatalException() keeps it.
class Thread {
public:
    Thread() = default;
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Threads are created suspended; start() lets the body run (once).
    void start();
    // Returns once the body has ended; harmless when it has ended or never started.
    void waitFor();

    std::exception_ptr fatalException() const { return m_fatal; }

protected:
    virtual void execute() = 0;
    // Runs fn on the GUI thread and blocks until it has run.
    static void synchronize(std::function<void()> fn);

private:
    void run();

    std::thread m_thread;
    std::atomic<bool> m_finished{false};
    std::exception_ptr m_fatal; // written by the thread before m_finished, read after join
};

} // namespace rt
