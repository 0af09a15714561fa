// The program's one user-interface thread as clients and the user meet it
// with the glow running: calls that land during a wait, a run of Terminates,
// generation's pacing, and the signals that end a desktop session.
#include "GVariantText.h"
#include "ProcessTable.h"
#include "VexloProcessTest.h"

#include <QCryptographicHash>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QThread>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <memory>

namespace {

const QString kMainInterface = QStringLiteral("Vexlo._Application");
const QString kGenerate = QStringLiteral("Vexlo._Application.Generate");
const QString kCopy = QStringLiteral("Vexlo._Application.Copy");
const QString kTerminate = QStringLiteral("Vexlo._Application.Terminate");
const QString kSave = QStringLiteral("Vexlo._Application.Save");
const int kStartTimeout = 15000;

// The glowing caption's place on the window, in pixels at 96 DPI.
constexpr int kGlowLeft = 288;
constexpr int kGlowTop = 320;
constexpr int kGlowWidth = 80;
constexpr int kGlowHeight = 24;

// Pictures of a part of a window, straight from the X server.
class WindowPictures {
public:
    WindowPictures() : m_connection(xcb_connect(nullptr, nullptr)) {}
    ~WindowPictures() { xcb_disconnect(m_connection); }
    WindowPictures(const WindowPictures&) = delete;
    WindowPictures& operator=(const WindowPictures&) = delete;

    // A digest of the pixels; empty when the window cannot be read.
    QByteArray digest(quint64 window, int x, int y, int width, int height) const
    {
        auto cookie = xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, static_cast<xcb_window_t>(window),
                                    static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<uint16_t>(width),
                                    static_cast<uint16_t>(height), ~0u);
        std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
            xcb_get_image_reply(m_connection, cookie, nullptr), &std::free);
        if (!reply)
            return {};
        const QByteArray pixels(reinterpret_cast<const char*>(xcb_get_image_data(reply.get())),
                                xcb_get_image_data_length(reply.get()));
        return QCryptographicHash::hash(pixels, QCryptographicHash::Sha1);
    }

private:
    xcb_connection_t* m_connection;
};

class EventModelTest : public VexloProcessTest {
protected:
    // Vexlo started by the test itself, so that its exit code can be read.
    ::testing::AssertionResult startOwnVexlo(QProcess& vexlo)
    {
        vexlo.setProcessEnvironment(environment());
        vexlo.setWorkingDirectory(filePath(QString()));
        vexlo.start(QStringLiteral(VEXLO_PROGRAM), QStringList());
        if (!vexlo.waitForStarted())
            return ::testing::AssertionFailure() << "Vexlo did not start";
        QElapsedTimer clock;
        clock.start();
        while (bus().ownerPid(QString::fromLatin1(kService)) != vexlo.processId()) {
            if (clock.elapsed() > kStartTimeout || vexlo.state() != QProcess::Running)
                return ::testing::AssertionFailure() << "Vexlo did not take its bus name";
            QThread::msleep(10);
        }
        if (desktop().waitForWindow(QString::fromLatin1(kTitle), vexlo.processId(), kStartTimeout) == 0)
            return ::testing::AssertionFailure() << "the main window did not show";
        return ::testing::AssertionSuccess();
    }

    static ::testing::AssertionResult endedCleanly(QProcess& vexlo)
    {
        if (!vexlo.waitForFinished(15000))
            return ::testing::AssertionFailure() << "Vexlo did not end";
        if (vexlo.exitStatus() != QProcess::NormalExit || vexlo.exitCode() != 0)
            return ::testing::AssertionFailure()
                   << "Vexlo ended with " << (vexlo.exitStatus() == QProcess::CrashExit ? "a crash" : "exit code ")
                   << vexlo.exitCode() << ": " << vexlo.readAllStandardError().toStdString();
        return ::testing::AssertionSuccess();
    }

    // Distinct pictures of the glowing caption over about two seconds: the
    // glow holds a colour for at most about 1.3 s.
    int glowPicturesOver2s(quint64 window)
    {
        WindowPictures pictures;
        QSet<QByteArray> seen;
        for (int i = 0; i < 10; ++i) {
            const QByteArray digest = pictures.digest(window, kGlowLeft, kGlowTop, kGlowWidth, kGlowHeight);
            if (!digest.isEmpty())
                seen.insert(digest);
            QThread::msleep(220);
        }
        return static_cast<int>(seen.size());
    }
};

// A Terminate lands wherever the glow's timer happens to be.
TEST_F(EventModelTest, TwentyTerminatesInARowEndWithExitCodeZero)
{
    for (int run = 1; run <= 20; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        QProcess vexlo;
        ASSERT_TRUE(startOwnVexlo(vexlo));
        QThread::msleep(static_cast<unsigned long>(run * 7 % 50)); // anywhere in a tick
        const BusReply terminated = client().call(kTerminate);
        ASSERT_TRUE(terminated.ok) << terminated;
        ASSERT_TRUE(endedCleanly(vexlo));
    }
}

