// The glow of the glowing label: the colour cycle, the timer that drives it,
// and what a tick costs.
#include "GlowingLabelFixture.h"

#include "tarvo/TypeLibrary.h"

#include "automation/PropertyBag.h"

#include <QElapsedTimer>

using namespace tarvo;
using namespace tarvo::testing;
using automation::PropertyBag;
using automation::Variant;

namespace {

constexpr int kPeriod = 152;

// The cycle of a new instance, as runs of ticks: within a run each channel
// starts at its value and moves by its step per tick.
struct Run {
    int firstTick;
    int lastTick;
    int green;
    int greenStep;
    int blue;
    int blueStep;
};

const Run kCycle[] = {
    {1, 25, 0, 0, 10, 10},        // black towards blue
    {26, 50, 10, 10, 255, 0},     // blue towards cyan
    {51, 76, 255, 0, 255, 0},     // cyan, held while red rises and turns
    {77, 101, 255, 0, 245, -10},  // cyan towards green
    {102, 126, 245, -10, 0, 0},   // green towards black
    {127, 152, 0, 0, 0, 0},       // black, held while red falls and turns
};

Rgb expectedAfterTick(int tick)
{
    const int inCycle = (tick - 1) % kPeriod + 1;
    for (const Run& run : kCycle) {
        if (inCycle >= run.firstTick && inCycle <= run.lastTick) {
            const int steps = inCycle - run.firstTick;
            return Rgb{0, run.green + steps * run.greenStep, run.blue + steps * run.blueStep};
        }
    }
    return Rgb{-1, -1, -1};
}

} // namespace

TEST_F(GlowingLabelTest, TwoCyclesFollowTheColourTableWithRedAlwaysZeroAndOnePausePerTick)
{
    XGlowLabel* label = newLabel();
    for (int tick = 1; tick <= 2 * kPeriod + 1; ++tick) {
        label->Timer1_Timer();
        ASSERT_EQ(rgbOf(label->ForeColor()), expectedAfterTick(tick)) << "after tick " << tick;
        ASSERT_EQ(label->ForeColor() >> 24, 0u) << "after tick " << tick;
    }
    EXPECT_EQ(pauses, std::vector<std::int32_t>(2 * kPeriod + 1, 50));
    // A tick gives the caption its colour without telling the host.
    EXPECT_TRUE(notifications.isEmpty());
}

TEST_F(GlowingLabelTest, NewInstanceDoesNotGlowUntilAnIntervalIsSet)
{
    XGlowLabel* label = newLabel();
    EXPECT_EQ(label->Interval(), 0);
    EXPECT_FALSE(timerOf(label)->isActive());
    EXPECT_EQ(label->ForeColor(), 0x80000012u);
}

TEST_F(GlowingLabelTest, IntervalFiftyRunsAPreciseFiftyMillisecondTimer)
{
    XGlowLabel* label = newLabel();
    label->setInterval(50);
    QTimer* timer = timerOf(label);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 50);
    EXPECT_EQ(timer->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(notifications, QStringList{QStringLiteral("Interval")});

    // The timer really drives the glow.
    EXPECT_TRUE(QTest::qWaitFor([&] { return label->ForeColor() != 0x80000012u; }, 5000));
    EXPECT_FALSE(pauses.empty());
}

TEST_F(GlowingLabelTest, IntervalZeroFreezesTheGlowAndALaterIntervalContinuesTheCycle)
{
    XGlowLabel* label = newLabel();
    label->setInterval(50);
    tick(label, 30);
    label->setInterval(0);
    EXPECT_FALSE(timerOf(label)->isActive());
    EXPECT_EQ(label->Interval(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(rgbOf(label->ForeColor()), expectedAfterTick(30));

    label->putPropertyById(XGlowLabelDispId::Interval, std::int32_t{50});
    EXPECT_TRUE(timerOf(label)->isActive());
    tick(label);
    EXPECT_EQ(rgbOf(label->ForeColor()), expectedAfterTick(31));
}

TEST_F(GlowingLabelTest, ForeColorWrittenWhileGlowingLastsUntilTheNextTick)
{
    XGlowLabel* label = newLabel();
    tick(label, 3);
    label->setForeColor(ui::rgbColor(255, 0, 0));
    EXPECT_EQ(label->ForeColor(), ui::rgbColor(255, 0, 0));
    EXPECT_EQ(notifications, QStringList{QStringLiteral("ForeColor")});

    tick(label);
    EXPECT_EQ(rgbOf(label->ForeColor()), expectedAfterTick(4));
    EXPECT_EQ(label->getProperty(QStringLiteral("ForeColor")).toLong(), static_cast<std::int32_t>(ui::rgbColor(0, 0, 40)));
}

TEST_F(GlowingLabelTest, GlowGoesOnWhileTheCaptionIsDisabled)
{
    XGlowLabel* label = newLabel();
    label->setEnabledProperty(false);
    tick(label, 26);
    EXPECT_EQ(rgbOf(label->ForeColor()), expectedAfterTick(26));
    EXPECT_FALSE(label->Enabled());
}

TEST_F(GlowingLabelTest, SaveWhileGlowingStoresTheLastTickColourAndAReloadStartsTheCycleAfresh)
{
    XGlowLabel* label = newLabel();
    label->setInterval(50);
    tick(label, 40);
    PropertyBag bag;
    label->save(bag);
    EXPECT_TRUE(bag.readProperty(QStringLiteral("ForeColor"))
                    .sameAs(Variant(static_cast<std::int32_t>(ui::rgbColor(0, 150, 255)))));

    auto* copy = new XGlowLabel(&host);
    copy->load(PropertyBag::fromBytes(bag.toBytes()));
    EXPECT_EQ(copy->ForeColor(), ui::rgbColor(0, 150, 255));
    EXPECT_EQ(copy->Interval(), 50);
    tick(copy);
    EXPECT_EQ(rgbOf(copy->ForeColor()), expectedAfterTick(1));
}

// A tick asks for a later paint of the caption alone; the control's own
// surface is not painted, and a tick that keeps the colour paints nothing.
TEST_F(GlowingLabelTest, TickPaintsOnlyTheCaptionAndOnlyLater)
{
    XGlowLabel* label = newLabel();
    showHost();
    PaintCounter controlPaints(label);
    PaintCounter captionPaints(captionOf(label));
    QTest::qWait(20);
    controlPaints.paints = 0;
    captionPaints.paints = 0;

    tick(label);
    EXPECT_EQ(captionPaints.paints, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return captionPaints.paints > 0; }, 2000));
    EXPECT_EQ(controlPaints.paints, 0);

    tick(label, 60); // into the cyan hold
    QTest::qWait(20);
    captionPaints.paints = 0;
    tick(label, 5);
    QTest::qWait(20);
    EXPECT_EQ(captionPaints.paints, 0);
    EXPECT_EQ(controlPaints.paints, 0);
}

// The glow is a decoration: its tick never holds the thread, whatever the
// pause after each step, and its timer keeps a tick per interval.
TEST_F(GlowingLabelTest, ATickReturnsAtOnceAndTheTimerKeepsItsCadence)
{
    XGlowLabel* label = newLabel();
    label->setInterval(50);
    EXPECT_FALSE(timerOf(label)->isSingleShot());

    services::setPauseHandler({}); // real pauses
    QElapsedTimer clock;
    clock.start();
    label->Timer1_Timer();
    EXPECT_LT(clock.elapsed(), 25);
    EXPECT_EQ(rgbOf(label->ForeColor()), expectedAfterTick(1));
}
