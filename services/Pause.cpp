#include "services/Pause.h"

#include "ui/EventModel.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

namespace services {
namespace {

using Clock = std::chrono::steady_clock;

std::mutex g_handlerMutex;
PauseHandler g_handler;

PauseHandler currentHandler()
{
    std::lock_guard lock(g_handlerMutex);
    return g_handler;
}

// Runs the thread's events, without user input, until shortly before the
// deadline: the timer's whole milliseconds end at or before it, so the wait
// never overshoots by a timer's lateness; the caller sleeps the rest.
void runEventsUntil(Clock::time_point deadline)
{
    const auto remaining = std::chrono::duration<double, std::milli>(deadline - Clock::now()).count();
    if (remaining <= 0)
        return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const int wholeMilliseconds = static_cast<int>(std::floor(remaining));
    if (wholeMilliseconds <= 0) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    timer.start(wholeMilliseconds);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void waitUntil(Clock::time_point deadline)
{
    if (QCoreApplication::instance()) {
        ui::WaitScope wait;
        runEventsUntil(deadline);
    }
    // Timers count whole milliseconds, and a quitting application ends every
    // event loop early: the rest of the time is slept.
    std::this_thread::sleep_until(deadline);
}

} // namespace

void Pause(std::int32_t& milliseconds)
{
    if (const PauseHandler handler = currentHandler()) {
        handler(milliseconds);
        return;
    }
    if (milliseconds <= 0)
        return;
    waitUntil(Clock::now() + std::chrono::milliseconds(milliseconds));
}

void PauseAsync(std::int32_t& milliseconds, QObject* context, std::function<void()> then)
{
    if (const PauseHandler handler = currentHandler()) {
        handler(milliseconds);
        if (then)
            then();
        return;
    }
    if (!then)
        return;
    QTimer::singleShot(std::max(milliseconds, 0), Qt::PreciseTimer, context, std::move(then));
}

PauseHandler setPauseHandler(PauseHandler handler)
{
    std::lock_guard lock(g_handlerMutex);
    PauseHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}

} // namespace services
