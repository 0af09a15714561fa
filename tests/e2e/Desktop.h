#pragma once

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

// The X display and its clipboard as a user meets them, through the
// standard tools: xdotool finds windows, moves the focus and presses keys
// through the X server; xclip reads and takes the clipboard.
class Desktop {
public:
    explicit Desktop(QProcessEnvironment environment);

    // Mapped top-level windows titled exactly `title`, of the process `pid`
    // when it is not 0.
    QList<quint64> visibleWindows(const QString& title, qint64 pid = 0) const;
    // The first such window to show within `milliseconds`; 0 when none does.
    quint64 waitForWindow(const QString& title, qint64 pid, int milliseconds) const;
    // A window titled `title` that is not among `known`; 0 when none shows.
    quint64 waitForNewWindow(const QString& title, const QList<quint64>& known, int milliseconds) const;
    bool waitForWindowGone(const QString& title, quint64 window, int milliseconds) const;

    // Gives the window the keyboard focus, then presses each key
    // combination in turn ("Return", "ctrl+a", "alt+n").
    bool pressKeys(quint64 window, const QStringList& keys) const;
    // Gives the window the focus and types the text.
    bool typeText(quint64 window, const QString& text) const;
    // Presses `key` in the window until it closes; false when it stays.
    bool closeWithKey(const QString& title, quint64 window, const QString& key) const;

    // The clipboard's content as `target` (text when empty); nothing when
    // no program serves it.
    std::optional<QByteArray> clipboard(const QString& target = {}) const;
    QStringList clipboardTargets() const;
    // Puts the text on the clipboard as xclip does: a process of xclip's
    // own serves it until another program takes the clipboard.
    bool takeClipboard(const QByteArray& text) const;

private:
    struct Result {
        bool ok = false;
        QByteArray output;
    };
    Result run(const QString& program, const QStringList& arguments, const QByteArray& input = {}) const;

    QProcessEnvironment m_environment;
};
