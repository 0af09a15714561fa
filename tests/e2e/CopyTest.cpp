// Copy as a client and the user see it: the clipboard, read by another
// program, the question when the companion program runs, the hand-over of
// the password through shared memory, and the clipboard after Vexlo ends.
#include "ProcessTable.h"
#include "VexloProcessTest.h"

#include "services/SharedMemoryBlock.h"

#include <QFileInfo>

namespace {

const QString kGenerate = QStringLiteral("Vexlo._Application.Generate");
const QString kCopy = QStringLiteral("Vexlo._Application.Copy");
const QString kHint = QStringLiteral("x-kde-passwordManagerHint");

struct CopyCase {
    const char* name;
    bool companionRuns;
    const char* answer; // the key that answers the question, when one is asked
    bool handedOver;
};

void PrintTo(const CopyCase& row, std::ostream* out) { *out << row.name; }

class ClipboardTest : public VexloProcessTest {
protected:
    // The clipboard holds the text, marked as a secret for clipboard managers.
    void expectSecretClipboard(const QString& text)
    {
        EXPECT_EQ(desktop().clipboard(), std::optional<QByteArray>(text.toUtf8()));
        EXPECT_TRUE(desktop().clipboardTargets().contains(kHint)) << desktop().clipboardTargets().join(u' ').toStdString();
        EXPECT_EQ(desktop().clipboard(kHint), std::optional<QByteArray>("secret"));
    }
};

class CopyTest : public ClipboardTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopyTest, PutsThePasswordOnTheClipboardAndHandsItOverOnYes)
{
    const CopyCase& row = GetParam();
    if (row.companionRuns) {
        ASSERT_TRUE(startMirrak());
    }
    ASSERT_TRUE(startVexlo());
    const QString block = newBlockName();
    ASSERT_TRUE(client().set(QStringLiteral("MemoryName"), QStringLiteral("<'%1'>").arg(block)).ok);
    const BusReply generated = client().call(kGenerate);
    ASSERT_TRUE(generated.ok) << generated;
    const QString password = generated.value().toString();

    const QList<quint64> before = vexloWindows();
    auto copy = client().start(kCopy);
    if (row.companionRuns) {
        ASSERT_TRUE(answerNewWindow(before, QString::fromLatin1(row.answer))) << "the question";
    }
    // Without the companion nothing is asked: the call returns by itself.
    ASSERT_TRUE(copy->waitForFinished(10000)) << "Copy did not return";
    const BusReply copied = copy->reply();
    ASSERT_TRUE(copied.ok) << copied;
    EXPECT_EQ(copied.value().toString(), password);

    expectSecretClipboard(password);
    if (row.companionRuns) {
        const MirrakPeer::Reading reading = mirrak().read(block);
        EXPECT_EQ(reading.status, row.handedOver ? QStringLiteral("text") : QStringLiteral("none")) << reading.text.toStdString();
        if (row.handedOver) {
            EXPECT_EQ(reading.text, password);
        }
    } else {
        EXPECT_FALSE(services::ReadSharedMemoryBlock(block).has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(Companion, CopyTest,
                         ::testing::Values(CopyCase{"NotRunning", false, "", false},
                                           CopyCase{"AnsweredNo", true, "alt+n", false},
                                           CopyCase{"AnsweredYes", true, "Return", true}),
                         [](const auto& info) { return std::string(info.param.name); });

using CopyBeforeGenerationTest = ClipboardTest;

TEST_F(CopyBeforeGenerationTest, CopiesTheDesignText)
{
    ASSERT_TRUE(startVexlo());
    const BusReply copied = client().call(kCopy);
    ASSERT_TRUE(copied.ok) << copied;
    EXPECT_EQ(copied.value().toString(), QString::fromLatin1(kDesignText));
    expectSecretClipboard(QString::fromLatin1(kDesignText));
}

using ClipboardAfterExitTest = ClipboardTest;

TEST_F(ClipboardAfterExitTest, KeeperServesThePasswordUntilAnotherProgramTakesTheClipboard)
{
    ASSERT_TRUE(startVexlo());
    const BusReply generated = client().call(kGenerate);
    ASSERT_TRUE(generated.ok) << generated;
    const QString password = generated.value().toString();
    ASSERT_TRUE(client().call(kCopy).ok);
    // Saved, so that closing asks nothing.
    const QList<quint64> before = vexloWindows();
    auto save = client().start(QStringLiteral("Vexlo._Application.Save"),
                               {u'\'' + filePath(QStringLiteral("kept.txt")) + u'\'', QStringLiteral("'kept'")});
    ASSERT_TRUE(answerNewWindow(before, QStringLiteral("Return"))) << "the success message";
    ASSERT_TRUE(save->reply().ok);

    // Esc is the key of the Close button.
    ASSERT_TRUE(desktop().pressKeys(mainWindow(), {QStringLiteral("Escape")}));
    ASSERT_TRUE(e2e::waitForExit(vexloPid(), 10000)) << "Vexlo did not end";

    expectSecretClipboard(password);
    const QString keeperProgram = QFileInfo(QStringLiteral(VEXLO_CLIPBOARD_KEEPER)).canonicalFilePath();
    QList<qint64> keepers;
    for (const qint64 pid : e2e::processesWithEnvironmentEntry("DBUS_SESSION_BUS_ADDRESS=" + bus().address().toLocal8Bit())) {
        if (e2e::executableOf(pid) == keeperProgram)
            keepers << pid;
    }
    ASSERT_EQ(keepers.size(), 1) << "one keeper serves the clipboard";

    ASSERT_TRUE(desktop().takeClipboard("x"));
    EXPECT_TRUE(e2e::waitForExit(keepers.first(), 10000)) << "the keeper outlived its clipboard";
    EXPECT_EQ(desktop().clipboard(), std::optional<QByteArray>("x"));
}

} // namespace
