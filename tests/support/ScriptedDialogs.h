#pragma once

#include "ui/Dialogs.h"

#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

// A dialog provider for tests: it answers message boxes, input boxes and
// save dialogs from queues filled by the test, and records every request.
// Constructing one installs it as the provider; destroying it puts the
// previous provider back.
//
// A request that finds its queue empty is answered as if the user had
// cancelled (closed the box) and is listed in unanswered(), so a test can
// check that nothing unexpected was asked.
class ScriptedDialogs : public ui::DialogProvider {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    void answerMessageBox(ui::MessageResult answer);
    // nullopt: the user cancels.
    void answerInputBox(std::optional<QString> answer);
    // The chosen path, or nullopt: the user cancels.
    void answerSaveDialog(std::optional<QString> answer);

    const std::vector<ui::MessageBoxRequest>& messageBoxes() const { return m_messageBoxes; }
    const std::vector<ui::InputBoxRequest>& inputBoxes() const { return m_inputBoxes; }
    const std::vector<ui::SaveDialogRequest>& saveDialogs() const { return m_saveDialogs; }
    // One line per request that came with no answer queued.
    const QStringList& unanswered() const { return m_unanswered; }
    // True when every queued answer has been used.
    bool allAnswersUsed() const;

    ui::MessageResult messageBox(const ui::MessageBoxRequest& request) override;
    std::optional<QString> inputBox(const ui::InputBoxRequest& request) override;
    std::optional<QString> saveFileName(const ui::SaveDialogRequest& request) override;

private:
    ui::DialogProvider* m_previous;
    std::deque<ui::MessageResult> m_messageAnswers;
    std::deque<std::optional<QString>> m_inputAnswers;
    std::deque<std::optional<QString>> m_saveAnswers;
    std::vector<ui::MessageBoxRequest> m_messageBoxes;
    std::vector<ui::InputBoxRequest> m_inputBoxes;
    std::vector<ui::SaveDialogRequest> m_saveDialogs;
    QStringList m_unanswered;
};
