// The port list over a faked device tree.
#include "serial/comerror.h"
#include "serial/os/portlist.h"
#include "support/tempdir.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

struct DeviceTree {
    TempDir dir;
    std::string sys = dir.file("sys");
    std::string dev = dir.file("dev");

    DeviceTree()
    {
        fs::create_directories(sys);
        fs::create_directories(dev + "/pts");
    }
    void tty(const std::string& name, bool device, const char* type = nullptr)
    {
        fs::create_directories(sys + "/" + name);
        if (device)
            fs::create_directories(sys + "/" + name + "/device");
        if (type)
            dir.write("sys/" + name + "/type", type);
    }
};

} // namespace

TEST(ListComPorts, HardwareAndLinksToPseudoTerminalsSorted)
{
    DeviceTree t;
    t.tty("ttyUSB0", true);
    t.tty("ttyACM1", true);
    t.tty("tty1", false);        // a console: no device
    t.tty("ttyS0", true, "4\n"); // a real UART
    t.tty("ttyS1", true, "0\n"); // a node without a UART
    t.dir.write("dev/pts/3", "");
    fs::create_symlink("pts/3", t.dev + "/chronolite");
    fs::create_symlink("pts/9", t.dev + "/gone"); // dangling
    t.dir.write("dev/plainfile", "");
    fs::create_symlink("plainfile", t.dev + "/notapty");
    std::vector<std::string> list{"stale"};
    ListComPorts(list, t.sys, t.dev);
    EXPECT_EQ(list, (std::vector<std::string>{"chronolite", "ttyACM1", "ttyS0", "ttyUSB0"}));
}

TEST(ListComPorts, SortsCaseInsensitively)
{
    DeviceTree t;
    for (const char* n : {"COM2", "COM10", "com1", "COM1x"})
        t.tty(n, true);
    std::vector<std::string> list;
    ListComPorts(list, t.sys, t.dev);
    EXPECT_EQ(list, (std::vector<std::string>{"com1", "COM10", "COM1x", "COM2"}));
}

TEST(ListComPorts, NoPortIsAnEmptyListAnUnreadableTreeRaises23)
{
    DeviceTree t;
    std::vector<std::string> list{"x"};
    ListComPorts(list, t.sys, t.dev);
    EXPECT_TRUE(list.empty());
    const auto e = thrown<EComPort>([&] { ListComPorts(list, t.dir.file("nothing"), t.dev); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Code(), 23);
    EXPECT_EQ(e->WinCode(), ENOENT);
}
