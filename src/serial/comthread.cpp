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
    WaitFor();
}

bool TComThread::IsCurrentThread() const
{
    return m_threadId.load() == std::this_thread::get_id();
}

void TComThread::Execute()
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
        DispatchEvents();
    }
}

void TComThread::DispatchEvents()
{
    switch (m_syncMethod) {
    case smThreadSync:
        Synchronize([this] { m_port.ProcessEvents(m_events); });
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
        m_port.ProcessEvents(m_events);
        break;
    }
}
