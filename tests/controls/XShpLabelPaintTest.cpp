// Layout and painting of the shaped label, checked on rendered pixels
// (offscreen, 96 DPI: 15 twips to the pixel).
#include "ShapedLabelFixture.h"

#include <QApplication>
#include <QPixmap>
#include <QResizeEvent>
#include <QScreen>

using namespace tarvo;
using namespace tarvo::testing;
using automation::StdFont;

namespace {

// Palette colours, looked up once the application exists.
QColor background() { return systemColor(ui::SystemColor::ButtonFace); }
QColor activeCaption() { return systemColor(0x80000002); }
QColor inactiveCaption() { return systemColor(0x80000003); }
constexpr std::uint32_t kRed = ui::rgbColor(255, 0, 0);
constexpr std::uint32_t kWhite = ui::rgbColor(255, 255, 255);
constexpr std::uint32_t kBlack = ui::rgbColor(0, 0, 0);

QColor at(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

bool rowIs(const QImage& image, int y, const QColor& color)
{
    for (int x = 0; x < image.width(); ++x) {
        if (at(image, x, y) != color)
            return false;
    }
    return true;
}

bool columnIs(const QImage& image, int x, const QColor& color)
{
    for (int y = 0; y < image.height(); ++y) {
        if (at(image, x, y) != color)
            return false;
    }
    return true;
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

} // namespace

// ---- The disc ----

struct DiscCase {
    const char* name;
    int widthTwips;
    int heightTwips;
    int bandPixels; // background on each side of the disc
    bool bandsAboveAndBelow;
};
void PrintTo(const DiscCase& c, std::ostream* out) { *out << c.name; }

class DiscGeometryTest : public ShapedLabelTest, public ::testing::WithParamInterface<DiscCase> {};

TEST_P(DiscGeometryTest, LargestCentredCircleWithBackgroundBands)
{
    const DiscCase& c = GetParam();
    XShpLabel* label = newLabel(c.widthTwips, c.heightTwips);
    label->setCaption(QString());
    const QImage image = render(*label);
    const int w = image.width();
    const int h = image.height();
    ASSERT_EQ(w, c.widthTwips / 15);
    ASSERT_EQ(h, c.heightTwips / 15);

    const int band = c.bandPixels;
    for (int i = 0; i < band; ++i) {
        if (c.bandsAboveAndBelow) {
            EXPECT_TRUE(rowIs(image, i, background())) << "row " << i;
            EXPECT_TRUE(rowIs(image, h - 1 - i, background())) << "row " << h - 1 - i;
        } else {
            EXPECT_TRUE(columnIs(image, i, background())) << "column " << i;
            EXPECT_TRUE(columnIs(image, w - 1 - i, background())) << "column " << w - 1 - i;
        }
    }
    // The disc reaches the edges of its square on all four sides.
    const int top = c.bandsAboveAndBelow ? band : 0;
    const int left = c.bandsAboveAndBelow ? 0 : band;
    const int diameter = std::min(w, h);
    const int middle = diameter / 2;
    EXPECT_TRUE(near(at(image, left, top + middle), activeCaption()));
    EXPECT_TRUE(near(at(image, left + diameter - 1, top + middle), activeCaption()));
    EXPECT_TRUE(near(at(image, left + middle, top), activeCaption()));
    EXPECT_TRUE(near(at(image, left + middle, top + diameter - 1), activeCaption()));
    EXPECT_EQ(at(image, left, top), background()); // a corner of the square stays background
}

INSTANTIATE_TEST_SUITE_P(Sizes, DiscGeometryTest,
                         ::testing::Values(DiscCase{"StepIndicator", 255, 495, 8, true},
                                           DiscCase{"Wide", 495, 255, 8, false},
                                           DiscCase{"Square", 300, 300, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShapedLabelTest, TransparentFillShowsTheBackground)
{
    XShpLabel* label = newLabel(600, 600);
    label->setCaption(QString());
    label->setFillStyle(1);
    label->setBorderStyle(1);
    const QImage image = render(*label);
    EXPECT_EQ(at(image, 20, 20), background());
    EXPECT_TRUE(near(at(image, 0, 20), systemColor(kBlack))); // the border still shows
}

struct HatchCase {
    const char* name;
    std::int16_t fillStyle;
    QPoint along; // from one pattern pixel to the next on the same line
};
void PrintTo(const HatchCase& c, std::ostream* out) { *out << c.name; }

class HatchTest : public ShapedLabelTest, public ::testing::WithParamInterface<HatchCase> {};

TEST_P(HatchTest, PatternLinesInTheFillColourOverTheBackground)
{
    XShpLabel* label = newLabel(900, 900);
    label->setCaption(QString());
    label->setFillColor(kRed);
    label->setFillStyle(GetParam().fillStyle);
    const QImage image = render(*label);
    const QColor red = systemColor(kRed);

    int lineSteps = 0;
    int backgroundPixels = 0;
    for (int y = 20; y < 40; ++y) {
        for (int x = 20; x < 40; ++x) {
            if (at(image, x, y) == background())
                ++backgroundPixels;
            else if (at(image, x, y) == red && at(image, x + GetParam().along.x(), y + GetParam().along.y()) == red)
                ++lineSteps;
        }
    }
    EXPECT_GT(backgroundPixels, 100);
    EXPECT_GT(lineSteps, 20);
}

INSTANTIATE_TEST_SUITE_P(FillStyles, HatchTest,
                         ::testing::Values(HatchCase{"Horizontal", 2, {1, 0}}, HatchCase{"Vertical", 3, {0, 1}},
                                           HatchCase{"UpwardDiagonal", 4, {1, -1}},
                                           HatchCase{"DownwardDiagonal", 5, {1, 1}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShapedLabelTest, ThreePixelSolidBorderInTheBorderColour)
{
    // 60 x 40 pixels: the disc spans columns 10 to 49.
    XShpLabel* label = newLabel(900, 600);
    label->setCaption(QString());
    label->setFillColor(kWhite);
    label->setBorderColor(kRed);
    label->setBorderStyle(1);
    label->setBorderWidth(3);
    const QImage image = render(*label);
    const QColor red = systemColor(kRed);

    for (const int y : {19, 20}) {
        QString row;
        for (int x = 7; x < 14; ++x)
            row += near(at(image, x, y), red, 40) ? u'r' : u'.';
        EXPECT_EQ(row, QStringLiteral("..rrr..")) << "row " << y;
    }
    EXPECT_TRUE(near(at(image, 12, 20), systemColor(kWhite)));
    EXPECT_TRUE(near(at(image, 8, 20), background(), 8));
}

// ---- Looks ----

TEST_F(ShapedLabelTest, EnabledWriteRepaintsAtOnceInTheDisabledLookAndNotifies)
{
    XShpLabel* label = newLabel(600, 600);
    label->setCaption(QString());
    label->move(10, 10);
    showHost();
    notifications.clear();
    // What the screen shows, taken from the window's backing store without
    // painting anything again.
    auto onScreen = [&] { return host.screen()->grabWindow(host.winId(), 30, 30, 1, 1).toImage().pixelColor(0, 0); };
    ASSERT_TRUE(near(onScreen(), activeCaption()));

    label->setEnabledProperty(false);

    EXPECT_TRUE(near(onScreen(), inactiveCaption()));
    EXPECT_EQ(notifications, QStringList{QStringLiteral("Enabled")});
}

TEST_F(ShapedLabelTest, OtherWritesShowOnlyAtTheNextPaint)
{
    XShpLabel* label = newLabel(600, 600);
    label->setCaption(QString());
    label->move(10, 10);
    showHost();
    auto onScreen = [&] { return host.screen()->grabWindow(host.winId(), 30, 30, 1, 1).toImage().pixelColor(0, 0); };

    label->setFillColor(kRed);
    EXPECT_TRUE(near(onScreen(), activeCaption()));
    label->Refresh();
    EXPECT_EQ(onScreen(), systemColor(kRed));
}

TEST_F(ShapedLabelTest, LookThatCannotBeDrawnKeepsTheLastGoodOne)
{
    XShpLabel* label = newLabel(600, 600);
    label->setBorderStyle(1);
    const QImage good = render(*label);

    label->setBorderStyle(9);
    label->setBorderWidth(0);
    label->setFillStyle(-1);
    label->setFillColor(0x12000000);
    label->setForeColor(0x80000040);
    label->setFontRef(nullptr);
    EXPECT_EQ(render(*label), good);
}

TEST_F(ShapedLabelTest, SharedFontObjectGivesItsFaceToBothLooksButNotItsWeight)
{
    XShpLabel* label = newLabel(1500, 600);
    label->setCaption(QStringLiteral("Wm"));
    showHost(); // a hidden widget would be laid out anew for each rendering
    const auto font = StdFont::create(QStringLiteral("DejaVu Serif"), 8.25);
    label->setFontRef(font);
    label->setDisabledFontRef(font);
    const double captionPoints = label->captionFont().pointSizeF();

    font->setName(QStringLiteral("DejaVu Sans Mono"));
    const QImage enabledMono = render(*label);
    EXPECT_EQ(label->captionFont().family(), QStringLiteral("DejaVu Sans Mono"));
    label->setEnabledProperty(false);
    const QImage disabledMono = render(*label);
    EXPECT_EQ(label->captionFont().family(), QStringLiteral("DejaVu Sans Mono"));

    font->setName(QStringLiteral("DejaVu Serif"));
    const QImage disabledSerif = render(*label);
    EXPECT_EQ(label->captionFont().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_NE(disabledSerif, disabledMono);

    font->setBold(true);
    font->setSize(20);
    EXPECT_EQ(render(*label), disabledSerif);
    label->setEnabledProperty(true);
    font->setName(QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(render(*label), enabledMono);
    EXPECT_FALSE(label->captionFont().bold());
    EXPECT_EQ(label->captionFont().pointSizeF(), captionPoints);
}

// ---- Caption layout ----

TEST_F(ShapedLabelTest, CaptionIsCentredInFractionalTwipsAndDrawnThere)
{
    XShpLabel* label = newLabel(1500, 600);
    label->setFillColor(kWhite);
    label->setForeColor(kBlack);
    label->resize(101, 40); // an odd width: half-pixel offsets
    const QImage image = render(*label);
    const QRectF caption = label->captionGeometry();
    EXPECT_FLOAT_EQ(caption.left(), static_cast<float>((101 * 15 - caption.width()) / 2));
    EXPECT_FLOAT_EQ(caption.top(), static_cast<float>((40 * 15 - caption.height()) / 2));

    const QRect ink = inkBox(image, systemColor(kWhite));
    ASSERT_FALSE(ink.isEmpty());
    const QRectF box(caption.left() / 15, caption.top() / 15, caption.width() / 15, caption.height() / 15);
    EXPECT_TRUE(box.adjusted(-1, -1, 1, 1).contains(QRectF(ink))) << ink.x() << "," << ink.y();
    EXPECT_NEAR(ink.center().x() + 0.5, 101 / 2.0, 2.0);
}

TEST_F(ShapedLabelTest, CaptionWriteKeepsTheLeftEdgeUntilTheNextLayout)
{
    XShpLabel* label = newLabel(1500, 600);
    render(*label);
    const QRectF before = label->captionGeometry();
    label->setCaption(QStringLiteral("A caption much longer than the control is wide"));
    const QRectF after = label->captionGeometry();
    EXPECT_EQ(after.topLeft(), before.topLeft());
    EXPECT_GT(after.width(), before.width());

    label->resize(label->size() + QSize(2, 0));
    QResizeEvent resize(label->size(), label->size() - QSize(2, 0));
    QApplication::sendEvent(label, &resize);
    EXPECT_LT(label->captionGeometry().left(), 0); // wider than the control: overhangs on both sides
    EXPECT_NEAR(label->captionGeometry().center().x(), label->width() * 15 / 2.0, 0.01);
}
