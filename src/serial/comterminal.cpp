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

TTermChar TComTermBuffer::GetChar(int column, int row) const
{
    if (column < 1 || column > m_columns || row < 1 || row > m_rows)
        return {};
    return m_cells[index(column, row)];
}

void TComTermBuffer::SetChar(int column, int row, const TTermChar& ch)
{
    if (column < 1 || column > m_columns || row < 1 || row > m_rows)
        return;
    m_cells[index(column, row)] = ch;
}

void TComTermBuffer::ScrollUp(const TTermChar& blank)
{
    std::move(m_cells.begin() + m_columns, m_cells.end(), m_cells.begin());
    std::fill(m_cells.end() - m_columns, m_cells.end(), blank);
}

void TComTermBuffer::EraseLine(int row, int from, int to, const TTermChar& blank)
{
    if (row < 1 || row > m_rows)
        return;
    for (int column = std::max(from, 1); column <= std::min(to, m_columns); ++column)
        m_cells[index(column, row)] = blank;
}

void TComTermBuffer::EraseScreen(const TTermChar& blank)
{
    std::fill(m_cells.begin(), m_cells.end(), blank);
}

std::string TComTermBuffer::RowText(int row) const
{
    std::string text;
    for (int column = 1; column <= m_columns; ++column)
        text += GetChar(column, row).ch;
    return text;
}

bool TComTermBuffer::TabStop(int column) const
{
    return column >= 1 && column <= m_columns && m_tabs[static_cast<std::size_t>(column)];
}

void TComTermBuffer::SetTabStop(int column, bool on)
{
    if (column >= 1 && column <= m_columns)
        m_tabs[static_cast<std::size_t>(column)] = on;
}

void TComTermBuffer::ClearAllTabs()
{
    std::fill(m_tabs.begin(), m_tabs.end(), false);
}

int TComTermBuffer::NextTabStop(int column) const
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
        RxBuf(buffer, count);
    };
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
        m_comPort->RemoveFreeNotification(this);
    }
    m_comPort = port;
    if (m_comPort) {
        m_comPort->FreeNotification(this, [this] { SetComPort(nullptr); });
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

void TCustomComTerminal::Loaded()
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
        DoGetEscapeCodes(m_escapeCodes);
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
    m_buffer->EraseScreen(blank());
    m_column = std::min(m_column, columns);
    m_row = std::min(m_row, rows);
    m_savedColumn = std::min(m_savedColumn, columns);
    m_savedRow = std::min(m_savedRow, rows);
}

void TCustomComTerminal::MoveCursor(int column, int row)
{
    m_column = std::clamp(column, 1, Columns());
    m_row = std::clamp(row, 1, Rows());
}

TTermChar TCustomComTerminal::blank() const
{
    return {' ', m_frontColor, m_backColor};
}

void TCustomComTerminal::ClearScreen()
{
    m_buffer->EraseScreen(blank());
    MoveCursor(1, 1);
}

void TCustomComTerminal::WriteStr(const std::string& str)
{
    if (m_comPort && m_comPort->Connected())
        m_comPort->WriteText(str);
}

// --- receiving

void TCustomComTerminal::RxBuf(const AnsiChar* buffer, int count)
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
    DoStrRecieved(str);
    m_replyFailed = false;
    for (char ch : str)
        handleChar(ch);
}

void TCustomComTerminal::handleChar(char ch)
{
    if (!m_escapeCodes) {
        PutChar(ch);
        return;
    }
    switch (m_escapeCodes->FeedChar(ch)) {
    case TFeedResult::Plain:
        PutChar(m_escapeCodes->Character());
        break;
    case TFeedResult::Complete:
        if (!ExecuteCode(m_escapeCodes->Code()))
            DoUnhandledCode(m_escapeCodes->Code(), m_escapeCodes->Data());
        if (m_escapeCodes) // a handler may have switched the emulation off
            m_escapeCodes->ClearParams();
        break;
    case TFeedResult::Incomplete:
        break;
    }
}

void TCustomComTerminal::PutChar(char ch)
{
    switch (ch) {
    case 8:
        m_column = std::max(m_column - 1, 1);
        break;
    case 9:
        m_column = m_buffer->NextTabStop(m_column);
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
            m_buffer->SetChar(m_column, m_row, {ch, m_frontColor, m_backColor});
            if (m_column < Columns()) {
                ++m_column;
            } else if (m_wrapLines) {
                m_column = 1;
                lineFeed();
            }
        }
        break;
    }
    DoChar(ch);
}