// Timed on this side of the bus, so the figure holds the call's whole run.
TEST_F(EventModelTest, GeneratesOverTheBusNeverRunShortWhileTheGlowTicks)
{
    ASSERT_TRUE(startVexlo());
    ASSERT_TRUE(client().set(QStringLiteral("PassLength"), QStringLiteral("<int16 10>")).ok);
    QDBusConnection connection = bus().connection(QStringLiteral("timing"));
    const qint64 nominalMs = 5 * 10 + 200;
    for (int run = 1; run <= 20; ++run) {
        QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService),
                                                           QString::fromLatin1(kObjectPath), kMainInterface,
                                                           QStringLiteral("Generate"));
        QElapsedTimer clock;
        clock.start();
        const QDBusMessage reply = connection.call(call, QDBus::Block, 10000);
        const qint64 elapsed = clock.elapsed();
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        EXPECT_EQ(reply.arguments().value(0).toString().size(), 10);
        EXPECT_GE(elapsed, nominalMs) << "run " << run << " was cut short";
    }
}

TEST_F(EventModelTest, ACallDuringAnotherCallsDialogWaitsWhileTheGlowGoesOn)
{
    ASSERT_TRUE(startVexlo());
    const QList<quint64> before = vexloWindows();
    auto save = client().start(kSave, {u'\'' + filePath(QStringLiteral("one.txt")) + u'\'', QStringLiteral("'first'")});
    const quint64 message = desktop().waitForNewWindow(QString::fromLatin1(kTitle), before, 10000);
    ASSERT_NE(message, 0u) << "the success message did not show";

    auto read = client().start(QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                               {kMainInterface, QStringLiteral("PassLength")});
    EXPECT_GE(glowPicturesOver2s(mainWindow()), 2) << "the glow stood still while the dialog was open";
    EXPECT_FALSE(read->isFinished()) << "a call ran while another waited for the user";

    ASSERT_TRUE(desktop().closeWithKey(QString::fromLatin1(kTitle), message, QStringLiteral("Return")));
    EXPECT_TRUE(save->reply().ok);
    const BusReply value = read->reply();
    ASSERT_TRUE(value.ok) << value;
    EXPECT_EQ(e2e::unboxed(value.value()).toString(), QStringLiteral("10"));
}

TEST_F(EventModelTest, TheGlowPulsesWithTheWindowIdle)
{
    ASSERT_TRUE(startVexlo());
    EXPECT_GE(glowPicturesOver2s(mainWindow()), 2);
}

// A desktop session that ends sends SIGTERM or SIGHUP: a copied password
// stays on the clipboard, served by the keeper.
class SignalTest : public EventModelTest, public ::testing::WithParamInterface<int> {};

TEST_P(SignalTest, AfterCopyTheProgramEndsCleanlyAndThePasswordStaysOnTheClipboard)
{
    QProcess vexlo;
    ASSERT_TRUE(startOwnVexlo(vexlo));
    const BusReply generated = client().call(kGenerate);
    ASSERT_TRUE(generated.ok) << generated;
    const QString password = generated.value().toString();
    ASSERT_TRUE(client().call(kCopy).ok);

    ASSERT_EQ(::kill(static_cast<pid_t>(vexlo.processId()), GetParam()), 0);
    ASSERT_TRUE(endedCleanly(vexlo));
    EXPECT_EQ(desktop().clipboard(), std::optional<QByteArray>(password.toUtf8()));
}

std::string signalName(const ::testing::TestParamInfo<int>& info)
{
    switch (info.param) {
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "SIGINT";
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalTest, ::testing::Values(SIGTERM, SIGHUP, SIGINT), signalName);

// A signal while the description prompt is open: the prompt closes
// unanswered, nothing is written and no temporary file is left.
TEST_F(EventModelTest, SigtermDuringTheDescriptionPromptWritesNothingAndLeavesNoTemporaryFile)
{
    QProcess vexlo;
    ASSERT_TRUE(startOwnVexlo(vexlo));
    ASSERT_TRUE(client().call(kGenerate).ok);
    const QString target = filePath(QStringLiteral("prompted.txt"));
    const QList<quint64> before = vexloWindows();
    auto save = client().start(kSave, {u'\'' + target + u'\'', QStringLiteral("''")});
    ASSERT_NE(desktop().waitForNewWindow(QString::fromLatin1(kTitle), before, 10000), 0u) << "no prompt showed";

    ASSERT_EQ(::kill(static_cast<pid_t>(vexlo.processId()), SIGTERM), 0);
    ASSERT_TRUE(endedCleanly(vexlo));
    EXPECT_FALSE(QFile::exists(target));
    const QStringList left = QDir(filePath(QString())).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : left)
        EXPECT_FALSE(name.startsWith(QStringLiteral("prompted.txt")) || name.startsWith(QStringLiteral(".prompted")))
            << "left behind: " << name.toStdString();
    EXPECT_FALSE(save->reply().ok) << "the unanswered save reported success";
}

} // namespace
