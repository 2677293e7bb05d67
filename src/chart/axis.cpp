#include "chart/axis.h"

#include "runtime/numberformat.h"

#include <algorithm>
#include <cmath>

namespace chart {

std::string formatValue(double value, char decimalSeparator)
{
    if (!std::isfinite(value) || std::fabs(value) >= 1e15)
        return rt::formatFloat(value, rt::FloatFormat::General, 15, 0);
    // Whole thousandths, rounded half away from zero, then split into digits.
    const double scaled = std::round(std::fabs(value) * 1000.0);
    const bool negative = value < 0 && scaled != 0;
    const auto thousandths = static_cast<long long>(scaled);
    long long whole = thousandths / 1000;
    int fraction = static_cast<int>(thousandths % 1000);

    std::string digits = std::to_string(whole);
    const char group = decimalSeparator == ',' ? ' ' : ',';
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0)
            out += group;
        out += digits[i];
    }
    if (fraction != 0) {
        std::string decimals = {char('0' + fraction / 100), char('0' + fraction / 10 % 10),
                                char('0' + fraction % 10)};
        while (!decimals.empty() && decimals.back() == '0')
            decimals.pop_back();
        out += decimalSeparator;
        out += decimals;
    }
    return negative ? "-" + out : out;
}

double niceStep(double rawStep)
{
    if (!(rawStep > 0) || !std::isfinite(rawStep))
        return 1;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rawStep)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * magnitude >= rawStep * (1 - 1e-9))
            return m * magnitude;
    }
    return 10 * magnitude;
}

std::vector<double> tickValues(double min, double max, double step)
{
    std::vector<double> ticks;
    if (!(step > 0) || !(max >= min))
        return ticks;
    const double first = std::ceil(min / step - 1e-9);
    const double last = std::floor(max / step + 1e-9);
    // A range of a few hundred ticks at most reaches here; the guard keeps a bad step from
    // asking for millions.
    if (last - first > 10000)
        return ticks;
    for (double k = first; k <= last; ++k) {
        const double v = k * step;
        ticks.push_back(std::fabs(v) < step * 1e-9 ? 0.0 : v);
    }
    return ticks;
}

AxisRange axisRange(double dataMin, double dataMax, bool autoMin, double fixedMin, bool autoMax,
                    double fixedMax, int maxTicks, bool snapToSteps, double minStep)
{
    const bool noData = std::isnan(dataMin) || std::isnan(dataMax);
    double lo = autoMin ? (noData ? 0.0 : dataMin) : fixedMin;
    double hi = autoMax ? (noData ? (autoMin ? 1.0 : lo + 1.0) : dataMax) : fixedMax;
    if (!(hi > lo)) {
        if (autoMin && autoMax) {
            const double pad = lo == 0 ? 1.0 : std::fabs(lo) * 0.1;
            lo -= pad;
            hi += pad;
        } else if (autoMax) {
            hi = lo + (lo == 0 ? 1.0 : std::fabs(lo) * 0.1);
        } else {
            lo = hi - (hi == 0 ? 1.0 : std::fabs(hi) * 0.1);
        }
    }
    // Beyond this the difference of the ends is no longer a number.
    if (!std::isfinite(hi - lo)) {
        lo = std::max(lo, -1e300);
        hi = std::min(hi, 1e300);
    }
    AxisRange r;
    r.step = std::max(niceStep((hi - lo) / std::max(1, maxTicks)), minStep);
    if (snapToSteps) {
        if (autoMin)
            lo = std::floor(lo / r.step + 1e-9) * r.step;
        if (autoMax)
            hi = std::ceil(hi / r.step - 1e-9) * r.step;
    }
    if (!(hi > lo))
        hi = lo + r.step;
    r.min = lo;
    r.max = hi;
    return r;
}

AxisRange fittedRange(double dataMin, double dataMax, int maxTicks)
{
    if (std::isnan(dataMin) || std::isnan(dataMax))
        return axisRange(dataMin, dataMax, true, 0, true, 0, maxTicks, true, 0);
    // Clamped so that the margins and the difference of the ends stay numbers.
    const double lo = std::clamp(std::min(dataMin, dataMax), -1e300, 1e300);
    const double hi = std::clamp(std::max(dataMin, dataMax), -1e300, 1e300);
    AxisRange r;
    if (lo == hi) {
        // Far from zero one unit is below the precision of the value.
        const double pad = std::max(1.0, std::fabs(lo) * 1e-9);
        r.min = lo - pad;
        r.max = hi + pad;
        r.step = niceStep((r.max - r.min) / std::max(1, maxTicks));
        return r;
    }
    const double range = hi - lo;
    // A step on each side and both ends out to whole steps: once a step is as wide as the
    // data, four steps always do, so a smaller budget could never be met.
    const int budget = std::max(maxTicks, 4);
    for (double step = niceStep(range / budget);; step = niceStep(step * 1.5)) {
        const double pad = std::max(range * 0.05, step);
        r.step = step;
        r.min = std::floor((lo - pad) / step + 1e-9) * step;
        r.max = std::ceil((hi + pad) / step - 1e-9) * step;
        if ((r.max - r.min) / step <= budget + 1e-9 || step >= range)
            return r;
    }
}

} // namespace chart
