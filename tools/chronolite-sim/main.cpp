// chronolite-sim: a simulated Chronolite chronograph on a pseudo-terminal.
#include "chronolite-sim/options.h"
#include "chronolite-sim/session.h"
#include "chronolite-sim/transmission.h"
#include "chronolite-sim/virtualline.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>
#include <system_error>
#include <unistd.h>

using namespace chronosim;

namespace {

int stopPipe[2] = {-1, -1};

extern "C" void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(stopPipe[1], &byte, 1);
    errno = saved;
}

// Ctrl+C and kill end the session through the pipe, so the link is removed on the way out.
bool installStopSignals()
{
    if (pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    for (const int sig : {SIGINT, SIGTERM, SIGHUP})
        if (sigaction(sig, &sa, nullptr) != 0)
            return false;
    return true;
}

std::optional<std::string> readSource(const std::string& name)
{
    std::ostringstream bytes;
    if (name == "-") {
        bytes << std::cin.rdbuf();
        return bytes.str();
    }
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return std::nullopt;
    bytes << in.rdbuf();
    return bytes.str();
}

std::optional<unsigned> envId(const char* name)
{
    const char* text = std::getenv(name);
    unsigned value = 0;
    if (text == nullptr)
        return std::nullopt;
    const auto end = text + std::strlen(text);
    const auto [ptr, ec] = std::from_chars(text, end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string_view program = "chronolite-sim";
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const auto parsed = parseOptions(args);
    if (!parsed.error.empty()) {
        std::cerr << program << ": " << parsed.error << "\nTry '" << program << " --help'.\n";
        return 2;
    }
    const Options& o = parsed.options;
    if (o.help) {
        std::cout << usageText(program);
        return 0;
    }
    std::cout << std::unitbuf;

    Transmission transmission;
    if (o.rawSource) {
        const auto bytes = readSource(*o.rawSource);
        if (!bytes) {
            std::cerr << program << ": cannot read " << *o.rawSource << ": " << std::strerror(errno)
                      << '\n';
            return 1;
        }
        transmission = rawTransmission(*bytes, o);
        std::cout << "sending " << bytes->size() << " bytes from " << *o.rawSource << '\n';
    } else {
        const std::uint64_t seed =
            o.seed ? *o.seed
                   : (std::uint64_t{std::random_device{}()} << 32 | std::random_device{}());
        transmission = generatedTransmission(o, seed);
        std::cout << o.shots << " shots, mean " << o.mean << " m/s, spread " << o.spread
                  << " m/s, seed " << seed << '\n';
    }

    if (!installStopSignals()) {
        std::cerr << program << ": cannot catch signals: " << std::strerror(errno) << '\n';
        return 1;
    }
    try {
        VirtualLine line;
        std::cout << "virtual line " << line.slavePath() << '\n';
        const auto uid = envId("SUDO_UID");
        const auto gid = envId("SUDO_GID");
        if (geteuid() == 0 && uid && gid) {
            line.handTo(*uid, *gid);
            std::cout << "handed " << line.slavePath() << " to user " << *uid << '\n';
        }
        LinkAttempt link;
        if (o.link) {
            link = makeLink(o.linkPath, line.slavePath());
            if (link.link)
                std::cout << "link " << o.linkPath << " -> " << line.slavePath() << '\n';
            else
                std::cerr << program << ": " << link.message << '\n';
        }

        for (;;) {
            const auto r =
                serveSession(line, transmission, o.writeTimeoutMs, stopPipe[0], std::cout);
            if (r.outcome == Outcome::stopped)
                std::cout << "stopped\n";
            if (!r.detail.empty())
                std::cout << r.detail << '\n';
            if (r.outcome == Outcome::writeTimeout || r.outcome == Outcome::failed)
                return 1;
            if (r.outcome == Outcome::stopped || !o.repeat)
                return 0;
            if (!line.reset())
                std::cerr << program << ": cannot reopen " << line.slavePath()
                          << " to clear it: " << std::strerror(errno) << '\n';
        }
    } catch (const std::system_error& e) {
        std::cerr << program << ": " << e.what() << '\n';
        return 1;
    }
}
