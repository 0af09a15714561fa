#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// A D-Bus session bus of its own: a dbus-daemon started with the build's bus
// configuration, which starts the build's programs when a client calls
// their names. Stopping it ends every process started on it (all of them
// carry its address in their environment: the programs it started, their
// children, the clients the test ran) and then the daemon.
class PrivateBus {
public:
    explicit PrivateBus(QString configFile);
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Starts the daemon in `workingDirectory` with `environment`, which the
    // programs it starts inherit. False with a reason when it does not come up.
    bool start(const QString& workingDirectory, const QProcessEnvironment& environment, QString* error);
    void stop();

    const QString& address() const { return m_address; }
    // The daemon's environment, with the bus as the session bus.
    QProcessEnvironment clientEnvironment() const;

    // A connection of this process to the bus under `name`, opened on first use.
    QDBusConnection connection(const QString& name);
    // Closes the named connection; the bus sees its client go.
    void disconnect(const QString& name);

    // The process id of the connection that owns the bus name; 0 when none does.
    qint64 ownerPid(const QString& busName);

private:
    QString connectionName(const QString& name) const;

    QString m_configFile;
    QProcess m_daemon;
    QProcessEnvironment m_environment;
    QString m_address;
    QStringList m_connections;
};
