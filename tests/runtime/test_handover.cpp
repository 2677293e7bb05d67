#include "runtime/handover.h"
#include "runtime/thread.h"
#include "support/pump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace {

class LambdaThread : public rt::Thread {
public:
    explicit LambdaThread(std::function<void()> body)
        : m_body(std::move(body))
    {
    }
    ~LambdaThread() override { waitFor(); }

protected:
    void execute() override { m_body(); }

private:
    std::function<void()> m_body;
};

} // namespace

TEST(HandOver, SynchronizeRunsOnTheGuiThreadAndWaitForServesIt)
{
    std::atomic<bool> ranOnGui{false};
    std::atomic<bool> afterCall{false};
    LambdaThread t([&] {
        rt::HandOverQueue::main().synchronize([&] { ranOnGui = rt::isMainThread(); });
        afterCall = true;
    });
    t.start();
    // Without WaitFor serving the queue this would never end.
    t.waitFor();
    EXPECT_TRUE(ranOnGui);
    EXPECT_TRUE(afterCall);
    EXPECT_FALSE(t.fatalException());
}

TEST(HandOver, ExceptionTravelsBackAndEndsTheThreadQuietly)
{
    std::atomic<bool> reachedAfter{false};
    LambdaThread t([&] {
        rt::HandOverQueue::main().synchronize([] { throw std::runtime_error("boom"); });
        reachedAfter = true;
    });
    t.start();
    t.waitFor();
    EXPECT_FALSE(reachedAfter);
    ASSERT_TRUE(t.fatalException());
    EXPECT_THROW(std::rethrow_exception(t.fatalException()), std::runtime_error);
}

TEST(HandOver, SendReleasesTheWorkerBeforeTheCallRuns)
{
    std::atomic<bool> workerGoesOn{false};
    std::atomic<bool> workerSawRelease{false};
    LambdaThread t([&] {
        rt::HandOverQueue::main().send([&] {
            // The worker was released before we run: it can set the flag while we wait.
            for (int i = 0; i < 5000 && !workerGoesOn; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            workerSawRelease = workerGoesOn.load();
        });
        workerGoesOn = true;
    });
    t.start();
    t.waitFor();
    EXPECT_TRUE(workerSawRelease);
}

TEST(HandOver, ErrorsOfSentCallsGoToTheUnhandledErrorHandler)
{
    std::string reported;
    rt::setUnhandledErrorHandler([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& x) {
            reported = x.what();
        }
    });
    LambdaThread t(
        [] { rt::HandOverQueue::main().send([] { throw std::runtime_error("sent"); }); });
    t.start();
    t.waitFor();
    rt::setUnhandledErrorHandler(nullptr);
    EXPECT_EQ(reported, "sent");
}

TEST(HandOver, WakerIsCalledForEveryPostAndAnEmptyServeDoesNothing)
{
    std::atomic<int> wakes{0};
    rt::HandOverQueue::main().setWaker([&] { ++wakes; });
    EXPECT_EQ(rt::HandOverQueue::main().serve(), 0);
    int ran = 0;
    LambdaThread t([&] {
        for (int i = 0; i < 3; ++i)
            rt::HandOverQueue::main().synchronize([&] { ++ran; });
    });
    t.start();
    t.waitFor();
    rt::HandOverQueue::main().setWaker(nullptr);
    EXPECT_EQ(ran, 3);
    EXPECT_EQ(wakes, 3);
}

TEST(HandOver, OnTheGuiThreadSynchronizeRunsAtOnce)
{
    bool ran = false;
    rt::HandOverQueue::main().synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(rt::HandOverQueue::main().pendingCount(), 0u);
}
