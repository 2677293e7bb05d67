#include "serial/comport.h"

#include "runtime/handover.h"
#include "serial/comthread.h"
#include "serial/os/posixdevice.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

struct EventBit {
    TComEvent event;
    std::uint32_t mask;
};

constexpr EventBit eventBits[] = {
    {evRxChar, serial::EV_RXCHAR}, {evTxEmpty, serial::EV_TXEMPTY},
    {evRxFlag, serial::EV_RXFLAG}, {evRing, serial::EV_RING},
    {evBreak, serial::EV_BREAK},   {evCTS, serial::EV_CTS},
    {evDSR, serial::EV_DSR},       {evError, serial::EV_ERR},
    {evRLSD, serial::EV_RLSD},     {evRx80Full, serial::EV_RX80FULL},
};

// The order in which one wake-up's events are processed.
constexpr TComEvent processingOrder[] = {evError, evRxChar, evTxEmpty, evBreak, evRing,
                                         evCTS,   evDSR,    evRxFlag,  evRLSD,  evRx80Full};

constexpr std::uint32_t baudRates[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                       14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};

std::function<void(TCustomComPort&)>& setupDialogRunner()
{
    static std::function<void(TCustomComPort&)> runner;
    return runner;
}

} // namespace

std::uint32_t ComEventsToMask(TComEvents events)
{
    std::uint32_t mask = 0;
    for (const EventBit& b : eventBits)
        if (events.contains(b.event))
            mask |= b.mask;
    return mask;
}

TComEvents MaskToComEvents(std::uint32_t mask)
{
    TComEvents events;
    for (const EventBit& b : eventBits)
        if (mask & b.mask)
            events.insert(b.event);
    return events;
}

// --- EComPort

std::string comErrorText(int code)
{
    static const char* const texts[] = {
        "Unable to open com port",
        "WriteFile function failed",
        "ReadFile function failed",
        "Invalid Async parameter",
        "PurgeComm function failed",
        "Unable to get async status",
        "SetCommState function failed",
        "SetCommTimeouts failed",
        "SetupComm function failed",
        "ClearCommError function failed",
        "GetCommModemStatus function failed",
        "EscapeCommFunction function failed",
        "TransmitCommChar function failed",
        "Cannot set property while connected",
        "EnumPorts function failed",
        "Failed to store settings",
        "Failed to load settings",
        "Link (un)registration failed",
        "Cannot change led state if ComPort is selected",
        "Cannot wait for event if event thread is created",
        "WaitForEvent method failed",
        "A component is linked to OnRxBuf event",
        "Registry error",
    };
    if (code < 1 || code > static_cast<int>(std::size(texts)))
        return {};
    return texts[code - 1];
}

namespace {

std::string comErrorMessage(int code, int winCode)
{
    std::string text = comErrorText(code);
    if (winCode != -1)
        text += " (win error code: " + std::to_string(winCode) + ")";
    return text;
}

} // namespace

EComPort::EComPort(int code, int winCode)
    : rt::Exception(comErrorMessage(code, winCode))
    , m_code(code)
    , m_winCode(winCode)
{
}

// --- settings objects

void TComParity::changed()
{
    if (m_owner)
        m_owner->ApplyLineSettings();
}

void TComParity::Assign(const TComParity& other)
{
    m_bits = other.m_bits;
    m_check = other.m_check.load();
    m_replace = other.m_replace;
    m_replaceChar = other.m_replaceChar;
}

void TComParity::SetBits(TParityBits value)
{
    if (value == m_bits)
        return;
    m_bits = value;
    changed();
}

void TComParity::SetCheck(bool value)
{
    if (value == m_check.load())
        return;
    m_check = value;
    changed();
}

void TComParity::SetReplace(bool value)
{
    if (value == m_replace)
        return;
    m_replace = value;
    changed();
}

void TComParity::SetReplaceChar(AnsiChar value)
{
    if (value == m_replaceChar)
        return;
    m_replaceChar = value;
    changed();
}

