#include "serial/os/portlist.h"

#include "runtime/asciitext.h"
#include "serial/comerror.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> entries(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        throw EComPort(23, errno);
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* e = readdir(dir)) {
        const std::string n = e->d_name;
        if (n != "." && n != "..")
            names.push_back(n);
    }
    const int error = errno;
    closedir(dir);
    if (error)
        throw EComPort(23, error);
    return names;
}

bool realUart(const fs::path& entry)
{
    std::ifstream type(entry / "type");
    int value = 0;
    return type >> value && value != 0;
}

} // namespace

void ListComPorts(std::vector<std::string>& list, const std::string& sysClassTty,
                  const std::string& dev)
{
    std::set<std::string> found;
    std::error_code ec;
    for (const std::string& n : entries(sysClassTty)) {
        const fs::path entry = fs::path(sysClassTty) / n;
        // Virtual consoles and pseudo-terminals have no device behind them.
        if (!fs::exists(entry / "device", ec))
            continue;
        // Every machine has ttyS0 to ttyS31 nodes; only a detected UART is a port.
        if (n.starts_with("ttyS") && !realUart(entry))
            continue;
        found.insert(n);
    }
    const fs::path pts = fs::weakly_canonical(fs::path(dev) / "pts", ec);
    for (const std::string& n : entries(dev)) {
        const fs::path link = fs::path(dev) / n;
        if (!fs::is_symlink(link, ec))
            continue;
        const fs::path target = fs::canonical(link, ec);
        if (ec)
            continue; // dangling: the program that made it has gone
        const std::string t = target.string();
        const std::string prefix = pts.string() + "/";
        if (t.starts_with(prefix) || t.starts_with("/dev/pts/"))
            found.insert(n);
    }
    std::vector<std::string> sorted(found.begin(), found.end());
    std::stable_sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        return rt::upperAscii(a) < rt::upperAscii(b);
    });
    list = std::move(sorted);
}
