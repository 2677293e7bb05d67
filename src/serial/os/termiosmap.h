#pragma once

#include "serial/os/commdevice.h"

#include <termios.h>

namespace serial {

// What a DCB becomes on a Linux tty. Not applied, for want of a Linux counterpart (the
// values are still stored and handed on): fOutxDsrFlow, fDsrSensitivity,
// dtrControlHandshake (DTR is simply raised), rtsControlToggle (RTS stays low),
// fTXContinueOnXoff, fErrorChar/ErrorChar, XonLim/XoffLim (the driver picks its own
// thresholds), EofChar, and 1.5 stop bits (CSTOPB gives 1.5 only on a five-bit frame and
// two otherwise). fNull and EvtChar are applied by the device itself on the bytes it reads,
// not by the driver. Hardware flow control is one switch here: fOutxCtsFlow or
// rtsControlHandshake turns on CRTSCTS, which covers both directions.
struct TermiosSettings {
    termios tio{};
    std::uint32_t baud = 0;
    // B-constant for a standard rate; B0 when the rate needs the termios2 custom path.
    speed_t speedCode = B0;
    int raiseLines = 0; // TIOCM_* bits to set
    int dropLines = 0;  // TIOCM_* bits to clear
};

// Pure: no device is touched. `current` supplies the fields a DCB says nothing about.
TermiosSettings dcbToTermios(const DCB& dcb, const termios& current);

// The B-constant of a standard rate, or B0.
speed_t standardSpeedCode(std::uint32_t baud);

// Whether the fields that dcbToTermios sets came back as asked: tcsetattr reports success
// when only some of the changes took. A pseudo-terminal always reports eight bits without
// parity, so for one (`framesIgnored`) size and parity are not compared.
bool termiosApplied(const termios& wanted, const termios& actual, bool framesIgnored = false);

// termios2 with BOTHER for rates that have no B-constant (14400, 56000, a custom rate).
// Kept apart because <asm/termbits.h> clashes with <termios.h>. Returns 0 or errno; the
// rate read back must be within 3 % (drivers round to their divisor).
int setCustomSpeed(int fd, std::uint32_t baud);

} // namespace serial
