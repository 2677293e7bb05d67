#include "loaddev/confidencelevel.h"

namespace loaddev {

namespace {

constexpr double kDefaultLevel = 0.95;

std::function<double()>& source()
{
    static std::function<double()> current;
    return current;
}

} // namespace

double confidenceLevel()
{
    const double level = source() ? source()() : kDefaultLevel;
    // A level the distributions cannot take would leave every range empty.
    return level > 0 && level < 1 ? level : kDefaultLevel;
}

void setConfidenceLevelSource(std::function<double()> level)
{
    source() = std::move(level);
}

} // namespace loaddev
