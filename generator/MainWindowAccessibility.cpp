#include "MainWindowAccessibility.h"

#include "PasswordStrength.h"
#include "StepPanel.h"
#include "frmMainWindow.h"

#include "ui/ProgressBar.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QWidget* widgetOf(const automation::ObjectRef& control) { return dynamic_cast<QWidget*>(control.get()); }

} // namespace

void nameControlsForScreenReaders(frmMainWindow& w)
{
    // The graphical arrow buttons say in their tooltips what they do.
    w.cmdPrevStep->setAccessibleName(w.cmdPrevStep->toolTip());
    w.cmdNextStep->setAccessibleName(w.cmdNextStep->toolTip());
    w.txtPassLen->setAccessibleName(QStringLiteral("Password length:"));
    w.txtSeed->setAccessibleName(QStringLiteral("Seed"));
    w.barGenProgress->setAccessibleName(QStringLiteral("Generating the password"));
    // The indicators' captions are the bare numbers of their steps.
    for (const automation::ObjectRef& indicator : w.slbSteps) {
        if (QWidget* widget = widgetOf(indicator))
            widget->setAccessibleName(QStringLiteral("Step ") + widget->property("Caption").toString());
    }
}

void describeStepPanel(frmMainWindow& w)
{
    if (auto* panel = qobject_cast<StepPanel*>(w.Picture1))
        panel->describeStep(QStringLiteral("Step ") + w.lblStepCount->text() + u' ' + w.lblNumSteps->text(),
                            w.lblTips->text());
}

void showStrengthHint(QLabel& passwordBox, const PasswordStrength& strength)
{
    const QString hint = strengthHint(strength);
    passwordBox.setToolTip(hint);
    passwordBox.setAccessibleDescription(hint);
}
