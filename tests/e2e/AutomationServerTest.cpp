// The program as a server on the bus: its clients, its lifetime, bad calls
// and the order in which it serves calls.
#include "GVariantText.h"
#include "ProcessTable.h"
#include "VexloProcessTest.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <csignal>

namespace {

using AutomationServerTest = VexloProcessTest;

const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kMainInterface = QStringLiteral("Vexlo._Application");
const QString kHolder = QStringLiteral("holder");
// Long enough for a call that would wrongly go ahead to have returned.
const int kSettleTime = 1000;

QString readValue(const BusReply& reply) { return e2e::unboxed(reply.value()).toString(); }

TEST_F(AutomationServerTest, TwoClientConnectionsShareOneWindow)
{
    ASSERT_TRUE(startVexlo());
    // Each client program is a connection of its own.
    ASSERT_TRUE(client().set(QStringLiteral("PassLength"), QStringLiteral("<int16 21>")).ok);
    EXPECT_EQ(readValue(client().get(QStringLiteral("PassLength"))), QStringLiteral("21"));
    EXPECT_EQ(readValue(client().get(QStringLiteral("ProcID"))).toLongLong(), vexloPid());
    EXPECT_EQ(readValue(client().get(QStringLiteral("ProcID"))).toLongLong(), vexloPid());
    EXPECT_EQ(desktop().visibleWindows(QString::fromLatin1(kTitle), vexloPid()).size(), 1);
}

TEST_F(AutomationServerTest, TerminatedWindowReloadsHiddenAndTheLastClientEndsTheProcess)
{
    ASSERT_TRUE(startVexlo());
    {
        // This connection holds the object from its first call on.
        QDBusConnection holder = bus().connection(kHolder);
        QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService),
                                                           QString::fromLatin1(kObjectPath), kProperties,
                                                           QStringLiteral("Get"));
        call << kMainInterface << QStringLiteral("AllowUI");
        const QDBusMessage reply = holder.call(call);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }

    ASSERT_TRUE(client().call(QStringLiteral("Vexlo._Application.Terminate")).ok);
    EXPECT_TRUE(desktop().waitForWindowGone(QString::fromLatin1(kTitle), mainWindow(), 5000));
    QThread::msleep(kSettleTime);
    ASSERT_TRUE(e2e::isRunning(vexloPid())) << "the process ended while a client holds the object";

    // A read loads the window again, hidden, in the same process.
    const BusReply visible = client().get(QStringLiteral("Visible"));
    ASSERT_TRUE(visible.ok) << visible;
    EXPECT_EQ(e2e::unboxed(visible.value()), QVariant(false)) << visible;
    EXPECT_EQ(bus().ownerPid(QString::fromLatin1(kService)), vexloPid());
    EXPECT_TRUE(desktop().visibleWindows(QString::fromLatin1(kTitle), vexloPid()).isEmpty());

    ASSERT_TRUE(client().call(QStringLiteral("Vexlo._Application.Terminate")).ok);
    QThread::msleep(kSettleTime);
    ASSERT_TRUE(e2e::isRunning(vexloPid()));

    bus().disconnect(kHolder);
    EXPECT_TRUE(e2e::waitForExit(vexloPid(), 10000)) << "the process outlived its last client";
}

// A client that wants no reply leaves the bus as soon as its call is sent,
// possibly before the program gets to watch it: it must not keep the program
// alive. Holding the program still until the client has gone makes that
// order certain.
TEST_F(AutomationServerTest, TerminateFromAClientThatLeftAtOnceEndsTheProcess)
{
    ASSERT_TRUE(startVexlo());
    ASSERT_EQ(::kill(static_cast<pid_t>(vexloPid()), SIGSTOP), 0);
    const bool sent = client().sendWithoutReply(QStringLiteral("Vexlo._Application.Terminate"));
    ::kill(static_cast<pid_t>(vexloPid()), SIGCONT);
    ASSERT_TRUE(sent);
    EXPECT_TRUE(desktop().waitForWindowGone(QString::fromLatin1(kTitle), mainWindow(), 5000));
    EXPECT_TRUE(e2e::waitForExit(vexloPid(), 10000)) << "the process stayed without window and clients";
}

