#include "runtime/termination.h"

#include "runtime/errors.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace rt {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may run on any thread, at any moment: it only writes the signal's number.
volatile sig_atomic_t g_writeFd = -1;
struct sigaction g_previous[std::size(kSignals)];

extern "C" void onTerminationSignal(int signal)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    // A full pipe already holds a signal the loop has yet to see; dropping this one is fine.
    [[maybe_unused]] const ssize_t ignored = ::write(g_writeFd, &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals()
{
    if (g_writeFd != -1)
        raiseIoError(EBUSY);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        raiseIoError(errno);
    m_readFd = fds[0];
    g_writeFd = fds[1];

    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Calls the signal interrupts carry on as if nothing happened; the loop ends the program.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &action, &g_previous[i]);
}

TerminationSignals::~TerminationSignals()
{
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    ::close(g_writeFd);
    g_writeFd = -1;
    ::close(m_readFd);
}

int TerminationSignals::take()
{
    int last = 0;
    unsigned char bytes[64];
    ssize_t n;
    while ((n = ::read(m_readFd, bytes, sizeof bytes)) > 0)
        last = bytes[n - 1];
    return last;
}

} // namespace rt
