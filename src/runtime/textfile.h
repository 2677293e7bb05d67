#pragma once

#include "runtime/atomicfile.h"

#include <memory>
#include <string>

namespace rt {

// Reads a text file line by line. A line ends at a CR (an LF right after it belongs to the
// same line end) or at a lone LF, and may be of any length. Lines that are not UTF-8 are
// read as Windows-1251. Reading past the end gives empty lines, as the file formats
// expect; eof() tells when there is nothing more.
class TextReader {
public:
    explicit TextReader(const std::string& path);
    ~TextReader();
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;

    std::string readLine();
    bool eof();
    void close();

private:
    bool fill();

    int m_fd = -1;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
};

// Writes a text file as lines ended by CR LF, UTF-8. The file replaces the previous one
// only on close(); an error on the way leaves the old file untouched.
class TextWriter {
public:
    explicit TextWriter(const std::string& path);

    void writeLine(std::string_view line);
    void close();

private:
    AtomicFile m_file;
};

} // namespace rt
