#pragma once

#include "runtime/atomicfile.h"
#include "table/savedselection.h"
#include "table/stringdetails.h"
#include "table/stringgrid.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// Writing the folder's documents member by member rather than dumped whole: a shot a line
// keeps a file small, readable and quick to write, and the string's details one a line. A
// string is written alike wherever it stands. Only the folder's writers include this header.
namespace session::json {

using Json = nlohmann::json;

// Texts from the grid may hold bytes that are not UTF-8; they are written as U+FFFD rather
// than failing the save.
std::string dumped(const Json& value, int indent = -1);

// A value written `depth` levels into the document: its lines after the first move in.
std::string nested(std::string text, std::size_t depth);

// The unknown members a document or string was read with, or none for a text that is not ours.
Json keptMembers(const std::string& kept);

// The members of one object, written straight into the file, one a line at `depth` levels.
class ObjectWriter {
public:
    ObjectWriter(rt::AtomicFile& file, std::size_t depth)
        : m_file(file)
        , m_depth(depth)
    {
    }
    rt::AtomicFile& file() const { return m_file; }
    std::size_t depth() const { return m_depth; }
    // Starts a member; its value is written next.
    void member(std::string_view name);
    // Closes the object.
    void end();

private:
    rt::AtomicFile& m_file;
    std::size_t m_depth;
    bool m_started = false;
};

// The rows first..last of the grid as they go into a string.
struct StringRows {
    const table::StringGrid& grid;
    std::size_t first = 1;
    std::size_t last = 0;
    // Numbers and deviations of Save Selected As, where given.
    const table::SavedSelection* selection = nullptr;
};

// A string's members: its details, the shot fields' names, its shots, then its kept
// members, but for those the object's own names already stand for (`reserved`).
void writeStringMembers(ObjectWriter& object, const StringRows& rows,
                        const table::StringDetails& details, const Json& kept,
                        std::span<const std::string_view> reserved);

} // namespace session::json
