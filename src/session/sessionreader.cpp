#include "session/sessionfile.h"

#include "runtime/wholefile.h"
#include "session/jsonevents.h"

#include <algorithm>
#include <vector>

namespace session {

namespace {

// A session's document is one string object with the format and version among its members.
class SessionEvents : public json::DocumentEvents {
public:
    SessionEvents(std::string_view text, LoadedSession& loaded)
        : DocumentEvents(text)
    {
        m_target.loaded = &loaded;
    }

    // Throws the refusal the file has earned, if any.
    void check(const std::string& path) const
    {
        checkHeader<NotSessionFile, NewerSessionFile>(path, fields::kFormatName, kSessionVersion);
        if (!m_target.sawShots)
            throw NotSessionFile(path, 1);
    }
    std::string keptText() const { return DocumentEvents::keptText(m_target.kept); }

private:
    void ownValue(json::Frame&, json::Json) override { wrong(); }
    json::Frame ownOpen(json::Frame&, bool object) override
    {
        m_header.isObject = object;
        if (object)
            return bodyFrame(m_target);
        wrong();
        return skippedFrame();
    }
    bool bodyValue(json::Frame&, json::Json& value) override { return headerValue(value); }
    std::optional<json::Frame> bodyOpen(json::Frame&, bool) override { return headerOpen(); }

    json::StringTarget m_target;
};

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
    SessionEvents events(text, loaded);
    events.parse();
    events.check(path);
    loaded.kept = events.keptText();
    return loaded;
}

} // namespace session
