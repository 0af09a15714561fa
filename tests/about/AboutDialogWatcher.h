#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>

// Waits, from the event loop of a modal wait, for the about dialog
// ("frmAbout") to show; then runs the test's look at it and closes it the
// way the test chose (by default with OK). A dialog that never shows, or
// that the closing leaves open, is rejected after a few seconds so that a
// failing test does not hang.
class AboutDialogWatcher {
public:
    using Action = std::function<void(QDialog&)>;

    explicit AboutDialogWatcher(Action whileShown = {}, Action close = pressOK)
        : m_whileShown(std::move(whileShown)), m_close(std::move(close))
    {
        m_clock.start();
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    bool wasShown() const { return m_shown; }
    bool timedOut() const { return m_timedOut; }

    static void pressOK(QDialog& dialog) { dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click(); }
    static void pressCloseBox(QDialog& dialog) { dialog.close(); }

    // The caption of a label as the form set it (a carriage return between lines).
    static QString caption(QDialog& dialog, const char* name)
    {
        const QLabel* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
        return label ? label->property("Caption").toString() : QStringLiteral("<no %1>").arg(QLatin1String(name));
    }

private:
    void poll()
    {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        const bool isAbout = dialog && dialog->objectName() == QLatin1String("frmAbout") && dialog->isVisible();
        if (isAbout && !m_shown) {
            m_shown = true;
            if (m_whileShown)
                m_whileShown(*dialog);
            m_close(*dialog);
            return;
        }
        if (m_clock.elapsed() > 5000) {
            m_timer.stop();
            if (dialog) {
                m_timedOut = true;
                dialog->reject();
            }
        }
        if (m_shown && !dialog)
            m_timer.stop();
    }

    Action m_whileShown;
    Action m_close;
    QTimer m_timer;
    QElapsedTimer m_clock;
    bool m_shown = false;
    bool m_timedOut = false;
};
