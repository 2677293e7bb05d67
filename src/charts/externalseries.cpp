#include "charts/externalseries.h"

#include "runtime/encoding.h"
#include "runtime/errors.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"

#include <limits>

namespace charts {

std::string_view ExternalSeries::text(std::size_t k) const
{
    const std::size_t begin = k == 0 ? 0 : m_ends[k - 1];
    return std::string_view(m_text).substr(begin, m_ends[k] - begin);
}

void ExternalSeries::push(std::string_view text)
{
    const std::string cut = rt::utf8Left(text, kValueChars);
    if (m_text.size() + cut.size() > std::numeric_limits<std::uint32_t>::max())
        throw rt::Exception("Out of memory");
    m_text += cut;
    m_ends.push_back(static_cast<std::uint32_t>(m_text.size()));
}

void ExternalSeries::append(std::string_view v, std::string_view e, std::string_view dV)
{
    push(v);
    push(e);
    push(dV);
}

ExternalSeries readExternalSeries(const std::string& path)
{
    table::MeasurementReader reader(path);
    ExternalSeries series;
    table::MeasurementRecord record;
    do {
        reader.readRecord(record);
        series.append(record[table::ColV], record[table::ColE], record[table::ColDV]);
    } while (!reader.atEnd());
    reader.close();
    return series;
}

void ExternalSeriesStore::remove(std::size_t k)
{
    if (k < m_series.size())
        m_series.erase(m_series.begin() + static_cast<std::ptrdiff_t>(k));
}

} // namespace charts
