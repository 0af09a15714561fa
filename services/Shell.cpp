#include "services/Shell.h"

#include "automation/AutomationError.h"
#include "system/WindowLookup.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <unistd.h>

#include <limits>
#include <optional>

namespace services {
namespace {

bool isOwnWindow(std::uintptr_t handle)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) && QWidget::find(static_cast<WId>(handle)))
        return true;
    const QWindowList windows = QGuiApplication::allWindows();
    for (const QWindow* window : windows) {
        // winId() would create a native window for one that has none yet.
        if (window->handle() && window->winId() == handle)
            return true;
    }
    return false;
}

bool hasScheme(const QString& text)
{
    // Two letters at least, so that nothing here mistakes a path for a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(text).hasMatch();
}

bool looksLikeHostName(const QString& text)
{
    return text.startsWith(QLatin1String("www."), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("ftp."), Qt::CaseInsensitive);
}

// The address to hand over, or nothing when the target names no existing file.
std::optional<QUrl> resolve(const QString& target, const QString& directory)
{
    const QString text = target.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (hasScheme(text)) {
        const QUrl url(text);
        if (!url.isValid() || (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())))
            return std::nullopt;
        return url;
    }
    const QDir base(directory.isEmpty() ? QDir::currentPath() : directory);
    const QString path = QDir::cleanPath(base.absoluteFilePath(text));
    if (QFileInfo::exists(path))
        return QUrl::fromLocalFile(path);
    if (looksLikeHostName(text)) {
        const QUrl url = QUrl::fromUserInput(text);
        if (url.isValid())
            return url;
    }
    return std::nullopt;
}

bool isSupportedVerb(const QString& verb)
{
    return verb.isEmpty() || verb.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0 ||
           verb.compare(QLatin1String("explore"), Qt::CaseInsensitive) == 0;
}

bool handToDesktop(const QUrl& url)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && QDesktopServices::openUrl(url))
        return true;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

} // namespace

std::int32_t GetWindowProcessId(std::uintptr_t windowHandle)
{
    if (windowHandle == 0)
        return 0;
    if (isOwnWindow(windowHandle))
        return static_cast<std::int32_t>(::getpid());
    if (windowHandle > std::numeric_limits<std::uint32_t>::max())
        return 0;
    return sysapi::windowProcessId(static_cast<std::uint32_t>(windowHandle));
}

std::int32_t ShellOpen(const QString& target, const QString& parameters, const std::int32_t& showCommand,
                       const QString& directory, const QString& verb, const std::int32_t& ownerWindow)
{
    static_cast<void>(parameters);
    static_cast<void>(showCommand);
    static_cast<void>(ownerWindow);
    if (!isSupportedVerb(verb))
        return ShellResult::NoAssociation;
    const std::optional<QUrl> url = resolve(target, directory);
    if (!url)
        return ShellResult::FileNotFound;
    return handToDesktop(*url) ? ShellResult::Opened : ShellResult::NoAssociation;
}

void RaiseError(std::int32_t errorNumber)
{
    if (errorNumber == 0) {
        automation::raiseError(automation::ErrorNumber::InvalidProcedureCall,
                               QStringLiteral("RaiseError was called with error number 0, which is no error."));
    }
    automation::raiseError(errorNumber);
}

} // namespace services
