#include "filevariants.h"
#include "imports/importfile.h"
#include "runtime/decimalseparator.h"
#include "support/tempdir.h"
#include "table/measurementtable.h"
#include "table/velocitytext.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace {

using namespace std::string_literals;
using imports::Format;
using imports::VelocityUnit;
// N, V, m, Bullet of one table row.
using Row = std::array<std::string, 4>;

struct Series {
    VelocityUnit unit;
    std::string bullet;
    std::string m;
    // As the file writes them, without trailing zeros: what the table must give back.
    std::vector<std::string> v;
};

struct FormatCase {
    const char* name;
    std::string text;
    Format format;
    std::vector<Series> series;
};

// The rows with each velocity in the file's own unit, as recorded.
std::vector<Row> rowsOf(const table::StringGrid& grid, VelocityUnit unit)
{
    std::vector<Row> rows;
    if (table::isEmpty(grid))
        return rows;
    for (std::size_t r = 1; r < grid.rowCount(); ++r) {
        const std::string stored(grid.cell(table::ColV, r));
        rows.push_back({std::string(grid.cell(table::ColN, r)),
                        unit == VelocityUnit::FeetPerSecond
                            ? table::recordedFeetPerSecond(stored).value_or("not exact " + stored)
                            : stored,
                        std::string(grid.cell(table::ColM, r)),
                        std::string(grid.cell(table::ColBullet, r))});
    }
    return rows;
}

std::vector<Row> expectedRows(const Series& s)
{
    std::vector<Row> rows;
    for (std::size_t i = 0; i < s.v.size(); ++i)
        rows.push_back({std::to_string(i + 1), s.v[i], s.m, s.bullet});
    return rows;
}

// Failures name the case, not its bytes.
void PrintTo(const FormatCase& c, std::ostream* out)
{
    *out << c.name;
}

class Accepted : public ::testing::TestWithParam<FormatCase> {};

// Unknown units are taken as m/s, a series without weight gets "0,547", one without a name
// the file stem "stem".
TEST_P(Accepted, InEveryLineEndAndByteOrderMark)
{
    rt::setDecimalSeparator(',');
    TempDir dir;
    for (const FileVariant& variant : allVariants(GetParam().text)) {
        SCOPED_TRACE(variant.name);
        dir.write("import.csv", variant.bytes);
        const imports::ImportedFile file = imports::readImportFile(dir.file("import.csv"));
        EXPECT_EQ(file.format, GetParam().format);
        ASSERT_EQ(file.series.size(), GetParam().series.size());
        for (std::size_t i = 0; i < file.series.size(); ++i) {
            const Series& expected = GetParam().series[i];
            EXPECT_EQ(file.series[i].unit, expected.unit);
            table::StringGrid grid = table::makeGrid();
            imports::putSeries(grid, file.series[i], VelocityUnit::MetresPerSecond, "0,547",
                               "stem");
            EXPECT_EQ(rowsOf(grid, expected.unit), expectedRows(expected));
        }
    }
}

const std::string kLabRadarHeader = "Device ID;LBR-0012345;;\n"
                                    "\n"
                                    "Series No;0007;;\n"
                                    "Total number of shots;0003;;\n"
                                    "\n";
const std::string kLabRadarStats = "\n"
                                   "Stats - Average;2801.50;fps;\n"
                                   "Stats - Highest;2820.10;fps;\n"
                                   "Stats - Lowest;2780.40;fps;\n"
                                   "Stats - Ext. Spread;39.70;fps;\n"
                                   "Stats - Std. Dev;19.97;fps;\n"
                                   "\n";
const std::string kLabRadarColumns = "Shot ID;V0;V10.00;V20.00;Ke0;Ke10.00;Ke20.00;PF10.00;"
                                     "Proj. Weight;Date;Time\n";

const std::string kMark = "\xEF\xBB\xBF";
// As many marks as a line may hold, but for the one the variants put at the start of line 2.
const std::string kByteOrderMarkLine = [] {
    std::string line;
    while (line.size() + 2 * kMark.size() <= 64 * 1024)
        line += kMark;
    return line;
}();

