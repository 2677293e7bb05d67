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

    CsvFile written(const table::StringGrid& grid, Units units,
                    const table::StringDetails& details = {})
    {
        const table::Statistics labels = table::statisticsPass(grid);
        const std::string text =
            exports::tableCsv(grid, units, exports::statisticLines(grid, &labels, units), details);
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

// A string with every detail: a caption's separator and quotes, a value a spreadsheet would
// run as a formula, notes over two lines.
table::StringDetails everyStringDetail()
{
    table::StringDetails d;
    d.title = "Ladder 3; \"hot\", 41.5";
    d.dateTime = "2024-05-11T09:40:00+02:00";
    d.rifle = "Tikka T3x";
    d.cartridge = "6.5 Creedmoor";
    d.powder = "H4350";
    d.charge = {"41.5", "gr"};
    d.primer = "CCI BR-2";
    d.caseName = "Lapua";
    d.length = {"2.800", "in"};
    d.temperature = {"-3", "\u00B0C"};
    d.place = "Range 2";
    d.notes = "Wind 5 mph from 9\nMirage heavy";
    return d;
}

// A time on every shot, flags, notes, and the last shot excluded.
void addShotDetails(table::StringGrid& grid)
{
    using namespace table;
    const char* const details[][4] = {
        {"2024-05-11T09:41:02+02:00", "cold bore, clean bore", "", ""},
        {"2024-05-11T09:42:10+02:00", "", "gust; \"left\"", ""},
        {"2024-05-11T09:43:30+02:00", "flyer", "-40 fps, called it", kExcludedMark}};
    for (std::size_t r = 1; r < grid.rowCount() && r <= std::size(details); ++r) {
        grid.setCell(ColTime, r, details[r - 1][0]);
        grid.setCell(ColFlags, r, details[r - 1][1]);
        grid.setCell(ColNote, r, details[r - 1][2]);
        grid.setCell(ColExcluded, r, details[r - 1][3]);
    }
}

TEST_P(CsvExport, ShotDetailsFollowTheSixAndTheStringComesAboveTheFigures)
{
    table::StringGrid grid =
        exportGrid({{"850", "10,886", "SMK"}, {"861", "10,886", "SMK"}, {"902", "10,886", "SMK"}});
    addShotDetails(grid);
    const CsvFile csv = written(grid, Units::Metric, everyStringDetail());
    ASSERT_EQ(csv.records.size(), 1u + 3 + 1 + 12 + 14);
    EXPECT_EQ(csv.records[0], (Record{"N", "V (m/s)", "E (J)", "m (g)", "Bullet", "dV (%)", "Time",
                                      "Excluded", "Flags", "Note"}));
    const std::vector<Record> details = {
        {"2024-05-11T09:41:02+02:00", "", "cold bore, clean bore", ""},
        {"2024-05-11T09:42:10+02:00", "", "", "gust; \"left\""},
        // A leading minus would be a formula to a spreadsheet.
        {"2024-05-11T09:43:30+02:00", "yes", "flyer", "'-40 fps, called it"}};
    for (std::size_t r = 1; r <= 3; ++r) {
        ASSERT_EQ(csv.records[r].size(), 10u) << r;
        EXPECT_EQ(Record(csv.records[r].begin(), csv.records[r].begin() + 2),
                  (Record{std::to_string(r), std::string(grid.cell(table::ColV, r))}));
        EXPECT_EQ(Record(csv.records[r].begin() + 6, csv.records[r].end()), details[r - 1]) << r;
    }
    EXPECT_EQ(csv.records[4], Record{""});
    const std::vector<Record> string(csv.records.begin() + 5, csv.records.begin() + 17);
    const std::vector<Record> expected = {{"Title", "Ladder 3; \"hot\", 41.5"},
                                          {"Date", "2024-05-11T09:40:00+02:00"},
                                          {"Rifle", "Tikka T3x"},
                                          {"Cartridge", "6.5 Creedmoor"},
                                          {"Powder", "H4350"},
                                          {"Charge", "41.5 gr"},
                                          {"Primer", "CCI BR-2"},
                                          {"Case", "Lapua"},
                                          {"Length", "2.800 in"},
                                          {"Temperature", "'-3 \u00B0C"},
                                          {"Place", "Range 2"},
                                          {"Notes", "Wind 5 mph from 9\nMirage heavy"}};
    EXPECT_EQ(string, expected);
    EXPECT_EQ(csv.records[17][0], "V max");
    // The figures leave the excluded shot out and say so; the labels stay over all rows.
    const auto line = [&](std::string_view caption) {
        const auto it = std::find_if(csv.records.begin(), csv.records.end(),
                                     [&](const Record& r) { return r[0] == caption; });
        return it == csv.records.end() ? Record{} : *it;
    };
    EXPECT_EQ(line("Shots"), (Record{"Shots", "2", ""}));
    EXPECT_EQ(line("Mean"), (Record{"Mean", n("855,5"), "m/s"}));
    EXPECT_EQ(line("Excluded shots"), (Record{"Excluded shots", "1", ""}));
    EXPECT_EQ(line("V max"), (Record{"V max", "902", "m/s"}));
}

// The columns come with any one detail of any shot, and only then: a table without details is
// written as before.
TEST(CsvShotDetails, ColumnsOnlyWhereAShotHasADetail)
{
    const std::pair<std::size_t, const char*> cases[] = {
        {table::ColTime, "09:41:02"}, {table::ColFlags, "fouler"},        {table::ColNote, "x"},
        {table::ColExcluded, "1"},    {table::ColRecorded, "984.3 ft/s"}, {table::ColNote, ""}};
    for (const auto& [column, text] : cases) {
        table::StringGrid grid = exportGrid({{"300", "0,547", "A"}, {"301", "0,547", "A"}});
        grid.setCell(column, 2, text);
        const bool detail = column != table::ColRecorded && *text;
        const CsvFile csv = readCsv(exports::tableCsv(grid, Units::Metric, {}),
                                    exports::csvSeparator(rt::decimalSeparator()));
        ASSERT_EQ(csv.records.size(), 4u);
        for (std::size_t r = 0; r < 3; ++r)
            EXPECT_EQ(csv.records[r].size(), detail ? 10u : 6u) << column << " " << text;
    }
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
// the unit each was recorded in, else to the one decimal it was printed with; with every
// detail of the shots and the string.
TEST_P(CsvExport, ImportsBackToItsShots)
{
    // 916,832304 m/s was recorded as 3007,98 ft/s.
    table::StringGrid grid = exportGrid(
        {{"285,5", "10,886", "SMK"}, {"301", "10,886", "SMK"}, {"916,832304", "10,886", "SMK"}});
    table::StringDetails details;
    for (const auto& [units, withDetails] :
         {std::pair{Units::Metric, false}, std::pair{Units::Imperial, false},
          std::pair{Units::Metric, true}, std::pair{Units::Imperial, true}}) {
        SCOPED_TRACE(withDetails ? "with details" : "without details");
        if (withDetails) {
            addShotDetails(grid);
            details = everyStringDetail();
        }
        const table::Statistics labels = table::statisticsPass(grid);
        TempDir dir;
        dir.write(
            "table.csv",
            exports::tableCsv(grid, units, exports::statisticLines(grid, &labels, units), details));
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
            for (const std::size_t c :
                 {table::ColTime, table::ColFlags, table::ColNote, table::ColExcluded})
                EXPECT_EQ(back.cell(c, r), grid.cell(c, r)) << "row " << r << " column " << c;
        }
        EXPECT_EQ(file.series[0].details, details);
    }
}

} // namespace
