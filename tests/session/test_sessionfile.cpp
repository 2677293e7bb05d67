#include "runtime/decimalseparator.h"
#include "runtime/errors.h"
#include "session/sessionfile.h"
#include "support/stringrows.h"
#include "support/tempdir.h"
#include "support/thrown.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <vector>

namespace {

using namespace std::string_literals;
// As the window opens a file: everything is read before the table is reset.
struct Opened {
    table::StringGrid grid = table::makeGrid();
    table::StringDetails details;
    std::string kept;

    void open(const std::string& path)
    {
        session::LoadedSession loaded = session::readSession(path);
        table::clear(grid);
        session::putSession(grid, loaded);
        details = loaded.details;
        kept = loaded.kept;
    }
};

const std::vector<Row> kShots = {
    {"1", "287,5", "22,55", "0,547", "JSB «Кондор»", "0,35", "2024-05-11T09:41:02+02:00",
     "cold bore, clean bore", "первый, \"тихо\" \\ \t", "", "3007.98 ft/s"},
    Row(11),
    {"3", "285,5", "####", "", "", "-0,35", "2024-05-11T09:42:10", "flyer", "", "1", "917.2 m/s"},
    // Recorded texts that do not end in a unit stay whole.
    {"+4", "x", "", "", "", "abc", "", "", "", "", "1.0"},
    {"-5", "", "", "", "", "", "", "", "", "", " ft/s"},
};

table::StringDetails fullDetails()
{
    return {"Load 24.5",       "2024-05-11T09:40:00+02:00",
            "Tikka T3x",       ".308 Win",
            "Vihtavuori N140", {"24.5", "gr"},
            "CCI BR-2",        "Lapua",
            {"2.800", "in"},   {"-3", "\u00B0C"},
            "Стрельбище",      "ветер слева\nпотом стих"};
}

TEST(SessionFile, RoundTripKeepsEveryCellAndDetailAndTheMeasurementFileBytes)
{
    TempDir dir;
    const table::StringGrid grid = tableOf(kShots);
    session::writeSession(grid, fullDetails(), "", dir.file("s.vxs"));
    Opened opened;
    opened.open(dir.file("s.vxs"));
    EXPECT_EQ(rowsOf(opened.grid, table::kGridColumnCount), kShots);
    EXPECT_EQ(opened.details, fullDetails());
    EXPECT_EQ(opened.kept, "");

    table::writeTable(grid, dir.file("table.vxm"));
    table::writeTable(opened.grid, dir.file("session.vxm"));
    EXPECT_EQ(readBytes(dir.file("session.vxm")), readBytes(dir.file("table.vxm")));
    // Saved again, the session is the same file.
    session::writeSession(opened.grid, opened.details, opened.kept, dir.file("again.vxs"));
    EXPECT_EQ(readBytes(dir.file("again.vxs")), readBytes(dir.file("s.vxs")));
}

// The example of docs/session-format.md, byte for byte.
TEST(SessionFile, WritesTheDocumentedLayout)
{
    TempDir dir;
    table::StringDetails details;
    details.title = "308 Win 168 SMK";
    details.dateTime = "2024-05-11T09:40:00+02:00";
    details.charge = {"44.5", "gr"};
    session::writeSession(
        tableOf({{"1", "855", "3965", "10,886", "SMK 168", "0,29", "2024-05-11T09:41:02+02:00",
                  "cold bore", "", "", "2804.0 ft/s"},
                 {"2", "850", "3932", "10,886", "SMK 168", "-0,29", "2024-05-11T09:41:40+02:00",
                  "flyer", "wind gust", "1", "2788.6 ft/s"}}),
        details, R"({"loadBook":{"id":7},"string":{"weather":"sunny"}})", dir.file("s.vxs"));
    EXPECT_EQ(readBytes(dir.file("s.vxs")), R"({
  "format": "vexorel-session",
  "version": 1,
  "string": {
    "title": "308 Win 168 SMK",
    "dateTime": "2024-05-11T09:40:00+02:00",
    "charge": {"value": "44.5", "unit": "gr"},
    "weather": "sunny"
  },
  "shotFields": ["N","V","E","m","Bullet","dV","time","excluded","flags","note","recorded","recordedUnit"],
  "shots": [
    ["1","855","3965","10,886","SMK 168","0,29","2024-05-11T09:41:02+02:00",false,"cold bore","","2804.0","ft/s"],
    ["2","850","3932","10,886","SMK 168","-0,29","2024-05-11T09:41:40+02:00",true,"flyer","wind gust","2788.6","ft/s"]
  ],
  "loadBook": {
    "id": 7
  }
}
)");
}

