#include "serial/os/posixdevice.h"

#include "serial/os/termiosmap.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <linux/serial.h>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace serial {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t allBits = 0xFFFFFFFFu;
constexpr int defaultQueue = 4096;

bool noLines(int error)
{
    // Pseudo-terminals and some USB adapters have no modem lines or counters.
    return error == ENOTTY || error == EINVAL;
}

bool isPseudoTerminal(int fd)
{
    struct stat st {};
    // Unix98 pty slaves: majors 136 to 143.
    return fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 &&
           major(st.st_rdev) <= 143;
}

constexpr std::uint32_t modemEvents = EV_CTS | EV_DSR | EV_RING | EV_RLSD;
constexpr int modemLines = TIOCM_CTS | TIOCM_DSR | TIOCM_RNG | TIOCM_CAR;

// The modem-line watcher blocks in TIOCMIWAIT, which has no timeout and no file
// descriptor to poll; this signal, sent to that thread alone, interrupts it. The handler
// does nothing: the interrupted ioctl returning EINTR is the whole point.
int wakeSignal()
{
    static const int signal = [] {
        const int number = SIGRTMIN + 2;
        struct sigaction action {};
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0; // no SA_RESTART: the ioctl must return
        sigaction(number, &action, nullptr);
        return number;
    }();
    return signal;
}

