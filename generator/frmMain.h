#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QCloseEvent;
class QWidget;
class frmMainWindow;

// The main window object. It owns the program's state: the options live in
// the controls of the loaded window, the last password in the caption of
// lblPassword, and the fields below hold the rest. The object outlives its
// loaded window: unloading destroys the controls and keeps the fields;
// loading again runs the load handling anew.
class frmMain : public QObject {
    Q_OBJECT

public:
    explicit frmMain(QObject* parent = nullptr);
    ~frmMain() override;

    // The name of the shared-memory block that Copy hands the password to,
    // and of the calling program as the tips name it. Written by automation.
    QString MemoryName;

    // Loads the window (hidden) when it is not loaded; the load handling runs.
    void Load();
    bool isLoaded() const { return !m_window.isNull(); }
    // Loads when needed, then shows the window modeless and without an owner.
    void Show();
    void Hide();
    bool isVisible() const;
    // Asks to unload the window; the unload handling may cancel it.
    void Unload();

    // Selects the seed option button with the index as the user would: the
    // window's handling of the seed choice runs.
    void SelectSeedOption(int index);

    // Builds the tips of the five steps from MemoryName.
    void RefreshTips();

    // Draws a new password from the options the controls hold, shows it and
    // returns it; empty text when the seed or the length is no number.
    QString Generate();
    // Puts the password on the clipboard and, when the companion program runs
    // and the user agrees, into the shared-memory block named by MemoryName.
    QString Copy();
    // Writes the description and the password to a text file; asks for the
    // file and the description when they are empty, and writes the answers
    // back. False when the user cancelled the save dialog.
    bool Save(QString& FileName, QString& Description);

    // The loaded window and its controls, loading it (hidden) when needed.
    frmMainWindow& window();

    // State for the automation object and for tests.
    bool passwordUnsaved() const { return PasswordUnsaved; }
    bool unloadAccepted() const { return UnloadAccepted; }
    std::int16_t currentStep() const { return CurrentStep; }
    std::int16_t previousStep() const { return PreviousStep; }
    const std::array<QString, 5>& stepTips() const { return StepTips; }
    // Moves the wizard's step as a program would, bypassing the arrow buttons' range.
    void forceSteps(std::int16_t previous, std::int16_t current);

signals:
    // The Close button unloaded the window: the program ends at once.
    void endProgramRequested();
    // The window was unloaded (by any means).
    void unloaded();

private:
    // Fields, in the order the window declares them (MemoryName above).
    std::array<QString, 5> StepTips;
    std::int16_t CurrentStep = 0;
    std::int16_t PreviousStep = 0;
    std::array<QPointer<QWidget>, 5> StepFocus;
    bool PasswordUnsaved = false;
    bool UnloadAccepted = false;

    // Load and unload handling.
    void Form_Load();
    void Form_Unload(bool& cancel);
    void connectEvents();
    void destroyWindow();
    void onCloseRequested(QCloseEvent* event);

    // Seed choice.
    void optSeed_Click(int index);

    // Wizard steps.
    void SetUpWizard();
    void ShowStep();
    void HighlightStep(const std::int16_t& step, const bool& on);
    void SwitchStepIndicator(std::int16_t step, bool highlight);
    void StepEntered(std::int16_t step);
    void onStepControlFocused(std::int16_t step);
    void cmdNextStep_Click();
    void cmdPrevStep_Click();

    void cmdClose_Click();
    void cmdGenerate_Click();
    void cmdCopy_Click();
    void cmdSave_Click();
    void cmdHelp_Click();
    // In frmMainAbout.cpp.
    void cmdAbout_Click();

    // Moves the keyboard focus; a hidden window has no focus to move.
    void moveFocus(QWidget* control);
    void warn(const QString& text);

    // Runs a button's handler; a failure it lets through is reported in a
    // message box and the window stays usable.
    void runHandler(const std::function<void()>& handler);

    bool eventFilter(QObject* watched, QEvent* event) override;

    QPointer<frmMainWindow> m_window;
    bool m_firstShowPending = false;
    // Focus events raised while ShowStep runs wait until it has finished.
    int m_showStepDepth = 0;
    std::vector<std::int16_t> m_deferredStepEntries;
};

