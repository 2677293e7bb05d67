#include "charts/externalseries.h"
#include "charts/redraw.h"
#include "runtime/errors.h"
#include "support/tempdir.h"
#include "support/thrown.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"

#include <gtest/gtest.h>

using namespace charts;

namespace {

std::string record(int n, const std::string& v, const std::string& e, const std::string& dv)
{
    return std::to_string(n) + "\r\n" + v + "\r\n" + e + "\r\n0,547\r\nJSB\r\n" + dv + "\r\n";
}

std::string file(int records, int base = 280)
{
    std::string s;
    for (int i = 1; i <= records; ++i)
        s += record(i, std::to_string(base + i), "2" + std::to_string(i) + ",5",
                    "0,3" + std::to_string(i));
    return s;
}

table::StringGrid tableOf(const std::vector<std::vector<std::string>>& rows)
{
    table::StringGrid t = table::makeGrid();
    t.setRowCount(rows.size() + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        t.setCell(table::ColV, r + 1, rows[r][0]);
        t.setCell(table::ColE, r + 1, rows[r][1]);
        t.setCell(table::ColDV, r + 1, rows[r][2]);
    }
    return t;
}

struct Charts {
    chart::Chart v, e, dV;
    void redraw(const table::StringGrid& t, const ExternalSeriesStore& store,
                const std::vector<std::string>& items, const std::string& current = "",
                ViewFlags flags = {})
    {
        charts::redraw(v, e, dV, {t, store, items, current, flags});
    }
};

} // namespace

TEST(ExternalSeriesFile, ReadsVelocityEnergyAndDeviationOfEachRecord)
{
    TempDir dir;
    dir.write("a.vxm", file(12));
    const ExternalSeries s = readExternalSeries(dir.file("a.vxm"));
    ASSERT_EQ(s.count(), 12u);
    EXPECT_EQ(s.v(0), "281");
    EXPECT_EQ(s.e(11), "212,5");
    EXPECT_EQ(s.dV(11), "0,312");
}

TEST(ExternalSeriesFile, OddFilesGiveThePointsTheRulesSay)
{
    TempDir dir;
    const struct {
        const char* name;
        std::string bytes;
        std::size_t count;
        std::string lastV, lastE, lastDv;
    } cases[] = {
        {"empty", "", 1, "", "", ""},
        {"cut inside a record", file(2) + "3\r\n300\r\n", 3, "300", "", ""},
        {"extra empty line", file(2) + "\r\n", 3, "", "", ""},
        {"long values",
         record(1, std::string(40, '9'), "Энергия-очень-длинная-строка", "12345678901234567890"), 1,
         std::string(16, '9'), "Энергия-очень-дл", "1234567890123456"},
    };
    for (const auto& c : cases) {
        dir.write("f.vxm", c.bytes);
        const ExternalSeries s = readExternalSeries(dir.file("f.vxm"));
        ASSERT_EQ(s.count(), c.count) << c.name;
        EXPECT_EQ(s.v(c.count - 1), c.lastV) << c.name;
        EXPECT_EQ(s.e(c.count - 1), c.lastE) << c.name;
        EXPECT_EQ(s.dV(c.count - 1), c.lastDv) << c.name;
    }
}

// The same rule as File › Open: binary data and other files are refused where they show.
TEST(ExternalSeriesFile, FileThatIsNotAMeasurementFileIsRefused)
{
    TempDir dir;
    const std::pair<std::string, std::size_t> cases[] = {
        {std::string("\x00\xff\xfe\x01\r\x80\n\n\x00", 9), 1},
        {file(2) + "third\r\n", 13},
    };
    for (const auto& [bytes, line] : cases) {
        dir.write("f.vxm", bytes);
        const auto e =
            thrown<table::NotMeasurementFile>([&] { readExternalSeries(dir.file("f.vxm")); });
        ASSERT_TRUE(e);
        EXPECT_EQ(e->line(), line);
    }
}

TEST(ExternalSeriesFile, MissingFileRaisesTheRuntimeError)
{
    TempDir dir;
    const auto e = thrown<rt::InOutError>([&] { readExternalSeries(dir.file("none.vxm")); });
    ASSERT_TRUE(e);
    EXPECT_STREQ(e->what(), "File not found");
}

TEST(ExternalSeriesFile, MillionsOfRecordsStayCompact)
{
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 1000000; ++i)
        bytes += "\r\n300\r\n\r\n\r\n\r\n\r\n";
    dir.write("big.vxm", bytes);
    const ExternalSeries s = readExternalSeries(dir.file("big.vxm"));
    EXPECT_EQ(s.count(), 1000000u);
    EXPECT_EQ(s.v(999999), "300");
}

