#include "chronolite-sim/virtualline.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace chronosim {

namespace {

[[noreturn]] void fail(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

std::string readLink(const std::string& path)
{
    char buf[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), buf, sizeof buf - 1);
    return n < 0 ? std::string() : std::string(buf, static_cast<std::size_t>(n));
}

} // namespace

bool isRaw(const termios& t)
{
    return (t.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN)) == 0 &&
           (t.c_iflag & (IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON)) == 0 &&
           (t.c_oflag & OPOST) == 0 && (t.c_cflag & CSIZE) == CS8;
}

VirtualLine::VirtualLine()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0)
        fail("cannot create a pseudo-terminal");
    char name[128];
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0) {
        const int e = errno;
        close(m_master);
        errno = e;
        fail("cannot prepare the pseudo-terminal");
    }
    m_slavePath = name;
    const int flags = fcntl(m_master, F_GETFL);
    if (flags < 0 || fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0) {
        const int e = errno;
        close(m_master);
        errno = e;
        fail("cannot make the pseudo-terminal non-blocking");
    }
    // A fresh line starts cooked (echo, CR turned into LF); a program opening it must find it
    // raw from its first byte on.
    if (!reset()) {
        const int e = errno;
        close(m_master);
        errno = e;
        fail("cannot open " + m_slavePath);
    }
}

VirtualLine::~VirtualLine()
{
    close(m_master);
}

bool VirtualLine::reset()
{
    const int slave = open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave >= 0) {
        termios t{};
        if (tcgetattr(slave, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(slave, TCSANOW, &t);
        }
        tcflush(slave, TCIOFLUSH);
        close(slave);
    }
    const int openError = errno;
    // On Linux the master's termios calls reach the slave side, so raw mode can be checked
    // and restored without opening the slave.
    termios t{};
    if (tcgetattr(m_master, &t) == 0 && !isRaw(t)) {
        cfmakeraw(&t);
        tcsetattr(m_master, TCSANOW, &t);
    }
    errno = openError;
    return slave >= 0;
}

bool VirtualLine::isOpenedByProgram() const
{
    pollfd p{m_master, 0, 0};
    return poll(&p, 1, 0) >= 0 && (p.revents & POLLHUP) == 0;
}

void VirtualLine::handTo(uid_t uid, gid_t gid) const
{
    if (chown(m_slavePath.c_str(), uid, gid) != 0)
        fail("cannot hand " + m_slavePath + " over");
}

SymLink::SymLink(std::string path, std::string target)
    : m_path(std::move(path))
    , m_target(std::move(target))
{
}

SymLink::~SymLink()
{
    if (readLink(m_path) == m_target)
        unlink(m_path.c_str());
}

LinkAttempt makeLink(const std::string& path, const std::string& target)
{
    LinkAttempt a;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (symlink(target.c_str(), path.c_str()) == 0) {
            a.link = std::make_unique<SymLink>(path, target);
            a.status = LinkStatus::created;
            return a;
        }
        a.error = errno;
        if (a.error != EEXIST)
            break;
        struct stat st {};
        const bool isLink = lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
        const std::string old = isLink ? readLink(path) : std::string();
        // A link into /dev/pts whose line is gone was left by a run that did not end cleanly.
        if (!isLink || !old.starts_with("/dev/pts/") || access(old.c_str(), F_OK) == 0 ||
            errno != ENOENT) {
            a.status = LinkStatus::occupied;
            a.message = path + " exists" + (isLink ? " and points at " + old : std::string()) +
                        "; another simulator may be running. Remove it or choose another --link.";
            return a;
        }
        if (unlink(path.c_str()) != 0) {
            a.error = errno;
            break;
        }
    }
    const bool denied = a.error == EACCES || a.error == EPERM || a.error == EROFS;
    a.status = denied ? LinkStatus::noPermission : LinkStatus::failed;
    a.message = "cannot create " + path + ": " + std::strerror(a.error) + ". ";
    if (denied)
        a.message += "Run with sudo to create it, or use --link with a path you may write, or "
                     "open " +
                     target + " directly.";
    else
        a.message += "Open " + target + " directly instead.";
    return a;
}

} // namespace chronosim
