// The port over real pseudo-terminals: the termios device, the event thread, and the
// GUI-thread hand-over together.
#include "runtime/handover.h"
#include "serial/comport.h"
#include "serial/comterminal.h"
#include "serial/os/posixdevice.h"
#include "support/ptyline.h"
#include "support/pump.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// A pseudo-terminal whose master plays the device at the other end of the line.
struct Pty : ::testing::Test {
    PtyLine line;
    const std::string& name = line.name();

    void send(const std::string& bytes) { ASSERT_TRUE(line.send(bytes)); }
    std::string receiveAtMaster(std::size_t n) { return line.receive(n); }
    termios lineSettings() { return line.settings(); }
};

} // namespace

TEST_F(Pty, BytesArriveOnTheGuiThreadThroughALink)
{
    TComPort port;
    port.SetPort(name);
    std::string received;
    bool allOnGui = true;
    TComLink link;
    link.OnRxData = [&](TCustomComPort*, const AnsiChar* b, int n) {
        allOnGui = allOnGui && rt::isMainThread();
        received.append(reinterpret_cast<const char*>(b), n);
    };
    port.RegisterLink(&link);
    port.Open();
    send("Chronolite\n");
    send("1 812\n");
    ASSERT_TRUE(pumpUntil([&] { return received.size() == 17; })) << received;
    EXPECT_EQ(received, "Chronolite\n1 812\n");
    EXPECT_TRUE(allOnGui);
    port.Close();
    port.UnregisterLink(&link);
}

TEST_F(Pty, SettingsReachTheLineAtOpenAndWhileOpen)
{
    TComPort port;
    port.SetPort(name);
    port.SetBaudRate(br19200);
    port.Open();
    termios t = lineSettings();
    EXPECT_EQ(cfgetospeed(&t), B19200);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);

    // Size and parity a pseudo-terminal ignores; they are proven by the translation's tests.
    port.BeginUpdate();
    port.SetDataBits(dbSeven);
    port.Parity().SetBits(prEven);
    port.SetStopBits(sbTwoStopBits);
    port.FlowControl().SetFlowControl(fcSoftware);
    port.FlowControl().SetXonChar('Q');
    port.EndUpdate();
    t = lineSettings();
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_TRUE(t.c_iflag & IXON);
    EXPECT_TRUE(t.c_iflag & IXOFF);
    EXPECT_EQ(t.c_cc[VSTART], 'Q');

    port.SetBaudRate(br14400); // no B-constant: the custom path
    port.SetCustomBaudRate(250000);
    port.SetBaudRate(brCustom);
    EXPECT_TRUE(port.Connected());
    port.Close();
}

TEST_F(Pty, NoModemLinesIsNotAnError)
{
    TComPort port;
    port.SetPort(name);
    port.FlowControl().SetControlDTR(dtrEnable);
    port.FlowControl().SetControlRTS(rtsEnable);
    port.Open();
    EXPECT_TRUE(port.ModemSignals().empty());
    EXPECT_TRUE(port.LineErrors().empty());
    EXPECT_EQ(port.InputCount(), 0);
    port.Close();
}

TEST_F(Pty, WritesReachTheOtherEndAndTxEmptyFollows)
{
    TComPort port;
    port.SetPort(name);
    int txEmpty = 0;
    port.OnTxEmpty = [&](TCustomComPort*) { ++txEmpty; };
    port.Open();
    pumpFor(30ms);
    EXPECT_EQ(txEmpty, 0) << "no evTxEmpty before a write";
    EXPECT_EQ(port.WriteText("\x1b[0n"), 4);
    EXPECT_EQ(receiveAtMaster(4), "\x1b[0n");
    ASSERT_TRUE(pumpUntil([&] { return txEmpty > 0; }));
    pumpFor(30ms);
    EXPECT_EQ(txEmpty, 1);
    port.Close();
}

TEST_F(Pty, EventCharRaisesRxFlagAndUnreadBytesDoNotWakeAgain)
{
    TComPort port;
    port.SetPort(name);
    port.SetEventChar('\n');
    int flags = 0;
    std::vector<int> counts;
    port.OnRxFlag = [&](TCustomComPort*) { ++flags; };
    port.OnRxChar = [&](TCustomComPort*, int n) { counts.push_back(n); };
    port.Open();
    send("abc");
    ASSERT_TRUE(pumpUntil([&] { return counts.size() == 1; }));
    pumpFor(30ms);
    EXPECT_EQ(counts.size(), 1u) << "the bytes left queued must not wake the thread again";
    EXPECT_EQ(flags, 0);
    send("d\n");
    ASSERT_TRUE(pumpUntil([&] { return flags == 1; }));
    EXPECT_EQ(counts.back(), 5);
    char buf[16];
    EXPECT_EQ(port.Read(buf, sizeof buf), 5);
    EXPECT_EQ(std::string(buf, 5), "abcd\n");
    port.Close();
}

