#pragma once

#include <string>
#include <vector>

namespace chart {

// A point's value as its mark and the axis labels show it: thousands grouped, at most three
// decimals, no trailing zeros ("#,##0.###"). The group separator follows the decimal
// separator: ',' with a point, a space with a comma.
std::string formatValue(double value, char decimalSeparator);

// The smallest step of the form 1, 2 or 5 times a power of ten that is at least rawStep.
double niceStep(double rawStep);

// Multiples of step from the first at or above min to the last at or below max.
std::vector<double> tickValues(double min, double max, double step);

// The range an axis shows for data from dataMin to dataMax (either may be NaN when there is
// no data). Automatic ends are widened to a whole step; a fixed end stays where it is. The
// result always has max > min.
struct AxisRange {
    double min = 0;
    double max = 1;
    double step = 1;
};
AxisRange axisRange(double dataMin, double dataMax, bool autoMin, double fixedMin, bool autoMax,
                    double fixedMax, int maxTicks, bool snapToSteps, double minStep);

// The lowest and highest value an axis is fitted to.
struct DataBounds {
    double min = 0;
    double max = 0;
    friend bool operator==(const DataBounds&, const DataBounds&) = default;
};

// An axis fitted to data from dataMin to dataMax: widened by 5 % of the range on each side,
// but by at least one step, and out to whole steps, with no more than maxTicks steps where
// it can (four at the least, the two margins and the data between them). Equal ends widen by
// one each way instead, so a single shot still has an axis around it.
AxisRange fittedRange(double dataMin, double dataMax, int maxTicks);

} // namespace chart
