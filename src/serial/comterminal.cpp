#include "serial/comterminal.h"

#include <algorithm>

// --- the character screen

TComTermBuffer::TComTermBuffer(int columns, int rows)
    : m_columns(columns)
    , m_rows(rows)
    , m_cells(static_cast<std::size_t>(columns * rows))
    , m_tabs(static_cast<std::size_t>(columns) + 1, false)
{
    // The usual stops of a terminal just switched on: every eight columns.
    for (int column = 9; column <= columns; column += 8)
        m_tabs[static_cast<std::size_t>(column)] = true;
}

std::size_t TComTermBuffer::index(int column, int row) const
{
    return static_cast<std::size_t>((row - 1) * m_columns + (column - 1));
}

TermChar TComTermBuffer::charAt(int column, int row) const
{
    if (column < 1 || column > m_columns || row < 1 || row > m_rows)
        return {};
    return m_cells[index(column, row)];
}

void TComTermBuffer::setCharAt(int column, int row, const TermChar& ch)
{
    if (column < 1 || column > m_columns || row < 1 || row > m_rows)
        return;
    m_cells[index(column, row)] = ch;
}

void TComTermBuffer::scrollUp(const TermChar& blank)
{
    std::move(m_cells.begin() + m_columns, m_cells.end(), m_cells.begin());
    std::fill(m_cells.end() - m_columns, m_cells.end(), blank);
}

void TComTermBuffer::eraseLine(int row, int from, int to, const TermChar& blank)
{
    if (row < 1 || row > m_rows)
        return;
    for (int column = std::max(from, 1); column <= std::min(to, m_columns); ++column)
        m_cells[index(column, row)] = blank;
}

void TComTermBuffer::eraseScreen(const TermChar& blank)
{
    std::fill(m_cells.begin(), m_cells.end(), blank);
}

std::string TComTermBuffer::rowText(int row) const
{
    std::string text;
    for (int column = 1; column <= m_columns; ++column)
        text += charAt(column, row).ch;
    return text;
}

bool TComTermBuffer::isTabStop(int column) const
{
    return column >= 1 && column <= m_columns && m_tabs[static_cast<std::size_t>(column)];
}

void TComTermBuffer::setTabStop(int column, bool on)
{
    if (column >= 1 && column <= m_columns)
        m_tabs[static_cast<std::size_t>(column)] = on;
}

void TComTermBuffer::clearAllTabs()
{
    std::fill(m_tabs.begin(), m_tabs.end(), false);
}

int TComTermBuffer::nextTabStop(int column) const
{
    for (int next = std::max(column + 1, 1); next <= m_columns; ++next)
        if (m_tabs[static_cast<std::size_t>(next)])
            return next;
    return m_columns;
}

// --- the terminal

TCustomComTerminal::TCustomComTerminal()
    : m_buffer(std::make_unique<TComTermBuffer>(80, 24))
{
    m_link.OnRxData = [this](TCustomComPort*, const AnsiChar* buffer, int count) {
        rxBuf(buffer, count);
    };
    // The line drained: the rest of a cut reply goes now, not only when the peer next sends.
    m_link.OnTxEmpty = [this](TCustomComPort*) { sendReplyRest(); };
    // A new connection owes nothing of the last one's replies.
    m_link.OnConnectionChange = [this](TCustomComPort*, bool) { m_replyRest.clear(); };
    createEscapeCodes();
}

TCustomComTerminal::~TCustomComTerminal()
{
    SetComPort(nullptr);
}

void TCustomComTerminal::SetComPort(TCustomComPort* port)
{
    if (port == m_comPort)
        return;
    if (m_comPort) {
        m_comPort->UnregisterLink(&m_link);
        m_comPort->removeFreeNotification(this);
    }
    m_comPort = port;
    if (m_comPort) {
        m_comPort->freeNotification(this, [this] { SetComPort(nullptr); });
        m_comPort->RegisterLink(&m_link);
    }
}

bool TCustomComTerminal::Connected() const
{
    return m_comPort && m_comPort->Connected();
}

void TCustomComTerminal::SetConnected(bool value)
{
    if (m_comPort)
        m_comPort->SetConnected(value);
}

void TCustomComTerminal::SetEmulation(TTermEmulation value)
{
    if (value == m_emulation)
        return;
    m_emulation = value;
    if (!m_loading)
        createEscapeCodes();
}

void TCustomComTerminal::loaded()
{
    m_loading = false;
    createEscapeCodes();
}

void TCustomComTerminal::createEscapeCodes()
{
    m_escapeCodes.reset();
    switch (m_emulation) {
    case teVT100orANSI:
        m_escapeCodes = std::make_unique<TEscapeCodesVT100>();
        break;
    case teVT52:
        m_escapeCodes = std::make_unique<TEscapeCodesVT52>();
        break;
    case teNone:
        doGetEscapeCodes(m_escapeCodes);
        break;
    }
}

