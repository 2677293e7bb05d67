#include "charts/redraw.h"

#include "runtime/convert.h"
#include "runtime/encoding.h"
#include "runtime/errors.h"
#include "table/measurementtable.h"
#include "table/units.h"
#include "table/velocity.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace charts {

namespace {

enum class Quantity { V, E, DV };

// Values travel as doubles, NaN for one that did not convert: an optional<double> per point
// costs a store-forwarding stall at each step of a 65,535-point loop.
constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

double orMissing(std::optional<double> value)
{
    return value ? *value : kMissing;
}

// A value in the unit shown.
double inUnits(Quantity q, double value, table::Units units)
{
    if (units == table::Units::Metric)
        return value;
    switch (q) {
    case Quantity::V:
        return table::feetPerSecond(value);
    case Quantity::E:
        return table::footPounds(value);
    case Quantity::DV:
        break;
    }
    return value;
}

// A point's value from its text, or missing for an energy or deviation text that does not
// convert. A velocity that does not convert raises the conversion error.
double textValue(Quantity q, std::string_view text)
{
    if (q == Quantity::V)
        return table::velocityOf(text);
    return orMissing(rt::parseFloat(text));
}

// The same for a row of the table, from the numbers it keeps.
double rowValue(Quantity q, const table::StringGrid& t, std::size_t row)
{
    switch (q) {
    case Quantity::V:
        return table::velocityAt(t, row);
    case Quantity::E:
        return t.numbers().energy(row);
    case Quantity::DV:
        return t.numbers().deviation(row);
    }
    return kMissing;
}

// One chart being filled, with the bounds of the values that converted: a value drawn at 0
// only because its text did not convert must not stretch a fitted axis down to 0.
struct Filling {
    chart::Chart& chart;
    Quantity quantity;
    table::Units units;
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();

    chart::Series& startSeries(std::string title)
    {
        if (quantity == Quantity::DV)
            chart.setLeftAxisAutomatic();
        else
            chart.setLeftAxisMinimum(0);
        return chart.addSeries(std::move(title));
    }

    void add(chart::Series& s, double x, double value)
    {
        const double y = inUnits(quantity, value, units);
        if (std::isnan(y)) {
            s.addXY(x, 0);
            return;
        }
        s.addXY(x, y);
        low = std::min(low, y);
        high = std::max(high, y);
    }

    std::optional<chart::DataBounds> bounds() const
    {
        if (low > high)
            return std::nullopt;
        return chart::DataBounds{low, high};
    }
};

std::string_view externalText(const ExternalSeries& ext, Quantity q, std::size_t i)
{
    switch (q) {
    case Quantity::V:
        return ext.v(i);
    case Quantity::E:
        return ext.e(i);
    case Quantity::DV:
        return ext.dV(i);
    }
    return {};
}

void addExternal(Filling& f, const RedrawSources& src, std::size_t n)
{
    for (std::size_t k = 0; k < n; ++k) {
        const ExternalSeries& ext = src.external.at(k);
        chart::Series& s = f.startSeries(seriesTitle(src.listItems[k]));
        s.reserve(ext.count());
        for (std::size_t i = 0; i < ext.count(); ++i)
            f.add(s, static_cast<double>(i + 1),
                  textValue(f.quantity, externalText(ext, f.quantity, i)));
    }
}

void addCurrent(Filling& f, const RedrawSources& src, const std::string& title)
{
    chart::Series& s = f.startSeries(title);
    const table::StringGrid& t = src.table;
    const std::size_t rows = t.rowCount();
    s.reserve(rows);
    for (std::size_t r = 1; r < rows; ++r) {
        f.add(s, static_cast<double>(r), rowValue(f.quantity, t, r));
        // A shot left out of the statistics stays on the chart, drawn hollow.
        if (t.numbers().excluded(r))
            s.setHollow(r - 1);
    }
}

} // namespace

std::string seriesTitle(std::string_view fileName)
{
    const std::size_t n = rt::utf8Length(fileName);
    return n <= 4 ? std::string() : rt::utf8Left(fileName, n - 4);
}

std::string fileNamePart(std::string_view path)
{
    const std::size_t cut = path.find_last_of("/\\:");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

void applyLabels(chart::Chart& v, chart::Chart& e, chart::Chart& dV, bool labels)
{
    if (v.seriesCount() == 0)
        return;
    for (chart::Chart* c : {&v, &e, &dV})
        c->setMarksVisible(labels);
}

void setAxisTitles(chart::Chart& v, chart::Chart& e, chart::Chart& dV, table::Units units)
{
    const bool imperial = units == table::Units::Imperial;
    v.leftAxis.title = imperial ? "V [ft/s]" : "V [m/s]";
    e.leftAxis.title = imperial ? "E [ft·lbf]" : "E [J]";
    dV.leftAxis.title = "dV [%]";
}

void redraw(chart::Chart& v, chart::Chart& e, chart::Chart& dV, const RedrawSources& src)
{
    const table::Units units = src.flags.units;
    setAxisTitles(v, e, dV, units);
    for (chart::Chart* c : {&v, &e, &dV}) {
        c->removeAllSeries();
        // A redraw that stops half way leaves the axes unfitted.
        c->leftAxis.fitTo.reset();
    }
    Filling fv{v, Quantity::V, units};
    Filling fe{e, Quantity::E, units};
    Filling fdV{dV, Quantity::DV, units};

    const std::size_t n = std::min(src.listItems.size(), src.external.size());
    for (Filling* f : {&fv, &fe, &fdV})
        addExternal(*f, src, n);

    if (!table::isEmpty(src.table)) {
        const std::string title = src.currentFileName.empty()
                                      ? std::string("No name")
                                      : seriesTitle(fileNamePart(src.currentFileName));
        for (Filling* f : {&fv, &fe, &fdV})
            addCurrent(*f, src, title);
    }

    // Deviations are spread around 0 and keep their automatic axis.
    if (src.flags.fitAxes) {
        for (Filling* f : {&fv, &fe})
            f->chart.leftAxis.fitTo = f->bounds();
    }

    applyLabels(v, e, dV, src.flags.labels);
    for (chart::Chart* c : {&v, &e, &dV}) {
        c->legendVisible = src.flags.legend;
        c->view3D = src.flags.view3D;
    }
}

} // namespace charts