TEST(SessionFile, SelectionIsNumberedAndDeviatesAsSaveSelectedAs)
{
    rt::setDecimalSeparator(',');
    std::vector<Row> rows;
    for (const char* v : {"300", "310", "290,5", "305", "295"})
        rows.push_back({"9", v, "5,4", "0,12", "A", "9", "t", "flyer", "n", "1", "984.3 ft/s"});
    rows[2][8] = "третий";
    const table::StringGrid grid = tableOf(rows);
    TempDir dir;
    session::writeSessionSelection(grid, 2, 4, fullDetails(), "", dir.file("s.vxs"));
    Opened opened;
    opened.open(dir.file("s.vxs"));
    table::writeSelection(grid, 2, 4, dir.file("selection.vxm"));
    table::writeTable(opened.grid, dir.file("session.vxm"));
    EXPECT_EQ(readBytes(dir.file("session.vxm")), readBytes(dir.file("selection.vxm")));
    ASSERT_EQ(opened.grid.rowCount(), 4u);
    for (std::size_t r = 1; r <= 3; ++r) {
        for (std::size_t c = table::ColTime; c < table::kGridColumnCount; ++c)
            EXPECT_EQ(opened.grid.cell(c, r), rows[r][c]) << "row " << r << " column " << c;
    }
    EXPECT_EQ(opened.details, fullDetails());

    dir.write("bad.vxs", "previous");
    const table::StringGrid bad = tableOf({{"1", "300"}, {"2", "3,5,0"}});
    EXPECT_THROW(session::writeSessionSelection(bad, 1, 2, {}, "", dir.file("bad.vxs")),
                 rt::ConvertError);
    EXPECT_EQ(readBytes(dir.file("bad.vxs")), "previous");
}

TEST(SessionFile, UnknownMembersSurviveASaveAndKnownOnesWin)
{
    TempDir dir;
    // As deep as an unknown member may be.
    const std::string deep = std::string(64, '[') + std::string(64, ']');
    dir.write("s.vxs",
              R"({"future": [1, {"a": null}], "format": "vexorel-session", "deep": )" + deep + R"(,
        "string": {"title": "T", "charge": {"value": "24", "unit": "g", "note": "dropped"},
                   "wind": {"speed": 3}},
        "version": 1, "shots": [], "zero": 0.5})");
    Opened first;
    first.open(dir.file("s.vxs"));
    EXPECT_EQ(first.details.charge, (table::Quantity{"24", "g"}));
    ASSERT_NE(first.kept, "");
    session::writeSession(first.grid, first.details, first.kept, dir.file("again.vxs"));
    Opened second;
    second.open(dir.file("again.vxs"));
    EXPECT_EQ(second.kept, first.kept);
    EXPECT_EQ(second.details, first.details);
    EXPECT_EQ(readBytes(dir.file("again.vxs")).find("dropped"), std::string::npos);

    // A kept text naming known members, or no JSON at all, changes nothing of ours.
    for (const std::string& kept :
         {R"({"format": "other", "version": 9, "shots": 1, "string": {"title": "X"}})"s,
          "not json"s}) {
        session::writeSession(first.grid, first.details, kept, dir.file("k.vxs"));
        Opened third;
        third.open(dir.file("k.vxs"));
        EXPECT_EQ(third.details, first.details);
        EXPECT_EQ(third.kept, "");
    }
}

struct ReadCase {
    const char* name;
    std::string text;
    std::string title;
    std::size_t rows;
};

void PrintTo(const ReadCase& readCase, std::ostream* os)
{
    *os << readCase.name;
}

class Read : public ::testing::TestWithParam<ReadCase> {};

// What another writer of the format may do differently from ours.
TEST_P(Read, TakesWhatOtherWritersMayWrite)
{
    TempDir dir;
    dir.write("s.vxs", GetParam().text);
    Opened opened;
    opened.open(dir.file("s.vxs"));
    EXPECT_EQ(opened.details.title, GetParam().title);
    EXPECT_EQ(opened.grid.rowCount(), GetParam().rows + 1);
    EXPECT_EQ(opened.kept, "");
}

const std::string kShotText = R"(["1","287","","","","","",false,"","","",""])";

