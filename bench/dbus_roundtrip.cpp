// D-Bus round trip of Vexlo's automation server: the median time of a
// property read (Properties.Get of PassLength, which goes through the
// program's call queue on its user-interface thread) against the median
// time of org.freedesktop.DBus.Peer.Ping to the same process (answered by
// its D-Bus library, the bus's own round trip), measured alternately in one
// run, and their ratio.
//
//   bench_dbus [rounds]        default 3000 of each; run under xvfb-run
//
// Starts a private session bus with the build's configuration, which starts
// the built Vexlo on the first call, and shuts both down at the end.
#include "BenchBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <vector>

namespace {

const QString kService = QStringLiteral("Vexlo.Application");
const QString kPath = QStringLiteral("/Vexlo/Application");
const QString kInterface = QStringLiteral("Vexlo._Application");
const QString kConnectionName = QStringLiteral("bench");
const int kWarmUpRounds = 200;
const int kCallTimeout = 30000;

QDBusMessage propertyRead(const QString& property)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Get"));
    message << kInterface << property;
    return message;
}

QDBusMessage methodCall(const QString& interface, const QString& member)
{
    return QDBusMessage::createMethodCall(kService, kPath, interface, member);
}

// Microseconds that one blocking call takes; negative when it failed.
double timedCall(QDBusConnection& bus, const QDBusMessage& message)
{
    QElapsedTimer timer;
    timer.start();
    const QDBusMessage reply = bus.call(message, QDBus::Block, kCallTimeout);
    const double micros = static_cast<double>(timer.nsecsElapsed()) / 1000.0;
    return reply.type() == QDBusMessage::ReplyMessage ? micros : -1.0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

// Vexlo ends once its window is closed and its last client has left.
void waitForEnd(qint64 pid)
{
    QElapsedTimer timer;
    timer.start();
    while (bench::isRunning(pid) && timer.elapsed() < 10000)
        QThread::msleep(20);
    if (bench::isRunning(pid)) {
        std::fprintf(stderr, "Vexlo did not end; killing it\n");
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    }
}

void printFigures(const std::vector<double>& reads, const std::vector<double>& pings)
{
    const double readMedian = median(reads);
    const double pingMedian = median(pings);
    std::printf("rounds: %zu of each, after %d warm-up rounds\n", reads.size(), kWarmUpRounds);
    std::printf("Properties.Get PassLength: median %.1f us, 90th percentile %.1f us\n", readMedian,
                percentile(reads, 0.9));
    std::printf("Peer.Ping:                 median %.1f us, 90th percentile %.1f us\n", pingMedian,
                percentile(pings, 0.9));
    std::printf("ratio of medians: %.2f (target <= 2)\n", readMedian / pingMedian);
}

// Starts Vexlo with a first call, measures, closes its window; the id of the
// Vexlo process (0 when it did not start) and whether every call succeeded.
bool measure(QDBusConnection bus, int rounds, qint64& pid)
{
    const QDBusMessage started = bus.call(propertyRead(QStringLiteral("ProcID")), QDBus::Block, kCallTimeout);
    if (started.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "Vexlo did not start: %s\n", qPrintable(started.errorMessage()));
        return false;
    }
    pid = started.arguments().value(0).value<QDBusVariant>().variant().toLongLong();

    const QDBusMessage read = propertyRead(QStringLiteral("PassLength"));
    const QDBusMessage ping = methodCall(QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
    for (int i = 0; i < kWarmUpRounds; ++i) {
        timedCall(bus, read);
        timedCall(bus, ping);
    }
    std::vector<double> reads;
    std::vector<double> pings;
    bool ok = true;
    for (int i = 0; i < rounds && ok; ++i) {
        // Alternating which goes first spreads any drift over both.
        const bool readFirst = i % 2 == 0;
        const double first = timedCall(bus, readFirst ? read : ping);
        const double second = timedCall(bus, readFirst ? ping : read);
        reads.push_back(readFirst ? first : second);
        pings.push_back(readFirst ? second : first);
        ok = first >= 0 && second >= 0;
    }
    if (ok)
        printFigures(reads, pings);
    else
        std::fprintf(stderr, "a call failed\n");
    bus.call(methodCall(kInterface, QStringLiteral("Terminate")), QDBus::Block, kCallTimeout);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3000;
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "bench_dbus needs an X display (run it under xvfb-run)\n");
        return 1;
    }

    QTemporaryDir directory;
    QProcess daemon;
    const QString address = bench::startBus(daemon, directory.path());
    if (address.isEmpty()) {
        std::fprintf(stderr, "dbus-daemon did not start\n");
        return 1;
    }
    qint64 pid = 0;
    const bool ok = measure(QDBusConnection::connectToBus(address, kConnectionName), rounds, pid);
    QDBusConnection::disconnectFromBus(kConnectionName);
    if (pid != 0)
        waitForEnd(pid);
    daemon.kill();
    daemon.waitForFinished();
    return ok ? 0 : 1;
}
