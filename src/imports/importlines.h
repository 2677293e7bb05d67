#pragma once

#include "imports/importfile.h"
#include "runtime/textfile.h"

#include <deque>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace imports {

// The lines of an import file for the readers: split and decoded as every text file of ours
// (rt::TextReader: regular files only, lines up to rt::kMaxLineBytes), with every byte-order
// mark taken out, since the exporters put them at the start of any line and after the last.
// Lines can be looked at ahead before they are taken, so the format is recognised in the
// same pass that reads it. Once `stop` is requested, the next line read throws
// ImportCancelled.
// The refusal of a file of a known format at a line: "'<file>' is not a valid <format>
// (line N): <reason>".
[[noreturn]] void refuseLine(const std::string& path, Format format, std::size_t line,
                             std::string_view reason);

class ImportLines {
public:
    explicit ImportLines(std::string path, std::stop_token stop = {});

    // The k-th line after the last one taken, or nullptr past the end. Read as is: a line of
    // NULs may still be a LabRadar header.
    const std::string* peek(std::size_t k = 0);
    // Takes the next line; false at the end of the file.
    bool next(std::string& line);
    // Takes the next line that holds more than blanks.
    bool nextNonBlank(std::string& line);

    // From here on refusals name this format, and lines with NUL bytes are refused unless it
    // is LabRadar's, whose SD-card files pad lines with them. Before, a refusal is
    // UnknownFormat.
    void readAs(Format format) { m_format = format; }

    // Counts a shot of the file, all series together; refuses the one past kMaxImportShots.
    void countShot();

    // The line last taken, counted from 1.
    std::size_t lineNumber() const { return m_taken; }
    const std::string& path() const { return m_path; }

    // The fields of a line (splitFields); a quote that does not close refuses it.
    std::vector<std::string> fields(std::string_view line, char separator) const;

    [[noreturn]] void refuse(std::string_view reason) const { refuseAt(m_taken, reason); }
    [[noreturn]] void refuseAt(std::size_t line, std::string_view reason) const;

private:
    bool readAhead();

    std::string m_path;
    rt::TextReader m_reader;
    std::deque<std::string> m_ahead;
    std::size_t m_taken = 0;
    std::size_t m_shots = 0;
    std::optional<Format> m_format;
    std::stop_token m_stop;
};

} // namespace imports
