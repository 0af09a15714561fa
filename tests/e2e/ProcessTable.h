#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Looks at the system's processes through /proc.
namespace e2e {

// True while the process exists and has not ended (a zombie has ended).
bool isRunning(qint64 pid);

// Waits up to `milliseconds` for the process to end; true when it has.
bool waitForExit(qint64 pid, int milliseconds);

// The processes other than this one whose environment holds `entry`
// ("NAME=value") exactly.
QList<qint64> processesWithEnvironmentEntry(const QByteArray& entry);

// The absolute path of the program the process runs; empty when unknown.
QString executableOf(qint64 pid);

} // namespace e2e
