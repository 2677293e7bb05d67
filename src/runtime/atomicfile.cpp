#include "runtime/atomicfile.h"

#include "runtime/errors.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

// `folder` holds no links, so its parent is the one the kernel would take for "..".
std::string parentOf(const std::string& folder)
{
    if (folder == "/")
        return folder;
    const auto slash = folder.rfind('/');
    const std::string last = slash == std::string::npos ? folder : folder.substr(slash + 1);
    if (folder.empty() || last == "..")
        return joinPath(folder, "..");
    if (slash == std::string::npos)
        return "";
    return slash == 0 ? "/" : folder.substr(0, slash);
}

// Puts the names of `path` in front of those still to walk; todo.back() comes next.
void pushNames(std::vector<std::string>& todo, const std::string& path)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string name = path.substr(start, end - start);
        if (!name.empty() && name != ".")
            names.push_back(std::move(name));
        start = end + 1;
    }
    todo.insert(todo.end(), names.rbegin(), names.rend());
}

std::string readLink(const std::string& path)
{
    std::vector<char> buf(PATH_MAX + 1);
    const ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size());
    if (n < 0)
        raiseIoError(errno);
    if (static_cast<std::size_t>(n) == buf.size())
        raiseIoError(ENAMETOOLONG);
    return std::string(buf.data(), static_cast<std::size_t>(n));
}

// The kernel's protected-symlinks rule, kept whether the machine switches it on or not: in a
// sticky folder that everyone may write (/tmp), a link leads on only when it is our own or
// the folder owner's. Anyone else's link there is a trap laid for our files.
bool mayFollow(const struct stat& link, const std::string& folder)
{
    struct stat dir;
    if (::stat(folder.empty() ? "." : folder.c_str(), &dir) != 0)
        return false;
    if ((dir.st_mode & (S_ISVTX | S_IWOTH)) != (S_ISVTX | S_IWOTH))
        return true;
    return link.st_uid == ::geteuid() || link.st_uid == dir.st_uid;
}

// "." + name + ".XXXXXX" must still be a name the file system takes; a long name gives up
// its tail to the temporary, cut where no UTF-8 character is split.
std::string temporaryPattern(const std::string& target)
{
    const std::string folder = dirName(target);
    std::string name = baseName(target);
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t maxName = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    const std::size_t extra = std::strlen("..XXXXXX");
    if (name.size() + extra > maxName) {
        std::size_t keep = maxName > extra ? maxName - extra : 0;
        while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
            --keep;
        name.resize(keep);
    }
    return joinPath(folder, "." + name + ".XXXXXX");
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
    if (path.empty())
        raiseIoError(ENOENT);
    std::string resolved = path[0] == '/' ? "/" : "";
    std::vector<std::string> todo;
    pushNames(todo, path);
    int links = 0;
    while (!todo.empty()) {
        std::string name = std::move(todo.back());
        todo.pop_back();
        if (name == "..") {
            resolved = parentOf(resolved);
            continue;
        }
        std::string next = joinPath(resolved, name);
        struct stat st;
        if (::lstat(next.c_str(), &st) != 0) {
            // Whatever is missing on the way, creating the temporary file will name it.
            resolved = std::move(next);
            while (!todo.empty()) {
                resolved = joinPath(resolved, todo.back());
                todo.pop_back();
            }
            break;
        }
        if (!S_ISLNK(st.st_mode)) {
            resolved = std::move(next);
            continue;
        }
        if (++links > kMaxLinkDepth)
            raiseIoError(ELOOP);
        if (!mayFollow(st, resolved))
            raiseIoError(EACCES);
        const std::string link = readLink(next);
        if (!link.empty() && link[0] == '/')
            resolved = "/";
        pushNames(todo, link);
    }
    return resolved.empty() ? "." : resolved;
}

AtomicFile::AtomicFile(const std::string& path)
{
    if (!path.empty() && path.back() == '/')
        raiseIoError(EISDIR);
    m_target = resolveLinkTarget(path);
    struct stat old;
    const bool exists = ::lstat(m_target.c_str(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode))
            raiseIoError(EISDIR);
        // A device, FIFO or socket is not ours to turn into a plain file: refused as a folder is.
        if (!S_ISREG(old.st_mode))
            raiseIoError(EACCES);
        // The rename would go through where a plain write is refused (a 0444 file); the
        // effective ids decide, as they would for open().
        if (::faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0)
            raiseIoError(errno);
    }

    std::string pattern = temporaryPattern(m_target);
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

void createFile(const std::string& path, std::string_view bytes)
{
    try {
        AtomicFile file(path);
        file.write(bytes);
        file.commit();
    } catch (const InOutError&) {
        throw Exception("Cannot create file " + path);
    }
}

} // namespace rt
