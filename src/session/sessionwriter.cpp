#include "session/sessionfile.h"

#include "session/jsonwriting.h"
#include "session/sessionfields.h"
#include "table/savedselection.h"

#include <algorithm>

namespace session {

namespace {

void writeDocument(const json::StringRows& rows, const table::StringDetails& details,
                   const std::string& kept, const std::string& path)
{
    rt::AtomicFile file(path);
    json::ObjectWriter document(file, 1);
    document.member(fields::kFormat);
    file.write(json::dumped(json::Json(fields::kFormatName)));
    document.member(fields::kVersion);
    file.write(std::to_string(kSessionVersion));
    json::writeStringMembers(document, rows, details, json::keptMembers(kept), {});
    document.end();
    file.write("\n");
    file.commit();
}

} // namespace

void writeSession(const table::StringGrid& grid, const table::StringDetails& details,
                  const std::string& kept, const std::string& path)
{
    writeDocument({grid, 1, std::max<std::size_t>(grid.rowCount(), 1) - 1}, details, kept, path);
}

void writeSessionSelection(const table::StringGrid& grid, std::size_t top, std::size_t bottom,
                           const table::StringDetails& details, const std::string& kept,
                           const std::string& path)
{
    const table::SavedSelection selection(grid, top, bottom);
    writeDocument({grid, top, bottom, &selection}, details, kept, path);
}

} // namespace session
