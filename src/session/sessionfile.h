#pragma once

#include "runtime/errors.h"
#include "table/cellrows.h"
#include "table/columns.h"
#include "table/stringdetails.h"
#include "table/stringgrid.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Session files (.vxs): a string's shots with every detail the table keeps beside them, and
// the string's own details, as UTF-8 JSON (docs/session-format.md). The six texts of each row
// are kept exactly, so a measurement file written from a session read back is byte for byte
// the one written from the table it was saved from.
namespace session {

inline constexpr std::uint64_t kSessionVersion = 1;
// As many as an import takes.
inline constexpr std::size_t kMaxSessionShots = 65'535;
// A full session with a long note on every shot is some 10 MB; a file far beyond that is not
// one of ours, and is refused without being read whole.
inline constexpr std::size_t kMaxSessionBytes = 64 << 20;

// A file that is not a session of this program: not JSON, not an object of this format, or
// a value of the wrong shape. The line is the one of the offending value, counted from 1;
// line 1 where a member is missing, or for a file over kMaxSessionBytes.
class NotSessionFile : public rt::Exception {
public:
    NotSessionFile(std::string path, std::size_t line);
    const std::string& path() const { return m_path; }
    std::size_t line() const { return m_line; }

private:
    std::string m_path;
    std::size_t m_line;
};

// A session written by a later program, in a version this one does not read.
class NewerSessionFile : public rt::Exception {
public:
    NewerSessionFile(std::string path, std::uint64_t version);
    const std::string& path() const { return m_path; }
    std::uint64_t version() const { return m_version; }

private:
    std::string m_path;
    std::uint64_t m_version;
};

// What a session file gives.
struct LoadedSession {
    // The rows as the grid keeps them (table::kGridColumnCount columns), for putSession.
    table::CellRows shots{table::kGridColumnCount};
    table::StringDetails details;
    // The members of the document and of its "string" that this program does not know, as
    // JSON text ("" when there were none). Opaque: hand it to the next writeSession of this
    // session, which writes them back.
    std::string kept;
};

// Whether a file is to be read as a session: its name ends in ".vxs" (any letter case), or its
// first character past blanks and a byte-order mark is '{', as no measurement file's is.
// A file that cannot be read is not one, so that the reader tried next reports it.
bool isSessionFile(const std::string& path);

// Reads and checks the whole file before returning, so a file refused for any reason never
// reaches the caller's table. Throws NotSessionFile, NewerSessionFile, rt::NotRegularFile for
// anything but a regular file, and the runtime's InOutError ("File not found"...).
//
// Texts go into cells as the grid keeps them: a line end in a shot's text becomes a space
// and a NUL character U+FFFD; every other text is kept as the file has it.
LoadedSession readSession(const std::string& path);

// Puts the loaded rows into the table in one step, as table::putRecords does with a
// measurement file's (the caller has reset the table to one empty data row). Takes the rows
// out of `loaded`; its details and kept members stay for the caller.
void putSession(table::StringGrid& grid, LoadedSession& loaded);

// Writes every data row with its details, the string's details and the kept members, through
// rt::AtomicFile: the file replaces the previous one only when complete, and every refusal of
// a save applies. Bytes that are not UTF-8 in a text are written as U+FFFD.
void writeSession(const table::StringGrid& grid, const table::StringDetails& details,
                  const std::string& kept, const std::string& path);

// Writes rows top..bottom as Save Selected As does (table::SavedSelection): numbered from 1,
// deviations against their own mean, every other cell and detail as it stands. A velocity
// that does not convert throws before anything is written.
void writeSessionSelection(const table::StringGrid& grid, std::size_t top, std::size_t bottom,
                           const table::StringDetails& details, const std::string& kept,
                           const std::string& path);

} // namespace session
