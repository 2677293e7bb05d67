#include "stats/comparison.h"

#include "stats/distributions.h"
#include "stats/sample.h"

#include <algorithm>
#include <cmath>

namespace stats {

std::optional<WelchResult> welchTest(std::span<const double> a, std::span<const double> b)
{
    const auto sa = meanAndSd(a);
    const auto sb = meanAndSd(b);
    if (!sa || !sb || (sa->sd == 0 && sb->sd == 0))
        return std::nullopt;
    const double na = static_cast<double>(sa->n);
    const double nb = static_cast<double>(sb->n);
    // Each mean's squared standard error.
    const double va = sa->sd * sa->sd / na;
    const double vb = sb->sd * sb->sd / nb;
    WelchResult r;
    r.t = (sa->mean - sb->mean) / std::sqrt(va + vb);
    r.df = (va + vb) * (va + vb) / (va * va / (na - 1) + vb * vb / (nb - 1));
    const auto tail = studentTUpperTail(std::fabs(r.t), r.df);
    if (!std::isfinite(r.t) || !tail)
        return std::nullopt;
    r.p = std::min(1.0, 2 * *tail);
    return r;
}

std::optional<FTestResult> fTest(std::span<const double> a, std::span<const double> b)
{
    const auto sa = meanAndSd(a);
    const auto sb = meanAndSd(b);
    if (!sa || !sb || sa->sd == 0 || sb->sd == 0)
        return std::nullopt;
    FTestResult r;
    r.f = (sa->sd * sa->sd) / (sb->sd * sb->sd);
    r.df1 = static_cast<double>(sa->n - 1);
    r.df2 = static_cast<double>(sb->n - 1);
    const auto lower = fisherFLowerTail(r.f, r.df1, r.df2);
    const auto upper = fisherFUpperTail(r.f, r.df1, r.df2);
    if (!lower || !upper)
        return std::nullopt;
    r.p = std::min(1.0, 2 * std::min(*lower, *upper));
    return r;
}

} // namespace stats
