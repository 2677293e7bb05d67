#include "serial/os/commdevice.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace serial {

Event::Event()
    : m_fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (m_fd < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

Event::~Event()
{
    ::close(m_fd);
}

void Event::set()
{
    const std::uint64_t one = 1;
    // Only a counter at its maximum refuses, and that is signalled already.
    [[maybe_unused]] ssize_t n = ::write(m_fd, &one, sizeof one);
}

void Event::reset()
{
    std::uint64_t value;
    [[maybe_unused]] ssize_t n = ::read(m_fd, &value, sizeof value);
}

bool Event::isSet() const
{
    pollfd p{m_fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

} // namespace serial
