// Generation pacing: the measured time of Generate against its nominal
// 5 n + 200 ms, for n = 200 and n = 1000, with the glowing label stopped,
// with it ticking, and with it ticking while automation calls arrive. For
// the last, the window is served by a real AutomationServer on a private
// session bus, and a client on its own thread and connection sends
// Properties.Get PassLength every 10 ms without waiting for the replies (up
// to the bus's limit of unanswered calls):
// calls arrive during every Generate, and each must be answered only
// between generations. Every Generate starts from the top-level event loop,
// as a click on the button does. Run it under xvfb-run.
#include "BenchBus.h"

#include "Application.h"
#include "AutomationServer.h"
#include "frmMain.h"
#include "frmMainWindow.h"

#include "tarvo/TypeLibrary.h"
#include "ui/Fonts.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr int kCallEveryMs = 10;
constexpr int kGapBetweenRunsMs = 100;
// The bus holds at most 128 unanswered calls per connection: the client
// keeps fewer outstanding, and sends again as replies come in.
constexpr int kMostOutstanding = 100;

// The automation object of the window, counting the calls it answers and
// those answered while a Generate of the bench runs.
class CountingApplication : public Application {
public:
    using Application::Application;
    bool generating = false;
    int answered = 0;
    int answeredWhileGenerating = 0;

protected:
    automation::Variant invokeMember(const automation::MemberInfo& member,
                                     std::vector<automation::Variant>& params) override
    {
        ++answered;
        if (generating)
            ++answeredWhileGenerating;
        return Application::invokeMember(member, params);
    }
};

// Lives on its own thread: sends a property read every 10 ms while started
// (up to kMostOutstanding unanswered) and counts the replies.
class CallingClient : public QObject {
public:
    explicit CallingClient(const QString& address)
        : m_address(address)
    {
    }
    std::atomic<int> sent{0};
    std::atomic<int> answered{0};
    std::atomic<int> failed{0};

    void start()
    {
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_address, QStringLiteral("client")));
        m_timer = new QTimer(this);
        m_timer->setTimerType(Qt::PreciseTimer);
        connect(m_timer, &QTimer::timeout, this, &CallingClient::send);
        m_timer->start(kCallEveryMs);
    }
    void stop()
    {
        m_timer->stop();
    }
    // Frees on its own thread what start made there.
    void finish()
    {
        qDeleteAll(children());
        m_timer = nullptr;
        m_bus.reset();
    }

private:
    void send()
    {
        QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("Vexlo.Application"),
                                                           QStringLiteral("/Vexlo/Application"),
                                                           QStringLiteral("org.freedesktop.DBus.Properties"),
                                                           QStringLiteral("Get"));
        call << QStringLiteral("Vexlo._Application") << QStringLiteral("PassLength");
        if (sent - answered - failed >= kMostOutstanding)
            return;
        ++sent;
        auto* watcher = new QDBusPendingCallWatcher(m_bus->asyncCall(call, 60000), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
            ++(finished->isError() ? failed : answered);
            finished->deleteLater();
        });
    }

    QString m_address;
    std::unique_ptr<QDBusConnection> m_bus;
    QTimer* m_timer = nullptr;
};

struct Series {
    const char* name;
    int interval;
    bool calls;
    int length;
    std::vector<double> ratios;
};

double measureGenerate(frmMain& form, CountingApplication& object, int length)
{
    form.window().txtPassLen->setText(QString::number(length));
    QElapsedTimer clock;
    clock.start();
    object.generating = true;
    const QString password = form.Generate();
    object.generating = false;
    const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (password.size() != length)
        std::fprintf(stderr, "bench_pacing: expected %d characters, got %lld\n", length,
                     static_cast<long long>(password.size()));
    return elapsed;
}

