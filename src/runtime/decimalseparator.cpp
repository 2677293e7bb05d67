#include "runtime/decimalseparator.h"

#include <atomic>

namespace rt {

namespace {
// Atomic so a worker formatting numbers never races the start-up write; nothing is ordered
// by it, hence relaxed.
std::atomic<char> g_separator{','};
} // namespace

char decimalSeparator()
{
    return g_separator.load(std::memory_order_relaxed);
}

void setDecimalSeparator(char c)
{
    g_separator.store(c, std::memory_order_relaxed);
}

} // namespace rt
