// The port's side of a wake-up: its events in the fixed order, the receive path and the
// handlers they call.
#include "serial/comport.h"

#include "runtime/handover.h"

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
    for (TComEvent event : comEventOrder)
        if (events.contains(event))
            ProcessEvent(event);
}

void TCustomComPort::PortMessage(std::uint32_t maskBit)
{
    if (!Connected())
        return;
    ProcessEvents(MaskToComEvents(maskBit));
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
