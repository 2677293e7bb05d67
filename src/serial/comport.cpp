#include "serial/comport.h"

#include "runtime/handover.h"
#include "serial/comthread.h"
#include "serial/os/posixdevice.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::uint32_t baudRates[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                       14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};

std::function<void(TCustomComPort&)>& setupDialogRunner()
{
    static std::function<void(TCustomComPort&)> runner;
    return runner;
}

} // namespace

// --- requests

void NewAsync(TComAsync*& async)
{
    async = new TComAsync;
}

void FreeAsync(TComAsync*& async)
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

void TCustomComPort::loaded()
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
    doBeforeOpen();
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
            m_thread->start();
        throw;
    }
    if (m_thread)
        m_thread->start();
}

void TCustomComPort::notifyOpened()
{
    notifyLinks(&TComLink::OnConnectionChange, true);
    doAfterOpen();
    const TComSignals cts = ModemSignals();
    notifyLinks(&TComLink::OnCTSChange, cts.contains(csCTS));
    doCtsChange(cts.contains(csCTS));
    const TComSignals dsr = ModemSignals();
    notifyLinks(&TComLink::OnDSRChange, dsr.contains(csDSR));
    doDsrChange(dsr.contains(csDSR));
    const TComSignals rlsd = ModemSignals();
    notifyLinks(&TComLink::OnRLSDChange, rlsd.contains(csRLSD));
    doRlsdChange(rlsd.contains(csRLSD));
}

void TCustomComPort::Close()
{
    if (!Connected())
        return;
    notifyLinks(&TComLink::OnCTSChange, false);
    notifyLinks(&TComLink::OnDSRChange, false);
    notifyLinks(&TComLink::OnRLSDChange, false);
    doCtsChange(false);
    doDsrChange(false);
    doRlsdChange(false);
    doBeforeClose();
    AbortAllAsync();
    if (m_thread) {
        const bool insideOwnHandOver =
            m_thread->isCurrentThread() || (m_dispatchDepth > 0 && SyncMethod() == smThreadSync);
        if (insideOwnHandOver) {
            // The event thread is waiting for the handler that called us; it ends once
            // the handler returns, and the device is closed after it.
            m_thread->stop();
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
    doAfterClose();
}

void TCustomComPort::reapRetired()
{
    if (m_dispatchDepth > 0)
        return;
    for (Retired& r : m_retired)
        if (r.thread && r.thread->isCurrentThread())
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

serial::DCB TCustomComPort::makeDcb() const
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
    if (int e = m_device->setCommState(makeDcb()))
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
    m_parity.assign(value);
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
    m_buffer.assign(value);
    ApplyBufferSizes();
}

void TCustomComPort::SetFlowControl(const TComFlowControl& value)
{
    m_flowControl.assign(value);
    ApplyLineSettings();
}

void TCustomComPort::SetTimeouts(const TComTimeouts& value)
{
    m_timeouts.assign(value);
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

int TCustomComPort::ReadAsync(void* buffer, int count, TComAsync* async)
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

int TCustomComPort::WriteAsync(const void* buffer, int count, TComAsync* async)
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

int TCustomComPort::WriteTextAsync(const std::string& text, TComAsync* async)
{
    if (text.empty())
        return 0;
    return WriteAsync(text.data(), static_cast<int>(text.size()), async);
}

int TCustomComPort::WaitForAsync(TComAsync* async)
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
    TComAsync* async = nullptr;
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
    TComAsync* async = nullptr;
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

int TCustomComPort::writeTextNow(const std::string& text)
{
    if (text.empty())
        return 0;
    if (!m_device)
        throw EComPort(2, EBADF);
    int done = 0;
    if (int e = m_device->writeNow(text.data(), static_cast<int>(text.size()), done))
        throw EComPort(2, e);
    if (done > 0) {
        notifyLinks(&TComLink::OnTxActivity, true);
        notifyLinks(&TComLink::OnTxData, reinterpret_cast<const AnsiChar*>(text.data()), done);
    }
    return done;
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

void TCustomComPort::freeNotification(const void* owner, std::function<void()> onDestroy)
{
    removeFreeNotification(owner);
    m_freeNotifications.emplace_back(owner, std::move(onDestroy));
}

void TCustomComPort::removeFreeNotification(const void* owner)
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

void TCustomComPort::setSetupDialogRunner(std::function<void(TCustomComPort&)> runner)
{
    setupDialogRunner() = std::move(runner);
}

void TCustomComPort::ShowSetupDialog()
{
    if (setupDialogRunner())
        setupDialogRunner()(*this);
}
