#include "frmMain.h"

#include "AppInfo.h"
#include "CharacterRange.h"
#include "MainWindowAccessibility.h"
#include "PasswordStrength.h"
#include "frmMainWindow.h"

#include "automation/AutomationError.h"
#include "automation/Conversions.h"
#include "services/Pause.h"
#include "services/Random.h"
#include "services/SaveDialog.h"
#include "services/SharedMemoryBlock.h"
#include "system/CodePage.h"
#include "system/HtmlHelp.h"
#include "system/TextFileWriter.h"
#include "system/WindowLookup.h"
#include "tarvo/TypeLibrary.h"
#include "ui/Dialogs.h"
#include "ui/EventModel.h"
#include "ui/OleColor.h"
#include "ui/ProgressBar.h"
#include "ui/SecretClipboard.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <limits>
#include <memory>
#include <new>

using automation::AutomationError;
using automation::ErrorNumber::ObjectNotSet;
using automation::ErrorNumber::InvalidProcedureCall;
using automation::ErrorNumber::Overflow;
using automation::ErrorNumber::SubscriptOutOfRange;
using automation::ErrorNumber::TypeMismatch;

namespace {

constexpr std::int16_t kStepCount = 5;
constexpr std::int32_t kPauseAfterCharacter = 5;
constexpr std::int32_t kPauseAfterPassword = 200;
constexpr int kInternalError = 51; // what a handler lets through that is no numbered error
constexpr std::int32_t kGlowInterval = 50; // milliseconds between the glowing label's ticks
const char16_t kCarriageReturn = u'\r';

// The companion program's main window.
const char* const kCompanionWindowClass = "ThunderRT6FormDC";
const char* const kCompanionWindowTitle = "Mirrak";

// Runs one statement of a routine that ignores failures statement by statement.
void ignoringFailure(const std::function<void()>& statement)
{
    try {
        statement();
    } catch (const AutomationError&) {
    }
}

std::int16_t checkedStep(int step)
{
    if (step < std::numeric_limits<std::int16_t>::min() || step > std::numeric_limits<std::int16_t>::max())
        automation::raiseError(Overflow);
    return static_cast<std::int16_t>(step);
}

// The entry of a five-element array for a step numbered from 1.
std::size_t stepIndex(std::int16_t step)
{
    if (step < 1 || step > kStepCount)
        automation::raiseError(SubscriptOutOfRange);
    return static_cast<std::size_t>(step - 1);
}

void setBold(QWidget* control, bool bold)
{
    QFont font = control->font();
    font.setBold(bold);
    control->setFont(font);
}

void setTextBoxBackground(QLineEdit* textBox, std::uint32_t colour)
{
    QPalette palette = textBox->palette();
    if (auto value = ui::oleColorToQColor(colour))
        palette.setColor(QPalette::Base, *value);
    textBox->setPalette(palette);
}

} // namespace

frmMain::frmMain(QObject* parent) : QObject(parent) {}

frmMain::~frmMain() { delete m_window.data(); }

frmMainWindow& frmMain::window()
{
    Load();
    return *m_window;
}

// ---------------------------------------------------------------- load, show, unload

void frmMain::Load()
{
    if (isLoaded())
        return;
    m_window = new frmMainWindow();
    m_firstShowPending = true;
    connectEvents();
    try {
        Form_Load();
    } catch (...) {
        destroyWindow();
        throw;
    }
}

void frmMain::Form_Load()
{
    SetUpWizard();
    m_window->XGlowLabel1->putPropertyById(tarvo::XGlowLabelDispId::Interval, kGlowInterval);
    m_window->cmdGenerate->setDefault(true);
    optSeed_Click(0);
}

void frmMain::Show()
{
    Load();
    frmMainWindow& w = *m_window;
    if (m_firstShowPending) {
        m_firstShowPending = false;
        w.centreOnScreen();
        // The first control in the tab order that can take the focus.
        if (!w.focusWidget())
            w.txtPassLen->setFocus(Qt::OtherFocusReason);
    }
    w.show();
    w.raise();
    w.activateWindow();
}

void frmMain::Hide()
{
    if (isLoaded())
        m_window->hide();
}

bool frmMain::isVisible() const { return isLoaded() && m_window->isVisible(); }

void frmMain::Unload()
{
    if (!isLoaded())
        return;
    bool cancel = false;
    Form_Unload(cancel);
    if (!cancel)
        destroyWindow();
}

