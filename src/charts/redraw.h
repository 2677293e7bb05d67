#pragma once

#include "chart/chart.h"
#include "charts/externalseries.h"
#include "table/stringgrid.h"
#include "table/units.h"

#include <string>
#include <string_view>
#include <vector>

namespace charts {

// A file name without its last four characters, whatever they are: "test.vxm" -> "test".
std::string seriesTitle(std::string_view fileName);
// The text after the last folder separator or drive colon.
std::string fileNamePart(std::string_view path);

struct ViewFlags {
    bool view3D = false;
    bool labels = false;
    bool legend = false;
    // Velocities and energies in these units; the table keeps m/s and J.
    table::Units units = table::Units::Metric;
    // The velocity and energy axes span the values drawn instead of starting at 0.
    bool fitAxes = false;
};

struct RedrawSources {
    const table::StringGrid& table;
    const ExternalSeriesStore& external;
    // The series list's item texts; there are as many external series as items.
    const std::vector<std::string>& listItems;
    const std::string& currentFileName;
    ViewFlags flags;
};

// Rebuilds the velocity, energy and deviation charts: external series first, in list order,
// the table's series last. A velocity text that does not convert stops it with the
// conversion error, leaving the charts as far as they got; energy and deviation texts that
// do not convert are drawn at 0, and a fitted axis leaves them out.
void redraw(chart::Chart& v, chart::Chart& e, chart::Chart& dV, const RedrawSources& sources);

// The left axis titles in the given units.
void setAxisTitles(chart::Chart& v, chart::Chart& e, chart::Chart& dV, table::Units units);

// The "Labels" flag on every series of the three charts; only once the velocity chart has a
// series, so before the first Redraw the flag waits for it.
void applyLabels(chart::Chart& v, chart::Chart& e, chart::Chart& dV, bool labels);

} // namespace charts
