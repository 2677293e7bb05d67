#include "app/startuptrace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

const auto kStart = std::chrono::steady_clock::now();
const bool kTracing = std::getenv("VEXOREL_TRACE_STARTUP") != nullptr;

} // namespace

void startupMark(const char* phase)
{
    if (!kTracing)
        return;
    const std::chrono::duration<double, std::milli> since =
        std::chrono::steady_clock::now() - kStart;
    std::fprintf(stderr, "%8.2f ms  %s\n", since.count(), phase);
}
