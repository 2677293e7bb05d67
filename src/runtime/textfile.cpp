#include "runtime/textfile.h"

#include "runtime/encoding.h"
#include "runtime/errors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rt {

namespace {
constexpr std::size_t kReadBufferSize = 64 * 1024;
}

TextReader::TextReader(const std::string& path, std::size_t maxLineBytes)
    : m_buffer(new char[kReadBufferSize])
    , m_maxLineBytes(maxLineBytes)
{
    // Not even opened unless it is a regular file: opening a device can act on it (a tape
    // rewinds, a watchdog arms) before anything is read.
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        throw NotRegularFile(path);
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer. The test is
    // on the descriptor itself, so the name cannot be swapped between test and read.
    m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (m_fd < 0)
        raiseIoError(errno);
    if (::fstat(m_fd, &st) != 0) {
        const int error = errno;
        close();
        raiseIoError(error);
    }
    if (!S_ISREG(st.st_mode)) {
        close();
        throw NotRegularFile(path);
    }
    m_size = static_cast<std::size_t>(st.st_size);
    // A regular file never blocks; the flag only mattered for the open.
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK);
}

TextReader::~TextReader()
{
    close();
}

void TextReader::close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

bool TextReader::fill()
{
    if (m_pos < m_end)
        return true;
    if (m_fd < 0)
        raiseIoError(EBADF);
    for (;;) {
        const ssize_t n = ::read(m_fd, m_buffer.get(), kReadBufferSize);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            raiseIoError(errno);
        }
        m_pos = 0;
        m_end = static_cast<std::size_t>(n);
        return n > 0;
    }
}

bool TextReader::eof()
{
    return !fill();
}

std::string_view TextReader::peekBytes()
{
    fill();
    return std::string_view(m_buffer.get() + m_pos, m_end - m_pos);
}

std::string TextReader::readLine()
{
    return std::string(readLineView());
}

std::string_view TextReader::readLineView()
{
    // Most lines lie whole in the buffer and are UTF-8: they are handed out where they are.
    if (fill()) {
        const char* begin = m_buffer.get() + m_pos;
        const char* end = m_buffer.get() + m_end;
        const char* p = begin;
        // An ASCII line, as nearly every line is, needs no UTF-8 check. One comparison a byte
        // stops at every control byte up to CR; those that do not end the line are looked at
        // there, NUL among them.
        unsigned char highBits = 0;
        bool nul = false;
        for (;;) {
            while (p<end&& static_cast<unsigned char>(*p)> '\r')
                highBits |= static_cast<unsigned char>(*p++);
            if (p == end || *p == '\r' || *p == '\n')
                break;
            nul |= *p++ == '\0';
        }
        // A CR as the buffer's last byte may be followed by a LF still to be read.
        if (p + 1 < end || (p + 1 == end && *p == '\n')) {
            const std::string_view raw(begin, static_cast<std::size_t>(p - begin));
            if (raw.size() <= m_maxLineBytes && (highBits < 0x80 || isValidUtf8(raw))) {
                m_lineHasNul = nul;
                m_pos += raw.size() + 1;
                if (*p == '\r' && m_buffer[m_pos] == '\n')
                    ++m_pos;
                return raw;
            }
        }
    }
    m_line.clear();
    while (fill()) {
        const char* begin = m_buffer.get() + m_pos;
        const char* end = m_buffer.get() + m_end;
        const char* p = begin;
        while (p < end && *p != '\r' && *p != '\n')
            ++p;
        if (m_line.size() + static_cast<std::size_t>(p - begin) > m_maxLineBytes)
            throw LineTooLong();
        m_line.append(begin, p);
        m_pos += static_cast<std::size_t>(p - begin);
        if (p == end)
            continue;
        ++m_pos;
        if (*p == '\r' && fill() && m_buffer[m_pos] == '\n')
            ++m_pos;
        break;
    }
    if (!isValidUtf8(m_line))
        m_line = decodeLine(m_line);
    if (m_line.size() > m_maxLineBytes)
        throw LineTooLong();
    m_lineHasNul = m_line.find('\0') != std::string::npos;
    return m_line;
}

TextWriter::TextWriter(const std::string& path)
    : m_file(path)
{
}

void TextWriter::writeLine(std::string_view line)
{
    m_file.write(line);
    m_file.write("\r\n");
}

void TextWriter::close()
{
    m_file.commit();
}

} // namespace rt
