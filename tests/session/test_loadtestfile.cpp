#include "session/loadtestfile.h"
#include "support/sessionfiles.h"

#include <gtest/gtest.h>

namespace {

// The example of docs/loadtest-format.md.
session::LoadTest documentedTest()
{
    session::LoadTest test;
    test.title = "308 Win N140 ladder";
    table::StringDetails details;
    details.title = "308 Win 168 SMK";
    test.strings.push_back(session::makeString(tableOf(kDocumentedShots), details, test.variable));
    session::setValue(test.strings[0], "44.5", test.variable);
    test.strings.push_back(
        session::makeString(tableOf({{"1", "861"}}), {}, test.variable, R"({"barrel":"cold"})"));
    session::setValue(test.strings[1], "45", test.variable);
    test.comparisons = {{0, 1}};
    test.kept = R"({"loadBook":{"id":7}})";
    return test;
}

const char kDocumented[] = R"({
  "format": "vexorel-loadtest",
  "version": 1,
  "title": "308 Win N140 ladder",
  "variable": {"kind": "charge", "name": "Charge", "unit": "gr"},
  "strings": [
    {
      "value": "44.5",
      "string": {
        "title": "308 Win 168 SMK",
        "charge": {"value": "44.5", "unit": "gr"}
      },
      "shotFields": ["N","V","E","m","Bullet","dV","time","excluded","flags","note","recorded","recordedUnit"],
      "shots": [
        ["1","855","3965","10,886","SMK 168","0,29","2024-05-11T09:41:02+02:00",false,"cold bore","","2804.0","ft/s"],
        ["2","850","3932","10,886","SMK 168","-0,29","2024-05-11T09:41:40+02:00",true,"flyer","wind gust","2788.6","ft/s"]
      ]
    },
    {
      "value": "45",
      "string": {
        "charge": {"value": "45", "unit": "gr"}
      },
      "shotFields": ["N","V","E","m","Bullet","dV","time","excluded","flags","note","recorded","recordedUnit"],
      "shots": [
        ["1","861","","","","","",false,"","","",""]
      ],
      "barrel": "cold"
    }
  ],
  "comparisons": [[0,1]],
  "loadBook": {
    "id": 7
  }
}
)";

void expectSameTest(const session::LoadTest& a, const session::LoadTest& b)
{
    EXPECT_EQ(a.title, b.title);
    EXPECT_EQ(a.variable, b.variable);
    EXPECT_EQ(a.comparisons, b.comparisons);
    EXPECT_EQ(a.kept, b.kept);
    ASSERT_EQ(a.strings.size(), b.strings.size());
    for (std::size_t i = 0; i < a.strings.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rowsOf(a.strings[i].grid), rowsOf(b.strings[i].grid));
        EXPECT_EQ(a.strings[i].details, b.strings[i].details);
        EXPECT_EQ(a.strings[i].kept, b.strings[i].kept);
        EXPECT_EQ(a.strings[i].value, b.strings[i].value);
    }
}

TEST(LoadTestFile, WritesTheDocumentedLayoutAndReadsItBack)
{
    TempDir dir;
    const session::LoadTest test = documentedTest();
    session::writeLoadTest(test, dir.file("t.vxl"));
    EXPECT_EQ(readBytes(dir.file("t.vxl")), kDocumented);
    expectSameTest(session::readLoadTest(dir.file("t.vxl")), test);
}

TEST(LoadTestFile, RoundTripKeepsEveryDetailOfEveryKindOfVariable)
{
    TempDir dir;
    std::vector<Row> rows = kDocumentedShots;
    rows.push_back(Row(table::kGridColumnCount));
    rows.push_back({"+4", "x", "", "", "", "abc", "", "", "", "", "1.0"});
    for (const session::Variable& variable :
         {session::Variable{session::VariableKind::Charge, "Powder", "g"},
          session::Variable{session::VariableKind::Length, "Jump", "mm"},
          session::Variable{session::VariableKind::Other, "Neck tension", "thou"},
          session::Variable{session::VariableKind::Other, "Primer", ""}}) {
        SCOPED_TRACE(variable.name);
        session::LoadTest test;
        test.title = "Ладдер \"1\"";
        test.variable = variable;
        test.strings.push_back(session::makeString(tableOf(rows), fullDetails(), variable,
                                                   R"({"string":{"wind":[1,2.5,null]},"z":{}})"));
        test.strings.push_back(session::makeString(tableOf({{"1", "850"}}), {}, variable));
        test.strings.push_back(session::makeString(tableOf({{"1", "851"}}), {}, variable));
        session::setValue(test.strings[1], "-0.5", variable);
        test.strings[2].value = "";
        test.comparisons = {{2, 0}, {1, 2}};
        test.kept = R"({"a":[true,{"b":"c"}]})";
        session::writeLoadTest(test, dir.file("t.vxl"));
        const session::LoadTest read = session::readLoadTest(dir.file("t.vxl"));
        expectSameTest(read, test);
        session::writeLoadTest(read, dir.file("again.vxl"));
        EXPECT_EQ(readBytes(dir.file("again.vxl")), readBytes(dir.file("t.vxl")));
    }
    // An empty test too.
    session::writeLoadTest({}, dir.file("empty.vxl"));
    expectSameTest(session::readLoadTest(dir.file("empty.vxl")), {});
}

