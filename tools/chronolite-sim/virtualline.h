#pragma once

#include <memory>
#include <string>
#include <sys/types.h>
#include <termios.h>

namespace chronosim {

// True when the flags that would alter bytes on their way to the reader are off.
bool isRaw(const termios& t);

// The device end of a pseudo-terminal. The master stays open for the object's lifetime;
// no slave descriptor is kept, so that POLLHUP on the master tells whether a program has
// the line open.
class VirtualLine {
public:
    VirtualLine(); // throws std::system_error
    ~VirtualLine();
    VirtualLine(const VirtualLine&) = delete;
    VirtualLine& operator=(const VirtualLine&) = delete;

    int master() const { return m_master; }
    const std::string& slavePath() const { return m_slavePath; }

    // Raw mode and no bytes left over from an earlier session. Opens the slave side briefly,
    // which is also what makes POLLHUP appear on a line nobody has opened yet. Returns false
    // when the slave could not be opened (a program left it exclusive): raw mode is then set
    // through the master and old input may remain.
    bool reset();

    // Whether a program holds the slave side open now.
    bool isOpenedByProgram() const;

    // Lets the user who ran sudo open the line.
    void handTo(uid_t uid, gid_t gid) const; // throws std::system_error

private:
    int m_master = -1;
    std::string m_slavePath;
};

enum class LinkStatus { created, noPermission, occupied, failed };

// A symbolic link to the line, removed again on destruction unless someone else has
// replaced it meanwhile.
class SymLink {
public:
    SymLink(std::string path, std::string target);
    ~SymLink();
    SymLink(const SymLink&) = delete;
    SymLink& operator=(const SymLink&) = delete;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::string m_target;
};

struct LinkAttempt {
    std::unique_ptr<SymLink> link; // set when created
    LinkStatus status = LinkStatus::failed;
    int error = 0;
    std::string message; // what went wrong and what to do instead
};

// A link left by an earlier run whose line no longer exists is replaced; any other file at
// `path` is left alone.
LinkAttempt makeLink(const std::string& path, const std::string& target);

} // namespace chronosim