void TComFlowControl::changed()
{
    if (m_owner)
        m_owner->ApplyLineSettings();
}

template <typename T> void TComFlowControl::set(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    changed();
}

void TComFlowControl::Assign(const TComFlowControl& other)
{
    m_outCTSFlow = other.m_outCTSFlow;
    m_outDSRFlow = other.m_outDSRFlow;
    m_controlDTR = other.m_controlDTR;
    m_controlRTS = other.m_controlRTS;
    m_xonXoffOut = other.m_xonXoffOut;
    m_xonXoffIn = other.m_xonXoffIn;
    m_dsrSensitivity = other.m_dsrSensitivity;
    m_txContinueOnXoff = other.m_txContinueOnXoff;
    m_xonChar = other.m_xonChar;
    m_xoffChar = other.m_xoffChar;
}

TFlowControl TComFlowControl::FlowControl() const
{
    if (m_controlRTS == rtsHandshake && m_outCTSFlow && !m_xonXoffIn && !m_xonXoffOut)
        return fcHardware;
    if (m_controlRTS == rtsDisable && !m_outCTSFlow && m_xonXoffIn && m_xonXoffOut)
        return fcSoftware;
    if (m_controlRTS == rtsDisable && !m_outCTSFlow && !m_xonXoffIn && !m_xonXoffOut)
        return fcNone;
    return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl value)
{
    if (value != fcCustom) {
        m_controlRTS = rtsDisable;
        m_outCTSFlow = false;
        m_xonXoffIn = false;
        m_xonXoffOut = false;
        if (value == fcHardware) {
            m_controlRTS = rtsHandshake;
            m_outCTSFlow = true;
        } else if (value == fcSoftware) {
            m_xonXoffIn = true;
            m_xonXoffOut = true;
        }
    }
    changed();
}

void TComFlowControl::SetOutCTSFlow(bool value)
{
    set(m_outCTSFlow, value);
}
void TComFlowControl::SetOutDSRFlow(bool value)
{
    set(m_outDSRFlow, value);
}
void TComFlowControl::SetControlDTR(TDTRFlowControl value)
{
    set(m_controlDTR, value);
}
void TComFlowControl::SetControlRTS(TRTSFlowControl value)
{
    set(m_controlRTS, value);
}
void TComFlowControl::SetXonXoffOut(bool value)
{
    set(m_xonXoffOut, value);
}
void TComFlowControl::SetXonXoffIn(bool value)
{
    set(m_xonXoffIn, value);
}
void TComFlowControl::SetDSRSensitivity(bool value)
{
    set(m_dsrSensitivity, value);
}
void TComFlowControl::SetTxContinueOnXoff(bool value)
{
    set(m_txContinueOnXoff, value);
}
void TComFlowControl::SetXonChar(AnsiChar value)
{
    set(m_xonChar, value);
}
void TComFlowControl::SetXoffChar(AnsiChar value)
{
    set(m_xoffChar, value);
}

void TComTimeouts::Assign(const TComTimeouts& other)
{
    m_readInterval = other.m_readInterval;
    m_readTotalMultiplier = other.m_readTotalMultiplier;
    m_readTotalConstant = other.m_readTotalConstant;
    m_writeTotalMultiplier = other.m_writeTotalMultiplier;
    m_writeTotalConstant = other.m_writeTotalConstant;
}

void TComTimeouts::set(std::int32_t& field, std::int32_t value)
{
    if (field == value)
        return;
    field = value;
    if (m_owner)
        m_owner->ApplyTimeouts();
}

void TComTimeouts::SetReadInterval(std::int32_t value)
{
    set(m_readInterval, value);
}
void TComTimeouts::SetReadTotalMultiplier(std::int32_t value)
{
    set(m_readTotalMultiplier, value);
}
void TComTimeouts::SetReadTotalConstant(std::int32_t value)
{
    set(m_readTotalConstant, value);
}
void TComTimeouts::SetWriteTotalMultiplier(std::int32_t value)
{
    set(m_writeTotalMultiplier, value);
}
void TComTimeouts::SetWriteTotalConstant(std::int32_t value)
{
    set(m_writeTotalConstant, value);
}

