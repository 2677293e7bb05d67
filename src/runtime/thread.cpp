#include "runtime/thread.h"

#include "runtime/handover.h"

namespace rt {

Thread::~Thread()
{
    // A derived class must wait in its own destructor while its members still live; this
    // is the last resort for one that did not.
    waitFor();
}

void Thread::start()
{
    if (!m_thread.joinable() && !m_finished.load())
        m_thread = std::thread([this] { run(); });
}

void Thread::run()
{
    try {
        execute();
    } catch (...) {
        m_fatal = std::current_exception();
    }
    m_finished.store(true);
    HandOverQueue::main().wake();
}

void Thread::waitFor()
{
    if (!m_thread.joinable())
        return;
    if (isMainThread())
        HandOverQueue::main().serveUntil([this] { return m_finished.load(); });
    m_thread.join();
}

void Thread::synchronize(std::function<void()> fn)
{
    HandOverQueue::main().synchronize(std::move(fn));
}

} // namespace rt
