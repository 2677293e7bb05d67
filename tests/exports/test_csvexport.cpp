#include "exportgrid.h"
#include "exports/csvexport.h"
#include "exports/statisticlines.h"
#include "imports/importfile.h"
#include "runtime/decimalseparator.h"
#include "support/csvreader.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using table::Units;
using Record = std::vector<std::string>;

class CsvExport : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { rt::setDecimalSeparator(GetParam()); }
    void TearDown() override { rt::setDecimalSeparator(','); }

    // "1,5" with the separator under test.
    static std::string n(std::string text)
    {
        std::replace(text.begin(), text.end(), ',', rt::decimalSeparator());
        return text;
    }
    static char separator() { return rt::decimalSeparator() == ',' ? ';' : ','; }

    CsvFile written(const table::StringGrid& grid, Units units)
    {
        const table::Statistics labels = table::statisticsPass(grid);
        const std::string text =
            exports::tableCsv(grid, units, exports::statisticLines(grid, &labels, units));
        const CsvFile csv = readCsv(text, separator());
        EXPECT_TRUE(csv.problems.empty()) << csv.problems.front();
        return csv;
    }
};

INSTANTIATE_TEST_SUITE_P(Separators, CsvExport, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

// Bullet names that need every kind of quoting; a rifle's energy the cells write in whole
// joules; a row whose energy cannot be computed.
table::StringGrid awkwardTable()
{
    return exportGrid({{"900", "10,886", "Sierra; \"MatchKing\", 168"},
                       {"300", "0,547", "JSB\r\nExact"},
                       {"310", " ,   ", " padded "}});
}

TEST_P(CsvExport, ReadsBackAsTheTableShowsItWithNumbersInFixedNotation)
{
    const table::StringGrid grid = awkwardTable();
    ASSERT_EQ(grid.cell(table::ColE, 1), "4409");
    const CsvFile csv = written(grid, Units::Metric);
    EXPECT_TRUE(csv.byteOrderMark);
    ASSERT_GE(csv.records.size(), 5u);
    EXPECT_EQ(csv.records[0], (Record{"N", "V (m/s)", "E (J)", "m (g)", "Bullet", "dV (%)"}));
    // 10.886 g at 900 m/s: 4408.83 J, one decimal.
    EXPECT_EQ(csv.records[1], (Record{"1", "900", n("4408,8"), n("10,886"),
                                      "Sierra; \"MatchKing\", 168", n("78,81")}));
    // The grid keeps no line feed in a cell; the carriage return stays and is quoted.
    EXPECT_EQ(csv.records[2], (Record{"2", "300", n("24,6"), n("0,547"),
                                      std::string(grid.cell(table::ColBullet, 2)), n("-40,40")}));
    EXPECT_NE(grid.cell(table::ColBullet, 2).find('\r'), std::string_view::npos);
    EXPECT_EQ(csv.records[3], (Record{"3", "310", "", "", " padded ", n("-38,41")}))
        << "what does not convert is an empty field";
    EXPECT_EQ(csv.records[4], Record{""}) << "a blank line before the statistics";
}

TEST_P(CsvExport, ImperialUnitsAsShown)
{
    const CsvFile csv = written(exportGrid({{"300", "0,547", "JSB"}}), Units::Imperial);
    ASSERT_GE(csv.records.size(), 2u);
    EXPECT_EQ(csv.records[0],
              (Record{"N", "V (ft/s)", "E (ft\u00B7lbf)", "m (gr)", "Bullet", "dV (%)"}));
    // 984.25 ft/s shown whole; 24.6 J = 18.15 ft-lbf; 8.44 gr.
    EXPECT_EQ(csv.records[1], (Record{"1", "984", n("18,2"), n("8,4"), "JSB", n("0,00")}));
}

TEST_P(CsvExport, StatisticsFollowWithCaptionsValuesAndUnits)
{
    const CsvFile csv = written(exportGrid({{"280", "0,547", "A"},
                                            {"285", "0,547", "A"},
                                            {"290", "0,547", "A"},
                                            {"282", "0,547", "A"},
                                            {"288", "0,547", "A"}}),
                                Units::Metric);
    const auto blank = std::find(csv.records.begin(), csv.records.end(), Record{""});
    ASSERT_NE(blank, csv.records.end());
    const std::vector<Record> statistics(blank + 1, csv.records.end());
    const std::vector<Record> expected = {
        {"V max", "290", "m/s"},      {"V min", "280", "m/s"},
        {"V a", n("285,00"), "m/s"},  {"E max", n("23,00"), "J"},
        {"E min", n("21,40"), "J"},   {"E a", n("22,20"), "J"},
        {"Shots", "5", ""},           {"Mean", n("285,0"), "m/s"},
        {"ES", n("10,0"), "m/s"},     {"SD (n\u22121)", n("4,1"), "m/s"},
        {"SD (n)", n("3,7"), "m/s"},  {"CV", n("1,45"), "%"},
        {"Median", n("285,0"), "m/s"}};
    EXPECT_EQ(statistics, expected);
}

TEST(CsvFields, QuotedOnlyWhenNeeded)
{
    const std::pair<const char*, const char*> cases[] = {{"plain", "plain"},
                                                         {"a;b", "\"a;b\""},
                                                         {"a,b", "a,b"},
                                                         {"say \"hi\"", "\"say \"\"hi\"\"\""},
                                                         {"two\nlines", "\"two\nlines\""},
                                                         {" lead", "\" lead\""},
                                                         {"", ""}};
    for (const auto& [field, expected] : cases) {
        std::string out;
        exports::appendCsvField(out, field, ';');
        EXPECT_EQ(out, expected) << field;
    }
    EXPECT_EQ(exports::csvSeparator(','), ';');
    EXPECT_EQ(exports::csvSeparator('.'), ',');
}

} // namespace

