#include "table/cellrows.h"

#include "runtime/errors.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace table {

namespace {

constexpr char kSeparator = CellRows::kSeparator;
// Below this, given-up space is not worth a copy of the store.
constexpr std::size_t kMinDeadToCompact = 1 << 20;

// The next separator from `from` on, or the row's end. Cells are a few bytes: a plain loop
// beats a library search that first sets up for long texts.
std::size_t cellEnd(std::string_view row, std::size_t from)
{
    while (from < row.size() && row[from] != kSeparator)
        ++from;
    return from;
}

// The cell's place in a row text.
std::string_view nthCell(std::string_view row, std::size_t col)
{
    std::size_t begin = 0;
    for (std::size_t c = 0; c < col; ++c) {
        begin = cellEnd(row, begin) + 1;
        if (begin > row.size())
            return {};
    }
    return row.substr(begin, cellEnd(row, begin) - begin);
}

void appendCell(std::string& out, std::string_view text);

// Appends to `out` the row `old` with cell `col` replaced by `text`. A row may hold fewer
// cells than the store's columns (rows of a file of six lines in a table with room for shot
// details): the missing ones are empty, and separators are added up to `col`. A row whose
// cells are all empty takes no text at all.
void appendRowWithCell(std::string& out, std::string_view old, std::size_t col,
                       std::string_view text)
{
    const std::size_t start = out.size();
    std::size_t begin = 0;
    std::size_t c = 0;
    for (; c < col && begin <= old.size(); ++c)
        begin = cellEnd(old, begin) + 1;
    if (begin > old.size()) {
        // The row ends before the cell: it gets the separators it lacks.
        out += old;
        out.append(col - c + 1, kSeparator);
        appendCell(out, text);
    } else {
        const std::size_t end = cellEnd(old, begin);
        out += old.substr(0, begin);
        appendCell(out, text);
        out += old.substr(end);
    }
    if (std::all_of(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(),
                    [](char ch) { return ch == kSeparator; }))
        out.resize(start);
}

void appendCell(std::string& out, std::string_view text)
{
    const std::size_t start = out.size();
    out += text;
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), kSeparator, ' ');
}

bool allEmpty(const std::string_view* cells, std::size_t count)
{
    return std::all_of(cells, cells + count, [](std::string_view c) { return c.empty(); });
}

} // namespace

void CellRows::toCellText(std::string& text)
{
    std::replace(text.begin(), text.end(), kSeparator, ' ');
}

CellRows::CellRows(std::size_t colCount)
    : m_colCount(colCount == 0 ? 1 : colCount)
{
}

void CellRows::reserve(std::size_t rows, std::size_t textBytes)
{
    m_offsets.reserve(rows);
    m_sizes.reserve(rows);
    m_text.reserve(textBytes);
}

std::string_view CellRows::rowText(std::size_t row) const
{
    return std::string_view(m_text).substr(m_offsets[row], m_sizes[row]);
}

void CellRows::resize(std::size_t rows)
{
    const std::size_t old = size();
    if (rows < old) {
        for (std::size_t r = rows; r < old; ++r)
            release(m_sizes[r]);
        m_offsets.resize(rows);
        m_sizes.resize(rows);
        compact();
        return;
    }
    m_offsets.resize(rows, 0);
    m_sizes.resize(rows, 0);
}

void CellRows::appendRow(const std::string_view* cells)
{
    m_offsets.push_back(m_text.size());
    m_sizes.push_back(0);
    if (allEmpty(cells, m_colCount))
        return;
    std::string row;
    for (std::size_t c = 0; c < m_colCount; ++c) {
        if (c > 0)
            row += kSeparator;
        appendCell(row, cells[c]);
    }
    storeRow(size() - 1, row);
}

void CellRows::appendRowText(std::string_view joined)
{
    m_offsets.push_back(m_text.size());
    m_sizes.push_back(0);
    if (std::all_of(joined.begin(), joined.end(), [](char c) { return c == kSeparator; }))
        return;
    m_sizes.back() = static_cast<std::uint32_t>(joined.size());
    m_text += joined;
}

void CellRows::openRow()
{
    m_offsets.push_back(m_text.size());
    m_sizes.push_back(0);
    m_openCells = 0;
    m_openRowHasText = false;
}

void CellRows::addCell(std::string_view text)
{
    if (m_openCells++ > 0)
        m_text += kSeparator;
    m_text += text;
    m_openRowHasText |= !text.empty();
}

void CellRows::closeRow()
{
    const std::size_t bytes = m_text.size() - m_offsets.back();
    if (!m_openRowHasText) {
        // As appendRowText: a row of empty cells takes no text.
        m_text.resize(m_offsets.back());
        return;
    }
    if (bytes > std::numeric_limits<std::uint32_t>::max())
        throw rt::Exception("Out of memory");
    m_sizes.back() = static_cast<std::uint32_t>(bytes);
}

void CellRows::dropOpenRow()
{
    m_text.resize(m_offsets.back());
    m_offsets.pop_back();
    m_sizes.pop_back();
}

