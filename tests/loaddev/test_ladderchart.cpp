// What the window draws and exports of a ladder, as numbers and text: the chart's dots, bars,
// line, shaded flat spot and figures, and the CSV a spreadsheet reads.
#include "loaddev/ladderchart.h"
#include "loaddev/laddercsv.h"
#include "runtime/decimalseparator.h"
#include "support/stringrows.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Charges half a grain apart, three shots each: means 802, 812, 814, 826, slope 14,8, the
// step from 40,5 to 41,0 flat; a fifth string has no value and no place on the chart. At
// 40,5 the SD (√7) and the extreme spread give bars of their own.
session::LoadTest ladder()
{
    session::LoadTest test;
    test.title = "N140";
    const std::pair<const char*, std::vector<const char*>> steps[] = {
        {"40", {"800", "802", "804"}},
        {"40.5", {"810", "811", "815"}},
        {"41", {"813", "814", "815"}},
        {"41.5", {"824", "826", "828"}},
        {"", {"700", "705"}}};
    for (const auto& [value, velocities] : steps) {
        std::vector<Row> rows;
        for (const char* v : velocities)
            rows.push_back({"1", v});
        test.strings.push_back(session::makeString(tableOf(rows), {}, test.variable));
        test.strings.back().value = value;
    }
    return test;
}

TEST(LadderChart, ShotsMeansBarsLineAndFlatSpot)
{
    rt::setDecimalSeparator(',');
    const session::LoadTest test = ladder();
    const session::LadderFigures figures = session::ladderFigures(test, 0.95, table::Units::Metric);
    for (const auto bars :
         {loaddev::ScatterBars::StandardDeviation, loaddev::ScatterBars::ExtremeSpread}) {
        chart::Chart c;
        loaddev::fillLadderChart(c, test, figures, bars);
        SCOPED_TRACE(c.series(1).title());
        EXPECT_EQ(c.title, "N140");
        EXPECT_EQ(c.leftAxis.title, "V [m/s]");
        EXPECT_EQ(c.bottomAxis.title, "Charge (gr)");
        ASSERT_EQ(c.seriesCount(), 3u);
        const chart::Series& shots = c.series(0);
        EXPECT_FALSE(shots.lineVisible());
        EXPECT_TRUE(shots.pointsVisible());
        EXPECT_EQ(shots.count(), 12u);
        EXPECT_EQ(shots.x(3), 40.5);
        EXPECT_EQ(shots.y(3), 810);
        const chart::Series& means = c.series(1);
        EXPECT_EQ(means.xs(), (std::vector<double>{40, 40.5, 41, 41.5}));
        EXPECT_EQ(means.ys(), (std::vector<double>{802, 812, 814, 826}));
        ASSERT_EQ(means.errorBars().size(), 4u);
        const auto& bar = means.errorBars()[2];
        EXPECT_EQ(bar.x, 41);
        // 813, 814, 815: SD 1 about 814, or the lowest to the highest shot.
        const bool sd = bars == loaddev::ScatterBars::StandardDeviation;
        EXPECT_DOUBLE_EQ(bar.low, 813);
        EXPECT_DOUBLE_EQ(bar.high, 815);
        const auto& lopsided = means.errorBars()[1];
        EXPECT_DOUBLE_EQ(lopsided.low, sd ? 812 - std::sqrt(7.0) : 810);
        EXPECT_DOUBLE_EQ(lopsided.high, sd ? 812 + std::sqrt(7.0) : 815);
        EXPECT_EQ(means.title(), sd ? "Mean \u00B1 SD" : "Mean, lowest to highest");
        const chart::Series& line = c.series(2);
        ASSERT_EQ(line.xs(), (std::vector<double>{40, 41.5}));
        // Through (40,75; 813,5) with slope 14,8.
        EXPECT_NEAR(line.y(0), 813.5 - 0.75 * 14.8, 1e-9);
        EXPECT_NEAR(line.y(1), 813.5 + 0.75 * 14.8, 1e-9);
        EXPECT_EQ(c.bottomAxis.fitTo, (chart::DataBounds{40, 41.5}));
        ASSERT_EQ(c.bands.size(), 1u);
        EXPECT_EQ(c.bands[0].from, 40.5);
        EXPECT_EQ(c.bands[0].to, 41);
        ASSERT_EQ(c.notes.size(), 2u);
        EXPECT_EQ(c.notes[1], "R\u00B2 = 0,91");
    }
}

TEST(LadderChart, WithoutValuesThereIsNothingToFitOrShade)
{
    session::LoadTest test = ladder();
    for (auto& s : test.strings)
        s.value.clear();
    chart::Chart c;
    c.bands.push_back({1, 2, {}});
    c.notes = {"old"};
    loaddev::fillLadderChart(c, test, session::ladderFigures(test, 0.95, table::Units::Metric),
                             loaddev::ScatterBars::StandardDeviation);
    EXPECT_EQ(c.seriesCount(), 2u);
    EXPECT_EQ(c.series(0).count(), 0u);
    EXPECT_FALSE(c.bottomAxis.fitTo);
    EXPECT_TRUE(c.bands.empty());
    EXPECT_TRUE(c.notes.empty());
}

TEST(LadderCsv, TableLineAndComparisonsForASpreadsheet)
{
    rt::setDecimalSeparator(',');
    session::LoadTest test = ladder();
    test.strings.resize(2);
    test.strings[1] =
        session::makeString(tableOf({{"1", "810"}, {"2", "812"}, {"3", "814"}}), {}, test.variable);
    test.strings[1].value = "40.5";
    test.variable.name = "N140; \"fine\"";
    test.comparisons = {{0, 1}};
    const std::string csv =
        loaddev::ladderCsv(test, session::ladderFigures(test, 0.95, table::Units::Imperial));
    // Worked out by hand: SD 2/0,3048 with chi-square 0,0506 and 7,378 for its range; the
    // line's residuals 16 (m/s)² over 4 degrees of freedom; Welch's t of 4 degrees of freedom
    // in closed form.
    EXPECT_EQ(csv, "\xEF\xBB\xBF"
                   "\"N140; \"\"fine\"\" (gr)\";Shots;Mean (ft/s);ES (ft/s);SD (ft/s);SD 95 "
                   "%;\u0394 Mean (ft/s);"
                   "ft/s per grain;Flat spot\r\n"
                   "40;3;2631,2;13,1;6,6;3,4 \u2013 41,2;\u2014;\u2014;\r\n"
                   "40,5;3;2664,0;13,1;6,6;3,4 \u2013 41,2;+32,8;+65,6;\r\n"
                   "\r\n"
                   "Slope;+65,6 ft/s per grain (95 %: 35,9 \u2013 95,4)\r\n"
                   "R\u00B2;0,90\r\n"
                   "40 gr vs 40,5 gr;Mean 2631,2 vs 2664,0 is a shown difference (p = 0,0036)\r\n"
                   "40 gr vs 40,5 gr;SD 6,6 vs 6,6 is not a shown difference (p = 1,0)\r\n");
    rt::setDecimalSeparator('.');
    const std::string points =
        loaddev::ladderCsv(test, session::ladderFigures(test, 0.95, table::Units::Metric));
    EXPECT_NE(points.find("\r\n40.5,3,812.0,4.0,2.0,"), std::string::npos) << points;
    rt::setDecimalSeparator(',');
}

} // namespace