namespace {

// The program's own CSV imports back to its shots, never its statistics: digit for digit in
// the unit each was recorded in, else to the one decimal it was printed with.
TEST_P(CsvExport, ImportsBackToItsShots)
{
    // 916,832304 m/s was recorded as 3007,98 ft/s.
    const table::StringGrid grid = exportGrid(
        {{"285,5", "10,886", "SMK"}, {"301", "10,886", "SMK"}, {"916,832304", "10,886", "SMK"}});
    for (const Units units : {Units::Metric, Units::Imperial}) {
        const table::Statistics labels = table::statisticsPass(grid);
        TempDir dir;
        dir.write("table.csv",
                  exports::tableCsv(grid, units, exports::statisticLines(grid, &labels, units)));
        const imports::ImportedFile file = imports::readImportFile(dir.file("table.csv"));
        EXPECT_EQ(file.format, imports::Format::VexorelTable);
        ASSERT_EQ(file.series.size(), 1u);
        EXPECT_EQ(file.series[0].name, "SMK");
        ASSERT_TRUE(file.series[0].weightGrams);
        EXPECT_NEAR(*file.series[0].weightGrams, 10.886, units == Units::Metric ? 0 : 0.004);

        table::StringGrid back = table::makeGrid();
        imports::putSeries(back, file.series[0], imports::VelocityUnit::Unknown, "", "stem");
        ASSERT_EQ(back.rowCount(), grid.rowCount()) << "the statistics are no shots";
        for (std::size_t r = 1; r < grid.rowCount(); ++r) {
            const double v = grid.numbers().velocity(r);
            if (units == Units::Metric || r == 3)
                EXPECT_EQ(back.numbers().velocity(r), v) << r;
            else // 936,7 and 988 ft/s: half a printed digit
                EXPECT_NEAR(back.numbers().velocity(r), v, r == 1 ? 0.016 : 0.16) << r;
        }
    }
}

} // namespace
