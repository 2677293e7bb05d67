#include "serial/comthread.h"

#include "runtime/handover.h"

#include <sched.h>

TComThread::TComThread(TCustomComPort& port)
    : m_port(port)
    , m_device(*port.m_device)
    , m_syncMethod(port.SyncMethod())
{
    // EventThreadPriority: only the normal priority exists here.
    m_device.setCommMask(ComEventsToMask(port.Events()));
}

TComThread::~TComThread()
{
    m_stop.set();
    sched_yield();
    waitFor();
}

bool TComThread::isCurrentThread() const
{
    return m_threadId.load() == std::this_thread::get_id();
}

void TComThread::execute()
{
    m_threadId = std::this_thread::get_id();
    struct Ending {
        serial::CommDevice& device;
        // Also when an exception ends the thread: the next opening starts clean.
        ~Ending()
        {
            device.setCommMask(0);
            device.purge(serial::PURGE_TXCLEAR | serial::PURGE_RXCLEAR);
        }
    } ending{m_device};

    std::uint32_t mask = 0;
    while (m_device.waitCommEvent(mask, m_stop)) {
        if (mask == 0)
            continue;
        m_events = MaskToComEvents(mask);
        dispatchEvents();
    }
}

void TComThread::dispatchEvents()
{
    switch (m_syncMethod) {
    case smThreadSync:
        synchronize([this] { m_port.processEvents(m_events); });
        break;
    case smWindowSync: {
        for (TComEvent event : comEventOrder) {
            if (!m_events.contains(event))
                continue;
            const std::uint32_t bit = ComEventsToMask(TComEvents{event});
            TCustomComPort* port = &m_port;
            rt::HandOverQueue::main().send([port, bit] { port->PortMessage(bit); });
        }
        break;
    }
    case smNone:
        m_port.processEvents(m_events);
        break;
    }
}
