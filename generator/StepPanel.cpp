#include "StepPanel.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

// A plain frame reads as a window frame to screen readers; the step panel is
// a panel, and it speaks of its step.
class StepPanelAccessible : public QAccessibleWidget {
public:
    explicit StepPanelAccessible(StepPanel* panel) : QAccessibleWidget(panel, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: return panel()->stepName();
        case QAccessible::Description: return panel()->stepDescription();
        default: return QAccessibleWidget::text(t);
        }
    }

private:
    StepPanel* panel() const { return static_cast<StepPanel*>(widget()); }
};

QAccessibleInterface* stepPanelAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(StepPanel::staticMetaObject.className()))
        return new StepPanelAccessible(static_cast<StepPanel*>(object));
    return nullptr;
}

// Installed before any panel exists, so that no panel is ever without it.
struct FactoryInstaller {
    FactoryInstaller() { QAccessible::installFactory(&stepPanelAccessible); }
};
const FactoryInstaller factoryInstaller;

void notify(QObject* panel, QAccessible::Event change)
{
    QAccessibleEvent event(panel, change);
    QAccessible::updateAccessibility(&event);
}

} // namespace

StepPanel::StepPanel(QWidget* parent) : QFrame(parent) {}

void StepPanel::describeStep(const QString& name, const QString& description)
{
    const bool nameChanged = name != m_stepName;
    const bool descriptionChanged = description != m_stepDescription;
    m_stepName = name;
    m_stepDescription = description;
    if (nameChanged)
        notify(this, QAccessible::NameChanged);
    if (descriptionChanged)
        notify(this, QAccessible::DescriptionChanged);
}