void TCustomComTerminal::SetColumns(int value)
{
    resizeBuffer(std::clamp(value, 2, 256), Rows());
}

void TCustomComTerminal::SetRows(int value)
{
    resizeBuffer(Columns(), std::clamp(value, 2, 100));
}

void TCustomComTerminal::resizeBuffer(int columns, int rows)
{
    if (columns == Columns() && rows == Rows())
        return;
    m_buffer = std::make_unique<TComTermBuffer>(columns, rows);
    m_buffer->eraseScreen(blank());
    m_column = std::min(m_column, columns);
    m_row = std::min(m_row, rows);
    m_savedColumn = std::min(m_savedColumn, columns);
    m_savedRow = std::min(m_savedRow, rows);
}

void TCustomComTerminal::moveCursor(int column, int row)
{
    m_column = std::clamp(column, 1, Columns());
    m_row = std::clamp(row, 1, Rows());
}

TermChar TCustomComTerminal::blank() const
{
    return {' ', m_frontColor, m_backColor};
}

void TCustomComTerminal::clearScreen()
{
    m_buffer->eraseScreen(blank());
    moveCursor(1, 1);
}

void TCustomComTerminal::writeStr(const std::string& str)
{
    if (m_comPort && m_comPort->Connected())
        m_comPort->WriteText(str);
}

// --- receiving

