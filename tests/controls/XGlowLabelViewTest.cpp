// Layout, painting and mouse events of the glowing label, on the offscreen
// platform at 96 DPI (15 twips to the pixel).
#include "GlowingLabelFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>

using namespace tarvo;
using namespace tarvo::testing;
using automation::StdFont;

namespace {

struct Recorded {
    int clicks = 0;
    int doubleClicks = 0;
    int downs = 0;
    int moves = 0;
    int ups = 0;
    std::int16_t button = 0;
    std::int16_t shift = 0;
    float x = -1;
    float y = -1;
};

void record(XGlowLabel* label, Recorded& events)
{
    QObject::connect(label, &XGlowLabel::Click, [&events] { ++events.clicks; });
    QObject::connect(label, &XGlowLabel::DblClick, [&events] { ++events.doubleClicks; });
    QObject::connect(label, &XGlowLabel::MouseDown,
                     [&events](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
                         ++events.downs;
                         events.button = button;
                         events.shift = shift;
                         events.x = x;
                         events.y = y;
                         button = 99; // written back into the event; nothing reads it
                     });
    QObject::connect(label, &XGlowLabel::MouseMove, [&events](std::int16_t& button, std::int16_t&, float& x, float& y) {
        ++events.moves;
        events.button = button;
        events.x = x;
        events.y = y;
    });
    QObject::connect(label, &XGlowLabel::MouseUp, [&events](std::int16_t& button, std::int16_t&, float&, float&) {
        ++events.ups;
        events.button = button;
    });
}

QColor at(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }
QColor opaque(const QColor& color) { return QColor(color.rgb()); }

// Mouse input sent straight to a widget, with the buttons held after it.
void sendMouse(QWidget* widget, QEvent::Type type, QPoint position, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = {})
{
    QMouseEvent event(type, position, widget->mapToGlobal(position), button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

// The bounding box of pixels that differ clearly from `ground`.
QRect inkBox(const QImage& image, const QColor& ground)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!near(at(image, x, y), ground, 60))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

int pixelsNear(const QImage& image, const QColor& color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += near(at(image, x, y), color, 40) ? 1 : 0;
    }
    return count;
}

constexpr std::uint32_t kWhite = ui::rgbColor(255, 255, 255);
constexpr std::uint32_t kRed = ui::rgbColor(255, 0, 0);
constexpr std::uint32_t kBlue = ui::rgbColor(0, 0, 255);

// A shown 120 x 40 pixel label with a white back and a short caption.
class GlowingLabelViewTest : public GlowingLabelTest {
protected:
    void SetUp() override
    {
        GlowingLabelTest::SetUp();
        label = newLabel(1800, 600);
        label->setBackColor(kWhite);
        label->setCaption(QStringLiteral("Tovin"));
        showHost();
        record(label, events);
    }

    XGlowLabel* label = nullptr;
    Recorded events;
};

} // namespace

// ---- Layout ----

TEST_F(GlowingLabelViewTest, CaptionTakesTheControlsSizeAtTheTopLeftOnEveryResize)
{
    EXPECT_EQ(captionOf(label)->geometry(), QRect(0, 0, 120, 40));
    for (const QSize size : {QSize(81, 25), QSize(300, 7), QSize(1, 1)}) {
        label->resize(size);
        EXPECT_EQ(captionOf(label)->geometry(), QRect(QPoint(0, 0), size));
    }
}

// ---- Painting ----

TEST_F(GlowingLabelViewTest, OpaqueCaptionFillsWithItsBackColourAndTransparentShowsTheControl)
{
    label->setForeColor(kBlue);
    QImage image = render(*label);
    EXPECT_EQ(at(image, 119, 39), QColor(Qt::white));
    EXPECT_GT(pixelsNear(image, Qt::blue), 0);

    label->setBackStyle(0);
    image = render(*label);
    EXPECT_EQ(at(image, 119, 39), opaque(systemColor(ui::SystemColor::ButtonFace)));
    EXPECT_GT(pixelsNear(image, Qt::blue), 0);
}

