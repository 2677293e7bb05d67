#pragma once

#include <string>
#include <string_view>

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(std::string_view name) const { return m_path + "/" + std::string(name); }
    // Writes bytes exactly as given.
    void write(std::string_view name, std::string_view bytes) const;

private:
    std::string m_path;
};

std::string readBytes(const std::string& path);

// Makes a folder the current directory while it lives.
class CurrentDir {
public:
    explicit CurrentDir(const std::string& path);
    ~CurrentDir();

private:
    std::string m_previous;
};
