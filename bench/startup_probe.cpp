// Start-up time and idle memory of the real program, measured from outside: the probe is an
// X client that watches the root window, starts the program, and stops the clock when the
// program's first top-level window is mapped. Then it lets the program idle and reads its
// resident memory.
//
// Usage: startup_probe <program> [runs]   (needs an X server: run under xvfb-run)

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

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <program> [runs]\n", argv[0]);
        return 2;
    }
    // The program starts in a folder of its own, so its path must not be relative.
    char* program = ::realpath(argv[1], nullptr);
    if (!program) {
        std::perror(argv[1]);
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;

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

    // The first run warms the disk cache and fontconfig's cache; it is not counted.
    runOnce(c, program, workDir, false);
    std::vector<double> times;
    long rss = -1;
    for (int i = 0; i < runs; ++i) {
        const Run r = runOnce(c, program, workDir, i == 0);
        if (r.millis < 0) {
            std::fprintf(stderr, "run %d: no window within 20 s\n", i);
            return 1;
        }
        times.push_back(r.millis);
        if (i == 0)
            rss = r.rssKiB;
    }
    std::sort(times.begin(), times.end());
    std::printf("start to main window mapped: median %.1f ms (min %.1f, max %.1f, %d runs)\n",
                times[times.size() / 2], times.front(), times.back(), runs);
    std::printf("idle resident memory after 2 s: %.1f MB\n", rss / 1024.0);
    xcb_disconnect(c);
    std::remove((workDir + "/Bullets.vx!").c_str());
    ::rmdir(workDir.c_str());
    std::free(program);
    return 0;
}
