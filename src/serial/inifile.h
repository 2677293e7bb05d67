#pragma once

#include <string>
#include <vector>

// A small INI file: "[Section]" lines and "Key=Value" lines; sections and keys compare
// without regard to ASCII case. A missing file reads as empty. Every write puts the whole
// file in place at once, so a failed write leaves the previous file as it was.
class TIniFile {
public:
    explicit TIniFile(std::string path);

    bool ValueExists(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // A missing key or a value that is not an integer gives the fallback.
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> values;
    };
    const std::string* find(const std::string& section, const std::string& key) const;
    void save() const;

    std::string m_path;
    std::vector<Section> m_sections;
};

// The least of a registry key that the settings store needs: named text and integer values.
class TRegistryKey {
public:
    virtual ~TRegistryKey() = default;
    virtual bool ValueExists(const std::string& name) const = 0;
    virtual std::string ReadString(const std::string& name) const = 0;
    virtual int ReadInteger(const std::string& name) const = 0;
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
    virtual void WriteInteger(const std::string& name, int value) = 0;
};

// A key kept in a file of its own, one "name=value" line per value (written through an
// INI section named after the key).
class TFileRegistryKey : public TRegistryKey {
public:
    explicit TFileRegistryKey(std::string path);

    bool ValueExists(const std::string& name) const override;
    std::string ReadString(const std::string& name) const override;
    int ReadInteger(const std::string& name) const override;
    void WriteString(const std::string& name, const std::string& value) override;
    void WriteInteger(const std::string& name, int value) override;

private:
    TIniFile m_file;
};
