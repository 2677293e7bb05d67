#include "imports/importlines.h"

#include "imports/fields.h"
#include "runtime/encoding.h"
#include "runtime/errors.h"

#include <algorithm>

namespace imports {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One pass that moves each kept byte once: erasing mark by mark moved the rest of the line
// every time, and a line of nothing but marks cost seconds a megabyte.
void dropByteOrderMarks(std::string& line)
{
    std::size_t at = line.find(kByteOrderMark);
    if (at == std::string::npos)
        return;
    std::size_t kept = at;
    while (at != std::string::npos) {
        const std::size_t from = at + kByteOrderMark.size();
        at = line.find(kByteOrderMark, from);
        const std::size_t to = at == std::string::npos ? line.size() : at;
        // Forward copy: the kept part always ends before what is still to move.
        std::copy(line.begin() + static_cast<std::ptrdiff_t>(from),
                  line.begin() + static_cast<std::ptrdiff_t>(to),
                  line.begin() + static_cast<std::ptrdiff_t>(kept));
        kept += to - from;
    }
    line.resize(kept);
}

} // namespace

ImportLines::ImportLines(std::string path, std::stop_token stop)
    : m_path(std::move(path))
    , m_reader(m_path)
    , m_stop(std::move(stop))
{
    // Read as lines it would be NULs and stray letters, refused as no known kind of file.
    if (rt::looksLikeUtf16(m_reader.peekBytes()))
        throw ImportRefused(m_path, 1, "'" + m_path + "' is UTF-16 text; save it as UTF-8");
}

bool ImportLines::readAhead()
{
    // Every reader takes its lines here, so a cancelled import stops within a line.
    if (m_stop.stop_requested())
        throw ImportCancelled();
    if (m_reader.eof())
        return false;
    try {
        m_ahead.push_back(m_reader.readLine());
    } catch (const rt::LineTooLong&) {
        const std::size_t line = m_taken + m_ahead.size() + 1;
        const std::string reason =
            "the line is longer than " + std::to_string(rt::kMaxLineBytes) + " bytes";
        // No kind of export has such a line, so before the kind is known that is the reason,
        // not that the file is of no known kind.
        if (!m_format)
            throw ImportRefused(m_path, line,
                                "'" + m_path + "' cannot be imported (line " +
                                    std::to_string(line) + "): " + reason);
        refuseAt(line, reason);
    }
    dropByteOrderMarks(m_ahead.back());
    return true;
}

const std::string* ImportLines::peek(std::size_t k)
{
    while (m_ahead.size() <= k) {
        if (!readAhead())
            return nullptr;
    }
    return &m_ahead[k];
}

bool ImportLines::next(std::string& line)
{
    if (m_ahead.empty() && !readAhead())
        return false;
    line = std::move(m_ahead.front());
    m_ahead.pop_front();
    ++m_taken;
    if (m_format != Format::LabRadar && line.find('\0') != std::string::npos)
        refuse("the line holds a NUL byte");
    return true;
}

bool ImportLines::nextNonBlank(std::string& line)
{
    while (next(line)) {
        if (!trimmed(line).empty())
            return true;
    }
    return false;
}

std::vector<std::string> ImportLines::fields(std::string_view line, char separator) const
{
    std::optional<std::vector<std::string>> fields = splitFields(line, separator);
    if (!fields)
        refuse("a quote does not close");
    return std::move(*fields);
}

void ImportLines::countShot()
{
    if (++m_shots > kMaxImportShots)
        refuse("more than " + std::to_string(kMaxImportShots) + " shots");
}

void refuseLine(const std::string& path, Format format, std::size_t line, std::string_view reason)
{
    throw ImportRefused(path, line,
                        "'" + path + "' is not a valid " + std::string(formatName(format)) +
                            " (line " + std::to_string(line) + "): " + std::string(reason));
}

void ImportLines::refuseAt(std::size_t line, std::string_view reason) const
{
    line = std::max<std::size_t>(line, 1);
    if (!m_format)
        throw UnknownFormat(m_path, line);
    refuseLine(m_path, *m_format, line, reason);
}

} // namespace imports
