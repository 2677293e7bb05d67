#include "session/stringcomparison.h"

#include "runtime/decimalseparator.h"
#include "runtime/numberformat.h"
#include "table/shotstatistics.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace session {

namespace {

constexpr double kSmallestShownP = 0.0001;

std::string figure(const std::optional<double>& value)
{
    return value ? table::formatVelocityFigure(*value) : std::string(table::kNoFigure);
}

std::string sentence(const char* what, const StringFigures& a, const StringFigures& b,
                     const std::optional<double>& figureA, const std::optional<double>& figureB,
                     const std::optional<double>& p, double alpha)
{
    std::string text = std::string(what) + " " + figure(figureA) + " vs " + figure(figureB);
    if (!p)
        return text + " cannot be tested: " +
               ((a.sd == 0.0 && b.sd == 0.0) ? "neither string scatters"
                                             : "a string without scatter");
    const std::string pText = pValueText(*p, alpha);
    return text + (*p < alpha ? " is a shown difference" : " is not a shown difference") + " (p " +
           (pText.front() == '<' ? "" : "= ") + pText + ")";
}

} // namespace

std::string pValueText(double p, double alpha)
{
    if (p < kSmallestShownP)
        return "< " + rt::formatFloat(kSmallestShownP, rt::FloatFormat::Fixed, 15, 4);
    const bool shown = p < alpha;
    for (int significant = 2;; ++significant) {
        const int decimals =
            std::max(0, significant - 1 - static_cast<int>(std::floor(std::log10(p))));
        const std::string text = rt::formatFloat(p, rt::FloatFormat::Fixed, 15, decimals);
        // What the text says, read back with either separator.
        std::string point = text;
        for (char& ch : point)
            if (ch == rt::decimalSeparator())
                ch = '.';
        double read = 0;
        std::from_chars(point.data(), point.data() + point.size(), read);
        if ((read < alpha) == shown || significant == 6)
            return text;
    }
}

StringComparison compareStrings(const LadderFigures& figures, std::size_t first, std::size_t second)
{
    StringComparison c;
    c.first = first;
    c.second = second;
    const StringFigures& a = figures.rows[rowOfString(figures, first)];
    const StringFigures& b = figures.rows[rowOfString(figures, second)];
    c.enoughShots = a.velocities.size() >= 2 && b.velocities.size() >= 2;
    if (!c.enoughShots) {
        c.meanSentence = c.sdSentence = "Each string needs at least 2 included shots";
        return c;
    }
    const double alpha = 1 - figures.level;
    c.welch = stats::welchTest(a.velocities, b.velocities);
    c.fTest = stats::fTest(a.velocities, b.velocities);
    c.meanSentence = sentence("Mean", a, b, a.mean, b.mean,
                              c.welch ? std::optional<double>(c.welch->p) : std::nullopt, alpha);
    c.sdSentence = sentence("SD", a, b, a.sd, b.sd,
                            c.fTest ? std::optional<double>(c.fTest->p) : std::nullopt, alpha);
    return c;
}

} // namespace session
