#pragma once

#include "chronolite-sim/virtualline.h"

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <termios.h>

// The device end of a real pseudo-terminal for tests and benchmarks: the simulator's raw
// virtual line, plus a slave descriptor held open so that bytes sent before the program
// opens the line wait for it, and so that the line stays up between two opens.
class PtyLine {
public:
    PtyLine(); // throws std::system_error
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    // What the program opens.
    const std::string& name() const { return m_name; }
    // -1 once hung up.
    int master() const;

    // Writes every byte, waiting while the line is full; false when the line is gone or
    // stayed full for `patience`.
    bool send(std::string_view bytes,
              std::chrono::milliseconds patience = std::chrono::milliseconds(5000));
    // What the program wrote, until `n` bytes or `patience` has passed.
    std::string receive(std::size_t n,
                        std::chrono::milliseconds patience = std::chrono::milliseconds(5000));
    // The settings the program gave the line.
    termios settings() const;

    // The device end goes away, as an unplugged adapter does. The slave stays held until
    // destruction, so the line's number cannot pass to another test's line meanwhile.
    void hangUp();

private:
    std::unique_ptr<chronosim::VirtualLine> m_line;
    std::string m_name;
    int m_slave = -1;
};