void TComBuffer::Assign(const TComBuffer& other)
{
    m_inputSize = other.m_inputSize;
    m_outputSize = other.m_outputSize;
}

void TComBuffer::set(std::int32_t& field, std::int32_t value)
{
    // Queue sizes are kept even.
    if (value % 2 == 1)
        --value;
    if (field == value)
        return;
    field = value;
    if (m_owner)
        m_owner->ApplyBufferSizes();
}

void TComBuffer::SetInputSize(std::int32_t value)
{
    set(m_inputSize, value);
}
void TComBuffer::SetOutputSize(std::int32_t value)
{
    set(m_outputSize, value);
}

// --- requests

void NewAsync(PAsync& async)
{
    async = new TComAsync;
}

void FreeAsync(PAsync& async)
{
    delete async;
    async = nullptr;
}

// --- the port

TCustomComPort::TCustomComPort()
    : m_opener(serial::openPosixDevice)
    , m_self(std::make_shared<TCustomComPort*>(this))
{
}

TCustomComPort::~TCustomComPort()
{
    // A bound component unbinds itself here, which may unregister links: work on a copy.
    auto notifications = std::move(m_freeNotifications);
    m_freeNotifications.clear();
    for (auto& [owner, onDestroy] : notifications)
        onDestroy();
    try {
        Close();
    } catch (...) {
        // A failed purge keeps the port open; it is shut down regardless below.
    }
    m_thread.reset();
    reapRetired();
    m_device.reset();
}

void TCustomComPort::SetConnected(bool value)
{
    if (m_loading) {
        m_connectWhenLoaded = value;
        return;
    }
    if (value)
        Open();
    else
        Close();
}

void TCustomComPort::Loaded()
{
    m_loading = false;
    if (!m_connectWhenLoaded)
        return;
    m_connectWhenLoaded = false;
    try {
        Open();
    } catch (...) {
        rt::handleUnhandledError(std::current_exception());
    }
}

void TCustomComPort::Open()
{
    if (Connected())
        return;
    reapRetired();
    DoBeforeOpen();
    OpenDevice();
    m_connected = true;
    try {
        ApplySettings();
    } catch (...) {
        CloseDevice();
        m_connected = false;
        throw;
    }
    if (!m_events.empty())
        m_thread = std::make_unique<TComThread>(*this);
    // Under smNone a handler runs on the event thread and may close the port, so the thread
    // starts only once the opening is done with it; events that come meanwhile wait.
    try {
        notifyOpened();
    } catch (...) {
        if (m_thread)
            m_thread->Start();
        throw;
    }
    if (m_thread)
        m_thread->Start();
}

void TCustomComPort::notifyOpened()
{
    notifyLinks(&TComLink::OnConnectionChange, true);
    DoAfterOpen();
    const TComSignals cts = ModemSignals();
    notifyLinks(&TComLink::OnCTSChange, cts.contains(csCTS));
    DoCTSChange(cts.contains(csCTS));
    const TComSignals dsr = ModemSignals();
    notifyLinks(&TComLink::OnDSRChange, dsr.contains(csDSR));
    DoDSRChange(dsr.contains(csDSR));
    const TComSignals rlsd = ModemSignals();
    notifyLinks(&TComLink::OnRLSDChange, rlsd.contains(csRLSD));
    DoRLSDChange(rlsd.contains(csRLSD));
}

