#include "session/jsonevents.h"

#include "runtime/textfile.h"
#include "table/measurementfile.h"

#include <algorithm>
#include <type_traits>

namespace session::json {

namespace {

// No text of a string is longer than a line of a measurement file, which it must be able
// to become, nor than the grid can show.
constexpr std::size_t kMaxTextBytes = rt::kMaxLineBytes;
// Unknown members are kept as values. Bounded, so that a hostile file cannot make them cost
// many times its size, nor nest so deep that writing them back (which recurses) overflows
// the stack.
constexpr std::size_t kMaxKeptDepth = 64;
constexpr std::size_t kMaxKeptValues = std::size_t{1} << 20;

// A text as a cell holds it: no line end (it would split a measurement file's record) and no
// NUL (it would make the file unreadable).
void makeCellText(std::string& text)
{
    const auto unfit = [](char ch) { return ch == '\r' || ch == '\n' || ch == '\0'; };
    // Not find_first_of, which searches the set for every character.
    if (std::none_of(text.begin(), text.end(), unfit))
        return;
    std::string fit;
    for (char ch : text) {
        if (ch == '\0')
            fit += "\xEF\xBF\xBD";
        else
            fit += unfit(ch) ? ' ' : ch;
    }
    text.swap(fit);
}

template <class T> std::string* textOf(T& value)
{
    if constexpr (std::is_same_v<T, Json::string_t>)
        return &value;
    else
        return nullptr;
}

} // namespace

std::size_t lineBefore(std::string_view text, std::size_t end)
{
    const std::size_t last = std::min(end, text.size());
    std::size_t line = 1;
    for (std::size_t i = 0; i + 1 < last; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && text[i + 1] != '\n'))
            ++line;
    }
    return line;
}

void DocumentEvents::parse()
{
    Json::sax_parse(TrackedInput(m_text.data(), &m_consumed),
                    TrackedInput(m_text.data() + m_text.size(), &m_consumed), this);
}

