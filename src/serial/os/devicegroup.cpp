#include "serial/os/devicegroup.h"

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace serial {

std::string deviceGroup(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    // The event thread may be running: the reentrant lookup, with a buffer that grows
    // for groups listing many members.
    const long hint = sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 1024);
    for (;;) {
        group entry{};
        group* found = nullptr;
        const int e = getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found);
        if (e == ERANGE && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (e == 0 && found && found->gr_name && *found->gr_name)
            return found->gr_name;
        return std::to_string(st.st_gid);
    }
}

} // namespace serial
