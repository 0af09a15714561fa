#include "PrivateBus.h"

#include "ProcessTable.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>

#include <csignal>

namespace {

const int kStartTimeout = 10000;
// Bus queries go through a connection that never calls a program on the bus,
// so it holds nothing there.
const QString kQueryConnection = QStringLiteral("queries");

} // namespace

PrivateBus::PrivateBus(QString configFile) : m_configFile(std::move(configFile)) {}

PrivateBus::~PrivateBus() { stop(); }

bool PrivateBus::start(const QString& workingDirectory, const QProcessEnvironment& environment, QString* error)
{
    m_environment = environment;
    m_daemon.setProcessEnvironment(environment);
    m_daemon.setWorkingDirectory(workingDirectory);
    m_daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + m_configFile, QStringLiteral("--print-address"),
                    QStringLiteral("--nofork")});
    if (!m_daemon.waitForStarted(kStartTimeout)) {
        *error = QStringLiteral("dbus-daemon did not start: ") + m_daemon.errorString();
        return false;
    }
    while (!m_daemon.canReadLine()) {
        if (!m_daemon.waitForReadyRead(kStartTimeout)) {
            *error = QStringLiteral("dbus-daemon printed no address");
            return false;
        }
    }
    m_address = QString::fromLocal8Bit(m_daemon.readLine()).trimmed();
    return !m_address.isEmpty();
}

void PrivateBus::stop()
{
    for (const QString& name : std::as_const(m_connections))
        QDBusConnection::disconnectFromBus(name);
    m_connections.clear();
    if (!m_address.isEmpty()) {
        QList<qint64> started = e2e::processesWithEnvironmentEntry("DBUS_SESSION_BUS_ADDRESS=" + m_address.toLocal8Bit());
        started << e2e::processesWithEnvironmentEntry("DBUS_STARTER_ADDRESS=" + m_address.toLocal8Bit());
        for (const qint64 pid : std::as_const(started))
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        for (const qint64 pid : std::as_const(started))
            e2e::waitForExit(pid, 5000);
        m_address.clear();
    }
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
}

QProcessEnvironment PrivateBus::clientEnvironment() const
{
    QProcessEnvironment environment = m_environment;
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    environment.remove(QStringLiteral("DBUS_STARTER_ADDRESS"));
    environment.remove(QStringLiteral("DBUS_STARTER_BUS_TYPE"));
    return environment;
}

QString PrivateBus::connectionName(const QString& name) const
{
    // Connection names are global to the process; the daemon's address keeps
    // them apart from those of an earlier bus.
    return m_address + u'#' + name;
}

QDBusConnection PrivateBus::connection(const QString& name)
{
    const QString full = connectionName(name);
    if (!m_connections.contains(full))
        m_connections << full;
    return QDBusConnection::connectToBus(m_address, full);
}

void PrivateBus::disconnect(const QString& name)
{
    const QString full = connectionName(name);
    m_connections.removeAll(full);
    QDBusConnection::disconnectFromBus(full);
}

qint64 PrivateBus::ownerPid(const QString& busName)
{
    QDBusConnectionInterface* bus = connection(kQueryConnection).interface();
    if (!bus || !bus->isServiceRegistered(busName))
        return 0;
    const QDBusReply<uint> pid = bus->servicePid(busName);
    return pid.isValid() ? pid.value() : 0;
}
