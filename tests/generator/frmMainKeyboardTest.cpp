// Keyboard use of the main window: the tab order, access keys, Enter and Esc.
#include "MainWindowFixture.h"

#include "about/AboutDialogWatcher.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

namespace {

using KeyboardTest = ShownMainWindow;

TEST_F(KeyboardTest, FirstFocusIsTheLengthBox) { EXPECT_EQ(focusName(), QStringLiteral("txtPassLen")); }

TEST_F(KeyboardTest, TabFollowsTabIndexSkippingDisabledHiddenAndUnselectedControls)
{
    // Close makes step 5 current, which disables the right arrow and enables the left one.
    // The step panel Picture1 (13) takes the focus between Close (11) and the arrows.
    const QStringList expected = {
        QStringLiteral("optSeed(0)"),     QStringLiteral("cmdGenerate"),      QStringLiteral("cmdClose"),
        QStringLiteral("Picture1"),       QStringLiteral("cmdPrevStep"),      QStringLiteral("chkSymbolChars"),
        QStringLiteral("chkNonPrintChars"), QStringLiteral("cmdHelp"),        QStringLiteral("cmdAbout"),
        QStringLiteral("cmdSave"),        QStringLiteral("txtPassLen"),
    };
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        press(Qt::Key_Tab);
        visited << focusName();
    }
    EXPECT_EQ(visited, expected);
}

// The panel is no step of its own: focusing it, by Tab or by a click,
// leaves the current step and its tip as they were.
TEST_F(KeyboardTest, TheStepPanelTakesTheFocusWithoutChangingTheStep)
{
    w().cmdClose->setFocus();
    ASSERT_TRUE(waitFor([&] { return focusName() == QStringLiteral("cmdClose"); }));
    const QString tip = w().lblTips->text();
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), QStringLiteral("Picture1"));
    EXPECT_EQ(form.currentStep(), 5);
    EXPECT_EQ(w().lblStepCount->text(), QStringLiteral("5"));
    EXPECT_EQ(w().lblTips->text(), tip);

    w().txtPassLen->setFocus();
    ASSERT_TRUE(waitFor([&] { return form.currentStep() == 1; }));
    QTest::mouseClick(w().Picture1, Qt::LeftButton, {}, QPoint(w().Picture1->width() / 2, 4));
    EXPECT_TRUE(waitFor([&] { return focusName() == QStringLiteral("Picture1"); })) << focusName().toStdString();
    EXPECT_EQ(form.currentStep(), 1);
    EXPECT_EQ(w().lblStepCount->text(), QStringLiteral("1"));
}

TEST_F(KeyboardTest, ShiftTabGoesBackwards)
{
    press(Qt::Key_Backtab);
    EXPECT_EQ(focusName(), QStringLiteral("cmdSave"));
}

struct AccessKey {
    Qt::Key key;
    const char* control; // what takes the focus
};

void PrintTo(const AccessKey& k, std::ostream* out) { *out << k.control; }

class AccessKeyTest : public ShownMainWindow, public ::testing::WithParamInterface<AccessKey> {};

TEST_P(AccessKeyTest, MovesTheFocusToItsControl)
{
    w().cmdSave->setFocus();
    press(GetParam().key, Qt::AltModifier);
    const QString expected = QString::fromLatin1(GetParam().control);
    EXPECT_TRUE(waitFor([&] { return focusName() == expected; })) << focusName().toStdString();
}

// "Let me specify" passes the focus on into the seed box it enables.
INSTANTIATE_TEST_SUITE_P(Keys, AccessKeyTest,
                         ::testing::Values(AccessKey{Qt::Key_L, "txtPassLen"}, AccessKey{Qt::Key_U, "optSeed(0)"},
                                           AccessKey{Qt::Key_M, "txtSeed"}, AccessKey{Qt::Key_N, "chkNonPrintChars"},
                                           AccessKey{Qt::Key_S, "chkSymbolChars"}));

TEST_F(KeyboardTest, AccessKeysPressButtonsAndToggleOptions)
{
    QSignalSpy generate(w().cmdGenerate, &QPushButton::clicked);
    QSignalSpy help(w().cmdHelp, &QPushButton::clicked);
    QSignalSpy copy(w().cmdCopy, &QPushButton::clicked);
    QSignalSpy about(w().cmdAbout, &QPushButton::clicked);
    AboutDialogWatcher aboutBox; // Alt+A opens the about box: it is closed with OK
    press(Qt::Key_H, Qt::AltModifier);
    press(Qt::Key_A, Qt::AltModifier);
    press(Qt::Key_C, Qt::AltModifier); // Copy is disabled before the first password
    press(Qt::Key_N, Qt::AltModifier);
    press(Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(waitFor([&] { return w().optSeed[1]->isChecked(); }));
    EXPECT_EQ(help.count(), 1);
    EXPECT_EQ(about.count(), 1);
    EXPECT_EQ(copy.count(), 0);
    EXPECT_TRUE(w().chkNonPrintChars->isChecked());
    EXPECT_TRUE(w().optSeed[1]->isChecked());
    EXPECT_TRUE(w().txtSeed->isEnabled());
    EXPECT_EQ(generate.count(), 0);
}

TEST_F(KeyboardTest, EnterPressesGenerateAndEscPressesClose)
{
    QSignalSpy generate(w().cmdGenerate, &QPushButton::clicked);
    QSignalSpy close(w().cmdClose, &QPushButton::clicked);
    QSignalSpy end(&form, &frmMain::endProgramRequested);
    EXPECT_TRUE(w().cmdGenerate->isDefault());

    press(Qt::Key_Return);
    EXPECT_TRUE(waitFor([&] { return generate.count() == 1; }));
    EXPECT_EQ(close.count(), 0);

    dialogs.answerMessageBox(ui::MessageResult::No); // do not save the new password
    press(Qt::Key_Escape);
    EXPECT_EQ(close.count(), 1);
    EXPECT_EQ(end.count(), 1);
    EXPECT_FALSE(form.isLoaded());
}

} // namespace
