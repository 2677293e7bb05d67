#include "session/jsonwriting.h"

#include "session/sessionfields.h"

#include <algorithm>

namespace session::json {

namespace {

std::string indent(std::size_t depth)
{
    return std::string(2 * depth, ' ');
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
        m_text += indent(m_depth + 1);
        m_text += dumped(Json(name));
        m_text += ": ";
        m_text += value;
    }
    std::string text() const
    {
        return m_text.empty() ? "{}" : m_text + "\n" + indent(m_depth) + "}";
    }

private:
    std::size_t m_depth;
    std::string m_text;
};

std::string detailsText(const table::StringDetails& details, const Json& kept, std::size_t depth)
{
    ObjectText object(depth);
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
                object.add(name, nested(dumped(value, 2), depth + 1));
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

void writeShots(rt::AtomicFile& file, const StringRows& rows, std::size_t depth)
{
    const table::StringGrid& grid = rows.grid;
    const table::SavedSelection* selection = rows.selection;
    const std::string shotStart = "\n" + indent(depth + 1);
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
    for (std::size_t r = rows.first; r <= rows.last; ++r) {
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
        file.write(r == rows.first ? shotStart : "," + shotStart);
        file.write(dumped(shot));
    }
    if (rows.first <= rows.last) {
        file.write("\n");
        file.write(indent(depth));
    }
    file.write("]");
}

} // namespace

std::string dumped(const Json& value, int indent)
{
    return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}

std::string nested(std::string text, std::size_t depth)
{
    const std::string lineStart = "\n" + indent(depth);
    for (std::size_t at = text.find('\n'); at != std::string::npos;
         at = text.find('\n', at + lineStart.size()))
        text.replace(at, 1, lineStart);
    return text;
}

Json keptMembers(const std::string& kept)
{
    Json members = Json::parse(kept, nullptr, false);
    return members.is_object() ? members : Json::object();
}

void ObjectWriter::member(std::string_view name)
{
    m_file.write(m_started ? ",\n" : "{\n");
    m_started = true;
    m_file.write(indent(m_depth));
    m_file.write(dumped(Json(name)));
    m_file.write(": ");
}

void ObjectWriter::end()
{
    if (!m_started) {
        m_file.write("{}");
        return;
    }
    m_file.write("\n");
    m_file.write(indent(m_depth - 1));
    m_file.write("}");
}

void writeStringMembers(ObjectWriter& object, const StringRows& rows,
                        const table::StringDetails& details, const Json& kept,
                        std::span<const std::string_view> reserved)
{
    object.member(fields::kString);
    object.file().write(detailsText(details, kept, object.depth()));
    object.member(fields::kShotFieldNames);
    object.file().write(shotFieldsText());
    object.member(fields::kShots);
    writeShots(object.file(), rows, object.depth());
    for (const auto& [name, value] : kept.items()) {
        const bool isReserved =
            std::find(reserved.begin(), reserved.end(), name) != reserved.end() ||
            std::find(fields::kDocumentMembers.begin(), fields::kDocumentMembers.end(), name) !=
                fields::kDocumentMembers.end();
        if (isReserved)
            continue;
        object.member(name);
        object.file().write(nested(dumped(value, 2), object.depth()));
    }
}

} // namespace session::json
