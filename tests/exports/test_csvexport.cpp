#include "exportgrid.h"
#include "exports/csvexport.h"
#include "exports/statisticlines.h"
#include "runtime/decimalseparator.h"
#include "support/csvreader.h"

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

// Bullet names that need every kind of quoting; a rifle's energy the cells write as
// "4,41E3"; a row whose energy cannot be computed.
table::StringGrid awkwardTable()
{
    return exportGrid({{"900", "10,886", "Sierra; \"MatchKing\", 168"},
                       {"300", "0,547", "JSB\r\nExact"},
                       {"310", " ,   ", " padded "}});
}

TEST_P(CsvExport, ReadsBackAsTheTableShowsItWithNumbersInFixedNotation)
{
    const table::StringGrid grid = awkwardTable();
    ASSERT_EQ(grid.cell(table::ColE, 1), n("4,41E3"));
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
        {"V max", "290", "m/s"},     {"V min", "280", "m/s"},
        {"V a", n("285,00"), "m/s"}, {"E max", n("23,00"), "J"},
        {"E min", n("21,40"), "J"},  {"E a", n("22,20"), "J"},
        {"Shots", "5", ""},          {"Mean", n("285,0"), "m/s"},
        {"ES", n("10,0"), "m/s"},    {"SD (n\u22121)", n("4,1"), "m/s"},
        {"CV", n("1,45"), "%"},      {"Median", n("285,0"), "m/s"}};
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
