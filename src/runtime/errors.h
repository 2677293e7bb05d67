#pragma once

#include <stdexcept>
#include <string>

namespace rt {

// Every error the program raises itself derives from this; its what() is the text the
// error report shows.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message)
        : std::runtime_error(message)
    {
    }
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

// The runtime's text for an errno value.
std::string ioErrorText(int errorCode);

[[noreturn]] void raiseIoError(int errorCode);

} // namespace rt