void TCustomComTerminal::rxBuf(const AnsiChar* buffer, int count)
{
    if (count <= 0)
        return;
    std::string str(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
    if (m_appendLF) {
        std::string withLF;
        withLF.reserve(str.size() + str.size() / 8);
        for (char ch : str) {
            withLF += ch;
            if (ch == '\r')
                withLF += '\n';
        }
        str = std::move(withLF);
    }
    doStrRecieved(str);
    m_replyFailed = !sendReplyRest();
    for (char ch : str)
        handleChar(ch);
}

void TCustomComTerminal::handleChar(char ch)
{
    if (!m_escapeCodes) {
        putChar(ch);
        return;
    }
    switch (m_escapeCodes->FeedChar(ch)) {
    case FeedResult::Plain:
        putChar(m_escapeCodes->character());
        break;
    case FeedResult::Complete:
        if (!ExecuteCode(m_escapeCodes->Code()))
            doUnhandledCode(m_escapeCodes->Code(), m_escapeCodes->data());
        if (m_escapeCodes) // a handler may have switched the emulation off
            m_escapeCodes->clearParams();
        break;
    case FeedResult::Incomplete:
        break;
    }
}

void TCustomComTerminal::putChar(char ch)
{
    switch (ch) {
    case 8:
        m_column = std::max(m_column - 1, 1);
        break;
    case 9:
        m_column = m_buffer->nextTabStop(m_column);
        break;
    case 10:
    case 12:
        lineFeed();
        break;
    case 13:
        m_column = 1;
        break;
    default:
        if (static_cast<unsigned char>(ch) >= 32) {
            m_buffer->setCharAt(m_column, m_row, {ch, m_frontColor, m_backColor});
            if (m_column < Columns()) {
                ++m_column;
            } else if (m_wrapLines) {
                m_column = 1;
                lineFeed();
            }
        }
        break;
    }
    doChar(ch);
}

void TCustomComTerminal::lineFeed()
{
    if (m_row < Rows())
        ++m_row;
    else
        m_buffer->scrollUp(blank());
}

bool TCustomComTerminal::ExecuteCode(TEscapeCode code)
{
    TEscapeCodes& codes = *m_escapeCodes;
    // Counts of 0 or less move as far as 1 does, as on a real terminal.
    const int count = std::max(codes.param(1), 1);
    switch (code) {
    case ecCursorUp:
    case ecAppCursorUp:
        moveCursor(m_column, m_row - count);
        return true;
    case ecCursorDown:
    case ecAppCursorDown:
        moveCursor(m_column, m_row + count);
        return true;
    case ecCursorRight:
    case ecAppCursorRight:
        moveCursor(m_column + count, m_row);
        return true;
    case ecCursorLeft:
    case ecAppCursorLeft:
        moveCursor(m_column - count, m_row);
        return true;
    case ecCursorHome:
        moveCursor(1, 1);
        return true;
    case ecCursorMove:
        moveCursor(codes.param(2), codes.param(1));
        return true;
    case ecEraseLineFrom:
        m_buffer->eraseLine(m_row, m_column, Columns(), blank());
        return true;
    case ecEraseLine:
        m_buffer->eraseLine(m_row, 1, Columns(), blank());
        return true;
    case ecEraseScreenFrom:
        m_buffer->eraseLine(m_row, m_column, Columns(), blank());
        for (int row = m_row + 1; row <= Rows(); ++row)
            m_buffer->eraseLine(row, 1, Columns(), blank());
        return true;
    case ecEraseScreen:
        m_buffer->eraseScreen(blank());
        return true;
    case ecSetTab:
        m_buffer->setTabStop(m_column, true);
        return true;
    case ecClearTab:
        m_buffer->setTabStop(m_column, false);
        return true;
    case ecClearAllTabs:
        m_buffer->clearAllTabs();
        return true;
    case ecAttributes:
        setAttributes();
        return true;
    case ecSetMode:
    case ecResetMode:
        return true;
    case ecReset:
        m_frontColor = m_fontColor;
        m_backColor = m_color;
        m_buffer = std::make_unique<TComTermBuffer>(Columns(), Rows());
        clearScreen();
        return true;
    case ecSaveCaret:
    case ecSaveCaretAndAttr:
        m_savedColumn = m_column;
        m_savedRow = m_row;
        if (code == ecSaveCaretAndAttr) {
            m_savedFront = m_frontColor;
            m_savedBack = m_backColor;
        }
        return true;
    case ecRestoreCaret:
    case ecRestoreCaretAndAttr:
        moveCursor(m_savedColumn, m_savedRow);
        if (code == ecRestoreCaretAndAttr) {
            m_frontColor = m_savedFront;
            m_backColor = m_savedBack;
        }
        return true;
    case ecTest:
        for (int row = 1; row <= Rows(); ++row)
            for (int column = 1; column <= Columns(); ++column)
                m_buffer->setCharAt(column, row, {'E', m_frontColor, m_backColor});
        return true;
    case ecIdentify:
        reply(ecIdentResponse, {"2"});
        return true;
    case ecQueryDevice:
        reply(ecReportDevice, {});
        return true;
    case ecQueryCursorPos:
        reply(ecReportCursorPos, {std::to_string(m_row), std::to_string(m_column)});
        return true;
    default:
        return false;
    }
}

void TCustomComTerminal::reply(TEscapeCode code, std::vector<std::string> params)
{
    if (m_replyFailed || !m_comPort || !m_comPort->Connected())
        return;
    // Replies are written on the thread that receives, the GUI thread here: they never wait
    // for the peer.
    m_replyRest = m_escapeCodes->CodeText(code, params);
    const std::size_t whole = m_replyRest.size();
    m_replyFailed = !sendReplyRest();
    // Nothing of it went out: dropped, rather than sent late after the peer gave up asking.
    if (m_replyRest.size() == whole)
        m_replyRest.clear();
}

bool TCustomComTerminal::sendReplyRest()
{
    if (m_replyRest.empty())
        return true;
    if (!m_comPort || !m_comPort->Connected()) {
        m_replyRest.clear();
        return true;
    }
    try {
        const int sent = m_comPort->writeTextNow(m_replyRest);
        m_replyRest.erase(0, static_cast<std::size_t>(std::max(sent, 0)));
    } catch (const EComPort&) {
        // A peer that asks and never reads must not stop the reception of what it sends; the
        // rest stays for when the line takes bytes again.
    }
    return m_replyRest.empty();
}

void TCustomComTerminal::setAttributes()
{
    // Black, red, green, yellow, blue, magenta, cyan, white: the ANSI order, as 0xRRGGBB.
    static constexpr TermColor ansi[8] = {0x000000, 0x800000, 0x008000, 0x808000,
                                          0x000080, 0x800080, 0x008080, 0xC0C0C0};
    const auto& params = m_escapeCodes->params();
    const std::size_t n = std::max<std::size_t>(params.size(), 1);
    for (std::size_t i = 0; i < n; ++i) {
        const int value =
            params.empty() || params[i].empty() ? 0 : m_escapeCodes->param(static_cast<int>(i + 1));
        if (value == 0) {
            m_frontColor = m_fontColor;
            m_backColor = m_color;
        } else if (value == 7) {
            std::swap(m_frontColor, m_backColor);
        } else if (value >= 30 && value <= 37) {
            m_frontColor = ansi[value - 30];
        } else if (value >= 40 && value <= 47) {
            m_backColor = ansi[value - 40];
        }
    }
}

void TCustomComTerminal::doChar(char ch)
{
    if (OnChar)
        OnChar(this, ch);
}

void TCustomComTerminal::doStrRecieved(std::string& str)
{
    if (OnStrRecieved)
        OnStrRecieved(this, str);
}

void TCustomComTerminal::doUnhandledCode(TEscapeCode code, const std::string& data)
{
    if (OnUnhandledCode)
        OnUnhandledCode(this, code, data);
}

void TCustomComTerminal::doGetEscapeCodes(std::unique_ptr<TEscapeCodes>& escapeCodes)
{
    if (OnGetEscapeCodes)
        OnGetEscapeCodes(this, escapeCodes);
}
