#include "session/sessionfile.h"

#include "runtime/textfile.h"
#include "runtime/wholefile.h"
#include "session/sessionfields.h"
#include "table/measurementfile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <string_view>
#include <type_traits>
#include <vector>

// The file is read through the parser's event interface rather than into a document: a
// document of 65,535 shots costs a third more time and several times the file's size in
// memory, and the events tell where in the file each value is, for the refusal's line.
namespace session {

namespace {

using Json = nlohmann::json;

// No text of a session is longer than a line of a measurement file, which it must be able
// to become, nor than the grid can show.
constexpr std::size_t kMaxTextBytes = rt::kMaxLineBytes;
// Unknown members are kept as values. Bounded, so that a hostile file cannot make them cost
// many times its size, nor nest so deep that writing them back (which recurses) overflows
// the stack.
constexpr std::size_t kMaxKeptDepth = 64;
constexpr std::size_t kMaxKeptValues = std::size_t{1} << 20;

// The parser reads through this, so that how far it has read is known at every event.
class TrackedInput {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    TrackedInput(const char* at, const char** consumed)
        : m_at(at)
        , m_consumed(consumed)
    {
    }
    reference operator*() const { return *m_at; }
    TrackedInput& operator++()
    {
        *m_consumed = ++m_at;
        return *this;
    }
    TrackedInput operator++(int)
    {
        TrackedInput old = *this;
        ++*this;
        return old;
    }
    friend bool operator==(const TrackedInput& a, const TrackedInput& b)
    {
        return a.m_at == b.m_at;
    }

private:
    const char* m_at;
    const char** m_consumed;
};

// The line of the last byte before `end`, counted from 1. A line ends at LF, CR LF or a lone
// CR, as in the program's other text files. At an event the parser has just read the value's
// last byte, or for a number one byte more: that byte may end the value's line, so it is not
// counted.
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

// Where the parser is: the value being read belongs to the innermost place.
enum class Place { Root, Document, Details, Quantity, Shots, Shot, Kept, Skipped };

struct Frame {
    Place place;
    // Kept: the array or object being filled.
    Json* kept = nullptr;
    // Quantity: the field it is.
    const fields::DetailField* field = nullptr;
    // Shot: the elements read, and where it began.
    std::size_t index = 0;
    std::size_t start = 0;
    // Kept: how deep in the unknown member's value, from 1.
    std::size_t depth = 0;
};

// Takes the parser's events, fills the loaded session and notes the first value that does not
// fit. It reads on past that value, to the version, so that a later version's file is told
// apart from a damaged one wherever its members stand.
class SessionEvents {
public:
    SessionEvents(std::string_view text, const char* const& consumed, LoadedSession& loaded)
        : m_text(text)
        , m_consumed(consumed)
        , m_loaded(loaded)
    {
    }

