// The safe text-file writer: links, modes and owners, long names, and what a
// failed or interrupted save leaves behind.
#include "system/TextFileWriter.h"

#include "automation/AutomationError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using sysapi::TextFileWriter;

namespace {

class TextFileWriterTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return folder.filePath(name); }
    QString path(const char* name) const { return path(QString::fromLatin1(name)); }
    QStringList entries() const
    {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                             QDir::Name);
    }
    static void write(const QString& file, const QByteArray& content)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    static QByteArray contentOf(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static struct stat statusOf(const QString& file)
    {
        struct stat status {};
        EXPECT_EQ(::lstat(QFile::encodeName(file).constData(), &status), 0) << file.toStdString();
        return status;
    }
    static void save(const QString& file, const QString& line)
    {
        TextFileWriter writer(file);
        writer.writeLine(line);
        writer.commit();
    }

    QTemporaryDir folder;
};

TEST_F(TextFileWriterTest, WritingThroughALinkWritesItsTarget)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("real")));
    write(path("real/target.txt"), "old\r\n");
    // A relative link to a relative link: each is read from its own folder.
    ASSERT_EQ(::symlink("real/target.txt", QFile::encodeName(path("first")).constData()), 0);
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("links")));
    ASSERT_EQ(::symlink("../first", QFile::encodeName(path("links/second")).constData()), 0);

    save(path("links/second"), QStringLiteral("new"));

    EXPECT_EQ(contentOf(path("real/target.txt")), QByteArray("new\r\n"));
    EXPECT_TRUE(S_ISLNK(statusOf(path("first")).st_mode));
    EXPECT_TRUE(S_ISLNK(statusOf(path("links/second")).st_mode));
    EXPECT_EQ(QDir(path("real")).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("target.txt")});
}

TEST_F(TextFileWriterTest, ALinkToNowhereCreatesItsTarget)
{
    ASSERT_EQ(::symlink("made.txt", QFile::encodeName(path("dangling")).constData()), 0);
    save(path("dangling"), QStringLiteral("x"));
    EXPECT_TRUE(S_ISLNK(statusOf(path("dangling")).st_mode));
    EXPECT_EQ(contentOf(path("made.txt")), QByteArray("x\r\n"));
    EXPECT_EQ(statusOf(path("made.txt")).st_mode & 0777, 0600u);
}

