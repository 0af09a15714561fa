// Pointer events of the shaped label, sent the way QTest sends them.
#include "ShapedLabelFixture.h"

using namespace tarvo;
using namespace tarvo::testing;

namespace {

struct Recorded {
    int clicks = 0;
    int downs = 0;
    int moves = 0;
    int ups = 0;
    std::int16_t button = 0;
    std::int16_t shift = 0;
    float x = -1;
    float y = -1;
};

void record(XShpLabel* label, Recorded& events)
{
    QObject::connect(label, &XShpLabel::Click, [&events] { ++events.clicks; });
    QObject::connect(label, &XShpLabel::MouseDown,
                     [&events](std::int16_t& button, std::int16_t& shift, float&, float&) {
                         ++events.downs;
                         events.button = button;
                         events.shift = shift;
                         button = 99; // written back into the event; the control ignores it
                     });
    QObject::connect(label, &XShpLabel::MouseMove, [&events](std::int16_t&, std::int16_t&, float& x, float& y) {
        ++events.moves;
        events.x = x;
        events.y = y;
    });
    QObject::connect(label, &XShpLabel::MouseUp, [&events](std::int16_t&, std::int16_t&, float&, float&) {
        ++events.ups;
    });
}

// A shown 80 x 60 pixel label with the caption "1" in its middle.
class ShapedLabelEventsTest : public ShapedLabelTest {
protected:
    void SetUp() override
    {
        label = newLabel(1200, 900);
        label->setCaption(QStringLiteral("1"));
        showHost();
        record(label, events);
    }

    QPoint captionCentre() const
    {
        const QRectF caption = label->captionGeometry();
        return QPoint(static_cast<int>(caption.center().x() / 15), static_cast<int>(caption.center().y() / 15));
    }

    XShpLabel* label = nullptr;
    Recorded events;
};

} // namespace

TEST_F(ShapedLabelEventsTest, ClickOnTheDiscOrTheBackgroundButNotOnTheCaption)
{
    QTest::mouseClick(label, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(20, 30));
    EXPECT_EQ(events.clicks, 1);
    EXPECT_EQ(events.downs, 1);
    EXPECT_EQ(events.ups, 1);
    EXPECT_EQ(events.button, 2);
    EXPECT_EQ(events.shift, 3);

    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2)); // a corner outside the disc
    EXPECT_EQ(events.clicks, 2);
    EXPECT_EQ(events.button, 1);

    QTest::mouseClick(label, Qt::LeftButton, {}, captionCentre());
    EXPECT_EQ(events.clicks, 2);
    EXPECT_EQ(events.downs, 2);
    EXPECT_EQ(events.ups, 2);
}

TEST_F(ShapedLabelEventsTest, MouseMoveReportsTwipsFromTheTopLeftCorner)
{
    QTest::mouseMove(label, QPoint(30, 5));
    QTest::mouseMove(label, QPoint(8, 16));
    ASSERT_GE(events.moves, 1);
    EXPECT_FLOAT_EQ(events.x, 120.0f);
    EXPECT_FLOAT_EQ(events.y, 240.0f);

    const int moves = events.moves;
    QTest::mouseMove(label, captionCentre());
    EXPECT_EQ(events.moves, moves);
}

TEST_F(ShapedLabelEventsTest, DisabledControlRaisesNothing)
{
    label->setEnabledProperty(false);
    QTest::mouseMove(label, QPoint(30, 5));
    QTest::mouseMove(label, QPoint(8, 16));
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(20, 30));
    QTest::mouseDClick(label, Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_EQ(events.clicks + events.downs + events.moves + events.ups, 0);
}