    bool null()
    {
        std::nullptr_t none = nullptr;
        return scalar(none);
    }
    bool boolean(bool value) { return scalar(value); }
    bool number_integer(Json::number_integer_t value) { return scalar(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return scalar(value); }
    bool number_float(Json::number_float_t value, const Json::string_t&) { return scalar(value); }
    bool string(Json::string_t& value) { return scalar(value); }
    bool binary(Json::binary_t&) { return true; } // never in JSON text
    bool start_object(std::size_t) { return open(true); }
    bool start_array(std::size_t) { return open(false); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool key(Json::string_t& name)
    {
        m_key.swap(name);
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const Json::exception&)
    {
        m_syntaxErrorAt = here();
        return false;
    }

    // Throws the refusal the file has earned, if any.
    void check(const std::string& path) const;
    // The unknown members, as LoadedSession::kept has them.
    std::string keptText() const
    {
        return m_kept.empty() ? std::string()
                              : m_kept.dump(-1, ' ', false, Json::error_handler_t::replace);
    }

private:
    std::size_t here() const { return static_cast<std::size_t>(m_consumed - m_text.data()); }
    void wrongAt(std::size_t at)
    {
        if (!m_wrongAt)
            m_wrongAt = at;
    }
    void wrong() { wrongAt(here()); }
    bool keeping() const { return !m_wrongAt; }

    template <class T> bool scalar(T& value);
    template <class T> void documentValue(T& value);
    template <class T> void detailValue(T& value);
    template <class T> void quantityValue(T& value);
    template <class T> void shotValue(T& value);
    bool open(bool object);
    Place openInDocument(bool object, Frame& child);
    Place openInDetails(bool object, Frame& child);
    bool close();
    // Puts an unknown member's value into `parent`: as the member named by the last key, or
    // as the next element of a kept array. Gives where it went, or nothing past the limit.
    Json* keep(Json& parent, Json value);
    void appendShot();

    std::string_view m_text;
    const char* const& m_consumed;
    LoadedSession& m_loaded;
    std::vector<Frame> m_frames{Frame{Place::Root}};
    std::string m_key;
    Json m_kept = Json::object();
    std::size_t m_keptValues = 0;

    bool m_isObject = false;
    std::string m_format;
    std::optional<std::size_t> m_formatAt;
    std::optional<std::uint64_t> m_version;
    std::optional<std::size_t> m_versionAt;
    bool m_sawShots = false;
    std::size_t m_shotCount = 0;
    std::array<std::string, fields::kShotFields.size()> m_shot;
    bool m_excluded = false;
    std::string m_recorded;

    std::optional<std::size_t> m_syntaxErrorAt;
    std::optional<std::size_t> m_wrongAt;
};

template <class T> bool SessionEvents::scalar(T& value)
{
    switch (m_frames.back().place) {
    case Place::Root:
    case Place::Shots:
        wrong();
        break;
    case Place::Document:
        documentValue(value);
        break;
    case Place::Details:
        detailValue(value);
        break;
    case Place::Quantity:
        quantityValue(value);
        break;
    case Place::Shot:
        shotValue(value);
        break;
    case Place::Kept:
        if (keeping())
            keep(*m_frames.back().kept, Json(std::move(value)));
        break;
    case Place::Skipped:
        break;
    }
    return true;
}

template <class T> void SessionEvents::documentValue(T& value)
{
    if (m_key == fields::kFormat) {
        m_formatAt = here();
        if (std::string* text = textOf(value))
            m_format = std::move(*text);
    } else if (m_key == fields::kVersion) {
        m_versionAt = here();
        if constexpr (std::is_same_v<T, Json::number_unsigned_t>)
            m_version = value;
    } else if (m_key == fields::kString || m_key == fields::kShots) {
        wrong();
    } else if (m_key != fields::kShotFieldNames && keeping()) {
        // The shot fields' names are written for people; the reader knows their order.
        keep(m_kept, Json(std::move(value)));
    }
}

template <class T> void SessionEvents::detailValue(T& value)
{
    const fields::DetailField* field = fields::detailField(m_key);
    if (!field) {
        if (keeping())
            keep(m_kept[fields::kString], Json(std::move(value)));
        return;
    }
    std::string* text = textOf(value);
    if (!field->text || !text || text->size() > kMaxTextBytes)
        return wrong();
    m_loaded.details.*field->text = std::move(*text);
}

template <class T> void SessionEvents::quantityValue(T& value)
{
    // Other members of a quantity are read past, not kept.
    if (m_key != fields::kQuantityValue && m_key != fields::kQuantityUnit)
        return;
    std::string* text = textOf(value);
    if (!text || text->size() > kMaxTextBytes)
        return wrong();
    const fields::DetailField& field = *m_frames.back().field;
    table::Quantity& quantity = m_loaded.details.*field.quantity;
    if (m_key == fields::kQuantityValue) {
        quantity.value = std::move(*text);
        return;
    }
    if (!text->empty() &&
        std::find(field.units.begin(), field.units.end(), *text) == field.units.end())
        return wrong();
    quantity.unit = std::move(*text);
}

template <class T> void SessionEvents::shotValue(T& value)
{
    const std::size_t index = m_frames.back().index++;
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

bool SessionEvents::open(bool object)
{
    Frame& frame = m_frames.back();
    Frame child{Place::Skipped};
    switch (frame.place) {
    case Place::Root:
        if (object)
            child.place = Place::Document;
        else
            wrong();
        m_isObject = object;
        break;
    case Place::Document:
        child.place = openInDocument(object, child);
        break;
    case Place::Details:
        child.place = openInDetails(object, child);
        break;
    case Place::Quantity:
        if (m_key == fields::kQuantityValue || m_key == fields::kQuantityUnit)
            wrong();
        break;
    case Place::Shots:
        if (object || ++m_shotCount > kMaxSessionShots) {
            wrong();
        } else {
            child.place = Place::Shot;
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

Place SessionEvents::openInDocument(bool object, Frame& child)
{
    if (m_key == fields::kString) {
        if (object)
            return Place::Details;
    } else if (m_key == fields::kShots) {
        // A second list of shots could only be a damaged file.
        if (!object && !m_sawShots) {
            m_sawShots = true;
            return Place::Shots;
        }
    } else if (m_key == fields::kFormat) {
        m_formatAt = here();
        return Place::Skipped;
    } else if (m_key == fields::kVersion) {
        m_versionAt = here();
        return Place::Skipped;
    } else if (m_key == fields::kShotFieldNames) {
        return Place::Skipped;
    } else {
        if (keeping())
            child.kept = keep(m_kept, object ? Json::object() : Json::array());
        child.depth = 1;
        return child.kept ? Place::Kept : Place::Skipped;
    }
    wrong();
    return Place::Skipped;
}

Place SessionEvents::openInDetails(bool object, Frame& child)
{
    const fields::DetailField* field = fields::detailField(m_key);
    if (!field) {
        if (keeping())
            child.kept = keep(m_kept[fields::kString], object ? Json::object() : Json::array());
        child.depth = 1;
        return child.kept ? Place::Kept : Place::Skipped;
    }
    if (!field->quantity || !object) {
        wrong();
        return Place::Skipped;
    }
    child.field = field;
    return Place::Quantity;
}

bool SessionEvents::close()
{
    const Frame frame = m_frames.back();
    m_frames.pop_back();
    if (frame.place == Place::Shot) {
        if (frame.index != fields::kShotFields.size())
            wrongAt(frame.start);
        else if (keeping())
            appendShot();
    }
    return true;
}

Json* SessionEvents::keep(Json& parent, Json value)
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

void SessionEvents::appendShot()
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
    m_loaded.shots.appendRow(cells.data());
}

void SessionEvents::check(const std::string& path) const
{
    const auto refuse = [&](std::optional<std::size_t> at) {
        throw NotSessionFile(path, at ? lineBefore(m_text, *at) : 1);
    };
    if (m_syntaxErrorAt)
        refuse(m_syntaxErrorAt);
    if (!m_isObject)
        refuse(m_wrongAt);
    if (m_format != fields::kFormatName)
        refuse(m_formatAt);
    if (!m_version || *m_version == 0)
        refuse(m_versionAt);
    if (*m_version > kSessionVersion)
        throw NewerSessionFile(path, *m_version);
    if (m_wrongAt)
        refuse(m_wrongAt);
    if (!m_sawShots)
        refuse(std::nullopt);
}

} // namespace

LoadedSession readSession(const std::string& path)
{
    const std::optional<std::vector<std::uint8_t>> bytes =
        rt::readWholeFile(path, kMaxSessionBytes);
    if (!bytes)
        throw NotSessionFile(path, 1);
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());

    LoadedSession loaded;
    // The shortest shot takes some 40 bytes: room for that many rows and for the file's
    // bytes means the store never moves while it fills.
    loaded.shots.reserve(std::min(text.size() / 40 + 1, kMaxSessionShots), text.size());
    const char* consumed = text.data();
    SessionEvents events(text, consumed, loaded);
    Json::sax_parse(TrackedInput(text.data(), &consumed),
                    TrackedInput(text.data() + text.size(), &consumed), &events);
    events.check(path);
    loaded.kept = events.keptText();
    return loaded;
}

} // namespace session