void TCustomComPort::Close()
{
    if (!Connected())
        return;
    notifyLinks(&TComLink::OnCTSChange, false);
    notifyLinks(&TComLink::OnDSRChange, false);
    notifyLinks(&TComLink::OnRLSDChange, false);
    DoCTSChange(false);
    DoDSRChange(false);
    DoRLSDChange(false);
    DoBeforeClose();
    AbortAllAsync();
    if (m_thread) {
        const bool insideOwnHandOver =
            m_thread->IsCurrentThread() || (m_dispatchDepth > 0 && SyncMethod() == smThreadSync);
        if (insideOwnHandOver) {
            // The event thread is waiting for the handler that called us; it ends once
            // the handler returns, and the device is closed after it.
            m_thread->Stop();
            m_retired.push_back({std::move(m_thread), std::move(m_device)});
            std::weak_ptr<TCustomComPort*> self = m_self;
            rt::HandOverQueue::main().post([self] {
                if (auto port = self.lock())
                    (*port)->reapRetired();
            });
        } else {
            m_thread.reset();
        }
    }
    CloseDevice();
    m_connected = false;
    notifyLinks(&TComLink::OnConnectionChange, false);
    DoAfterClose();
}

void TCustomComPort::reapRetired()
{
    if (m_dispatchDepth > 0)
        return;
    for (Retired& r : m_retired)
        if (r.thread && r.thread->IsCurrentThread())
            return;
    std::vector<Retired> retired = std::move(m_retired);
    m_retired.clear();
    // Threads first: each ends before its device closes.
    for (Retired& r : retired)
        r.thread.reset();
}

void TCustomComPort::OpenDevice()
{
    int error = 0;
    m_device = m_opener(m_port, error);
    if (!m_device)
        throw EComPort(1, error);
}

void TCustomComPort::CloseDevice()
{
    m_device.reset();
}

void TCustomComPort::BeginUpdate()
{
    ++m_updateCount;
}

void TCustomComPort::EndUpdate()
{
    if (m_updateCount == 0)
        return;
    if (--m_updateCount == 0)
        ApplySettings();
}

bool TCustomComPort::applying() const
{
    return Connected() && m_device && m_updateCount == 0 && !m_loading;
}

void TCustomComPort::ApplySettings()
{
    ApplyBufferSizes();
    ApplyLineSettings();
    ApplyTimeouts();
}

serial::DCB TCustomComPort::MakeDCB() const
{
    using namespace serial;
    DCB dcb;
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = m_baudRate == brCustom ? static_cast<std::uint32_t>(m_customBaudRate)
                                          : baudRates[m_baudRate];
    const bool replace = m_parity.Check() && m_parity.Replace();
    std::uint32_t f = dcbBinary;
    if (m_parity.Check())
        f |= dcbParity;
    if (m_flowControl.OutCTSFlow())
        f |= dcbOutxCtsFlow;
    if (m_flowControl.OutDSRFlow())
        f |= dcbOutxDsrFlow;
    f |= static_cast<std::uint32_t>(m_flowControl.ControlDTR()) << dcbDtrControlShift;
    if (m_flowControl.DSRSensitivity())
        f |= dcbDsrSensitivity;
    if (m_flowControl.TxContinueOnXoff())
        f |= dcbTXContinueOnXoff;
    if (m_flowControl.XonXoffOut())
        f |= dcbOutX;
    if (m_flowControl.XonXoffIn())
        f |= dcbInX;
    if (replace)
        f |= dcbErrorChar;
    if (m_discardNull)
        f |= dcbNull;
    f |= static_cast<std::uint32_t>(m_flowControl.ControlRTS()) << dcbRtsControlShift;
    dcb.Flags = f;
    dcb.XonLim = static_cast<std::uint16_t>(m_buffer.InputSize() / 4);
    dcb.XoffLim = dcb.XonLim;
    dcb.ByteSize = static_cast<std::uint8_t>(5 + m_dataBits);
    dcb.Parity = static_cast<std::uint8_t>(m_parity.Bits());
    dcb.StopBits = static_cast<std::uint8_t>(m_stopBits);
    dcb.XonChar = m_flowControl.XonChar();
    dcb.XoffChar = m_flowControl.XoffChar();
    dcb.ErrorChar = replace ? m_parity.ReplaceChar() : 0;
    dcb.EofChar = 0;
    dcb.EvtChar = m_eventChar;
    return dcb;
}

