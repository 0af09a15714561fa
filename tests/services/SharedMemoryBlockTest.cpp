#include "support/ErrorNumber.h"
#include "services/SharedMemoryBlock.h"

#include "automation/AutomationError.h"

#include <QFile>
#include <QProcess>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using services::ReadSharedMemoryBlock;
using services::RemoveSharedMemoryBlock;
using services::SharedMemoryBlock;

namespace {

class SharedMemoryBlockTest : public ::testing::Test {
protected:
    void TearDown() override { RemoveSharedMemoryBlock(m_name); }

    static int nextNumber() { static int number = 0; return ++number; }
    QString m_name = QStringLiteral("vexlo-test-%1-%2").arg(::getpid()).arg(nextNumber());

    QString devShmPath() const { return QStringLiteral("/dev/shm/") + m_name; }

    void write(const QString& text)
    {
        SharedMemoryBlock block;
        QString name = m_name;
        QString copy = text;
        block.OpenBlock(name);
        block.WriteText(copy);
    }

    // A block made beforehand, as another program might, with the given
    // mode and content.
    void precreate(mode_t mode, const QByteArray& content)
    {
        const QByteArray objectName = '/' + m_name.toUtf8();
        const int fd = ::shm_open(objectName.constData(), O_RDWR | O_CREAT | O_EXCL, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::fchmod(fd, mode), 0);
        ASSERT_EQ(::write(fd, content.constData(), content.size()), content.size());
        m_precreated = fd;
    }

