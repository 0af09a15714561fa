// The Help button as a user meets it: Alt+H opens the help viewer beside the
// main window; a program without its help file opens nothing and goes on.
#include "VexloProcessTest.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

namespace {

const QString kHelpTitle = QStringLiteral("Vexlo Help");
const QString kGenerate = QStringLiteral("Vexlo._Application.Generate");
const int kWindowTimeout = 10000;

// The window that `window` is transient for, as xprop prints it; 0 when none.
quint64 transientFor(const QProcessEnvironment& environment, quint64 window)
{
    QProcess xprop;
    xprop.setProcessEnvironment(environment);
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window), QStringLiteral("WM_TRANSIENT_FOR")});
    if (!xprop.waitForFinished(10000))
        return 0;
    const QString output = QString::fromLatin1(xprop.readAllStandardOutput());
    const qsizetype at = output.indexOf(QLatin1String("window id # "));
    if (at < 0)
        return 0;
    bool ok = false;
    const quint64 id = output.mid(at + 12).trimmed().section(QLatin1Char(' '), 0, 0).toULongLong(&ok, 16);
    return ok ? id : 0;
}

} // namespace

class HelpTest : public VexloProcessTest {};

TEST_F(HelpTest, AltHOpensTheHelpViewerForTheMainWindow)
{
    ASSERT_TRUE(startVexlo());
    ASSERT_TRUE(QFile::exists(QFileInfo(QStringLiteral(VEXLO_PROGRAM)).dir().filePath(QStringLiteral("Vexlo.chm"))));
    ASSERT_TRUE(desktop().pressKeys(mainWindow(), {QStringLiteral("alt+h")}));
    const quint64 viewer = desktop().waitForWindow(kHelpTitle, vexloPid(), kWindowTimeout);
    ASSERT_NE(viewer, 0u) << "no window titled " << kHelpTitle.toStdString();
    EXPECT_EQ(transientFor(environment(), viewer), mainWindow()) << "the main window is the calling window";

    // The viewer is not modal: the main window answers while it is open.
    const BusReply generated = client().call(kGenerate);
    ASSERT_TRUE(generated.ok) << generated;
    EXPECT_EQ(generated.value().toString().size(), 10);

    // A second press shows the same viewer, not another one.
    ASSERT_TRUE(desktop().pressKeys(mainWindow(), {QStringLiteral("alt+h")}));
    QThread::msleep(500);
    EXPECT_EQ(desktop().visibleWindows(kHelpTitle, vexloPid()).size(), 1);

    EXPECT_TRUE(desktop().closeWithKey(kHelpTitle, viewer, QStringLiteral("Escape")));
    EXPECT_EQ(desktop().visibleWindows(QString::fromLatin1(kTitle), vexloPid()), QList<quint64>{mainWindow()});
}

TEST_F(HelpTest, ACopyWithoutTheHelpFileOpensNothingAndStaysUsable)
{
    // The copy finds its libraries through the build's RPATH, which names
    // their folders by absolute path.
    const QString folder = filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = QDir(folder).filePath(QStringLiteral("vexlo"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VEXLO_PROGRAM), program));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    ASSERT_FALSE(QFile::exists(QDir(folder).filePath(QStringLiteral("Vexlo.chm"))));

    QProcess copy;
    copy.setProcessEnvironment(environment());
    copy.setProcessChannelMode(QProcess::ForwardedChannels);
    copy.start(program, {});
    ASSERT_TRUE(copy.waitForStarted(10000));
    const quint64 window = desktop().waitForWindow(QString::fromLatin1(kTitle), copy.processId(), kWindowTimeout);
    ASSERT_NE(window, 0u) << "the copy's window did not show";

    ASSERT_TRUE(desktop().pressKeys(window, {QStringLiteral("alt+h")}));
    QThread::msleep(1500);
    EXPECT_TRUE(desktop().visibleWindows(kHelpTitle).isEmpty()) << "a viewer opened without a help file";
    EXPECT_EQ(desktop().visibleWindows(QString::fromLatin1(kTitle), copy.processId()), QList<quint64>{window})
        << "Help showed a window of its own";

    // Still usable: it serves the bus and generates. (The name is taken once
    // the window shows; a call before that would start the build's program.)
    for (int waited = 0; bus().ownerPid(QString::fromLatin1(kService)) != copy.processId() && waited < kWindowTimeout; waited += 100)
        QThread::msleep(100);
    ASSERT_EQ(bus().ownerPid(QString::fromLatin1(kService)), copy.processId());
    const BusReply generated = client().call(kGenerate);
    ASSERT_TRUE(generated.ok) << generated;
    EXPECT_EQ(generated.value().toString().size(), 10);
    EXPECT_EQ(copy.state(), QProcess::Running);

    copy.kill();
    copy.waitForFinished(10000);
}
