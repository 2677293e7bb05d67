#include "table/velocity.h"

#include "runtime/asciitext.h"
#include "runtime/convert.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace table {

namespace {

bool isDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), rt::isAsciiDigit);
}

} // namespace

std::optional<double> parseVelocity(std::string_view text)
{
    const std::size_t separator = separatorAt(text);
    // Whole velocities take the conversion they always took, so their results cannot move.
    if (separator == std::string_view::npos) {
        const std::optional<int> whole = rt::parseInt(text);
        return whole ? std::optional<double>(*whole) : std::nullopt;
    }

    std::string_view whole = text.substr(0, separator);
    if (!whole.empty() && (whole.front() == '+' || whole.front() == '-'))
        whole.remove_prefix(1);
    if (!isDigits(whole) || !isDigits(text.substr(separator + 1)))
        return std::nullopt;
    // The checked text is a form parseFloat reads exactly, rounded once.
    const std::optional<double> v = rt::parseFloat(text);
    if (!v || *v < std::numeric_limits<int>::min() || *v > std::numeric_limits<int>::max())
        return std::nullopt;
    return v;
}

double velocityOf(std::string_view text)
{
    const std::optional<double> v = parseVelocity(text);
    if (!v)
        rt::raiseInvalidInteger(text);
    return *v;
}

bool isWholeVelocity(std::string_view text)
{
    return separatorAt(text) == std::string_view::npos;
}

} // namespace table