    QByteArray rawContent() const
    {
        QFile file(devShmPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    int m_precreated = -1;

public:
    ~SharedMemoryBlockTest() override
    {
        if (m_precreated >= 0)
            ::close(m_precreated);
    }
};

TEST_F(SharedMemoryBlockTest, AnotherProcessReadsTheWrittenText)
{
    const QString text = QStringLiteral("Pässwörd €~ 1");
    write(text);

    QProcess reader;
    reader.start(QStringLiteral(SHM_READER), {m_name});
    ASSERT_TRUE(reader.waitForFinished(10000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()), text);
}

TEST_F(SharedMemoryBlockTest, LayoutIsALittleEndianCountThenWindows1252Bytes)
{
    write(QStringLiteral("é€x"));
    EXPECT_EQ(rawContent(), QByteArray("\x03\x00\x00\x00\xE9\x80x", 7));
}

TEST_F(SharedMemoryBlockTest, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    write(QStringLiteral("a\u0100b"));
    EXPECT_EQ(ReadSharedMemoryBlock(m_name), QStringLiteral("a?b"));
}

TEST_F(SharedMemoryBlockTest, AShorterTextShrinksTheBlock)
{
    write(QStringLiteral("a rather long password"));
    write(QStringLiteral("ab"));
    EXPECT_EQ(ReadSharedMemoryBlock(m_name), QStringLiteral("ab"));
    EXPECT_EQ(rawContent().size(), 6);
}

TEST_F(SharedMemoryBlockTest, TheBlockOutlivesItsObjectAndAnEmptyTextIsKept)
{
    write(QStringLiteral("kept"));
    EXPECT_EQ(ReadSharedMemoryBlock(m_name), QStringLiteral("kept"));
    write(QString());
    EXPECT_EQ(ReadSharedMemoryBlock(m_name), QString());
}

TEST_F(SharedMemoryBlockTest, AnOpenedButUnwrittenBlockReadsEmpty)
{
    SharedMemoryBlock block;
    QString name = m_name;
    block.OpenBlock(name);
    const auto text = ReadSharedMemoryBlock(m_name);
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(text->isEmpty());
}

TEST_F(SharedMemoryBlockTest, AMissingBlockReadsAsNothingAndRemovesQuietly)
{
    EXPECT_FALSE(ReadSharedMemoryBlock(m_name).has_value());
    EXPECT_NO_THROW(RemoveSharedMemoryBlock(m_name));
}

TEST_F(SharedMemoryBlockTest, WriteTextBeforeOpenBlockIsError91)
{
    SharedMemoryBlock block;
    QString text = QStringLiteral("secret");
    EXPECT_EQ(errorNumberOf([&] { block.WriteText(text); }), 91);
}

class SharedMemoryBlockMode : public SharedMemoryBlockTest, public ::testing::WithParamInterface<mode_t> {};

TEST_P(SharedMemoryBlockMode, IsCreatedPrivateWhateverTheUmask)
{
    const mode_t previous = ::umask(GetParam());
    write(QStringLiteral("x"));
    ::umask(previous);
    struct stat status {};
    ASSERT_EQ(::stat(devShmPath().toUtf8().constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    EXPECT_EQ(status.st_uid, ::geteuid());
}

INSTANTIATE_TEST_SUITE_P(Umasks, SharedMemoryBlockMode, ::testing::Values(0000, 0022, 0077, 0277));

// A companion of the same user may create the block first with its usual
// umask: the hand-off goes ahead, into a block that only its owner can open.
TEST_F(SharedMemoryBlockTest, AnOwnBlockOthersMayReadIsMadePrivateBeforeTheWrite)
{
    for (const mode_t mode : {mode_t(0644), mode_t(0666), mode_t(0640), mode_t(0400)}) {
        precreate(mode, QByteArray("\x04\x00\x00\x00trap", 8));
        write(QStringLiteral("secret"));
        struct stat status {};
        ASSERT_EQ(::fstat(m_precreated, &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0600u) << std::oct << mode;
        EXPECT_EQ(ReadSharedMemoryBlock(m_name), QStringLiteral("secret")) << std::oct << mode;
        RemoveSharedMemoryBlock(m_name);
        ::close(std::exchange(m_precreated, -1));
    }
}

TEST_F(SharedMemoryBlockTest, ABlockOfAnotherUserIsRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a block to another user needs root";
    precreate(0600, QByteArray());
    ASSERT_EQ(::fchown(m_precreated, 65534, 65534), 0);
    SharedMemoryBlock block;
    QString name = m_name;
    EXPECT_EQ(errorNumberOf([&] { block.OpenBlock(name); }), 70);
    EXPECT_EQ(errorNumberOf([&] { ReadSharedMemoryBlock(m_name); }), 70);
    EXPECT_EQ(rawContent(), QByteArray());
    // Its mode is its owner's business.
    struct stat status {};
    ASSERT_EQ(::fstat(m_precreated, &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
}

TEST_F(SharedMemoryBlockTest, ACountPastTheEndIsError321)
{
    precreate(0600, QByteArray("\x64\x00\x00\x00" "abcd", 8));
    EXPECT_EQ(errorNumberOf([&] { ReadSharedMemoryBlock(m_name); }), 321);
}

TEST_F(SharedMemoryBlockTest, ABlockTooShortForItsCountIsError321)
{
    precreate(0600, QByteArray("\x01\x00", 2));
    EXPECT_EQ(errorNumberOf([&] { ReadSharedMemoryBlock(m_name); }), 321);
}

TEST_F(SharedMemoryBlockTest, ASecondOpenReplacesTheFirstBlock)
{
    const QString otherName = m_name + QStringLiteral("-other");
    SharedMemoryBlock block;
    QString first = m_name;
    QString second = otherName;
    QString text = QStringLiteral("to the second");
    block.OpenBlock(first);
    block.OpenBlock(second);
    block.WriteText(text);
    EXPECT_EQ(ReadSharedMemoryBlock(otherName), text);
    EXPECT_EQ(ReadSharedMemoryBlock(m_name), QString());
    RemoveSharedMemoryBlock(otherName);
}

struct BadName {
    const char* label;
    QString name;
};

void PrintTo(const BadName& b, std::ostream* out) { *out << b.label; }

class SharedMemoryBlockBadName : public ::testing::TestWithParam<BadName> {};

TEST_P(SharedMemoryBlockBadName, IsError75Everywhere)
{
    QString name = GetParam().name;
    SharedMemoryBlock block;
    EXPECT_EQ(errorNumberOf([&] { block.OpenBlock(name); }), 75);
    EXPECT_EQ(errorNumberOf([&] { ReadSharedMemoryBlock(name); }), 75);
    EXPECT_EQ(errorNumberOf([&] { RemoveSharedMemoryBlock(name); }), 75);
}

INSTANTIATE_TEST_SUITE_P(Names, SharedMemoryBlockBadName,
                         ::testing::Values(BadName{"empty", QString()}, BadName{"slash", QStringLiteral("a/b")},
                                           BadName{"leading slash", QStringLiteral("/ab")},
                                           BadName{"nul", QStringLiteral("a") + QChar(0) + QStringLiteral("b")},
                                           BadName{"too long", QString(300, u'x')},
                                           BadName{"too long in UTF-8", QString(128, u'é')},
                                           BadName{"dot", QStringLiteral(".")},
                                           BadName{"dot dot", QStringLiteral("..")},
                                           BadName{"line feed", QStringLiteral("a\nb")},
                                           BadName{"tab", QStringLiteral("a\tb")},
                                           BadName{"escape", QStringLiteral("\x1b[2J")},
                                           BadName{"delete", QStringLiteral("a\x7f")},
                                           BadName{"C1 control", QStringLiteral("a") + QChar(0x85)}));

// The name also names the calling program in the tips, so blanks are fine.
TEST_F(SharedMemoryBlockTest, ANameWithBlanksIsUsable)
{
    m_name = QStringLiteral("vexlo test %1 with blanks ").arg(::getpid());
    write(QStringLiteral("spaced"));
    EXPECT_EQ(ReadSharedMemoryBlock(m_name), QStringLiteral("spaced"));
}

} // namespace
