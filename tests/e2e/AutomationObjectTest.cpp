// The automation object's members as a client program on the bus sees them.
#include "GVariantText.h"
#include "VexloProcessTest.h"

#include "services/Random.h"

#include <QFile>
#include <QThread>

#include <filesystem>
#include <utility>

namespace {

using AutomationObjectTest = VexloProcessTest;

const QString kGet = QStringLiteral("org.freedesktop.DBus.Properties.Get");
const QString kSave = QStringLiteral("Vexlo._Application.Save");
const QString kInvoke = QStringLiteral("Vexlo.Dispatch.Invoke");

QString quoted(const QString& text) { return u'\'' + text + u'\''; }

// Keys typed through the X server reach Vexlo's event queue at their own pace;
// a bus call sent right after may be served first. Typed text has landed
// when a read of the box shows it, or after this long.
constexpr unsigned long kTypingLands = 1000;

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

TEST_F(AutomationObjectTest, PropertyWritesReadBackThroughTheWindow)
{
    ASSERT_TRUE(startVexlo());
    struct Row {
        const char* property;
        const char* written;
        const char* read;
    };
    const Row rows[] = {
        {"AllowUI", "<false>", "true"},
        {"PassLength", "<int16 -12>", "12"},
        {"Seed", "<int16 0>", "0"},
        {"Seed", "<int16 7>", "7"},
        {"Seed", "<int16 -5>", "-1"},
        {"NonPrintableChars", "<true>", "true"},
        {"NonPrintableChars", "<false>", "false"},
        {"SymbolChars", "<true>", "true"},
        {"MemoryName", "<'Mail client'>", "Mail client"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.property) + " = " + row.written);
        const BusReply written = client().set(QString::fromLatin1(row.property), QString::fromLatin1(row.written));
        ASSERT_TRUE(written.ok) << written;
        const BusReply read = client().get(QString::fromLatin1(row.property));
        ASSERT_TRUE(read.ok) << read;
        EXPECT_EQ(e2e::unboxed(read.value()).toString(), QString::fromLatin1(row.read)) << read;
    }
}

TEST_F(AutomationObjectTest, PassLengthWithoutPositiveFormFailsAndKeepsTheBox)
{
    ASSERT_TRUE(startVexlo());
    ASSERT_TRUE(client().set(QStringLiteral("PassLength"), QStringLiteral("<int16 12>")).ok);

    const BusReply refused = client().set(QStringLiteral("PassLength"), QStringLiteral("<int16 -32768>"));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.errorName, QStringLiteral("Vexlo.Error.E6")) << refused;
    EXPECT_EQ(refused.errorMessage, QStringLiteral("Overflow"));

    const BusReply read = client().get(QStringLiteral("PassLength"));
    EXPECT_EQ(e2e::unboxed(read.value()).toString(), QStringLiteral("12")) << read;
}

TEST_F(AutomationObjectTest, LettersTypedIntoTheLengthBoxFailTheRead)
{
    ASSERT_TRUE(startVexlo());
    // The length box has the focus in a window just shown.
    ASSERT_TRUE(desktop().pressKeys(mainWindow(), {QStringLiteral("ctrl+a")}));
    ASSERT_TRUE(desktop().typeText(mainWindow(), QStringLiteral("abc")));

    BusReply read = client().get(QStringLiteral("PassLength"));
    for (int poll = 0; poll < 20 && read.ok; ++poll) {
        QThread::msleep(kTypingLands / 20);
        read = client().get(QStringLiteral("PassLength"));
    }
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.errorName, QStringLiteral("Vexlo.Error.E13")) << read;
    EXPECT_EQ(read.errorMessage, QStringLiteral("Type mismatch"));

    ASSERT_TRUE(client().set(QStringLiteral("PassLength"), QStringLiteral("<int16 8>")).ok);
    EXPECT_EQ(e2e::unboxed(client().get(QStringLiteral("PassLength")).value()).toString(), QStringLiteral("8"));
}