TEST_F(AutomationServerTest, BadCallsGetClearErrorsAndServingGoesOn)
{
    ASSERT_TRUE(startVexlo());
    struct Row {
        const char* what;
        bool typedByHand; // sent by dbus-send, which checks nothing
        QString method;
        QStringList arguments;
        const char* error;
    };
    const QString get = kProperties + QStringLiteral(".Get");
    const QString set = kProperties + QStringLiteral(".Set");
    const QString invoke = QStringLiteral("Vexlo.Dispatch.Invoke");
    const Row rows[] = {
        {"unknown method", false, QStringLiteral("Vexlo._Application.Frobnicate"), {},
         "org.freedesktop.DBus.Error.UnknownMethod"},
        {"unknown property", false, get, {kMainInterface, QStringLiteral("Colour")},
         "org.freedesktop.DBus.Error.UnknownProperty"},
        {"read-only property", false, set, {kMainInterface, QStringLiteral("ProcID"), QStringLiteral("<42>")},
         "org.freedesktop.DBus.Error.PropertyReadOnly"},
        {"text for a number", false, set, {kMainInterface, QStringLiteral("PassLength"), QStringLiteral("<'abc'>")},
         "org.freedesktop.DBus.Error.InvalidArgs"},
        {"number for a text", true, QStringLiteral("Vexlo._Application.Save"), {QStringLiteral("int32:5")},
         "org.freedesktop.DBus.Error.InvalidArgs"},
        {"argument too many", true, QStringLiteral("Vexlo._Application.Generate"), {QStringLiteral("string:x")},
         "org.freedesktop.DBus.Error.InvalidArgs"},
        {"unknown kind of call", false, invoke,
         {QStringLiteral("0x68030004"), QStringLiteral("'call'"), QStringLiteral("[]")},
         "org.freedesktop.DBus.Error.InvalidArgs"},
        {"unknown dispatch id", false, invoke,
         {QStringLiteral("0x12345"), QStringLiteral("'method'"), QStringLiteral("[]")}, "Vexlo.Error.E438"},
        {"text for a number by id", false, invoke,
         {QStringLiteral("0x68030004"), QStringLiteral("'put'"), QStringLiteral("[<'abc'>]")}, "Vexlo.Error.E13"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const BusReply reply = row.typedByHand ? client().sendUnchecked(row.method, row.arguments)
                                               : client().call(row.method, row.arguments);
        EXPECT_FALSE(reply.ok) << reply;
        EXPECT_EQ(reply.errorName, QString::fromLatin1(row.error)) << reply;
        EXPECT_FALSE(reply.errorMessage.isEmpty()) << reply;

        const BusReply read = client().get(QStringLiteral("PassLength"));
        EXPECT_EQ(readValue(read), QStringLiteral("10")) << read;
    }
    EXPECT_EQ(bus().ownerPid(QString::fromLatin1(kService)), vexloPid());
}

TEST_F(AutomationServerTest, CallsAreServedOneAtATime)
{
    ASSERT_TRUE(startVexlo());
    const QList<quint64> before = vexloWindows();
    auto save = client().start(QStringLiteral("Vexlo._Application.Save"),
                               {u'\'' + filePath(QStringLiteral("one.txt")) + u'\'', QStringLiteral("'first'")});
    const quint64 message = desktop().waitForNewWindow(QString::fromLatin1(kTitle), before, 10000);
    ASSERT_NE(message, 0u) << "the success message did not show";

    auto read = client().start(kProperties + QStringLiteral(".Get"), {kMainInterface, QStringLiteral("PassLength")});
    QThread::msleep(kSettleTime);
    EXPECT_FALSE(read->isFinished()) << "a call ran while another waited for the user";
    EXPECT_FALSE(save->isFinished());

    ASSERT_TRUE(desktop().closeWithKey(QString::fromLatin1(kTitle), message, QStringLiteral("Return")));
    QElapsedTimer clock;
    clock.start();
    qint64 saveDone = -1;
    qint64 readDone = -1;
    while ((saveDone < 0 || readDone < 0) && clock.elapsed() < 20000) {
        if (saveDone < 0 && save->waitForFinished(5))
            saveDone = clock.nsecsElapsed();
        if (readDone < 0 && read->waitForFinished(5))
            readDone = clock.nsecsElapsed();
    }
    ASSERT_GE(saveDone, 0);
    ASSERT_GE(readDone, 0);
    EXPECT_LE(saveDone, readDone) << "the later call returned first";
    EXPECT_TRUE(save->reply().ok);
    EXPECT_EQ(readValue(read->reply()), QStringLiteral("10"));
}

TEST_F(AutomationServerTest, SecondProgramShowsItsWindowAndLeavesTheNameToTheFirst)
{
    ASSERT_TRUE(startVexlo());
    QProcess second;
    second.setProcessEnvironment(environment());
    second.setWorkingDirectory(filePath(QString()));
    second.start(QStringLiteral(VEXLO_PROGRAM), QStringList());
    ASSERT_TRUE(second.waitForStarted());

    EXPECT_NE(desktop().waitForWindow(QString::fromLatin1(kTitle), second.processId(), 10000), 0u)
        << "the second program shows no window";
    EXPECT_EQ(second.state(), QProcess::Running);
    EXPECT_EQ(bus().ownerPid(QString::fromLatin1(kService)), vexloPid());
    EXPECT_EQ(readValue(client().get(QStringLiteral("ProcID"))).toLongLong(), vexloPid());

    second.kill();
    second.waitForFinished();
}

// Calls that a client left waiting when it went away open nothing: nobody
// would receive their answers.
TEST_F(AutomationServerTest, CallsOfAClientThatLeftAreDroppedUnrun)
{
    ASSERT_TRUE(startVexlo());
    const QList<quint64> before = vexloWindows();
    auto save = client().start(QStringLiteral("Vexlo._Application.Save"),
                               {u'\'' + filePath(QStringLiteral("one.txt")) + u'\'', QStringLiteral("'first'")});
    const quint64 message = desktop().waitForNewWindow(QString::fromLatin1(kTitle), before, 10000);
    ASSERT_NE(message, 0u) << "the success message did not show";

    // Each of these would open the save dialog, and the last one a question.
    const QString leaver = QStringLiteral("leaver");
    {
        QDBusConnection connection = bus().connection(leaver);
        for (int i = 0; i < 3; ++i) {
            QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService),
                                                               QString::fromLatin1(kObjectPath), kMainInterface,
                                                               QStringLiteral("Save"));
            call << QString() << QString();
            connection.asyncCall(call);
        }
    }
    QThread::msleep(300);
    bus().disconnect(leaver);
    QThread::msleep(300);

    ASSERT_TRUE(desktop().closeWithKey(QString::fromLatin1(kTitle), message, QStringLiteral("Return")));
    EXPECT_TRUE(save->reply().ok);
    QThread::msleep(kSettleTime);
    EXPECT_TRUE(desktop().visibleWindows(QStringLiteral("Save Password To"), vexloPid()).isEmpty())
        << "a call of the client that left opened the save dialog";
    EXPECT_EQ(desktop().visibleWindows(QString::fromLatin1(kTitle), vexloPid()).size(), 1);
    EXPECT_EQ(readValue(client().get(QStringLiteral("PassLength"))), QStringLiteral("10"));
}

// A window hidden by a client that then leaves would keep an invisible
// process alive for good: it is shown again for the user to close.
TEST_F(AutomationServerTest, AHiddenWindowIsShownWhenTheLastClientLeaves)
{
    ASSERT_TRUE(startVexlo());
    {
        QDBusConnection holder = bus().connection(kHolder);
        QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kObjectPath),
                                                           kProperties, QStringLiteral("Set"));
        call << kMainInterface << QStringLiteral("Visible") << QVariant::fromValue(QDBusVariant(false));
        const QDBusMessage reply = holder.call(call);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }
    ASSERT_TRUE(desktop().waitForWindowGone(QString::fromLatin1(kTitle), mainWindow(), 5000));
    QThread::msleep(kSettleTime);
    EXPECT_TRUE(desktop().visibleWindows(QString::fromLatin1(kTitle), vexloPid()).isEmpty())
        << "the window showed while a client still held the object";

    bus().disconnect(kHolder);
    EXPECT_NE(desktop().waitForWindow(QString::fromLatin1(kTitle), vexloPid(), 10000), 0u)
        << "the hidden window stayed hidden with no client left";
    EXPECT_TRUE(e2e::isRunning(vexloPid()));
}

} // namespace
