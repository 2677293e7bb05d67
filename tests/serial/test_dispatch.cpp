// The event thread over the fake device: what one wake-up delivers, in which order, on
// which thread, and how an exception ends it.
#include "runtime/handover.h"
#include "serial/comport.h"
#include "serial/os/fakedevice.h"
#include "support/pump.h"

#include <gtest/gtest.h>

#include <thread>

using namespace serial;
using namespace std::chrono_literals;

namespace {

struct Dispatch : ::testing::Test {
    // Written by handlers; under smThreadSync they run here, on the "GUI" thread.
    std::vector<std::string> log;
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    TComPort port;

    Dispatch() { port.setDeviceOpener(fakeOpener(line)); }

    std::function<void(TCustomComPort*)> record(const char* what)
    {
        return [this, what](TCustomComPort*) { log.push_back(what); };
    }

    bool waitForLog(std::size_t n)
    {
        return pumpUntil([&] { return log.size() >= n; });
    }
};

std::string text(const AnsiChar* b, int n)
{
    return std::string(reinterpret_cast<const char*>(b), n);
}

} // namespace

TEST_F(Dispatch, OpeningSetsTheEventMaskAndClosingClearsAndPurges)
{
    port.SetEvents({evRxChar});
    port.Open();
    port.Close();
    const auto calls = line->calls();
    auto has = [&](const std::string& c) {
        return std::find(calls.begin(), calls.end(), c) != calls.end();
    };
    EXPECT_TRUE(has("setCommMask 1"));
    EXPECT_TRUE(has("setCommMask 0"));
    EXPECT_TRUE(has("purge 12"));
    EXPECT_EQ(calls.back(), "close");
}

// The port processes one wake-up itself under smThreadSync and gets one hand-over per event
// under smWindowSync; both must keep the same order.
TEST_F(Dispatch, SeveralEventsOfOneWakeUpComeInTheFixedOrder)
{
    port.OnError = [this](TCustomComPort*, TComErrors e) {
        log.push_back(e == TComErrors{ceFrame} ? "error" : "error?");
    };
    port.OnRxChar = [this](TCustomComPort*, int n) { log.push_back("rx" + std::to_string(n)); };
    port.OnTxEmpty = record("txEmpty");
    port.OnBreak = record("break");
    port.OnRing = record("ring");
    port.OnCTSChange = [this](TCustomComPort*, bool on) { log.push_back(on ? "cts+" : "cts-"); };
    port.OnRxFlag = record("rxFlag");
    port.OnRx80Full = record("80full");
    for (TSyncMethod method : {smThreadSync, smWindowSync}) {
        SCOPED_TRACE(method);
        line->setErrors(CE_FRAME);
        line->setModemStatus(MS_CTS_ON);
        port.SetSyncMethod(method);
        port.Open();
        log.clear();
        line->receive("12345", false);
        line->raise(EV_RX80FULL | EV_RXFLAG | EV_CTS | EV_RING | EV_BREAK | EV_TXEMPTY | EV_RXCHAR |
                    EV_ERR);
        ASSERT_TRUE(waitForLog(8));
        EXPECT_EQ(log, (std::vector<std::string>{"error", "rx5", "txEmpty", "break", "ring", "cts+",
                                                 "rxFlag", "80full"}));
        port.Close();
    }
}

TEST_F(Dispatch, EventsWithNothingBehindThemFireNothing)
{
    TComLink link;
    link.OnRxActivity = [this](TCustomComPort*, bool) { log.push_back("activity"); };
    port.RegisterLink(&link);
    port.OnError = [this](TCustomComPort*, TComErrors) { log.push_back("error"); };
    port.OnRxChar = [this](TCustomComPort*, int) { log.push_back("rxChar"); };
    port.OnRing = record("ring");
    port.Open();
    line->raise(EV_ERR | EV_RXCHAR | EV_RING); // no line errors, an empty queue
    ASSERT_TRUE(waitForLog(1));
    pumpFor(20ms);
    EXPECT_EQ(log, std::vector<std::string>{"ring"});
    port.Close();
    port.UnregisterLink(&link);
}

// The receive path: who reads, who hears about it.
struct RxCase {
    const char* name;
    int links; // links with OnRxData
    bool reportRxCount;
    std::vector<std::string> expected;
    std::size_t leftQueued;
};

class ReceivePath : public Dispatch, public ::testing::WithParamInterface<RxCase> {};

