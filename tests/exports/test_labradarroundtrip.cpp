// What the LabRadar-style report writes, the import's reader takes back: the same velocities
// to the hundredth and the same weight, in either unit system and decimal separator.
#include "exportgrid.h"
#include "exports/labradarexport.h"
#include "imports/importfile.h"
#include "runtime/decimalseparator.h"
#include "support/tempdir.h"
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
    const std::vector<std::string> velocities = {"285,5", "290.25", "280,75", "301", "854,66"};
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
    const std::vector<double> back =
        imports::metresPerSecond(file.series[0], imports::VelocityUnit::Unknown);
    ASSERT_EQ(back.size(), velocities.size());
    for (std::size_t i = 0; i < velocities.size(); ++i)
        EXPECT_NEAR(back[i], table::velocityOf(velocities[i]), 0.005) << velocities[i];
    ASSERT_TRUE(file.series[0].weightGrams);
    EXPECT_NEAR(*file.series[0].weightGrams, 10.886, 0.0005);
}

} // namespace
