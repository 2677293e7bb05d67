#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Series of other measurement files laid over the current one. Only their value texts are
// kept; Redraw converts them each time, like the cells of the table.
namespace charts {

// A value line keeps this many characters.
inline constexpr std::size_t kValueChars = 16;

// The V, E and dV texts of one file, one triple per record. All texts share one buffer:
// a file of millions of short records costs a few bytes per record, not three strings.
class ExternalSeries {
public:
    std::size_t count() const { return m_ends.size() / 3; }
    std::string_view v(std::size_t i) const { return text(3 * i); }
    std::string_view e(std::size_t i) const { return text(3 * i + 1); }
    std::string_view dV(std::size_t i) const { return text(3 * i + 2); }

    // Each text is cut to kValueChars characters.
    void append(std::string_view v, std::string_view e, std::string_view dV);

private:
    std::string_view text(std::size_t k) const;
    void push(std::string_view text);

    std::string m_text;
    std::vector<std::uint32_t> m_ends;
};

// Reads lines 2, 3 and 6 of every six-line record of a measurement file. At least one record
// is read, lines missing at the end read as empty texts, and nothing is converted. A file
// that cannot be opened or read raises the runtime's input/output error, one that is not a
// measurement file table::NotMeasurementFile.
ExternalSeries readExternalSeries(const std::string& path);

// The store, kept in step with the series list: entry k is list item k.
class ExternalSeriesStore {
public:
    std::size_t size() const { return m_series.size(); }
    const ExternalSeries& at(std::size_t k) const { return m_series[k]; }
    void add(ExternalSeries series) { m_series.push_back(std::move(series)); }
    // The series after it move down by one, in their order.
    void remove(std::size_t k);

private:
    std::vector<ExternalSeries> m_series;
};

} // namespace charts
