#include "stats/distributions.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <cmath>

namespace stats {

namespace {

namespace bp = boost::math::policies;

// Boost throws by default; here every error gives a NaN or an infinity that finite() turns into
// "no value". The arguments are checked before, so this is the second line, not the first.
using Policy =
    bp::policy<bp::domain_error<bp::ignore_error>, bp::pole_error<bp::ignore_error>,
               bp::overflow_error<bp::ignore_error>, bp::underflow_error<bp::ignore_error>,
               bp::evaluation_error<bp::ignore_error>, bp::rounding_error<bp::ignore_error>,
               bp::indeterminate_result_error<bp::ignore_error>>;

using StudentT = boost::math::students_t_distribution<double, Policy>;
using ChiSquared = boost::math::chi_squared_distribution<double, Policy>;
using FisherF = boost::math::fisher_f_distribution<double, Policy>;
using Normal = boost::math::normal_distribution<double, Policy>;

std::optional<double> finite(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

bool isDegreesOfFreedom(double df)
{
    return std::isfinite(df) && df > 0;
}

} // namespace

bool isProbability(double p)
{
    return p > 0 && p < 1; // false for NaN as well
}

std::optional<double> studentTQuantile(double p, double df)
{
    if (!isProbability(p) || !isDegreesOfFreedom(df))
        return std::nullopt;
    return finite(quantile(StudentT(df), p));
}

std::optional<double> studentTUpperTail(double t, double df)
{
    if (!std::isfinite(t) || !isDegreesOfFreedom(df))
        return std::nullopt;
    return finite(cdf(complement(StudentT(df), t)));
}

std::optional<double> chiSquaredQuantile(double p, double df)
{
    if (!isProbability(p) || !isDegreesOfFreedom(df))
        return std::nullopt;
    return finite(quantile(ChiSquared(df), p));
}

std::optional<double> fisherFLowerTail(double f, double df1, double df2)
{
    if (!std::isfinite(f) || f < 0 || !isDegreesOfFreedom(df1) || !isDegreesOfFreedom(df2))
        return std::nullopt;
    return finite(cdf(FisherF(df1, df2), f));
}

std::optional<double> fisherFUpperTail(double f, double df1, double df2)
{
    if (!std::isfinite(f) || f < 0 || !isDegreesOfFreedom(df1) || !isDegreesOfFreedom(df2))
        return std::nullopt;
    return finite(cdf(complement(FisherF(df1, df2), f)));
}

std::optional<double> normalDensity(double x, double mean, double sd)
{
    if (!std::isfinite(x) || !std::isfinite(mean) || !std::isfinite(sd) || sd <= 0)
        return std::nullopt;
    return finite(pdf(Normal(mean, sd), x));
}

} // namespace stats
