// The wizard: the current step follows the focus and the arrow buttons; the
// panel shows the step's number and tip, and the step's controls turn bold.
#include "MainWindowFixture.h"

#include "ui/OleColor.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kTip1 = QStringLiteral("Type the length of the password you want to generate in the number of characters.");
const QString kTip2 = QStringLiteral(
    "Set seed options and select any miscallaneous options. It is safe to use the default values.");
const QString kTip3 = QStringLiteral("Click the Generate button. You will see the generated password in the password box.");

class WizardTest : public ShownMainWindow {
protected:
    // Which of the highlighted controls are bold, by step.
    QList<bool> boldByStep()
    {
        return {w().lblStep1Labels[0]->font().bold() && w().lblStep1Labels[1]->font().bold(),
                w().fraSeed->font().bold() && w().fraMiscellaneous->font().bold(), w().cmdGenerate->font().bold(),
                w().cmdCopy->font().bold()};
    }
    void click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }
};

TEST_F(WizardTest, LoadShowsStepOne)
{
    EXPECT_EQ(form.currentStep(), 1);
    EXPECT_EQ(w().lblStepCount->text(), QStringLiteral("1"));
    EXPECT_EQ(w().lblNumSteps->text(), QStringLiteral("of 5"));
    EXPECT_EQ(w().lblTips->text(), kTip1);
    EXPECT_EQ(boldByStep(), (QList<bool>{true, false, false, false}));
    EXPECT_FALSE(w().cmdPrevStep->isEnabled());
    EXPECT_TRUE(w().cmdNextStep->isEnabled());
}

TEST_F(WizardTest, TabIntoTheSeedOptionsShowsStepTwo)
{
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), QStringLiteral("optSeed(0)"));
    EXPECT_EQ(form.currentStep(), 2);
    EXPECT_EQ(form.previousStep(), 1);
    EXPECT_EQ(w().lblStepCount->text(), QStringLiteral("2"));
    EXPECT_EQ(w().lblTips->text(), kTip2);
    EXPECT_EQ(boldByStep(), (QList<bool>{false, true, false, false}));
    // The frame's caption turns bold, not what the frame holds.
    EXPECT_FALSE(w().optSeed[0]->font().bold());
    EXPECT_TRUE(w().cmdPrevStep->isEnabled());
}

TEST_F(WizardTest, RightArrowAtStepTwoMovesTheFocusToGenerate)
{
    press(Qt::Key_Tab);
    click(w().cmdNextStep);
    EXPECT_EQ(focusName(), QStringLiteral("cmdGenerate"));
    EXPECT_EQ(form.currentStep(), 3);
    EXPECT_EQ(w().lblTips->text(), kTip3);
    // Step 2's highlight went off before the deferred focus event ran.
    EXPECT_EQ(boldByStep(), (QList<bool>{false, false, true, false}));
}

TEST_F(WizardTest, RightArrowToCopyBeforeAnyPasswordLeavesTheFocusOnTheArrow)
{
    w().cmdGenerate->setFocus();
    click(w().cmdNextStep);
    EXPECT_EQ(form.currentStep(), 4);
    EXPECT_EQ(w().lblStepCount->text(), QStringLiteral("4"));
    EXPECT_EQ(w().lblTips->text(), QStringLiteral("Click the Copy button to copy the password to the clipboard."));
    EXPECT_EQ(boldByStep(), (QList<bool>{false, false, false, true}));
    EXPECT_EQ(focusName(), QStringLiteral("cmdNextStep"));
}

TEST_F(WizardTest, LeftArrowWalksBackAndStopsAtStepOne)
{
    w().cmdGenerate->setFocus();
    click(w().cmdPrevStep);
    EXPECT_EQ(form.currentStep(), 2);
    EXPECT_EQ(focusName(), QStringLiteral("cmdPrevStep")); // step 2 has no control to focus
    click(w().cmdPrevStep);
    EXPECT_EQ(form.currentStep(), 1);
    EXPECT_EQ(focusName(), QStringLiteral("txtPassLen"));
    EXPECT_FALSE(w().cmdPrevStep->isEnabled());
}

