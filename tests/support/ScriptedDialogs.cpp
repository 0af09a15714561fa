#include "ScriptedDialogs.h"

#include <QDebug>

namespace {

// What closing the box without choosing a button answers.
ui::MessageResult closedAnswer(ui::MessageButtons buttons)
{
    switch (buttons) {
    case ui::MessageButtons::OK: return ui::MessageResult::OK;
    case ui::MessageButtons::YesNo: return ui::MessageResult::No;
    case ui::MessageButtons::AbortRetryIgnore: return ui::MessageResult::Abort;
    default: return ui::MessageResult::Cancel;
    }
}

// Moves the first queued answer into `answer`; false when there is none.
template <typename T>
bool takeFirst(std::deque<T>& queue, T& answer)
{
    if (queue.empty())
        return false;
    answer = std::move(queue.front());
    queue.pop_front();
    return true;
}

} // namespace

ScriptedDialogs::ScriptedDialogs() : m_previous(ui::setDialogProvider(this)) {}

ScriptedDialogs::~ScriptedDialogs() { ui::setDialogProvider(m_previous); }

void ScriptedDialogs::answerMessageBox(ui::MessageResult answer) { m_messageAnswers.push_back(answer); }

void ScriptedDialogs::answerInputBox(std::optional<QString> answer) { m_inputAnswers.push_back(std::move(answer)); }

void ScriptedDialogs::answerSaveDialog(std::optional<QString> answer) { m_saveAnswers.push_back(std::move(answer)); }

bool ScriptedDialogs::allAnswersUsed() const
{
    return m_messageAnswers.empty() && m_inputAnswers.empty() && m_saveAnswers.empty();
}

ui::MessageResult ScriptedDialogs::messageBox(const ui::MessageBoxRequest& request)
{
    m_messageBoxes.push_back(request);
    if (ui::MessageResult answer{}; takeFirst(m_messageAnswers, answer))
        return answer;
    m_unanswered.append(QStringLiteral("message box \"%1\"").arg(request.text));
    qWarning().noquote() << "ScriptedDialogs: no answer queued for" << m_unanswered.constLast();
    return closedAnswer(request.buttons);
}

std::optional<QString> ScriptedDialogs::inputBox(const ui::InputBoxRequest& request)
{
    m_inputBoxes.push_back(request);
    if (std::optional<QString> answer; takeFirst(m_inputAnswers, answer))
        return answer;
    m_unanswered.append(QStringLiteral("input box \"%1\"").arg(request.prompt));
    qWarning().noquote() << "ScriptedDialogs: no answer queued for" << m_unanswered.constLast();
    return std::nullopt;
}

std::optional<QString> ScriptedDialogs::saveFileName(const ui::SaveDialogRequest& request)
{
    m_saveDialogs.push_back(request);
    if (std::optional<QString> answer; takeFirst(m_saveAnswers, answer))
        return answer;
    m_unanswered.append(QStringLiteral("save dialog \"%1\"").arg(request.title));
    qWarning().noquote() << "ScriptedDialogs: no answer queued for" << m_unanswered.constLast();
    return std::nullopt;
}