void CellRows::eraseRows(std::size_t first, std::size_t last)
{
    last = std::min(last, size() - 1);
    if (first > last || first >= size())
        return;
    for (std::size_t r = first; r <= last; ++r)
        release(m_sizes[r]);
    m_offsets.erase(m_offsets.begin() + static_cast<std::ptrdiff_t>(first),
                    m_offsets.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    m_sizes.erase(m_sizes.begin() + static_cast<std::ptrdiff_t>(first),
                  m_sizes.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    compact();
}

void CellRows::replaceFrom(std::size_t first, CellRows&& tail)
{
    first = std::min(first, size());
    // The rows kept from here go into tail's store, which is the big one.
    const std::size_t keep = first;
    std::vector<std::uint64_t> offsets(keep);
    std::vector<std::uint32_t> sizes(keep);
    for (std::size_t r = 0; r < keep; ++r) {
        offsets[r] = tail.m_text.size();
        sizes[r] = m_sizes[r];
        tail.m_text += rowText(r);
    }
    tail.m_offsets.insert(tail.m_offsets.begin(), offsets.begin(), offsets.end());
    tail.m_sizes.insert(tail.m_sizes.begin(), sizes.begin(), sizes.end());
    tail.m_colCount = m_colCount;
    *this = std::move(tail);
}

std::string_view CellRows::cell(std::size_t col, std::size_t row) const
{
    if (col >= m_colCount || row >= size() || m_sizes[row] == 0)
        return {};
    return nthCell(rowText(row), col);
}

void CellRows::cellsOf(std::size_t row, std::span<std::string_view> cells) const
{
    const std::string_view text = row < size() ? rowText(row) : std::string_view();
    std::size_t begin = 0;
    for (std::string_view& cell : cells) {
        if (begin > text.size()) {
            cell = {};
            continue;
        }
        const std::size_t end = cellEnd(text, begin);
        cell = text.substr(begin, end - begin);
        begin = end + 1;
    }
}

void CellRows::setCell(std::size_t col, std::size_t row, std::string_view text)
{
    if (col >= m_colCount || row >= size())
        return;
    if (rewriteInPlace(row, col, text))
        return;
    const std::string_view old = rowText(row);
    m_row.clear();
    appendRowWithCell(m_row, old, col, text);
    storeRow(row, m_row);
}

bool CellRows::rewriteInPlace(std::size_t row, std::size_t col, std::string_view text)
{
    const std::string_view old = rowText(row);
    // A loop, not find: a pass calls this per row for a text of a few bytes.
    if (old.empty() || text.empty() ||
        std::any_of(text.begin(), text.end(), [](char c) { return c == kSeparator; }))
        return false;
    std::size_t begin = 0;
    for (std::size_t c = 0; c < col && begin <= old.size(); ++c)
        begin = cellEnd(old, begin) + 1;
    if (begin > old.size() || cellEnd(old, begin) - begin != text.size())
        return false;
    std::memcpy(m_text.data() + m_offsets[row] + begin, text.data(), text.size());
    return true;
}

void CellRows::setColumn(std::size_t col, std::size_t first, std::size_t last, const CellText& text)
{
    if (col >= m_colCount || first > last || first >= size())
        return;
    last = std::min(last, size() - 1);
    // A text that keeps its length, as most deviations do when a shot is deleted, is written
    // in place. A row whose text changes length moves as setCell moves it while such rows are
    // few; once they are more than an eighth of the rows so far, packing the store anew from
    // there on costs less.
    std::size_t moved = 0;
    std::string cellText;
    std::size_t changed = first;
    for (; changed <= last; ++changed) {
        cellText.clear();
        text(changed, cellText);
        if (rewriteInPlace(changed, col, cellText))
            continue;
        if (++moved > 16 + (changed - first) / 8)
            break;
        m_row.clear();
        appendRowWithCell(m_row, rowText(changed), col, cellText);
        storeRow(changed, m_row);
    }
    if (changed > last)
        return;
    std::string packed;
    packed.reserve(m_text.size() - m_dead + (last - changed + 1) * 8);
    for (std::size_t r = 0; r < size(); ++r) {
        const std::string_view old = rowText(r);
        const std::size_t offset = packed.size();
        if (r < changed || r > last) {
            packed += old;
        } else {
            if (r > changed) {
                cellText.clear();
                text(r, cellText);
            }
            appendRowWithCell(packed, old, col, cellText);
        }
        m_offsets[r] = packed.size() > offset ? offset : 0;
        m_sizes[r] = static_cast<std::uint32_t>(packed.size() - offset);
    }
    m_text = std::move(packed);
    m_dead = 0;
}

void CellRows::storeRow(std::size_t row, std::string_view text)
{
    if (text.size() > std::numeric_limits<std::uint32_t>::max())
        throw rt::Exception("Out of memory");
    const std::size_t oldSize = m_sizes[row];
    const std::size_t offset = m_offsets[row];
    const auto newSize = static_cast<std::uint32_t>(text.size());
    if (oldSize > 0 && offset + oldSize == m_text.size()) {
        // The last text in the store grows or shrinks where it is: rows filled cell by cell,
        // as a download does, never leave copies behind.
        m_text.resize(offset);
        m_text += text;
    } else if (text.size() <= oldSize) {
        std::memcpy(m_text.data() + offset, text.data(), text.size());
        release(oldSize - text.size());
    } else {
        release(oldSize);
        m_offsets[row] = m_text.size();
        m_text += text;
    }
    m_sizes[row] = newSize;
    if (newSize == 0)
        m_offsets[row] = 0;
    compact();
}

void CellRows::release(std::size_t bytes)
{
    m_dead += bytes;
}

void CellRows::compact()
{
    if (m_dead < kMinDeadToCompact || m_dead < m_text.size() / 2)
        return;
    std::string packed;
    packed.reserve(m_text.size() - m_dead);
    for (std::size_t r = 0; r < size(); ++r) {
        if (m_sizes[r] == 0)
            continue;
        const std::string_view text = rowText(r);
        m_offsets[r] = packed.size();
        packed += text;
    }
    m_text = std::move(packed);
    m_dead = 0;
    if (m_offsets.capacity() > 4 * m_offsets.size() + 64) {
        m_offsets.shrink_to_fit();
        m_sizes.shrink_to_fit();
    }
}

} // namespace table
