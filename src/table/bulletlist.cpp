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

NotBulletFile::NotBulletFile(std::string path, std::size_t line)
    : Exception("'" + path + "' is not a bullet list (line " + std::to_string(line) + ")")
    , m_path(std::move(path))
    , m_line(line)
{
}

void readBulletPairs(rt::TextReader& reader, const std::string& path, std::size_t maxChars,
                     const BulletPairSink& add)
{
    std::size_t line = 0;
    auto next = [&] {
        ++line;
        try {
            return readCut(reader, maxChars);
        } catch (const rt::LineTooLong&) {
            throw NotBulletFile(path, line);
        }
    };
    do {
        const std::string name = next();
        const std::string weight = next();
        add(name, weight);
    } while (!reader.eof());
}

CellRows readBulletFile(const std::string& dir)
{
    const std::string path = resolveBulletFile(dir, kBulletEditorFileName);
    rt::TextReader reader(path);
    CellRows rows(2);
    // Two bare line ends are the shortest pair.
    rows.reserve(reader.size() / 2 + 1, reader.size());
    readBulletPairs(reader, path, 0, [&](std::string_view name, std::string_view weight) {
        const std::string_view cells[] = {name, weight};
        rows.appendRow(cells);
    });
    return rows;
}

namespace {

template <typename Rows> void writeBulletRows(const std::string& dir, const Rows& rows)
{
    rt::TextWriter writer(resolveBulletFile(dir, kBulletEditorFileName));
    rows([&](std::string_view name, std::string_view weight) {
        if (name.empty())
            return;
        writer.writeLine(name);
        writer.writeLine(weight.empty() ? kNoWeight : weight);
    });
    writer.close();
}

} // namespace

void writeBulletFile(const std::string& dir, const StringGrid& rows, std::size_t firstRow)
{
    writeBulletRows(dir, [&](const auto& write) {
        for (std::size_t r = firstRow; r < rows.rowCount(); ++r)
            write(rows.cell(0, r), rows.cell(1, r));
    });
}

void writeBulletFile(const std::string& dir, const std::vector<BulletEntry>& rows)
{
    writeBulletRows(dir, [&](const auto& write) {
        for (const BulletEntry& row : rows)
            write(row.name, row.weight);
    });
}

namespace {
constexpr std::size_t kStride = 16;
}

std::string_view BulletTexts::at(std::size_t i) const
{
    if (i >= m_count)
        return {};
    std::string_view rest = std::string_view(m_text).substr(m_starts[i / kStride]);
    for (std::size_t skip = i % kStride; skip > 0; --skip)
        rest.remove_prefix(rest.find('\n') + 1);
    return rest.substr(0, rest.find('\n'));
}

void BulletTexts::append(std::string_view text)
{
    if (m_count % kStride == 0)
        m_starts.push_back(m_text.size());
    // Lines never hold a line end, so it can end each text here.
    m_text += text;
    m_text += '\n';
    ++m_count;
}

BulletEntry BulletList::entry(std::size_t k) const
{
    if (k == 0 || k > m_texts->size() / 2)
        return {};
    return {std::string(m_texts->at(2 * (k - 1))), std::string(m_texts->at(2 * (k - 1) + 1))};
}

void BulletList::load(const std::string& startDir)
{
    m_texts = std::make_shared<BulletTexts>();
    auto texts = std::make_shared<BulletTexts>();
    const std::string path = resolveBulletFile(startDir, kBulletFileName);
    try {
        rt::TextReader reader(path);
        readBulletPairs(reader, path, kMaxBulletTextLength,
                        [&](std::string_view name, std::string_view weight) {
                            texts->append(name);
                            texts->append(weight);
                        });
    } catch (...) {
        m_texts = std::move(texts);
        throw;
    }
    m_texts = std::move(texts);
    m_count = m_texts->size() / 2;
}

} // namespace table
