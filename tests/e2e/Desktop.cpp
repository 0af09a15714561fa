#include "Desktop.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

namespace {

const int kToolTimeout = 10000;
const int kPollInterval = 50;
const int kKeyAttempts = 3;
const int kCloseTimeout = 3000;

// xdotool matches titles with an extended regular expression.
QString exactTitlePattern(const QString& title)
{
    QString pattern = QStringLiteral("^");
    for (const QChar c : title) {
        if (QStringLiteral(".[]()*+?{}|^$\\").contains(c))
            pattern += u'\\';
        pattern += c;
    }
    return pattern + u'$';
}

} // namespace

Desktop::Desktop(QProcessEnvironment environment) : m_environment(std::move(environment)) {}

Desktop::Result Desktop::run(const QString& program, const QStringList& arguments, const QByteArray& input) const
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(program, arguments);
    if (!process.waitForStarted(kToolTimeout))
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(kToolTimeout)) {
        process.kill();
        process.waitForFinished(kToolTimeout);
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, process.readAllStandardOutput()};
}

QList<quint64> Desktop::visibleWindows(const QString& title, qint64 pid) const
{
    // --all: both the title and the process must match (xdotool's default is either).
    QStringList arguments{QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible")};
    if (pid != 0)
        arguments << QStringLiteral("--pid") << QString::number(pid);
    arguments << QStringLiteral("--name") << exactTitlePattern(title);
    QList<quint64> windows;
    // xdotool fails when it finds nothing.
    for (const QByteArray& line : run(QStringLiteral("xdotool"), arguments).output.split('\n')) {
        bool ok = false;
        const quint64 window = line.trimmed().toULongLong(&ok);
        if (ok)
            windows << window;
    }
    return windows;
}

quint64 Desktop::waitForWindow(const QString& title, qint64 pid, int milliseconds) const
{
    QElapsedTimer timer;
    timer.start();
    do {
        if (const auto windows = visibleWindows(title, pid); !windows.isEmpty())
            return windows.first();
        QThread::msleep(kPollInterval);
    } while (timer.elapsed() < milliseconds);
    return 0;
}

quint64 Desktop::waitForNewWindow(const QString& title, const QList<quint64>& known, int milliseconds) const
{
    QElapsedTimer timer;
    timer.start();
    do {
        for (const quint64 window : visibleWindows(title)) {
            if (!known.contains(window))
                return window;
        }
        QThread::msleep(kPollInterval);
    } while (timer.elapsed() < milliseconds);
    return 0;
}

bool Desktop::waitForWindowGone(const QString& title, quint64 window, int milliseconds) const
{
    QElapsedTimer timer;
    timer.start();
    while (visibleWindows(title).contains(window)) {
        if (timer.elapsed() > milliseconds)
            return false;
        QThread::msleep(kPollInterval);
    }
    return true;
}

bool Desktop::pressKeys(quint64 window, const QStringList& keys) const
{
    return run(QStringLiteral("xdotool"), QStringList{QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                                                      QString::number(window), QStringLiteral("key"),
                                                      QStringLiteral("--clearmodifiers")}
                                              + keys)
        .ok;
}

bool Desktop::typeText(quint64 window, const QString& text) const
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                                           QString::number(window), QStringLiteral("type"),
                                           QStringLiteral("--clearmodifiers"), text})
        .ok;
}

bool Desktop::closeWithKey(const QString& title, quint64 window, const QString& key) const
{
    // Another program on the display may take the focus between the focus
    // move and the key; the key is pressed again then.
    for (int attempt = 0; attempt < kKeyAttempts; ++attempt) {
        pressKeys(window, {key});
        if (waitForWindowGone(title, window, kCloseTimeout))
            return true;
    }
    return false;
}

std::optional<QByteArray> Desktop::clipboard(const QString& target) const
{
    QStringList arguments{QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")};
    if (!target.isEmpty())
        arguments << QStringLiteral("-t") << target;
    const Result result = run(QStringLiteral("xclip"), arguments);
    return result.ok ? std::optional<QByteArray>(result.output) : std::nullopt;
}

QStringList Desktop::clipboardTargets() const
{
    QStringList targets;
    for (const QByteArray& line : clipboard(QStringLiteral("TARGETS")).value_or(QByteArray()).split('\n')) {
        if (!line.trimmed().isEmpty())
            targets << QString::fromLatin1(line.trimmed());
    }
    return targets;
}

bool Desktop::takeClipboard(const QByteArray& text) const
{
    return run(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard")}, text).ok;
}
