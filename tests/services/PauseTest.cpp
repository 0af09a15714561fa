#include "services/Pause.h"

#include "X11TestDisplay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <vector>

using services::Pause;
using services::setPauseHandler;

namespace {

using Clock = std::chrono::steady_clock;

// Generous: CTest runs suites side by side on a small machine.
constexpr double kSlackMs = 150;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double timedPause(std::int32_t milliseconds)
{
    const auto start = Clock::now();
    Pause(milliseconds);
    return msSince(start);
}

bool waitUntilExposed(QWidget& widget)
{
    QElapsedTimer timer;
    timer.start();
    while (!(widget.windowHandle() && widget.windowHandle()->isExposed()) && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return widget.windowHandle() && widget.windowHandle()->isExposed();
}

class PauseDuration : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(PauseDuration, ReturnsAfterAboutTheGivenTime)
{
    const double expected = std::max(GetParam(), 0);
    const double elapsed = timedPause(GetParam());
    EXPECT_GE(elapsed, expected);
    EXPECT_LT(elapsed, expected + kSlackMs);
}

INSTANTIATE_TEST_SUITE_P(Milliseconds, PauseDuration, ::testing::Values(-5, 0, 1, 20, 120));

class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(Pause, KeepsTimersAndPaintingGoing)
{
    PaintCounter widget;
    widget.resize(100, 60);
    widget.show();
    ASSERT_TRUE(waitUntilExposed(widget));
    QCoreApplication::processEvents();

    const int paintsBefore = widget.paints;
    int ticks = 0;
    widget.update();
    QTimer::singleShot(10, &widget, [&] { ++ticks; });
    timedPause(100);
    EXPECT_GT(widget.paints, paintsBefore);
    EXPECT_EQ(ticks, 1);
}

// A timer tick that pauses while another pause waits: each pause lasts its
// own time, so an operation's pacing is never cut short by another wait.
TEST(Pause, NestedPausesAreNeverCutShort)
{
    QObject context;
    double inner = -1;
    QTimer::singleShot(10, &context, [&] { inner = timedPause(250); });
    const double outer = timedPause(100);
    ASSERT_GE(inner, 0) << "the timer did not fire during the pause";
    EXPECT_GE(inner, 250);
    EXPECT_LT(inner, 250 + kSlackMs);
    EXPECT_GE(outer, 100);
}

TEST(Pause, ANestedShorterPauseKeepsItsOwnLength)
{
    QObject context;
    double inner = -1;
    QTimer::singleShot(10, &context, [&] { inner = timedPause(30); });
    const double outer = timedPause(200);
    EXPECT_GE(inner, 30);
    EXPECT_LT(inner, 30 + kSlackMs);
    EXPECT_GE(outer, 200);
    EXPECT_LT(outer, 200 + kSlackMs);
}

TEST(PauseAsync, ReturnsAtOnceAndContinuesAfterTheTime)
{
    QObject context;
    double continuedAfter = -1;
    const auto start = Clock::now();
    std::int32_t milliseconds = 60;
    services::PauseAsync(milliseconds, &context, [&] { continuedAfter = msSince(start); });
    EXPECT_LT(msSince(start), 20);
    EXPECT_EQ(milliseconds, 60);
    while (continuedAfter < 0 && msSince(start) < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_GE(continuedAfter, 60);
    EXPECT_LT(continuedAfter, 60 + kSlackMs);
}

TEST(PauseAsync, NothingContinuesOnAContextThatIsGone)
{
    bool continued = false;
    {
        QObject context;
        std::int32_t milliseconds = 10;
        services::PauseAsync(milliseconds, &context, [&] { continued = true; });
    }
    timedPause(60);
    EXPECT_FALSE(continued);
}

class KeyRecorder : public QWidget {
public:
    bool pausing = false;
    int pressesDuringPause = 0;
    int pressesAfterPause = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++(pausing ? pressesDuringPause : pressesAfterPause); }
};

// A real key press from the X server that reaches the program while it
// pauses is handled once the pause is over.
TEST(Pause, UserInputWaitsUntilThePauseEnds)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display";
    X11TestDisplay display;
    ASSERT_TRUE(display.isOpen());
    KeyRecorder widget;
    widget.resize(100, 60);
    widget.show();
    ASSERT_TRUE(waitUntilExposed(widget));

    QTimer::singleShot(20, &widget, [&] { display.sendKey(static_cast<std::uint32_t>(widget.winId()), 38); });
    widget.pausing = true;
    timedPause(300);
    widget.pausing = false;
    EXPECT_EQ(widget.pressesDuringPause, 0);

    QElapsedTimer timer;
    timer.start();
    while (widget.pressesAfterPause == 0 && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(widget.pressesAfterPause, 1);
}

TEST(PauseHandler, ReplacesTheWaitingUntilRemoved)
{
    std::vector<std::int32_t> seen;
    const services::PauseHandler previous = setPauseHandler([&](std::int32_t ms) { seen.push_back(ms); });
    EXPECT_FALSE(previous);

    std::int32_t longPause = 100000;
    std::int32_t none = 0;
    const auto start = Clock::now();
    Pause(longPause);
    Pause(none);
    EXPECT_LT(msSince(start), kSlackMs);
    EXPECT_EQ(seen, (std::vector<std::int32_t>{100000, 0}));
    EXPECT_EQ(longPause, 100000);

    EXPECT_TRUE(setPauseHandler({}));
    EXPECT_GE(timedPause(30), 30);
    EXPECT_EQ(seen.size(), 2u);
}

} // namespace
