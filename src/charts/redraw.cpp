#include "charts/redraw.h"

#include "runtime/convert.h"
#include "runtime/encoding.h"
#include "runtime/errors.h"
#include "table/measurementtable.h"

#include <algorithm>

namespace charts {

namespace {

double orZero(std::string_view text)
{
    try {
        return rt::strToFloat(text);
    } catch (const rt::ConvertError&) {
        return 0;
    }
}

enum class Quantity { V, E, DV };

void addExternal(chart::Chart& c, Quantity q, const RedrawSources& src, std::size_t n)
{
    for (std::size_t k = 0; k < n; ++k) {
        const ExternalSeries& ext = src.external.at(k);
        chart::Series& s = c.addSeries(seriesTitle(src.listItems[k]));
        if (q == Quantity::DV)
            c.setLeftAxisAutomatic();
        else
            c.setLeftAxisMinimum(0);
        s.reserve(ext.count());
        for (std::size_t i = 0; i < ext.count(); ++i) {
            const double x = static_cast<double>(i + 1);
            switch (q) {
            case Quantity::V:
                s.addXY(x, rt::strToFloat(ext.v(i)));
                break;
            case Quantity::E:
                s.addXY(x, orZero(ext.e(i)));
                break;
            case Quantity::DV:
                s.addXY(x, orZero(ext.dV(i)));
                break;
            }
        }
    }
}

void addCurrent(chart::Chart& c, Quantity q, const RedrawSources& src, const std::string& title)
{
    chart::Series& s = c.addSeries(title);
    if (q == Quantity::DV)
        c.setLeftAxisAutomatic();
    else
        c.setLeftAxisMinimum(0);
    const table::StringGrid& t = src.table;
    const std::size_t rows = t.rowCount();
    s.reserve(rows);
    for (std::size_t r = 1; r < rows; ++r) {
        const double x = static_cast<double>(r);
        switch (q) {
        case Quantity::V:
            s.addXY(x, rt::strToFloat(t.cell(table::ColV, r)));
            break;
        case Quantity::E:
            s.addXY(x, orZero(t.cell(table::ColE, r)));
            break;
        case Quantity::DV:
            s.addXY(x, orZero(t.cell(table::ColDV, r)));
            break;
        }
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

void redraw(chart::Chart& v, chart::Chart& e, chart::Chart& dV, const RedrawSources& src)
{
    for (chart::Chart* c : {&v, &e, &dV})
        c->removeAllSeries();

    const std::size_t n = std::min(src.listItems.size(), src.external.size());
    addExternal(v, Quantity::V, src, n);
    addExternal(e, Quantity::E, src, n);
    addExternal(dV, Quantity::DV, src, n);

    if (!table::isEmpty(src.table)) {
        const std::string title = src.currentFileName.empty()
                                      ? std::string("No name")
                                      : seriesTitle(fileNamePart(src.currentFileName));
        addCurrent(v, Quantity::V, src, title);
        addCurrent(e, Quantity::E, src, title);
        addCurrent(dV, Quantity::DV, src, title);
    }

    applyLabels(v, e, dV, src.flags.labels);
    for (chart::Chart* c : {&v, &e, &dV}) {
        c->legendVisible = src.flags.legend;
        c->view3D = src.flags.view3D;
    }
}

} // namespace charts
