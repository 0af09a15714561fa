#pragma once

#include "ControlTestSupport.h"

#include "tarvo/XGlowLabel.h"

#include "services/Pause.h"
#include "ui/Twips.h"

#include <QEvent>
#include <QImage>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace tarvo::testing {

// A caption colour as red, green and blue.
struct Rgb {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb&) const = default;
};
inline void PrintTo(const Rgb& rgb, std::ostream* out)
{
    *out << '(' << rgb.red << ", " << rgb.green << ", " << rgb.blue << ')';
}
inline Rgb rgbOf(std::uint32_t oleColor)
{
    return Rgb{static_cast<int>(oleColor & 0xFF), static_cast<int>((oleColor >> 8) & 0xFF),
               static_cast<int>((oleColor >> 16) & 0xFF)};
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A host with glowing labels. Pauses are instant and recorded, so glow
// ticks run as fast as the test calls them.
class GlowingLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousPause = services::setPauseHandler([this](std::int32_t milliseconds) { pauses.push_back(milliseconds); });
    }
    void TearDown() override { services::setPauseHandler(previousPause); }

    XGlowLabel* newLabel(double widthTwips = 1212, double heightTwips = 372)
    {
        auto* label = new XGlowLabel(&host);
        label->initNew();
        label->resize(ui::twipsToPixelsX(widthTwips), ui::twipsToPixelsY(heightTwips));
        QObject::connect(label, &ui::UserControl::propertyChanged,
                         [this](const QString& name) { notifications << name; });
        return label;
    }

    static QWidget* captionOf(XGlowLabel* label) { return label->findChild<QWidget*>(QStringLiteral("lblCaption")); }
    static QTimer* timerOf(XGlowLabel* label) { return label->findChild<QTimer*>(QStringLiteral("Timer1")); }

    static void tick(XGlowLabel* label, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            label->Timer1_Timer();
    }

    // Shows the host and waits until it is on the (offscreen) screen.
    void showHost()
    {
        host.resize(400, 300);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    static QImage render(QWidget& widget) { return widget.grab().toImage(); }

    std::vector<std::int32_t> pauses;
    QStringList notifications;
    TestHost host; // destroyed before the pause handler is restored

private:
    services::PauseHandler previousPause;
};

} // namespace tarvo::testing
