#pragma once

#include "ControlTestSupport.h"

#include "tarvo/XShpLabel.h"

#include "ui/Twips.h"

#include <QImage>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

namespace tarvo::testing {

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
