#pragma once

#include <optional>

// Boost.Math's distributions behind one error policy: nothing is thrown across this header and
// nothing comes back as NaN. A probability outside (0, 1), degrees of freedom that are not
// positive or an argument that is not finite give no value.
namespace stats {

// A confidence level or tail probability the quantiles accept: strictly between 0 and 1.
bool isProbability(double p);

// t with P(T <= t) = p. A table's upper critical value for the tail a is the quantile at 1 - a.
std::optional<double> studentTQuantile(double p, double df);
// P(T > t), from the upper tail itself so that a tiny p-value keeps its digits.
std::optional<double> studentTUpperTail(double t, double df);
std::optional<double> chiSquaredQuantile(double p, double df);
// P(F <= f) and P(F > f), each computed directly for the same reason.
std::optional<double> fisherFLowerTail(double f, double df1, double df2);
std::optional<double> fisherFUpperTail(double f, double df1, double df2);
std::optional<double> normalDensity(double x, double mean, double sd);

} // namespace stats
