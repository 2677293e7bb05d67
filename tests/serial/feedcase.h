#pragma once

#include <ostream>
#include <string>

namespace serialtest {

inline const std::string kEsc = "\x1b";

// One row of a table that feeds bytes and compares what comes out; gtest names and prints
// the row by `name`.
struct Case {
    const char* name;
    std::string input;
    std::string expected;
};

inline std::ostream& operator<<(std::ostream& os, const Case& c)
{
    return os << c.name;
}

} // namespace serialtest