void TCustomComPort::ApplyLineSettings()
{
    if (!applying())
        return;
    if (int e = m_device->setCommState(MakeDCB()))
        throw EComPort(7, e);
}

void TCustomComPort::ApplyTimeouts()
{
    if (!applying())
        return;
    serial::COMMTIMEOUTS t;
    t.ReadIntervalTimeout = static_cast<std::uint32_t>(m_timeouts.ReadInterval());
    t.ReadTotalTimeoutMultiplier = static_cast<std::uint32_t>(m_timeouts.ReadTotalMultiplier());
    t.ReadTotalTimeoutConstant = static_cast<std::uint32_t>(m_timeouts.ReadTotalConstant());
    t.WriteTotalTimeoutMultiplier = static_cast<std::uint32_t>(m_timeouts.WriteTotalMultiplier());
    t.WriteTotalTimeoutConstant = static_cast<std::uint32_t>(m_timeouts.WriteTotalConstant());
    if (int e = m_device->setCommTimeouts(t))
        throw EComPort(8, e);
}

void TCustomComPort::ApplyBufferSizes()
{
    if (!applying())
        return;
    if (int e = m_device->setupComm(m_buffer.InputSize(), m_buffer.OutputSize()))
        throw EComPort(9, e);
}

// --- setters

void TCustomComPort::SetBaudRate(TBaudRate value)
{
    if (value == m_baudRate)
        return;
    m_baudRate = value;
    ApplyLineSettings();
}

void TCustomComPort::SetCustomBaudRate(std::int32_t value)
{
    if (value == m_customBaudRate)
        return;
    m_customBaudRate = value;
    ApplyLineSettings();
}

void TCustomComPort::SetPort(const std::string& value)
{
    if (value == m_port)
        return;
    m_port = value;
    if (Connected() && !m_loading) {
        Close();
        Open();
    }
}

void TCustomComPort::SetParity(const TComParity& value)
{
    m_parity.Assign(value);
    ApplyLineSettings();
}

void TCustomComPort::SetStopBits(TStopBits value)
{
    if (value == m_stopBits)
        return;
    m_stopBits = value;
    ApplyLineSettings();
}

void TCustomComPort::SetDataBits(TDataBits value)
{
    if (value == m_dataBits)
        return;
    m_dataBits = value;
    ApplyLineSettings();
}

void TCustomComPort::SetDiscardNull(bool value)
{
    if (value == m_discardNull)
        return;
    m_discardNull = value;
    ApplyLineSettings();
}

void TCustomComPort::SetEventChar(AnsiChar value)
{
    if (value == m_eventChar)
        return;
    m_eventChar = value;
    ApplyLineSettings();
}

void TCustomComPort::SetBuffer(const TComBuffer& value)
{
    m_buffer.Assign(value);
    ApplyBufferSizes();
}

void TCustomComPort::SetFlowControl(const TComFlowControl& value)
{
    m_flowControl.Assign(value);
    ApplyLineSettings();
}

void TCustomComPort::SetTimeouts(const TComTimeouts& value)
{
    m_timeouts.Assign(value);
    ApplyTimeouts();
}

void TCustomComPort::SetSyncMethod(TSyncMethod value)
{
    if (value == m_syncMethod.load())
        return;
    if (Connected() && !m_loading)
        throw EComPort(14);
    m_syncMethod = value;
}

// --- device queries and requests

int TCustomComPort::InputCount()
{
    std::uint32_t errors = 0;
    int count = 0;
    if (!m_device)
        throw EComPort(10, EBADF);
    if (int e = m_device->clearCommError(errors, count))
        throw EComPort(10, e);
    return count;
}

