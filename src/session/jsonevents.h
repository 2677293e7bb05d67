#pragma once

#include "session/sessionfields.h"
#include "session/sessionfile.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The folder's documents are read through the parser's event interface rather than into a
// document: a document of 65,535 shots costs a third more time and several times the file's
// size in memory, and the events tell where in the file each value is, for the refusal's
// line. A string is read alike wherever it stands: as a session file's document, or as one
// of a load test's strings. Only the folder's readers include this header, so no user of the
// folder sees the JSON library.
namespace session::json {

using Json = nlohmann::json;

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
std::size_t lineBefore(std::string_view text, std::size_t end);

// Where the members of one string object go while it is read.
struct StringTarget {
    LoadedSession* loaded = nullptr;
    // Its unknown members, and under "string" those of its details.
    Json kept = Json::object();
    bool sawShots = false;
    std::size_t shots = 0;
};

// Where the parser is: the value being read belongs to the innermost place. Body is a string
// object; Own places are the document's, which a derived reader gives meaning.
enum class Place { Root, Body, Details, Quantity, Shots, Shot, Kept, Skipped, Own };

struct Frame {
    Place place = Place::Skipped;
    // Body and the places in it: the string being read.
    StringTarget* target = nullptr;
    // Kept: the array or object being filled.
    Json* kept = nullptr;
    // Quantity: the field it is.
    const fields::DetailField* field = nullptr;
    // Shot: the elements read; Own: as the document counts.
    std::size_t index = 0;
    // Where it began.
    std::size_t start = 0;
    // Kept: how deep in the unknown member's value, from 1.
    std::size_t depth = 0;
    // Own: which of the document's places.
    int own = 0;
};

// A document's format name and version as read.
struct Header {
    bool isObject = false;
    std::string format;
    std::optional<std::size_t> formatAt;
    std::optional<std::uint64_t> version;
    std::optional<std::size_t> versionAt;
};

// Takes the parser's events, fills the strings it is shown and notes the first value that
// does not fit. It reads on past that value, to the version, so that a later version's file
// is told apart from a damaged one wherever its members stand.
class DocumentEvents {
public:
    virtual ~DocumentEvents() = default;

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

    // Reads the whole text through these events.
    void parse();
    // Unknown members as LoadedSession::kept has them.
    static std::string keptText(const Json& kept);

protected:
    explicit DocumentEvents(std::string_view text)
        : m_text(text)
        , m_consumed(text.data())
    {
    }

    // The root's value and the document's own places. A value that fits nowhere is wrong().
    virtual void ownValue(Frame& frame, Json value) = 0;
    virtual Frame ownOpen(Frame& frame, bool object) = 0;
    virtual void ownClose(const Frame&) {}
    // A string object's members besides the string's own: true where the document took it.
    virtual bool bodyValue(Frame&, Json&) { return false; }
    virtual std::optional<Frame> bodyOpen(Frame&, bool) { return std::nullopt; }
    virtual void bodyClose(const Frame&) {}

    // The frame of a string object about to be read into target.
    Frame bodyFrame(StringTarget& target) const;
    // An unknown member's object or array, kept in parent (or skipped past the limits).
    Frame keptFrame(Json& parent, bool object);
    Frame ownFrame(int own) const;
    static Frame skippedFrame() { return Frame{Place::Skipped}; }

    // The format and version members of a document, in whichever object holds them.
    bool headerValue(Json& value);
    std::optional<Frame> headerOpen();
    // Refusals in the order every document checks them: JSON, an object, the format, the
    // version (a later one is NewerFile), then the first wrong value.
    template <class NotOurs, class NewerFile>
    void checkHeader(const std::string& path, std::string_view formatName,
                     std::uint64_t readVersion) const
    {
        const auto refuse = [&](std::optional<std::size_t> at) {
            throw NotOurs(path, at ? lineBefore(m_text, *at) : 1);
        };
        if (m_syntaxErrorAt)
            refuse(m_syntaxErrorAt);
        if (!m_header.isObject)
            refuse(m_wrongAt);
        if (m_header.format != formatName)
            refuse(m_header.formatAt);
        if (!m_header.version || *m_header.version == 0)
            refuse(m_header.versionAt);
        if (*m_header.version > readVersion)
            throw NewerFile(path, *m_header.version);
        if (m_wrongAt)
            refuse(m_wrongAt);
    }

    const std::string& currentKey() const { return m_key; }
    std::string_view text() const { return m_text; }
    std::size_t here() const { return static_cast<std::size_t>(m_consumed - m_text.data()); }
    void wrongAt(std::size_t at)
    {
        if (!m_wrongAt)
            m_wrongAt = at;
    }
    void wrong() { wrongAt(here()); }
    bool keeping() const { return !m_wrongAt; }
    // Puts an unknown member's value into `parent`: as the member named by the last key, or
    // as the next element of a kept array. Gives where it went, or nothing past the limit.
    Json* keep(Json& parent, Json value);

    Header m_header;

private:
    template <class T> bool scalar(T& value);
    template <class T> void bodyMemberValue(Frame& frame, T& value);
    template <class T> void detailValue(Frame& frame, T& value);
    template <class T> void quantityValue(Frame& frame, T& value);
    template <class T> void shotValue(Frame& frame, T& value);
    bool open(bool object);
    Frame openInBody(Frame& frame, bool object);
    Frame openInDetails(Frame& frame, bool object);
    bool close();
    void appendShot(StringTarget& target);

    std::string_view m_text;
    const char* m_consumed;
    std::vector<Frame> m_frames{Frame{Place::Root}};
    std::string m_key;
    std::size_t m_keptValues = 0;

    std::array<std::string, fields::kShotFields.size()> m_shot;
    bool m_excluded = false;
    std::string m_recorded;

    std::optional<std::size_t> m_syntaxErrorAt;
    std::optional<std::size_t> m_wrongAt;
};

} // namespace session::json
