#include "serial/os/termiosmap.h"

#include <sys/ioctl.h>

namespace serial {

namespace {

constexpr tcflag_t frameBits = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
constexpr tcflag_t inputBits = IXON | IXOFF | INPCK;

} // namespace

speed_t standardSpeedCode(std::uint32_t baud)
{
    switch (baud) {
    case 50:
        return B50;
    case 75:
        return B75;
    case 110:
        return B110;
    case 134:
        return B134;
    case 150:
        return B150;
    case 200:
        return B200;
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 1800:
        return B1800;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    case 460800:
        return B460800;
    case 500000:
        return B500000;
    case 576000:
        return B576000;
    case 921600:
        return B921600;
    case 1000000:
        return B1000000;
    case 1152000:
        return B1152000;
    case 1500000:
        return B1500000;
    case 2000000:
        return B2000000;
    case 2500000:
        return B2500000;
    case 3000000:
        return B3000000;
    case 3500000:
        return B3500000;
    case 4000000:
        return B4000000;
    default:
        return B0;
    }
}

TermiosSettings dcbToTermios(const DCB& dcb, const termios& current)
{
    TermiosSettings s;
    termios& t = s.tio;
    t = current;

    // Raw bytes both ways: the line carries data, not a terminal session. Never PARMRK:
    // it would put marker bytes into the data stream.
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXANY | IUCLC |
                   IMAXBEL | inputBits);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~(frameBits | HUPCL);
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;

    switch (dcb.ByteSize) {
    case 5:
        t.c_cflag |= CS5;
        break;
    case 6:
        t.c_cflag |= CS6;
        break;
    case 7:
        t.c_cflag |= CS7;
        break;
    default:
        t.c_cflag |= CS8;
        break;
    }

    switch (dcb.Parity) {
    case oddParity:
        t.c_cflag |= PARENB | PARODD;
        break;
    case evenParity:
        t.c_cflag |= PARENB;
        break;
    case markParity:
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case spaceParity:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    if (dcb.Flags & dcbParity)
        t.c_iflag |= INPCK;

    if (dcb.StopBits != oneStopBit)
        t.c_cflag |= CSTOPB;

    const unsigned rts = rtsControl(dcb);
    if ((dcb.Flags & dcbOutxCtsFlow) || rts == rtsControlHandshake)
        t.c_cflag |= CRTSCTS;
    if (dcb.Flags & dcbOutX)
        t.c_iflag |= IXON;
    if (dcb.Flags & dcbInX)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);

    s.baud = dcb.BaudRate;
    s.speedCode = standardSpeedCode(dcb.BaudRate);
    // A custom rate goes through termios2 afterwards; until then the line runs at a
    // standard rate, which keeps the speed fields consistent for tcsetattr.
    const speed_t code = s.speedCode != B0 ? s.speedCode : B38400;
    cfsetispeed(&t, code);
    cfsetospeed(&t, code);

    if (dtrControl(dcb) == dtrControlDisable)
        s.dropLines |= TIOCM_DTR;
    else
        s.raiseLines |= TIOCM_DTR;
    if (rts == rtsControlEnable || rts == rtsControlHandshake)
        s.raiseLines |= TIOCM_RTS;
    else
        s.dropLines |= TIOCM_RTS;
    return s;
}

bool termiosApplied(const termios& wanted, const termios& actual, bool framesIgnored)
{
    const tcflag_t compared =
        framesIgnored ? frameBits & ~(CSIZE | PARENB | PARODD | CMSPAR) : frameBits;
    return (wanted.c_cflag & compared) == (actual.c_cflag & compared) &&
           (wanted.c_iflag & inputBits) == (actual.c_iflag & inputBits) &&
           wanted.c_cc[VSTART] == actual.c_cc[VSTART] && wanted.c_cc[VSTOP] == actual.c_cc[VSTOP];
}

} // namespace serial
