#include "session/loadtestfile.h"

#include "session/jsonwriting.h"
#include "session/loadtestfields.h"
#include "session/sessionfields.h"

#include <algorithm>

namespace session {

namespace {

namespace names = loadtestfields;
using json::dumped;
using json::Json;

// A string of the test, as a session file's string with its value first.
void writeString(rt::AtomicFile& file, const LoadTestString& string)
{
    json::ObjectWriter object(file, 3);
    object.member(names::kValue);
    file.write(dumped(Json(string.value)));
    const std::string_view reserved[] = {names::kValue};
    json::writeStringMembers(object,
                             {string.grid, 1, std::max<std::size_t>(string.grid.rowCount(), 1) - 1},
                             string.details, json::keptMembers(string.kept), reserved);
    object.end();
}

std::string variableText(const Variable& variable)
{
    return "{" + dumped(Json(names::kKind)) + ": " + dumped(Json(names::kindName(variable.kind))) +
           ", " + dumped(Json(names::kName)) + ": " + dumped(Json(variable.name)) + ", " +
           dumped(Json(names::kUnit)) + ": " + dumped(Json(variable.unit)) + "}";
}

std::string comparisonsText(const std::vector<Comparison>& comparisons)
{
    Json pairs = Json::array();
    for (const Comparison& c : comparisons)
        pairs.push_back(Json::array({c.first, c.second}));
    return dumped(pairs);
}

} // namespace

void writeLoadTest(const LoadTest& test, const std::string& path)
{
    rt::AtomicFile file(path);
    json::ObjectWriter document(file, 1);
    document.member(fields::kFormat);
    file.write(dumped(Json(names::kFormatName)));
    document.member(fields::kVersion);
    file.write(std::to_string(kLoadTestVersion));
    document.member(names::kTitle);
    file.write(dumped(Json(test.title)));
    document.member(names::kVariable);
    file.write(variableText(test.variable));
    document.member(names::kStrings);
    file.write("[");
    for (std::size_t i = 0; i < test.strings.size(); ++i) {
        file.write(i == 0 ? "\n    " : ",\n    ");
        writeString(file, test.strings[i]);
    }
    file.write(test.strings.empty() ? "]" : "\n  ]");
    document.member(names::kComparisons);
    file.write(comparisonsText(test.comparisons));
    const std::string_view known[] = {fields::kFormat,  fields::kVersion, names::kTitle,
                                      names::kVariable, names::kStrings,  names::kComparisons};
    const Json kept = json::keptMembers(test.kept);
    for (const auto& [name, value] : kept.items()) {
        if (std::find(std::begin(known), std::end(known), name) != std::end(known))
            continue;
        document.member(name);
        file.write(json::nested(dumped(value, 2), 1));
    }
    document.end();
    file.write("\n");
    file.commit();
}

} // namespace session
