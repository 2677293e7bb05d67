#pragma once

// The terminal bound to a serial port: it takes the port's received blocks through a
// link, runs every byte through its escape-sequence parser, keeps a character screen and
// reports each plain character through OnChar. Only the receiving side lives here; the
// program never shows the terminal, so nothing is drawn.
//
// Threads: the receive routine runs where the port hands received data to its links, the
// GUI thread with the port's default SyncMethod; OnChar runs inside it, one character at a
// time. Everything else is called on the GUI thread.

#include "serial/comport.h"
#include "serial/escapecodes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TTermEmulation { teVT100orANSI, teVT52, teNone };
enum TArrowKeys { akTerminal, akWindows };
enum TTermCaret { tcBlock, tcUnderline, tcNone };

// Colours as 0xRRGGBB.
using TermColor = std::uint32_t;
inline constexpr TermColor clBlack = 0x000000;
inline constexpr TermColor clWhite = 0xFFFFFF;

class TCustomComTerminal;

using TChScreenEvent = std::function<void(TCustomComTerminal* sender, char ch)>;
using TStrRecvEvent = std::function<void(TCustomComTerminal* sender, std::string& str)>;
using TEscapeEvent =
    std::function<void(TCustomComTerminal* sender, std::unique_ptr<TEscapeCodes>& escapeCodes)>;
using TUnhandledEvent =
    std::function<void(TCustomComTerminal* sender, TEscapeCode code, const std::string& data)>;

struct TermChar {
    char ch = ' ';
    TermColor frontColor = clWhite;
    TermColor backColor = clBlack;
};

// The character screen: Columns x Rows cells, 1-based like the cursor.
class TComTermBuffer {
public:
    TComTermBuffer(int columns, int rows);

    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }
    // Cells outside the screen read as blank and ignore writes.
    TermChar charAt(int column, int row) const;
    void setCharAt(int column, int row, const TermChar& ch);
    // Moves every row one up; the last row comes in blank.
    void scrollUp(const TermChar& blank);
    // Blanks columns from..to of a row.
    void eraseLine(int row, int from, int to, const TermChar& blank);
    void eraseScreen(const TermChar& blank);
    // The row as text, for tests and the like.
    std::string rowText(int row) const;

    bool isTabStop(int column) const;
    void setTabStop(int column, bool on);
    void clearAllTabs();
    // The next tab stop after `column`, or the last column when there is none.
    int nextTabStop(int column) const;

private:
    std::size_t index(int column, int row) const;
    int m_columns;
    int m_rows;
    std::vector<TermChar> m_cells;
    std::vector<bool> m_tabs;
};

class TCustomComTerminal {
public:
    TCustomComTerminal();
    virtual ~TCustomComTerminal();
    TCustomComTerminal(const TCustomComTerminal&) = delete;
    TCustomComTerminal& operator=(const TCustomComTerminal&) = delete;

    TCustomComPort* ComPort() const { return m_comPort; }
    // Unregisters from the old port, registers with the new one; null unbinds.
    void SetComPort(TCustomComPort* port);
    bool Connected() const;
    void SetConnected(bool value);

    TTermEmulation Emulation() const { return m_emulation; }
    void SetEmulation(TTermEmulation value);
    // Construction from a stored design: the parser is made once loading has finished.
    void beginLoading() { m_loading = true; }
    void loaded();

