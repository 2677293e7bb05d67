#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace table {

// Rows of a fixed number of cell texts, stored compactly: a row is its cells joined by '\n'
// (no cell holds a line end) in one shared buffer, found through a 12-byte entry. An empty
// row takes no text at all. Measurement files run to millions of rows of a few short cells,
// where a std::string per cell would cost several times the file.
//
// A changed row is rewritten in place when it fits, else appended; the space given up is
// reclaimed once it outgrows the live texts.
class CellRows {
public:
    static constexpr char kSeparator = '\n';
    // A text as a cell keeps it: a line end would split the cell in two, here and in the file
    // it is saved to, so it becomes a space.
    static void toCellText(std::string& text);

    explicit CellRows(std::size_t colCount);

    std::size_t colCount() const { return m_colCount; }
    std::size_t size() const { return m_offsets.size(); }

    // Room for this many rows and text bytes without moving the store. Untouched room costs
    // address space, not memory.
    void reserve(std::size_t rows, std::size_t textBytes);

    // New rows are empty.
    void resize(std::size_t rows);
    // Takes colCount() texts.
    void appendRow(const std::string_view* cells);
    // A row already joined as the store keeps it: at most colCount() cells separated by
    // kSeparator, which no cell holds.
    void appendRowText(std::string_view joined);
    // A row whose cells arrive one at a time, each valid only until the next (a file's lines):
    // openRow(), addCell() for at most colCount() cells holding no kSeparator, closeRow().
    // dropOpenRow() takes back a row left unfinished, or one closeRow() refused.
    void openRow();
    void addCell(std::string_view text);
    void closeRow();
    void dropOpenRow();
    // Removes rows first..last (inclusive); the rows below move up.
    void eraseRows(std::size_t first, std::size_t last);
    // Replaces rows from `first` on with all of `tail`'s rows, reusing tail's store so that a
    // table read whole is never copied.
    void replaceFrom(std::size_t first, CellRows&& tail);

    std::string_view cell(std::size_t col, std::size_t row) const;
    // All cells of a row at once, for a pass that reads several of them: cells[c] for c below
    // cells.size(), "" for those the row lacks.
    void cellsOf(std::size_t row, std::span<std::string_view> cells) const;
    void setCell(std::size_t col, std::size_t row, std::string_view text);
    // Gives column `col` of rows first..last the texts `text` writes into its string (given
    // empty), in one pass that packs the whole store anew: a pass over every row moves the
    // store once instead of moving rows one by one as their texts change length.
    using CellText = std::function<void(std::size_t row, std::string& text)>;
    void setColumn(std::size_t col, std::size_t first, std::size_t last, const CellText& text);

    // Bytes held for texts, live and given up; for tests of the reclaiming.
    std::size_t textCapacityUsed() const { return m_text.size(); }

private:
    std::string_view rowText(std::size_t row) const;
    // Overwrites the cell where the new text has its length; false where it has not.
    bool rewriteInPlace(std::size_t row, std::size_t col, std::string_view text);
    void storeRow(std::size_t row, std::string_view text);
    void release(std::size_t bytes);
    void compact();

    std::size_t m_colCount;
    std::string m_text;
    std::vector<std::uint64_t> m_offsets;
    std::vector<std::uint32_t> m_sizes;
    std::size_t m_dead = 0;
    std::size_t m_openCells = 0;
    bool m_openRowHasText = false;
    // Where setCell builds a row, kept so that a pass over the table allocates once.
    std::string m_row;
};

} // namespace table
