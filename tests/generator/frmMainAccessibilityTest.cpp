// What a screen reader learns about the main window: a name for every
// control, the step panel named after the step it shows, the indicators and
// the glowing label as labels, and the strength of the password shown.
#include "MainWindowFixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>

#include <functional>

namespace {

QAccessibleInterface* accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }
QWidget* widgetOf(const automation::ObjectRef& control) { return dynamic_cast<QWidget*>(control.get()); }

// Every interface below the window, as a screen reader walks the tree.
void walk(QAccessibleInterface* iface, const std::function<void(QAccessibleInterface*)>& visit)
{
    visit(iface);
    for (int i = 0; i < iface->childCount(); ++i) {
        if (QAccessibleInterface* child = iface->child(i))
            walk(child, visit);
    }
}

class MainWindowAccessibilityTest : public ShownMainWindow {
protected:
    QString panelName() { return accessible(w().Picture1)->text(QAccessible::Name); }
    QString panelDescription() { return accessible(w().Picture1)->text(QAccessible::Description); }
    QString tip(int step) { return form.stepTips().at(static_cast<std::size_t>(step - 1)); }
};

TEST_F(MainWindowAccessibilityTest, EveryControlThatActsHasANameAndNothingIsAnAnonymousFiller)
{
    int controls = 0;
    walk(accessible(&w()), [&](QAccessibleInterface* iface) {
        const QString what = iface->object() ? iface->object()->objectName() : QString();
        EXPECT_NE(iface->role(), QAccessible::Client) << what.toStdString();
        switch (iface->role()) {
        case QAccessible::PushButton:
        case QAccessible::EditableText:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
            ++controls;
            EXPECT_FALSE(iface->text(QAccessible::Name).isEmpty()) << what.toStdString();
            break;
        default: break;
        }
    });
    // Eight buttons, two text boxes, two check boxes, two option buttons.
    EXPECT_EQ(controls, 14);
}

struct NamedControl {
    const char* control;
    const char* name;
};

void PrintTo(const NamedControl& c, std::ostream* out) { *out << c.control; }

class ControlNameTest : public MainWindowAccessibilityTest, public ::testing::WithParamInterface<NamedControl> {};

TEST_P(ControlNameTest, NamesTheControl)
{
    auto* control = w().findChild<QWidget*>(QString::fromLatin1(GetParam().control));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(accessible(control)->text(QAccessible::Name), QString::fromUtf8(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ControlNameTest,
    ::testing::Values(NamedControl{"cmdPrevStep", "Display previous step"},
                      NamedControl{"cmdNextStep", "Display next step"},
                      NamedControl{"txtPassLen", "Password length:"}, NamedControl{"txtSeed", "Seed"},
                      NamedControl{"cmdGenerate", "Generate"}, NamedControl{"cmdSave", "Save"},
                      NamedControl{"optSeed(1)", "Let me specify"},
                      NamedControl{"chkNonPrintChars", "Allow non-printable characters"},
                      NamedControl{"slbSteps(0)", "Step 1"}, NamedControl{"slbSteps(4)", "Step 5"},
                      NamedControl{"XGlowLabel1", "Tovin"}));

TEST_F(MainWindowAccessibilityTest, NamingChangesNoCaptionOrTooltip)
{
    EXPECT_TRUE(w().cmdPrevStep->text().isEmpty());
    EXPECT_TRUE(w().cmdNextStep->text().isEmpty());
    EXPECT_EQ(w().cmdPrevStep->toolTip(), QStringLiteral("Display previous step"));
    EXPECT_EQ(w().cmdNextStep->toolTip(), QStringLiteral("Display next step"));
    EXPECT_EQ(w().txtPassLen->text(), QStringLiteral("10"));
    EXPECT_EQ(w().lblStep1Labels[0]->text(), QStringLiteral("Password &length:"));
}

TEST_F(MainWindowAccessibilityTest, TheStepPanelIsAPanelNamedAfterStepOneAtLoad)
{
    EXPECT_EQ(accessible(w().Picture1)->role(), QAccessible::Grouping);
    EXPECT_EQ(panelName(), QStringLiteral("Step 1 of 5"));
    EXPECT_EQ(panelDescription(), tip(1));
}

TEST_F(MainWindowAccessibilityTest, TabIntoTheSeedOptionRenamesThePanelAndLeavesTheFocus)
{
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), QStringLiteral("optSeed(0)"));
    EXPECT_EQ(panelName(), QStringLiteral("Step 2 of 5"));
    EXPECT_EQ(panelDescription(), tip(2));
}