// The terminal's reply to a cursor request goes back on the line.
TEST_F(Pty, TerminalAnswersTheCursorRequestOnTheLine)
{
    TComPort port;
    port.SetPort(name);
    TComTerminal terminal;
    std::string chars;
    terminal.OnChar = [&](TCustomComTerminal*, char ch) { chars += ch; };
    terminal.SetComPort(&port);
    port.Open();
    send("12\x1b[6n34\r\n");
    ASSERT_TRUE(pumpUntil([&] { return chars.size() == 6; }));
    EXPECT_EQ(chars, "1234\r\n");
    EXPECT_EQ(receiveAtMaster(6), "\x1b[1;3R");
    port.Close();
}

// The other end never reads: the line fills, and a write that runs out of its time is a
// failure with the bytes taken so far, while writing without waiting takes what fits and
// returns at once. The kernel frees room in a full line on its own schedule, so each write is
// bigger than any room it may have freed meanwhile.
TEST_F(Pty, AWriteToAPeerThatNeverReadsTimesOutAsAFailure)
{
    int error = 0;
    std::unique_ptr<serial::CommDevice> device = serial::openPosixDevice(name, error);
    ASSERT_TRUE(device) << error;
    serial::COMMTIMEOUTS t;
    t.ReadIntervalTimeout = 0xFFFFFFFF;
    t.WriteTotalTimeoutConstant = 50;
    ASSERT_EQ(device->setCommTimeouts(t), 0);
    const std::string block(1 << 20, 'x');
    int done = -1;
    EXPECT_EQ(device->write(block.data(), static_cast<int>(block.size()), done), ETIMEDOUT);
    EXPECT_GT(done, 0) << "the line took something before it was full";
    EXPECT_LT(done, static_cast<int>(block.size()));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(device->writeNow(block.data(), static_cast<int>(block.size()), done), 0);
    EXPECT_LT(done, static_cast<int>(block.size())) << "the line took what fits, no more";
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << "no waiting for the peer";
    device.reset();

    TComPort port;
    port.SetPort(name);
    port.Timeouts().SetWriteTotalMultiplier(0);
    port.Timeouts().SetWriteTotalConstant(20);
    port.Open();
    const auto failure = thrown<EComPort>([&] { port.WriteText(block); });
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Code(), 2);
    EXPECT_EQ(failure->WinCode(), ETIMEDOUT);
    EXPECT_LT(port.writeTextNow(block), static_cast<int>(block.size()));
    EXPECT_TRUE(port.Connected());
    port.Close();
}

// A device floods requests and never reads the replies: the terminal gets through the flood
// without waiting for it. Whatever the kernel frees and when, every reply that reaches the
// device is whole: a reply the full line cut short is finished before any later one, and the
// next request the device sends brings out what was left.
TEST_F(Pty, TerminalRepliesNeverWaitForAPeerThatDoesNotRead)
{
    struct Terminal : TComTerminal {
        void receive(const std::string& block)
        {
            rxBuf(reinterpret_cast<const AnsiChar*>(block.data()), static_cast<int>(block.size()));
        }
    } terminal;
    std::string chars;
    terminal.OnChar = [&](TCustomComTerminal*, char ch) { chars += ch; };
    TComPort port;
    port.SetPort(name);
    port.SetEvents({}); // the blocks come straight from the test
    terminal.SetComPort(&port);
    port.Open();
    std::string flood;
    for (int i = 0; i < 5000; ++i)
        flood += "\x1b[c\x1b[6n";
    const auto start = std::chrono::steady_clock::now();
    for (int block = 0; block < 4; ++block)
        terminal.receive(flood + std::to_string(block));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(chars, "0123");

    std::string replies;
    for (std::string got; !(got = line.receive(1 << 16, 200ms)).empty();)
        replies += got;
    ASSERT_GT(replies.size(), 1000u);
    ASSERT_LT(replies.size(), 4 * 5000 * 13u) << "the line was never full";
    terminal.receive("\x1b[5n");
    const std::string status = "\x1b[0n";
    while (replies.size() < status.size() ||
           replies.compare(replies.size() - status.size(), status.size(), status) != 0) {
        const std::string got = line.receive(1 << 16);
        ASSERT_FALSE(got.empty()) << "the status reply never came";
        replies += got;
    }

    const std::string ident = "\x1b[?1;2c", position = "\x1b[1;1R";
    std::size_t at = 0;
    while (at < replies.size()) {
        const auto whole = [&](const std::string& reply) {
            return replies.compare(at, reply.size(), reply) == 0;
        };
        const std::string& next = whole(ident) ? ident : whole(position) ? position : status;
        ASSERT_TRUE(whole(next)) << "a reply cut at " << at << ": "
                                 << testing::PrintToString(replies.substr(at, 16));
        at += next.size();
    }
    port.Close();
}

