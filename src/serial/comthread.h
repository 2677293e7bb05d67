#pragma once

#include "runtime/thread.h"
#include "serial/comport.h"

#include <thread>

// Waits on an open port's device for the events of its Events set and hands each wake-up
// to the port's event processing as its SyncMethod says. Created by the port's opening,
// which starts it last, and destroyed by its closing; destruction signals the stop event
// and returns once the thread has ended, serving hand-overs meanwhile.
//
// An exception from the event processing ends the thread quietly: no further event of
// this opening is delivered, and the port still closes normally.
class TComThread : public rt::Thread {
public:
    explicit TComThread(TCustomComPort& port);
    ~TComThread() override;

    // Signals the stop event without waiting.
    void stop() { m_stop.set(); }
    bool isCurrentThread() const;

protected:
    void execute() override;

private:
    void dispatchEvents();

    TCustomComPort& m_port;
    serial::CommDevice& m_device;
    const TSyncMethod m_syncMethod; // cannot change while the port is open
    serial::Event m_stop;
    // Written by this thread before a hand-over and read only during it.
    TComEvents m_events;
    std::atomic<std::thread::id> m_threadId{};
};
