// Start-up benchmark: the time from starting a program to its window being
// mapped and painted on the X server, and the program's peak resident
// memory at that moment, for Vexlo and for a minimal Qt Widgets program side
// by side on the same display, alternating, over several rounds.
//
//   bench_startup <vexlo> <minimal_window> [rounds]
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double milliseconds;
    long peakKilobytes;
};

template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

std::string titleOf(xcb_connection_t* connection, xcb_window_t window)
{
    XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                               nullptr),
        &std::free);
    if (!reply)
        return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

long peakResidentKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

// Starts the program and waits until a window with the title is mapped and
// has been drawn into.
Sample measure(xcb_connection_t* connection, const xcb_query_extension_reply_t* damage, const char* program,
               const std::string& title)
{
    const auto started = Clock::now();
    pid_t pid = 0;
    char* const argv[] = {const_cast<char*>(program), nullptr};
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    std::set<xcb_window_t> mapped;
    std::set<xcb_window_t> drawn;
    std::map<xcb_window_t, xcb_damage_damage_t> damages;
    Sample sample{-1, -1};
    while (sample.milliseconds < 0) {
        XcbReply<xcb_generic_event_t> event(xcb_wait_for_event(connection), &std::free);
        if (!event) {
            std::fprintf(stderr, "bench_startup: lost the X display\n");
            std::exit(1);
        }
        const std::uint8_t type = event->response_type & 0x7F;
        xcb_window_t window = 0;
        if (type == XCB_CREATE_NOTIFY) {
            window = reinterpret_cast<xcb_create_notify_event_t*>(event.get())->window;
            const xcb_damage_damage_t id = xcb_generate_id(connection);
            xcb_damage_create(connection, id, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            damages[window] = id;
            xcb_flush(connection);
            continue;
        }
        if (type == XCB_MAP_NOTIFY) {
            window = reinterpret_cast<xcb_map_notify_event_t*>(event.get())->window;
            mapped.insert(window);
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
            auto* notify = reinterpret_cast<xcb_damage_notify_event_t*>(event.get());
            window = notify->drawable;
            xcb_damage_subtract(connection, notify->damage, XCB_NONE, XCB_NONE);
            xcb_flush(connection);
            if (mapped.count(window))
                drawn.insert(window);
        } else {
            continue;
        }
        if (mapped.count(window) && drawn.count(window) && titleOf(connection, window) == title) {
            sample.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
            sample.peakKilobytes = peakResidentKilobytes(pid);
        }
    }
    for (const auto& [window, id] : damages)
        xcb_damage_destroy(connection, id);
    xcb_flush(connection);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return sample;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup <vexlo> <minimal_window> [rounds]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 11;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "bench_startup: needs an X display (run it under xvfb-run)\n");
        return 1;
    }
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!damage || !damage->present) {
        std::fprintf(stderr, "bench_startup: the X server lacks the DAMAGE extension\n");
        return 1;
    }
    XcbReply<xcb_damage_query_version_reply_t> version(
        xcb_damage_query_version_reply(connection, xcb_damage_query_version(connection, 1, 1), nullptr), &std::free);
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    std::vector<double> vexloTimes, baseTimes, vexloMemory, baseMemory;
    measure(connection, damage, argv[2], "Baseline"); // warm the file cache for both
    measure(connection, damage, argv[1], "Vexlo 1.1");
    for (int round = 0; round < rounds; ++round) {
        const Sample vexlo = measure(connection, damage, argv[1], "Vexlo 1.1");
        const Sample base = measure(connection, damage, argv[2], "Baseline");
        vexloTimes.push_back(vexlo.milliseconds);
        baseTimes.push_back(base.milliseconds);
        vexloMemory.push_back(static_cast<double>(vexlo.peakKilobytes));
        baseMemory.push_back(static_cast<double>(base.peakKilobytes));
    }
    xcb_disconnect(connection);

    const double vexloTime = median(vexloTimes), baseTime = median(baseTimes);
    const double vexloPeak = median(vexloMemory), basePeak = median(baseMemory);
    std::printf("start-up to window mapped and painted (median of %d rounds)\n", rounds);
    std::printf("  vexlo            %8.1f ms   peak resident %8.0f KiB\n", vexloTime, vexloPeak);
    std::printf("  minimal window   %8.1f ms   peak resident %8.0f KiB\n", baseTime, basePeak);
    std::printf("  ratio            %8.2f      %8.2f        (target <= 1.30 for both)\n", vexloTime / baseTime,
                vexloPeak / basePeak);
    return 0;
}