INSTANTIATE_TEST_SUITE_P(
    SessionFile, Read,
    ::testing::Values(
        ReadCase{"byteOrderMark",
                 "\xEF\xBB\xBF{\"format\":\"vexorel-session\",\"version\":1,\"shots\":[]}", "", 1},
        ReadCase{"crLfAndTabs",
                 "{\r\n\t\"version\" : 1 ,\r\n\t\"shots\" : [ " + kShotText + " , " + kShotText +
                     " ] ,\r\n\t\"string\":{\"title\":\"T\"},\"format\":\"vexorel-session\"}\r\n",
                 "T", 2},
        ReadCase{
            "anyShotFields",
            "{\"format\":\"vexorel-session\",\"version\":1,\"shotFields\":{\"N\":[0]},\"shots\":[" +
                kShotText + "]}",
            "", 1},
        ReadCase{"escapedTexts",
                 "{\"format\":\"vexorel-session\",\"version\":1,\"string\":{\"title\":"
                 "\"\\u0421\\ud83c\\udfaf\\/\"},\"shots\":[]}",
                 "\u0421\U0001F3AF/", 1}),
    [](const auto& info) { return std::string(info.param.name); });

// Texts the grid cannot keep as they are, on the way in and out.
TEST(SessionFile, CellTextsAreMadeFitForTheGrid)
{
    TempDir dir;
    dir.write("s.vxs", R"({"format":"vexorel-session","version":1,"shots":[
        ["1","2\r\n3","","","a\u0000b","","",false,"","","",""]]})");
    Opened opened;
    opened.open(dir.file("s.vxs"));
    EXPECT_EQ(opened.grid.cell(table::ColV, 1), "2  3");
    EXPECT_EQ(opened.grid.cell(table::ColBullet, 1), "a\uFFFDb");

    session::writeSession(tableOf({{"1", "287", "", "", "JSB\xff"}}), {}, "", dir.file("w.vxs"));
    opened.open(dir.file("w.vxs"));
    EXPECT_EQ(opened.grid.cell(table::ColBullet, 1), "JSB\uFFFD");
}

struct RefuseCase {
    const char* name;
    std::string text;
    // What follows the quoted file name.
    std::string message;
};

std::string notSession(std::size_t line)
{
    return " is not a Vexorel session (line " + std::to_string(line) + ")";
}

// A shot of the right shape with one element replaced.
std::string shot(std::size_t index, std::string_view element)
{
    std::vector<std::string> elements = {R"("1")", R"("287")", R"("")", R"("")", R"("")", R"("")",
                                         R"("")",  "false",    R"("")", R"("")", R"("")", R"("")"};
    elements[index] = element;
    std::string text = "[";
    for (const std::string& e : elements)
        text += (text.size() > 1 ? "," : "") + e;
    return text + "]";
}

std::string session(std::string_view shots, std::string_view more = "")
{
    return "{\"format\": \"vexorel-session\",\n\"version\": 1,\n" + std::string(more) +
           "\"shots\": [\n" + std::string(shots) + "\n]}";
}

std::string manyShots(std::size_t n)
{
    std::string shots = shot(0, R"("1")");
    for (std::size_t i = 1; i < n; ++i)
        shots += ",\n" + shot(0, R"("1")");
    return session(shots);
}

std::string nested(std::size_t depth)
{
    return std::string(depth, '[') + std::string(depth, ']');
}

void PrintTo(const RefuseCase& refuseCase, std::ostream* os)
{
    *os << refuseCase.name;
}

class Refuse : public ::testing::TestWithParam<RefuseCase> {};

