#pragma once

// The serial port component.
//
// Threads: everything here is called on the GUI thread, except what the event thread does
// while a port is open (see TComThread): it waits on the device and, by SyncMethod, hands
// each wake-up to the GUI thread and blocks until it has run (smThreadSync), hands each
// event over and goes on as soon as the GUI thread has taken it (smWindowSync), or runs
// the handlers itself (smNone; then handlers run concurrently with the GUI thread, so
// assign them before opening). Close() waits for the event thread's end and serves its
// hand-overs meanwhile, so closing never deadlocks, also from inside a handler.
//
// Blocking: Read() and WriteText() return once their request has completed; a read
// returns the bytes waiting (with the default timeouts), a write waits for room in the
// driver's queue up to its write timeout.

#include "serial/comerror.h"
#include "serial/comsettings.h"
#include "serial/comtypes.h"
#include "serial/os/commdevice.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class TCustomComPort;
class TComThread;
class IniFile;
class RegistryKey;

using TNotifyEvent = std::function<void(TCustomComPort* sender)>;
using TRxCharEvent = std::function<void(TCustomComPort* sender, int count)>;
using TRxBufEvent = std::function<void(TCustomComPort* sender, const AnsiChar* buffer, int count)>;
using TComSignalEvent = std::function<void(TCustomComPort* sender, bool onOff)>;
using TComErrorEvent = std::function<void(TCustomComPort* sender, TComErrors errors)>;

// How another component listens to a port: it fills the slots it wants and registers the
// link; the port lists it but never owns it. Slots run where the port's handlers run.
class TComLink {
public:
    TComSignalEvent OnConnectionChange;
    TRxBufEvent OnRxData;
    TRxBufEvent OnTxData;
    TNotifyEvent OnTxEmpty;
    TNotifyEvent OnRxFlag;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TNotifyEvent OnRing;
    TComSignalEvent OnTxActivity;
    TComSignalEvent OnRxActivity;
};

// One read or write request. It completes before the call that starts it returns; the
// record keeps its kind, the copy of the written bytes and the result.
struct TComAsync {
    enum Kind { Write = 0, Read = 1 };
    Kind kind = Write;
    std::vector<AnsiChar> data; // copy of the bytes being written
    int size = 0;
    int transferred = 0;
    int error = 0; // errno of the completion, 0 when it succeeded
};

void NewAsync(TComAsync*& async);
// Frees the record and clears the reference; harmless on null.
void FreeAsync(TComAsync*& async);

class TCustomComPort {
public:
    TCustomComPort();
    virtual ~TCustomComPort();
    TCustomComPort(const TCustomComPort&) = delete;
    TCustomComPort& operator=(const TCustomComPort&) = delete;

    // --- state and lifecycle
    bool Connected() const { return m_connected.load(); }
    void SetConnected(bool value);
    void Open();
    void Close();
    void BeginUpdate();
    void EndUpdate();

    // Construction from a stored design: while loading, SetConnected only records the
    // value; loaded() then opens, and a failure goes to the unhandled-error handler.
    void beginLoading() { m_loading = true; }
    void loaded();

    // --- settings
    TBaudRate BaudRate() const { return m_baudRate; }
    void SetBaudRate(TBaudRate value);
    std::int32_t CustomBaudRate() const { return m_customBaudRate; }
    void SetCustomBaudRate(std::int32_t value);
    const std::string& Port() const { return m_port; }
    void SetPort(const std::string& value);
    TComParity& Parity() { return m_parity; }
    const TComParity& Parity() const { return m_parity; }
    void SetParity(const TComParity& value);
    TStopBits StopBits() const { return m_stopBits; }
    void SetStopBits(TStopBits value);
    TDataBits DataBits() const { return m_dataBits; }
    void SetDataBits(TDataBits value);
    bool DiscardNull() const { return m_discardNull; }
    void SetDiscardNull(bool value);
    AnsiChar EventChar() const { return m_eventChar; }
    void SetEventChar(AnsiChar value);
    // Takes effect at the next opening.
    TComEvents Events() const { return m_events; }
    void SetEvents(TComEvents value) { m_events = value; }
    TComBuffer& Buffer() { return m_buffer; }
    const TComBuffer& Buffer() const { return m_buffer; }
    void SetBuffer(const TComBuffer& value);
    TComFlowControl& FlowControl() { return m_flowControl; }
    const TComFlowControl& FlowControl() const { return m_flowControl; }
    void SetFlowControl(const TComFlowControl& value);
    TComTimeouts& Timeouts() { return m_timeouts; }
    const TComTimeouts& Timeouts() const { return m_timeouts; }
    void SetTimeouts(const TComTimeouts& value);
    TSyncMethod SyncMethod() const { return m_syncMethod.load(); }
    // Raises code 14 for another value while open.
    void SetSyncMethod(TSyncMethod value);
    bool ReportRxCount() const { return m_reportRxCount.load(); }
    void SetReportRxCount(bool value) { m_reportRxCount = value; }
    // Only the normal priority is used on this platform; the value is kept.
    ThreadPriority EventThreadPriority() const { return m_eventThreadPriority; }
    void SetEventThreadPriority(ThreadPriority value) { m_eventThreadPriority = value; }
    StoredGroupSet StoredGroups() const { return m_storedGroups; }
    void SetStoredGroups(StoredGroupSet value) { m_storedGroups = value; }
    // The component's name: the INI section of the settings store.
    const std::string& name() const { return m_name; }
    void setName(const std::string& value) { m_name = value; }

    // --- applying
    virtual void ApplySettings();
    virtual void ApplyLineSettings();
    virtual void ApplyTimeouts();
    virtual void ApplyBufferSizes();
    // The block ApplyLineSettings() hands to the device.
    serial::DCB makeDcb() const;

