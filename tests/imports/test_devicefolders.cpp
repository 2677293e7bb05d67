#include "imports/devicefolders.h"
#include "imports/importfile.h"
#include "imports/importlines.h"
#include "support/devicetrees.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace {

namespace fs = std::filesystem;
using imports::Device;
using imports::DeviceFolder;

class DeviceFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeLabRadarCard(dir, "card");
        writeXeroDrive(dir, "xero");
    }

    void put(const std::string& name, const std::string& bytes) { putFile(dir, name, bytes); }

    TempDir dir;
};

TEST_F(DeviceFolders, AreFoundInTheFolderChosenOrAsIt)
{
    put("copy/SR0003/SR0003 Report.csv", labRadarSdReport(3, "m/s", {}));
    put("both/lbr/SR0001/SR0001 Report.csv", labRadarSdReport(1, "m/s", {}));
    fs::create_directories(dir.file("both/garmin/shot_sessions"));
    fs::create_directories(dir.file("plain/Documents"));
    struct Case {
        const char* chosen;
        std::vector<DeviceFolder> found;
    };
    const Case cases[] = {
        {"card", {{Device::LabRadar, dir.file("card/LBR")}}},
        {"card/LBR", {{Device::LabRadar, dir.file("card/LBR")}}},
        {"card/LBR/", {{Device::LabRadar, dir.file("card/LBR/")}}},
        // A copy of LBR under a name of the user's.
        {"copy", {{Device::LabRadar, dir.file("copy")}}},
        {"xero", {{Device::XeroC1, dir.file("xero/Garmin/Shot_Sessions")}}},
        {"xero/Garmin", {{Device::XeroC1, dir.file("xero/Garmin/Shot_Sessions")}}},
        {"xero/Garmin/Shot_Sessions", {{Device::XeroC1, dir.file("xero/Garmin/Shot_Sessions")}}},
        // Names as a FAT card may keep them.
        {"both",
         {{Device::LabRadar, dir.file("both/lbr")},
          {Device::XeroC1, dir.file("both/garmin/shot_sessions")}}},
        {"plain", {}},
        {"missing", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        EXPECT_EQ(imports::findDeviceFolders(dir.file(c.chosen)), c.found);
    }
}

TEST_F(DeviceFolders, ListStringsNewestFirstWithCountsMeansAndRefusals)
{
    struct Expected {
        std::string name;
        std::string dateTime;
        std::size_t shots;
        std::optional<double> mean;
        // A part of the refusal, empty for none.
        std::string refusal;
    };
    struct Case {
        const char* folder;
        Device device;
        std::vector<Expected> strings;
        const char* summary;
    };
    const Case cases[] = {
        {"card/LBR",
         Device::LabRadar,
         {{"Series 2", "2024-05-11T10:00:00", 2, 808.5, ""},
          {"Series 1", "2024-05-10T09:41:02", 3, (2804 + 2780 + 2820) / 3.0 * 0.3048, ""},
          {"Series 7", "", 0, std::nullopt, ""},
          {"Series 10", "", 0, std::nullopt, "SR0010 Report.csv' is not a chronograph export"},
          {"Series 4", "", 0, std::nullopt, "holds no 'SR0004 Report.csv'"}},
         "LabRadar, 5 series, 2 of them unreadable"},
        {"xero/Garmin/Shot_Sessions",
         Device::XeroC1,
         {{"06-13-2024_01-26-40", "2024-06-13T01:26:40Z", 5, xeroMean(5), ""},
          {"06-11-2024_00-26-40", "2024-06-11T00:26:40Z", 3, xeroMean(3), ""},
          {"activity", "", 0, std::nullopt, "is a FIT file without chronograph shots"}},
         "Xero C1, 3 sessions, 1 of them unreadable"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const imports::DeviceListing listing =
            imports::listDeviceFolder({c.device, dir.file(c.folder)});
        EXPECT_EQ(imports::deviceSummary(listing), c.summary);
        ASSERT_EQ(listing.strings.size(), c.strings.size());
        for (std::size_t i = 0; i < c.strings.size(); ++i) {
            const imports::DeviceString& got = listing.strings[i];
            const Expected& want = c.strings[i];
            SCOPED_TRACE(want.name);
            EXPECT_EQ(std::tie(got.name, got.dateTime, got.shots),
                      std::tie(want.name, want.dateTime, want.shots));
            // -1 for no mean: no velocity is negative.
            EXPECT_NEAR(got.meanMetresPerSecond.value_or(-1), want.mean.value_or(-1), 1e-9);
            EXPECT_EQ(got.refusal.empty(), want.refusal.empty()) << got.refusal;
            EXPECT_NE(got.refusal.find(want.refusal), std::string::npos) << got.refusal;
            // Every string names the file the import is to read.
            EXPECT_EQ(got.path.rfind(dir.file(c.folder), 0), 0u) << got.path;
        }
    }
    // The one session left: singular.
    EXPECT_EQ(
        imports::deviceSummary({{Device::XeroC1, "/"}, std::vector<imports::DeviceString>(1)}),
        "Xero C1, 1 session");
}

// Cancel stops a listing between strings, and a file's reading at its next line.
TEST_F(DeviceFolders, StopWhenCancelled)
{
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(
        imports::listDeviceFolder({Device::LabRadar, dir.file("card/LBR")}, stop.get_token()),
        imports::ImportCancelled);
    EXPECT_THROW(
        imports::readImportFile(dir.file("xero/Garmin/Shot_Sessions/06-11-2024_00-26-40.fit"),
                                stop.get_token()),
        imports::ImportCancelled);

    std::stop_source later;
    imports::ImportLines lines(dir.file("card/LBR/SR0001/SR0001 Report.csv"), later.get_token());
    lines.readAs(imports::Format::LabRadar);
    std::string line;
    ASSERT_TRUE(lines.next(line));
    EXPECT_EQ(line, "sep=;");
    ASSERT_NE(lines.peek(), nullptr);
    later.request_stop();
    // The line already read ahead is still handed out; no new one is read.
    EXPECT_TRUE(lines.next(line));
    EXPECT_THROW(lines.next(line), imports::ImportCancelled);
}

} // namespace