TComSignals TCustomComPort::ModemSignals()
{
    std::uint32_t status = 0;
    if (!m_device)
        throw EComPort(11, EBADF);
    if (int e = m_device->getModemStatus(status))
        throw EComPort(11, e);
    TComSignals signals;
    if (status & serial::MS_CTS_ON)
        signals.insert(csCTS);
    if (status & serial::MS_DSR_ON)
        signals.insert(csDSR);
    if (status & serial::MS_RING_ON)
        signals.insert(csRing);
    if (status & serial::MS_RLSD_ON)
        signals.insert(csRLSD);
    return signals;
}

TComErrors TCustomComPort::LineErrors()
{
    std::uint32_t errors = 0;
    int count = 0;
    if (!m_device)
        throw EComPort(10, EBADF);
    if (int e = m_device->clearCommError(errors, count))
        throw EComPort(10, e);
    TComErrors result;
    if (errors & serial::CE_FRAME)
        result.insert(ceFrame);
    if ((errors & serial::CE_RXPARITY) && m_parity.Check())
        result.insert(ceRxParity);
    if (errors & serial::CE_OVERRUN)
        result.insert(ceOverrun);
    if (errors & serial::CE_BREAK)
        result.insert(ceBreak);
    if (errors & serial::CE_IOE)
        result.insert(ceIOE);
    if (errors & serial::CE_MODE)
        result.insert(ceMode);
    if (errors & serial::CE_RXOVER)
        result.insert(ceRxOver);
    if (errors & serial::CE_TXFULL)
        result.insert(ceTxFull);
    return result;
}

int TCustomComPort::ReadAsync(void* buffer, int count, PAsync async)
{
    if (!async)
        throw EComPort(4);
    async->kind = TComAsync::Read;
    async->data.clear();
    async->size = 0;
    async->transferred = 0;
    async->error = 0;
    if (!m_device)
        throw EComPort(3, EBADF);
    int done = 0;
    if (int e = m_device->read(buffer, count, done))
        throw EComPort(3, e);
    async->transferred = done;
    return done;
}

int TCustomComPort::WriteAsync(const void* buffer, int count, PAsync async)
{
    if (!async)
        throw EComPort(4);
    async->kind = TComAsync::Write;
    const auto* bytes = static_cast<const AnsiChar*>(buffer);
    async->data.assign(bytes, bytes + std::max(count, 0));
    async->size = std::max(count, 0);
    async->transferred = 0;
    async->error = 0;
    if (!m_device)
        throw EComPort(2, EBADF);
    int done = 0;
    if (int e = m_device->write(async->data.data(), async->size, done))
        throw EComPort(2, e);
    async->transferred = done;
    notifyLinks(&TComLink::OnTxActivity, true);
    return done;
}

int TCustomComPort::WriteTextAsync(const std::string& text, PAsync async)
{
    if (text.empty())
        return 0;
    return WriteAsync(text.data(), static_cast<int>(text.size()), async);
}

int TCustomComPort::WaitForAsync(PAsync async)
{
    if (!async)
        throw EComPort(4);
    // Requests have completed when they were started; what remains is their result.
    if (async->error)
        throw EComPort(async->kind == TComAsync::Read ? 3 : 2, async->error);
    if (async->kind == TComAsync::Read && InputCount() == 0) {
        notifyLinks(&TComLink::OnRxActivity, false);
    } else if (!async->data.empty()) {
        notifyLinks(&TComLink::OnTxData, async->data.data(), async->size);
    }
    return async->transferred;
}

int TCustomComPort::Read(void* buffer, int count)
{
    PAsync async = nullptr;
    NewAsync(async);
    try {
        ReadAsync(buffer, count, async);
        const int result = WaitForAsync(async);
        FreeAsync(async);
        return result;
    } catch (...) {
        FreeAsync(async);
        throw;
    }
}

