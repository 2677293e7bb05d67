#include "session/loadtestfile.h"

#include "runtime/textfile.h"
#include "runtime/wholefile.h"
#include "session/jsonevents.h"
#include "session/loadtestfields.h"

#include <algorithm>
#include <deque>
#include <vector>

namespace session {

namespace {

namespace names = loadtestfields;
using json::Frame;
using json::Json;

// The document's own places, as Frame::own counts them.
enum Own : int { Document = 1, VariablePlace, Strings, Comparisons, Pair };

// A string as read, before the file is known to be good.
struct ReadString {
    LoadedSession loaded;
    std::string value;
    json::StringTarget target;
};

struct ReadPair {
    Comparison comparison;
    std::size_t start = 0;
};

class LoadTestEvents : public json::DocumentEvents {
public:
    explicit LoadTestEvents(std::string_view text)
        : DocumentEvents(text)
    {
    }

    // Throws the refusal the file has earned, if any.
    void check(const std::string& path) const
    {
        checkHeader<NotLoadTestFile, NewerLoadTestFile>(path, names::kFormatName, kLoadTestVersion);
        if (!m_sawStrings)
            throw NotLoadTestFile(path, 1);
        for (const ReadPair& pair : m_pairs) {
            const Comparison& c = pair.comparison;
            if (c.first >= m_strings.size() || c.second >= m_strings.size() || c.first == c.second)
                throw NotLoadTestFile(path, lineOf(pair.start));
        }
    }

    // Moves what was read into a test.
    LoadTest take()
    {
        LoadTest test;
        test.title = std::move(m_title);
        test.variable = std::move(m_variable);
        test.strings.reserve(m_strings.size());
        for (ReadString& read : m_strings) {
            LoadTestString& string = test.strings.emplace_back();
            putSession(string.grid, read.loaded);
            string.details = std::move(read.loaded.details);
            string.kept = keptText(read.target.kept);
            string.value = std::move(read.value);
        }
        for (const ReadPair& pair : m_pairs)
            test.comparisons.push_back(pair.comparison);
        test.kept = keptText(m_kept);
        return test;
    }

private:
    std::size_t lineOf(std::size_t at) const { return json::lineBefore(text(), at); }

    // A text the file may hold anywhere: no longer than a line of a measurement file.
    static const std::string* textOf(const Json& value)
    {
        if (!value.is_string() || value.get_ref<const std::string&>().size() > rt::kMaxLineBytes)
            return nullptr;
        return &value.get_ref<const std::string&>();
    }

    void ownValue(Frame& frame, Json value) override
    {
        if (frame.place == json::Place::Root)
            return wrong();
        switch (frame.own) {
        case Document:
            return documentValue(value);
        case VariablePlace:
            return variableValue(value);
        case Pair:
            return pairValue(frame, value);
        default:
            return wrong();
        }
    }

    void documentValue(Json& value)
    {
        if (headerValue(value))
            return;
        const std::string& key = currentKey();
        if (key == names::kTitle) {
            if (const std::string* text = textOf(value))
                m_title = *text;
            else
                wrong();
        } else if (key == names::kVariable || key == names::kStrings ||
                   key == names::kComparisons) {
            wrong();
        } else if (keeping()) {
            keep(m_kept, std::move(value));
        }
    }

    void variableValue(Json& value)
    {
        const std::string& key = currentKey();
        // Other members of the variable are read past.
        if (key != names::kKind && key != names::kName && key != names::kUnit)
            return;
        const std::string* text = textOf(value);
        if (!text)
            return wrong();
        if (key == names::kKind) {
            if (const auto kind = names::kindNamed(*text))
                m_variable.kind = *kind;
            else
                wrong();
        } else if (key == names::kName) {
            m_name = *text;
        } else {
            m_unit = *text;
        }
    }

    void pairValue(Frame& frame, const Json& value)
    {
        const std::size_t index = frame.index++;
        if (index >= 2 || !value.is_number_unsigned())
            return wrong();
        const std::uint64_t string = value.get<std::uint64_t>();
        // Anything past the most strings a test holds is as wrong as the next one.
        std::size_t& at = index == 0 ? m_pair.first : m_pair.second;
        at = static_cast<std::size_t>(std::min<std::uint64_t>(string, kMaxLoadTestStrings));
    }