TEST_F(WizardTest, ClosingStepDisablesTheRightArrow)
{
    w().cmdClose->setFocus();
    EXPECT_EQ(form.currentStep(), 5);
    EXPECT_FALSE(w().cmdNextStep->isEnabled());
    EXPECT_TRUE(w().cmdPrevStep->isEnabled());
    EXPECT_EQ(boldByStep(), (QList<bool>{false, false, false, false}));
}

TEST_F(WizardTest, ClickingIntoTheCurrentStepAgainChangesNothing)
{
    press(Qt::Key_Tab); // step 2 on the first seed option
    click(w().chkSymbolChars);
    EXPECT_EQ(form.currentStep(), 2);
    EXPECT_EQ(form.previousStep(), 2);
    EXPECT_EQ(w().lblTips->text(), kTip2);
    EXPECT_EQ(boldByStep(), (QList<bool>{false, true, false, false}));
    EXPECT_EQ(focusName(), QStringLiteral("chkSymbolChars"));
}

TEST_F(WizardTest, ArrowsThatWouldLeaveTheStepsFailNothing)
{
    form.forceSteps(5, 5);
    click(w().cmdNextStep); // enabled: the display still shows step 1
    EXPECT_EQ(form.currentStep(), 6);
    EXPECT_EQ(w().lblStepCount->text(), QStringLiteral("6"));
    EXPECT_EQ(w().lblTips->text(), kTip1); // no tip for step 6: the old one stays

    form.forceSteps(1, 32767);
    click(w().cmdNextStep); // the step number would overflow
    EXPECT_EQ(form.currentStep(), 32767);
    EXPECT_EQ(form.previousStep(), 32767);
    EXPECT_TRUE(form.isLoaded());
}

TEST(WizardTips, MemoryNameWordsTheTipsOnlyWhenSetBeforeLoad)
{
    frmMain named;
    named.MemoryName = QStringLiteral("Mirrak");
    named.Load();
    EXPECT_EQ(named.stepTips()[3], QStringLiteral("Click the Copy button to copy the password to Mirrak."));
    EXPECT_EQ(named.stepTips()[4], QStringLiteral("Click the Close button to return to Mirrak."));

    frmMain late;
    late.Load();
    late.MemoryName = QStringLiteral("Mirrak");
    EXPECT_EQ(late.stepTips()[3], QStringLiteral("Click the Copy button to copy the password to the clipboard."));
    EXPECT_EQ(late.stepTips()[4],
              QStringLiteral("Right-click the edit box where you want to enter the password. Select Paste."));
}

// ------------------------------------------------------------------ seed choice

using SeedChoiceTest = WizardTest;

QColor textBoxBackground(const QLineEdit* box) { return box->palette().color(QPalette::Base); }

TEST_F(SeedChoiceTest, OwnSeedEnablesTheBoxAndTimeDisablesItKeepingTheText)
{
    EXPECT_EQ(textBoxBackground(w().txtSeed), ui::oleColorToQColor(ui::SystemColor::ButtonFace));

    click(w().optSeed[1]);
    EXPECT_TRUE(w().txtSeed->isEnabled());
    EXPECT_EQ(focusName(), QStringLiteral("txtSeed"));
    EXPECT_EQ(form.currentStep(), 2);
    EXPECT_EQ(textBoxBackground(w().txtSeed), ui::oleColorToQColor(ui::SystemColor::Window));

    QTest::keyClicks(w().txtSeed, QStringLiteral("42"));
    click(w().optSeed[0]);
    EXPECT_FALSE(w().txtSeed->isEnabled());
    EXPECT_EQ(w().txtSeed->text(), QStringLiteral("042"));
    EXPECT_EQ(textBoxBackground(w().txtSeed), ui::oleColorToQColor(ui::SystemColor::ButtonFace));
}

TEST(SeedChoiceHidden, OwnSeedChosenWhileHiddenEnablesTheBoxWithoutMovingTheFocus)
{
    frmMain form;
    form.Load();
    form.window().optSeed[1]->setChecked(true);
    EXPECT_TRUE(form.window().txtSeed->isEnabled());
    EXPECT_EQ(textBoxBackground(form.window().txtSeed), ui::oleColorToQColor(ui::SystemColor::Window));
    EXPECT_EQ(form.currentStep(), 1);
    EXPECT_FALSE(form.isVisible());
}

} // namespace
