#pragma once

namespace rt {

// Turns SIGTERM, SIGINT and SIGHUP into a byte on a pipe, so that the program ends from its
// event loop rather than dying wherever the signal finds it (in a save, that leaves the
// temporary file behind and the work half done). One at a time; the signals' previous
// handling comes back when it goes.
class TerminationSignals {
public:
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Readable once a signal has come.
    int fd() const { return m_readFd; }
    // The last signal that came, or 0; empties the pipe.
    int take();

private:
    int m_readFd = -1;
};

} // namespace rt