TEST_F(Pty, ClosingWhileAHandOverIsPendingDeliversItOnce)
{
    TComPort port;
    port.SetPort(name);
    std::vector<std::string> order;
    TComLink link;
    link.OnRxData = [&](TCustomComPort* p, const AnsiChar* b, int n) {
        order.push_back(std::string(reinterpret_cast<const char*>(b), n) +
                        (p->Connected() ? ":open" : ":closed"));
    };
    port.RegisterLink(&link);
    port.OnBeforeClose = [&](TCustomComPort*) { order.push_back("beforeClose"); };
    port.OnAfterClose = [&](TCustomComPort*) { order.push_back("afterClose"); };
    port.Open();
    send("123");
    for (int i = 0; i < 5000 && rt::HandOverQueue::main().pendingCount() == 0; ++i)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(rt::HandOverQueue::main().pendingCount(), 1u);
    port.Close();
    EXPECT_EQ(order, (std::vector<std::string>{"beforeClose", "123:open", "afterClose"}));
    EXPECT_EQ(rt::HandOverQueue::main().pendingCount(), 0u);
    port.UnregisterLink(&link);
}

TEST_F(Pty, TheOtherEndClosingMidStreamStopsDeliveryAndCloseWorks)
{
    TComPort port;
    port.SetPort(name);
    std::string received;
    TComLink link;
    link.OnRxData = [&](TCustomComPort*, const AnsiChar* b, int n) {
        received.append(reinterpret_cast<const char*>(b), n);
    };
    port.RegisterLink(&link);
    port.Open();
    send("first part");
    ASSERT_TRUE(pumpUntil([&] { return received == "first part"; }));
    line.hangUp();
    pumpFor(50ms);
    EXPECT_TRUE(port.Connected());
    EXPECT_THROW(port.WriteText("x"), EComPort);
    port.Close();
    EXPECT_FALSE(port.Connected());
    port.UnregisterLink(&link);
}

TEST_F(Pty, ABusyPortFailsToOpenWithCode1)
{
    TComPort first;
    first.SetPort(name);
    first.Open();
    TComPort second;
    second.SetPort(name);
    const auto e = thrown<EComPort>([&] { second.Open(); });
    ASSERT_TRUE(e) << "opened a busy port";
    EXPECT_EQ(e->Code(), 1);
    EXPECT_EQ(e->WinCode(), EWOULDBLOCK);
    EXPECT_FALSE(second.Connected());
    first.Close();
    second.Open(); // free again
    EXPECT_TRUE(second.Connected());
}

TEST_F(Pty, ANormalUserCanOpenTheLineAfterTheProgramClosedIt)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to switch to an unprivileged user with setpriv";
    if (access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "setpriv (util-linux) is not installed";
    ASSERT_EQ(chmod(name.c_str(), 0666), 0);
    TComPort port;
    port.SetPort(name);
    port.Open();
    port.Close();
    const std::string command = "/usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups "
                                "/bin/sh -c 'exec 3<>" +
                                name + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << "the exclusive flag outlived the close";
}

TEST(PtyMissing, AMissingDeviceRaisesCode1WithENOENT)
{
    TComPort port;
    port.SetPort("ttyVexorelMissing");
    const auto e = thrown<EComPort>([&] { port.Open(); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Code(), 1);
    EXPECT_EQ(e->WinCode(), ENOENT);
    EXPECT_STREQ(e->what(), "Unable to open com port (win error code: 2)");
}

TEST_F(Pty, ModemLineEventsAreQuietWithoutLinesAndOpenCloseStayFine)
{
    TComPort port;
    port.SetPort(name);
    port.SetEvents(allComEvents);
    port.SetReportRxCount(false);
    // Opening reports the lines as they are (all off here); nothing may claim a line on.
    int lineEvents = 0;
    port.OnCTSChange = [&](TCustomComPort*, bool on) { lineEvents += on; };
    port.OnDSRChange = [&](TCustomComPort*, bool on) { lineEvents += on; };
    port.OnRLSDChange = [&](TCustomComPort*, bool on) { lineEvents += on; };
    port.OnRing = [&](TCustomComPort*) { ++lineEvents; };
    std::string received;
    port.OnRxBuf = [&](TCustomComPort*, const AnsiChar* b, int n) {
        received.append(reinterpret_cast<const char*>(b), static_cast<std::size_t>(n));
    };
    for (int round = 0; round < 10; ++round) {
        port.Open();
        send("x");
        ASSERT_TRUE(pumpUntil([&] { return received.size() == std::size_t(round + 1); }))
            << "round " << round << " got " << received.size();
        port.Close();
    }
    EXPECT_EQ(lineEvents, 0);
}
