#include "filevariants.h"
#include "imports/importfile.h"
#include "runtime/errors.h"
#include "runtime/textfile.h"
#include "support/tempdir.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace std::string_literals;

// Plain: a refusal of no kind of file; `reason` is all the message says after the path.
enum class Kind { Refused, Unknown, Track, Plain };

struct RefusalCase {
    const char* name;
    std::string text;
    Kind kind;
    std::size_t line;
    // The message after "(line N)"; for Refused that names the format.
    std::string reason = {};
    // Byte-exact files get no line-end variants.
    bool exact = false;
};

std::string expectedMessage(const std::string& path, const RefusalCase& c)
{
    const std::string line = "(line " + std::to_string(c.line) + ")";
    switch (c.kind) {
    case Kind::Unknown:
        return "'" + path + "' is not a chronograph export " + line +
               ". Supported are LabRadar series reports, Garmin Xero (ShotView) CSV and FIT files, "
               "MagnetoSpeed LOG.CSV files and lists of velocities.";
    case Kind::Track:
        return "'" + path + "' is a LabRadar track file " + line +
               ": it holds the radar track of a single shot. Import the series report "
               "(SRnnnn Report.csv) instead.";
    case Kind::Plain:
        return "'" + path + "'" + c.reason;
    case Kind::Refused:
        break;
    }
    return "'" + path + "' is not a valid " + c.reason.substr(0, c.reason.find(':')) + " " + line +
           c.reason.substr(c.reason.find(':'));
}

// Failures name the case, not its bytes.
void PrintTo(const RefusalCase& c, std::ostream* out)
{
    *out << c.name;
}

class Refused : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refused, NamingTheFileAndTheLine)
{
    const RefusalCase& c = GetParam();
    TempDir dir;
    const std::vector<FileVariant> variants =
        c.exact ? std::vector<FileVariant>{{"exact", c.text}} : lineEndVariants(c.text);
    for (const FileVariant& variant : variants) {
        SCOPED_TRACE(variant.name);
        dir.write("in.csv", variant.bytes);
        const std::string path = dir.file("in.csv");
        try {
            imports::readImportFile(path);
            ADD_FAILURE() << "the file was read";
        } catch (const imports::ImportRefused& e) {
            EXPECT_EQ(e.path(), path);
            EXPECT_EQ(e.line(), c.line);
            EXPECT_EQ(e.what(), expectedMessage(path, c));
            EXPECT_EQ(dynamic_cast<const imports::UnknownFormat*>(&e) != nullptr,
                      c.kind == Kind::Unknown);
            EXPECT_EQ(dynamic_cast<const imports::LabRadarTrackFile*>(&e) != nullptr,
                      c.kind == Kind::Track);
        }
    }
}

// ASCII text as UTF-16, with or without its byte-order mark.
std::string utf16(std::string_view text, bool bigEndian, bool mark)
{
    std::string out = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (char c : text)
        out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return out;
}

const std::string kTooLong = " cannot be imported (line %): the line is longer than 65536 bytes";
const std::string kUtf16 = " is UTF-16 text; save it as UTF-8";

std::string tooLongAt(char line)
{
    std::string reason = kTooLong;
    reason[reason.find('%')] = line;
    return reason;
}

const std::string kLabRadarStart = "sep=;\nDevice ID;LBR-0012345;;\nUnits velocity;fps;;\n"
                                   "Units weight;grain;;\n";
const std::string kGarminStart = "\"308 Win\"\n#,SPEED (FPS),AVG,KE,PF,TIME,CB,COLD,NOTES\n";
const std::string kMagnetoStart = "Series,12, Shots:, 2\nMin, 801, Max, 812\nSeries,Shot,Speed\n";

