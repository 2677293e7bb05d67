// The port's side of a wake-up: its events in the fixed order, the receive path and the
// handlers they call.
#include "serial/comport.h"

#include "runtime/handover.h"

void TCustomComPort::processEvents(TComEvents events)
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
            processEvent(event);
}

void TCustomComPort::PortMessage(std::uint32_t maskBit)
{
    const std::optional<TComEvent> event = portMessageEvent(maskBit);
    if (!Connected() || !event)
        return;
    processEvents(TComEvents{*event});
}

void TCustomComPort::processEvent(TComEvent event)
{
    switch (event) {
    case evError: {
        const TComErrors errors = LineErrors();
        if (!errors.empty())
            doError(errors);
        break;
    }
    case evRxChar:
        receivePath();
        break;
    case evTxEmpty:
        notifyLinks(&TComLink::OnTxActivity, false);
        notifyLinks(&TComLink::OnTxEmpty);
        doTxEmpty();
        break;
    case evBreak:
        doBreak();
        break;
    case evRing:
        notifyLinks(&TComLink::OnRing);
        doRing();
        break;
    case evCTS: {
        const bool on = ModemSignals().contains(csCTS);
        notifyLinks(&TComLink::OnCTSChange, on);
        doCtsChange(on);
        break;
    }
    case evDSR: {
        const bool on = ModemSignals().contains(csDSR);
        notifyLinks(&TComLink::OnDSRChange, on);
        doDsrChange(on);
        break;
    }
    case evRxFlag:
        notifyLinks(&TComLink::OnRxFlag);
        doRxFlag();
        break;
    case evRLSD: {
        const bool on = ModemSignals().contains(csRLSD);
        notifyLinks(&TComLink::OnRLSDChange, on);
        doRlsdChange(on);
        break;
    }
    case evRx80Full:
        doRx80Full();
        break;
    }
}

void TCustomComPort::receivePath()
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
                doRxBuf(buffer.data(), got);
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
        doRxChar(count);
}

// --- notifications

void TCustomComPort::doAfterClose()
{
    if (OnAfterClose)
        OnAfterClose(this);
}
void TCustomComPort::doAfterOpen()
{
    if (OnAfterOpen)
        OnAfterOpen(this);
}
void TCustomComPort::doBeforeClose()
{
    if (OnBeforeClose)
        OnBeforeClose(this);
}
void TCustomComPort::doBeforeOpen()
{
    if (OnBeforeOpen)
        OnBeforeOpen(this);
}
void TCustomComPort::doRxChar(int count)
{
    if (OnRxChar)
        OnRxChar(this, count);
}
void TCustomComPort::doRxBuf(const AnsiChar* buffer, int count)
{
    if (OnRxBuf)
        OnRxBuf(this, buffer, count);
}
void TCustomComPort::doTxEmpty()
{
    if (OnTxEmpty)
        OnTxEmpty(this);
}
void TCustomComPort::doBreak()
{
    if (OnBreak)
        OnBreak(this);
}
void TCustomComPort::doRing()
{
    if (OnRing)
        OnRing(this);
}
void TCustomComPort::doRxFlag()
{
    if (OnRxFlag)
        OnRxFlag(this);
}
void TCustomComPort::doCtsChange(bool onOff)
{
    if (OnCTSChange)
        OnCTSChange(this, onOff);
}
void TCustomComPort::doDsrChange(bool onOff)
{
    if (OnDSRChange)
        OnDSRChange(this, onOff);
}
void TCustomComPort::doError(TComErrors errors)
{
    if (OnError)
        OnError(this, errors);
}
void TCustomComPort::doRlsdChange(bool onOff)
{
    if (OnRLSDChange)
        OnRLSDChange(this, onOff);
}
void TCustomComPort::doRx80Full()
{
    if (OnRx80Full)
        OnRx80Full(this);
}
