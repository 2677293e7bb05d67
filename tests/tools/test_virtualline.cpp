// The simulator over real pseudo-terminals, read the way the program reads a port.
#include "chronolite-sim/session.h"
#include "chronolite-sim/virtualline.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <poll.h>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace chronosim;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// A port opened the way the program opens one, released the way it releases one.
class Port {
public:
    explicit Port(const std::string& path)
        : m_fd(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
    {
        if (m_fd < 0)
            return;
        ioctl(m_fd, TIOCEXCL);
        termios t{};
        tcgetattr(m_fd, &t);
        found = t;
        cfmakeraw(&t);
        tcsetattr(m_fd, TCSANOW, &t);
    }
    ~Port() { release(); }
    void release()
    {
        if (m_fd < 0)
            return;
        ioctl(m_fd, TIOCNXCL);
        close(m_fd);
        m_fd = -1;
    }
    int fd() const { return m_fd; }
    termios found{}; // the settings the port had when opened

    struct Arrival {
        Clock::time_point at;
        std::string bytes;
    };
    // Everything until `silence` passes without a byte; answers status requests if asked.
    std::vector<Arrival> readUntilSilence(std::chrono::milliseconds silence, bool answer = false)
    {
        std::vector<Arrival> got;
        for (;;) {
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(silence.count())) <= 0)
                return got;
            char buf[4096];
            const ssize_t n = read(m_fd, buf, sizeof buf);
            if (n <= 0)
                return got;
            got.push_back({Clock::now(), std::string(buf, static_cast<std::size_t>(n))});
            if (answer && got.back().bytes.find("\x1b[5n") != std::string::npos) {
                EXPECT_EQ(write(m_fd, "\x1b[0n", 4), 4);
            }
        }
    }
    // One read, waiting up to `limit` for it.
    std::string readSome(std::chrono::milliseconds limit)
    {
        pollfd p{m_fd, POLLIN, 0};
        char buf[4096];
        if (poll(&p, 1, static_cast<int>(limit.count())) <= 0)
            return {};
        const ssize_t n = read(m_fd, buf, sizeof buf);
        return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
    }
    std::string readAll(std::chrono::milliseconds silence = 300ms)
    {
        std::string all;
        for (const auto& a : readUntilSilence(silence))
            all += a.bytes;
        return all;
    }

private:
    int m_fd = -1;
};

std::vector<std::string> crlfLines(std::string_view bytes, std::string& rest)
{
    std::vector<std::string> lines;
    for (std::size_t end; (end = bytes.find("\r\n")) != bytes.npos; bytes.remove_prefix(end + 2))
        lines.emplace_back(bytes.substr(0, end));
    rest = std::string(bytes);
    return lines;
}

struct Served : ::testing::Test {
    VirtualLine line;
    int stop[2] = {-1, -1};
    std::ostringstream log;
    std::future<SessionResult> session;

    void SetUp() override { ASSERT_EQ(pipe2(stop, O_CLOEXEC), 0); }
    void TearDown() override
    {
        if (session.valid()) {
            EXPECT_EQ(write(stop[1], "x", 1), 1);
            session.wait();
        }
        close(stop[0]);
        close(stop[1]);
    }
    void serve(const Transmission& t, int writeTimeoutMs = 2000)
    {
        session = std::async(std::launch::async, [this, t, writeTimeoutMs] {
            return serveSession(line, t, writeTimeoutMs, stop[0], log);
        });
    }
    SessionResult result(std::chrono::seconds limit = 5s)
    {
        if (session.wait_for(limit) != std::future_status::ready) {
            ADD_FAILURE() << "the session did not end";
            return {};
        }
        return session.get();
    }
};

Options generated(int shots, int paceMs)
{
    Options o;
    o.shots = shots;
    o.paceMs = paceMs;
    return o;
}

} // namespace

