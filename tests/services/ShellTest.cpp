#include "services/Shell.h"

#include "X11TestDisplay.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include <unistd.h>

#include <gtest/gtest.h>

using services::GetWindowProcessId;
using services::ShellOpen;
namespace ShellResult = services::ShellResult;

namespace {

// Takes the place of the desktop's handlers, so nothing is really opened.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls.append(url); }
};

class ShellOpenTest : public ::testing::Test {
protected:
    static inline const QStringList kSchemes = {QStringLiteral("file"), QStringLiteral("http"),
                                                QStringLiteral("https"), QStringLiteral("mailto")};

    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QFile document(folder.filePath(QStringLiteral("notes.txt")));
        ASSERT_TRUE(document.open(QIODevice::WriteOnly));
        for (const QString& scheme : kSchemes)
            QDesktopServices::setUrlHandler(scheme, &recorder, "open");
    }

    void TearDown() override
    {
        for (const QString& scheme : kSchemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    std::int32_t open(const QString& target, const QString& directory = {},
                      const QString& verb = QStringLiteral("open"))
    {
        const std::int32_t showNormal = 1;
        const std::int32_t noOwner = 0;
        return ShellOpen(target, QString(), showNormal, directory, verb, noOwner);
    }

    QTemporaryDir folder;
    UrlRecorder recorder;
};

struct Address {
    const char* target;
    const char* opened;
};

void PrintTo(const Address& a, std::ostream* out) { *out << '"' << a.target << '"'; }

class ShellOpenAddress : public ShellOpenTest, public ::testing::WithParamInterface<Address> {};

TEST_P(ShellOpenAddress, GoesToTheDesktopHandler)
{
    EXPECT_GT(open(QString::fromUtf8(GetParam().target)), 32);
    EXPECT_EQ(recorder.urls, QList<QUrl>{QUrl(QString::fromUtf8(GetParam().opened))});
}

INSTANTIATE_TEST_SUITE_P(Addresses, ShellOpenAddress,
                         ::testing::Values(Address{"https://example.com/a?b=1", "https://example.com/a?b=1"},
                                           Address{"  http://example.com/  ", "http://example.com/"},
                                           Address{"mailto:someone@example.com", "mailto:someone@example.com"},
                                           Address{"www.example.com", "http://www.example.com"}));

TEST_F(ShellOpenTest, OpensAnExistingDocument)
{
    const QString path = folder.filePath(QStringLiteral("notes.txt"));
    EXPECT_GT(open(path), 32);
    EXPECT_GT(open(QStringLiteral("notes.txt"), folder.path()), 32);
    EXPECT_GT(open(folder.path(), QString(), QStringLiteral("explore")), 32);
    EXPECT_EQ(recorder.urls, (QList<QUrl>{QUrl::fromLocalFile(path), QUrl::fromLocalFile(path),
                                          QUrl::fromLocalFile(folder.path())}));
}

class ShellOpenMissing : public ShellOpenTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ShellOpenMissing, IsFileNotFoundAndOpensNothing)
{
    EXPECT_EQ(open(QString::fromUtf8(GetParam()), folder.path()), ShellResult::FileNotFound);
    EXPECT_TRUE(recorder.urls.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Targets, ShellOpenMissing,
                         ::testing::Values("", "   ", "/no/such/file.txt", "no-such-notes.txt",
                                           "file:///no/such/file.txt"));

TEST_F(ShellOpenTest, AnUnknownVerbHasNoAssociation)
{
    EXPECT_EQ(open(QStringLiteral("https://example.com"), QString(), QStringLiteral("print")),
              ShellResult::NoAssociation);
    EXPECT_GT(open(QStringLiteral("https://example.com"), QString(), QStringLiteral("OPEN")), 32);
    EXPECT_GT(open(QStringLiteral("https://example.com"), QString(), QString()), 32);
    EXPECT_EQ(recorder.urls.size(), 2);
}

TEST(GetWindowProcessId, OwnWindowsBelongToThisProcess)
{
    QWidget widget;
    widget.show();
    EXPECT_EQ(GetWindowProcessId(widget.winId()), ::getpid());
}

TEST(GetWindowProcessId, UnknownWindowsGiveZero)
{
    EXPECT_EQ(GetWindowProcessId(0), 0);
    EXPECT_EQ(GetWindowProcessId(std::uintptr_t(1) << 40), 0);
}

TEST(GetWindowProcessId, ReadsThePidOfAnotherClientsWindow)
{
    X11TestDisplay display;
    if (!display.isOpen())
        GTEST_SKIP() << "needs an X display";
    const std::uint32_t withPid = display.createWindow();
    const std::uint32_t withoutPid = display.createWindow();
    display.setPid(withPid, 4242);
    display.sync();
    EXPECT_EQ(GetWindowProcessId(withPid), 4242);
    EXPECT_EQ(GetWindowProcessId(withoutPid), 0);
}

} // namespace

#include "ShellTest.moc"
