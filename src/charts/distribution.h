#pragma once

#include "chart/chart.h"
#include "table/stringgrid.h"
#include "table/units.h"

// The distribution chart: does the string make one bell or two?
namespace charts {

// Points of the normal curve drawn over the bars: smooth at any size the chart is drawn.
inline constexpr std::size_t kCurvePoints = 241;

// Rebuilds c from the table: the bars of the included velocities in the unit shown (bins of
// stats::histogram, never finer than the velocities are typed), the normal curve of their
// mean and SD over them on the bars' scale, and the mean as an upright line. Without a shot
// the chart keeps its titles and has no series; one shot has no curve, nor has a string of
// one velocity repeated. Always flat (bins are no ribbons); the legend is the caller's.
void distributionChart(chart::Chart& c, const table::StringGrid& grid, table::Units units);

} // namespace charts
