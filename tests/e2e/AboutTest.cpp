// The About button as the user meets it: Alt+A opens Quorrel's about box
// over the main window, Esc closes it, and without Quorrel registered the
// window reports the numbered error and stays usable.
#include "VexloProcessTest.h"

#include <QImage>
#include <QProcess>

namespace {

const QString kAboutTitle = QStringLiteral("About");
const int kWindowTimeout = 10000;
// Windows are looked up by title alone: xdotool joins a pid and a name with
// "or", and each test has a Vexlo of its own on the display.
const qint64 kAnyProcess = 0;

// Runs a program to its end, on the X display; true when it succeeded.
bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Dark pixels (text, a button's frame) inside a rectangle given in twips,
// at the 96 DPI of the test display (15 twips a pixel).
int inkIn(const QImage& image, int left, int top, int width, int height)
{
    int ink = 0;
    for (int y = top / 15; y < (top + height) / 15 && y < image.height(); ++y) {
        for (int x = left / 15; x < (left + width) / 15 && x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 110)
                ++ink;
        }
    }
    return ink;
}

class AboutTest : public VexloProcessTest {
protected:
    QImage grab(const QString& title)
    {
        const QString file = filePath(QStringLiteral("about.png"));
        if (!run(QStringLiteral(GRAB_WINDOW_PROGRAM), {title, file, QStringLiteral("10")}))
            return {};
        return QImage(file);
    }

    // The main window answers a client and takes keys again.
    void expectMainWindowUsable()
    {
        EXPECT_FALSE(vexloWindows().isEmpty());
        const BusReply reply = client().get(QStringLiteral("PassLength"));
        EXPECT_TRUE(reply.ok) << reply;
    }
};

TEST_F(AboutTest, AltAOpensTheAboutBoxAndEscClosesIt)
{
    ASSERT_TRUE(startVexlo());
    ASSERT_TRUE(desktop().pressKeys(mainWindow(), {QStringLiteral("alt+a")}));
    const quint64 about = desktop().waitForWindow(kAboutTitle, kAnyProcess, kWindowTimeout);
    ASSERT_NE(about, 0u) << "no window titled About";

    const QImage picture = grab(kAboutTitle);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(382, 287)) << "5736 x 4308 twips";
    // The title label's two lines (product name, then the version), the
    // legal notice under the separator, and the System Info button.
    EXPECT_GT(inkIn(picture, 1050, 240, 3885, 240), 20) << "product name line";
    EXPECT_GT(inkIn(picture, 1050, 480, 3885, 240), 20) << "version line";
    EXPECT_GT(inkIn(picture, 1050, 780, 3885, 225), 20) << "legal notice";
    EXPECT_GT(inkIn(picture, 252, 2988, 3876, 1188), 100) << "warning";
    EXPECT_GT(inkIn(picture, 4260, 3432, 1245, 345), 20) << "System Info button";

    ASSERT_TRUE(desktop().closeWithKey(kAboutTitle, about, QStringLiteral("Escape")));
    expectMainWindowUsable();

    // The box opens again: the window kept Quorrel's object.
    ASSERT_TRUE(desktop().pressKeys(mainWindow(), {QStringLiteral("alt+a")}));
    const quint64 again = desktop().waitForWindow(kAboutTitle, kAnyProcess, kWindowTimeout);
    ASSERT_NE(again, 0u);
    ASSERT_TRUE(desktop().closeWithKey(kAboutTitle, again, QStringLiteral("Escape")));
}

// The build tree's hive without Quorrel's entries, for the one test; they
// are written back at its end, also when it fails.
class AboutWithoutQuorrelTest : public AboutTest {
protected:
    void SetUp() override
    {
        AboutTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(registerQuorrel(false));
        m_unregistered = true;
    }
    void TearDown() override
    {
        AboutTest::TearDown();
        if (m_unregistered) {
            EXPECT_TRUE(registerQuorrel(true));
        }
    }

    static bool registerQuorrel(bool on)
    {
        QStringList arguments{QStringLiteral("/s"), QStringLiteral("/hive:" VEXLO_REGISTRY_HIVE),
                              QStringLiteral(QUORREL_LIBRARY_FILE)};
        if (!on)
            arguments.prepend(QStringLiteral("/u"));
        return run(QStringLiteral(VEXLO_REGSVR), arguments);
    }

private:
    bool m_unregistered = false;
};

TEST_F(AboutWithoutQuorrelTest, AboutShowsTheNumberedErrorAndTheWindowSurvives)
{
    ASSERT_TRUE(startVexlo());
    const QList<quint64> before = vexloWindows();
    ASSERT_TRUE(desktop().pressKeys(mainWindow(), {QStringLiteral("alt+a")}));
    ASSERT_TRUE(answerNewWindow(before, QStringLiteral("Return"))) << "the error message";
    EXPECT_TRUE(desktop().visibleWindows(kAboutTitle).isEmpty());
    expectMainWindowUsable();
}

} // namespace