TEST_P(Refuse, NamesTheLineAndLeavesTheTable)
{
    TempDir dir;
    dir.write("f.vxs", GetParam().text);
    Opened opened;
    opened.grid = tableOf(kShots);
    opened.details = fullDetails();
    const auto e = thrown<rt::Exception>([&] { opened.open(dir.file("f.vxs")); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->what(), "'" + dir.file("f.vxs") + "'" + GetParam().message);
    EXPECT_EQ(rowsOf(opened.grid, table::kGridColumnCount), kShots);
    EXPECT_EQ(opened.details, fullDetails());
}

INSTANTIATE_TEST_SUITE_P(
    SessionFile, Refuse,
    ::testing::Values(
        RefuseCase{"empty", "", notSession(1)},
        RefuseCase{"measurementFile", "1\r\n287\r\n22,5\r\n", notSession(2)},
        RefuseCase{"missingCommaCrLines",
                   "{\"format\": \"vexorel-session\",\r\"version\": 1\r\"shots\": []}",
                   notSession(3)},
        RefuseCase{"lineEndInAString", session(shot(4, "\"JSB\nExact\"")), notSession(4)},
        RefuseCase{"notUtf8", session(shot(4, "\"JSB\xff\"")), notSession(4)},
        RefuseCase{"trailingText", session(shot(0, R"("1")")) + "\n}", notSession(6)},
        RefuseCase{"array", "\n\n[1, 2]", notSession(3)},
        RefuseCase{"otherFormat", "{\"shots\": [],\n\"format\": \"vexorel\", \"version\": 1}",
                   notSession(2)},
        RefuseCase{"noFormat", "{\n\"version\": 1, \"shots\": []}", notSession(1)},
        RefuseCase{"versionAsText", "{\"format\": \"vexorel-session\",\n\"version\": \"1\"}",
                   notSession(2)},
        RefuseCase{"versionZero", "{\"format\": \"vexorel-session\",\n\"version\": 0}",
                   notSession(2)},
        RefuseCase{"versionFraction", "{\"format\": \"vexorel-session\",\n\"version\": 1.5\n}",
                   notSession(2)},
        RefuseCase{"noShots", "{\"format\": \"vexorel-session\", \"version\": 1}", notSession(1)},
        RefuseCase{"shotsTwice", session("", "\"shots\": [],\n"), notSession(4)},
        RefuseCase{"shotAsObject", session("{\"N\": \"1\"}"), notSession(4)},
        RefuseCase{"shortShot", session(shot(0, R"("1")") + ",\n[\"2\",\n\"287\"]"), notSession(5)},
        RefuseCase{"longShot", session(shot(0, R"("1")").substr(0, 43) + ",\"x\"]"), notSession(4)},
        RefuseCase{"velocityAsNumber", session(shot(1, "287.5")), notSession(4)},
        RefuseCase{"excludedAsText", session(shot(7, R"("1")")), notSession(4)},
        RefuseCase{"fractionalShotNumber", session(shot(0, R"("1,5")")), notSession(4)},
        RefuseCase{"noteAsArray", session(shot(9, R"(["a"])")), notSession(4)},
        RefuseCase{"recordedInKnots", session(shot(11, R"("kn")")), notSession(4)},
        RefuseCase{"unitWithoutValue", session(shot(11, R"("ft/s")")), notSession(4)},
        RefuseCase{"longText", session(shot(9, "\"" + std::string(64 * 1024 + 1, 'a') + "\"")),
                   notSession(4)},
        RefuseCase{"titleAsNumber", session("", "\"string\": {\n\"title\": 7}\n,"), notSession(4)},
        RefuseCase{"chargeAsText", session("", "\"string\": {\"charge\":\n\"24 gr\"},"),
                   notSession(4)},
        RefuseCase{"chargeInKilograms",
                   session("", "\"string\": {\"charge\": {\"value\": \"1\",\n\"unit\": \"kg\"}},"),
                   notSession(4)},
        RefuseCase{"deepUnknownMember", session("", "\"x\":\n" + nested(65) + ","), notSession(4)},
        RefuseCase{"tooManyShots", manyShots(session::kMaxSessionShots + 1),
                   notSession(session::kMaxSessionShots + 4)},
        // The version is told first, wherever it stands and whatever else does not fit.
        RefuseCase{"newerVersion",
                   "{\"shots\": [{\"N\": 1}], \"format\": \"vexorel-session\", \"version\": 2}",
                   " is a Vexorel session of version 2; this program reads version 1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SessionFile, OnlyRegularFilesOfBoundedSizeAreRead)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("fifo"), dir.path()}) {
        const auto e = thrown<rt::NotRegularFile>([&] { session::readSession(path); });
        ASSERT_TRUE(e) << path;
        EXPECT_EQ(e->path(), path);
    }
    const auto missing = thrown<rt::InOutError>([&] { session::readSession(dir.file("no.vxs")); });
    ASSERT_TRUE(missing);
    EXPECT_STREQ(missing->what(), "File not found");

    const std::string big = manyShots(1);
    dir.write("big.vxs", big + std::string(session::kMaxSessionBytes + 1 - big.size(), ' '));
    const auto e =
        thrown<session::NotSessionFile>([&] { session::readSession(dir.file("big.vxs")); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->line(), 1u);

    // A save onto something that is not a regular file is refused as every save is.
    EXPECT_THROW(session::writeSession(tableOf(kShots), {}, "", dir.file("fifo")), rt::InOutError);
}

} // namespace
