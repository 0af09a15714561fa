#include "system/WindowLookup.h"

#include "X11TestDisplay.h"

#include <unistd.h>

#include <gtest/gtest.h>

using sysapi::findTopLevelWindow;
using sysapi::windowProcessId;

namespace {

// Bare windows of a client of our own on the real X display (Xvfb under
// scripts/test). Each test uses a class name of its own, so windows of other
// tests and programs never match.
class WindowLookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!display.isOpen())
            GTEST_SKIP() << "needs an X display";
        static int number = 0;
        className = QStringLiteral("VexloLookupTest%1x%2").arg(::getpid()).arg(++number);
    }

    std::uint32_t window(const QString& title, std::uint32_t parent = 0)
    {
        const std::uint32_t id = display.createWindow(parent);
        display.setClass(id, "mirrak", className.toLatin1());
        display.setNetWmName(id, title);
        return id;
    }

    X11TestDisplay display;
    QString className;
};

TEST_F(WindowLookupTest, FindsAWindowByClassAndTitle)
{
    const std::uint32_t target = window(QStringLiteral("Mirrak ✓"));
    display.setWmName(target, "legacy title");
    display.sync();
    EXPECT_EQ(findTopLevelWindow(className, QStringLiteral("Mirrak ✓")), target);
    // _NET_WM_NAME is the title; WM_NAME counts only without it.
    EXPECT_EQ(findTopLevelWindow(className, QStringLiteral("legacy title")), 0u);
}

TEST_F(WindowLookupTest, TakesTheLatin1WmNameWithoutNetWmName)
{
    const std::uint32_t target = display.createWindow();
    display.setClass(target, "mirrak", className.toLatin1());
    display.setWmName(target, "Mirrak \xE9");
    display.sync();
    EXPECT_EQ(findTopLevelWindow(className, QStringLiteral("Mirrak é")), target);
}

TEST_F(WindowLookupTest, MissesAWrongClassOrTitle)
{
    window(QStringLiteral("Mirrak"));
    display.sync();
    EXPECT_EQ(findTopLevelWindow(className + QLatin1Char('x'), QStringLiteral("Mirrak")), 0u);
    EXPECT_EQ(findTopLevelWindow(className, QStringLiteral("Mirrak ")), 0u);
    EXPECT_EQ(findTopLevelWindow(className, QStringLiteral("mirrak")), 0u);
    EXPECT_EQ(findTopLevelWindow(QStringLiteral("mirrak"), QStringLiteral("Mirrak")), 0u); // the instance part
}

TEST_F(WindowLookupTest, LooksInsideAFrameWithoutClass)
{
    const std::uint32_t frame = display.createWindow();
    const std::uint32_t client = window(QStringLiteral("Mirrak"), frame);
    display.sync();
    EXPECT_EQ(findTopLevelWindow(className, QStringLiteral("Mirrak")), client);
}

TEST_F(WindowLookupTest, TheTopmostOfTwoMatchesWins)
{
    window(QStringLiteral("Mirrak"));
    const std::uint32_t upper = window(QStringLiteral("Mirrak")); // a new window goes on top
    display.sync();
    EXPECT_EQ(findTopLevelWindow(className, QStringLiteral("Mirrak")), upper);
}

TEST_F(WindowLookupTest, ReadsTheProcessIdOfAWindow)
{
    const std::uint32_t withPid = window(QStringLiteral("Mirrak"));
    const std::uint32_t withoutPid = window(QStringLiteral("Other"));
    display.setPid(withPid, 4242);
    display.sync();
    EXPECT_EQ(windowProcessId(withPid), 4242);
    EXPECT_EQ(windowProcessId(withoutPid), 0);
    EXPECT_EQ(windowProcessId(0), 0);
    EXPECT_EQ(windowProcessId(0xFFFFFFF0u), 0); // no such window
}

class WindowLookupWithoutDisplay : public ::testing::TestWithParam<const char*> {};

TEST_P(WindowLookupWithoutDisplay, FindsNothing)
{
    EXPECT_EQ(findTopLevelWindow(QStringLiteral("ThunderRT6FormDC"), QStringLiteral("Mirrak"), GetParam()), 0u);
    EXPECT_EQ(windowProcessId(1, GetParam()), 0);
}

// A display number nothing listens on, and a name that is no display name.
INSTANTIATE_TEST_SUITE_P(Displays, WindowLookupWithoutDisplay, ::testing::Values(":65535", "not a display"));

} // namespace