TEST(SeriesTitle, CutsTheLastFourCharacters)
{
    EXPECT_EQ(seriesTitle("test.vxm"), "test");
    EXPECT_EQ(seriesTitle("стрельба.vxm"), "стрельба");
    EXPECT_EQ(seriesTitle("a.vx"), "");
    EXPECT_EQ(seriesTitle("noext"), "n");
    EXPECT_EQ(fileNamePart("C:\\data\\mar07.vxm"), "mar07.vxm");
    EXPECT_EQ(fileNamePart("/home/u/mar07.vxm"), "mar07.vxm");
    EXPECT_EQ(fileNamePart("D:mar07.vxm"), "mar07.vxm");
}

TEST(Redraw, ExternalSeriesFirstThenTheTable)
{
    ExternalSeriesStore store;
    std::vector<std::string> items;
    TempDir dir;
    for (int n : {10, 25, 5}) {
        dir.write("s.vxm", file(n));
        store.add(readExternalSeries(dir.file("s.vxm")));
        items.push_back("s" + std::to_string(n) + ".vxm");
    }
    std::vector<std::vector<std::string>> rows(12, {"300", "####", "abc"});
    rows[0] = {"310", "22,5", "-1,5"};
    const table::StringGrid t = tableOf(rows);
    Charts c;
    c.redraw(t, store, items, "C:\\data\\mar07.vxm");
    for (chart::Chart* ch : {&c.v, &c.e, &c.dV}) {
        ASSERT_EQ(ch->seriesCount(), 4u);
        EXPECT_EQ(ch->series(0).title(), "s10");
        EXPECT_EQ(ch->series(1).count(), 25u);
        EXPECT_EQ(ch->series(3).title(), "mar07");
        EXPECT_EQ(ch->series(3).count(), 12u);
        EXPECT_EQ(ch->series(3).x(11), 12);
        EXPECT_EQ(ch->series(3).x(0), 1);
        EXPECT_EQ(ch->series(2).color(), chart::palette()[2]);
    }
    EXPECT_EQ(c.v.series(3).y(0), 310);
    EXPECT_EQ(c.e.series(3).y(0), 22.5);
    EXPECT_EQ(c.e.series(3).y(1), 0) << "#### is drawn at 0";
    EXPECT_EQ(c.dV.series(3).y(0), -1.5);
    EXPECT_EQ(c.dV.series(3).y(5), 0);
    EXPECT_FALSE(c.v.leftAxis.automaticMinimum);
    EXPECT_EQ(c.v.leftAxis.minimum, 0);
    EXPECT_FALSE(c.e.leftAxis.automaticMinimum);
    EXPECT_TRUE(c.dV.leftAxis.automaticMinimum);
}

TEST(Redraw, EmptySourcesEmptyTheChartsButTheFlagsStillApply)
{
    ExternalSeriesStore store;
    Charts c;
    c.redraw(tableOf({{"300", "5,4", "0"}}), store, {}, "", {true, true, true});
    c.redraw(table::makeGrid(), store, {}, "", {false, true, false});
    for (chart::Chart* ch : {&c.v, &c.e, &c.dV}) {
        EXPECT_EQ(ch->seriesCount(), 0u);
        EXPECT_FALSE(ch->view3D);
        EXPECT_FALSE(ch->legendVisible);
    }
}

namespace {

struct WithExternal {
    TempDir dir;
    ExternalSeriesStore store;
    std::vector<std::string> items;

    // Velocities base+1..base+records, energies 21,5.., deviations 0,31..
    void add(int records, int base)
    {
        dir.write("s.vxm", file(records, base));
        store.add(readExternalSeries(dir.file("s.vxm")));
        items.push_back("s" + std::to_string(items.size()) + ".vxm");
    }
};

} // namespace

TEST(RedrawFitted, BoundsSpanTheCurrentAndExternalSeriesTogether)
{
    WithExternal ext;
    ext.add(3, 284);
    ext.add(2, 279);
    const table::StringGrid t = tableOf({{"283", "####", "-2,5"},
                                         {"291,5", "30,25", "4"},
                                         {"286", "abc", "x"},
                                         {"282", "25,5", "0"}});
    Charts c;
    ViewFlags flags;
    flags.fitAxes = true;
    c.redraw(t, ext.store, ext.items, "", flags);

    EXPECT_EQ(c.v.leftAxis.fitTo, (chart::DataBounds{280, 291.5}));
    // 21,5 is the second external file's lowest; "####" and "abc" are drawn at 0 but not
    // fitted.
    EXPECT_EQ(c.e.leftAxis.fitTo, (chart::DataBounds{21.5, 30.25}));
    EXPECT_EQ(c.e.series(2).y(0), 0);
    EXPECT_FALSE(c.dV.leftAxis.fitTo) << "deviations keep their automatic axis";
    EXPECT_TRUE(c.dV.leftAxis.automaticMinimum);
    EXPECT_TRUE(c.dV.leftAxis.automaticMaximum);
}

