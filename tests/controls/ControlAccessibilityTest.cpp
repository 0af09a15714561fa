// What a screen reader learns about the controls in any host: labels named
// by their captions, the shaped label's enabled look as "current", and no
// anonymous part.
#include "ControlTestSupport.h"

#include "tarvo/XGlowLabel.h"
#include "tarvo/XShpLabel.h"

#include <QAccessible>

#include <gtest/gtest.h>

namespace tarvo::testing {
namespace {

class ControlAccessibilityTest : public ::testing::Test {
protected:
    template <typename Control>
    Control* newControl()
    {
        auto* control = new Control(&host);
        control->initNew();
        return control;
    }

    static QAccessibleInterface* accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

    TestHost host;
};

struct CaptionCase {
    const char* caption;
    const char* name;
};

class CaptionNameTest : public ControlAccessibilityTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(CaptionNameTest, BothControlsReadAsTheirCaptionWithoutAccessKeyMarks)
{
    auto* shaped = newControl<XShpLabel>();
    auto* glowing = newControl<XGlowLabel>();
    shaped->setCaption(QString::fromUtf8(GetParam().caption));
    glowing->setCaption(QString::fromUtf8(GetParam().caption));
    EXPECT_EQ(accessible(shaped)->text(QAccessible::Name), QString::fromUtf8(GetParam().name));
    EXPECT_EQ(accessible(glowing)->text(QAccessible::Name), QString::fromUtf8(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Captions, CaptionNameTest,
                         ::testing::Values(CaptionCase{"Tovin", "Tovin"}, CaptionCase{"1", "1"},
                                           CaptionCase{"R&D", "RD"}, CaptionCase{"R&&D", "R&D"},
                                           CaptionCase{"Trailing&", "Trailing"}, CaptionCase{"", ""}));

TEST_F(ControlAccessibilityTest, BothControlsAreLabelsWithNothingInside)
{
    for (QWidget* control : {static_cast<QWidget*>(newControl<XShpLabel>()),
                             static_cast<QWidget*>(newControl<XGlowLabel>())}) {
        QAccessibleInterface* iface = accessible(control);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), QAccessible::StaticText) << control->metaObject()->className();
        EXPECT_EQ(iface->childCount(), 0) << control->metaObject()->className();
        EXPECT_FALSE(iface->state().focusable);
    }
}

TEST_F(ControlAccessibilityTest, TheGlowingLabelsInnerCaptionIsNoFiller)
{
    auto* glowing = newControl<XGlowLabel>();
    glowing->setCaption(QStringLiteral("Tovin"));
    auto* caption = glowing->findChild<QWidget*>(QStringLiteral("lblCaption"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(accessible(caption)->role(), QAccessible::StaticText);
    EXPECT_EQ(accessible(caption)->text(QAccessible::Name), QStringLiteral("Tovin"));
}

TEST_F(ControlAccessibilityTest, TheShapedLabelsEnabledLookReadsAsCurrent)
{
    auto* indicator = newControl<XShpLabel>();
    EXPECT_EQ(accessible(indicator)->text(QAccessible::Description), QStringLiteral("current"));
    EXPECT_FALSE(accessible(indicator)->state().disabled);

    indicator->setEnabledProperty(false);
    EXPECT_EQ(accessible(indicator)->text(QAccessible::Description), QStringLiteral("not current"));
    EXPECT_TRUE(accessible(indicator)->state().disabled);

    // The control's own state counts, not its host's.
    indicator->setEnabledProperty(true);
    host.setEnabled(false);
    EXPECT_EQ(accessible(indicator)->text(QAccessible::Description), QStringLiteral("current"));
}

TEST_F(ControlAccessibilityTest, ANameOrDescriptionTheHostGivesWins)
{
    auto* indicator = newControl<XShpLabel>();
    indicator->setCaption(QStringLiteral("2"));
    indicator->setAccessibleName(QStringLiteral("Step 2"));
    indicator->setAccessibleDescription(QStringLiteral("the seed"));
    EXPECT_EQ(accessible(indicator)->text(QAccessible::Name), QStringLiteral("Step 2"));
    EXPECT_EQ(accessible(indicator)->text(QAccessible::Description), QStringLiteral("the seed"));
}

TEST_F(ControlAccessibilityTest, TheGlowingLabelsDisabledCaptionReadsAsDisabled)
{
    auto* glowing = newControl<XGlowLabel>();
    glowing->setEnabledProperty(false);
    EXPECT_TRUE(accessible(glowing)->state().disabled);
}

TEST_F(ControlAccessibilityTest, AControlAlreadyInItsHostWhenMadeIsStillALabel)
{
    // Made by a factory, then placed: the interface is asked for only now.
    auto* loose = new XShpLabel;
    loose->setParent(&host);
    EXPECT_EQ(accessible(loose)->role(), QAccessible::StaticText);
}

} // namespace
} // namespace tarvo::testing
