#pragma once

#include <QFrame>
#include <QString>

// The step panel of the main window (Picture1): a frame holding the step's
// number, the count of steps, its tip and the two arrow buttons. To a screen
// reader it is a panel named after the step it shows ("Step 2 of 5") and
// described by the step's tip, so that a change of step is announced.
class StepPanel : public QFrame {
    Q_OBJECT

public:
    explicit StepPanel(QWidget* parent = nullptr);

    QString stepName() const { return m_stepName; }
    QString stepDescription() const { return m_stepDescription; }
    // Sends the accessibility event of each text that changed.
    void describeStep(const QString& name, const QString& description);

private:
    QString m_stepName;
    QString m_stepDescription;
};