const std::string kGarminSummary = "-,,,,,,\n"
                                   "AVERAGE SPEED,2801.5,,,,,,,\n"
                                   "STD DEV,16.3,,,,,,,\n"
                                   "SPREAD,39.7,,,,,,,\n"
                                   "SESSION NOTE,\"\",,,,,,,\n"
                                   "-,,,,,,\n"
                                   "DATE, \"May 11, 2024 at 9:40 AM\",,,,,\n"
                                   "All shots included in the calculations,,,,,,,\n";

INSTANTIATE_TEST_SUITE_P(
    LabRadar, Accepted,
    ::testing::Values(
        FormatCase{"appExport",
                   "sep=;\n" + kLabRadarHeader +
                       "Units velocity;fps;;\nUnits distances;m;;\nUnits kinetic energy;ft-lbs;;\n"
                       "Units weight;grain;;\n" +
                       kLabRadarStats + kLabRadarColumns +
                       "0001;2804.00;2760.11;2716.90;2926.55;2835.70;2747.12;469.80;168.00;"
                       "2024-05-11;09:41:02;\n"
                       "0002;2780.40;2737.02;2694.10;2877.32;2788.11;2701.07;465.90;168.00;"
                       "2024-05-11;09:41:40;\n"
                       "0003;2820.10;2776.52;2733.01;2960.06;2868.05;2779.41;472.50;168.00;"
                       "2024-05-11;09:42:15;\n",
                   Format::LabRadar,
                   {{VelocityUnit::FeetPerSecond, "stem", "10,886", {"2804", "2780,4", "2820,1"}}}},
        // Columns found by name wherever they stand, with more distances than usual.
        FormatCase{"commaSeparatorOtherColumns",
                   "sep=,\nDevice ID,LBR-0012345,,\n\nUnits velocity,m/s,,\n"
                   "Units kinetic energy,j,,\nUnits weight,gram,,\n\n"
                   "Date,Time,Shot ID,Proj. Weight,V0,V25.00,V50.00,V75.00,V100.00,Ke0\n"
                   "2024-05-11,09:41:02,0001,10.89,805.00,790.1,775.3,760.8,746.5,3528.4,\n"
                   "2024-05-11,09:41:40,0002,10.89,812.30,797.2,782.2,767.5,753.1,3592.7,\n"
                   "2024-05-11,09:42:15,0003,10.89,798.96,784.2,769.5,755.0,740.7,3475.9,\n",
                   Format::LabRadar,
                   {{VelocityUnit::MetresPerSecond, "stem", "10,890", {"805", "812,3", "798,96"}}}},
        // NULs and spaces after the header fields and before a line, whole velocities,
        // month-day-year dates.
        FormatCase{"sdCard",
                   "sep=;\0\0  \n"s
                   "Device ID;LBR-0012345;;\0\0\0   \0  \n"s
                   "\0Series No;0003;;      \n"s
                   "Units velocity;m/s;;\0\0\n"s
                   "Units weight;grain;;\n"
                   "Shot ID;V0;V10;Ke0;Ke10;Proj. Weight;Date;Time\n"
                   "0001;805;790;3527;3397;168;05-11-2024;09:41:02;\n"
                   "0002;790;776;3397;3278;168;05-11-2024;09:41:40;\n"
                   "0003;812;797;3589;3457;168;05-11-2024;09:42:15;\n",
                   Format::LabRadar,
                   {{VelocityUnit::MetresPerSecond, "stem", "10,886", {"805", "790", "812"}}}},
        FormatCase{"deletedSeries",
                   "sep=;\n" + kLabRadarHeader + "Units velocity;fps;;\nUnits weight;grain;;\n" +
                       kLabRadarColumns,
                   Format::LabRadar,
                   {{VelocityUnit::FeetPerSecond, "stem", "0,547", {}}}},
        // A weight of 0 is none set; the user's weight stands.
        FormatCase{"noWeightSet",
                   "sep=;\nUnits velocity;m/s;;\nUnits weight;gram;;\n"
                   "Shot ID;V0;Proj. Weight\n0001;285.50;0.00;\n0002;290.10;0.00;\n",
                   Format::LabRadar,
                   {{VelocityUnit::MetresPerSecond, "stem", "0,547", {"285,5", "290,1"}}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    GarminXero, Accepted,
    ::testing::Values(
        FormatCase{"iosExport",
                   "\"308 Win 168 SMK\"\n"
                   "#,SPEED (FPS),\xCE\x94 AVG (FPS),KE (FT-LB),POWER FACTOR (KGR\xE2\x8B\x85"
                   "FT/S),TIME,CLEAN BORE,COLD BORE,SHOT NOTES\n"
                   "1, 2804.0, 2.5, 2932.6, 471.1, 9:41:02\xE2\x80\xAF"
                   "AM, , , \"\" \n"
                   "2, 2780.4, -21.1, 2883.4, 467.1, 9:41:40\xE2\x80\xAF"
                   "AM, , , \"\" \n"
                   "3, 2820.1, 18.6, 2966.2, 473.8, 9:42:15\xE2\x80\xAF"
                   "AM, , , \"\" \n" +
                       kGarminSummary,
                   Format::GarminXero,
                   {{VelocityUnit::FeetPerSecond,
                     "308 Win 168 SMK",
                     "0,547",
                     {"2804", "2780,4", "2820,1"}}}},
        FormatCase{"titleWithCommas",
                   "Marlin,.357, 15,3grs W296, 158,0 gr\n"
                   "#,SPEED (MPS),\xCE\x94 AVG (MPS),KE (J),POWER FACTOR (N\xE2\x8B\x85s),TIME,"
                   "CLEAN BORE,COLD BORE,SHOT NOTES\n"
                   "1, 488.3, 6.9, 771.2, 5.0, 14:02:11, , , \"first, cold\"\n"
                   "2, 476.0, -5.4, 732.8, 4.9, 14:02:40, , , \"\"\n"
                   "3, 481.9, 0.5, 751.1, 4.9, 14:03:05, , , \"\"\n"
                   "-,,,,,,\nAVERAGE SPEED,481.4,,,,,,,\n"
                   "PROJECTILE WEIGHT (GRAINS),158.0,,,,,,,\n",
                   Format::GarminXero,
                   {{VelocityUnit::MetresPerSecond,
                     "Marlin,.357, 15,3grs W296, 158,0 gr",
                     "10,238",
                     {"488,3", "476", "481,9"}}}},
        // Android in a comma locale: quoted numbers, both separators, German labels, empty KE.
        FormatCase{
            "androidGerman",
            "\"9mm Luger\"\n"
            "#,Tempo (MPS),\xCE\x94 DURCHSCHNITT (MPS),KE (J),Leistungsfaktor (N\xE2\x8B\x85"
            "s),Zeit,\xC3\x96lschuss,Erstschuss,Schussnotizen\n"
            "\"1\",\"358,4\",\"1,1\",\"\",\"\",\"09:41:02\",\"\",\"\",\"\"\n"
            "\"2\",\"352,0\",\"-5,3\",\"\",\"\",\"09:41:40\",\"\",\"\",\"\"\n"
            "\"3\",\"361.7\",\"4,4\",\"\",\"\",\"09:42:15\",\"\",\"\",\"\"\n"
            "-,,,,,,\nDURCHSCHNITTSGESCHWINDIGKEIT,\"357,4\",,,,,,,\n"
            "Gewicht des Projektils (GRAN),\"124,0\"\n",
            Format::GarminXero,
            {{VelocityUnit::MetresPerSecond, "9mm Luger", "8,035", {"358,4", "352", "361,7"}}}},
        FormatCase{"emptyStringLowerCaseUnit",
                   "Test\n#,speed (fps),delta (fps),ke,pf,time,clean,cold,notes\n" + kGarminSummary,
                   Format::GarminXero,
                   {{VelocityUnit::FeetPerSecond, "Test", "0,547", {}}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    MagnetoSpeed, Accepted,
    ::testing::Values(FormatCase{
        "seriesInBothUnitsAndEmpty",
        "Series,12, Shots:, 3\n"
        "Min, 801, Max, 812  \n"
        "Avg, 806 ,S-D, 5.6  \n"
        "ES ,  11\n"
        "\n"
        "Series,Shot,Speed   \n"
        "12, 1,  801, m/s    \n"
        "12, 2,  812, m/s    \n"
        "12, 3,  805, m/s    \n"
        "----,----,----,---- \n"
        "Series,13, Shots:, 2\n"
        "Min, 2641, Max, 2650  \n"
        "Avg, 2645 ,S-D, 6.4  \n"
        "ES ,  9\n"
        "\n"
        "Series,Shot,Speed   \n"
        "13, 1,  2650, ft/s    \n"
        "13, 2,  2641, ft/s    \n"
        "----,----,----,---- \n"
        "Series,14, Shots:, 0\n"
        "\n"
        "Series,Shot,Speed   \n"
        "----,----,----,---- \n",
        Format::MagnetoSpeed,
        {{VelocityUnit::MetresPerSecond, "Series 12", "0,547", {"801", "812", "805"}},
         {VelocityUnit::FeetPerSecond, "Series 13", "0,547", {"2650", "2641"}},
         {VelocityUnit::Unknown, "Series 14", "0,547", {}}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    PlainList, Accepted,
    ::testing::Values(
        FormatCase{"onePerLine",
                   "285.5\n290\n 287,25 \n\n",
                   Format::PlainList,
                   {{VelocityUnit::Unknown, "stem", "0,547", {"285,5", "290", "287,25"}}}},
        FormatCase{"csvInFeetPerSecond",
                   "N,V (ft/s),E\n1,2804.0,2932\n2,2780.4,\n",
                   Format::PlainList,
                   {{VelocityUnit::FeetPerSecond, "stem", "0,547", {"2804", "2780,4"}}}},
        FormatCase{"tabsAndDecimalCommas",
                   "Shot\tVelocity (m/s)\tNote\n1\t285,5\tcold bore\n2\t290,0\t\n",
                   Format::PlainList,
                   {{VelocityUnit::MetresPerSecond, "stem", "0,547", {"285,5", "290"}}}},
        FormatCase{"semicolonsWithoutUnit",
                   "Nr;Speed;Bemerkung\n1;285,5;\n2;288;\n;;\n",
                   Format::PlainList,
                   {{VelocityUnit::Unknown, "stem", "0,547", {"285,5", "288"}}}},
        FormatCase{"quotedDecimalCommasInCsv",
                   "\"N\",\"V0 (fps)\"\n\"1\",\"2804,5\"\n\"2\",\"2799\"\n",
                   Format::PlainList,
                   {{VelocityUnit::FeetPerSecond, "stem", "0,547", {"2804,5", "2799"}}}},
        FormatCase{"oneColumnWithHeader",
                   "Velocity (MPS)\n285,5\n300\n",
                   Format::PlainList,
                   {{VelocityUnit::MetresPerSecond, "stem", "0,547", {"285,5", "300"}}}},
        // Thousands separators where the decimal reading is no velocity: 2.804 ft/s is 0.85 m/s.
        FormatCase{"thousandsSeparators",
                   "V (ft/s)\n\"2,804\"\n\"2,780\"\n2795\n",
                   Format::PlainList,
                   {{VelocityUnit::FeetPerSecond, "stem", "0,547", {"2804", "2780", "2795"}}}},
        FormatCase{"threeDecimalsAreDecimals",
                   "V (m/s)\n850.123\n849.5\n",
                   Format::PlainList,
                   {{VelocityUnit::MetresPerSecond, "stem", "0,547", {"850,123", "849,5"}}}},
        FormatCase{"headerOnly",
                   "V (m/s)\n",
                   Format::PlainList,
                   {{VelocityUnit::MetresPerSecond, "stem", "0,547", {}}}},
        // Marks anywhere go, however many: a line of nothing else is a blank line. Dropping
        // them one by one made such a line cost time by the square of its length.
        FormatCase{"byteOrderMarksEverywhere",
                   "V (m/s)\n" + kByteOrderMarkLine + "\n28" + kMark + "5," + kMark + kMark +
                       "5\n" + kMark + "290" + kMark + "\n",
                   Format::PlainList,
                   {{VelocityUnit::MetresPerSecond, "stem", "0,547", {"285,5", "290"}}}}),
    [](const auto& info) { return std::string(info.param.name); });

// The name says nothing: a LabRadar report called LOG.CSV is still one.
TEST(ImportFormat, IsRecognisedByContentNotName)
{
    TempDir dir;
    dir.write("LOG.CSV", "sep=;\nUnits velocity;m/s;;\nShot ID;V0\n0001;805;\n");
    dir.write("SR0007 Report.csv", "Series,1, Shots:, 1\nSeries,Shot,Speed\n1, 1, 801, m/s\n");
    dir.write("velocities.txt", "T\n#,SPEED (FPS)\n1, 2804.0\n");
    EXPECT_EQ(imports::readImportFile(dir.file("LOG.CSV")).format, Format::LabRadar);
    EXPECT_EQ(imports::readImportFile(dir.file("SR0007 Report.csv")).format, Format::MagnetoSpeed);
    EXPECT_EQ(imports::readImportFile(dir.file("velocities.txt")).format, Format::GarminXero);
}

// The program's CSV as a spreadsheet saves it again: the detail columns in its own order,
// words in other letter cases, the notes' lines in the file's line ends; the figures below the
// string's lines are left unread.
TEST(ImportFormat, VexorelTableDetailsAsASpreadsheetSavesThem)
{
    const std::string text = "N;V (m/s);E (J);m (g);Bullet;dV (%);Note;Flags;Excluded\n"
                             "1;300;;;JSB;;;Flyer, Cold Bore;YES\n"
                             "2;301;;;JSB;;'=A1;;\n"
                             "\n"
                             "Notes;\"Wind\n\nMirage; \"\"heavy\"\"\"\n"
                             "Charge;24,5 g\n"
                             "Temperature;'-3\n"
                             "Shots;2;\n"
                             "Rifle;not a detail below the figures\n";
    TempDir dir;
    for (const FileVariant& variant : allVariants(text)) {
        SCOPED_TRACE(variant.name);
        dir.write("table.csv", variant.bytes);
        const imports::ImportedFile file = imports::readImportFile(dir.file("table.csv"));
        EXPECT_EQ(file.format, Format::VexorelTable);
        ASSERT_EQ(file.series.size(), 1u);
        const imports::ImportedSeries& series = file.series[0];
        ASSERT_EQ(series.shots.size(), 2u);
        const auto shot = [&](std::size_t i) {
            const imports::ImportedShot& s = series.shots[i];
            return std::tuple(s.velocity, s.flags, s.excluded, s.note);
        };
        EXPECT_EQ(shot(0), std::tuple("300", "cold bore, flyer", true, ""));
        EXPECT_EQ(shot(1), std::tuple("301", "", false, "=A1")) << "the export's guard goes";
        table::StringDetails details;
        details.notes = "Wind\n\nMirage; \"heavy\"";
        details.charge = {"24,5", "g"};
        details.temperature = {"-3", ""};
        EXPECT_EQ(series.details, details);

        table::StringGrid grid = table::makeGrid();
        imports::putSeries(grid, series, VelocityUnit::MetresPerSecond, "", "stem");
        EXPECT_EQ(grid.cell(table::ColExcluded, 1), table::kExcludedMark);
        EXPECT_TRUE(grid.numbers().excluded(1));
        EXPECT_EQ(grid.cell(table::ColExcluded, 2), "");
    }
}

// A mid-series change of bullet leaves no one weight to trust.
TEST(ImportFormat, LabRadarRowsThatDisagreeOnTheWeightGiveNone)
{
    TempDir dir;
    dir.write("r.csv", "sep=;\nUnits velocity;m/s;;\nUnits weight;gram;;\n"
                       "Shot ID;V0;Proj. Weight\n0001;805;10.89;\n0002;806;11.00;\n");
    const imports::ImportedFile file = imports::readImportFile(dir.file("r.csv"));
    ASSERT_EQ(file.series.size(), 1u);
    ASSERT_EQ(file.series[0].shots.size(), 2u);
    EXPECT_EQ(file.series[0].shots[1].velocity, "806");
    EXPECT_FALSE(file.series[0].weightGrams);
}

} // namespace
