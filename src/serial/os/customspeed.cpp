// Only the kernel's own termios here: <termios.h> defines a different struct termios.
#include <asm/termbits.h>
#include <cerrno>
#include <cstdint>
#include <sys/ioctl.h>

namespace serial {

int setCustomSpeed(int fd, std::uint32_t baud)
{
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return errno;
    tio.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = baud;
    tio.c_ospeed = baud;
    if (ioctl(fd, TCSETS2, &tio) != 0)
        return errno;
    struct termios2 back {};
    if (ioctl(fd, TCGETS2, &back) != 0)
        return errno;
    const std::uint64_t got = back.c_ospeed;
    const std::uint64_t want = baud;
    if (got * 100 < want * 97 || got * 100 > want * 103)
        return EINVAL;
    return 0;
}

} // namespace serial
