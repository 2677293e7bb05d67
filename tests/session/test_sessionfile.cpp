#include "runtime/decimalseparator.h"
#include "runtime/errors.h"
#include "session/sessionfile.h"
#include "support/sessionfiles.h"
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
    session::writeSession(tableOf(kDocumentedShots), details,
                          R"({"loadBook":{"id":7},"string":{"weather":"sunny"}})",
                          dir.file("s.vxs"));
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

const std::string kShot = shot(0, R"("1")");

std::string manyShots(std::size_t n)
{
    std::string shots = kShot;
    for (std::size_t i = 1; i < n; ++i)
        shots += ",\n" + kShot;
    return session(shots);
}

// What another writer of the format may do differently from ours.
TEST(SessionFile, TakesWhatOtherWritersMayWrite)
{
    const struct {
        const char* name;
        std::string text;
        std::string title;
        std::size_t rows;
    } cases[] = {
        {"byteOrderMark", "\xEF\xBB\xBF" + session(""), "", 1},
        {"crLfAndTabs",
         "{\r\n\t\"version\" : 1 ,\r\n\t\"shots\" : [ " + kShot + " , " + kShot +
             " ] ,\r\n\t\"string\":{\"title\":\"T\"},\"format\":\"vexorel-session\"}\r\n",
         "T", 2},
        {"anyShotFields", session(kShot, "\"shotFields\":{\"N\":[0]},"), "", 1},
        {"escapedTexts", session("", "\"string\":{\"title\":\"\\u0421\\ud83c\\udfaf\\/\"},"),
         "\u0421\U0001F3AF/", 1},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("s.vxs", c.text);
        Opened opened;
        opened.open(dir.file("s.vxs"));
        EXPECT_EQ(opened.details.title, c.title);
        EXPECT_EQ(opened.grid.rowCount(), c.rows + 1);
        EXPECT_EQ(opened.kept, "");
    }
}

class Refuse : public ::testing::TestWithParam<RefuseCase> {};

TEST_P(Refuse, NamesTheLineAndLeavesTheTable)
{
    TempDir dir;
    Opened opened;
    opened.grid = tableOf(kShots);
    opened.details = fullDetails();
    expectRefused(dir, "f.vxs", GetParam(), [&](const std::string& path) { opened.open(path); });
    EXPECT_EQ(rowsOf(opened.grid, table::kGridColumnCount), kShots);
    EXPECT_EQ(opened.details, fullDetails());
}

INSTANTIATE_TEST_SUITE_P(
    SessionFile, Refuse,
    ::testing::ValuesIn(std::vector<RefuseCase>{
        {"empty", "", notSession(1)},
        {"measurementFile", "1\r\n287\r\n22,5\r\n", notSession(2)},
        {"missingCommaCrLines", "{\"format\": \"vexorel-session\",\r\"version\": 1\r\"shots\": []}",
         notSession(3)},
        {"lineEndInAString", session(shot(4, "\"JSB\nExact\"")), notSession(4)},
        {"notUtf8", session(shot(4, "\"JSB\xff\"")), notSession(4)},
        {"trailingText", session(kShot) + "\n}", notSession(6)},
        {"array", "\n\n[1, 2]", notSession(3)},
        {"otherFormat", "{\"shots\": [],\n\"format\": \"vexorel\", \"version\": 1}", notSession(2)},
        {"noFormat", "{\n\"version\": 1, \"shots\": []}", notSession(1)},
        {"versionAsText", "{\"format\": \"vexorel-session\",\n\"version\": \"1\"}", notSession(2)},
        {"versionZero", "{\"format\": \"vexorel-session\",\n\"version\": 0}", notSession(2)},
        {"versionFraction", "{\"format\": \"vexorel-session\",\n\"version\": 1.5\n}",
         notSession(2)},
        {"noShots", "{\"format\": \"vexorel-session\", \"version\": 1}", notSession(1)},
        {"shotsTwice", session("", "\"shots\": [],\n"), notSession(4)},
        {"shotAsObject", session("{\"N\": \"1\"}"), notSession(4)},
        {"shortShot", session(kShot + ",\n[\"2\",\n\"287\"]"), notSession(5)},
        {"longShot", session(kShot.substr(0, 43) + ",\"x\"]"), notSession(4)},
        {"velocityAsNumber", session(shot(1, "287.5")), notSession(4)},
        {"excludedAsText", session(shot(7, R"("1")")), notSession(4)},
        {"fractionalShotNumber", session(shot(0, R"("1,5")")), notSession(4)},
        {"noteAsArray", session(shot(9, R"(["a"])")), notSession(4)},
        {"recordedInKnots", session(shot(11, R"("kn")")), notSession(4)},
        {"unitWithoutValue", session(shot(11, R"("ft/s")")), notSession(4)},
        {"longText", session(shot(9, "\"" + std::string(64 * 1024 + 1, 'a') + "\"")),
         notSession(4)},
        {"titleAsNumber", session("", "\"string\": {\n\"title\": 7}\n,"), notSession(4)},
        {"chargeAsText", session("", "\"string\": {\"charge\":\n\"24 gr\"},"), notSession(4)},
        {"chargeInKilograms",
         session("", "\"string\": {\"charge\": {\"value\": \"1\",\n\"unit\": \"kg\"}},"),
         notSession(4)},
        {"deepUnknownMember",
         session("", "\"x\":\n" + std::string(65, '[') + std::string(65, ']') + ","),
         notSession(4)},
        {"tooManyShots", manyShots(session::kMaxSessionShots + 1),
         notSession(session::kMaxSessionShots + 4)},
        // The version is told first, wherever it stands and whatever else does not fit.
        {"newerVersion",
         "{\"shots\": [{\"N\": 1}], \"format\": \"vexorel-session\", \"version\": 2}",
         " is a Vexorel session of version 2; this program reads version 1"}}),
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