TEST_F(AutomationObjectTest, SeedBoxWithoutANumberWarnsAndReadsZero)
{
    ASSERT_TRUE(startVexlo());
    // Choosing "Let me specify" moves the focus into the seed box.
    ASSERT_TRUE(client().set(QStringLiteral("Seed"), QStringLiteral("<int16 0>")).ok);
    ASSERT_TRUE(desktop().pressKeys(mainWindow(), {QStringLiteral("ctrl+a")}));
    ASSERT_TRUE(desktop().typeText(mainWindow(), QStringLiteral("x")));
    QThread::msleep(kTypingLands); // the seed cannot be read before: reading it warns

    const QList<quint64> before = vexloWindows();
    auto read = client().start(kGet, {QStringLiteral("Vexlo._Application"), QStringLiteral("Seed")});
    const quint64 warning = desktop().waitForNewWindow(QString::fromLatin1(kTitle), before, 10000);
    ASSERT_NE(warning, 0u) << "no warning showed";
    EXPECT_FALSE(read->isFinished()) << "the read returned before the warning was answered";
    ASSERT_TRUE(desktop().closeWithKey(QString::fromLatin1(kTitle), warning, QStringLiteral("Return")));

    const BusReply reply = read->reply();
    ASSERT_TRUE(reply.ok) << reply;
    EXPECT_EQ(e2e::unboxed(reply.value()).toString(), QStringLiteral("0"));
}

