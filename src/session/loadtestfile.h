#pragma once

#include "runtime/errors.h"
#include "session/loadtest.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Load test files (.vxl): the test's title and variable, and every string as a session file
// keeps it (docs/loadtest-format.md), as UTF-8 JSON.
namespace session {

inline constexpr std::uint64_t kLoadTestVersion = 1;

// A file that is not a load test of this program; the line as NotSessionFile counts it.
class NotLoadTestFile : public rt::Exception {
public:
    NotLoadTestFile(std::string path, std::size_t line);
    const std::string& path() const { return m_path; }
    std::size_t line() const { return m_line; }

private:
    std::string m_path;
    std::size_t m_line;
};

// A load test written by a later program, in a version this one does not read.
class NewerLoadTestFile : public rt::Exception {
public:
    NewerLoadTestFile(std::string path, std::uint64_t version);
    const std::string& path() const { return m_path; }
    std::uint64_t version() const { return m_version; }

private:
    std::string m_path;
    std::uint64_t m_version;
};

// Whether a name ends in ".vxl", in any letter case.
bool isLoadTestName(const std::string& path);

// Reads and checks the whole file before returning, so a refused file never reaches the
// caller's test. Throws NotLoadTestFile, NewerLoadTestFile, rt::NotRegularFile for anything
// but a regular file, and the runtime's InOutError ("File not found"...). The strings' texts
// go into cells as a session's do.
LoadTest readLoadTest(const std::string& path);

// Writes the whole test through rt::AtomicFile, with every refusal of a save.
void writeLoadTest(const LoadTest& test, const std::string& path);

} // namespace session
