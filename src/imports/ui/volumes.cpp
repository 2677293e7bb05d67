#include "imports/ui/volumes.h"

#include "ui/qtext.h"

#include <QStorageInfo>

#include <algorithm>
#include <array>

namespace {

bool isNetworkFileSystem(const QByteArray& type)
{
    static constexpr std::array<const char*, 11> kNetwork = {
        "nfs", "nfs4", "cifs", "smb3",      "smbfs",     "ncpfs",
        "afs", "9p",   "ceph", "glusterfs", "fuse.sshfs"};
    return std::any_of(kNetwork.begin(), kNetwork.end(),
                       [&](const char* name) { return type == name; });
}

} // namespace

std::vector<std::string> mountedVolumeRoots()
{
    std::vector<std::string> roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !isNetworkFileSystem(volume.fileSystemType()))
            roots.push_back(ui::toLocalPath(volume.rootPath()));
    }
    return roots;
}
