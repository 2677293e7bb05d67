#include "chronolite-sim/session.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace chronosim {

namespace {

using Clock = std::chrono::steady_clock;

enum class Event { elapsed, writable, closed, stopped, failed };

class Player {
public:
    Player(int master, int stopFd, std::ostream& log)
        : m_master(master)
        , m_stopFd(stopFd)
        , m_log(log)
    {
    }

    // Until the deadline, or sooner when the master becomes writable if asked. Serves the
    // program's replies meanwhile. A deadline already past still looks at the line once.
    Event waitUntil(Clock::time_point deadline, bool wantWritable = false)
    {
        for (;;) {
            pollfd fds[2] = {
                {m_master, static_cast<short>(POLLIN | (wantWritable ? POLLOUT : 0)), 0},
                {m_stopFd, POLLIN, 0}};
            int timeout = -1;
            if (deadline != Clock::time_point::max()) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
                timeout = static_cast<int>(std::clamp<long long>(left.count(), 0, 60'000));
            }
            const int n = poll(fds, 2, timeout);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                m_error = std::string("poll: ") + std::strerror(errno);
                return Event::failed;
            }
            if (fds[1].revents != 0)
                return Event::stopped;
            if ((fds[0].revents & POLLIN) != 0 && !drainReplies())
                return Event::closed;
            if ((fds[0].revents & (POLLHUP | POLLERR)) != 0)
                return Event::closed;
            if ((fds[0].revents & POLLOUT) != 0)
                return Event::writable;
            if (timeout >= 0 && Clock::now() >= deadline)
                return Event::elapsed;
        }
    }

    Event waitForOpen()
    {
        // POLLHUP stays set while nobody has the line open, so poll cannot wait for it to
        // clear; look again every few milliseconds instead.
        for (;;) {
            pollfd line{m_master, POLLIN, 0};
            if (poll(&line, 1, 0) < 0) {
                if (errno == EINTR)
                    continue;
                m_error = std::string("poll: ") + std::strerror(errno);
                return Event::failed;
            }
            if ((line.revents & POLLIN) != 0)
                drainReplies();
            if ((line.revents & POLLHUP) == 0)
                return Event::elapsed;
            pollfd stop{m_stopFd, POLLIN, 0};
            if (poll(&stop, 1, 10) > 0)
                return Event::stopped;
        }
    }

    Event write(std::string_view bytes, int timeoutMs)
    {
        auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!bytes.empty()) {
            const ssize_t n = ::write(m_master, bytes.data(), bytes.size());
            if (n > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(n));
                deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
                continue;
            }
            if (n < 0 && errno == EIO)
                return Event::closed;
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                m_error = std::string("write: ") + std::strerror(errno);
                return Event::failed;
            }
            if (const Event e = waitUntil(deadline, true); e != Event::writable)
                return e;
        }
        return Event::writable;
    }

    const std::string& error() const { return m_error; }

private:
    // False when the line turned out to be closed.
    bool drainReplies()
    {
        char buf[512];
        for (;;) {
            const ssize_t n = read(m_master, buf, sizeof buf);
            if (n > 0) {
                m_log << "program wrote: " << visible({buf, static_cast<std::size_t>(n)}) << '\n';
                continue;
            }
            return !(n < 0 && errno == EIO);
        }
    }

    int m_master;
    int m_stopFd;
    std::ostream& m_log;
    std::string m_error;
};

} // namespace

SessionResult serveSession(const VirtualLine& line, const Transmission& transmission,
                           int writeTimeoutMs, int stopFd, std::ostream& log)
{
    Player player(line.master(), stopFd, log);
    SessionResult result;
    const auto finish = [&](Event e) {
        switch (e) {
        case Event::stopped:
            result.outcome = Outcome::stopped;
            break;
        case Event::closed:
            result.outcome = Outcome::closedEarly;
            result.detail = "the program closed the line after " +
                            std::to_string(result.piecesSent) + " of " +
                            std::to_string(transmission.size()) + " lines";
            break;
        case Event::elapsed:
            result.outcome = Outcome::writeTimeout;
            result.detail = "the program took no data for " + std::to_string(writeTimeoutMs) +
                            " ms; gave up after " + std::to_string(result.piecesSent) + " of " +
                            std::to_string(transmission.size()) + " lines";
            break;
        default:
            result.outcome = Outcome::failed;
            result.detail = player.error();
        }
        return result;
    };

    log << "waiting for a program to open " << line.slavePath() << '\n';
    if (const Event e = player.waitForOpen(); e != Event::elapsed)
        return finish(e);
    log << "line opened: chronograph switched on\n";

    for (const auto& piece : transmission) {
        const auto due = Clock::now() + std::chrono::milliseconds(piece.delayMs);
        if (const Event e = player.waitUntil(due); e != Event::elapsed)
            return finish(e);
        if (const Event e = player.write(piece.bytes, writeTimeoutMs); e != Event::writable)
            return finish(e);
        ++result.piecesSent;
    }
    log << "sent " << result.piecesSent << " lines; silent now, waiting for the line to close\n";

    const Event e = player.waitUntil(Clock::time_point::max());
    if (e != Event::closed)
        return finish(e);
    log << "line closed\n";
    result.outcome = Outcome::done;
    return result;
}

std::string visible(std::string_view bytes)
{
    std::string out;
    for (const unsigned char c : bytes) {
        if (c == 0x1b) {
            out += "ESC";
        } else if (c < 0x20 || c >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace chronosim
