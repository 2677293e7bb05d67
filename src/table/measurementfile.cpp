#include "table/measurementfile.h"

#include "runtime/textfile.h"
#include "table/columns.h"
#include "table/savedselection.h"

#include <algorithm>
#include <string_view>

namespace table {

namespace {

// "1", a velocity and four empty lines, each ended by CR LF.
constexpr std::size_t kPlausibleRecordBytes = 16;

std::string refusalText(const std::string& path, std::size_t line)
{
    return "'" + path + "' is not a measurement file (line " + std::to_string(line) + ")";
}

} // namespace

bool isRecordStart(std::string_view text)
{
    // Empty is allowed: an extra line end after the last record starts an empty record.
    if (text.empty())
        return true;
    if (text.front() == '-' || text.front() == '+')
        text.remove_prefix(1);
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

NotMeasurementFile::NotMeasurementFile(std::string path, std::size_t line)
    : Exception(refusalText(path, line))
    , m_path(std::move(path))
    , m_line(line)
{
}

MeasurementReader::MeasurementReader(const std::string& path)
    : m_path(path)
    , m_reader(path)
{
}

std::string_view MeasurementReader::readLine()
{
    ++m_line;
    std::string_view line;
    try {
        line = m_reader.readLineView();
    } catch (const rt::LineTooLong&) {
        throw NotMeasurementFile(m_path, m_line);
    }
    if (m_reader.lineHasNul())
        throw NotMeasurementFile(m_path, m_line);
    return line;
}

void MeasurementReader::readRecord(MeasurementRecord& record)
{
    record[0] = readLine();
    if (!isRecordStart(record[0]))
        throw NotMeasurementFile(m_path, m_line);
    for (std::size_t i = 1; i < kLinesPerRecord; ++i)
        record[i] = readLine();
}

bool MeasurementReader::splitBufferedRecord(std::array<std::string_view, kLinesPerRecord>& lines)
{
    const std::string_view bytes = m_reader.peekBytes();
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    for (std::string_view& line : lines) {
        const char* const begin = p;
        unsigned char highBits = 0;
        // Every control byte up to CR stops the scan: NUL, tab and the line ends.
        while (p<end&& static_cast<unsigned char>(*p)> '\r')
            highBits |= static_cast<unsigned char>(*p++);
        if (p == end || (*p != '\r' && *p != '\n') || highBits >= 0x80 ||
            static_cast<std::size_t>(p - begin) > m_reader.maxLineBytes())
            return false;
        line = std::string_view(begin, static_cast<std::size_t>(p - begin));
        // A CR as the buffer's last byte may be followed by a LF still to be read.
        if (*p++ == '\r') {
            if (p == end)
                return false;
            if (*p == '\n')
                ++p;
        }
    }
    if (!isRecordStart(lines[0]))
        return false;
    m_reader.skipBytes(static_cast<std::size_t>(p - bytes.data()));
    m_line += kLinesPerRecord;
    return true;
}

void MeasurementReader::readRecordInto(CellRows& rows, RowNumbers& numbers)
{
    const std::size_t row = numbers.size();
    numbers.appendRow();
    rows.openRow();
    try {
        std::array<std::string_view, kLinesPerRecord> lines;
        const bool whole = splitBufferedRecord(lines);
        for (std::size_t i = 0; i < kLinesPerRecord; ++i) {
            // Otherwise line by line, each converted while it is at hand: a line's text lasts
            // until the next is read.
            const std::string_view line = whole ? lines[i] : readLine();
            if (!whole && i == 0 && !isRecordStart(line))
                throw NotMeasurementFile(m_path, m_line);
            rows.addCell(line);
            if (RowNumbers::keeps(i))
                numbers.write(i, row, line);
        }
        rows.closeRow();
    } catch (...) {
        rows.dropOpenRow();
        numbers.resize(row);
        throw;
    }
}

void writeTable(const StringGrid& grid, const std::string& path)
{
    rt::TextWriter writer(path);
    for (std::size_t r = 1; r < grid.rowCount(); ++r) {
        for (std::size_t c = 0; c < kLinesPerRecord; ++c)
            writer.writeLine(grid.cell(c, r));
    }
    writer.close();
}

void writeSelection(const StringGrid& grid, std::size_t top, std::size_t bottom,
                    const std::string& path)
{
    const SavedSelection selection(grid, top, bottom);
    rt::TextWriter writer(path);
    for (std::size_t r = top; r <= bottom; ++r) {
        writer.writeLine(selection.number(r));
        for (std::size_t c = table::ColV; c <= table::ColBullet; ++c)
            writer.writeLine(grid.cell(c, r));
        writer.writeLine(selection.deviation(r));
    }
    writer.close();
}

MeasurementRecords readRecords(const std::string& path)
{
    MeasurementRecords loaded;
    try {
        MeasurementReader reader(path);
        // The shortest record is six bare line ends: room for that many rows and for the
        // file's bytes means the store never moves (and briefly doubles) while it fills.
        loaded.records.reserve(reader.fileSize() / kLinesPerRecord + 1, reader.fileSize());
        // The numbers take several times a row's bytes: room for records of a plausible size,
        // growing past it only for files of nearly empty records.
        loaded.numbers.reserve(reader.fileSize() / kPlausibleRecordBytes + 1);
        do {
            reader.readRecordInto(loaded.records, loaded.numbers);
        } while (!reader.atEnd());
    } catch (const NotMeasurementFile&) {
        throw;
    } catch (const rt::NotRegularFile&) {
        throw;
    } catch (...) {
        loaded.failure = std::current_exception();
    }
    return loaded;
}

void putRecords(StringGrid& grid, MeasurementRecords loaded)
{
    // All rows in one step: growing the table a row at a time would wake its view once per
    // row.
    const std::size_t first = grid.rowCount() - 1;
    GridUpdate update(grid);
    if (loaded.records.size() > 0)
        grid.replaceRowsFrom(first, std::move(loaded.records), std::move(loaded.numbers));
    if (loaded.failure)
        std::rethrow_exception(loaded.failure);
}

void readTable(StringGrid& grid, const std::string& path)
{
    putRecords(grid, readRecords(path));
}

} // namespace table