int msUntil(Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

class PosixCommDevice final : public CommDevice {
public:
    explicit PosixCommDevice(int fd)
        : m_fd(fd)
    {
    }

    ~PosixCommDevice() override
    {
        stopModemWatcher();
        // On a pseudo-terminal the exclusive flag outlives the close and would lock a
        // normal user out of the next opening.
        ioctl(m_fd, TIOCNXCL);
        ::close(m_fd);
    }

    int setupComm(int inQueue, int outQueue) override
    {
        if (inQueue < 0 || outQueue < 0)
            return EINVAL;
        std::lock_guard lock(m_mutex);
        m_capacity = inQueue > 0 ? static_cast<std::size_t>(inQueue) : defaultQueue;
        m_wake.set();
        return 0;
    }

    int setCommState(const DCB& dcb) override
    {
        termios current{};
        if (tcgetattr(m_fd, &current) != 0)
            return errno;
        const TermiosSettings s = dcbToTermios(dcb, current);
        if (tcsetattr(m_fd, TCSANOW, &s.tio) != 0)
            return errno;
        if (s.speedCode == B0) {
            if (int e = setCustomSpeed(m_fd, s.baud))
                return e;
        }
        termios back{};
        if (tcgetattr(m_fd, &back) != 0)
            return errno;
        if (!termiosApplied(s.tio, back, isPseudoTerminal(m_fd)))
            return EINVAL;
        if (s.speedCode != B0 && cfgetospeed(&back) != s.speedCode)
            return EINVAL;
        if (s.raiseLines && ioctl(m_fd, TIOCMBIS, &s.raiseLines) != 0 && !noLines(errno))
            return errno;
        if (s.dropLines && ioctl(m_fd, TIOCMBIC, &s.dropLines) != 0 && !noLines(errno))
            return errno;
        std::lock_guard lock(m_mutex);
        m_evtChar = dcb.EvtChar;
        m_discardNull = (dcb.Flags & dcbNull) != 0;
        m_baud = dcb.BaudRate ? dcb.BaudRate : 9600;
        return 0;
    }

    int setCommTimeouts(const COMMTIMEOUTS& timeouts) override
    {
        std::lock_guard lock(m_mutex);
        m_timeouts = timeouts;
        return 0;
    }

    int setCommMask(std::uint32_t mask) override
    {
        if (mask & modemEvents)
            startModemWatcher();
        std::lock_guard lock(m_mutex);
        m_mask = mask;
        m_wake.set();
        return 0;
    }

    bool waitCommEvent(std::uint32_t& events, const Event& stop) override
    {
        events = 0;
        for (;;) {
            pollfd fds[3] = {{stop.fd(), POLLIN, 0}, {m_wake.fd(), POLLIN, 0}, {m_fd, POLLIN, 0}};
            int timeout = -1;
            nfds_t count = 2;
            {
                std::lock_guard lock(m_mutex);
                // A full queue stops taking bytes: the driver keeps them, and its flow
                // control holds the sender, until a read makes room.
                if (!m_hungUp && m_rx.size() < m_capacity)
                    count = 3;
                timeout = m_txWaitMs;
            }
            const int r = ::poll(fds, count, timeout);
            if (r < 0 && errno != EINTR)
                return false;
            if (fds[0].revents)
                return false;
            if (fds[1].revents)
                m_wake.reset();
            std::lock_guard lock(m_mutex);
            if (count == 3 && fds[2].revents)
                takeInput(events, (fds[2].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0);
            checkTxEmpty(events);
            events |= m_modemChanges;
            m_modemChanges = 0;
            events &= m_mask;
            if (events)
                return true;
        }
    }

    int read(void* buffer, int count, int& done) override
    {
        done = 0;
        auto* out = static_cast<std::uint8_t*>(buffer);
        std::unique_lock lock(m_mutex);
        const COMMTIMEOUTS t = m_timeouts;
        const bool atOnce = t.ReadIntervalTimeout == allBits && t.ReadTotalTimeoutMultiplier == 0 &&
                            t.ReadTotalTimeoutConstant == 0;
        const bool firstByte = t.ReadIntervalTimeout == allBits &&
                               t.ReadTotalTimeoutMultiplier == allBits &&
                               t.ReadTotalTimeoutConstant != allBits;
        const long long total = firstByte
                                    ? t.ReadTotalTimeoutConstant
                                    : static_cast<long long>(t.ReadTotalTimeoutMultiplier) * count +
                                          t.ReadTotalTimeoutConstant;
        const auto deadline = Clock::now() + std::chrono::milliseconds(total);
        const int interval =
            t.ReadIntervalTimeout == allBits
                ? 0
                : static_cast<int>(std::min<std::uint32_t>(t.ReadIntervalTimeout, 1u << 30));
        while (done < count) {
            const bool wasFull = m_rx.size() >= m_capacity;
            const std::size_t n = std::min<std::size_t>(m_rx.size(), count - done);
            std::copy_n(m_rx.begin(), n, out + done);
            m_rx.erase(m_rx.begin(), m_rx.begin() + static_cast<std::ptrdiff_t>(n));
            done += static_cast<int>(n);
            if (wasFull && n > 0)
                m_wake.set();
            if (m_rx.size() * 5 < m_capacity * 4)
                m_rx80 = false;
            if (done < count && m_rx.empty()) {
                const ssize_t got =
                    ::read(m_fd, out + done, static_cast<std::size_t>(count - done));
                if (got > 0)
                    done += static_cast<int>(dropNulls(out + done, static_cast<std::size_t>(got)));
                else if (got < 0 && errno != EAGAIN && errno != EINTR)
                    return done > 0 ? 0 : errno;
            }
            if (done >= count || atOnce || (firstByte && done > 0))
                break;
            int wait = -1;
            if (total > 0)
                wait = msUntil(deadline);
            if (interval > 0 && done > 0)
                wait = wait < 0 ? interval : std::min(wait, interval);
            if (wait == 0)
                break;
            m_rxArrived.reset();
            lock.unlock();
            pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_rxArrived.fd(), POLLIN, 0}};
            const int r = ::poll(fds, 2, wait);
            lock.lock();
            if (r == 0)
                break; // the total or the interval timeout ran out
            if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))
                break;
        }
        return 0;
    }

    int write(const void* buffer, int count, int& done) override
    {
        done = 0;
        COMMTIMEOUTS t;
        {
            std::lock_guard lock(m_mutex);
            t = m_timeouts;
        }
        const long long total = static_cast<long long>(t.WriteTotalTimeoutMultiplier) * count +
                                t.WriteTotalTimeoutConstant;
        const auto deadline = Clock::now() + std::chrono::milliseconds(total);
        int error = 0;
        while (true) {
            error = writeWhatFits(buffer, count, done);
            if (error != 0 || done == count)
                break;
            const int wait = total > 0 ? msUntil(deadline) : -1;
            if (wait == 0) {
                // A peer that stopped reading is a failure, not a short success: callers
                // that see only a count would go on writing into the full line.
                error = ETIMEDOUT;
                break;
            }
            pollfd p{m_fd, POLLOUT, 0};
            if (::poll(&p, 1, wait) < 0 && errno != EINTR) {
                error = errno;
                break;
            }
            if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) {
                error = EIO;
                break;
            }
        }
        noteWritten(done);
        return error;
    }

    int writeNow(const void* buffer, int count, int& done) override
    {
        done = 0;
        const int error = writeWhatFits(buffer, count, done);
        noteWritten(done);
        return error;
    }

    int purge(std::uint32_t flags) override
    {
        // Requests complete before they return here, so the abort flags find nothing.
        if ((flags & PURGE_TXCLEAR) && tcflush(m_fd, TCOFLUSH) != 0)
            return errno;
        if (flags & PURGE_RXCLEAR) {
            if (tcflush(m_fd, TCIFLUSH) != 0)
                return errno;
            std::lock_guard lock(m_mutex);
            m_rx.clear();
            m_rx80 = false;
            m_wake.set();
        }
        return 0;
    }

    int clearCommError(std::uint32_t& errors, int& inQueue) override
    {
        int waiting = 0;
        if (ioctl(m_fd, FIONREAD, &waiting) != 0)
            return errno;
        std::lock_guard lock(m_mutex);
        errors = m_errors;
        m_errors = 0;
        inQueue = static_cast<int>(m_rx.size()) + waiting;
        return 0;
    }

    int getModemStatus(std::uint32_t& status) override
    {
        status = 0;
        int lines = 0;
        if (ioctl(m_fd, TIOCMGET, &lines) != 0)
            return noLines(errno) ? 0 : errno;
        if (lines & TIOCM_CTS)
            status |= MS_CTS_ON;
        if (lines & TIOCM_DSR)
            status |= MS_DSR_ON;
        if (lines & TIOCM_RNG)
            status |= MS_RING_ON;
        if (lines & TIOCM_CAR)
            status |= MS_RLSD_ON;
        return 0;
    }