std::string DocumentEvents::keptText(const Json& kept)
{
    return kept.empty() ? std::string() : kept.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Frame DocumentEvents::bodyFrame(StringTarget& target) const
{
    Frame frame{Place::Body};
    frame.target = &target;
    frame.start = here();
    return frame;
}

Frame DocumentEvents::keptFrame(Json& parent, bool object)
{
    Frame frame{Place::Skipped};
    if (keeping())
        frame.kept = keep(parent, object ? Json::object() : Json::array());
    if (frame.kept)
        frame.place = Place::Kept;
    frame.depth = 1;
    return frame;
}

Frame DocumentEvents::ownFrame(int own) const
{
    Frame frame{Place::Own};
    frame.own = own;
    frame.start = here();
    return frame;
}

bool DocumentEvents::headerValue(Json& value)
{
    if (m_key == fields::kFormat) {
        m_header.formatAt = here();
        if (value.is_string())
            m_header.format = value.get_ref<std::string&>();
        return true;
    }
    if (m_key == fields::kVersion) {
        m_header.versionAt = here();
        if (value.is_number_unsigned())
            m_header.version = value.get<std::uint64_t>();
        return true;
    }
    return false;
}

std::optional<Frame> DocumentEvents::headerOpen()
{
    if (m_key == fields::kFormat) {
        m_header.formatAt = here();
        return skippedFrame();
    }
    if (m_key == fields::kVersion) {
        m_header.versionAt = here();
        return skippedFrame();
    }
    return std::nullopt;
}

template <class T> bool DocumentEvents::scalar(T& value)
{
    Frame& frame = m_frames.back();
    switch (frame.place) {
    case Place::Root:
    case Place::Own:
        ownValue(frame, Json(std::move(value)));
        break;
    case Place::Shots:
        wrong();
        break;
    case Place::Body:
        bodyMemberValue(frame, value);
        break;
    case Place::Details:
        detailValue(frame, value);
        break;
    case Place::Quantity:
        quantityValue(frame, value);
        break;
    case Place::Shot:
        shotValue(frame, value);
        break;
    case Place::Kept:
        if (keeping())
            keep(*frame.kept, Json(std::move(value)));
        break;
    case Place::Skipped:
        break;
    }
    return true;
}

template <class T> void DocumentEvents::bodyMemberValue(Frame& frame, T& value)
{
    if (m_key == fields::kString || m_key == fields::kShots)
        return wrong();
    // The shot fields' names are written for people; the reader knows their order.
    if (m_key == fields::kShotFieldNames)
        return;
    Json json(std::move(value));
    if (!bodyValue(frame, json) && keeping())
        keep(frame.target->kept, std::move(json));
}

template <class T> void DocumentEvents::detailValue(Frame& frame, T& value)
{
    const fields::DetailField* field = fields::detailField(m_key);
    if (!field) {
        if (keeping())
            keep(frame.target->kept[fields::kString], Json(std::move(value)));
        return;
    }
    std::string* text = textOf(value);
    if (!field->text || !text || text->size() > kMaxTextBytes)
        return wrong();
    frame.target->loaded->details.*field->text = std::move(*text);
}

template <class T> void DocumentEvents::quantityValue(Frame& frame, T& value)
{
    // Other members of a quantity are read past, not kept.
    if (m_key != fields::kQuantityValue && m_key != fields::kQuantityUnit)
        return;
    std::string* text = textOf(value);
    if (!text || text->size() > kMaxTextBytes)
        return wrong();
    const fields::DetailField& field = *frame.field;
    table::Quantity& quantity = frame.target->loaded->details.*field.quantity;
    if (m_key == fields::kQuantityValue) {
        quantity.value = std::move(*text);
        return;
    }
    if (!text->empty() &&
        std::find(field.units.begin(), field.units.end(), *text) == field.units.end())
        return wrong();
    quantity.unit = std::move(*text);
}

template <class T> void DocumentEvents::shotValue(Frame& frame, T& value)
{
    const std::size_t index = frame.index++;
    if (index >= fields::kShotFields.size())
        return wrong();
    const fields::ShotField& field = fields::kShotFields[index];
    if (field.value == fields::ShotValue::Excluded) {
        if constexpr (std::is_same_v<T, bool>)
            m_excluded = value;
        else
            wrong();
        return;
    }
    std::string* text = textOf(value);
    if (!text)
        return wrong();
    makeCellText(*text);
    if (text->size() > kMaxTextBytes ||
        (field.column == table::ColN && !table::isRecordStart(*text)))
        return wrong();
    if (field.value == fields::ShotValue::RecordedUnit && !text->empty() &&
        (m_shot[fields::kRecordedValueIndex].empty() ||
         std::find(fields::kRecordedUnits.begin(), fields::kRecordedUnits.end(), *text) ==
             fields::kRecordedUnits.end()))
        return wrong();
    m_shot[index].swap(*text);
}

bool DocumentEvents::open(bool object)
{
    Frame& frame = m_frames.back();
    Frame child{Place::Skipped};
    switch (frame.place) {
    case Place::Root:
    case Place::Own:
        child = ownOpen(frame, object);
        break;
    case Place::Body:
        child = openInBody(frame, object);
        break;
    case Place::Details:
        child = openInDetails(frame, object);
        break;
    case Place::Quantity:
        if (m_key == fields::kQuantityValue || m_key == fields::kQuantityUnit)
            wrong();
        break;
    case Place::Shots:
        if (object || ++frame.target->shots > kMaxSessionShots) {
            wrong();
        } else {
            child.place = Place::Shot;
            child.target = frame.target;
            child.start = here();
            m_excluded = false;
        }
        break;
    case Place::Shot:
        ++frame.index;
        wrong();
        break;
    case Place::Kept:
        if (frame.depth == kMaxKeptDepth)
            wrong();
        if (keeping()) {
            child.kept = keep(*frame.kept, object ? Json::object() : Json::array());
            child.place = child.kept ? Place::Kept : Place::Skipped;
            child.depth = frame.depth + 1;
        }
        break;
    case Place::Skipped:
        break;
    }
    m_frames.push_back(child);
    return true;
}

Frame DocumentEvents::openInBody(Frame& frame, bool object)
{
    Frame child{Place::Skipped};
    child.target = frame.target;
    if (m_key == fields::kString) {
        if (object) {
            child.place = Place::Details;
            return child;
        }
    } else if (m_key == fields::kShots) {
        // A second list of shots could only be a damaged file.
        if (!object && !frame.target->sawShots) {
            frame.target->sawShots = true;
            child.place = Place::Shots;
            return child;
        }
    } else if (m_key == fields::kShotFieldNames) {
        return child;
    } else if (std::optional<Frame> own = bodyOpen(frame, object)) {
        return *own;
    } else {
        return keptFrame(frame.target->kept, object);
    }
    wrong();
    return child;
}

Frame DocumentEvents::openInDetails(Frame& frame, bool object)
{
    const fields::DetailField* field = fields::detailField(m_key);
    if (!field)
        return keptFrame(frame.target->kept[fields::kString], object);
    Frame child{Place::Skipped};
    if (!field->quantity || !object) {
        wrong();
        return child;
    }
    child.place = Place::Quantity;
    child.target = frame.target;
    child.field = field;
    return child;
}

bool DocumentEvents::close()
{
    const Frame frame = m_frames.back();
    m_frames.pop_back();
    switch (frame.place) {
    case Place::Shot:
        if (frame.index != fields::kShotFields.size())
            wrongAt(frame.start);
        else if (keeping())
            appendShot(*frame.target);
        break;
    case Place::Body:
        bodyClose(frame);
        break;
    case Place::Own:
        ownClose(frame);
        break;
    default:
        break;
    }
    return true;
}

Json* DocumentEvents::keep(Json& parent, Json value)
{
    if (++m_keptValues > kMaxKeptValues) {
        wrong();
        return nullptr;
    }
    if (parent.is_array()) {
        parent.push_back(std::move(value));
        return &parent.back();
    }
    // A null parent is the first unknown member of "string", and becomes an object.
    Json& member = parent[m_key];
    member = std::move(value);
    return &member;
}

void DocumentEvents::appendShot(StringTarget& target)
{
    std::array<std::string_view, table::kGridColumnCount> cells{};
    for (std::size_t i = 0; i < fields::kShotFields.size(); ++i) {
        if (fields::kShotFields[i].value == fields::ShotValue::Text)
            cells[fields::kShotFields[i].column] = m_shot[i];
    }
    cells[table::ColExcluded] = m_excluded ? table::kExcludedMark : "";
    m_recorded = fields::joinRecorded(m_shot[fields::kRecordedValueIndex],
                                      m_shot[fields::kRecordedValueIndex + 1]);
    cells[table::ColRecorded] = m_recorded;
    target.loaded->shots.appendRow(cells.data());
}

} // namespace session::json