void TCustomComTerminal::lineFeed()
{
    if (m_row < Rows())
        ++m_row;
    else
        m_buffer->ScrollUp(blank());
}

bool TCustomComTerminal::ExecuteCode(TEscapeCode code)
{
    TEscapeCodes& codes = *m_escapeCodes;
    // Counts of 0 or less move as far as 1 does, as on a real terminal.
    const int count = std::max(codes.GetParam(1), 1);
    switch (code) {
    case ecCursorUp:
    case ecAppCursorUp:
        MoveCursor(m_column, m_row - count);
        return true;
    case ecCursorDown:
    case ecAppCursorDown:
        MoveCursor(m_column, m_row + count);
        return true;
    case ecCursorRight:
    case ecAppCursorRight:
        MoveCursor(m_column + count, m_row);
        return true;
    case ecCursorLeft:
    case ecAppCursorLeft:
        MoveCursor(m_column - count, m_row);
        return true;
    case ecCursorHome:
        MoveCursor(1, 1);
        return true;
    case ecCursorMove:
        MoveCursor(codes.GetParam(2), codes.GetParam(1));
        return true;
    case ecEraseLineFrom:
        m_buffer->EraseLine(m_row, m_column, Columns(), blank());
        return true;
    case ecEraseLine:
        m_buffer->EraseLine(m_row, 1, Columns(), blank());
        return true;
    case ecEraseScreenFrom:
        m_buffer->EraseLine(m_row, m_column, Columns(), blank());
        for (int row = m_row + 1; row <= Rows(); ++row)
            m_buffer->EraseLine(row, 1, Columns(), blank());
        return true;
    case ecEraseScreen:
        m_buffer->EraseScreen(blank());
        return true;
    case ecSetTab:
        m_buffer->SetTabStop(m_column, true);
        return true;
    case ecClearTab:
        m_buffer->SetTabStop(m_column, false);
        return true;
    case ecClearAllTabs:
        m_buffer->ClearAllTabs();
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
        ClearScreen();
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
        MoveCursor(m_savedColumn, m_savedRow);
        if (code == ecRestoreCaretAndAttr) {
            m_frontColor = m_savedFront;
            m_backColor = m_savedBack;
        }
        return true;
    case ecTest:
        for (int row = 1; row <= Rows(); ++row)
            for (int column = 1; column <= Columns(); ++column)
                m_buffer->SetChar(column, row, {'E', m_frontColor, m_backColor});
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
    if (m_replyFailed)
        return;
    try {
        WriteStr(m_escapeCodes->CodeText(code, params));
    } catch (const EComPort&) {
        // A peer that asks and never reads must not stop the reception of what it sends.
        m_replyFailed = true;
    }
}

void TCustomComTerminal::setAttributes()
{
    // Black, red, green, yellow, blue, magenta, cyan, white: the ANSI order, as 0xRRGGBB.
    static constexpr TColor ansi[8] = {0x000000, 0x800000, 0x008000, 0x808000,
                                       0x000080, 0x800080, 0x008080, 0xC0C0C0};
    const auto& params = m_escapeCodes->Params();
    const std::size_t n = std::max<std::size_t>(params.size(), 1);
    for (std::size_t i = 0; i < n; ++i) {
        const int value = params.empty() || params[i].empty()
                              ? 0
                              : m_escapeCodes->GetParam(static_cast<int>(i + 1));
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

void TCustomComTerminal::DoChar(char ch)
{
    if (OnChar)
        OnChar(this, ch);
}

void TCustomComTerminal::DoStrRecieved(std::string& str)
{
    if (OnStrRecieved)
        OnStrRecieved(this, str);
}

void TCustomComTerminal::DoUnhandledCode(TEscapeCode code, const std::string& data)
{
    if (OnUnhandledCode)
        OnUnhandledCode(this, code, data);
}

void TCustomComTerminal::DoGetEscapeCodes(std::unique_ptr<TEscapeCodes>& escapeCodes)
{
    if (OnGetEscapeCodes)
        OnGetEscapeCodes(this, escapeCodes);
}