TEST(LoadTestFile, TakesMissingMembersAsTheirDefaults)
{
    TempDir dir;
    dir.write("t.vxl", "\xEF\xBB\xBF{\"strings\": [{\"shots\": []}], \"version\": 1,\r\n"
                       "\"variable\": {\"kind\": \"length\", \"depth\": [1]},"
                       "\"format\": \"vexorel-loadtest\"}");
    const session::LoadTest test = session::readLoadTest(dir.file("t.vxl"));
    EXPECT_EQ(test.title, "");
    EXPECT_EQ(test.variable, session::defaultVariable(session::VariableKind::Length));
    ASSERT_EQ(test.strings.size(), 1u);
    EXPECT_EQ(test.strings[0].value, "");
    EXPECT_TRUE(test.comparisons.empty());
    EXPECT_EQ(test.kept, "");
}

std::string loadTest(const std::string& strings, const std::string& more = "")
{
    return "{\"format\": \"vexorel-loadtest\", \"version\": 1,\n" + more + "\"strings\": [\n" +
           strings + "\n]}";
}

const std::string kString =
    R"({"value": "44.5", "shots": [["1","850","","","","","",false,"","","",""]]})";

std::string notLoadTest(std::size_t line)
{
    return " is not a Vexorel load test (line " + std::to_string(line) + ")";
}

class RefuseLoadTest : public ::testing::TestWithParam<RefuseCase> {};

TEST_P(RefuseLoadTest, NamesTheLine)
{
    expectRefused(TempDir(), "f.vxl", GetParam(),
                  [](const std::string& path) { session::readLoadTest(path); });
}

INSTANTIATE_TEST_SUITE_P(
    LoadTestFile, RefuseLoadTest,
    ::testing::ValuesIn(std::vector<RefuseCase>{
        {"notJson", "{\n\"format\" \"vexorel-loadtest\"}", notLoadTest(2)},
        {"session", "{\"format\": \"vexorel-session\",\n \"version\": 1, \"shots\": []}",
         notLoadTest(1)},
        {"versionZero", "{\"format\": \"vexorel-loadtest\",\n\"version\": 0}", notLoadTest(2)},
        {"noStrings", "{\"format\": \"vexorel-loadtest\", \"version\": 1}", notLoadTest(1)},
        {"stringsTwice", loadTest(kString, "\"strings\": [],\n"), notLoadTest(3)},
        {"stringAsArray", loadTest("[]"), notLoadTest(3)},
        {"stringWithoutShots", loadTest(kString + ",\n\n{\"value\": \"1\"}"), notLoadTest(5)},
        {"valueWithComma", loadTest(R"({"value": "44,5", "shots": []})"), notLoadTest(3)},
        {"valueAsNumber", loadTest(R"({"value": 44.5, "shots": []})"), notLoadTest(3)},
        {"valueNoNumber", loadTest(R"({"value": "much", "shots": []})"), notLoadTest(3)},
        {"badShot", loadTest(kString + ",\n" + R"({"shots": [["1"]]})"), notLoadTest(4)},
        {"titleAsNumber", loadTest(kString, "\"title\": 7,\n"), notLoadTest(2)},
        {"unknownKind", loadTest(kString, "\"variable\": {\"kind\": \"heat\"},\n"), notLoadTest(2)},
        {"lengthInGrains",
         loadTest(kString, "\"variable\":\n{\"kind\": \"length\", \"unit\": \"gr\"},"),
         notLoadTest(3)},
        {"comparisonOfOne", loadTest(kString, "\"comparisons\": [[0]],"), notLoadTest(2)},
        {"comparisonWithItself",
         loadTest(kString + ",\n" + kString, "\"comparisons\": [[0, 1],\n[1, 1]],"),
         notLoadTest(3)},
        {"comparisonBeyond", loadTest(kString, "\"comparisons\": [\n[0, 99]],"), notLoadTest(3)},
        {"newerVersion", "{\"strings\": 5, \"format\": \"vexorel-loadtest\", \"version\": 2}",
         " is a Vexorel load test of version 2; this program reads version 1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadTestFile, IsNamedByItsExtension)
{
    for (const char* name : {"a.vxl", "/x/LADDER.VXL", ".vxl"})
        EXPECT_TRUE(session::isLoadTestName(name)) << name;
    for (const char* name : {"a.vxs", "a.vxl.bak", "vxl", ""})
        EXPECT_FALSE(session::isLoadTestName(name)) << name;
}

} // namespace
