// What the LabRadar-style report writes, the import's reader takes back: the same velocities
// and the same weight, in either unit system and decimal separator; digit for digit where the
// unit is the one they were recorded in.
#include "exportgrid.h"
#include "exports/labradarexport.h"
#include "imports/importfile.h"
#include "runtime/decimalseparator.h"
#include "support/tempdir.h"
#include "table/measurementtable.h"
#include "table/velocity.h"

#include <gtest/gtest.h>

namespace {

struct RoundTrip {
    char separator;
    table::Units units;
};

class LabRadarRoundTrip : public ::testing::TestWithParam<RoundTrip> {
protected:
    void SetUp() override { rt::setDecimalSeparator(GetParam().separator); }
    void TearDown() override { rt::setDecimalSeparator(','); }
};

INSTANTIATE_TEST_SUITE_P(UnitsAndSeparators, LabRadarRoundTrip,
                         ::testing::Values(RoundTrip{',', table::Units::Metric},
                                           RoundTrip{'.', table::Units::Metric},
                                           RoundTrip{',', table::Units::Imperial},
                                           RoundTrip{'.', table::Units::Imperial}));

TEST_P(LabRadarRoundTrip, VelocitiesAndWeightComeBack)
{
    // The last two were recorded in ft/s: 3007,98 and 2804.
    const std::vector<std::string> velocities = {"285,5", "290.25",     "280,75",
                                                 "301",   "916,832304", "854,6592"};
    std::vector<std::array<std::string, 3>> rows;
    for (const std::string& v : velocities)
        rows.push_back({v, "10,886", "SMK"});
    const table::StringGrid grid = exportGrid(rows);

    TempDir dir;
    dir.write("SR0001 Report.csv",
              exports::labRadarReport(grid, GetParam().units, {"2024-05-11", "09:41:02"}));
    const imports::ImportedFile file = imports::readImportFile(dir.file("SR0001 Report.csv"));

    EXPECT_EQ(file.format, imports::Format::LabRadar);
    ASSERT_EQ(file.series.size(), 1u);
    table::StringGrid back = table::makeGrid();
    imports::putSeries(back, file.series[0], imports::VelocityUnit::Unknown, "", "stem");
    ASSERT_EQ(back.rowCount(), velocities.size() + 1);
    const bool metric = GetParam().units == table::Units::Metric;
    for (std::size_t i = 0; i < velocities.size(); ++i) {
        const double v = table::velocityOf(velocities[i]);
        // m/s values in ft/s keep the grid's one decimal: 0.05 ft/s is 0.015 m/s.
        if (metric || i >= 4)
            EXPECT_EQ(back.numbers().velocity(i + 1), v) << velocities[i];
        else
            EXPECT_NEAR(back.numbers().velocity(i + 1), v, 0.016) << velocities[i];
    }
    ASSERT_TRUE(file.series[0].weightGrams);
    EXPECT_NEAR(*file.series[0].weightGrams, 10.886, 0.0005);
}

} // namespace