TEST_F(Served, TheLineIsRawFromTheStartAndItsOpeningIsSeen)
{
    EXPECT_FALSE(line.isOpenedByProgram());
    {
        Port port(line.slavePath());
        ASSERT_GE(port.fd(), 0) << strerror(errno);
        EXPECT_TRUE(line.isOpenedByProgram());
        // Cooked mode would turn the device's CR into LF and echo the program's replies.
        EXPECT_EQ(port.found.c_iflag & (ICRNL | IXON | INLCR | IGNCR), 0u);
        EXPECT_EQ(port.found.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(port.found.c_oflag & OPOST, 0u);
    }
    EXPECT_FALSE(line.isOpenedByProgram());
}

TEST_F(Served, ADownloadBringsTwoHeaderLinesAndTheShots)
{
    const auto t = generatedTransmission(generated(10, 5), 99);
    serve(t);
    std::this_thread::sleep_for(100ms); // the program opens the line some time after the start

    Port port(line.slavePath());
    ASSERT_GE(port.fd(), 0);
    const std::string bytes = port.readAll();
    port.release();

    std::string rest;
    const auto lines = crlfLines(bytes, rest);
    EXPECT_EQ(rest, "");
    ASSERT_EQ(lines.size(), 12u) << bytes;
    EXPECT_EQ(lines[0] + "\r\n", headerLines()[0]);
    EXPECT_EQ(lines[1] + "\r\n", headerLines()[1]);
    const auto expected = velocities(10, 300, 3, 99);
    for (int i = 0; i < 10; ++i) {
        const auto& l = lines[2 + i];
        EXPECT_EQ(l.find('\n'), l.npos);
        const std::string_view text = std::string_view(l).substr(l.rfind(' ') + 1);
        int v = -1;
        const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        EXPECT_TRUE(ec == std::errc() && p == text.data() + text.size()) << l;
        EXPECT_EQ(v, expected[i]);
        EXPECT_EQ(std::stoi(l), i + 1);
    }

    const auto r = result();
    EXPECT_EQ(r.outcome, Outcome::done) << log.str();
    EXPECT_EQ(r.piecesSent, 12u);
}

TEST_F(Served, APauseSplitsTheTransmission)
{
    Options o = generated(6, 5);
    o.pauseAfter = 3;
    o.pauseMs = 350;
    serve(generatedTransmission(o, 1));
    Port port(line.slavePath());
    const auto arrivals = port.readUntilSilence(600ms);
    port.release();

    std::string all;
    std::optional<Clock::time_point> lastBeforePause, firstAfterPause;
    for (const auto& a : arrivals) {
        all += a.bytes;
        if (all.find("  4   ") == all.npos)
            lastBeforePause = a.at;
        else if (!firstAfterPause)
            firstAfterPause = a.at;
    }
    ASSERT_TRUE(firstAfterPause);
    ASSERT_TRUE(lastBeforePause);
    EXPECT_GE(*firstAfterPause - *lastBeforePause, 300ms);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 8);
    EXPECT_EQ(result().outcome, Outcome::done);
}

TEST_F(Served, RepliesOfTheProgramAreReadAndReported)
{
    Options o = generated(3, 5);
    o.escape = true;
    serve(generatedTransmission(o, 1));
    Port port(line.slavePath());
    port.readUntilSilence(300ms, true);
    port.release();
    EXPECT_EQ(result().outcome, Outcome::done);
    EXPECT_NE(log.str().find("program wrote: ESC[0n"), std::string::npos) << log.str();
    EXPECT_EQ(visible(std::string("\x1b[1;1R\0\x7f", 8)), "ESC[1;1R\\x00\\x7F");
}

TEST_F(Served, AProgramThatNeverReadsCannotHoldTheSimulator)
{
    Options o = generated(0, 0);
    serve(rawTransmission(std::string(1 << 20, 'x'), o), 200);
    Port port(line.slavePath());
    const auto r = result();
    EXPECT_EQ(r.outcome, Outcome::writeTimeout);
    EXPECT_LT(r.piecesSent, 256u);
    EXPECT_NE(r.detail.find("200 ms"), std::string::npos);
}

