// Start-up benchmark: the time from starting a program to its window being
// mapped and painted on the X server, and the program's peak resident
// memory at that moment, for Vexlo, for a plain Qt Widgets program showing
// the same window (the floor for this window) and for one showing an empty
// window, side by side on the same display, in turn, over several rounds.
// Then the cold D-Bus activation: on a private session bus that starts the
// built Vexlo, the time from a client's first call, with no Vexlo running,
// to its reply.
//
//   bench_startup <vexlo> <plain_window> <minimal_window> [rounds]
#include "BenchBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

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

const QString kService = QStringLiteral("Vexlo.Application");

// One cold activation: the first call's round trip in milliseconds (negative
// when it failed); the started Vexlo is killed and gone from the bus after.
double activateOnce(QDBusConnection& bus)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, QStringLiteral("/Vexlo/Application"),
                                                       QStringLiteral("org.freedesktop.DBus.Properties"),
                                                       QStringLiteral("Get"));
    call << QStringLiteral("Vexlo._Application") << QStringLiteral("ProcID");
    QElapsedTimer clock;
    clock.start();
    const QDBusMessage reply = bus.call(call, QDBus::Block, 30000);
    const double milliseconds = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (reply.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "bench_startup: Vexlo did not answer: %s\n", qPrintable(reply.errorMessage()));
        return -1;
    }
    const auto pid = static_cast<pid_t>(reply.arguments().value(0).value<QDBusVariant>().variant().toLongLong());
    if (pid > 0)
        kill(pid, SIGKILL);
    clock.restart();
    while (clock.elapsed() < 10000 && ((pid > 0 && bench::isRunning(pid)) || bus.interface()->isServiceRegistered(kService)))
        QThread::msleep(10);
    return milliseconds;
}

// Median of the cold activations, negative when one failed.
double coldActivation(int rounds)
{
    QTemporaryDir directory;
    QProcess daemon;
    const QString address = bench::startBus(daemon, directory.path());
    if (address.isEmpty()) {
        std::fprintf(stderr, "bench_startup: dbus-daemon did not start\n");
        return -1;
    }
    std::vector<double> times;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("activation"));
        activateOnce(bus); // warm the file cache
        for (int round = 0; round < rounds && (times.empty() || times.back() >= 0); ++round)
            times.push_back(activateOnce(bus));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("activation"));
    daemon.kill();
    daemon.waitForFinished();
    if (times.empty() || *std::min_element(times.begin(), times.end()) < 0)
        return -1;
    return median(times);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_startup <vexlo> <plain_window> <minimal_window> [rounds]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const char* const vexloProgram = argv[1];
    const char* const plainProgram = argv[2];
    const char* const minimalProgram = argv[3];
    const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 11;
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

    struct Program {
        const char* path;
        std::string title;
        std::vector<double> times;
        std::vector<double> memory;
    };
    Program programs[] = {{vexloProgram, "Vexlo 1.1", {}, {}},
                          {plainProgram, "Plain window", {}, {}},
                          {minimalProgram, "Baseline", {}, {}}};
    for (Program& program : programs) // warm the file cache for each
        measure(connection, damage, program.path, program.title);
    for (int round = 0; round < rounds; ++round) {
        for (Program& program : programs) {
            const Sample sample = measure(connection, damage, program.path, program.title);
            program.times.push_back(sample.milliseconds);
            program.memory.push_back(static_cast<double>(sample.peakKilobytes));
        }
    }
    xcb_disconnect(connection);

    const double activation = coldActivation(rounds);

    const double vexloTime = median(programs[0].times), plainTime = median(programs[1].times),
                 baseTime = median(programs[2].times);
    const double vexloPeak = median(programs[0].memory), plainPeak = median(programs[1].memory),
                 basePeak = median(programs[2].memory);
    std::printf("start-up to window mapped and painted (median of %d rounds)\n", rounds);
    std::printf("  vexlo                       %8.1f ms   peak resident %8.0f KiB\n", vexloTime, vexloPeak);
    std::printf("  plain Qt, the same window   %8.1f ms   peak resident %8.0f KiB\n", plainTime, plainPeak);
    std::printf("  minimal window (empty)      %8.1f ms   peak resident %8.0f KiB\n", baseTime, basePeak);
    std::printf("  ratio to the same window    %8.2f      %8.2f        (target: time <= 1.15)\n",
                vexloTime / plainTime, vexloPeak / plainPeak);
    std::printf("  ratio to the empty window   %8.2f      %8.2f\n", vexloTime / baseTime, vexloPeak / basePeak);
    if (activation < 0) {
        std::printf("cold D-Bus activation: failed\n");
        return 1;
    }
    std::printf("cold D-Bus activation, first call to its reply (median of %d)\n", rounds);
    std::printf("  activation                  %8.1f ms   (start-up of vexlo above: %.1f ms)\n", activation,
                vexloTime);
    return 0;
}