TEST_F(GlowingLabelViewTest, AlignmentPlacesTheTextInTheCaption)
{
    label->setForeColor(0);
    const QRect left = inkBox(render(*label), Qt::white);
    label->setAlignment(1);
    const QRect right = inkBox(render(*label), Qt::white);
    label->setAlignment(2);
    const QRect centred = inkBox(render(*label), Qt::white);

    ASSERT_FALSE(left.isEmpty());
    EXPECT_LE(left.left(), 2);
    EXPECT_LE(left.top(), 3);
    EXPECT_GE(right.right(), 117);
    EXPECT_LE(std::abs((centred.left() + centred.right()) / 2 - 60), 2);
    EXPECT_EQ(left.size(), right.size());
}

TEST_F(GlowingLabelViewTest, DisabledCaptionIsGreyedAndTheGlowStillSetsItsColour)
{
    label->setForeColor(kRed);
    EXPECT_GT(pixelsNear(render(*label), Qt::red), 0);
    label->setEnabledProperty(false);
    tick(label, 26);
    const QImage image = render(*label);
    EXPECT_EQ(pixelsNear(image, Qt::red), 0);
    EXPECT_EQ(pixelsNear(image, QColor(0, 10, 255)), 0);
    EXPECT_FALSE(inkBox(image, Qt::white).isEmpty()); // the text is there, greyed
    EXPECT_EQ(rgbOf(label->ForeColor()), (Rgb{0, 10, 255}));
}

TEST_F(GlowingLabelViewTest, SingleLineBorderIsFlatOrSunken)
{
    label->setCaption(QString());
    label->setBorderStyle(1);
    label->setAppearance(0);
    QImage image = render(*label);
    EXPECT_EQ(at(image, 0, 20), opaque(systemColor(0x80000006)));
    EXPECT_EQ(at(image, 119, 20), opaque(systemColor(0x80000006)));
    EXPECT_EQ(at(image, 1, 20), QColor(Qt::white));

    label->setAppearance(1);
    image = render(*label);
    EXPECT_EQ(at(image, 0, 20), opaque(systemColor(0x80000010)));   // shadow, outer top-left
    EXPECT_EQ(at(image, 1, 20), opaque(systemColor(0x80000015)));   // dark shadow, inner
    EXPECT_EQ(at(image, 119, 20), opaque(systemColor(0x80000014))); // highlight, outer bottom-right
    EXPECT_EQ(at(image, 2, 20), QColor(Qt::white));
}

TEST_F(GlowingLabelViewTest, FontIsTheCaptionsOwnObject)
{
    label->setForeColor(0);
    label->setFontRef(StdFont::create(QStringLiteral("DejaVu Sans"), 8));
    const QRect small = inkBox(render(*label), Qt::white);

    const automation::FontRef font = label->Font();
    EXPECT_EQ(label->getProperty(QStringLiteral("Font")).toObject(), font);
    font->setSize(16);
    label->Refresh();
    const QRect large = inkBox(render(*label), Qt::white);
    EXPECT_GT(large.height(), small.height() * 3 / 2);
    EXPECT_GT(large.width(), small.width() * 3 / 2);
}

TEST_F(GlowingLabelViewTest, RefreshPaintsTheCaptionAtOnceAndChangesNothing)
{
    PaintCounter captionPaints(captionOf(label));
    notifications.clear();

    label->Refresh();
    EXPECT_EQ(captionPaints.paints, 1);
    std::vector<automation::Variant> none;
    label->invoke(0x6003000B, automation::MemberKind::Method, none);
    EXPECT_EQ(captionPaints.paints, 2);
    EXPECT_TRUE(notifications.isEmpty());
    EXPECT_EQ(label->BackColor(), kWhite);
    EXPECT_EQ(label->Caption(), QStringLiteral("Tovin"));
}

// ---- Mouse and focus ----

