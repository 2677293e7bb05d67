// The words the main window adds when a port will not open, and the owning group they name.
#include "serial/openfailure.h"
#include "serial/os/devicegroup.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <grp.h>
#include <unistd.h>

namespace {

const std::string kJoin = "/dev/ttyUSB0: permission denied; the device belongs to the group ";

struct ReasonCase {
    int error;
    const char* group;
    std::string text;
};

TEST(OpenFailureReason, NamesThePathAndWhy)
{
    const ReasonCase cases[] = {
        {ENOENT, "",
         "/dev/ttyUSB0: no such device; check the cable and the port chosen in COM Setup"},
        // A node without hardware behind it is just as absent to the user.
        {ENXIO, "",
         "/dev/ttyUSB0: no such device; check the cable and the port chosen in COM Setup"},
        {ENODEV, "",
         "/dev/ttyUSB0: no such device; check the cable and the port chosen in COM Setup"},
        // TIOCEXCL refuses a normal user with EBUSY; flock refuses everyone with EWOULDBLOCK.
        {EBUSY, "", "/dev/ttyUSB0: in use by another program; close it and press Load! again"},
        {EWOULDBLOCK, "",
         "/dev/ttyUSB0: in use by another program; close it and press Load! again"},
        {EACCES, "dialout",
         kJoin +
             "dialout: join it with \"sudo usermod -aG dialout $USER\", then log out and log in "
             "again"},
        {EPERM, "uucp",
         kJoin +
             "uucp: join it with \"sudo usermod -aG uucp $USER\", then log out and log in again"},
        {EACCES, "root", kJoin + "root; ask the administrator for access to it"},
        {EACCES, "54321", kJoin + "54321; ask the administrator for access to it"},
        {EACCES, "", "/dev/ttyUSB0: permission denied; ask the administrator for access to it"},
        {ENOTTY, "", "/dev/ttyUSB0: not a serial port"},
        {EIO, "", "/dev/ttyUSB0: Input/output error"},
    };
    for (const ReasonCase& c : cases)
        EXPECT_EQ(openFailureReason("/dev/ttyUSB0", c.error, c.group), c.text)
            << "errno " << c.error << ", group '" << c.group << "'";
}

TEST(OpenFailureReason, AsksTheSystemForThePathAndTheGroup)
{
    EXPECT_EQ(explainOpenFailure("ttyVEXOREL_GONE", ENOENT),
              "/dev/ttyVEXOREL_GONE: no such device; check the cable and the port chosen in COM "
              "Setup");

    TempDir dir;
    dir.write("ttyFAKE", "");
    const std::string path = dir.file("ttyFAKE");
    const group* mine = getgrgid(getegid());
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(serial::deviceGroup(path), mine->gr_name);
    EXPECT_EQ(serial::deviceGroup(dir.file("missing")), "");
    EXPECT_EQ(explainOpenFailure(dir.file("missing"), EACCES),
              dir.file("missing") + ": permission denied; ask the administrator for access to it");

    const group* dialout = getgrnam("dialout");
    if (dialout && chown(path.c_str(), static_cast<uid_t>(-1), dialout->gr_gid) == 0) {
        EXPECT_EQ(explainOpenFailure(path, EACCES),
                  path + ": permission denied; the device belongs to the group dialout: join it "
                         "with \"sudo usermod -aG dialout $USER\", then log out and log in again");
    }
    // A group that has no entry in the group database is named by its number.
    constexpr gid_t kUnnamed = 54321;
    if (!getgrgid(kUnnamed) && chown(path.c_str(), static_cast<uid_t>(-1), kUnnamed) == 0) {
        EXPECT_EQ(serial::deviceGroup(path), "54321");
    }
}

} // namespace
