#include "exportgrid.h"
#include "exports/bulletsummary.h"
#include "exports/copytext.h"
#include "exports/shotfields.h"
#include "exports/statisticlines.h"
#include "runtime/decimalseparator.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using table::Units;

TEST(PastedRows, MarkedRowsWithTheHeaderTabSeparatedInTheUnitsShown)
{
    table::StringGrid grid = exportGrid(
        {{"300", "0,547", "JSB"}, {"310", "0,547", "JSB\tExact"}, {"290", "0,547", "H&N"}});
    EXPECT_EQ(exports::tabSeparatedRows(grid, 2, 3, Units::Metric),
              "N\tV (m/s)\tE (J)\tm (g)\tBullet\tdV (%)\n"
              "2\t310\t26,3\t0,547\tJSB Exact\t3,33\n"
              "3\t290\t23,0\t0,547\tH&N\t-3,33\n");
    EXPECT_EQ(exports::tabSeparatedRows(grid, 1, 1, Units::Imperial),
              "N\tV (ft/s)\tE (ft\u00B7lbf)\tm (gr)\tBullet\tdV (%)\n"
              "1\t984\t18,2\t8,4\tJSB\t0,00\n");
    // Past the last row is clipped, not read as empty rows.
    const std::string clipped = exports::tabSeparatedRows(grid, 3, 99, Units::Metric);
    EXPECT_EQ(std::count(clipped.begin(), clipped.end(), '\n'), 2);
}

TEST(ShotFields, DecimalVelocitiesKeepTheirDecimalsAndTheSeparatorFollowsTheProgram)
{
    table::StringGrid grid = exportGrid({{"300", "0,547", "A"}});
    grid.setCell(table::ColV, 1, "300,25");
    rt::setDecimalSeparator('.');
    exports::ShotFields fields;
    exports::shotFields(grid, 1, Units::Metric, fields);
    EXPECT_EQ(fields[table::ColV], "300.25");
    exports::shotFields(grid, 1, Units::Imperial, fields);
    EXPECT_EQ(fields[table::ColV], "985.1");
    rt::setDecimalSeparator(',');
}

// LibreOffice Calc ran "=SUM(A1)" from a bullet name as a formula when it opened the CSV.
TEST(ShotFields, BulletNamesThatSpreadsheetsWouldRunStayText)
{
    const table::StringGrid grid = exportGrid({{"300", "0,547", "=HYPERLINK(\"x\")"},
                                               {"300", "0,547", "+1"},
                                               {"300", "0,547", "-10 gr"},
                                               {"300", "0,547", "@SUM"},
                                               {"290", "0,547", "JSB = fine"}});
    exports::ShotFields fields;
    std::vector<std::string> bullets;
    for (std::size_t row = 1; row <= 5; ++row) {
        exports::shotFields(grid, row, Units::Metric, fields);
        bullets.push_back(fields[table::ColBullet]);
    }
    EXPECT_EQ(bullets, (std::vector<std::string>{"'=HYPERLINK(\"x\")", "'+1", "'-10 gr", "'@SUM",
                                                 "JSB = fine"}));
    // Negative numbers are numbers, not names: dV keeps its sign (290 against a mean of 298).
    EXPECT_EQ(fields[table::ColDV], "-2,68");
}

TEST(StatisticLines, SelectionFiguresOnlyForTwoMarkedRowsOrMore)
{
    table::StringGrid grid =
        exportGrid({{"280", "0,547", "A"}, {"285", "0,547", "A"}, {"290", "0,547", "A"}});
    grid.setRowCount(5);
    grid.setCell(table::ColV, 4, "xx");
    const auto without =
        exports::statisticLines(grid, nullptr, Units::Metric, exports::MarkedRows{2, 2});
    ASSERT_EQ(without.size(), 8u) << "no labels without a statistics pass; one row is no series";
    EXPECT_EQ(without.back(), (exports::StatisticLine{"Rows without a velocity", "1", ""}));

    const auto with =
        exports::statisticLines(grid, nullptr, Units::Imperial, exports::MarkedRows{2, 3});
    ASSERT_EQ(with.size(), 14u);
    EXPECT_EQ(with[8], (exports::StatisticLine{"Selected rows", "2\u20133", ""}));
    EXPECT_EQ(with[9], (exports::StatisticLine{"Selected shots", "2", ""}));
    // 287.5 m/s = 943.2 ft/s; ES 5 m/s = 16.4 ft/s, SD (n) of the two half of it.
    EXPECT_EQ(with[10], (exports::StatisticLine{"Selected mean", "943,2", "ft/s"}));
    EXPECT_EQ(with[11], (exports::StatisticLine{"Selected ES", "16,4", "ft/s"}));
    EXPECT_EQ(with[13], (exports::StatisticLine{"Selected SD (n)", "8,2", "ft/s"}));
}

