#include "runtime/errors.h"

#include "runtime/encoding.h"

#include <cerrno>

namespace rt {

std::string Exception::withVisibleNuls(std::string message)
{
    for (std::size_t at = message.find('\0'); at != std::string::npos; at = message.find('\0', at))
        message.replace(at, 1, "\xEF\xBF\xBD");
    return message;
}

InOutError::InOutError(int errorCode)
    : Exception(ioErrorText(errorCode))
    , m_errorCode(errorCode)
{
}

NotRegularFile::NotRegularFile(const std::string& path)
    : Exception("'" + path + "' is not a regular file")
    , m_path(path)
{
}

LineTooLong::LineTooLong()
    : Exception("Line too long")
{
}

std::string quoted(std::string_view text, std::size_t maxChars)
{
    return "'" + utf8Left(text, maxChars) + "'";
}

std::string ioErrorText(int errorCode)
{
    switch (errorCode) {
    case ENOENT:
        return "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return "Path not found";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "Disk full";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EIO:
        return "Input/output error on the disk";
    default:
        return "I/O error " + std::to_string(errorCode);
    }
}

void raiseIoError(int errorCode)
{
    throw InOutError(errorCode);
}

} // namespace rt