void frmMain::Form_Unload(bool& cancel)
{
    if (PasswordUnsaved) {
        const QString question = QStringLiteral("You have not save the generated password.") + kCarriageReturn
                                 + QStringLiteral("Do you want to save it now?");
        switch (ui::messageBox(QString::fromLatin1(kAppTitle), question, ui::MessageIcon::Question,
                               ui::MessageButtons::YesNoCancel, m_window.data())) {
        case ui::MessageResult::Cancel: cancel = true; break;
        case ui::MessageResult::Yes:
            try {
                cmdSave_Click();
            } catch (...) {
                // A save that failed keeps the window, and the password, where they are.
                cancel = true;
                UnloadAccepted = false;
                throw;
            }
            break;
        default: break;
        }
    }
    UnloadAccepted = !cancel;
}

void frmMain::onCloseRequested(QCloseEvent* event)
{
    // An unload starts only from the top level: a close that arrives inside
    // another handler's wait is taken up once that wait has ended.
    if (!ui::atTopLevel()) {
        event->ignore();
        ui::runAtTopLevel(this, [this] {
            if (isLoaded())
                m_window->close();
        });
        return;
    }
    bool cancel = false;
    runHandler([&] { Form_Unload(cancel); });
    if (cancel || !UnloadAccepted) {
        event->ignore();
        return;
    }
    event->accept();
    destroyWindow();
}

void frmMain::destroyWindow()
{
    frmMainWindow* window = m_window.data();
    m_window.clear();
    if (!window)
        return;
    window->removeEventFilter(this);
    for (QObject* control : window->findChildren<QWidget*>())
        control->removeEventFilter(this);
    window->disconnect(this);
    window->hide();
    window->deleteLater();
    emit unloaded();
}

void frmMain::moveFocus(QWidget* control)
{
    // The focus can only move within a shown window; an automation client may
    // run the window hidden, and the operation then goes on without it.
    if (m_window && m_window->isVisible())
        control->setFocus(Qt::OtherFocusReason);
}

void frmMain::warn(const QString& text)
{
    ui::messageBox(QString::fromLatin1(kAppTitle), text, ui::MessageIcon::Exclamation, ui::MessageButtons::OK,
                   m_window.data());
}

void frmMain::cmdGenerate_Click() { Generate(); }

void frmMain::cmdCopy_Click() { Copy(); }

void frmMain::cmdSave_Click()
{
    QString fileName;
    QString description;
    Save(fileName, description);
}

// The help path is built anew on each click: the program's folder may have
// moved since the last one.
void frmMain::cmdHelp_Click()
{
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/") + QStringLiteral("Vexlo.chm");
    sysapi::HtmlHelp(m_window.data(), path, sysapi::HH_DISPLAY_TOPIC, 0);
}

void frmMain::cmdClose_Click()
{
    Unload();
    if (UnloadAccepted)
        emit endProgramRequested();
}

// ---------------------------------------------------------------- events

void frmMain::connectEvents()
{
    frmMainWindow& w = *m_window;
    connect(&w, &frmMainWindow::closeRequested, this, &frmMain::onCloseRequested);
    connect(&w, &frmMainWindow::cancelKeyPressed, this, [this] {
        if (isLoaded())
            m_window->cmdClose->click();
    });
    const auto onClick = [this](QPushButton* button, void (frmMain::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { runHandler([this, handler] { (this->*handler)(); }); });
    };
    onClick(w.cmdGenerate, &frmMain::cmdGenerate_Click);
    onClick(w.cmdCopy, &frmMain::cmdCopy_Click);
    onClick(w.cmdSave, &frmMain::cmdSave_Click);
    onClick(w.cmdClose, &frmMain::cmdClose_Click);
    onClick(w.cmdHelp, &frmMain::cmdHelp_Click);
    onClick(w.cmdAbout, &frmMain::cmdAbout_Click);
    onClick(w.cmdNextStep, &frmMain::cmdNextStep_Click);
    onClick(w.cmdPrevStep, &frmMain::cmdPrevStep_Click);
    for (int index = 0; index < 2; ++index) {
        connect(w.optSeed[index], &QRadioButton::toggled, this, [this, index](bool checked) {
            if (checked)
                runHandler([this, index] { optSeed_Click(index); });
        });
    }

    const std::pair<QWidget*, std::int16_t> stepControls[] = {
        {w.txtPassLen, 1}, {w.optSeed[0], 2}, {w.optSeed[1], 2}, {w.txtSeed, 2},      {w.chkNonPrintChars, 2},
        {w.chkSymbolChars, 2}, {w.cmdGenerate, 3}, {w.cmdCopy, 4},   {w.cmdClose, 5},
    };
    for (const auto& [control, step] : stepControls) {
        control->setProperty("WizardStep", step);
        control->installEventFilter(this);
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const QVariant step = watched->property("WizardStep");
        if (step.isValid())
            runHandler([&] { onStepControlFocused(static_cast<std::int16_t>(step.toInt())); });
    }
    return QObject::eventFilter(watched, event);
}

