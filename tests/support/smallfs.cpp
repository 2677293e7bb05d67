#include "support/smallfs.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/mount.h>
#include <unistd.h>

SmallFilesystem::SmallFilesystem(std::size_t bytes)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vexorel-fs-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        m_error = std::strerror(errno);
        return;
    }
    m_path = pattern;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    if (::mount("tmpfs", m_path.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        m_error = std::string("mount: ") + std::strerror(errno);
        return;
    }
    m_mounted = true;
}

void SmallFilesystem::makeReadOnly()
{
    ::mount("tmpfs", m_path.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr);
}

SmallFilesystem::~SmallFilesystem()
{
    if (m_mounted)
        ::umount2(m_path.c_str(), MNT_DETACH);
    if (!m_path.empty())
        ::rmdir(m_path.c_str());
}