TEST_F(AutomationObjectTest, GeneratedPasswordIsSavedWithBothTexts)
{
    ASSERT_TRUE(startVexlo());
    ASSERT_TRUE(client().set(QStringLiteral("PassLength"), QStringLiteral("<int16 16>")).ok);
    const BusReply generated = client().call(QStringLiteral("Vexlo._Application.Generate"));
    ASSERT_TRUE(generated.ok) << generated;
    const QString password = generated.value().toString();
    ASSERT_EQ(password.size(), 16) << generated;
    for (const QChar c : password)
        EXPECT_TRUE(c.unicode() >= 32 && c.unicode() <= 126) << int(c.unicode());

    // The file holds its text in Windows-1252; a character the page lacks becomes "?".
    const QString path = filePath(QStringLiteral("password.txt"));
    const QString description = QStringLiteral("Mail \u2013 Z\u00fcrich \u03a9");
    const QList<quint64> before = vexloWindows();
    auto save = client().start(kSave, {quoted(path), quoted(description)});
    ASSERT_TRUE(answerNewWindow(before, QStringLiteral("Return"))) << "the success message";
    const BusReply saved = save->reply();
    ASSERT_TRUE(saved.ok) << saved;
    EXPECT_EQ(saved.values, (QVariantList{true, path, description}));

    EXPECT_EQ(fileBytes(path), QByteArray("Mail \x96 Z\xfcrich ?\r\n") + password.toLatin1() + "\r\n");
    EXPECT_EQ(std::filesystem::status(path.toStdString()).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

// The password a fixed seed draws from codes 0 to 127 (non-printable
// characters allowed, symbols not), for the first seed whose password of
// `length` characters holds the character 0.
std::pair<std::int16_t, QByteArray> seedDrawingCharacterZero(int length)
{
    for (std::int16_t seed = 1;; ++seed) {
        services::SeedRandom(seed);
        QByteArray password;
        for (int i = 0; i < length; ++i)
            password += static_cast<char>(services::RandomInt(0, 127));
        if (password.contains('\0'))
            return {seed, password};
    }
}

// A D-Bus string cannot hold the character 0: such a password must not
// reach the client cut short as if it were whole.
TEST_F(AutomationObjectTest, PasswordHoldingCharacterZeroFailsTheCallInsteadOfArrivingCutShort)
{
    const auto [seed, password] = seedDrawingCharacterZero(64);
    ASSERT_TRUE(startVexlo());
    ASSERT_TRUE(client().set(QStringLiteral("NonPrintableChars"), QStringLiteral("<true>")).ok);
    ASSERT_TRUE(client().set(QStringLiteral("Seed"), QStringLiteral("<int16 %1>").arg(seed)).ok);
    ASSERT_TRUE(client().set(QStringLiteral("PassLength"), QStringLiteral("<int16 64>")).ok);

    const BusReply generated = client().call(QStringLiteral("Vexlo._Application.Generate"));
    EXPECT_FALSE(generated.ok) << generated;
    EXPECT_EQ(generated.errorName, QStringLiteral("Vexlo.Error.E5")) << generated;

    // Copy still puts the whole password on the clipboard before its result fails.
    const BusReply copied = client().call(QStringLiteral("Vexlo._Application.Copy"));
    EXPECT_EQ(copied.errorName, QStringLiteral("Vexlo.Error.E5")) << copied;
    EXPECT_EQ(desktop().clipboard(), std::optional<QByteArray>(password));
    EXPECT_EQ(e2e::unboxed(client().get(QStringLiteral("PassLength")).value()).toString(), QStringLiteral("64"));
}

TEST_F(AutomationObjectTest, InvokeByDispatchIdAgreesWithTheNamedMembers)
{
    ASSERT_TRUE(startVexlo());
    const BusReply id = client().call(QStringLiteral("Vexlo.Dispatch.GetIDsOfNames"), {QStringLiteral("'PassLength'")});
    EXPECT_EQ(id.value().toLongLong(), 0x68030004) << id;

    ASSERT_TRUE(client().set(QStringLiteral("PassLength"), QStringLiteral("<int16 9>")).ok);
    const BusReply read = client().call(kInvoke, {QStringLiteral("0x68030004"), QStringLiteral("'get'"), QStringLiteral("[]")});
    ASSERT_TRUE(read.ok) << read;
    EXPECT_EQ(e2e::unboxed(read.value(0)).toString(), QStringLiteral("9")) << read;

    const BusReply put =
        client().call(kInvoke, {QStringLiteral("0x68030004"), QStringLiteral("'put'"), QStringLiteral("[<int16 11>]")});
    ASSERT_TRUE(put.ok) << put;
    EXPECT_EQ(e2e::unboxed(client().get(QStringLiteral("PassLength")).value()).toString(), QStringLiteral("11"));

    const BusReply generated =
        client().call(kInvoke, {QStringLiteral("0x60030008"), QStringLiteral("'method'"), QStringLiteral("[]")});
    ASSERT_TRUE(generated.ok) << generated;
    const QString password = e2e::unboxed(generated.value(0)).toString();
    EXPECT_EQ(password.size(), 11) << generated;

    // Save with a file name and no description prompts for the description;
    // the typed text comes back in the by-reference arguments.
    const QString path = filePath(QStringLiteral("invoked.txt"));
    const QList<quint64> before = vexloWindows();
    auto save = client().start(
        kInvoke, {QStringLiteral("0x6003000A"), QStringLiteral("'method'"), QStringLiteral("[<%1>, <''>]").arg(quoted(path))});
    ASSERT_TRUE(typeIntoNewWindow(before, QStringLiteral("typed description"))) << "the description prompt";
    ASSERT_TRUE(answerNewWindow(before, QStringLiteral("Return"))) << "the success message";
    const BusReply saved = save->reply();
    ASSERT_TRUE(saved.ok) << saved;
    EXPECT_EQ(e2e::unboxed(saved.value(0)), QVariant(true)) << saved;
    const QVariantList arguments = saved.value(1).toList();
    ASSERT_EQ(arguments.size(), 2) << saved;
    EXPECT_EQ(e2e::unboxed(arguments.at(0)), QVariant(path)) << saved;
    EXPECT_EQ(e2e::unboxed(arguments.at(1)), QVariant(QStringLiteral("typed description"))) << saved;
    EXPECT_EQ(fileBytes(path), "typed description\r\n" + password.toLatin1() + "\r\n");
}

} // namespace