TEST_F(MainWindowAccessibilityTest, EveryStepNamesThePanelWithItsTip)
{
    // Copy is enabled, so the arrows reach every step's control.
    form.Generate();
    w().cmdPrevStep->click(); // 3
    w().cmdPrevStep->click(); // 2
    w().cmdPrevStep->click(); // 1
    for (int step = 1; step <= 5; ++step) {
        EXPECT_EQ(form.currentStep(), step);
        EXPECT_EQ(panelName(), QStringLiteral("Step %1 of 5").arg(step));
        EXPECT_EQ(panelDescription(), tip(step));
        if (step < 5)
            w().cmdNextStep->click();
    }
}

TEST_F(MainWindowAccessibilityTest, IndicatorsReadTheCurrentStepAsCurrent)
{
    const auto descriptions = [this] {
        QStringList texts;
        for (const auto& indicator : w().slbSteps)
            texts << accessible(widgetOf(indicator))->text(QAccessible::Description);
        return texts;
    };
    const QString on = QStringLiteral("current");
    const QString off = QStringLiteral("not current");
    EXPECT_EQ(descriptions(), (QStringList{on, off, off, off, off}));
    press(Qt::Key_Tab);
    EXPECT_EQ(descriptions(), (QStringList{off, on, off, off, off}));
}

TEST_F(MainWindowAccessibilityTest, EveryControlThatActsCanBeReachedByKeyboard)
{
    form.Generate();                    // Copy is enabled from now on
    w().optSeed[1]->setChecked(true); // and the seed box
    QSet<QString> reached;
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        for (int i = 0; i < 30; ++i) {
            press(key);
            reached << focusName();
        }
    }
    // The option that is not selected is passed over by Tab; its access key
    // (and the arrow keys) reach it.
    press(Qt::Key_U, Qt::AltModifier);
    reached << focusName();

    QSet<QString> controls;
    for (QWidget* control : w().findChildren<QWidget*>()) {
        const QAccessible::Role role = accessible(control)->role();
        if (role == QAccessible::PushButton || role == QAccessible::EditableText || role == QAccessible::CheckBox
            || role == QAccessible::RadioButton)
            controls << control->objectName();
    }
    EXPECT_EQ(controls.size(), 14);
    EXPECT_EQ(controls - reached, QSet<QString>());
}

TEST_F(MainWindowAccessibilityTest, ThePasswordBoxTellsTheStrengthOfThePasswordItShows)
{
    EXPECT_TRUE(w().lblPassword->toolTip().isEmpty());
    EXPECT_TRUE(accessible(w().lblPassword)->text(QAccessible::Description).isEmpty());

    form.Generate();
    const QString systemTime = QStringLiteral("Strength: 65.7 bits. 10 characters, each drawn from the system's random "
                                              "source as one of 95 possible codes.");
    EXPECT_EQ(w().lblPassword->toolTip(), systemTime);
    EXPECT_EQ(accessible(w().lblPassword)->text(QAccessible::Description), systemTime);

    // A run that stops on a length that is no number keeps the password, and its hint.
    w().txtPassLen->setText(QStringLiteral("many"));
    dialogs.answerMessageBox(ui::MessageResult::OK);
    form.Generate();
    EXPECT_EQ(w().lblPassword->toolTip(), systemTime);

    w().txtPassLen->setText(QStringLiteral("20"));
    w().chkSymbolChars->setChecked(true);
    w().optSeed[1]->setChecked(true);
    w().txtSeed->setText(QStringLiteral("1234"));
    form.Generate();
    EXPECT_TRUE(w().lblPassword->toolTip().startsWith(QStringLiteral("Strength: at most 32 bits. This password was "
                                                                      "made from a seed of your own")));
    EXPECT_EQ(accessible(w().lblPassword)->text(QAccessible::Description), w().lblPassword->toolTip());
}

} // namespace
