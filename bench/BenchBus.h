#pragma once

// What the benchmarks on a private bus share: the bus itself and a look at
// the processes it starts. Needs VEXLO_BUS_CONFIG, the build's bus
// configuration, which starts the build's Vexlo on a client's call.
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace bench {

// True while the process exists and has not ended (a zombie has ended).
inline bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && close + 2 < line.size() && line.at(close + 2) != 'Z';
}

// Starts dbus-daemon with the build's configuration; its address, empty on
// failure.
inline QString startBus(QProcess& daemon, const QString& workingDirectory)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A Vexlo the bus starts shows its window on the X display.
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    daemon.setProcessEnvironment(environment);
    daemon.setWorkingDirectory(workingDirectory);
    daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=" VEXLO_BUS_CONFIG),
                                                 QStringLiteral("--print-address"), QStringLiteral("--nofork")});
    while (daemon.waitForStarted() && !daemon.canReadLine()) {
        if (!daemon.waitForReadyRead(10000))
            return {};
    }
    return QString::fromLocal8Bit(daemon.readLine()).trimmed();
}

} // namespace bench
