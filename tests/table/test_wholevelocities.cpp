// Whole velocities must give the texts they gave before a velocity could carry decimals,
// byte for byte: in cells, in the statistics labels and in a selection's file. The one
// deliberate change since: energies from 999,5 J up are whole joules, not "3,96E3".

#include "runtime/decimalseparator.h"
#include "support/tempdir.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"
#include "table/units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::string sep(std::string text)
{
    std::replace(text.begin(), text.end(), ',', rt::decimalSeparator());
    return text;
}

struct Session {
    const char* name;
    const char* weight;
    // Velocity, the energy the rule writes, the dV the deviation pass writes.
    std::vector<std::vector<std::string>> rows;
    // V max, V min, V a, E max, E min, E a; then the same in ft/s and ft·lbf.
    std::vector<std::string> labels;
    std::vector<std::string> imperialLabels;
    // The file Save Selected As writes for rows 2 to 5 (or to the last), with empty m and
    // Bullet cells.
    std::string selection;
};

// The texts were taken from the passes as they stood before decimals (velocities converted
// as whole numbers, the energy squared in 64-bit integers and computed in long double), with
// the comma in force, and checked by hand where a slip would show, for instance:
//   287 m/s, 0,547 g: 0.547 * 82369 / 1000 / 2 = 22.528 -> "22,5"
//   853 m/s, 10,886 g: 10.886 * 727609 / 2000 = 3960.38 -> "3960" (once "3,96E3")
//   first session's mean 2319 / 8 = 289.875 -> "289,88"; dV of 287: -2.875 / 289.875 * 100
//   = -0.992 -> "-0,99"; V max 301 m/s / 0.3048 = 987.5 ft/s -> "988"
//   its rows 2 to 5 have the mean 1158 / 4 = 289.5; dV of 285: -4.5 / 289.5 * 100 = -1.554
//   -> "-1,55"
// Signs, a zero and energies past 1000 J are in the second session.
const Session kSessions[] = {
    {"air rifle",
     "0,547",
     {{"287", "22,5", "-0,99"},
      {"285", "22,2", "-1,68"},
      {"293", "23,5", "1,08"},
      {"279", "21,3", "-3,75"},
      {"301", "24,8", "3,84"},
      {"288", "22,7", "-0,65"},
      {"+290", "23", "0,04"},
      {"296", "24", "2,11"}},
     {"301", "279", "289,88", "24,80", "21,30", "23,00"},
     {"988", "915", "951,03", "18,29", "15,71", "16,96"},
     "1\r\n285\r\n22,2\r\n\r\n\r\n-1,55\r\n2\r\n293\r\n23,5\r\n\r\n\r\n1,21\r\n"
     "3\r\n279\r\n21,3\r\n\r\n\r\n-3,63\r\n4\r\n301\r\n24,8\r\n\r\n\r\n3,97\r\n"},
    {"rifle with odd values",
     "10,886",
     {{"853", "3960", "128,44"},
      {"861", "4035", "130,58"},
      {"-847", "3905", "-326,83"},
      {"1000", "5443", "167,81"},
      {"0", "0", "-100,00"}},
     {"1000", "-847", "373,40", "5443,00", "0,00", "3468,60"},
     {"3281", "-2779", "1225,10", "4014,60", "0,00", "2558,30"},
     "1\r\n861\r\n4035\r\n\r\n\r\n239,64\r\n2\r\n-847\r\n3905\r\n\r\n\r\n-434,12\r\n"
     "3\r\n1000\r\n5443\r\n\r\n\r\n294,48\r\n4\r\n0\r\n0\r\n\r\n\r\n-100,00\r\n"},
    {"light pellet",
     "0,125",
     {{"305", "5,81", "0,22"}, {"298", "5,55", "-2,08"}, {"310", "6,01", "1,86"}},
     {"310", "298", "304,33", "6,01", "5,55", "5,79"},
     {"1017", "978", "998,47", "4,43", "4,09", "4,27"},
     "1\r\n298\r\n5,55\r\n\r\n\r\n-1,97\r\n2\r\n310\r\n6,01\r\n\r\n\r\n1,97\r\n"},
};

class WholeVelocities : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { rt::setDecimalSeparator(GetParam()); }
    void TearDown() override { rt::setDecimalSeparator(','); }
};

INSTANTIATE_TEST_SUITE_P(Separators, WholeVelocities, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

TEST_P(WholeVelocities, GiveTheTextsTheyAlwaysGave)
{
    for (const Session& session : kSessions) {
        SCOPED_TRACE(session.name);
        table::StringGrid grid = table::makeGrid();
        const std::size_t n = session.rows.size();
        grid.setRowCount(n + 1);
        for (std::size_t r = 1; r <= n; ++r) {
            grid.setCell(table::ColN, r, std::to_string(r));
            grid.setCell(table::ColV, r, session.rows[r - 1][0]);
            table::applyEnergyRule(grid, r, session.weight);
        }
        const table::Statistics s = table::statisticsPass(grid);
        table::deviationPass(grid, s.meanVelocity);

        for (std::size_t r = 1; r <= n; ++r) {
            EXPECT_EQ(grid.cell(table::ColE, r), sep(session.rows[r - 1][1])) << "row " << r;
            EXPECT_EQ(grid.cell(table::ColDV, r), sep(session.rows[r - 1][2])) << "row " << r;
        }
        const std::vector<std::string> labels = {s.vMax, s.vMin, s.vMean, s.eMax, s.eMin, s.eMean};
        const table::StatisticsLabels l = table::statisticsLabels(s, table::Units::Imperial);
        const std::vector<std::string> imperial = {l.vMax, l.vMin, l.vMean,
                                                   l.eMax, l.eMin, l.eMean};
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i], sep(session.labels[i])) << "label " << i;
            EXPECT_EQ(imperial[i], sep(session.imperialLabels[i])) << "label " << i;
        }

        TempDir dir;
        table::writeSelection(grid, 2, std::min<std::size_t>(5, n), dir.file("s.vxm"));
        EXPECT_EQ(readBytes(dir.file("s.vxm")), sep(session.selection));
    }
}

} // namespace