TEST_F(Served, StopWhileWaitingAndWhileSending)
{
    serve(generatedTransmission(generated(5, 5), 1));
    std::this_thread::sleep_for(50ms);
    ASSERT_EQ(write(stop[1], "x", 1), 1);
    EXPECT_EQ(result(1s).outcome, Outcome::stopped);

    char drained;
    ASSERT_EQ(read(stop[0], &drained, 1), 1);
    serve(generatedTransmission(generated(100, 50), 1));
    Port port(line.slavePath());
    EXPECT_NE(port.readSome(1s), "");
    ASSERT_EQ(write(stop[1], "x", 1), 1);
    EXPECT_EQ(result(1s).outcome, Outcome::stopped);
}

TEST_F(Served, AfterAnEarlyCloseTheNextSessionStartsClean)
{
    const auto t = generatedTransmission(generated(40, 20), 3);
    serve(t);
    {
        // The program stops mid-transmission, with lines arrived that it never read.
        Port port(line.slavePath());
        std::string got;
        for (int i = 0; i < 10 && std::count(got.begin(), got.end(), '\n') < 4; ++i)
            got += port.readSome(1s);
        std::this_thread::sleep_for(100ms);
    }
    const auto first = result();
    EXPECT_EQ(first.outcome, Outcome::closedEarly);
    EXPECT_NE(first.detail.find("of 42 lines"), std::string::npos) << first.detail;

    EXPECT_TRUE(line.reset());
    EXPECT_FALSE(line.isOpenedByProgram());
    const auto short_ = generatedTransmission(generated(2, 5), 3);
    serve(short_);
    Port again(line.slavePath());
    ASSERT_GE(again.fd(), 0);
    EXPECT_EQ(again.readAll(), joined(short_)); // nothing left over from the stopped session
    again.release();
    EXPECT_EQ(result().outcome, Outcome::done);
}

TEST(SimLink, MadeRemovedAndNeverStealingAFile)
{
    TempDir dir;
    const std::string path = dir.file("ttyCHRONO0");
    {
        auto a = makeLink(path, "/dev/pts/4242");
        ASSERT_EQ(a.status, LinkStatus::created) << a.message;
        char target[64] = {};
        ASSERT_GT(readlink(path.c_str(), target, sizeof target - 1), 0);
        EXPECT_STREQ(target, "/dev/pts/4242");
    }
    struct stat st {};
    EXPECT_NE(lstat(path.c_str(), &st), 0) << "the link goes with the simulator";

    // Left behind by a run that was killed: its line no longer exists.
    ASSERT_EQ(symlink("/dev/pts/987654", path.c_str()), 0);
    {
        auto a = makeLink(path, "/dev/pts/4242");
        EXPECT_EQ(a.status, LinkStatus::created) << a.message;
        // Someone replaced it meanwhile: theirs stays.
        unlink(path.c_str());
        ASSERT_EQ(symlink("/dev/pts/777", path.c_str()), 0);
    }
    EXPECT_EQ(lstat(path.c_str(), &st), 0);
    unlink(path.c_str());

    // A line that exists may belong to another simulator; a plain file is nobody's link.
    VirtualLine other;
    ASSERT_EQ(symlink(other.slavePath().c_str(), path.c_str()), 0);
    auto busy = makeLink(path, "/dev/pts/4242");
    EXPECT_EQ(busy.status, LinkStatus::occupied);
    EXPECT_FALSE(busy.link);
    EXPECT_NE(busy.message.find(other.slavePath()), std::string::npos);
    unlink(path.c_str());
    dir.write("ttyCHRONO0", "data");
    EXPECT_EQ(makeLink(path, "/dev/pts/4242").status, LinkStatus::occupied);
    EXPECT_EQ(readBytes(path), "data");

    const auto missing = makeLink(dir.file("no/such/dir"), "/dev/pts/4242");
    EXPECT_EQ(missing.status, LinkStatus::failed);
    EXPECT_NE(missing.message.find("/dev/pts/4242 directly"), std::string::npos);
}
