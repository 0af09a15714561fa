// The Tarvo controls of the main window: the step indicators follow the
// current step, and the glowing label pulses from the moment the window loads.
#include "MainWindowFixture.h"

#include "tarvo/TypeLibrary.h"
#include "ui/Twips.h"

#include <QPushButton>

using automation::Variant;

namespace {

class IndicatorTest : public ShownMainWindow {
protected:
    QList<bool> indicatorsEnabled()
    {
        QList<bool> enabled;
        for (const auto& indicator : w().slbSteps)
            enabled << indicator->getProperty(QStringLiteral("Enabled")).toBool();
        return enabled;
    }
    QWidget* widgetOf(const automation::ObjectRef& control) { return dynamic_cast<QWidget*>(control.get()); }
};

TEST_F(IndicatorTest, AtLoadOnlyTheFirstIndicatorIsEnabled)
{
    EXPECT_EQ(indicatorsEnabled(), (QList<bool>{true, false, false, false, false}));
    for (int index = 0; index < 5; ++index) {
        EXPECT_EQ(w().slbSteps[index]->getProperty(QStringLiteral("Caption")).toString(), QString::number(index + 1));
        EXPECT_EQ(w().slbSteps[index]->typeName(), QStringLiteral("XShpLabel"));
    }
    EXPECT_FALSE(widgetOf(w().slbSteps[4])->isVisible());
    EXPECT_EQ(widgetOf(w().slbSteps[0])->geometry(), ui::twipsRect(240, 1440, 255, 495));
    EXPECT_EQ(widgetOf(w().XGlowLabel1)->geometry(), ui::twipsRect(4320, 4800, 1212, 372));
}

TEST_F(IndicatorTest, TabbingToTheSeedOptionMovesTheEnabledLook)
{
    press(Qt::Key_Tab);
    EXPECT_EQ(indicatorsEnabled(), (QList<bool>{false, true, false, false, false}));
}

TEST_F(IndicatorTest, AtTheLastStepNoIndicatorShowsEnabled)
{
    w().cmdClose->setFocus();
    EXPECT_EQ(form.currentStep(), 5);
    // The fifth is switched on, but it stays hidden.
    EXPECT_EQ(indicatorsEnabled(), (QList<bool>{false, false, false, false, true}));
    EXPECT_FALSE(widgetOf(w().slbSteps[4])->isVisible());
}

TEST_F(IndicatorTest, TheGlowingLabelCarriesItsStoredSettingsAndRuns)
{
    const automation::ObjectRef& glow = w().XGlowLabel1;
    EXPECT_EQ(glow->getProperty(QStringLiteral("Caption")).toString(), QStringLiteral("Tovin"));
    EXPECT_EQ(glow->getProperty(QStringLiteral("Interval")).toLong(), 50);
    const auto font = glow->getProperty(QStringLiteral("Font")).toObject();
    EXPECT_EQ(Variant(font).toString(), QStringLiteral("Verdana"));
    EXPECT_TRUE(font->getProperty(QStringLiteral("Bold")).toBool());
}

TEST_F(IndicatorTest, AFewMomentsAfterShowTheCaptionHasChangedColour)
{
    const std::int32_t design = w().XGlowLabel1->getProperty(QStringLiteral("ForeColor")).toLong();
    EXPECT_TRUE(waitFor([&] { return w().XGlowLabel1->getProperty(QStringLiteral("ForeColor")).toLong() != design; }));
}

} // namespace
