// Generating a password: inputs read from the controls, the conversions, the
// character ranges, the pacing and progress, and the two guarded phases.
#include "support/ErrorNumber.h"
#include "MainWindowFixture.h"

#include "automation/AutomationError.h"
#include "system/CodePage.h"
#include "ui/ProgressBar.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <set>
#include <stdexcept>

namespace {

const QString kDesignText = QStringLiteral("Click the Generate button to generate a new password.");
const QString kSeedWarning = QStringLiteral("Please enter a seed (specify as integer).");
const QString kLengthWarning = QStringLiteral(
    "Please enter the length of the password you want to generate (specify in the number of characters).");

class GenerateTest : public ShownMainWindow {
protected:
    void useOwnSeed(const QString& seed)
    {
        w().optSeed[1]->setChecked(true);
        w().txtSeed->setText(seed);
    }
    std::set<int> codesOf(const QString& password)
    {
        std::set<int> codes;
        for (char byte : sysapi::toAnsi(password))
            codes.insert(static_cast<unsigned char>(byte));
        return codes;
    }
};

TEST_F(GenerateTest, DefaultsGiveTenPrintableCharactersAndMoveOnToCopy)
{
    const QString password = form.Generate();
    EXPECT_EQ(password.size(), 10);
    for (int code : codesOf(password)) {
        EXPECT_GE(code, 32);
        EXPECT_LE(code, 126);
    }
    EXPECT_EQ(w().lblPassword->text(), password);
    EXPECT_TRUE(w().lblPassword->isVisible());
    EXPECT_FALSE(w().barGenProgress->isVisible());
    EXPECT_TRUE(w().cmdCopy->isEnabled());
    EXPECT_EQ(focusName(), QStringLiteral("cmdCopy"));
    EXPECT_EQ(form.currentStep(), 4);
    EXPECT_TRUE(form.passwordUnsaved());
    EXPECT_TRUE(dialogs.messageBoxes().empty());
}

struct LengthCase {
    const char* text;
    int characters;  // -1: the length warning
    int errorNumber; // passed on to the caller
};

void PrintTo(const LengthCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class GenerateLengthTest : public GenerateTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(GenerateLengthTest, LengthTextIsFlooredAndRangeChecked)
{
    const LengthCase& c = GetParam();
    w().txtPassLen->setText(QString::fromLatin1(c.text));
    if (c.errorNumber) {
        EXPECT_EQ(errorNumberOf([&] { form.Generate(); }), c.errorNumber);
        EXPECT_EQ(w().lblPassword->text(), kDesignText);
        EXPECT_FALSE(form.passwordUnsaved());
        EXPECT_FALSE(w().cmdCopy->isEnabled());
    } else if (c.characters < 0) {
        EXPECT_EQ(form.Generate(), QString());
        ASSERT_EQ(dialogs.messageBoxes().size(), 1u);
        EXPECT_EQ(dialogs.messageBoxes()[0].text, kLengthWarning);
        EXPECT_EQ(dialogs.messageBoxes()[0].icon, ui::MessageIcon::Exclamation);
        EXPECT_EQ(dialogs.messageBoxes()[0].buttons, ui::MessageButtons::OK);
        EXPECT_EQ(dialogs.messageBoxes()[0].title, QStringLiteral("Vexlo 1.1"));
        EXPECT_EQ(w().lblPassword->text(), kDesignText);
        EXPECT_FALSE(form.passwordUnsaved());
        EXPECT_FALSE(w().cmdCopy->isEnabled());
    } else {
        const QString password = form.Generate();
        EXPECT_EQ(password.size(), c.characters);
        EXPECT_EQ(w().lblPassword->text(), password);
        EXPECT_TRUE(w().cmdCopy->isEnabled());
        EXPECT_TRUE(form.passwordUnsaved());
    }
    // Whatever happened, the bar has made way for the label again.
    EXPECT_TRUE(w().lblPassword->isVisible());
    EXPECT_FALSE(w().barGenProgress->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Lengths, GenerateLengthTest,
                         ::testing::Values(LengthCase{"10", 10, 0}, LengthCase{"0", 0, 0}, LengthCase{"-3", 0, 0},
                                           LengthCase{"7.9", 7, 0}, LengthCase{"-0.5", 0, 0},
                                           LengthCase{" 12 ", 12, 0}, LengthCase{"", -1, 0},
                                           LengthCase{"abc", -1, 0}, LengthCase{"32768", 0, 6},
                                           LengthCase{"-32769", 0, 6}));

TEST_F(GenerateTest, TheLongestPasswordHasAllItsCharacters)
{
    w().txtPassLen->setText(QStringLiteral("32767"));
    EXPECT_EQ(form.Generate().size(), 32767);
}

struct RangeCase {
    bool nonPrintable;
    bool symbols;
    int low;
    int high;
    bool without127;
};

void PrintTo(const RangeCase& c, std::ostream* out) { *out << c.low << ".." << c.high; }

class GenerateRangeTest : public GenerateTest, public ::testing::WithParamInterface<RangeCase> {};

// A seeded run long enough to draw every allowed code shows exactly the
// allowed codes.
TEST_P(GenerateRangeTest, CheckBoxesSelectTheCodes)
{
    const RangeCase& c = GetParam();
    w().chkNonPrintChars->setChecked(c.nonPrintable);
    w().chkSymbolChars->setChecked(c.symbols);
    useOwnSeed(QStringLiteral("4711"));
    w().txtPassLen->setText(QStringLiteral("32767"));
    std::set<int> expected;
    for (int code = c.low; code <= c.high; ++code) {
        if (!(c.without127 && code == 127))
            expected.insert(code);
    }
    EXPECT_EQ(codesOf(form.Generate()), expected);
}

INSTANTIATE_TEST_SUITE_P(CheckBoxes, GenerateRangeTest,
                         ::testing::Values(RangeCase{true, true, 0, 255, false}, RangeCase{true, false, 0, 127, false},
                                           RangeCase{false, true, 32, 254, true},
                                           RangeCase{false, false, 32, 126, false}));

TEST_F(GenerateTest, AGrayedCheckBoxCountsAsSet)
{
    w().chkNonPrintChars->setCheckState(Qt::PartiallyChecked);
    useOwnSeed(QStringLiteral("1"));
    w().txtPassLen->setText(QStringLiteral("5000"));
    EXPECT_LT(*codesOf(form.Generate()).begin(), 32);
}

TEST_F(GenerateTest, OwnSeedsAreFlooredAndGiveFixedSequences)
{
    w().txtPassLen->setText(QStringLiteral("40"));
    const auto passwordFor = [&](const char* seed) {
        useOwnSeed(QString::fromLatin1(seed));
        return form.Generate();
    };
    const QString twelve = passwordFor("12");
    EXPECT_EQ(passwordFor("12"), twelve);
    EXPECT_EQ(passwordFor("12.5"), twelve);
    EXPECT_EQ(passwordFor("-13"), passwordFor("-12.5"));
    EXPECT_NE(passwordFor("-13"), twelve);
    // 0 asks for a seed from the system, as the system-time choice does.
    EXPECT_NE(passwordFor("0"), passwordFor("0"));
}

TEST_F(GenerateTest, SeedThatIsNoNumberWarnsBeforeTheLengthIsRead)
{
    const QString before = form.Generate();
    useOwnSeed(QStringLiteral("x"));
    w().txtPassLen->setText(QStringLiteral("abc"));
    EXPECT_EQ(form.Generate(), QString());
    ASSERT_EQ(dialogs.messageBoxes().size(), 1u);
    EXPECT_EQ(dialogs.messageBoxes()[0].text, kSeedWarning);
    EXPECT_EQ(w().lblPassword->text(), before);
    EXPECT_TRUE(w().lblPassword->isVisible());
}

// Answers like the scripted dialogs, noting what the window showed while
// the message box was up.
class VisibilityAtMessage : public ScriptedDialogs {
public:
    explicit VisibilityAtMessage(frmMainWindow& window) : m_window(window) {}
    ui::MessageResult messageBox(const ui::MessageBoxRequest& request) override
    {
        barShown << m_window.barGenProgress->isVisible();
        labelShown << m_window.lblPassword->isVisible();
        return ScriptedDialogs::messageBox(request);
    }
    QList<bool> barShown;
    QList<bool> labelShown;

private:
    frmMainWindow& m_window;
};

// The warning comes while the bar is still up; the label returns after the
// user has answered.
TEST_F(GenerateTest, BothWarningsComeBeforeTheBarGivesWayToTheLabel)
{
    const struct {
        QString seed;
        QString length;
        QString warning;
    } cases[] = {{QStringLiteral("x"), QStringLiteral("8"), kSeedWarning},
                 {QStringLiteral("5"), QStringLiteral("abc"), kLengthWarning}};
    for (const auto& c : cases) {
        VisibilityAtMessage watcher(w());
        useOwnSeed(c.seed);
        w().txtPassLen->setText(c.length);
        EXPECT_EQ(form.Generate(), QString());
        ASSERT_EQ(watcher.messageBoxes().size(), 1u);
        EXPECT_EQ(watcher.messageBoxes()[0].text, c.warning);
        EXPECT_EQ(watcher.barShown, QList<bool>{true}) << c.warning.toStdString();
        EXPECT_EQ(watcher.labelShown, QList<bool>{false}) << c.warning.toStdString();
        EXPECT_FALSE(w().barGenProgress->isVisible());
        EXPECT_TRUE(w().lblPassword->isVisible());
    }
}

TEST_F(GenerateTest, SystemTimeIgnoresTheSeedBox)
{
    w().txtSeed->setText(QStringLiteral("x"));
    EXPECT_EQ(form.Generate().size(), 10);
    EXPECT_TRUE(dialogs.messageBoxes().empty());
}

TEST_F(GenerateTest, SeedOutsideThirtyTwoBitsOverflows)
{
    useOwnSeed(QStringLiteral("2147483648"));
    EXPECT_EQ(errorNumberOf([&] { form.Generate(); }), 6);
    EXPECT_TRUE(w().lblPassword->isVisible());
}

TEST_F(GenerateTest, ProgressAdvancesPerCharacterAndThePacingIsFiveThenTwoHundred)
{
    services::PauseHandler previous;
    std::vector<std::int32_t> pauses;
    std::vector<float> progress;
    std::vector<bool> barShown;
    previous = services::setPauseHandler([&](std::int32_t milliseconds) {
        pauses.push_back(milliseconds);
        progress.push_back(w().barGenProgress->exactValue());
        barShown.push_back(w().barGenProgress->isVisible() && !w().lblPassword->isVisible());
    });
    w().txtPassLen->setText(QStringLiteral("3"));
    form.Generate();
    services::setPauseHandler(previous);

    EXPECT_EQ(pauses, (std::vector<std::int32_t>{5, 5, 5, 200}));
    EXPECT_EQ(progress, (std::vector<float>{static_cast<float>(100.0 / 3), static_cast<float>(200.0 / 3), 100.0f,
                                            100.0f}));
    EXPECT_EQ(barShown, (std::vector<bool>{true, true, true, true}));
}

TEST_F(GenerateTest, AFailureFromTheButtonIsReportedAndTheWindowStays)
{
    w().txtPassLen->setText(QStringLiteral("40000"));
    QTest::mouseClick(w().cmdGenerate, Qt::LeftButton);
    ASSERT_EQ(dialogs.messageBoxes().size(), 1u);
    EXPECT_EQ(dialogs.messageBoxes()[0].title, QStringLiteral("Vexlo 1.1"));
    EXPECT_EQ(dialogs.messageBoxes()[0].text, QStringLiteral("Error 6: Overflow"));
    EXPECT_EQ(dialogs.messageBoxes()[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(w().cmdCopy->isEnabled());
}

// Whatever a handler lets through stays out of Qt's event loop: it is
// reported and the window goes on.
TEST_F(GenerateTest, AnyFailureOfAButtonIsCaughtAndReported)
{
    const struct {
        const char* label;
        std::function<void()> fail;
        QString text;
    } cases[] = {
        {"no numbered error", [] { throw std::runtime_error("broken pause"); }, QStringLiteral("Error 51: broken pause")},
        {"not an exception at all", [] { throw 42; }, QStringLiteral("Error 51: Internal error")},
    };
    for (const auto& c : cases) {
        ScriptedDialogs answers;
        const services::PauseHandler previous = services::setPauseHandler([&c](std::int32_t) { c.fail(); });
        bool escaped = false;
        try {
            QTest::mouseClick(w().cmdGenerate, Qt::LeftButton);
        } catch (...) {
            escaped = true;
        }
        services::setPauseHandler(previous);
        EXPECT_FALSE(escaped) << c.label;
        ASSERT_EQ(answers.messageBoxes().size(), 1u) << c.label;
        EXPECT_EQ(answers.messageBoxes()[0].text, c.text) << c.label;
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(w().lblPassword->isVisible()) << c.label;
    }
}

// A message box that cannot be shown either leaves only a line in the log.
class FailingMessageBoxes : public ScriptedDialogs {
public:
    ui::MessageResult messageBox(const ui::MessageBoxRequest& request) override
    {
        ScriptedDialogs::messageBox(request);
        throw std::runtime_error("no message box today");
    }
};

TEST_F(GenerateTest, AReportThatFailsItselfStaysOutOfTheEventLoop)
{
    FailingMessageBoxes failing;
    w().txtPassLen->setText(QStringLiteral("40000"));
    bool escaped = false;
    try {
        QTest::mouseClick(w().cmdGenerate, Qt::LeftButton);
    } catch (...) {
        escaped = true;
    }
    EXPECT_FALSE(escaped);
    EXPECT_EQ(failing.messageBoxes().size(), 1u);
    EXPECT_TRUE(form.isVisible());
}

TEST(GenerateHidden, AHiddenWindowGeneratesWithoutMovingTheFocus)
{
    InstantPauses instant;
    ScriptedDialogs dialogs;
    frmMain form;
    form.Load();
    EXPECT_EQ(form.Generate().size(), 10);
    EXPECT_TRUE(form.window().cmdCopy->isEnabled());
    EXPECT_EQ(form.currentStep(), 1);
    EXPECT_FALSE(form.isVisible());
}

} // namespace