INSTANTIATE_TEST_SUITE_P(
    NotAnExport, Refused,
    ::testing::Values(
        RefusalCase{"emptyFile", "", Kind::Unknown, 1, "", true},
        RefusalCase{"blankLines", "\n \n\t\n", Kind::Unknown, 1},
        RefusalCase{"picture", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s, Kind::Unknown, 1, "", true},
        RefusalCase{"spreadsheetWorkbook", "PK\x03\x04\x14\0\x06\0\x08\0\0\0!\0"s, Kind::Unknown, 1,
                    "", true},
        RefusalCase{"nulsOnly", "\0\0\0\0"s, Kind::Unknown, 1, "", true},
        RefusalCase{"megabyteLine", std::string(1 << 20, '7'), Kind::Plain, 1, tooLongAt('1'),
                    true},
        RefusalCase{"megabyteSecondLine", "V\n" + std::string(1 << 20, '7'), Kind::Plain, 2,
                    tooLongAt('2'), true},
        RefusalCase{"utf16WithMark", utf16("V\r\n305\r\n", false, true), Kind::Plain, 1, kUtf16,
                    true},
        RefusalCase{"utf16BigEndianWithMark", utf16("305\n", true, true), Kind::Plain, 1, kUtf16,
                    true},
        RefusalCase{"utf16WithoutMark", utf16("N;V\r\n1;305\r\n", false, false), Kind::Plain, 1,
                    kUtf16, true},
        RefusalCase{"utf16BigEndianWithoutMark", utf16("305\n310\n", true, false), Kind::Plain, 1,
                    kUtf16, true},
        RefusalCase{"measurementFile",
                    "1\n287\n22,5\n0,547\nJSB Exact\n0,35\n2\n285\n22,2\n0,547\nJSB Exact\n-0,35\n",
                    Kind::Unknown, 5},
        RefusalCase{"measurementFileWithoutBullet", "1\n287\n22,5\n0,547\n\n0,35\n", Kind::Unknown,
                    5},
        RefusalCase{"listWithText", "285\n290\nmissed\n", Kind::Unknown, 3},
        RefusalCase{"csvWithoutVelocityColumn", "N;E;m\n1;22,5;0,547\n", Kind::Unknown, 1},
        // Semicolons where the exporter writes commas: no Garmin header on line 2.
        RefusalCase{"garminWithSemicolons", "T\n#;SPEED (FPS);AVG\n1;2804.0;2.5\n", Kind::Unknown,
                    1},
        RefusalCase{"labRadarTrack",
                    "sep=;\nTime (s);Vel (fps);Dist (yd);SNR\n0.0012;2804.1;1.1;38.2\n"
                    "0.0023;-;2.2;37.9\n",
                    Kind::Track, 2},
        RefusalCase{"labRadarTrackWithoutSeparatorLine",
                    "Time (s);Vel (fps);Dist (yd);SNR\n0.0012;2804.1;1.1;38.2\n", Kind::Track, 1}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    LabRadar, Refused,
    ::testing::Values(
        RefusalCase{"badVelocity",
                    kLabRadarStart +
                        "Shot ID;V0;Proj. Weight\n0001;2804.00;168;\n0002;28x4.00;168;\n",
                    Kind::Refused, 7, "LabRadar series report: '28x4.00' is not a velocity"},
        // The NUL must not cut the message short.
        RefusalCase{"nulInAVelocity",
                    kLabRadarStart + "Shot ID;V0\n0001;28\0"
                                     "04.00;\n"s,
                    Kind::Refused, 6,
                    "LabRadar series report: '28\xEF\xBF\xBD"
                    "04.00' is not a velocity"},
        RefusalCase{"zeroVelocity", kLabRadarStart + "Shot ID;V0\n0001;0.00;\n", Kind::Refused, 6,
                    "LabRadar series report: '0.00' is not a velocity from 33 to 6562 ft/s"},
        RefusalCase{"unknownVelocityUnit", "sep=;\nUnits velocity;km/h;;\n", Kind::Refused, 2,
                    "LabRadar series report: 'km/h' is not a velocity unit"},
        RefusalCase{"unknownWeightUnit", "sep=;\nUnits weight;oz;;\n", Kind::Refused, 2,
                    "LabRadar series report: 'oz' is not a weight unit"},
        RefusalCase{
            "noVelocityUnit", "sep=;\nShot ID;V0\n0001;805;\n", Kind::Refused, 2,
            "LabRadar series report: the line 'Units velocity' is missing before the shots"},
        RefusalCase{"weightWithoutUnit",
                    "sep=;\nUnits velocity;m/s;;\nShot ID;V0;Proj. Weight\n"
                    "0001;805;10.9;\n",
                    Kind::Refused, 4,
                    "LabRadar series report: the line 'Units weight' is missing before the shots"},
        RefusalCase{"noV0Column", kLabRadarStart + "Shot ID;V10.00;Date\n", Kind::Refused, 5,
                    "LabRadar series report: the column 'V0' is missing"},
        RefusalCase{"noColumnHeader", kLabRadarStart, Kind::Refused, 4,
                    "LabRadar series report: the column header 'Shot ID;V0...' is missing"},
        // The separator line says ';', the lines use ',': no column header is ever found.
        RefusalCase{"wrongSeparator", "sep=;\nUnits velocity,fps,,\nShot ID,V0\n0001,2804.00,\n",
                    Kind::Refused, 4,
                    "LabRadar series report: the column header 'Shot ID;V0...' is missing"},
        RefusalCase{"decimalCommaWithCommaSeparator",
                    "sep=,\nUnits velocity,m/s,,\nShot ID,V0,Date\n0001,805,5,05-11-2024,\n",
                    Kind::Refused, 4,
                    "LabRadar series report: the line has more fields than the column header"},
        RefusalCase{"unknownSeparator", "sep=|\nUnits velocity|fps\n", Kind::Unknown, 1}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    GarminXero, Refused,
    ::testing::Values(
        RefusalCase{"unknownSpeedUnit", "T\n#,SPEED (KMH)\n1, 900\n", Kind::Refused, 2,
                    "Garmin Xero CSV file: the speed column 'SPEED (KMH)' names no unit of FPS or "
                    "MPS"},
        RefusalCase{"badSpeed", kGarminStart + "1, 2804.0\n2, abc\n", Kind::Refused, 4,
                    "Garmin Xero CSV file: 'abc' is not a speed"},
        RefusalCase{"badShotNumber", kGarminStart + "one, 2804.0\n", Kind::Refused, 3,
                    "Garmin Xero CSV file: 'one' is not a shot number"},
        RefusalCase{"quoteNotClosed", kGarminStart + "1, \"2804.0\n", Kind::Refused, 3,
                    "Garmin Xero CSV file: a quote does not close"},
        RefusalCase{"unquotedDecimalComma", kGarminStart + "1, 488,3, 2,5, , , 9:41, , , \"\"\n",
                    Kind::Refused, 3,
                    "Garmin Xero CSV file: the line has more fields than the column header"},
        RefusalCase{"nulInAShot",
                    kGarminStart + "1, 28\0"
                                   "04.0\n"s,
                    Kind::Refused, 3, "Garmin Xero CSV file: the line holds a NUL byte"},
        RefusalCase{"badWeight", kGarminStart + "1, 2804.0\n-,,,\nPROJECTILE WEIGHT (GR),heavy\n",
                    Kind::Refused, 5, "Garmin Xero CSV file: 'heavy' is not a projectile weight"},
        RefusalCase{"megabyteShotLine",
                    kGarminStart + "1, 2804.0\n" + std::string(1 << 20, '1') + "\n2, 2790.0\n",
                    Kind::Refused, 4, "Garmin Xero CSV file: the line is longer than 65536 bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    MagnetoSpeed, Refused,
    ::testing::Values(
        RefusalCase{"shotOfAnotherSeries", kMagnetoStart + "12, 1, 801, m/s\n13, 2, 812, m/s\n",
                    Kind::Refused, 5, "MagnetoSpeed log: the line is not a shot of series 12"},
        RefusalCase{"unknownUnit", kMagnetoStart + "12, 1, 801, km/h\n", Kind::Refused, 4,
                    "MagnetoSpeed log: 'km/h' is not a velocity unit"},
        RefusalCase{"unitChanges", kMagnetoStart + "12, 1, 801, m/s\n12, 2, 2650, ft/s\n",
                    Kind::Refused, 5, "MagnetoSpeed log: the unit changes within the series"},
        RefusalCase{"decimalComma", kMagnetoStart + "12, 1, 801,5, m/s\n", Kind::Refused, 4,
                    "MagnetoSpeed log: '5' is not a velocity unit"},
        RefusalCase{"textInTheSummary", "Series,12, Shots:, 2\nMin, 801\nhello\n", Kind::Refused, 3,
                    "MagnetoSpeed log: 'hello' is neither a summary line nor the header "
                    "'Series,Shot,Speed'"},
        RefusalCase{"textBetweenSeries", kMagnetoStart + "12, 1, 801, m/s\n----\nmore\n",
                    Kind::Refused, 6,
                    "MagnetoSpeed log: a series does not start with 'Series,<number>, Shots:, "
                    "<count>'"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    PlainList, Refused,
    ::testing::Values(RefusalCase{"textUnderAHeader", "V\n285\nmissed\n", Kind::Refused, 3,
                                  "list of velocities: 'missed' is not a velocity"},
                      RefusalCase{"negativeVelocity", "285\n-3\n", Kind::Refused, 2,
                                  "list of velocities: '-3' is not a velocity"},
                      RefusalCase{"unknownUnit", "N;V (km/h)\n1;300\n", Kind::Refused, 1,
                                  "list of velocities: 'km/h' is not a velocity unit"},
                      RefusalCase{"decimalCommaInCsv", "N,V\n1,285\n2,285,5\n", Kind::Refused, 3,
                                  "list of velocities: the line has more fields than the header"},
                      RefusalCase{"decimalCommaBeforeAnEmptyNote", "V,Note\n285,5,\n",
                                  Kind::Refused, 2,
                                  "list of velocities: the line has more fields than the header"},
                      RefusalCase{"emptyVelocityCell", "N;V;Note\n1;285;\n2;;missed\n",
                                  Kind::Refused, 3, "list of velocities: '' is not a velocity"},
                      // No chronograph records a shot below 10 or above 2000 m/s.
                      RefusalCase{"tooSlow", "285\n0.04\n", Kind::Refused, 2,
                                  "list of velocities: '0.04' is not a velocity from 10 to 2000 "
                                  "m/s or 33 to 6562 ft/s"},
                      RefusalCase{"tooFast", "V (m/s)\n2001\n", Kind::Refused, 2,
                                  "list of velocities: '2001' is not a velocity from 10 to 2000 "
                                  "m/s"},
                      RefusalCase{"exponent", "V (m/s)\n285\n1e-300\n", Kind::Refused, 3,
                                  "list of velocities: '1e-300' is not a velocity"},
                      RefusalCase{"digitsNoDeviceRecords", "285\n285.59999999999999999999999\n",
                                  Kind::Refused, 2,
                                  "list of velocities: '285.59999999999999999999999' is not a "
                                  "velocity"},
                      // A column reads its separator one way only.
                      RefusalCase{"thousandsThenDecimals", "V (ft/s)\n2,804\n\"488,3\"\n",
                                  Kind::Refused, 3,
                                  "list of velocities: '488,3' has ',' as a decimal separator, "
                                  "other velocities as a thousands one"},
                      RefusalCase{"twoSeparators", "V (ft/s)\n\"2,804.5\"\n", Kind::Refused, 2,
                                  "list of velocities: '2,804.5' is not a velocity"}),
    [](const auto& info) { return std::string(info.param.name); });

const std::string kVexorelHeader = "N;V (m/s);E (J);m (g);Bullet;dV (%);Time;Excluded;Flags;Note\n";

// The program's own CSV with the shots' details: what it never writes is refused.
INSTANTIATE_TEST_SUITE_P(
    VexorelTable, Refused,
    ::testing::Values(
        RefusalCase{"excludedNeitherYesNorEmpty",
                    kVexorelHeader + "1;300;;;JSB;;;yes;;\n2;301;;;JSB;;;maybe;;\n", Kind::Refused,
                    3, "Vexorel table CSV: 'maybe' is not 'yes' or empty under Excluded"},
        RefusalCase{"unknownFlag", kVexorelHeader + "1;300;;;JSB;;;;cold bore, hangfire;\n",
                    Kind::Refused, 2,
                    "Vexorel table CSV: 'cold bore, hangfire' is not a list of shot flags"},
        // A quoted note may run over lines; one that never closes is refused where it opens.
        RefusalCase{"noteQuoteNotClosed",
                    kVexorelHeader + "1;300;;;JSB;;;;;\"open\n2;301;;;JSB;;;;;\n\nShots;2;\n",
                    Kind::Refused, 2, "Vexorel table CSV: a quote does not close"}),
    [](const auto& info) { return std::string(info.param.name); });

// The table holds no more rows than this; a file of millions of short lines is refused at the
// first shot too many instead of filling the memory.
TEST(ImportRefusal, MoreShotsThanTheTableHolds)
{
    std::string list = "V\n";
    for (std::size_t i = 0; i <= imports::kMaxImportShots; ++i)
        list += "300\n";
    TempDir dir;
    dir.write("many.csv", list);
    const auto e =
        thrown<imports::ImportRefused>([&] { imports::readImportFile(dir.file("many.csv")); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->line(), imports::kMaxImportShots + 2);
    EXPECT_NE(std::string(e->what()).find("more than 65535 shots"), std::string::npos);

    list.erase(list.size() - 4);
    dir.write("many.csv", list);
    EXPECT_EQ(imports::readImportFile(dir.file("many.csv")).series[0].shots.size(),
              imports::kMaxImportShots);
}

// Opening a FIFO would wait for a writer; a folder never ends.
TEST(ImportRefusal, OnlyRegularFilesAreRead)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    EXPECT_THROW(imports::readImportFile(dir.file("fifo")), rt::NotRegularFile);
    EXPECT_THROW(imports::readImportFile(dir.path()), rt::NotRegularFile);
    const auto missing =
        thrown<rt::InOutError>([&] { imports::readImportFile(dir.file("missing.csv")); });
    ASSERT_TRUE(missing);
    EXPECT_STREQ(missing->what(), "File not found");
}

} // namespace
