#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// Every message box, input box and save dialog of the system goes through
// this seam. The program shows the real Qt dialogs; a test installs a
// provider of its own that answers by script and records what was asked.
namespace ui {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
// Numbered as the platform numbers the answers.
enum class MessageResult { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageBoxRequest {
    QString title;
    QString text; // as the caller wrote it; a carriage return breaks the line
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::OK;
    QWidget* owner = nullptr;
};

struct InputBoxRequest {
    QString title;
    QString prompt;
    QString defaultText;
    QWidget* owner = nullptr;
};

struct SaveDialogRequest {
    QString title;
    QString fileName;        // the initial file name
    QStringList nameFilters; // "Text files (*.txt)", in Qt's form
    int filterIndex = 0;     // of the filter selected at first
    QString initialDirectory;
    QString defaultSuffix;
    bool confirmOverwrite = true;
    QWidget* owner = nullptr;
};

class DialogProvider {
public:
    virtual ~DialogProvider();
    virtual MessageResult messageBox(const MessageBoxRequest& request) = 0;
    // The typed text, or nothing when the user cancelled.
    virtual std::optional<QString> inputBox(const InputBoxRequest& request) = 0;
    // The chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<QString> saveFileName(const SaveDialogRequest& request) = 0;
};

// The provider in use: the real dialogs unless a test installed its own.
DialogProvider& dialogs();
// Installs `provider` (nullptr restores the real dialogs); returns the previous one.
DialogProvider* setDialogProvider(DialogProvider* provider);

// Shorthand for a message box.
MessageResult messageBox(const QString& title, const QString& text, MessageIcon icon,
                         MessageButtons buttons = MessageButtons::OK, QWidget* owner = nullptr);

// The provider that shows the real, modal Qt dialogs.
class QtDialogProvider : public DialogProvider {
public:
    MessageResult messageBox(const MessageBoxRequest& request) override;
    std::optional<QString> inputBox(const InputBoxRequest& request) override;
    std::optional<QString> saveFileName(const SaveDialogRequest& request) override;
};

} // namespace ui
