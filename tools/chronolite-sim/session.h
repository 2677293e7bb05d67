#pragma once

#include "chronolite-sim/transmission.h"
#include "chronolite-sim/virtualline.h"

#include <cstddef>
#include <ostream>
#include <string>

namespace chronosim {

enum class Outcome {
    done,         // sent everything, and the program closed the line
    stopped,      // asked to stop
    closedEarly,  // the program closed the line before everything was sent
    writeTimeout, // the program took no data for the write timeout
    failed,       // the line itself failed
};

struct SessionResult {
    Outcome outcome = Outcome::failed;
    std::size_t piecesSent = 0;
    std::string detail;
};

// One switching-on of the chronograph: waits until a program opens the line, plays the
// transmission, then waits until the line is closed. Whatever the program writes back is
// read and reported on `log`. `stopFd` becomes readable when the session is to end early;
// it is only polled, never read.
SessionResult serveSession(const VirtualLine& line, const Transmission& transmission,
                           int writeTimeoutMs, int stopFd, std::ostream& log);

// Bytes shown readably: ESC as "ESC", other control bytes as \xNN.
std::string visible(std::string_view bytes);

} // namespace chronosim