// Excluded shots stay out of the figures, over all rows and the selection, and are counted.
TEST(StatisticLines, ExcludedShotsAreCountedBesideTheFigures)
{
    table::StringGrid grid = exportGrid({{"280", "0,547", "A"},
                                         {"285", "0,547", "A"},
                                         {"350", "0,547", "A"},
                                         {"290", "0,547", "A"}});
    grid.setCell(table::ColExcluded, 3, table::kExcludedMark);
    const auto lines =
        exports::statisticLines(grid, nullptr, Units::Metric, exports::MarkedRows{2, 4});
    const auto line = [&](std::string_view caption) {
        for (const exports::StatisticLine& l : lines)
            if (l.caption == caption)
                return l.value;
        return std::string("missing");
    };
    const std::pair<const char*, const char*> expected[] = {
        {"Shots", "3"},          {"Mean", "285,0"},          {"Excluded shots", "1"},
        {"Selected shots", "2"}, {"Selected mean", "287,5"}, {"Selected excluded shots", "1"}};
    for (const auto& [caption, value] : expected)
        EXPECT_EQ(line(caption), value) << caption;
}

// The panel's confidence lines: over the counted shots only, a dash as an empty value, and
// none for an empty table.
TEST(StatisticLines, ConfidenceLinesFollowThePanel)
{
    table::StringGrid grid = exportGrid({{"280", "0,547", "A"},
                                         {"281", "0,547", "A"},
                                         {"282", "0,547", "A"},
                                         {"283", "0,547", "A"},
                                         {"350", "0,547", "A"}});
    const auto linesOf = [&grid](exports::ConfidenceSetting setting) {
        std::vector<exports::StatisticLine> confidence;
        for (const exports::StatisticLine& l : exports::statisticLines(
                 grid, nullptr, Units::Metric, exports::MarkedRows{1, 2}, setting))
            if (l.caption.find(" %") != std::string::npos || l.caption.starts_with("Shots for"))
                confidence.push_back(l);
        return confidence;
    };
    using Line = exports::StatisticLine;
    const auto flyer = linesOf({95, 10});
    ASSERT_EQ(flyer.size(), 6u);
    EXPECT_EQ(flyer[2], (Line{"Shots for \u00B110 m/s", flyer[2].value, ""}));
    EXPECT_EQ(flyer[3], (Line{"Shot 5 may be a flyer (Grubbs, 95 %)", "", ""}));
    EXPECT_EQ(flyer[4], (Line{"Selected mean 95 %", "", "m/s"})) << "two shots: the panel's dash";

    grid.setCell(table::ColExcluded, 5, table::kExcludedMark);
    const auto excluded = linesOf({95, std::nullopt});
    ASSERT_EQ(excluded.size(), 6u);
    // 280 to 283: mean 281,5, s 1,29, t(3; 0,975) 3,18.
    EXPECT_EQ(excluded[0], (Line{"Mean 95 %", "279,4 \u2013 283,6", "m/s"}));
    EXPECT_EQ(excluded[3], (Line{"Flyer (Grubbs, 95 %): none", "", ""}));

    grid.setRowCount(1);
    EXPECT_TRUE(linesOf({90, std::nullopt}).empty());
}

TEST(StatisticLines, InvalidEnergiesAndASingleShotLeaveEmptyValues)
{
    const table::StringGrid grid = exportGrid({{"300", " ,   ", "A"}});
    const table::Statistics labels = table::statisticsPass(grid);
    const auto lines = exports::statisticLines(grid, &labels, Units::Metric);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[3], (exports::StatisticLine{"E max", "", "J"})) << "the label shows ####";
    EXPECT_EQ(lines[9], (exports::StatisticLine{"SD (n\u22121)", "", "m/s"}));
    EXPECT_EQ(lines[10], (exports::StatisticLine{"SD (n)", "", "m/s"}));
    EXPECT_EQ(lines[11], (exports::StatisticLine{"CV", "", "%"}));
}

TEST(BulletSummary, EachBulletAndWeightOnceInTableOrderUpToTheLimit)
{
    const table::StringGrid grid = exportGrid({{"300", "0,547", "JSB"},
                                               {"300", "0,547", "JSB"},
                                               {"300", "0,670", "H&N"},
                                               {"300", " ,   ", ""},
                                               {"300", "0,510", "RWS"},
                                               {"300", "0,547", "Exact"}});
    exports::BulletSummary s = exports::bulletSummary(grid, Units::Metric, 3);
    EXPECT_EQ(s.bullets,
              (std::vector<std::string>{"JSB, 0,547 g", "H&N, 0,670 g", "RWS, 0,510 g"}));
    EXPECT_EQ(s.more, 1u);
    s = exports::bulletSummary(grid, Units::Imperial, 1);
    EXPECT_EQ(s.bullets, std::vector<std::string>{"JSB, 8,4 gr"});
    EXPECT_EQ(s.more, 3u);
}

} // namespace