TEST_F(TextFileWriterTest, ALoopOfLinksIsAPathError)
{
    ASSERT_EQ(::symlink("b", QFile::encodeName(path("a")).constData()), 0);
    ASSERT_EQ(::symlink("a", QFile::encodeName(path("b")).constData()), 0);
    try {
        TextFileWriter writer(path("a"));
        ADD_FAILURE() << "followed a loop of links";
    } catch (const automation::AutomationError& error) {
        EXPECT_EQ(error.number(), automation::ErrorNumber::PathFileAccessError);
    }
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

TEST_F(TextFileWriterTest, AReplacedFileKeepsItsModeAndOwner)
{
    write(path("shared.txt"), "old\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path("shared.txt")).constData(), 0640), 0);
    const bool canGiveAway = ::geteuid() == 0;
    if (canGiveAway) {
        ASSERT_EQ(::chown(QFile::encodeName(path("shared.txt")).constData(), 4321, 4322), 0);
    }

    save(path("shared.txt"), QStringLiteral("new"));

    const struct stat status = statusOf(path("shared.txt"));
    EXPECT_EQ(contentOf(path("shared.txt")), QByteArray("new\r\n"));
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    if (canGiveAway) {
        EXPECT_EQ(status.st_uid, 4321u);
        EXPECT_EQ(status.st_gid, 4322u);
    } else {
        EXPECT_EQ(status.st_uid, ::geteuid());
    }
}

TEST_F(TextFileWriterTest, ANewFileIsOwnerOnlyWhateverTheUmask)
{
    for (const mode_t mask : {mode_t(0), mode_t(022), mode_t(0277)}) {
        const mode_t previous = ::umask(mask);
        const QString file = path(QStringLiteral("new-%1.txt").arg(mask, 0, 8));
        save(file, QStringLiteral("secret"));
        ::umask(previous);
        EXPECT_EQ(statusOf(file).st_mode & 0777, 0600u) << "umask " << std::oct << mask;
        EXPECT_EQ(statusOf(file).st_uid, ::geteuid());
    }
}

TEST_F(TextFileWriterTest, NamesUpToTheSystemsLimitWork)
{
    for (const int length : {248, 250, 254, 255}) {
        const QString name(length, u'n');
        save(path(name), QStringLiteral("long"));
        EXPECT_EQ(contentOf(path(name)), QByteArray("long\r\n")) << length;
        // Over an existing file as well, where the temporary name matters.
        save(path(name), QStringLiteral("again"));
        EXPECT_EQ(contentOf(path(name)), QByteArray("again\r\n")) << length;
    }
    // 127 two-byte characters and one more byte: the temporary name must not
    // cut a character in two.
    const QString wide = QString(127, QChar(0x00e9)) + u'x';
    ASSERT_EQ(QFile::encodeName(wide).size(), 255);
    save(path(wide), QStringLiteral("wide"));
    EXPECT_EQ(contentOf(path(wide)), QByteArray("wide\r\n"));
    EXPECT_EQ(entries().size(), 5);
}

struct BadTarget {
    const char* label;
    QString (*path)(const QString& folder);
    int number;
};

void PrintTo(const BadTarget& target, std::ostream* out) { *out << target.label; }

class TextFileWriterFailureTest : public TextFileWriterTest, public ::testing::WithParamInterface<BadTarget> {};

TEST_P(TextFileWriterFailureTest, FailsWithItsNumberNamingTheFileAndLeavesNothing)
{
    write(path("old.txt"), "old\r\n");
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    const QString target = GetParam().path(folder.path());
    try {
        TextFileWriter writer(target);
        ADD_FAILURE() << "opened " << target.toStdString();
    } catch (const automation::AutomationError& error) {
        EXPECT_EQ(error.number(), GetParam().number);
        EXPECT_TRUE(error.description().contains(QStringLiteral("\"%1\"").arg(target))) << error.description().toStdString();
    }
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("old.txt"), QStringLiteral("sub")}));
    EXPECT_EQ(contentOf(path("old.txt")), QByteArray("old\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, TextFileWriterFailureTest,
    ::testing::Values(
        BadTarget{"empty", [](const QString&) { return QString(); }, automation::ErrorNumber::BadFileNameOrNumber},
        BadTarget{"name of 256 bytes", [](const QString& f) { return f + u'/' + QString(256, u'n'); },
                  automation::ErrorNumber::BadFileNameOrNumber},
        BadTarget{"ends with a slash", [](const QString& f) { return f + QStringLiteral("/sub/"); },
                  automation::ErrorNumber::BadFileNameOrNumber},
        BadTarget{"a folder", [](const QString& f) { return f + QStringLiteral("/sub"); },
                  automation::ErrorNumber::PathFileAccessError},
        BadTarget{"missing folder", [](const QString& f) { return f + QStringLiteral("/none/x.txt"); },
                  automation::ErrorNumber::PathNotFound},
        BadTarget{"a file as folder", [](const QString& f) { return f + QStringLiteral("/old.txt/x.txt"); },
                  automation::ErrorNumber::PathNotFound}));

TEST_F(TextFileWriterTest, AWriterDestroyedWithoutCommitLeavesTheOldFileAlone)
{
    write(path("old.txt"), "old\r\n");
    {
        TextFileWriter writer(path("old.txt"));
        writer.writeLine(QStringLiteral("never"));
    }
    EXPECT_EQ(entries(), QStringList{QStringLiteral("old.txt")});
    EXPECT_EQ(contentOf(path("old.txt")), QByteArray("old\r\n"));
}

// A process killed in the middle of a save (a prompt was open) leaves the
// old file and nothing else.
TEST_F(TextFileWriterTest, AKilledSaveLeavesNoTemporaryFile)
{
    const int probe = ::open(QFile::encodeName(folder.path()).constData(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0)
        GTEST_SKIP() << "the file system of " << folder.path().toStdString() << " has no unnamed files";
    ::close(probe);
    write(path("old.txt"), "old\r\n");
    const QString target = path("old.txt");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        try {
            TextFileWriter writer(target);
            writer.writeLine(QStringLiteral("half"));
            (void)::write(ready[1], "x", 1);
            ::pause();
        } catch (...) {
        }
        ::_exit(1);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("old.txt")});
    EXPECT_EQ(contentOf(target), QByteArray("old\r\n"));
}

} // namespace
