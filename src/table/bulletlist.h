#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rt {
class TextReader;
}

// The bullet list: pairs of lines (name, weight in grams) in a small text file in the
// start-up folder.
namespace table {

// The list is loaded as "Bullets.vx!" and edited as "bullets.vx!"; both mean one file.
inline constexpr std::string_view kBulletFileName = "Bullets.vx!";
inline constexpr std::string_view kBulletEditorFileName = "bullets.vx!";
// Names and weights in the main window's list are cut to this many characters.
inline constexpr std::size_t kMaxBulletTextLength = 128;
// Written for a bullet saved without a weight.
inline constexpr std::string_view kNoWeight = "####";

struct BulletEntry {
    std::string name;
    std::string weight;
    bool operator==(const BulletEntry&) const = default;
};

// The path of the file called `name` in `dir`, whatever the letter case of the name on disk,
// so the load, the editor's read and its write all reach the same file. An exact match wins
// over other spellings; with none, the path names the file as given (and opening it fails).
std::string resolveBulletFile(const std::string& dir, std::string_view name);

// Reads pairs until the end of the file is reached after a pair: at least one pair is read,
// and a missing last line reads as empty. maxChars cuts each line (0: no cut). Pairs are
// appended to `out` as they are read, so a read error keeps the ones before it.
void readBulletPairs(rt::TextReader& reader, std::size_t maxChars, std::vector<BulletEntry>& out);

// The editor's view of the file: every pair, lines whole.
std::vector<BulletEntry> readBulletFile(const std::string& dir);

// Writes the editor's rows as the bullet file in `dir`, replacing it only once complete: a
// row without a name is left out (a name of spaces is a name), an empty weight is written
// as "####".
void writeBulletFile(const std::string& dir, const std::vector<BulletEntry>& rows);

// The list in memory. Entries are numbered from 1; count() is the number loaded.
class BulletList {
public:
    std::size_t count() const { return m_count; }
    // Entry k (1-based); an entry that holds nothing reads as empty texts.
    const BulletEntry& entry(std::size_t k) const;

    // Empties the entries, then reads the file in `startDir`. When the file cannot be opened
    // or read, the error propagates and count() keeps its value; entries read before a read
    // error stay.
    void load(const std::string& startDir);

private:
    std::vector<BulletEntry> m_entries;
    std::size_t m_count = 0;
};

} // namespace table
