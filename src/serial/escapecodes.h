#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The codes a terminal's parser can report. ecUnknown and ecNotCompleted keep the values 0
// and 1 that handlers of OnUnhandledCode compare against.
enum TEscapeCode {
    ecUnknown,
    ecNotCompleted,
    ecCursorUp,
    ecCursorDown,
    ecCursorLeft,
    ecCursorRight,
    ecCursorMove,
    ecCursorHome,
    ecEraseLineFrom,
    ecEraseScreenFrom,
    ecEraseLine,
    ecEraseScreen,
    ecSetTab,
    ecClearTab,
    ecClearAllTabs,
    ecIdentify,
    ecIdentResponse,
    ecQueryDevice,
    ecReportDevice,
    ecQueryCursorPos,
    ecReportCursorPos,
    ecAttributes,
    ecSetMode,
    ecResetMode,
    ecReset,
    ecSaveCaret,
    ecRestoreCaret,
    ecSaveCaretAndAttr,
    ecRestoreCaretAndAttr,
    ecTest,
    ecAppCursorUp,
    ecAppCursorDown,
    ecAppCursorRight,
    ecAppCursorLeft
};

enum class FeedResult { Plain, Complete, Incomplete };

// An escape-sequence parser: fed one received character at a time, it tells whether the
// character is plain text or part of a sequence, and keeps its state between received
// blocks, so a sequence split over two reads comes out the same as one read in one block.
class TEscapeCodes {
public:
    // A sequence that never ends (noise, a broken peer) is still swallowed up to its end,
    // but only this much of its text is kept, so memory stays bounded whatever arrives.
    static constexpr std::size_t maxSequenceText = 256;
    // Numeric parameters are held within +-maxParam.
    static constexpr int maxParam = 9999;

    TEscapeCodes() = default;
    virtual ~TEscapeCodes() = default;
    TEscapeCodes(const TEscapeCodes&) = delete;
    TEscapeCodes& operator=(const TEscapeCodes&) = delete;

    virtual FeedResult FeedChar(char ch) = 0;
    // The characters that stand for a code, used for replies and keys; "" when the
    // emulation has none.
    virtual std::string CodeText(TEscapeCode code,
                                 const std::vector<std::string>& params) const = 0;

    char character() const { return m_character; }
    TEscapeCode Code() const { return m_code; }
    // The text collected for the current or last sequence, without its ESC.
    const std::string& data() const { return m_data; }
    const std::vector<std::string>& params() const { return m_params; }
    void clearParams() { m_params.clear(); }
    bool isSequenceStarted() const { return m_state != 0; }

    // The n-th parameter (1-based) as a whole number within +-maxParam (larger ones are held
    // there); 1 when there is none or it does not convert.
    int param(int n) const;

protected:
    void collect(char ch);
    // Outside a sequence both emulations alike: a plain character, or the ESC that starts one.
    FeedResult feedGround(char ch, int escapeState);
    FeedResult complete(TEscapeCode code);

    // 0 is "no sequence under way"; each parser numbers its other states itself.
    int m_state = 0;
    char m_character = 0;
    TEscapeCode m_code = ecUnknown;
    std::string m_data;
    std::vector<std::string> m_params;
};

// VT100 and ANSI: control sequences ESC [ ... up to the first letter, the two-character
// forms ESC # 8 and ESC O A..D, and the single-character forms.
class TEscapeCodesVT100 : public TEscapeCodes {
public:
    FeedResult FeedChar(char ch) override;
    std::string CodeText(TEscapeCode code, const std::vector<std::string>& params) const override;

private:
    FeedResult finishControlSequence(char final);
};

// VT52: ESC and one letter, or ESC Y with a row and a column character.
class TEscapeCodesVT52 : public TEscapeCodes {
public:
    FeedResult FeedChar(char ch) override;
    std::string CodeText(TEscapeCode code, const std::vector<std::string>& params) const override;
};
