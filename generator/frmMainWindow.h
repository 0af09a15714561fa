#pragma once

#include "automation/StdFont.h"
#include "ui/UserControl.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace ui {
class ProgressBar;
}

// The loaded main window: the widget and every control, created with its
// design settings (caption, position and size in twips, container, TabIndex,
// fonts, colours, initial state). It holds no behaviour: frmMain connects
// the events it handles. Destroying it unloads the controls.
class frmMainWindow : public QDialog, public ui::AmbientHost {
    Q_OBJECT

public:
    explicit frmMainWindow();

    // In creation order.
    QPushButton* cmdHelp;
    QPushButton* cmdSave;
    QPushButton* cmdAbout;
    QGroupBox* fraMiscellaneous;
    QCheckBox* chkNonPrintChars;
    QCheckBox* chkSymbolChars;
    QWidget* Picture1;
    QPushButton* cmdPrevStep;
    QPushButton* cmdNextStep;
    QLabel* lblNumSteps;
    QLabel* lblStepCount;
    QLabel* Label3;
    QLabel* lblTips;
    QPushButton* cmdClose;
    QPushButton* cmdCopy;
    QPushButton* cmdGenerate;
    QGroupBox* Frame2;
    ui::ProgressBar* barGenProgress;
    QLabel* lblPassword;
    QGroupBox* fraSeed;
    std::array<QRadioButton*, 2> optSeed;
    QLineEdit* txtSeed;
    QLineEdit* txtPassLen;
    std::array<QLabel*, 2> lblStep1Labels;
    // The Tarvo controls, created by class id from the window's stored design
    // settings and bound late: the step indicators and the glowing label.
    automation::ObjectRef XGlowLabel1;
    std::array<automation::ObjectRef, 5> slbSteps;

    // The window's font object, which its controls take as their ambient font.
    automation::FontRef ambientFont() const override { return m_font; }

    // The window's own controls that take part in the tab order, by TabIndex.
    QList<QWidget*> tabOrder() const;

    // Moves the window to the centre of its screen (the first position).
    void centreOnScreen();

    // Where the stored design settings of the Tarvo controls come from, by
    // settings name ("slbSteps0", ...): the window's resources, unless a test
    // hands in its own bytes. An empty function puts the resources back.
    using StoredSettingsSource = std::function<QByteArray(const QString& name)>;
    static void setStoredSettingsSource(StoredSettingsSource source);

signals:
    // The close box or the system menu asked to close the window.
    void closeRequested(QCloseEvent* event);
    // Esc: the cancel button's key.
    void cancelKeyPressed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void createControls();
    void createTarvoControls();
    void applyTabOrder();

    automation::FontRef m_font;
};
