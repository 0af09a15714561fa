#pragma once

#include "tarvo/XShpLabel.h"

#include "automation/AutomationError.h"
#include "automation/StdFont.h"
#include "ui/OleColor.h"
#include "ui/Twips.h"
#include "ui/UserControl.h"

#include <QImage>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

// Readable colours in failure messages.
inline void PrintTo(const QColor& color, std::ostream* out) { *out << color.name().toStdString(); }

namespace tarvo::testing {

// A container that offers its controls one ambient font object.
class TestHost : public QWidget, public ui::AmbientHost {
public:
    automation::FontRef font = automation::StdFont::create(QStringLiteral("DejaVu Sans"), 9);
    automation::FontRef ambientFont() const override { return font; }
};

inline QColor systemColor(std::uint32_t oleColor) { return *ui::oleColorToQColor(oleColor); }

// Colours of the rendering that antialiasing may blend a little at edges.
inline bool near(const QColor& actual, const QColor& expected, int tolerance = 24)
{
    return std::abs(actual.red() - expected.red()) <= tolerance
           && std::abs(actual.green() - expected.green()) <= tolerance
           && std::abs(actual.blue() - expected.blue()) <= tolerance;
}

inline int errorNumberOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const automation::AutomationError& error) {
        return error.number();
    }
    return 0;
}

// A host with one new shaped label, sized in twips.
class ShapedLabelTest : public ::testing::Test {
protected:
    XShpLabel* newLabel(double widthTwips = 1200, double heightTwips = 900)
    {
        auto* label = new XShpLabel(&host);
        label->initNew();
        label->resize(ui::twipsToPixelsX(widthTwips), ui::twipsToPixelsY(heightTwips));
        QObject::connect(label, &ui::UserControl::propertyChanged,
                         [this](const QString& name) { notifications << name; });
        return label;
    }

    // Shows the host and waits until it is on the (offscreen) screen.
    void showHost()
    {
        host.resize(400, 300);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    static QImage render(QWidget& widget) { return widget.grab().toImage(); }

    QStringList notifications;
    TestHost host; // destroyed first, with its controls
};

} // namespace tarvo::testing
