#include "app/startuptrace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

const auto kStart = std::chrono::steady_clock::now();
const char* const kTrace = std::getenv("VEXOREL_TRACE_STARTUP");
const bool kTracing = kTrace != nullptr;

} // namespace

void startupMark(const char* phase)
{
    if (!kTracing)
        return;
    const std::chrono::duration<double, std::milli> since =
        std::chrono::steady_clock::now() - kStart;
    std::fprintf(stderr, "%8.2f ms  %s\n", since.count(), phase);
}

bool quitAfterStartup()
{
    return kTracing && std::string_view(kTrace) == "quit";
}
