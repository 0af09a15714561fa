#include "ProcessTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace e2e {
namespace {

QString procPath(qint64 pid, const char* entry) { return QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(entry)); }

// The state letter of /proc/<pid>/stat, which follows the program name in parentheses.
char stateOf(qint64 pid)
{
    QFile stat(procPath(pid, "stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && close + 2 < line.size() ? line.at(close + 2) : 0;
}

} // namespace

bool isRunning(qint64 pid)
{
    if (pid <= 0)
        return false;
    const char state = stateOf(pid);
    return state != 0 && state != 'Z' && state != 'X';
}

bool waitForExit(qint64 pid, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (isRunning(pid)) {
        if (timer.elapsed() > milliseconds)
            return false;
        QThread::msleep(20);
    }
    return true;
}

QList<qint64> processesWithEnvironmentEntry(const QByteArray& entry)
{
    QList<qint64> found;
    const qint64 self = QCoreApplication::applicationPid();
    for (const QString& name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = name.toLongLong(&isPid);
        if (!isPid || pid == self)
            continue;
        QFile environment(procPath(pid, "environ"));
        if (!environment.open(QIODevice::ReadOnly))
            continue;
        if (environment.readAll().split('\0').contains(entry))
            found << pid;
    }
    return found;
}

QString executableOf(qint64 pid) { return QFileInfo(procPath(pid, "exe")).symLinkTarget(); }

} // namespace e2e
