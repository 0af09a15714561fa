#include "services/Pause.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

namespace services {
namespace {

using Clock = std::chrono::steady_clock;

std::mutex g_handlerMutex;
PauseHandler g_handler;

// The deadlines of the pauses running on this thread, innermost last. Each
// is no later than the one before it.
thread_local std::vector<Clock::time_point> t_deadlines;

class DeadlineScope {
public:
    explicit DeadlineScope(Clock::time_point deadline) { t_deadlines.push_back(deadline); }
    ~DeadlineScope() { t_deadlines.pop_back(); }
    DeadlineScope(const DeadlineScope&) = delete;
    DeadlineScope& operator=(const DeadlineScope&) = delete;
};

PauseHandler currentHandler()
{
    std::lock_guard lock(g_handlerMutex);
    return g_handler;
}

Clock::time_point deadlineFor(std::int32_t milliseconds)
{
    const Clock::time_point own = Clock::now() + std::chrono::milliseconds(milliseconds);
    if (!t_deadlines.empty() && t_deadlines.back() < own)
        return t_deadlines.back();
    return own;
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
    if (QCoreApplication::instance())
        runEventsUntil(deadline);
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
    const Clock::time_point deadline = deadlineFor(milliseconds);
    if (deadline <= Clock::now())
        return;
    DeadlineScope scope(deadline);
    waitUntil(deadline);
}

PauseHandler setPauseHandler(PauseHandler handler)
{
    std::lock_guard lock(g_handlerMutex);
    PauseHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}

} // namespace services
