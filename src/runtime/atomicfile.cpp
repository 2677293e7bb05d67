#include "runtime/atomicfile.h"

#include "runtime/errors.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace rt {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kMaxLinkDepth = 40;

std::string dirName(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string baseName(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// umask() can only be read by changing it, which would race with other threads; the
// kernel shows it in /proc instead.
mode_t currentUmask()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "Umask:") {
            std::string value;
            status >> value;
            return static_cast<mode_t>(std::strtoul(value.c_str(), nullptr, 8));
        }
    }
    return 022;
}

} // namespace

std::string resolveLinkTarget(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(current.c_str(), buf.data(), buf.size());
        if (n < 0)
            return current;
        std::string link(buf.data(), static_cast<std::size_t>(n));
        current = (!link.empty() && link[0] == '/') ? link : dirName(current) + "/" + link;
    }
    raiseIoError(ELOOP);
}

AtomicFile::AtomicFile(const std::string& path)
    : m_target(resolveLinkTarget(path))
{
    struct stat old;
    const bool exists = ::stat(m_target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        raiseIoError(EISDIR);

    std::string pattern = dirName(m_target) + "/." + baseName(m_target) + ".XXXXXX";
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0)
        raiseIoError(errno);
    m_tempPath = pattern;

    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    if (::fchmod(m_fd, mode) != 0) {
        const int err = errno;
        discard();
        raiseIoError(err);
    }
    if (exists) {
        // Only root can give the file away; for anyone else the owner is already theirs.
        [[maybe_unused]] int ignored = ::fchown(m_fd, old.st_uid, old.st_gid);
    }
    m_buffer.reserve(kBufferSize);
}

AtomicFile::~AtomicFile()
{
    discard();
}

void AtomicFile::write(std::string_view bytes)
{
    if (m_fd < 0)
        raiseIoError(EBADF);
    m_buffer.append(bytes);
    if (m_buffer.size() >= kBufferSize)
        flushBuffer();
}

void AtomicFile::flushBuffer()
{
    std::size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            discard();
            raiseIoError(err);
        }
        done += static_cast<std::size_t>(n);
    }
    m_buffer.clear();
}

void AtomicFile::commit()
{
    if (m_fd < 0)
        raiseIoError(EBADF);
    flushBuffer();
    // Without the fsync a crash soon after the rename can leave an empty file in place.
    if (::fsync(m_fd) != 0) {
        const int err = errno;
        discard();
        raiseIoError(err);
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
        raiseIoError(err);
    }
    if (::rename(m_tempPath.c_str(), m_target.c_str()) != 0) {
        const int err = errno;
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
        raiseIoError(err);
    }
    m_tempPath.clear();
    const int dirFd = ::open(dirName(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

void AtomicFile::discard() noexcept
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
    m_buffer.clear();
}

} // namespace rt