int TCustomComPort::Write(const void* buffer, int count)
{
    PAsync async = nullptr;
    NewAsync(async);
    try {
        WriteAsync(buffer, count, async);
        const int result = WaitForAsync(async);
        FreeAsync(async);
        return result;
    } catch (...) {
        FreeAsync(async);
        throw;
    }
}

int TCustomComPort::WriteText(const std::string& text)
{
    if (text.empty())
        return 0;
    return Write(text.data(), static_cast<int>(text.size()));
}

void TCustomComPort::AbortAllAsync()
{
    if (!m_device)
        return;
    if (int e = m_device->purge(serial::PURGE_TXABORT | serial::PURGE_RXABORT))
        throw EComPort(5, e);
}

// --- links

void TCustomComPort::RegisterLink(TComLink* link)
{
    std::lock_guard lock(m_linkMutex);
    if (!link || std::find(m_links.begin(), m_links.end(), link) != m_links.end())
        throw EComPort(18);
    m_links.push_back(link);
    m_hasRxDataLink = std::any_of(m_links.begin(), m_links.end(),
                                  [](const TComLink* l) { return bool(l->OnRxData); });
}

void TCustomComPort::UnregisterLink(TComLink* link)
{
    std::lock_guard lock(m_linkMutex);
    const auto it = std::find(m_links.begin(), m_links.end(), link);
    if (it == m_links.end())
        throw EComPort(18);
    m_links.erase(it);
    m_hasRxDataLink = std::any_of(m_links.begin(), m_links.end(),
                                  [](const TComLink* l) { return bool(l->OnRxData); });
}

void TCustomComPort::FreeNotification(const void* owner, std::function<void()> onDestroy)
{
    RemoveFreeNotification(owner);
    m_freeNotifications.emplace_back(owner, std::move(onDestroy));
}

void TCustomComPort::RemoveFreeNotification(const void* owner)
{
    std::erase_if(m_freeNotifications, [owner](const auto& n) { return n.first == owner; });
}

void TCustomComPort::forEachLink(const std::function<void(TComLink&)>& fn)
{
    std::vector<TComLink*> links;
    {
        std::lock_guard lock(m_linkMutex);
        links = m_links;
    }
    for (TComLink* link : links)
        fn(*link);
}

// --- setup dialog

void TCustomComPort::SetSetupDialogRunner(std::function<void(TCustomComPort&)> runner)
{
    setupDialogRunner() = std::move(runner);
}

void TCustomComPort::ShowSetupDialog()
{
    if (setupDialogRunner())
        setupDialogRunner()(*this);
}

// --- event processing

void TCustomComPort::ProcessEvents(TComEvents events)
{
    const bool onGui = rt::isMainThread();
    if (onGui)
        ++m_dispatchDepth;
    struct Leave {
        int* depth;
        ~Leave()
        {
            if (depth)
                --*depth;
        }
    } leave{onGui ? &m_dispatchDepth : nullptr};
    for (TComEvent event : processingOrder)
        if (events.contains(event))
            ProcessEvent(event);
}

void TCustomComPort::PortMessage(std::uint32_t maskBit)
{
    if (!Connected())
        return;
    for (const EventBit& b : eventBits)
        if (b.mask == maskBit) {
            ProcessEvents(TComEvents{b.event});
            return;
        }
}