TEST_F(GlowingLabelViewTest, PressMoveAndReleaseOnTheCaptionInTwips)
{
    QWidget* caption = captionOf(label);
    sendMouse(caption, QEvent::MouseButtonPress, QPoint(10, 7), Qt::RightButton, Qt::RightButton,
              Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(events.downs, 1);
    EXPECT_EQ(events.button, 2);
    EXPECT_EQ(events.shift, 5);
    EXPECT_FLOAT_EQ(events.x, 150.0f);
    EXPECT_FLOAT_EQ(events.y, 105.0f);

    sendMouse(caption, QEvent::MouseMove, QPoint(30, 20), Qt::NoButton, Qt::RightButton | Qt::MiddleButton);
    EXPECT_EQ(events.moves, 1);
    EXPECT_EQ(events.button, 6);
    EXPECT_FLOAT_EQ(events.x, 450.0f);
    EXPECT_FLOAT_EQ(events.y, 300.0f);

    sendMouse(caption, QEvent::MouseButtonRelease, QPoint(30, 20), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(events.ups, 1);
    EXPECT_EQ(events.button, 2);
    EXPECT_EQ(events.clicks, 1);

    // Released away from the caption: no click.
    sendMouse(caption, QEvent::MouseButtonPress, QPoint(10, 7), Qt::LeftButton, Qt::LeftButton);
    sendMouse(caption, QEvent::MouseButtonRelease, QPoint(200, 7), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(events.ups, 2);
    EXPECT_EQ(events.clicks, 1);
}

// As the window system reports a double click: press, release, double
// click, release.
TEST_F(GlowingLabelViewTest, DoubleClickRaisesClickThenDblClick)
{
    QWidget* caption = captionOf(label);
    sendMouse(caption, QEvent::MouseButtonPress, QPoint(40, 20), Qt::LeftButton, Qt::LeftButton);
    sendMouse(caption, QEvent::MouseButtonRelease, QPoint(40, 20), Qt::LeftButton, Qt::NoButton);
    sendMouse(caption, QEvent::MouseButtonDblClick, QPoint(40, 20), Qt::LeftButton, Qt::LeftButton);
    sendMouse(caption, QEvent::MouseButtonRelease, QPoint(40, 20), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(events.downs, 1);
    EXPECT_EQ(events.clicks, 1);
    EXPECT_EQ(events.doubleClicks, 1);
    EXPECT_EQ(events.ups, 2);
}

TEST_F(GlowingLabelViewTest, DisabledCaptionRaisesNothingAndNeitherDoesTheControl)
{
    label->setEnabledProperty(false);
    for (QWidget* target : {captionOf(label), static_cast<QWidget*>(label)}) {
        sendMouse(target, QEvent::MouseMove, QPoint(30, 5), Qt::NoButton, Qt::NoButton);
        sendMouse(target, QEvent::MouseButtonPress, QPoint(20, 30), Qt::LeftButton, Qt::LeftButton);
        sendMouse(target, QEvent::MouseButtonRelease, QPoint(20, 30), Qt::LeftButton, Qt::NoButton);
        sendMouse(target, QEvent::MouseButtonDblClick, QPoint(20, 30), Qt::LeftButton, Qt::LeftButton);
        sendMouse(target, QEvent::MouseButtonRelease, QPoint(20, 30), Qt::LeftButton, Qt::NoButton);
    }
    EXPECT_EQ(events.clicks + events.doubleClicks + events.downs + events.moves + events.ups, 0);
}

TEST_F(GlowingLabelViewTest, ClickingTheCaptionLeavesTheFocusWhereItWas)
{
    auto* edit = new QLineEdit(&host);
    edit->move(0, 200);
    edit->show();
    host.activateWindow();
    edit->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit->hasFocus(); }, 2000));

    QTest::mouseClick(captionOf(label), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(events.clicks, 1);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(captionOf(label)->focusPolicy(), Qt::NoFocus);
}
