#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (the desktop session ending, a kill, Ctrl+C)
// reported through the event loop instead of ending the process on the spot:
// the signal handler only writes the signal's number into a pipe, and a
// socket notifier reads it on the user-interface thread. One instance per
// process; while it lives the three signals no longer end the process by
// themselves.
namespace sysapi {

class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // False when the pipe or the handlers could not be set up; the signals
    // then keep their default effect.
    bool isWatching() const { return m_notifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void readSignals();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace sysapi
