#include "support/ptyline.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <system_error>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

PtyLine::PtyLine()
    : m_line(std::make_unique<chronosim::VirtualLine>())
    , m_name(m_line->slavePath())
{
    m_slave = ::open(m_name.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0)
        throw std::system_error(errno, std::generic_category(), "cannot open " + m_name);
}

PtyLine::~PtyLine()
{
    hangUp();
    if (m_slave >= 0)
        ::close(m_slave);
}

int PtyLine::master() const
{
    return m_line ? m_line->master() : -1;
}

namespace {

// Waits for the master to become ready for `events`; false once the deadline has passed.
bool waitFor(int fd, short events, Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0)
        return false;
    pollfd p{fd, events, 0};
    // A hung-up line reports POLLHUP at once; pause instead of spinning on it.
    if (::poll(&p, 1, static_cast<int>(left.count())) > 0 && (p.revents & events) == 0)
        std::this_thread::sleep_for(1ms);
    return true;
}

} // namespace

bool PtyLine::send(std::string_view bytes, std::chrono::milliseconds patience)
{
    const auto deadline = Clock::now() + patience;
    while (!bytes.empty()) {
        const ssize_t n = ::write(master(), bytes.data(), bytes.size());
        if (n > 0)
            bytes.remove_prefix(static_cast<std::size_t>(n));
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        else if (!waitFor(master(), POLLOUT, deadline))
            return false;
    }
    return true;
}

std::string PtyLine::receive(std::size_t n, std::chrono::milliseconds patience)
{
    std::string got;
    const auto deadline = Clock::now() + patience;
    while (got.size() < n) {
        char buf[256];
        const ssize_t r = ::read(master(), buf, sizeof buf);
        if (r > 0)
            got.append(buf, static_cast<std::size_t>(r));
        else if (!waitFor(master(), POLLIN, deadline))
            break;
    }
    return got;
}

termios PtyLine::settings() const
{
    termios t{};
    ::tcgetattr(m_slave, &t);
    return t;
}

void PtyLine::hangUp()
{
    m_line.reset();
}
