#include "support/pump.h"

#include "runtime/handover.h"

#include <thread>

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        rt::HandOverQueue::main().serve();
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void pumpFor(std::chrono::milliseconds time)
{
    pumpUntil([] { return false; }, time);
}