void TCustomComPort::ProcessEvent(TComEvent event)
{
    switch (event) {
    case evError: {
        const TComErrors errors = LineErrors();
        if (!errors.empty())
            DoError(errors);
        break;
    }
    case evRxChar:
        ReceivePath();
        break;
    case evTxEmpty:
        notifyLinks(&TComLink::OnTxActivity, false);
        notifyLinks(&TComLink::OnTxEmpty);
        DoTxEmpty();
        break;
    case evBreak:
        DoBreak();
        break;
    case evRing:
        notifyLinks(&TComLink::OnRing);
        DoRing();
        break;
    case evCTS: {
        const bool on = ModemSignals().contains(csCTS);
        notifyLinks(&TComLink::OnCTSChange, on);
        DoCTSChange(on);
        break;
    }
    case evDSR: {
        const bool on = ModemSignals().contains(csDSR);
        notifyLinks(&TComLink::OnDSRChange, on);
        DoDSRChange(on);
        break;
    }
    case evRxFlag:
        notifyLinks(&TComLink::OnRxFlag);
        DoRxFlag();
        break;
    case evRLSD: {
        const bool on = ModemSignals().contains(csRLSD);
        notifyLinks(&TComLink::OnRLSDChange, on);
        DoRLSDChange(on);
        break;
    }
    case evRx80Full:
        DoRx80Full();
        break;
    }
}

void TCustomComPort::ReceivePath()
{
    int count = InputCount();
    if (count == 0)
        return;
    notifyLinks(&TComLink::OnRxActivity, true);
    if (m_hasRxDataLink.load() || !ReportRxCount()) {
        std::vector<TComLink*> links;
        {
            std::lock_guard lock(m_linkMutex);
            links = m_links;
        }
        std::vector<AnsiChar> buffer;
        bool taken = false;
        auto take = [&] {
            buffer.resize(static_cast<std::size_t>(count));
            // Hand on only what was really read: a purge may have emptied the queue
            // between the count and the read.
            const int got = Read(buffer.data(), count);
            buffer.resize(static_cast<std::size_t>(got));
            taken = true;
            if (got > 0)
                DoRxBuf(buffer.data(), got);
        };
        for (std::size_t i = 0; i < links.size(); ++i) {
            if (!links[i]->OnRxData)
                continue;
            take();
            for (std::size_t j = i; j < links.size() && !buffer.empty(); ++j)
                if (links[j]->OnRxData)
                    links[j]->OnRxData(this, buffer.data(), static_cast<int>(buffer.size()));
            break;
        }
        if (!taken && !ReportRxCount())
            take();
        if (taken)
            count = 0;
    }
    if (count > 0)
        DoRxChar(count);
}

// --- notifications

void TCustomComPort::DoAfterClose()
{
    if (OnAfterClose)
        OnAfterClose(this);
}
void TCustomComPort::DoAfterOpen()
{
    if (OnAfterOpen)
        OnAfterOpen(this);
}
void TCustomComPort::DoBeforeClose()
{
    if (OnBeforeClose)
        OnBeforeClose(this);
}
void TCustomComPort::DoBeforeOpen()
{
    if (OnBeforeOpen)
        OnBeforeOpen(this);
}
void TCustomComPort::DoRxChar(int count)
{
    if (OnRxChar)
        OnRxChar(this, count);
}
void TCustomComPort::DoRxBuf(const AnsiChar* buffer, int count)
{
    if (OnRxBuf)
        OnRxBuf(this, buffer, count);
}
void TCustomComPort::DoTxEmpty()
{
    if (OnTxEmpty)
        OnTxEmpty(this);
}
void TCustomComPort::DoBreak()
{
    if (OnBreak)
        OnBreak(this);
}
void TCustomComPort::DoRing()
{
    if (OnRing)
        OnRing(this);
}
void TCustomComPort::DoRxFlag()
{
    if (OnRxFlag)
        OnRxFlag(this);
}
void TCustomComPort::DoCTSChange(bool onOff)
{
    if (OnCTSChange)
        OnCTSChange(this, onOff);
}
void TCustomComPort::DoDSRChange(bool onOff)
{
    if (OnDSRChange)
        OnDSRChange(this, onOff);
}
void TCustomComPort::DoError(TComErrors errors)
{
    if (OnError)
        OnError(this, errors);
}
void TCustomComPort::DoRLSDChange(bool onOff)
{
    if (OnRLSDChange)
        OnRLSDChange(this, onOff);
}
void TCustomComPort::DoRx80Full()
{
    if (OnRx80Full)
        OnRx80Full(this);
}
