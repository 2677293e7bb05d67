#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace rt {

// Every error the program raises itself derives from this; its what() is the text the
// error report shows.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message)
        : std::runtime_error(withVisibleNuls(message))
    {
    }

private:
    // what() ends at the first NUL, so a NUL in a quoted field would cut the message short;
    // it shows as U+FFFD instead.
    static std::string withVisibleNuls(std::string message);
};

// A text that does not convert to a number.
class ConvertError : public Exception {
public:
    using Exception::Exception;
};

// A failed file operation; the text is the runtime's ("File not found", ...).
class InOutError : public Exception {
public:
    explicit InOutError(int errorCode);
    int errorCode() const { return m_errorCode; }

private:
    int m_errorCode;
};

// A path that names something other than a regular file (a FIFO, a device, a folder...):
// reading it could block for ever or never end, so it is refused before any read.
class NotRegularFile : public Exception {
public:
    explicit NotRegularFile(const std::string& path);
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// A line longer than the reader's limit. Readers of a file format turn it into their own
// refusal, which names the file and the line.
class LineTooLong : public Exception {
public:
    LineTooLong();
};

// Quotes a text in an error message: at most maxChars characters of it, so a cell of
// megabytes cannot make a message of megabytes.
std::string quoted(std::string_view text, std::size_t maxChars = 64);

// The runtime's text for an errno value.
std::string ioErrorText(int errorCode);

[[noreturn]] void raiseIoError(int errorCode);

} // namespace rt
