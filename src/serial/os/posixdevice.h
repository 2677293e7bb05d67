#pragma once

#include "serial/os/commdevice.h"

namespace serial {

// "ttyUSB0" is /dev/ttyUSB0; a name that starts with '/' is a path.
std::string devicePath(const std::string& port);

// Opens a tty for the port: non-blocking, not as controlling terminal, locked against
// every other opener (flock, which binds root too, and TIOCEXCL). A file that is not a
// tty is refused with ENOTTY.
//
// Received bytes are taken out of the driver by the waiting thread into the device's own
// input queue of the size given to setupComm(): that is what makes "a character arrived"
// an edge rather than a level, so bytes left unread do not wake the waiter again.
// evRxFlag and the discarding of null bytes are applied on that queue. Line errors and
// breaks come from the driver's counters where it keeps them. Modem-line changes (evCTS,
// evDSR, evRing, evRLSD) come from a helper thread blocked in TIOCMIWAIT, started when the
// event mask asks for them and only where the driver has modem lines; the device's
// destruction wakes it with a signal and waits for its end. evTxEmpty follows a write once
// the driver's output queue is empty.
std::unique_ptr<CommDevice> openPosixDevice(const std::string& port, int& error);

} // namespace serial