TEST_P(ReceivePath, DeliversAsConfigured)
{
    const RxCase& c = GetParam();
    std::vector<TComLink> links(2);
    for (int i = 0; i < 2; ++i) {
        links[i].OnRxActivity = [this, i](TCustomComPort*, bool on) {
            log.push_back("link" + std::to_string(i) + (on ? ":active" : ":idle"));
        };
        if (i < c.links)
            links[i].OnRxData = [this, i](TCustomComPort*, const AnsiChar* b, int n) {
                log.push_back("link" + std::to_string(i) + ":" + text(b, n));
            };
    }
    for (int i = 0; i < std::max(c.links, 1); ++i)
        port.RegisterLink(&links[i]);
    port.SetReportRxCount(c.reportRxCount);
    port.OnRxBuf = [this](TCustomComPort*, const AnsiChar* b, int n) {
        log.push_back("rxBuf:" + text(b, n));
    };
    port.OnRxChar = [this](TCustomComPort*, int n) {
        log.push_back("rxChar:" + std::to_string(n));
    };
    port.Open();
    log.clear();
    line->receive("hello");
    ASSERT_TRUE(waitForLog(c.expected.size()));
    pumpFor(20ms);
    EXPECT_EQ(log, c.expected);
    EXPECT_EQ(port.InputCount(), static_cast<int>(c.leftQueued));
    port.Close();
    for (int i = 0; i < std::max(c.links, 1); ++i)
        port.UnregisterLink(&links[i]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReceivePath,
    ::testing::Values(RxCase{"OneLinkTakesTheBytes",
                             1,
                             true,
                             {"link0:active", "link0:idle", "rxBuf:hello", "link0:hello"},
                             0},
                      RxCase{"TwoLinksShareOneRead",
                             2,
                             true,
                             {"link0:active", "link1:active", "link0:idle", "link1:idle",
                              "rxBuf:hello", "link0:hello", "link1:hello"},
                             0},
                      RxCase{"NoReaderReportsTheCount", 0, true, {"link0:active", "rxChar:5"}, 5},
                      RxCase{"NoReaderButNoCountReadsItself",
                             0,
                             false,
                             {"link0:active", "link0:idle", "rxBuf:hello"},
                             0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Dispatch, HandlersRunOnTheGuiThreadUnderThreadSyncAndWindowSync)
{
    for (TSyncMethod method : {smThreadSync, smWindowSync}) {
        port.SetSyncMethod(method);
        bool onGui = false;
        port.OnRing = [&](TCustomComPort*) {
            onGui = rt::isMainThread();
            log.push_back("ring");
        };
        port.Open();
        log.clear();
        line->raise(EV_RING);
        ASSERT_TRUE(waitForLog(1));
        EXPECT_TRUE(onGui) << method;
        port.Close();
    }
}

TEST_F(Dispatch, WindowSyncRlsdSendsOneMessageAndReadsTheLine)
{
    port.SetSyncMethod(smWindowSync);
    line->setModemStatus(MS_RLSD_ON);
    port.OnRLSDChange = [this](TCustomComPort*, bool on) { log.push_back(on ? "rlsd+" : "rlsd-"); };
    port.Open();
    log.clear();
    line->raise(EV_RLSD);
    ASSERT_TRUE(waitForLog(1));
    pumpFor(20ms);
    EXPECT_EQ(log, std::vector<std::string>{"rlsd+"});
    port.Close();
}

TEST_F(Dispatch, WindowSyncErrorsGoToTheReportAndTheThreadGoesOn)
{
    std::vector<std::string> reported;
    rt::setUnhandledErrorHandler([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& x) {
            reported.push_back(x.what());
        }
    });
    port.SetSyncMethod(smWindowSync);
    port.OnRing = [](TCustomComPort*) { throw std::runtime_error("handler failed"); };
    port.OnBreak = record("break");
    port.Open();
    line->raise(EV_RING);
    ASSERT_TRUE(pumpUntil([&] { return !reported.empty(); }));
    line->raise(EV_BREAK);
    ASSERT_TRUE(waitForLog(1));
    port.Close();
    rt::setUnhandledErrorHandler(nullptr);
    EXPECT_EQ(reported, std::vector<std::string>{"handler failed"});
}

TEST_F(Dispatch, AnExceptionEndsTheThreadSilentlyAndClosingStillWorks)
{
    for (TSyncMethod method : {smThreadSync, smNone}) {
        std::atomic<int> rings{0};
        port.SetSyncMethod(method);
        port.OnRing = [&](TCustomComPort*) {
            ++rings;
            throw std::runtime_error("handler failed");
        };
        port.Open();
        line->raise(EV_RING);
        ASSERT_TRUE(pumpUntil([&] { return rings.load() == 1; }));
        pumpFor(20ms);
        line->raise(EV_RING);
        pumpFor(50ms);
        EXPECT_EQ(rings.load(), 1) << "no event after the exception, method " << method;
        EXPECT_TRUE(port.Connected());
        port.Close();
        EXPECT_FALSE(port.Connected());
        port.OnRing = nullptr;
    }
}

TEST_F(Dispatch, ReadFailureInTheReceivePathEndsTheThread)
{
    TComLink link;
    link.OnRxData = [this](TCustomComPort*, const AnsiChar*, int) { log.push_back("data"); };
    port.RegisterLink(&link);
    line->fail("read", EIO);
    port.Open();
    line->receive("x");
    pumpFor(50ms);
    line->fail("read", 0);
    line->receive("y");
    pumpFor(50ms);
    EXPECT_TRUE(log.empty());
    port.Close();
    port.UnregisterLink(&link);
}

TEST_F(Dispatch, ClosingFromInsideItsOwnHandlerDoesNotDeadlock)
{
    port.OnRing = [this](TCustomComPort* p) {
        log.push_back("ring");
        p->Close();
        log.push_back(p->Connected() ? "open" : "closed");
    };
    port.Open();
    line->raise(EV_RING);
    ASSERT_TRUE(waitForLog(2));
    EXPECT_EQ(log, (std::vector<std::string>{"ring", "closed"}));
    // The retired thread is released on its own schedule; the device closes once it is.
    EXPECT_TRUE(pumpUntil([&] { return line->calls().back() == "close"; }));
    // The port opens again as usual.
    log.clear();
    port.OnRing = record("ring again");
    port.Open();
    line->raise(EV_RING);
    ASSERT_TRUE(waitForLog(1));
    port.Close();
}

TEST_F(Dispatch, UnderNoSyncAHandlerThatClosesWaitsUntilTheOpeningIsDone)
{
    port.SetSyncMethod(smNone);
    std::atomic<bool> openingDone{false};
    std::atomic<bool> ringAfterOpening{false};
    std::atomic<int> rings{0};
    // Keeps the opening busy long enough for an early event to slip in.
    port.OnAfterOpen = [](TCustomComPort*) { std::this_thread::sleep_for(30ms); };
    port.OnRLSDChange = [&](TCustomComPort*, bool) { openingDone = true; };
    port.OnRing = [&](TCustomComPort* p) {
        ringAfterOpening = openingDone.load();
        p->Close();
        ++rings;
    };
    line->raise(EV_RING); // already waiting when the event thread starts
    EXPECT_NO_THROW(port.Open());
    ASSERT_TRUE(pumpUntil([&] { return rings.load() == 1; }));
    EXPECT_TRUE(ringAfterOpening);
    EXPECT_FALSE(port.Connected());
    // The retired thread is released on its own schedule; the device closes once it is.
    EXPECT_TRUE(pumpUntil([&] { return line->calls().back() == "close"; }));
}

namespace {

struct LineEvent {
    const char* name;
    std::uint32_t event;
    std::uint32_t status; // modem status at the wake-up
    std::string expected; // port handler, then link slot
};

std::ostream& operator<<(std::ostream& os, const LineEvent& e)
{
    return os << e.name;
}

class ModemLines : public Dispatch, public ::testing::WithParamInterface<LineEvent> {};

} // namespace

TEST_P(ModemLines, ReachTheHandlerAndTheLinkWithTheLineState)
{
    auto onOff = [this](const char* what) {
        return [this, what](TCustomComPort*, bool on) {
            log.push_back(std::string(what) + (on ? "+" : "-"));
        };
    };
    port.OnCTSChange = onOff("cts");
    port.OnDSRChange = onOff("dsr");
    port.OnRLSDChange = onOff("rlsd");
    port.OnRing = record("ring");
    TComLink link;
    link.OnCTSChange = onOff("link cts");
    link.OnDSRChange = onOff("link dsr");
    link.OnRLSDChange = onOff("link rlsd");
    link.OnRing = record("link ring");
    port.RegisterLink(&link);
    port.Open();
    // Opening reports the lines as they are first: three signals, each to link and port.
    ASSERT_TRUE(waitForLog(6));
    log.clear();
    line->setModemStatus(GetParam().status);
    line->raise(GetParam().event);
    ASSERT_TRUE(waitForLog(2));
    std::string got;
    for (const auto& entry : log)
        got += (got.empty() ? "" : ", ") + entry;
    EXPECT_EQ(got, GetParam().expected);
    port.Close();
    port.UnregisterLink(&link);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ModemLines,
    ::testing::Values(LineEvent{"CtsOn", EV_CTS, MS_CTS_ON, "link cts+, cts+"},
                      LineEvent{"CtsOff", EV_CTS, MS_DSR_ON, "link cts-, cts-"},
                      LineEvent{"DsrOn", EV_DSR, MS_DSR_ON, "link dsr+, dsr+"},
                      LineEvent{"RlsdOn", EV_RLSD, MS_RLSD_ON, "link rlsd+, rlsd+"},
                      LineEvent{"RlsdOff", EV_RLSD, 0, "link rlsd-, rlsd-"},
                      LineEvent{"Ring", EV_RING, MS_RING_ON, "link ring, ring"}),
    [](const auto& info) { return std::string(info.param.name); });
