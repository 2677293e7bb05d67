#pragma once

#include "runtime/atomicfile.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace rt {

// No file format of ours has lines anywhere near this long; a longer one is damage or an
// attack, and holding it whole has crashed Qt's text layout.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;

// Reads a text file line by line. A line ends at a CR (an LF right after it belongs to the
// same line end) or at a lone LF. Lines that are not UTF-8 are read as Windows-1251. Reading
// past the end gives empty lines, as the file formats expect; eof() tells when there is
// nothing more.
class TextReader {
public:
    // Only a regular file opens (NotRegularFile otherwise), and opening never waits for a
    // writer, as it would on a FIFO. A line of more than maxLineBytes bytes throws
    // LineTooLong once that many have been read, so no more is ever held. The limit holds for
    // the decoded line too: a Windows-1251 line grows in UTF-8, and what is read must still
    // be readable once written back.
    explicit TextReader(const std::string& path, std::size_t maxLineBytes = kMaxLineBytes);
    ~TextReader();
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;

    std::string readLine();
    // The same line without a copy where it can be had: valid until the next read.
    std::string_view readLineView();
    // Whether the line last read holds a NUL byte, found by the same scan that finds its end.
    bool lineHasNul() const { return m_lineHasNul; }
    bool eof();
    // The bytes read ahead and not yet taken as lines, reading the first ones when there are
    // none: before the first line, the start of the file as it is on disk, for telling an
    // encoding that the decoded lines would hide.
    std::string_view peekBytes();
    // Takes `count` of the bytes peekBytes() shows as read: for a reader that splits plain
    // lines lying whole in the buffer itself, exactly as readLineView would have.
    void skipBytes(std::size_t count) { m_pos += std::min(count, m_end - m_pos); }
    std::size_t maxLineBytes() const { return m_maxLineBytes; }
    void close();
    // The file's size when it was opened, for readers that size their stores up front.
    std::size_t size() const { return m_size; }

private:
    bool fill();

    int m_fd = -1;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_maxLineBytes;
    std::size_t m_size = 0;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_lineHasNul = false;
    // A line that crossed the end of the buffer, or was decoded.
    std::string m_line;
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
