#pragma once

#include "runtime/errors.h"
#include "table/cellrows.h"
#include "table/stringgrid.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
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

// A file that is not a bullet list: one with a line longer than rt::kMaxLineBytes, which
// no name or weight comes near.
class NotBulletFile : public rt::Exception {
public:
    NotBulletFile(std::string path, std::size_t line);
    const std::string& path() const { return m_path; }
    std::size_t line() const { return m_line; }

private:
    std::string m_path;
    std::size_t m_line;
};

using BulletPairSink = std::function<void(std::string_view name, std::string_view weight)>;

// Reads pairs until the end of the file is reached after a pair: at least one pair is read,
// and a missing last line reads as empty. maxChars cuts each line (0: no cut). Pairs go to
// `add` as they are read, so a read error keeps the ones before it. `path` names the file in
// NotBulletFile.
void readBulletPairs(rt::TextReader& reader, const std::string& path, std::size_t maxChars,
                     const BulletPairSink& add);

// The editor's view of the file: every pair, lines whole, as rows of name and weight.
CellRows readBulletFile(const std::string& dir);

// Writes rows firstRow.. of a two-column grid (name, weight) as the bullet file in `dir`,
// replacing it only once complete: a row without a name is left out (a name of spaces is a
// name), an empty weight is written as "####".
void writeBulletFile(const std::string& dir, const StringGrid& rows, std::size_t firstRow);
void writeBulletFile(const std::string& dir, const std::vector<BulletEntry>& rows);

// Name and weight texts, cut as the main window's list keeps them, one after the other in one
// buffer: millions of bullets cost their text and a little, not two strings each.
class BulletTexts {
public:
    std::size_t size() const { return m_count; }
    std::string_view at(std::size_t i) const;
    void append(std::string_view text);

private:
    std::string m_text;
    // Where every kStride-th text starts; the ones between are found by their separators.
    std::vector<std::uint64_t> m_starts;
    std::size_t m_count = 0;
};

// The list in memory. Entries are numbered from 1; count() is the number loaded.
class BulletList {
public:
    std::size_t count() const { return m_count; }
    // Entry k (1-based); an entry that holds nothing reads as empty texts.
    BulletEntry entry(std::size_t k) const;

    // Empties the entries, then reads the file in `startDir`. When the file cannot be opened
    // or read, the error propagates and count() keeps its value; entries read before a read
    // error stay.
    void load(const std::string& startDir);

    // The texts as loaded (names and weights alternating), shared so that a list shown
    // elsewhere keeps showing them after a failed load has emptied the entries.
    std::shared_ptr<const BulletTexts> texts() const { return m_texts; }

private:
    std::shared_ptr<const BulletTexts> m_texts = std::make_shared<BulletTexts>();
    std::size_t m_count = 0;
};

} // namespace table
