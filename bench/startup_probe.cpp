// Start-up time and idle memory of the real program, measured from outside: the probe is an
// X client that watches the root window, starts the program, and stops the clock when the
// program's first top-level window is mapped. Then it lets the program idle and reads its
// resident memory.
//
// Given a reference program too (a bare Qt window), it runs the two in turn, so both see the
// same machine, and prints their ratio.
//
// Usage: startup_probe <program> [reference] [runs]   (needs an X server: run under xvfb-run)

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    }
    return -1;
}

struct Run {
    double millis;
    long rssKiB;
};

bool waitForMap(xcb_connection_t* c, Clock::time_point deadline)
{
    while (Clock::now() < deadline) {
        xcb_generic_event_t* e = xcb_poll_for_event(c);
        if (!e) {
            if (xcb_connection_has_error(c))
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        const bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
        std::free(e);
        if (mapped)
            return true;
    }
    return false;
}

Run runOnce(xcb_connection_t* c, const char* program, const std::string& workDir, bool measureRss)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid = 0;
    const auto start = Clock::now();
    if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    Run run{-1, -1};
    if (waitForMap(c, start + std::chrono::seconds(20))) {
        run.millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (measureRss) {
            std::this_thread::sleep_for(std::chrono::seconds(2));
            run.rssKiB = residentKiB(pid);
        }
    }
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    // Drain what the closing window sent, so the next run starts clean.
    xcb_flush(c);
    while (xcb_generic_event_t* e = xcb_poll_for_event(c))
        std::free(e);
    return run;
}

struct Figures {
    double medianMillis = 0;
    double minMillis = 0;
    double maxMillis = 0;
    double rssMiB = 0;
};

Figures figuresOf(std::vector<double> times, long rssKiB)
{
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), times.back(), rssKiB / 1024.0};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <program> [reference] [runs]\n", argv[0]);
        return 2;
    }
    // The programs start in a folder of their own, so their paths must not be relative.
    std::vector<char*> programs;
    int runs = 9;
    for (int i = 1; i < argc; ++i) {
        if (i == argc - 1 && argc > 2 && std::atoi(argv[i]) > 0) {
            runs = std::atoi(argv[i]);
            break;
        }
        char* program = ::realpath(argv[i], nullptr);
        if (!program) {
            std::perror(argv[i]);
            return 2;
        }
        programs.push_back(program);
    }

    char dirTemplate[] = "/tmp/vexorel-probe-XXXXXX";
    const std::string workDir = ::mkdtemp(dirTemplate);
    std::ofstream(workDir + "/Bullets.vx!") << "JSB Exact 4,52\r\n0,547\r\n";

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X server\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    // The first runs warm the disk cache and fontconfig's cache; they are not counted.
    for (char* program : programs)
        runOnce(c, program, workDir, false);
    std::vector<std::vector<double>> times(programs.size());
    std::vector<long> rss(programs.size(), -1);
    // In turn, so a busy moment of the machine falls on both alike.
    for (int i = 0; i < runs; ++i) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            const Run r = runOnce(c, programs[p], workDir, i == 0);
            if (r.millis < 0) {
                std::fprintf(stderr, "%s, run %d: no window within 20 s\n", programs[p], i);
                return 1;
            }
            times[p].push_back(r.millis);
            if (i == 0)
                rss[p] = r.rssKiB;
        }
    }
    std::vector<Figures> figures;
    for (std::size_t p = 0; p < programs.size(); ++p) {
        figures.push_back(figuresOf(times[p], rss[p]));
        const Figures& f = figures.back();
        std::printf("%s: start to main window mapped: median %.1f ms (min %.1f, max %.1f, %d "
                    "runs); idle resident memory after 2 s: %.1f MB\n",
                    programs[p], f.medianMillis, f.minMillis, f.maxMillis, runs, f.rssMiB);
    }
    if (figures.size() == 2)
        std::printf("ratio to the reference: start-up %.2f, idle memory %.2f\n",
                    figures[0].medianMillis / figures[1].medianMillis,
                    figures[0].rssMiB / figures[1].rssMiB);
    xcb_disconnect(c);
    std::remove((workDir + "/Bullets.vx!").c_str());
    ::rmdir(workDir.c_str());
    for (char* program : programs)
        std::free(program);
    return 0;
}
