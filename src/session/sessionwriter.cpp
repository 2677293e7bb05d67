#include "session/sessionfile.h"

#include "runtime/atomicfile.h"
#include "session/sessionfields.h"
#include "table/savedselection.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string_view>

// The document is written member by member rather than dumped whole: a shot a line keeps the
// file small, readable and quick to write, and the string's details one a line.
namespace session {

namespace {

using Json = nlohmann::json;

// Texts from the grid may hold bytes that are not UTF-8; they are written as U+FFFD rather
// than failing the save.
std::string dumped(const Json& value, int indent = -1)
{
    return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}

// A value written `depth` levels into the document: its lines after the first move in.
std::string nested(std::string text, std::size_t depth)
{
    const std::string lineStart = "\n" + std::string(2 * depth, ' ');
    for (std::size_t at = text.find('\n'); at != std::string::npos;
         at = text.find('\n', at + lineStart.size()))
        text.replace(at, 1, lineStart);
    return text;
}

// An object of members whose values are JSON text already, one member a line.
class ObjectText {
public:
    explicit ObjectText(std::size_t depth)
        : m_depth(depth)
    {
    }
    void add(std::string_view name, std::string_view value)
    {
        m_text += m_text.empty() ? "{\n" : ",\n";
        m_text.append(2 * (m_depth + 1), ' ');
        m_text += dumped(Json(name));
        m_text += ": ";
        m_text += value;
    }
    std::string text() const
    {
        return m_text.empty() ? "{}" : m_text + "\n" + std::string(2 * m_depth, ' ') + "}";
    }

private:
    std::size_t m_depth;
    std::string m_text;
};

// The unknown members a session was read with, or none for a text that is not ours.
Json keptMembers(const std::string& kept)
{
    Json members = Json::parse(kept, nullptr, false);
    return members.is_object() ? members : Json::object();
}

bool isDocumentMember(std::string_view name)
{
    return std::find(fields::kDocumentMembers.begin(), fields::kDocumentMembers.end(), name) !=
           fields::kDocumentMembers.end();
}

std::string detailsText(const table::StringDetails& details, const Json& kept)
{
    ObjectText object(1);
    for (const fields::DetailField& field : fields::kDetailFields) {
        if (field.text && !(details.*field.text).empty()) {
            object.add(field.name, dumped(Json(details.*field.text)));
        } else if (field.quantity && !(details.*field.quantity == table::Quantity{})) {
            const table::Quantity& quantity = details.*field.quantity;
            object.add(field.name, "{" + dumped(Json(fields::kQuantityValue)) + ": " +
                                       dumped(Json(quantity.value)) + ", " +
                                       dumped(Json(fields::kQuantityUnit)) + ": " +
                                       dumped(Json(quantity.unit)) + "}");
        }
    }
    const auto keptDetails = kept.find(fields::kString);
    if (keptDetails != kept.end() && keptDetails->is_object()) {
        for (const auto& [name, value] : keptDetails->items()) {
            if (!fields::detailField(name))
                object.add(name, nested(dumped(value, 2), 2));
        }
    }
    return object.text();
}

std::string shotFieldsText()
{
    Json names = Json::array();
    for (const fields::ShotField& field : fields::kShotFields)
        names.push_back(field.name);
    return dumped(names);
}

// Rows first..last, with the selection's numbers and deviations where one is given.
void writeShots(rt::AtomicFile& file, const table::StringGrid& grid, std::size_t first,
                std::size_t last, const table::SavedSelection* selection)
{
    // One array filled anew for each row: its strings keep their room from row to row.
    Json shot = Json::array();
    for (const fields::ShotField& field : fields::kShotFields) {
        if (field.value == fields::ShotValue::Excluded)
            shot.push_back(false);
        else
            shot.push_back(std::string());
    }
    std::string number;
    std::string deviation;
    file.write("[");
    for (std::size_t r = first; r <= last; ++r) {
        if (selection) {
            number = selection->number(r);
            deviation = selection->deviation(r);
        }
        const auto [recorded, unit] = fields::splitRecorded(grid.cell(table::ColRecorded, r));
        for (std::size_t i = 0; i < fields::kShotFields.size(); ++i) {
            const fields::ShotField& field = fields::kShotFields[i];
            std::string_view text;
            switch (field.value) {
            case fields::ShotValue::Excluded:
                shot[i] = grid.cell(table::ColExcluded, r) == table::kExcludedMark;
                continue;
            case fields::ShotValue::RecordedValue:
                text = recorded;
                break;
            case fields::ShotValue::RecordedUnit:
                text = unit;
                break;
            case fields::ShotValue::Text:
                text = selection && field.column == table::ColN    ? std::string_view(number)
                       : selection && field.column == table::ColDV ? std::string_view(deviation)
                                                                   : grid.cell(field.column, r);
                break;
            }
            shot[i].get_ref<std::string&>().assign(text);
        }
        file.write(r == first ? "\n    " : ",\n    ");
        file.write(dumped(shot));
    }
    file.write(first <= last ? "\n  ]" : "]");
}

void writeDocument(const table::StringGrid& grid, std::size_t first, std::size_t last,
                   const table::SavedSelection* selection, const table::StringDetails& details,
                   const std::string& kept, const std::string& path)
{
    const Json keptJson = keptMembers(kept);
    rt::AtomicFile file(path);
    auto member = [&file, started = false](std::string_view name) mutable {
        file.write(started ? ",\n  " : "{\n  ");
        started = true;
        file.write(dumped(Json(name)));
        file.write(": ");
    };
    member(fields::kFormat);
    file.write(dumped(Json(fields::kFormatName)));
    member(fields::kVersion);
    file.write(std::to_string(kSessionVersion));
    member(fields::kString);
    file.write(detailsText(details, keptJson));
    member(fields::kShotFieldNames);
    file.write(shotFieldsText());
    member(fields::kShots);
    writeShots(file, grid, first, last, selection);
    for (const auto& [name, value] : keptJson.items()) {
        if (isDocumentMember(name))
            continue;
        member(name);
        file.write(nested(dumped(value, 2), 1));
    }
    file.write("\n}\n");
    file.commit();
}

} // namespace

void writeSession(const table::StringGrid& grid, const table::StringDetails& details,
                  const std::string& kept, const std::string& path)
{
    writeDocument(grid, 1, std::max<std::size_t>(grid.rowCount(), 1) - 1, nullptr, details, kept,
                  path);
}

void writeSessionSelection(const table::StringGrid& grid, std::size_t top, std::size_t bottom,
                           const table::StringDetails& details, const std::string& kept,
                           const std::string& path)
{
    const table::SavedSelection selection(grid, top, bottom);
    writeDocument(grid, top, bottom, &selection, details, kept, path);
}

} // namespace session
