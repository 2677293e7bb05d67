#include "exportgrid.h"
#include "exports/labradarexport.h"
#include "runtime/decimalseparator.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using table::Units;

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        if (end == std::string::npos)
            break;
        out.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')), out.size())
        << "no bare LF";
    return out;
}

const exports::ExportMoment kMoment{"2024-05-11", "09:41:02"};

// 300, 310 and 290 m/s with the 0,547 g pellet; the second row's weight was never filled.
table::StringGrid threeShots()
{
    return exportGrid({{"300", "0,547", "JSB"}, {"310", " ,   ", "JSB"}, {"290", "0,547", "JSB"}});
}

class LabRadarExport : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { rt::setDecimalSeparator(GetParam()); }
    void TearDown() override { rt::setDecimalSeparator(','); }
};

INSTANTIATE_TEST_SUITE_P(Separators, LabRadarExport, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

TEST_P(LabRadarExport, MetricSeriesLineByLine)
{
    const std::vector<std::string> expected = {
        "sep=;",
        "Device ID;Vexorel;;",
        "",
        "Series No;0001;;",
        "Total number of shots;0003;;",
        "",
        "Units velocity;m/s;;",
        "Units distances;m;;",
        "Units kinetic energy;j;;",
        "Units weight;grain;;",
        "",
        "Stats - Average;300.00;m/s;",
        "Stats - Highest;310.00;m/s;",
        "Stats - Lowest;290.00;m/s;",
        "Stats - Ext. Spread;20.00;m/s;",
        "Stats - Std. Dev;10.00;m/s;",
        "",
        "Shot ID;V0;Ke0;Proj. Weight;Date;Time",
        // 0,547 g = 8.44 gr; 24.615 J rounds half away from zero.
        "0001;300.00;24.62;8.44;2024-05-11;09:41:02;",
        "0002;310.00;;;2024-05-11;09:41:02;",
        "0003;290.00;23.00;8.44;2024-05-11;09:41:02;",
    };
    EXPECT_EQ(lines(exports::labRadarReport(threeShots(), Units::Metric, kMoment)), expected);
}

TEST_P(LabRadarExport, ImperialInFeetPerSecondAndFootPounds)
{
    const std::vector<std::string> l =
        lines(exports::labRadarReport(threeShots(), Units::Imperial, kMoment));
    ASSERT_EQ(l.size(), 21u);
    EXPECT_EQ(l[6], "Units velocity;fps;;");
    EXPECT_EQ(l[8], "Units kinetic energy;ft-lbs;;");
    EXPECT_EQ(l[9], "Units weight;grain;;");
    // 300 m/s = 984.25 ft/s; SD 10 m/s = 32.81 ft/s.
    EXPECT_EQ(l[11], "Stats - Average;984.25;fps;");
    EXPECT_EQ(l[15], "Stats - Std. Dev;32.81;fps;");
    EXPECT_EQ(l[18], "0001;984.25;18.16;8.44;2024-05-11;09:41:02;");
    EXPECT_EQ(l[20], "0003;951.44;16.96;8.44;2024-05-11;09:41:02;");
}

TEST(LabRadarShots, RowsWithoutAVelocityAreNoShotsAndIdsKeepTheirNumbers)
{
    table::StringGrid grid = exportGrid({{"300", "0,547", "A"}, {"310", "0,547", "A"}});
    grid.setRowCount(4);
    grid.setCell(table::ColN, 3, "3");
    grid.setCell(table::ColV, 3, "---");
    grid.setCell(table::ColN, 2, "17");
    const std::vector<std::string> l = lines(exports::labRadarReport(grid, Units::Metric, kMoment));
    EXPECT_EQ(l[4], "Total number of shots;0002;;");
    ASSERT_EQ(l.size(), 20u);
    EXPECT_EQ(l[18].substr(0, 5), "0001;");
    EXPECT_EQ(l[19].substr(0, 5), "0017;");
}

// Each shot is dated by its own time as the user reads it in local time; the export's moment
// stands in for what the shot's time does not say.
TEST(LabRadarShots, EachShotCarriesItsOwnDateAndTime)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "2024-05-11;09:41:02"},
        {"2023-09-02T14:05:33", "2023-09-02;14:05:33"},
        {"2023-09-02T14:05:33.250", "2023-09-02;14:05:33"},
        {"2023-09-02T14:05", "2023-09-02;14:05:00"},
        {"14:05:33", "2024-05-11;14:05:33"},
        {"2023-09-02", "2023-09-02;09:41:02"},
        // Kept in UTC, written in local time: the fake zone is two hours ahead.
        {"2024-06-18T23:47:11Z", "2024-06-19;01:47:11"},
        {"yesterday", "2024-05-11;09:41:02"}};
    std::vector<std::array<std::string, 3>> rows(std::size(cases), {"300", "0,547", "A"});
    table::StringGrid grid = exportGrid(rows);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        grid.setCell(table::ColTime, i + 1, cases[i].first);
    const auto localTime = [](std::string_view iso) {
        return iso == "2024-06-18T23:47:11Z" ? std::string("2024-06-19 01:47:11")
                                             : std::string(iso);
    };
    const std::vector<std::string> l =
        lines(exports::labRadarReport(grid, Units::Metric, kMoment, localTime));
    ASSERT_EQ(l.size(), 18 + std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(l[18 + i],
                  "000" + std::to_string(i + 1) + ";300.00;24.62;8.44;" + cases[i].second + ";")
            << cases[i].first;
}

// The radar's readers see every shot; its statistics are the panel's, without the excluded.
TEST(LabRadarShots, ExcludedShotsStayListedOutsideTheStats)
{
    table::StringGrid grid = threeShots();
    grid.setCell(table::ColExcluded, 2, table::kExcludedMark);
    const std::vector<std::string> l = lines(exports::labRadarReport(grid, Units::Metric, kMoment));
    EXPECT_EQ(l[4], "Total number of shots;0003;;");
    EXPECT_EQ(l[11], "Stats - Average;295.00;m/s;");
    EXPECT_EQ(l[12], "Stats - Highest;300.00;m/s;");
    ASSERT_EQ(l.size(), 21u);
    EXPECT_EQ(l[19], "0002;310.00;;;2024-05-11;09:41:02;");
}

TEST(LabRadarShots, OneShotHasNoSpread)
{
    const std::vector<std::string> l =
        lines(exports::labRadarReport(exportGrid({{"305", "0,547", "A"}}), Units::Metric, kMoment));
    EXPECT_EQ(l[14], "Stats - Ext. Spread;0.00;m/s;");
    EXPECT_EQ(l[15], "Stats - Std. Dev;0.00;m/s;");
}

} // namespace
