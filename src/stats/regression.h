#pragma once

#include "stats/intervals.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// Velocity over charge (or seating depth) across a ladder: the straight line through it and
// where the ladder runs flatter than that line.
namespace stats {

struct LineFit {
    double slope = 0;
    double intercept = 0;
    // Absent when every y is the same: there is no scatter to explain.
    std::optional<double> rSquared;
    // Standard error of the slope; 0 when the points lie on the line.
    double slopeError = 0;
    // slope ± t(1 - a/2, n - 2)·slopeError at the level asked for.
    Interval slopeInterval;
};

// Least squares y = intercept + slope·x. Absent below three points (two always fit exactly and
// leave no error), for x and y of different lengths, when every x is the same, for a value that
// is not finite or a level outside (0, 1).
std::optional<LineFit> fitLine(std::span<const double> x, std::span<const double> y, double level);

// Strings first..last (indexes into the given order), neighbours all.
struct Run {
    std::size_t first = 0;
    std::size_t last = 0;
};

// Flat spots of a ladder whose strings are given in order of x with their mean velocities: runs
// of two or more neighbours whose means move by less than half of what the fitted slope
// predicts over their spacing, |m[i+1] - m[i]| < 0.5·|slope|·|x[i+1] - x[i]|. None when the
// slope's interval includes 0: against no trend there is nothing to be flat against. None
// either for x and means of different lengths.
std::vector<Run> flatSpots(std::span<const double> x, std::span<const double> means,
                           const LineFit& fit);

} // namespace stats