    bool AppendLF() const { return m_appendLF; }
    void SetAppendLF(bool value) { m_appendLF = value; }
    // Kept for stored designs; received characters are passed on unchanged either way.
    bool Force7Bit() const { return m_force7Bit; }
    void SetForce7Bit(bool value) { m_force7Bit = value; }
    bool LocalEcho() const { return m_localEcho; }
    void SetLocalEcho(bool value) { m_localEcho = value; }
    bool SendLF() const { return m_sendLF; }
    void SetSendLF(bool value) { m_sendLF = value; }
    TArrowKeys ArrowKeys() const { return m_arrowKeys; }
    void SetArrowKeys(TArrowKeys value) { m_arrowKeys = value; }
    bool WantTab() const { return m_wantTab; }
    void SetWantTab(bool value) { m_wantTab = value; }
    int Columns() const { return m_buffer->Columns(); }
    void SetColumns(int value);
    int Rows() const { return m_buffer->Rows(); }
    void SetRows(int value);
    bool WrapLines() const { return m_wrapLines; }
    void SetWrapLines(bool value) { m_wrapLines = value; }
    TTermCaret Caret() const { return m_caret; }
    void SetCaret(TTermCaret value) { m_caret = value; }
    TermColor Color() const { return m_color; }
    void SetColor(TermColor value) { m_color = value; }
    TermColor FontColor() const { return m_fontColor; }
    void SetFontColor(TermColor value) { m_fontColor = value; }
    TermColor AltColor() const { return m_altColor; }
    void SetAltColor(TermColor value) { m_altColor = value; }

    // Cursor, 1-based (column, row).
    int cursorColumn() const { return m_column; }
    int cursorRow() const { return m_row; }
    void moveCursor(int column, int row);
    const TComTermBuffer& Buffer() const { return *m_buffer; }
    TEscapeCodes* escapeCodes() const { return m_escapeCodes.get(); }

    // Sends text to the bound port if it is open; typed keys and replies take this road.
    void writeStr(const std::string& str);
    void clearScreen();

    TChScreenEvent OnChar;
    TStrRecvEvent OnStrRecieved;
    TEscapeEvent OnGetEscapeCodes;
    TUnhandledEvent OnUnhandledCode;

protected:
    // The link's OnRxData slot: one received block.
    void rxBuf(const AnsiChar* buffer, int count);
    void putChar(char ch);
    virtual bool ExecuteCode(TEscapeCode code);
    virtual void doChar(char ch);
    virtual void doStrRecieved(std::string& str);
    virtual void doUnhandledCode(TEscapeCode code, const std::string& data);
    virtual void doGetEscapeCodes(std::unique_ptr<TEscapeCodes>& escapeCodes);

private:
    void createEscapeCodes();
    void handleChar(char ch);
    void lineFeed();
    void reply(TEscapeCode code, std::vector<std::string> params);
    // Sends what the line took of a reply only in part; true once nothing of it waits.
    bool sendReplyRest();
    void setAttributes();
    TermChar blank() const;
    void resizeBuffer(int columns, int rows);

    TComLink m_link;
    TCustomComPort* m_comPort = nullptr;
    std::unique_ptr<TComTermBuffer> m_buffer;
    std::unique_ptr<TEscapeCodes> m_escapeCodes;
    TTermEmulation m_emulation = teVT100orANSI;
    bool m_loading = false;
    bool m_appendLF = false;
    bool m_force7Bit = false;
    bool m_localEcho = false;
    bool m_sendLF = false;
    TArrowKeys m_arrowKeys = akTerminal;
    bool m_wantTab = false;
    bool m_wrapLines = false;
    TTermCaret m_caret = tcBlock;
    TermColor m_color = clBlack;
    TermColor m_fontColor = clWhite;
    TermColor m_altColor = 0xA6A6A6;

    int m_column = 1;
    int m_row = 1;
    int m_savedColumn = 1;
    int m_savedRow = 1;
    TermColor m_frontColor = clWhite;
    TermColor m_backColor = clBlack;
    TermColor m_savedFront = clWhite;
    TermColor m_savedBack = clBlack;
    // A reply reaches the device whole or not at all: what a full line did not take of one is
    // kept (never more than one reply) and goes out before any later reply. While it waits,
    // and for the rest of a block whose reply the line refused, new replies are dropped, so a
    // peer that asks and never reads gets nothing until it reads again.
    std::string m_replyRest;
    bool m_replyFailed = false;
};

// The published face of the terminal; it adds nothing.
class TComTerminal : public TCustomComTerminal {
public:
    using TCustomComTerminal::TCustomComTerminal;
};
