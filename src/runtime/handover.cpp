#include "runtime/handover.h"

#include <thread>

namespace rt {

namespace {

// Static initialisation runs on the thread that enters main().
const std::thread::id g_mainThread = std::this_thread::get_id();

std::mutex g_handlerMutex;
std::function<void(std::exception_ptr)> g_unhandled;

} // namespace

bool isMainThread()
{
    return std::this_thread::get_id() == g_mainThread;
}

HandOverQueue& HandOverQueue::main()
{
    static HandOverQueue queue;
    return queue;
}

HandOverQueue::~HandOverQueue()
{
    // Only posted calls can still be here: a blocked worker would keep its queue alive.
    for (Call* call : m_calls)
        if (call->mode == Call::Detached)
            delete call;
}

void HandOverQueue::enqueue(Call* call)
{
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(call);
    }
    m_arrived.notify_all();
    // The waker is called under its own lock so that clearing it waits for a call in flight.
    std::lock_guard lock(m_wakerMutex);
    if (m_waker)
        m_waker();
}

void HandOverQueue::synchronize(std::function<void()> fn)
{
    if (isMainThread()) {
        fn();
        return;
    }
    Call call{std::move(fn), Call::Synchronous};
    enqueue(&call);
    std::unique_lock lock(m_mutex);
    m_finished.wait(lock, [&] { return call.done; });
    if (call.error)
        std::rethrow_exception(call.error);
}

void HandOverQueue::send(std::function<void()> fn)
{
    if (isMainThread()) {
        try {
            fn();
        } catch (...) {
            handleUnhandledError(std::current_exception());
        }
        return;
    }
    Call call{std::move(fn), Call::ReleaseOnTake};
    enqueue(&call);
    std::unique_lock lock(m_mutex);
    m_finished.wait(lock, [&] { return call.done; });
}

void HandOverQueue::post(std::function<void()> fn)
{
    enqueue(new Call{std::move(fn), Call::Detached});
}

bool HandOverQueue::runOne()
{
    std::unique_lock lock(m_mutex);
    if (m_calls.empty())
        return false;
    Call* call = m_calls.front();
    m_calls.pop_front();
    if (call->mode == Call::Synchronous) {
        lock.unlock();
        std::exception_ptr error;
        try {
            call->fn();
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        call->error = error;
        call->done = true;
        lock.unlock();
        m_finished.notify_all();
        return true;
    }
    // The worker's record may vanish once it is released, so take the call out first.
    std::function<void()> fn = std::move(call->fn);
    if (call->mode == Call::ReleaseOnTake) {
        call->done = true;
        lock.unlock();
        m_finished.notify_all();
    } else {
        delete call;
        lock.unlock();
    }
    try {
        fn();
    } catch (...) {
        handleUnhandledError(std::current_exception());
    }
    return true;
}

int HandOverQueue::serve()
{
    int count = 0;
    while (runOne())
        ++count;
    return count;
}

void HandOverQueue::serveUntil(const std::function<bool()>& done)
{
    for (;;) {
        serve();
        std::unique_lock lock(m_mutex);
        m_arrived.wait(lock, [&] { return done() || !m_calls.empty(); });
        if (m_calls.empty())
            return;
    }
}

void HandOverQueue::wake()
{
    {
        std::lock_guard lock(m_mutex);
    }
    m_arrived.notify_all();
}

void HandOverQueue::setWaker(std::function<void()> waker)
{
    std::lock_guard lock(m_wakerMutex);
    m_waker = std::move(waker);
}

std::size_t HandOverQueue::pendingCount()
{
    std::lock_guard lock(m_mutex);
    return m_calls.size();
}

void setUnhandledErrorHandler(std::function<void(std::exception_ptr)> handler)
{
    std::lock_guard lock(g_handlerMutex);
    g_unhandled = std::move(handler);
}

void handleUnhandledError(std::exception_ptr error)
{
    std::function<void(std::exception_ptr)> handler;
    {
        std::lock_guard lock(g_handlerMutex);
        handler = g_unhandled;
    }
    if (handler)
        handler(error);
}

} // namespace rt
