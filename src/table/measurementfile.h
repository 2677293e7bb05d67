#pragma once

#include "runtime/errors.h"
#include "runtime/textfile.h"
#include "table/stringgrid.h"

#include <array>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

// Measurement files: six lines per shot (N, V, E, m, Bullet, dV), each the cell's text as
// the table holds it, every line ended by CR LF; nothing else in the file. A velocity may
// carry decimals, with whichever separator the machine that wrote it had.
namespace table {

inline constexpr std::size_t kLinesPerRecord = 6;
using MeasurementRecord = std::array<std::string, kLinesPerRecord>;

// A file that is not a measurement file, and the first line that tells: one holding a NUL
// byte, one longer than rt::kMaxLineBytes, or the first line of a record that is neither a
// whole number nor empty. Everything else in a record is free text.
class NotMeasurementFile : public rt::Exception {
public:
    NotMeasurementFile(std::string path, std::size_t line);
    const std::string& path() const { return m_path; }
    // Counted from 1, as the reader splits lines.
    std::size_t line() const { return m_line; }

private:
    std::string m_path;
    std::size_t m_line;
};

// Whether a text may be the first line of a record: a whole number (a sign allowed) or empty.
// Other formats that hold the same records apply it too, so that what they hold can always be
// saved as a measurement file and read back.
bool isRecordStart(std::string_view text);

// Reads a measurement file record by record and refuses it at the first line that shows it
// is not one. Lines missing at the end read as empty texts.
class MeasurementReader {
public:
    // Opening raises the runtime's input/output error.
    explicit MeasurementReader(const std::string& path);

    // Throws NotMeasurementFile, or the runtime's input/output error.
    void readRecord(MeasurementRecord& record);
    // Appends the record to the store as a row of its own, and the numbers behind its V, E and
    // m texts to `numbers`; a record that fails part-way leaves both as they were.
    void readRecordInto(CellRows& rows, RowNumbers& numbers);
    bool atEnd() { return m_reader.eof(); }
    void close() { m_reader.close(); }
    std::size_t fileSize() const { return m_reader.size(); }

private:
    // Valid until the next line is read.
    std::string_view readLine();
    // The record's lines where all six lie whole in the buffer, plain ASCII, so that no line
    // needs what readLine does beyond splitting; false, with nothing taken, otherwise.
    bool splitBufferedRecord(std::array<std::string_view, kLinesPerRecord>& lines);

    std::string m_path;
    rt::TextReader m_reader;
    std::size_t m_line = 0;
};

// A file's records, read whole before the table changes, in the table's own compact form so
// that putting them in moves them rather than copies them. A read that failed part-way keeps
// the records before the failure, and the failure to raise once they are in the table.
struct MeasurementRecords {
    CellRows records{kLinesPerRecord};
    // The numbers behind the records' texts, where the reader converted them as it read;
    // empty where the records came otherwise, to be converted as they go into the table.
    RowNumbers numbers;
    std::exception_ptr failure;
};

// Writes every data row. The file replaces the previous one only when complete.
void writeTable(const StringGrid& grid, const std::string& path);

// Writes rows top..bottom as a session of their own: numbered from 1, deviations against
// the block's own mean, velocities as they stand. A velocity that does not convert throws
// before anything is written, so the file that was there stays.
void writeSelection(const StringGrid& grid, std::size_t top, std::size_t bottom,
                    const std::string& path);

// The end of the file is tested only after a whole record: a short record gets empty cells,
// an empty file gives one empty record. Only NotMeasurementFile and rt::NotRegularFile are
// thrown; a file that cannot be opened or read comes back as the failure.
MeasurementRecords readRecords(const std::string& path);

// Puts the records into the table from its last row down (the caller has reset it to one
// empty data row), then raises the read's failure if there was one.
void putRecords(StringGrid& grid, MeasurementRecords records);

// readRecords and putRecords: a file that is not a measurement file leaves the table as it
// was; a read error throws with the rows read before it in the table.
void readTable(StringGrid& grid, const std::string& path);

} // namespace table