// Nothing a handler lets through may reach Qt's event loop: it is shown in
// a message box, and should even that fail, written to the log.
void frmMain::runHandler(const std::function<void()>& handler)
{
    auto report = [this](int number, const QString& description) {
        try {
            ui::messageBox(QString::fromLatin1(kAppTitle),
                           QStringLiteral("Error %1: %2").arg(number).arg(description), ui::MessageIcon::Exclamation,
                           ui::MessageButtons::OK, m_window.data());
        } catch (...) {
            qWarning("Vexlo: error %d: %s (the message box failed as well)", number, qUtf8Printable(description));
        }
    };
    try {
        handler();
    } catch (const AutomationError& error) {
        report(error.number(), error.description());
    } catch (const std::bad_alloc&) {
        report(automation::ErrorNumber::OutOfMemory, automation::standardDescription(automation::ErrorNumber::OutOfMemory));
    } catch (const std::exception& error) {
        report(kInternalError, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        report(kInternalError, QStringLiteral("Internal error"));
    }
}

// ---------------------------------------------------------------- seed choice

void frmMain::optSeed_Click(int index)
{
    frmMainWindow& w = *m_window;
    if (index == 0) {
        w.txtSeed->setEnabled(false);
        setTextBoxBackground(w.txtSeed, ui::SystemColor::ButtonFace);
    } else if (index == 1) {
        w.txtSeed->setEnabled(true);
        // The focus can only move into a shown window; while the window is
        // hidden the choice is still made and the box still takes its colour.
        if (w.isVisible())
            w.txtSeed->setFocus(Qt::OtherFocusReason);
        setTextBoxBackground(w.txtSeed, ui::SystemColor::Window);
    }
}

void frmMain::SelectSeedOption(int index)
{
    QRadioButton* option = window().optSeed.at(static_cast<std::size_t>(index));
    if (option->isChecked())
        optSeed_Click(index);
    else
        option->setChecked(true); // its toggle runs the handling
}

// ---------------------------------------------------------------- wizard steps

void frmMain::RefreshTips()
{
    StepTips[0] = QStringLiteral("Type the length of the password you want to generate in the number of characters.");
    StepTips[1] = QStringLiteral(
        "Set seed options and select any miscallaneous options. It is safe to use the default values.");
    StepTips[2] = QStringLiteral(
        "Click the Generate button. You will see the generated password in the password box.");
    if (MemoryName.isEmpty()) {
        StepTips[3] = QStringLiteral("Click the Copy button to copy the password to the clipboard.");
        StepTips[4] = QStringLiteral("Right-click the edit box where you want to enter the password. Select Paste.");
    } else {
        StepTips[3] = QStringLiteral("Click the Copy button to copy the password to ") + MemoryName + u'.';
        StepTips[4] = QStringLiteral("Click the Close button to return to ") + MemoryName + u'.';
    }
}

void frmMain::SetUpWizard()
{
    frmMainWindow& w = *m_window;
    RefreshTips();
    StepFocus = {w.txtPassLen, nullptr, w.cmdGenerate, w.cmdCopy, w.cmdClose};
    w.lblNumSteps->setText(QStringLiteral("of ") + automation::numberToText(static_cast<std::int32_t>(kStepCount)));
    PreviousStep = 1;
    CurrentStep = 1;
    ShowStep();
}

void frmMain::ShowStep()
{
    frmMainWindow& w = *m_window;
    ++m_showStepDepth;
    ignoringFailure([&] { w.lblStepCount->setText(automation::numberToText(static_cast<std::int32_t>(CurrentStep))); });
    ignoringFailure([&] { w.lblTips->setText(StepTips.at(stepIndex(CurrentStep))); });
    ignoringFailure([&] {
        QWidget* target = StepFocus.at(stepIndex(CurrentStep));
        if (!target)
            automation::raiseError(ObjectNotSet);
        if (!target->isEnabled() || !w.isVisible())
            automation::raiseError(InvalidProcedureCall);
        target->setFocus(Qt::OtherFocusReason);
    });
    ignoringFailure([&] { HighlightStep(PreviousStep, false); });
    ignoringFailure([&] { HighlightStep(CurrentStep, true); });
    ignoringFailure([&] {
        w.cmdNextStep->setEnabled(CurrentStep != kStepCount);
        w.cmdPrevStep->setEnabled(CurrentStep != 1);
    });
    describeStepPanel(w);
    --m_showStepDepth;

    // Focus events that the statements above raised are handled now, in order.
    if (m_showStepDepth == 0) {
        while (!m_deferredStepEntries.empty()) {
            const std::int16_t step = m_deferredStepEntries.front();
            m_deferredStepEntries.erase(m_deferredStepEntries.begin());
            StepEntered(step);
        }
    }
}

void frmMain::HighlightStep(const std::int16_t& step, const bool& on)
{
    frmMainWindow& w = *m_window;
    const bool highlight = on;
    SwitchStepIndicator(step, highlight);
    switch (step) {
    case 1:
        setBold(w.lblStep1Labels[0], highlight);
        setBold(w.lblStep1Labels[1], highlight);
        break;
    case 2:
        setBold(w.fraSeed, highlight);
        setBold(w.fraMiscellaneous, highlight);
        break;
    case 3: setBold(w.cmdGenerate, highlight); break;
    case 4: setBold(w.cmdCopy, highlight); break;
    default: break;
    }
}

void frmMain::SwitchStepIndicator(std::int16_t step, bool highlight)
{
    // There is an indicator for each of the five steps only.
    m_window->slbSteps.at(stepIndex(step))->putPropertyById(tarvo::XShpLabelDispId::Enabled, highlight);
}

void frmMain::onStepControlFocused(std::int16_t step)
{
    if (m_showStepDepth > 0) {
        m_deferredStepEntries.push_back(step);
        return;
    }
    StepEntered(step);
}

void frmMain::StepEntered(std::int16_t step)
{
    if (!isLoaded())
        return;
    PreviousStep = CurrentStep;
    CurrentStep = step;
    ShowStep();
}

void frmMain::cmdNextStep_Click()
{
    try {
        PreviousStep = CurrentStep;
        CurrentStep = checkedStep(CurrentStep + 1);
        ShowStep();
    } catch (const AutomationError&) {
    }
}

void frmMain::cmdPrevStep_Click()
{
    try {
        PreviousStep = CurrentStep;
        CurrentStep = checkedStep(CurrentStep - 1);
        ShowStep();
    } catch (const AutomationError&) {
    }
}

void frmMain::forceSteps(std::int16_t previous, std::int16_t current)
{
    PreviousStep = previous;
    CurrentStep = current;
}

// ---------------------------------------------------------------- generation

QString frmMain::Generate()
{
    frmMainWindow& w = window();
    const QPointer<frmMainWindow> loaded = m_window;
    // Pauses keep the window painting; should it be unloaded meanwhile, the
    // run stops instead of touching controls that are gone.
    const auto checkLoaded = [&loaded] {
        if (!loaded)
            automation::raiseError(ObjectNotSet);
    };
    const auto showLabelAgain = [&loaded] {
        if (loaded) {
            loaded->barGenProgress->hide();
            loaded->lblPassword->show();
        }
    };

    // The warning about a bad seed or length comes first; the bar gives way
    // to the label once the user has answered it.
    const auto warnThenShowLabel = [this, &showLabelAgain](const QString& text) {
        try {
            warn(text);
        } catch (...) {
            showLabelAgain();
            throw;
        }
        showLabelAgain();
    };

    w.lblPassword->hide();
    w.barGenProgress->show();

    try {
        if (w.optSeed[1]->isChecked())
            services::SeedRandom(automation::floorToLong(automation::textToDouble(w.txtSeed->text())));
        else
            services::SeedRandom(0);
    } catch (const AutomationError& error) {
        if (error.number() != TypeMismatch) {
            showLabelAgain();
            throw;
        }
        warnThenShowLabel(QStringLiteral("Please enter a seed (specify as integer)."));
        return {};
    } catch (...) {
        showLabelAgain();
        throw;
    }

    try {
        const std::int16_t length = automation::floorToInteger(automation::textToDouble(w.txtPassLen->text()));
        const CodeRange range = codeRange(w.chkNonPrintChars->checkState() != Qt::Unchecked,
                                          w.chkSymbolChars->checkState() != Qt::Unchecked);
        QString password;
        password.reserve(std::max<int>(length, 0));
        for (int i = 1; i <= length; ++i) {
            w.barGenProgress->setExactValue(static_cast<float>(static_cast<double>(i) / length * 100.0));
            std::int32_t code = services::RandomInt(range.low, range.high);
            while (range.redrawDelete && code == 127)
                code = services::RandomInt(range.low, range.high);
            password.append(QChar(sysapi::ansiToUnicode(static_cast<unsigned char>(code))));
            std::int32_t pause = kPauseAfterCharacter;
            services::Pause(pause);
            checkLoaded();
        }
        w.lblPassword->setText(password);
        showStrengthHint(*w.lblPassword, passwordStrength(w.optSeed[1]->isChecked(), length, range));
        w.cmdCopy->setEnabled(true);
        moveFocus(w.cmdCopy);
        std::int32_t pause = kPauseAfterPassword;
        services::Pause(pause);
        checkLoaded();
        showLabelAgain();
        PasswordUnsaved = true;
        return password;
    } catch (const AutomationError& error) {
        if (error.number() != TypeMismatch) {
            showLabelAgain();
            throw;
        }
        warnThenShowLabel(QStringLiteral("Please enter the length of the password you want to generate (specify in "
                                         "the number of characters)."));
        return {};
    } catch (...) {
        showLabelAgain();
        throw;
    }
}

// ---------------------------------------------------------------- copy and save

QString frmMain::Copy()
{
    frmMainWindow& w = window();
    const bool companionRuns = sysapi::findTopLevelWindow(QString::fromLatin1(kCompanionWindowClass),
                                                          QString::fromLatin1(kCompanionWindowTitle))
                               != 0;
    ui::MessageResult answer = ui::MessageResult::No;
    if (companionRuns) {
        answer = ui::messageBox(QString::fromLatin1(kAppTitle),
                                QStringLiteral("Do you want to copy the generated password to Mirrak?"),
                                ui::MessageIcon::Question, ui::MessageButtons::YesNo, m_window.data());
    }
    std::unique_ptr<services::SharedMemoryBlock> block;
    if (answer == ui::MessageResult::Yes) {
        block = std::make_unique<services::SharedMemoryBlock>();
        block->OpenBlock(MemoryName);
        QString text = w.lblPassword->text();
        block->WriteText(text);
    }
    ui::setSecretClipboardText(w.lblPassword->text());
    moveFocus(w.cmdClose);
    return w.lblPassword->text();
}

bool frmMain::Save(QString& FileName, QString& Description)
{
    frmMainWindow& w = window();
    QString fileTitle;
    if (FileName.isEmpty()) {
        const QString filter = QStringLiteral("Text files (*.txt):*.txt|") + QStringLiteral("All files (*.*):*.*");
        QWidget* owner = m_window.data();
        if (!services::ShowSaveDialog(FileName, fileTitle, -1, filter, 1, QString(),
                                      QStringLiteral("Save Password To"), QString(), owner, 0))
            return false;
    }
    sysapi::TextFileWriter file(FileName);
    if (Description.isEmpty()) {
        const auto answer = ui::dialogs().inputBox(ui::InputBoxRequest{
            QString::fromLatin1(kAppTitle), QStringLiteral("What description would you like to place in the text file?"),
            QString(), m_window.data()});
        Description = answer.value_or(QString());
    }
    file.writeLine(Description);
    file.writeLine(w.lblPassword->text());
    file.commit();
    ui::messageBox(QString::fromLatin1(kAppTitle),
                   QStringLiteral("Successfuly saved password to file ") + fileTitle + kCarriageReturn
                       + QStringLiteral("Make sure you keep the file on a disk in a safe place!"),
                   ui::MessageIcon::Information, ui::MessageButtons::OK, m_window.data());
    PasswordUnsaved = false;
    return true;
}
