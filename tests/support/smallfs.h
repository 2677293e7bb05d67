#pragma once

#include <string>

// A small file system mounted for one test, to make a full disk or a read-only folder real
// (root ignores permission bits, so chmod cannot). Needs the right to mount; tests skip
// with a message where it is missing.
class SmallFilesystem {
public:
    // Mounts a tmpfs of `bytes` on a fresh folder.
    explicit SmallFilesystem(std::size_t bytes);
    ~SmallFilesystem();
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& path() const { return m_path; }
    const std::string& whyNot() const { return m_error; }
    void makeReadOnly();

private:
    std::string m_path;
    std::string m_error;
    bool m_mounted = false;
};

#define SKIP_UNLESS_MOUNTED(fs)                                                                    \
    if (!(fs).mounted())                                                                           \
    GTEST_SKIP() << "cannot mount a test file system here: " << (fs).whyNot()