private:
    // Writes from `done` on until the line is full or everything is out; 0 also when the
    // line is merely full, the error otherwise.
    int writeWhatFits(const void* buffer, int count, int& done)
    {
        const auto* in = static_cast<const std::uint8_t*>(buffer);
        while (done < count) {
            const ssize_t n = ::write(m_fd, in + done, static_cast<std::size_t>(count - done));
            if (n > 0)
                done += static_cast<int>(n);
            else if (n < 0 && errno == EINTR)
                continue;
            else
                return n < 0 && errno != EAGAIN ? errno : 0;
        }
        return 0;
    }

    void noteWritten(int done)
    {
        if (done <= 0)
            return;
        std::lock_guard lock(m_mutex);
        m_txPending = true;
        m_txWaitMs = 0; // let the waiter look at the output queue now
        m_wake.set();
    }

    // Only drivers with modem lines get a watcher; a pseudo-terminal (ENOTTY) or an
    // adapter without lines (EINVAL) simply delivers no line events.
    void startModemWatcher()
    {
        if (m_watcher.joinable() || m_noModemLines)
            return;
        int lines = 0;
        if (ioctl(m_fd, TIOCMGET, &lines) != 0) {
            m_noModemLines = true;
            return;
        }
        wakeSignal();
        m_watcher = std::thread([this, lines] { watchModemLines(lines); });
    }

    void watchModemLines(int lines)
    {
        serial_icounter_struct before{};
        const bool counters = ioctl(m_fd, TIOCGICOUNT, &before) == 0;
        while (!m_watchStop.load()) {
            if (ioctl(m_fd, TIOCMIWAIT, modemLines) != 0) {
                if (errno == EINTR)
                    continue;
                break; // not supported here, or the device is gone
            }
            int now = 0;
            if (ioctl(m_fd, TIOCMGET, &now) != 0)
                break;
            std::uint32_t changes = 0;
            serial_icounter_struct after{};
            if (counters && ioctl(m_fd, TIOCGICOUNT, &after) == 0) {
                // The counters see pulses shorter than our look at the lines.
                changes |= after.cts != before.cts ? EV_CTS : 0;
                changes |= after.dsr != before.dsr ? EV_DSR : 0;
                changes |= after.rng != before.rng ? EV_RING : 0;
                changes |= after.dcd != before.dcd ? EV_RLSD : 0;
                before = after;
            }
            const int flipped = now ^ lines;
            changes |= (flipped & TIOCM_CTS) ? EV_CTS : 0;
            changes |= (flipped & TIOCM_DSR) ? EV_DSR : 0;
            changes |= (flipped & TIOCM_RNG) && !(now & TIOCM_RNG) ? EV_RING : 0;
            changes |= (flipped & TIOCM_CAR) ? EV_RLSD : 0;
            lines = now;
            if (changes) {
                std::lock_guard lock(m_mutex);
                m_modemChanges |= changes;
                m_wake.set();
            }
        }
        m_watchDone = true;
    }

    void stopModemWatcher()
    {
        if (!m_watcher.joinable())
            return;
        m_watchStop = true;
        // A signal that lands just before the ioctl starts would be lost, so knock until
        // the watcher has gone.
        while (!m_watchDone.load()) {
            pthread_kill(m_watcher.native_handle(), wakeSignal());
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        m_watcher.join();
    }

    std::size_t dropNulls(std::uint8_t* bytes, std::size_t n) const
    {
        if (!m_discardNull)
            return n;
        return static_cast<std::size_t>(std::remove(bytes, bytes + n, 0) - bytes);
    }

    // Called with m_mutex held, by the waiting thread only.
    void takeInput(std::uint32_t& events, bool hangUp)
    {
        std::uint8_t chunk[4096];
        for (;;) {
            const std::size_t room = m_capacity - std::min(m_capacity, m_rx.size());
            if (room == 0)
                break;
            const ssize_t got = ::read(m_fd, chunk, std::min(room, sizeof chunk));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                // EOF or EIO: the other end or the device is gone.
                if (got == 0 || errno != EAGAIN)
                    hangUp = true;
                break;
            }
            const std::size_t n = dropNulls(chunk, static_cast<std::size_t>(got));
            if (n == 0)
                continue;
            if (std::find(chunk, chunk + n, m_evtChar) != chunk + n)
                events |= EV_RXFLAG;
            m_rx.insert(m_rx.end(), chunk, chunk + n);
            events |= EV_RXCHAR;
        }
        if (events & EV_RXCHAR)
            m_rxArrived.set();
        if (!m_rx80 && m_rx.size() * 5 >= m_capacity * 4) {
            m_rx80 = true;
            events |= EV_RX80FULL;
        }
        takeCounters(events);
        // Waiting on a vanished device would wake at once forever; from now on only the
        // stop event ends the wait.
        if (hangUp)
            m_hungUp = true;
    }

    void takeCounters(std::uint32_t& events)
    {
        if (m_noCounters)
            return;
        serial_icounter_struct c{};
        if (ioctl(m_fd, TIOCGICOUNT, &c) != 0) {
            if (noLines(errno))
                m_noCounters = true;
            return;
        }
        if (m_haveCounters) {
            auto grew = [&](int now, int before, std::uint32_t error, std::uint32_t event) {
                if (now != before) {
                    m_errors |= error;
                    events |= event;
                }
            };
            grew(c.frame, m_counters.frame, CE_FRAME, EV_ERR);
            grew(c.parity, m_counters.parity, CE_RXPARITY, EV_ERR);
            grew(c.overrun, m_counters.overrun, CE_OVERRUN, EV_ERR);
            grew(c.buf_overrun, m_counters.buf_overrun, CE_RXOVER, EV_ERR);
            grew(c.brk, m_counters.brk, CE_BREAK, EV_BREAK);
        }
        m_counters = c;
        m_haveCounters = true;
    }

    // Called with m_mutex held. No event tells when the output queue runs empty, so while
    // bytes are queued the waiter sleeps for about the time they take on the line and
    // looks again, backing off when flow control holds them.
    void checkTxEmpty(std::uint32_t& events)
    {
        m_txWaitMs = -1;
        if (!m_txPending)
            return;
        if (!(m_mask & EV_TXEMPTY)) {
            m_txPending = false;
            return;
        }
        int queued = 0;
        if (ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued <= 0) {
            m_txPending = false;
            m_lastQueued = 0;
            m_backOffMs = 0;
            events |= EV_TXEMPTY;
            return;
        }
        const int lineMs = static_cast<int>(static_cast<long long>(queued) * 10000 / m_baud) + 1;
        m_backOffMs =
            queued == m_lastQueued ? std::min(std::max(m_backOffMs * 2, lineMs), 1000) : lineMs;
        m_lastQueued = queued;
        m_txWaitMs = m_backOffMs;
    }

    const int m_fd;
    Event m_wake;      // the waiter re-arms: a write, room in the queue, a new mask
    Event m_rxArrived; // a blocked read looks at the queue again

    std::mutex m_mutex;
    std::vector<std::uint8_t> m_rx;
    std::size_t m_capacity = defaultQueue;
    COMMTIMEOUTS m_timeouts{allBits, 0, 0, 0, 0};
    std::uint32_t m_mask = 0;
    std::uint8_t m_evtChar = 0;
    bool m_discardNull = false;
    std::uint32_t m_baud = 9600;
    std::uint32_t m_errors = 0;
    bool m_rx80 = false;
    bool m_hungUp = false;
    bool m_txPending = false;
    int m_txWaitMs = -1;
    int m_lastQueued = 0;
    int m_backOffMs = 0;
    bool m_noCounters = false;
    bool m_haveCounters = false;
    serial_icounter_struct m_counters{};
    std::uint32_t m_modemChanges = 0; // from the watcher, for the waiter

    // Set up on the GUI thread by setCommMask, torn down by the destructor.
    std::thread m_watcher;
    bool m_noModemLines = false;
    std::atomic<bool> m_watchStop{false};
    std::atomic<bool> m_watchDone{false};
};

} // namespace

std::string devicePath(const std::string& port)
{
    if (!port.empty() && port.front() == '/')
        return port;
    return "/dev/" + port;
}

std::unique_ptr<CommDevice> openPosixDevice(const std::string& port, int& error)
{
    error = 0;
    const std::string path = devicePath(port);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    if (!isatty(fd)) {
        error = ENOTTY;
        ::close(fd);
        return nullptr;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        error = errno;
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixCommDevice>(fd);
}

} // namespace serial
