#include "serial/inifile.h"

#include "runtime/asciitext.h"
#include "runtime/textfile.h"

#include <charconv>
#include <sys/stat.h>

namespace {

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool toInt(const std::string& text, int& value)
{
    const std::string t = trimmed(text);
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    return error == std::errc() && end == t.data() + t.size() && !t.empty();
}

} // namespace

IniFile::IniFile(std::string path)
    : m_path(std::move(path))
{
    struct stat st {};
    if (stat(m_path.c_str(), &st) != 0)
        return;
    rt::TextReader reader(m_path);
    Section* current = nullptr;
    while (!reader.eof()) {
        const std::string line = trimmed(reader.readLine());
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            m_sections.push_back({line.substr(1, line.size() - 2), {}});
            current = &m_sections.back();
            continue;
        }
        const auto eq = line.find('=');
        if (!current || eq == std::string::npos)
            continue;
        current->values.emplace_back(trimmed(line.substr(0, eq)), line.substr(eq + 1));
    }
}

const std::string* IniFile::find(const std::string& section, const std::string& key) const
{
    for (const Section& s : m_sections)
        if (rt::sameText(s.name, section))
            for (const auto& [k, v] : s.values)
                if (rt::sameText(k, key))
                    return &v;
    return nullptr;
}

bool IniFile::valueExists(const std::string& section, const std::string& key) const
{
    return find(section, key) != nullptr;
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& fallback) const
{
    const std::string* v = find(section, key);
    return v ? *v : fallback;
}

int IniFile::readInteger(const std::string& section, const std::string& key, int fallback) const
{
    int value = 0;
    const std::string* v = find(section, key);
    return v && toInt(*v, value) ? value : fallback;
}

void IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value)
{
    Section* target = nullptr;
    for (Section& s : m_sections)
        if (rt::sameText(s.name, section))
            target = &s;
    if (!target) {
        m_sections.push_back({section, {}});
        target = &m_sections.back();
    }
    bool replaced = false;
    for (auto& [k, v] : target->values)
        if (rt::sameText(k, key)) {
            v = value;
            replaced = true;
        }
    if (!replaced)
        target->values.emplace_back(key, value);
    save();
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::save() const
{
    rt::TextWriter writer(m_path);
    for (const Section& s : m_sections) {
        writer.writeLine("[" + s.name + "]");
        for (const auto& [k, v] : s.values)
            writer.writeLine(k + "=" + v);
    }
    writer.close();
}

// --- FileRegistryKey

namespace {
const std::string keySection = "Key";
}

FileRegistryKey::FileRegistryKey(std::string path)
    : m_file(std::move(path))
{
}

bool FileRegistryKey::valueExists(const std::string& name) const
{
    return m_file.valueExists(keySection, name);
}

std::string FileRegistryKey::readString(const std::string& name) const
{
    return m_file.readString(keySection, name, "");
}

int FileRegistryKey::readInteger(const std::string& name) const
{
    return m_file.readInteger(keySection, name, 0);
}

void FileRegistryKey::writeString(const std::string& name, const std::string& value)
{
    m_file.writeString(keySection, name, value);
}

void FileRegistryKey::writeInteger(const std::string& name, int value)
{
    m_file.writeInteger(keySection, name, value);
}