    // --- device queries and requests
    int InputCount();
    TComSignals ModemSignals();
    TComErrors LineErrors();
    int Read(void* buffer, int count);
    int ReadAsync(void* buffer, int count, TComAsync* async);
    int WriteText(const std::string& text);
    int WriteTextAsync(const std::string& text, TComAsync* async);
    int Write(const void* buffer, int count);
    int WriteAsync(const void* buffer, int count, TComAsync* async);
    int WaitForAsync(TComAsync* async);
    // Hands the device what it takes at once, never waiting for a peer that does not read;
    // returns the bytes taken, the rest is dropped. Failures raise code 2 as a write does.
    int writeTextNow(const std::string& text);
    void AbortAllAsync();

    // --- links
    void RegisterLink(TComLink* link);
    void UnregisterLink(TComLink* link);

    // Components that keep a pointer to this port ask to be told when it goes, so none is
    // left holding a dangling one. One notification per owner; the port's destructor runs
    // them before it closes.
    void freeNotification(const void* owner, std::function<void()> onDestroy);
    void removeFreeNotification(const void* owner);

    // --- setup dialog and settings store
    void ShowSetupDialog();
    // The Qt layer installs the dialog; without one ShowSetupDialog does nothing.
    static void setSetupDialogRunner(std::function<void(TCustomComPort&)> runner);
    virtual void StoreToRegistry(RegistryKey& key);
    virtual void StoreToIniFile(IniFile& ini);
    virtual void LoadFromRegistry(RegistryKey& key);
    virtual void LoadFromIniFile(IniFile& ini);

    // How devices are opened: the POSIX one unless a test installs a fake.
    void setDeviceOpener(serial::DeviceOpener opener) { m_opener = std::move(opener); }

    // --- events, assigned by the application
    TNotifyEvent OnAfterOpen;
    TNotifyEvent OnAfterClose;
    TNotifyEvent OnBeforeOpen;
    TNotifyEvent OnBeforeClose;
    TRxCharEvent OnRxChar;
    TRxBufEvent OnRxBuf;
    TNotifyEvent OnTxEmpty;
    TNotifyEvent OnBreak;
    TNotifyEvent OnRing;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TNotifyEvent OnRxFlag;
    TComErrorEvent OnError;
    TNotifyEvent OnRx80Full;

protected:
    virtual void OpenDevice();
    virtual void CloseDevice();

    virtual void doAfterClose();
    virtual void doAfterOpen();
    virtual void doBeforeClose();
    virtual void doBeforeOpen();
    virtual void doRxChar(int count);
    virtual void doRxBuf(const AnsiChar* buffer, int count);
    virtual void doTxEmpty();
    virtual void doBreak();
    virtual void doRing();
    virtual void doRxFlag();
    virtual void doCtsChange(bool onOff);
    virtual void doDsrChange(bool onOff);
    virtual void doError(TComErrors errors);
    virtual void doRlsdChange(bool onOff);
    virtual void doRx80Full();

private:
    friend class TComThread;

    // Event processing of one wake-up, in the fixed order.
    void processEvents(TComEvents events);
    void processEvent(TComEvent event);
    // The smWindowSync action for one mask bit; dropped once the port is closed.
    void PortMessage(std::uint32_t maskBit);
    void receivePath();
    void notifyOpened();
    bool applying() const;
    void forEachLink(const std::function<void(TComLink&)>& fn);
    // Calls one slot of every registered link that has it set.
    template <typename Slot, typename... Args>
    void notifyLinks(Slot TComLink::*slot, const Args&... args)
    {
        forEachLink([&](TComLink& l) {
            if (l.*slot)
                (l.*slot)(this, args...);
        });
    }
    void reapRetired();

    std::atomic<bool> m_connected{false};
    bool m_loading = false;
    bool m_connectWhenLoaded = false;
    int m_updateCount = 0;
    std::string m_name = "ComPort";

    TBaudRate m_baudRate = br9600;
    std::int32_t m_customBaudRate = 9600;
    std::string m_port = "COM1";
    TComParity m_parity{this};
    TStopBits m_stopBits = sbOneStopBit;
    TDataBits m_dataBits = dbEight;
    bool m_discardNull = false;
    AnsiChar m_eventChar = 0;
    TComEvents m_events = allComEvents;
    TComBuffer m_buffer{this};
    TComFlowControl m_flowControl{this};
    TComTimeouts m_timeouts{this};
    std::atomic<TSyncMethod> m_syncMethod{smThreadSync};
    std::atomic<bool> m_reportRxCount{true};
    ThreadPriority m_eventThreadPriority = tpNormal;
    StoredGroupSet m_storedGroups{stBasic};

    serial::DeviceOpener m_opener;
    std::unique_ptr<serial::CommDevice> m_device;
    std::unique_ptr<TComThread> m_thread;

    // Links are changed on the GUI thread and, under smNone, walked by the event thread.
    std::mutex m_linkMutex;
    std::vector<TComLink*> m_links;
    std::atomic<bool> m_hasRxDataLink{false};

    // Dispatch depth on the GUI thread: a Close() from inside a handler cannot wait for the
    // event thread, which waits for that very handler; it retires the thread and device,
    // and they are released once the handler has returned.
    int m_dispatchDepth = 0;
    struct Retired {
        std::unique_ptr<TComThread> thread;
        std::unique_ptr<serial::CommDevice> device;
    };
    std::vector<Retired> m_retired;
    std::shared_ptr<TCustomComPort*> m_self;
    std::vector<std::pair<const void*, std::function<void()>>> m_freeNotifications;
};

// The published face of the port; it adds nothing.
class TComPort : public TCustomComPort {
public:
    using TCustomComPort::TCustomComPort;
};
