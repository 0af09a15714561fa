#include "ui/EventModel.h"

#include "services/Pause.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Runs the events of the top level until `done` holds or a second has passed.
template <typename Predicate>
bool runTopLevelUntil(Predicate done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

void pause(std::int32_t milliseconds) { services::Pause(milliseconds); }

TEST(EventModel, TheTopLevelRunsAnActionAtOnceOnItsNextTurn)
{
    QObject context;
    std::vector<int> order;
    EXPECT_TRUE(ui::atTopLevel());
    ui::runAtTopLevel(&context, [&] { order.push_back(1); });
    ui::runAtTopLevel(&context, [&] { order.push_back(2); });
    EXPECT_TRUE(order.empty()) << "an action never runs inside the call that hands it in";
    EXPECT_TRUE(runTopLevelUntil([&] { return order.size() == 2; }));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

// What a timer tick hands in while a pause waits (a call arriving from the
// bus during a generation) runs only once the pause has ended.
TEST(EventModel, AnActionHandedInDuringAPauseRunsAfterThePause)
{
    QObject context;
    bool pausing = false;
    bool ranInsidePause = false;
    bool ran = false;
    bool tickRan = false;
    QTimer::singleShot(10, &context, [&] {
        tickRan = true;
        EXPECT_FALSE(ui::atTopLevel());
        ui::runAtTopLevel(&context, [&] {
            ran = true;
            ranInsidePause = pausing;
        });
    });
    pausing = true;
    pause(120);
    pausing = false;
    ASSERT_TRUE(tickRan) << "timers run during a pause";
    EXPECT_FALSE(ran);
    EXPECT_TRUE(runTopLevelUntil([&] { return ran; }));
    EXPECT_FALSE(ranInsidePause);
}

TEST(EventModel, AnActionWaitsForEveryNestedWaitToEnd)
{
    QObject context;
    QStringList events;
    QTimer::singleShot(5, &context, [&] {
        events << QStringLiteral("inner pause");
        ui::runAtTopLevel(&context, [&] { events << QStringLiteral("action"); });
        pause(40);
        events << QStringLiteral("inner pause ended");
    });
    pause(100);
    events << QStringLiteral("outer pause ended");
    runTopLevelUntil([&] { return events.contains(QStringLiteral("action")); });
    EXPECT_EQ(events, (QStringList{QStringLiteral("inner pause"), QStringLiteral("inner pause ended"),
                                   QStringLiteral("outer pause ended"), QStringLiteral("action")}));
}

TEST(EventModel, AnActionWaitsForAModalDialogToClose)
{
    QObject context;
    QDialog dialog;
    bool ran = false;
    bool ranWhileOpen = false;
    QTimer::singleShot(10, &context, [&] {
        ui::runAtTopLevel(&context, [&] {
            ran = true;
            ranWhileOpen = dialog.isVisible();
        });
    });
    QTimer::singleShot(150, &dialog, &QDialog::accept);
    EXPECT_EQ(ui::runModal(dialog), QDialog::Accepted);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(runTopLevelUntil([&] { return ran; }));
    EXPECT_FALSE(ranWhileOpen);
}

// A nested loop that nobody marked as a wait (a context menu's) still
// counts as one. The program's top level is its application loop, so the
// test runs one loop inside another.
TEST(EventModel, AnUnmarkedNestedLoopCountsAsAWait)
{
    QObject context;
    bool ran = false;
    bool nestedRunning = false;
    bool ranInsideNested = false;
    QEventLoop topLevel;
    QEventLoop nested;
    QTimer::singleShot(0, &context, [&] {
        nestedRunning = true;
        nested.exec();
        nestedRunning = false;
    });
    QTimer::singleShot(10, &context, [&] {
        ui::runAtTopLevel(&context, [&] {
            ran = true;
            ranInsideNested = nestedRunning;
            topLevel.quit();
        });
    });
    QTimer::singleShot(80, &nested, &QEventLoop::quit);
    QTimer::singleShot(2000, &topLevel, &QEventLoop::quit); // a safety net only
    topLevel.exec();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(ranInsideNested);
}

TEST(EventModel, NothingRunsForAContextThatIsGone)
{
    bool ran = false;
    {
        auto context = std::make_unique<QObject>();
        ui::runAtTopLevel(context.get(), [&] { ran = true; });
    }
    runTopLevelUntil([] { return false; });
    EXPECT_FALSE(ran);
}

// Runs last: once the waits have ended, no dialog is shown any more.
TEST(EventModelEnding, EndingRejectsTheOpenDialogAndShowsNoMore)
{
    QDialog open;
    QTimer::singleShot(30, &open, [] { ui::endWaits(); });
    QTimer::singleShot(3000, &open, &QDialog::accept); // a safety net only
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(ui::runModal(open), QDialog::Rejected);
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_TRUE(ui::waitsEnded());

    QDialog later;
    bool shown = false;
    QTimer::singleShot(0, &later, [&] { shown = later.isVisible(); later.accept(); });
    EXPECT_EQ(ui::runModal(later), QDialog::Rejected);
    EXPECT_FALSE(shown);
}

} // namespace
