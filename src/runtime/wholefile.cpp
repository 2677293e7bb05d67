#include "runtime/wholefile.h"

#include "runtime/errors.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace rt {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    Descriptor(Descriptor&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// O_NONBLOCK keeps the open of a FIFO from waiting; on a regular file it changes nothing.
// The type is tested on the descriptor, so the name cannot be swapped in between.
Descriptor openRegular(const std::string& path, std::uint64_t& size)
{
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        raiseIoError(errno);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        raiseIoError(errno);
    if (!S_ISREG(st.st_mode))
        throw NotRegularFile(path);
    size = static_cast<std::uint64_t>(st.st_size);
    return fd;
}

// Up to bytes.size() bytes; the count read.
std::size_t readInto(const Descriptor& fd, std::vector<std::uint8_t>& bytes, std::size_t filled)
{
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            raiseIoError(errno);
        }
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    return filled;
}

} // namespace

std::vector<std::uint8_t> readFileStart(const std::string& path, std::size_t bytes)
{
    std::uint64_t size = 0;
    const Descriptor fd = openRegular(path, size);
    std::vector<std::uint8_t> start(bytes);
    start.resize(readInto(fd, start, 0));
    return start;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path,
                                                       std::size_t maxBytes)
{
    std::uint64_t size = 0;
    const Descriptor fd = openRegular(path, size);
    if (size > maxBytes)
        return std::nullopt;

    std::vector<std::uint8_t> bytes;
    // One byte more than allowed tells a file that grew past the limit.
    const std::size_t limit = maxBytes < SIZE_MAX ? maxBytes + 1 : maxBytes;
    bytes.resize(std::min<std::size_t>(static_cast<std::size_t>(size) + 1, limit));
    std::size_t filled = 0;
    for (;;) {
        filled = readInto(fd, bytes, filled);
        if (filled < bytes.size())
            break;
        if (bytes.size() == limit)
            return std::nullopt;
        bytes.resize(std::min(limit, bytes.size() * 2));
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace rt
