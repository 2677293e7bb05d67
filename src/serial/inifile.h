#pragma once

#include <string>
#include <vector>

// A small INI file: "[Section]" lines and "Key=Value" lines; sections and keys compare
// without regard to ASCII case. A missing file reads as empty. Every write puts the whole
// file in place at once, so a failed write leaves the previous file as it was.
class IniFile {
public:
    explicit IniFile(std::string path);

    bool valueExists(const std::string& section, const std::string& key) const;
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // A missing key or a value that is not an integer gives the fallback.
    int readInteger(const std::string& section, const std::string& key, int fallback) const;
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int value);

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
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    virtual bool valueExists(const std::string& name) const = 0;
    virtual std::string readString(const std::string& name) const = 0;
    virtual int readInteger(const std::string& name) const = 0;
    virtual void writeString(const std::string& name, const std::string& value) = 0;
    virtual void writeInteger(const std::string& name, int value) = 0;
};

// A key kept in a file of its own, one "name=value" line per value (written through an
// INI section named after the key).
class FileRegistryKey : public RegistryKey {
public:
    explicit FileRegistryKey(std::string path);

    bool valueExists(const std::string& name) const override;
    std::string readString(const std::string& name) const override;
    int readInteger(const std::string& name) const override;
    void writeString(const std::string& name, const std::string& value) override;
    void writeInteger(const std::string& name, int value) override;

private:
    IniFile m_file;
};