TEST(RedrawFitted, WithNothingToFitOrSwitchedOffTheAxesAreAsWithoutFitting)
{
    const table::StringGrid t = tableOf({{"300", "####", "0"}, {"310", "", "1"}});
    ExternalSeriesStore none;
    Charts c;
    ViewFlags fit;
    fit.fitAxes = true;
    c.redraw(t, none, {}, "", fit);
    EXPECT_EQ(c.v.leftAxis.fitTo, (chart::DataBounds{300, 310}));
    EXPECT_FALSE(c.e.leftAxis.fitTo) << "no energy converted";

    c.redraw(t, none, {}, "", {});
    for (chart::Chart* ch : {&c.v, &c.e, &c.dV})
        EXPECT_FALSE(ch->leftAxis.fitTo);
    for (chart::Chart* ch : {&c.v, &c.e}) {
        EXPECT_FALSE(ch->leftAxis.automaticMinimum);
        EXPECT_EQ(ch->leftAxis.minimum, 0);
        EXPECT_TRUE(ch->leftAxis.automaticMaximum);
    }

    // A redraw that stops at a bad velocity leaves no fit from the one before.
    c.redraw(t, none, {}, "", fit);
    EXPECT_THROW(c.redraw(tableOf({{"3x0", "5", "0"}}), none, {}, "", fit), rt::ConvertError);
    EXPECT_FALSE(c.v.leftAxis.fitTo);
}

TEST(RedrawUnits, ImperialConvertsVelocityAndEnergyButNotDeviation)
{
    WithExternal ext;
    ext.add(1, 299);
    const table::StringGrid t = tableOf({{"304,8", "13,558179483", "-1,5"}, {"310", "####", "2"}});
    Charts c;
    ViewFlags flags;
    flags.units = table::Units::Imperial;
    flags.fitAxes = true;
    c.redraw(t, ext.store, ext.items, "", flags);

    EXPECT_NEAR(c.v.series(1).y(0), 1000, 1e-9);
    EXPECT_DOUBLE_EQ(c.v.series(0).y(0), 300 / 0.3048);
    EXPECT_NEAR(c.e.series(1).y(0), 10, 1e-9);
    EXPECT_NEAR(c.e.series(0).y(0), 21.5 / 1.3558179483, 1e-9);
    EXPECT_EQ(c.e.series(1).y(1), 0) << "#### stays at 0";
    EXPECT_EQ(c.dV.series(1).y(0), -1.5);
    EXPECT_EQ(c.dV.series(0).y(0), 0.31);
    ASSERT_TRUE(c.v.leftAxis.fitTo);
    EXPECT_DOUBLE_EQ(c.v.leftAxis.fitTo->max, 310 / 0.3048) << "fitted in the unit shown";
    EXPECT_EQ(c.v.leftAxis.title, "V [ft/s]");
    EXPECT_EQ(c.e.leftAxis.title, "E [ft·lbf]");
    EXPECT_EQ(c.dV.leftAxis.title, "dV [%]");

    c.redraw(t, ext.store, ext.items);
    EXPECT_EQ(c.v.series(1).y(0), 304.8);
    EXPECT_EQ(c.e.series(1).y(0), 13.558179483);
    EXPECT_EQ(c.v.leftAxis.title, "V [m/s]");
    EXPECT_EQ(c.e.leftAxis.title, "E [J]");
    EXPECT_EQ(c.dV.leftAxis.title, "dV [%]");
}

// Another session's file may come from a machine with the other separator.
TEST(RedrawDecimals, VelocitiesOfTheTableAndOfOtherSessionsFiles)
{
    TempDir dir;
    dir.write("s.vxm", record(1, "285.5", "4,89", "0,00") + record(2, "290,25", "5,05", "1,66"));
    ExternalSeriesStore store;
    store.add(readExternalSeries(dir.file("s.vxm")));
    const std::vector<std::string> items = {"s.vxm"};
    Charts c;
    c.redraw(tableOf({{"280,75", "4,73", "-1,66"}}), store, items);
    EXPECT_EQ(c.v.series(0).y(0), 285.5);
    EXPECT_EQ(c.v.series(0).y(1), 290.25);
    EXPECT_EQ(c.v.series(1).y(0), 280.75);

    // Only what the table takes as a velocity is drawn as one.
    for (const char* bad : {"3e2", " 300", "300,5,0"}) {
        const auto e = thrown<rt::ConvertError>([&] {
            c.redraw(tableOf({{bad, "5", "0"}}), ExternalSeriesStore{}, {});
        });
        ASSERT_TRUE(e) << bad;
        EXPECT_EQ(std::string(e->what()),
                  "'" + std::string(bad) + "' is not a valid integer value");
    }
    dir.write("bad.vxm", record(1, "2,9E2", "5", "0"));
    store.add(readExternalSeries(dir.file("bad.vxm")));
    const std::vector<std::string> two = {"s.vxm", "bad.vxm"};
    EXPECT_THROW(c.redraw(tableOf({{"280", "5", "0"}}), store, two), rt::ConvertError);
}
