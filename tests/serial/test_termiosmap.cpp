// The DCB to termios translation, checked as values: a pseudo-terminal ignores speed,
// frame and parity, so only this proves them.
#include "serial/os/termiosmap.h"

#include <gtest/gtest.h>

#include <sys/ioctl.h>

using namespace serial;

namespace {

DCB baseDcb()
{
    DCB d;
    d.DCBlength = 28;
    d.BaudRate = 9600;
    d.Flags = dcbBinary;
    d.ByteSize = 8;
    d.XonChar = 17;
    d.XoffChar = 19;
    return d;
}

termios cookedTerminal()
{
    termios t{};
    t.c_iflag = ICRNL | IXON | BRKINT | IMAXBEL;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ECHO | ICANON | ISIG | IEXTEN | ECHOE;
    t.c_cflag = CS7 | PARENB | HUPCL | CRTSCTS;
    return t;
}

struct Case {
    const char* name;
    std::function<void(DCB&)> edit;
    tcflag_t cflagFrame; // CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS
    tcflag_t iflagFlow;  // IXON | IXOFF | INPCK
};

class DcbToTermios : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(DcbToTermios, FrameAndFlowControl)
{
    DCB d = baseDcb();
    GetParam().edit(d);
    const TermiosSettings s = dcbToTermios(d, cookedTerminal());
    EXPECT_EQ(s.tio.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS),
              GetParam().cflagFrame);
    EXPECT_EQ(s.tio.c_iflag & (IXON | IXOFF | INPCK), GetParam().iflagFlow);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DcbToTermios,
    ::testing::Values(
        Case{"Defaults", [](DCB&) {}, CS8, 0},
        Case{"FiveBitsOddTwoStops",
             [](DCB& d) {
                 d.ByteSize = 5;
                 d.Parity = oddParity;
                 d.StopBits = twoStopBits;
             },
             CS5 | PARENB | PARODD | CSTOPB, 0},
        Case{"SixBitsEven", [](DCB& d) { d.ByteSize = 6, d.Parity = evenParity; }, CS6 | PARENB, 0},
        Case{"Mark", [](DCB& d) { d.Parity = markParity; }, CS8 | PARENB | CMSPAR | PARODD, 0},
        Case{"Space", [](DCB& d) { d.Parity = spaceParity; }, CS8 | PARENB | CMSPAR, 0},
        Case{"OneAndAHalfStops", [](DCB& d) { d.ByteSize = 5, d.StopBits = one5StopBits; },
             CS5 | CSTOPB, 0},
        Case{"ParityCheck", [](DCB& d) { d.Flags |= dcbParity; }, CS8, INPCK},
        Case{"CtsFlow", [](DCB& d) { d.Flags |= dcbOutxCtsFlow; }, CS8 | CRTSCTS, 0},
        Case{"RtsHandshake", [](DCB& d) { d.Flags |= rtsControlHandshake << dcbRtsControlShift; },
             CS8 | CRTSCTS, 0},
        Case{"XonXoffOut", [](DCB& d) { d.Flags |= dcbOutX; }, CS8, IXON},
        Case{"XonXoffIn", [](DCB& d) { d.Flags |= dcbInX; }, CS8, IXOFF},
        Case{"DsrFlowNotApplied", [](DCB& d) { d.Flags |= dcbOutxDsrFlow | dcbDsrSensitivity; },
             CS8, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DcbToTermiosRaw, RawModeWhateverTheTerminalWasBefore)
{
    const TermiosSettings s = dcbToTermios(baseDcb(), cookedTerminal());
    EXPECT_EQ(s.tio.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), 0u);
    EXPECT_EQ(s.tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(s.tio.c_iflag & (ICRNL | PARMRK | ISTRIP | BRKINT), 0u);
    EXPECT_EQ(s.tio.c_cflag & HUPCL, 0u);
    EXPECT_TRUE(s.tio.c_cflag & CREAD);
    EXPECT_TRUE(s.tio.c_cflag & CLOCAL);
    EXPECT_EQ(s.tio.c_cc[VSTART], 17);
    EXPECT_EQ(s.tio.c_cc[VSTOP], 19);
}

TEST(DcbToTermiosRaw, XonXoffCharacters)
{
    DCB d = baseDcb();
    d.XonChar = 'Q';
    d.XoffChar = 'S';
    const TermiosSettings s = dcbToTermios(d, termios{});
    EXPECT_EQ(s.tio.c_cc[VSTART], 'Q');
    EXPECT_EQ(s.tio.c_cc[VSTOP], 'S');
}

TEST(DcbToTermiosSpeed, StandardRatesUseTheirConstantOthersTheCustomPath)
{
    struct {
        std::uint32_t baud;
        speed_t code;
    } const cases[] = {{110, B110},       {300, B300},     {9600, B9600}, {14400, B0},
                       {19200, B19200},   {38400, B38400}, {56000, B0},   {57600, B57600},
                       {115200, B115200}, {128000, B0},    {256000, B0},  {31250, B0}};
    for (const auto& c : cases) {
        DCB d = baseDcb();
        d.BaudRate = c.baud;
        const TermiosSettings s = dcbToTermios(d, termios{});
        EXPECT_EQ(s.speedCode, c.code) << c.baud;
        EXPECT_EQ(s.baud, c.baud);
        if (c.code != B0) {
            EXPECT_EQ(cfgetospeed(&s.tio), c.code) << c.baud;
        }
    }
}

TEST(DcbToTermiosLines, DtrAndRtsFollowTheirControls)
{
    struct {
        unsigned dtr, rts;
        int raise, drop;
    } const cases[] = {
        {dtrControlDisable, rtsControlDisable, 0, TIOCM_DTR | TIOCM_RTS},
        {dtrControlEnable, rtsControlEnable, TIOCM_DTR | TIOCM_RTS, 0},
        {dtrControlHandshake, rtsControlHandshake, TIOCM_DTR | TIOCM_RTS, 0},
        {dtrControlEnable, rtsControlToggle, TIOCM_DTR, TIOCM_RTS},
    };
    for (const auto& c : cases) {
        DCB d = baseDcb();
        d.Flags |= (c.dtr << dcbDtrControlShift) | (c.rts << dcbRtsControlShift);
        const TermiosSettings s = dcbToTermios(d, termios{});
        EXPECT_EQ(s.raiseLines, c.raise) << c.dtr << "/" << c.rts;
        EXPECT_EQ(s.dropLines, c.drop) << c.dtr << "/" << c.rts;
    }
}

TEST(TermiosApplied, NoticesAPartialChange)
{
    const TermiosSettings s = dcbToTermios(baseDcb(), termios{});
    termios back = s.tio;
    EXPECT_TRUE(termiosApplied(s.tio, back));
    back.c_cflag &= ~CSIZE;
    back.c_cflag |= CS7;
    EXPECT_FALSE(termiosApplied(s.tio, back));
    EXPECT_TRUE(termiosApplied(s.tio, back, true)) << "a pseudo-terminal keeps eight bits";
    back = s.tio;
    back.c_cc[VSTOP] = 0;
    EXPECT_FALSE(termiosApplied(s.tio, back, true));
    back = s.tio;
    back.c_cflag &= ~CSTOPB;
    back.c_cflag |= CSTOPB & ~s.tio.c_cflag;
    back.c_iflag ^= IXON;
    EXPECT_FALSE(termiosApplied(s.tio, back, true));
}
