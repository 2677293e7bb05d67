#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// The fuzz input as a file the readers can open by path, without touching the disk.
class MemFile {
public:
    MemFile(const std::uint8_t* data, std::size_t size)
        : m_fd(::memfd_create("fuzz", MFD_CLOEXEC))
    {
        for (std::size_t done = 0; m_fd >= 0 && done < size;) {
            const ssize_t n = ::write(m_fd, data + done, size - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
    }
    ~MemFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    std::string path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

private:
    int m_fd;
};
