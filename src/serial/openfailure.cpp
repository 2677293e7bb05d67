#include "serial/openfailure.h"

#include "serial/os/devicegroup.h"
#include "serial/os/posixdevice.h"

#include <cerrno>
#include <system_error>

std::string openFailureReason(const std::string& path, int error, const std::string& group)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return path + ": no such device; check the cable and the port chosen in COM Setup";
    case EBUSY:
    case EWOULDBLOCK:
        return path + ": in use by another program; close it and press Load! again";
    case EACCES:
    case EPERM: {
        if (group.empty())
            return path + ": permission denied; ask the administrator for access to it";
        const std::string owner =
            path + ": permission denied; the device belongs to the group " + group;
        // Joining root's group is no advice to give, and a group without a name cannot be
        // joined by name.
        if (group == "root" || group.find_first_not_of("0123456789") == std::string::npos)
            return owner + "; ask the administrator for access to it";
        return owner + ": join it with \"sudo usermod -aG " + group +
               " $USER\", then log out and log in again";
    }
    case ENOTTY:
        return path + ": not a serial port";
    default:
        return path + ": " + std::generic_category().message(error);
    }
}

std::string explainOpenFailure(const std::string& port, int error)
{
    const std::string path = serial::devicePath(port);
    const bool denied = error == EACCES || error == EPERM;
    return openFailureReason(path, error, denied ? serial::deviceGroup(path) : std::string());
}
