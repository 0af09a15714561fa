// The glowing label in the shown main window: how many ticks its timer runs
// per second, the CPU time the window uses over 10 s with the glow running,
// as a share of one core, and the delay between
// a key pressed on the real X server and its echo in the length box (the box
// repainted with the new text), over many presses at random moments of the
// glow's ticks. Run it under xvfb-run.
#include "frmMain.h"
#include "frmMainWindow.h"

#include "ui/Fonts.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kKeyPresses = 60;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

xcb_keycode_t keycodeOf(xcb_connection_t* connection, xcb_keysym_t keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto* reply = xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, static_cast<std::uint8_t>(count)), nullptr);
    xcb_keycode_t found = 0;
    if (reply) {
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply);
        for (int i = 0; i < count && !found; ++i) {
            if (keysyms[i * reply->keysyms_per_keycode] == keysym)
                found = static_cast<xcb_keycode_t>(setup->min_keycode + i);
        }
        std::free(reply);
    }
    return found;
}

// Watches the length box: every key changes its text once; a change is
// echoed when the box is next painted (two keys handled in one go share
// one paint).
class EchoWatcher : public QObject {
public:
    explicit EchoWatcher(QLineEdit* box) : m_box(box)
    {
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this] { ++m_unechoed; });
    }
    std::vector<Clock::time_point> echoes() const
    {
        std::lock_guard lock(m_mutex);
        return m_echoes;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_box && event->type() == QEvent::Paint && m_unechoed > 0) {
            std::lock_guard lock(m_mutex);
            m_echoes.insert(m_echoes.end(), static_cast<std::size_t>(m_unechoed), Clock::now());
            m_unechoed = 0;
        }
        return false;
    }

private:
    QLineEdit* m_box;
    int m_unechoed = 0;
    mutable std::mutex m_mutex;
    std::vector<Clock::time_point> m_echoes;
};

} // namespace

int main(int argc, char** argv)
{
    ui::FontPreparation fonts;
    QApplication app(argc, argv);
    fonts.wait();
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "bench_window: needs an X display (run it under xvfb-run)\n");
        return 1;
    }
    frmMain form;
    form.Show();
    QLineEdit* box = form.window().txtPassLen;
    auto* glowLabel = dynamic_cast<QObject*>(form.window().XGlowLabel1.get());
    auto* glowTimer = glowLabel ? glowLabel->findChild<QTimer*>(QStringLiteral("Timer1")) : nullptr;
    if (!glowTimer) {
        std::fprintf(stderr, "bench_window: the glowing label's timer Timer1 was not found\n");
        return 1;
    }
    int ticks = 0;
    QObject::connect(glowTimer, &QTimer::timeout, &app, [&ticks] { ++ticks; });

    // 1. CPU time of the idle window with the glow running.
    QTimer::singleShot(1000, &app, [] { QCoreApplication::exit(0); }); // settle
    QApplication::exec();
    const auto idleStart = Clock::now();
    const double cpuStart = cpuSeconds();
    ticks = 0;
    QTimer::singleShot(10000, Qt::PreciseTimer, &app, [] { QCoreApplication::exit(0); });
    QApplication::exec();
    const double wall = std::chrono::duration<double>(Clock::now() - idleStart).count();
    const double cpuShare = (cpuSeconds() - cpuStart) / wall;
    const double ticksPerSecond = ticks / wall;

    // 2. Key echo: a sender thread presses keys through XTest at random
    // moments; the window's thread records when each echo was painted.
    box->activateWindow();
    box->setFocus();
    box->clear();
    EchoWatcher watcher(box);
    std::vector<Clock::time_point> sent;
    std::atomic<bool> done{false};
    std::thread sender([&] {
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        const xcb_keycode_t digit = keycodeOf(connection, 0x0031);     // "1"
        const xcb_keycode_t backspace = keycodeOf(connection, 0xff08); // BackSpace
        std::mt19937 random(1211);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        for (int i = 0; i < kKeyPresses; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(40 + random() % 90));
            const xcb_keycode_t key = i % 2 == 0 ? digit : backspace;
            sent.push_back(Clock::now());
            xcb_test_fake_input(connection, XCB_KEY_PRESS, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
            xcb_test_fake_input(connection, XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
            xcb_flush(connection);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        xcb_disconnect(connection);
        done = true;
        QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    });
    QApplication::exec();
    sender.join();

    const std::vector<Clock::time_point> echoes = watcher.echoes();
    std::vector<double> delays;
    for (std::size_t i = 0; i < sent.size() && i < echoes.size(); ++i)
        delays.push_back(std::chrono::duration<double, std::milli>(echoes[i] - sent[i]).count());
    std::sort(delays.begin(), delays.end());

    std::printf("the shown main window with the glow running\n");
    std::printf("  glow ticks over %.1f s idle %6.1f per second     (target 20 +- 2)\n", wall, ticksPerSecond);
    std::printf("  CPU over %.1f s idle      %6.2f %% of one core   (target <= 1 %%)\n", wall, cpuShare * 100.0);
    if (delays.size() != sent.size()) {
        std::printf("  key echo: %zu of %zu key presses were echoed\n", delays.size(), sent.size());
        return 1;
    }
    std::printf("  key echo over %zu presses  median %5.1f ms, worst %5.1f ms   (target: worst <= 20 ms)\n",
                delays.size(), delays[delays.size() / 2], delays.back());
    return 0;
}