    Frame ownOpen(Frame& frame, bool object) override
    {
        if (frame.place == json::Place::Root) {
            m_header.isObject = object;
            if (object)
                return ownFrame(Document);
            wrong();
            return skippedFrame();
        }
        switch (frame.own) {
        case Document:
            return openInDocument(object);
        case Strings:
            if (object && m_strings.size() < kMaxLoadTestStrings) {
                ReadString& read = m_strings.emplace_back();
                read.target.loaded = &read.loaded;
                return bodyFrame(read.target);
            }
            break;
        case Comparisons:
            if (!object) {
                m_pair = {};
                return ownFrame(Pair);
            }
            break;
        case VariablePlace: {
            const std::string& key = currentKey();
            if (key != names::kKind && key != names::kName && key != names::kUnit)
                return skippedFrame();
            break;
        }
        default:
            break;
        }
        wrong();
        return skippedFrame();
    }

    Frame openInDocument(bool object)
    {
        if (std::optional<Frame> header = headerOpen())
            return *header;
        const std::string& key = currentKey();
        if (key == names::kVariable) {
            if (object) {
                m_name.reset();
                m_unit.reset();
                m_variable = {};
                return ownFrame(VariablePlace);
            }
        } else if (key == names::kStrings) {
            // A second list of strings could only be a damaged file.
            if (!object && !m_sawStrings) {
                m_sawStrings = true;
                return ownFrame(Strings);
            }
        } else if (key == names::kComparisons) {
            if (!object) {
                m_pairs.clear();
                return ownFrame(Comparisons);
            }
        } else if (key != names::kTitle) {
            return keptFrame(m_kept, object);
        }
        wrong();
        return skippedFrame();
    }

    void ownClose(const Frame& frame) override
    {
        if (frame.own == Pair) {
            if (frame.index != 2)
                wrongAt(frame.start);
            else
                m_pairs.push_back({m_pair, frame.start});
        } else if (frame.own == VariablePlace) {
            closeVariable(frame);
        }
    }

    // A missing name or unit is the kind's own; a charge or a length only in its units.
    void closeVariable(const Frame& frame)
    {
        const Variable defaults = defaultVariable(m_variable.kind);
        m_variable.name = m_name.value_or(defaults.name);
        m_variable.unit = m_unit.value_or(defaults.unit);
        const auto units = unitsOf(m_variable.kind);
        if (!units.empty() && std::find(units.begin(), units.end(), m_variable.unit) == units.end())
            wrongAt(frame.start);
    }

    bool bodyValue(Frame& frame, Json& value) override
    {
        if (currentKey() != names::kValue)
            return false;
        const std::string* text = textOf(value);
        const std::optional<std::string> kept =
            text ? keptValue(*text) : std::optional<std::string>();
        // Kept exactly as written: a value is written as it was kept.
        if (!kept || *kept != *text)
            wrong();
        else
            readString(frame).value = *text;
        return true;
    }

    std::optional<Frame> bodyOpen(Frame&, bool) override
    {
        if (currentKey() != names::kValue)
            return std::nullopt;
        wrong();
        return skippedFrame();
    }

    void bodyClose(const Frame& frame) override
    {
        if (!frame.target->sawShots)
            wrongAt(frame.start);
    }

    // The string a body frame reads into.
    ReadString& readString(const Frame& frame)
    {
        return *std::find_if(m_strings.begin(), m_strings.end(),
                             [&](const ReadString& read) { return &read.target == frame.target; });
    }

    std::string m_title;
    Variable m_variable;
    std::optional<std::string> m_name;
    std::optional<std::string> m_unit;
    bool m_sawStrings = false;
    // Frames point at their strings' targets: a deque never moves what it holds.
    std::deque<ReadString> m_strings;
    Comparison m_pair;
    std::vector<ReadPair> m_pairs;
    Json m_kept = Json::object();
};

} // namespace

LoadTest readLoadTest(const std::string& path)
{
    const std::optional<std::vector<std::uint8_t>> bytes =
        rt::readWholeFile(path, kMaxSessionBytes);
    if (!bytes)
        throw NotLoadTestFile(path, 1);
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    LoadTestEvents events(text);
    events.parse();
    events.check(path);
    return events.take();
}

} // namespace session