// Runs one Generate per turn of the top-level event loop, as clicks do,
// with a short gap between them in which queued calls are answered.
class Runner : public QObject {
public:
    Runner(frmMain& form, CountingApplication& object, CallingClient& client, std::vector<Series>& series)
        : m_form(form), m_object(object), m_client(client), m_series(series)
    {
    }
    void next()
    {
        if (m_index == m_series.size()) {
            stopCalls();
            QCoreApplication::exit(0);
            return;
        }
        Series& current = m_series[m_index];
        if (current.ratios.empty()) {
            m_form.window().XGlowLabel1->putPropertyById(tarvo::XGlowLabelDispId::Interval,
                                                         std::int32_t(current.interval));
            if (current.calls && !m_calling) {
                m_calling = true;
                QMetaObject::invokeMethod(&m_client, [this] { m_client.start(); }, Qt::BlockingQueuedConnection);
            }
        }
        const double nominal = 5.0 * current.length + 200.0;
        current.ratios.push_back(measureGenerate(m_form, m_object, current.length) / nominal);
        if (static_cast<int>(current.ratios.size()) == kRuns)
            ++m_index;
        QTimer::singleShot(kGapBetweenRunsMs, this, [this] { next(); });
    }

private:
    void stopCalls()
    {
        if (m_calling)
            QMetaObject::invokeMethod(&m_client, [this] { m_client.stop(); }, Qt::BlockingQueuedConnection);
    }
    frmMain& m_form;
    CountingApplication& m_object;
    CallingClient& m_client;
    std::vector<Series>& m_series;
    std::size_t m_index = 0;
    bool m_calling = false;
};

void waitForReplies(CallingClient& client)
{
    QElapsedTimer clock;
    clock.start();
    while (client.answered + client.failed < client.sent && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

int main(int argc, char** argv)
{
    ui::FontPreparation fonts;
    QApplication app(argc, argv);
    fonts.wait();

    QTemporaryDir directory;
    QProcess daemon;
    const QString address = bench::startBus(daemon, directory.path());
    if (address.isEmpty()) {
        std::fprintf(stderr, "bench_pacing: dbus-daemon did not start\n");
        return 1;
    }

    int exitCode = 0;
    {
        frmMain form;
        form.Show();
        CountingApplication object(form);
        AutomationServer server(object, QDBusConnection::connectToBus(address, QStringLiteral("server")));
        if (!server.start()) {
            std::fprintf(stderr, "bench_pacing: the automation server did not start\n");
            return 1;
        }

        QThread clientThread;
        CallingClient client(address);
        client.moveToThread(&clientThread);
        clientThread.start();

        std::vector<Series> series;
        for (const int length : {200, 1000}) {
            series.push_back({"stopped", 0, false, length, {}});
            series.push_back({"ticking every 50 ms", 50, false, length, {}});
        }
        for (const int length : {200, 1000})
            series.push_back({"ticking, calls every 10 ms", 50, true, length, {}});

        Runner runner(form, object, client, series);
        QTimer::singleShot(500, &runner, [&runner] { runner.next(); });
        QApplication::exec();
        waitForReplies(client);
        QMetaObject::invokeMethod(&client, [&client] { client.finish(); }, Qt::BlockingQueuedConnection);
        clientThread.quit();
        clientThread.wait();

        std::printf("Generate against its nominal time 5 n + 200 ms (%d runs each)\n", kRuns);
        std::printf("  %-28s %6s %10s %8s %8s %8s\n", "glowing label", "n", "nominal ms", "min", "median", "max");
        for (Series& each : series) {
            std::sort(each.ratios.begin(), each.ratios.end());
            std::printf("  %-28s %6d %10.0f %8.3f %8.3f %8.3f   (target: min >= 1.0, max <= 1.05)\n", each.name,
                        each.length, 5.0 * each.length + 200.0, each.ratios.front(),
                        each.ratios[each.ratios.size() / 2], each.ratios.back());
        }
        std::printf("automation calls: %d sent, %d answered (%d by the object), %d failed; answered while Generate "
                    "ran: %d (target 0)\n",
                    client.sent.load(), client.answered.load(), object.answered, client.failed.load(),
                    object.answeredWhileGenerating);
        if (client.failed > 0 || client.answered != client.sent || object.answeredWhileGenerating > 0)
            exitCode = 1;
    }
    daemon.kill();
    daemon.waitForFinished();
    return exitCode;
}
