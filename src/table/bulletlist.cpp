#include "table/bulletlist.h"

#include "runtime/encoding.h"
#include "runtime/textfile.h"

#include <algorithm>
#include <dirent.h>
#include <memory>

namespace table {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::string joinPath(const std::string& dir, std::string_view name)
{
    std::string path = dir;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

std::string readCut(rt::TextReader& reader, std::size_t maxChars)
{
    std::string line = reader.readLine();
    return maxChars ? rt::utf8Left(line, maxChars) : line;
}

} // namespace

std::string resolveBulletFile(const std::string& dir, std::string_view name)
{
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.empty() ? "." : dir.c_str()), &::closedir);
    if (!d)
        return joinPath(dir, name);
    std::vector<std::string> matches;
    while (const dirent* e = ::readdir(d.get())) {
        const std::string_view entryName(e->d_name);
        if (entryName == name)
            return joinPath(dir, name);
        if (equalsIgnoringCase(entryName, name))
            matches.emplace_back(entryName);
    }
    if (matches.empty())
        return joinPath(dir, name);
    // readdir order is arbitrary; the choice among other spellings must not be.
    return joinPath(dir, *std::min_element(matches.begin(), matches.end()));
}

void readBulletPairs(rt::TextReader& reader, std::size_t maxChars, std::vector<BulletEntry>& out)
{
    do {
        BulletEntry entry;
        entry.name = readCut(reader, maxChars);
        entry.weight = readCut(reader, maxChars);
        out.push_back(std::move(entry));
    } while (!reader.eof());
}

std::vector<BulletEntry> readBulletFile(const std::string& dir)
{
    rt::TextReader reader(resolveBulletFile(dir, kBulletEditorFileName));
    std::vector<BulletEntry> pairs;
    readBulletPairs(reader, 0, pairs);
    return pairs;
}

void writeBulletFile(const std::string& dir, const std::vector<BulletEntry>& rows)
{
    rt::TextWriter writer(resolveBulletFile(dir, kBulletEditorFileName));
    for (const BulletEntry& row : rows) {
        if (row.name.empty())
            continue;
        writer.writeLine(row.name);
        writer.writeLine(row.weight.empty() ? kNoWeight : std::string_view(row.weight));
    }
    writer.close();
}

const BulletEntry& BulletList::entry(std::size_t k) const
{
    static const BulletEntry empty;
    if (k == 0 || k > m_entries.size())
        return empty;
    return m_entries[k - 1];
}

void BulletList::load(const std::string& startDir)
{
    m_entries.clear();
    rt::TextReader reader(resolveBulletFile(startDir, kBulletFileName));
    readBulletPairs(reader, kMaxBulletTextLength, m_entries);
    m_count = m_entries.size();
}

} // namespace table
