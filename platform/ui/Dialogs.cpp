#include "ui/Dialogs.h"

#include "ui/EventModel.h"

#include "automation/AutomationError.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace ui {
namespace {

DialogProvider* g_provider = nullptr;

// Texts of the system break lines with a carriage return alone.
QString displayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

std::vector<std::pair<QMessageBox::StandardButton, MessageResult>> buttonsOf(MessageButtons buttons)
{
    using B = QMessageBox;
    using R = MessageResult;
    switch (buttons) {
    case MessageButtons::OK: return {{B::Ok, R::OK}};
    case MessageButtons::OKCancel: return {{B::Ok, R::OK}, {B::Cancel, R::Cancel}};
    case MessageButtons::AbortRetryIgnore: return {{B::Abort, R::Abort}, {B::Retry, R::Retry}, {B::Ignore, R::Ignore}};
    case MessageButtons::YesNoCancel: return {{B::Yes, R::Yes}, {B::No, R::No}, {B::Cancel, R::Cancel}};
    case MessageButtons::YesNo: return {{B::Yes, R::Yes}, {B::No, R::No}};
    case MessageButtons::RetryCancel: return {{B::Retry, R::Retry}, {B::Cancel, R::Cancel}};
    }
    return {{B::Ok, R::OK}};
}

// What closing the box without a button means: the platform's Cancel, or the
// only answer there is.
MessageResult escapeResult(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OK: return MessageResult::OK;
    case MessageButtons::YesNo: return MessageResult::No;
    case MessageButtons::AbortRetryIgnore: return MessageResult::Abort;
    default: return MessageResult::Cancel;
    }
}

} // namespace

DialogProvider::~DialogProvider() = default;

DialogProvider& dialogs()
{
    static QtDialogProvider real;
    return g_provider ? *g_provider : real;
}

DialogProvider* setDialogProvider(DialogProvider* provider)
{
    DialogProvider* previous = g_provider;
    g_provider = provider;
    return previous;
}

MessageResult messageBox(const QString& title, const QString& text, MessageIcon icon, MessageButtons buttons,
                         QWidget* owner)
{
    return dialogs().messageBox(MessageBoxRequest{title, text, icon, buttons, owner});
}

MessageResult QtDialogProvider::messageBox(const MessageBoxRequest& request)
{
    QMessageBox box(qtIcon(request.icon), request.title, displayText(request.text), QMessageBox::NoButton,
                    request.owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    const auto buttons = buttonsOf(request.buttons);
    std::vector<std::pair<QAbstractButton*, MessageResult>> answers;
    for (const auto& [standard, result] : buttons) {
        QPushButton* button = box.addButton(standard);
        answers.emplace_back(button, result);
        if (answers.size() == 1)
            box.setDefaultButton(button); // the first button is the default, as on the platform
    }
    runModal(box);
    for (const auto& [button, result] : answers) {
        if (box.clickedButton() == button)
            return result;
    }
    return escapeResult(request.buttons);
}

// Once the program is ending nobody is there to answer. A message box then
// takes the answer of its close box; a prompt whose cancel could not be told
// from an empty answer, or a file choice, fails the operation instead.
namespace {
void refuseOnceEnding()
{
    if (waitsEnded())
        automation::raiseError(automation::ErrorNumber::UserInterrupt);
}
} // namespace

std::optional<QString> QtDialogProvider::inputBox(const InputBoxRequest& request)
{
    QInputDialog dialog(request.owner);
    dialog.setWindowTitle(request.title);
    dialog.setLabelText(displayText(request.prompt));
    dialog.setTextValue(request.defaultText);
    dialog.setWindowModality(Qt::ApplicationModal);
    const int result = runModal(dialog);
    refuseOnceEnding();
    if (result != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> QtDialogProvider::saveFileName(const SaveDialogRequest& request)
{
    QFileDialog dialog(request.owner, request.title, request.initialDirectory);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.nameFilters);
    if (request.filterIndex >= 0 && request.filterIndex < request.nameFilters.size())
        dialog.selectNameFilter(request.nameFilters.at(request.filterIndex));
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    dialog.setWindowModality(Qt::ApplicationModal);
    const int result = runModal(dialog);
    refuseOnceEnding();
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace ui
