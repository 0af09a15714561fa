// System Information: reading its registry values and starting it.
#include "support/ScratchHiveTest.h"
#include "SystemInformation.h"

#include "ScriptedDialogs.h"
#include "system/RegistryHive.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace quorrel;
using sysapi::HKEY_LOCAL_MACHINE;
using sysapi::RegistryHive;

namespace {

// A hive of the test's own, current while the test runs.
class SystemInformationTest : public ScratchHiveTest {
protected:

    void useHive(const QString& text) { ASSERT_TRUE(hive->parse(text)); }

    // Waits for a file that a started program writes.
    bool waitForFile(const QString& path)
    {
        for (int i = 0; i < 300 && !QFile::exists(path); ++i)
            QTest::qWait(10);
        return QFile::exists(path);
    }

    static void writeProgram(const QString& path, const QString& script)
    {
        QFile program(path);
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write(script.toUtf8());
        program.close();
        program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    ScriptedDialogs dialogs;
};

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00\n\n");

TEST_F(SystemInformationTest, GetKeyValueReadsTextAndNumbers)
{
    useHive(kHeader + QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n"
                                     "\"Text\"=\"/usr/bin/hardinfo -r\"\n"
                                     "\"Number\"=dword:00000a0b\n"
                                     "\"Blob\"=hex:41,42\n"));
    struct Case {
        const char* name;
        const char* key;
        const char* value;
        const char* before;
        bool found;
        const char* expected;
    };
    const Case cases[] = {
        {"text, without its terminating 0", "SOFTWARE\\Test", "Text", "", true, "/usr/bin/hardinfo -r"},
        {"a 32-bit number, most significant byte first", "SOFTWARE\\Test", "Number", "", true, "&h00000A0B"},
        {"a 32-bit number after earlier text", "SOFTWARE\\Test", "Number", "x", true, "&hx00000A0B"},
        {"another type leaves the text", "SOFTWARE\\Test", "Blob", "kept", true, "kept"},
        {"a missing value", "SOFTWARE\\Test", "Nothing", "old", false, ""},
        {"a missing key", "SOFTWARE\\Missing", "Text", "old", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString value = QString::fromLatin1(c.before);
        EXPECT_EQ(GetKeyValue(HKEY_LOCAL_MACHINE, QString::fromLatin1(c.key), QString::fromLatin1(c.value), value),
                  c.found);
        EXPECT_EQ(value, QString::fromLatin1(c.expected));
    }
}

TEST_F(SystemInformationTest, GetKeyValueFailsForAValueLongerThanItsBuffer)
{
    const QString longText(1100, QLatin1Char('a'));
    useHive(kHeader + QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n\"Text\"=\"%1\"\n").arg(longText));
    QString value = QStringLiteral("old");
    EXPECT_FALSE(GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("Text"), value));
    EXPECT_TRUE(value.isEmpty());
}

TEST_F(SystemInformationTest, WithoutItsKeysTheUserIsToldItIsUnavailable)
{
    const QString hidden = directory.filePath(QStringLiteral(".tools"));
    const QString hiddenProgram = hidden + QStringLiteral("\\MSINFO32.EXE");
    QFile file(hiddenProgram);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    struct Case {
        const char* name;
        QString hive;
    };
    const Case cases[] = {
        {"no keys", kHeader},
        {"a tools folder whose program is missing",
         kHeader + QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n"
                                  "\"MSINFO\"=\"%1\"\n")
                       .arg(directory.filePath(QStringLiteral("none")))},
        {"a hidden program",
         kHeader + QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n"
                                  "\"MSINFO\"=\"%1\"\n")
                       .arg(hidden)},
        {"a PATH that names no program",
         kHeader + QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                                  "\"PATH\"=\"%1\"\n")
                       .arg(directory.filePath(QStringLiteral("no-such-program")))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        useHive(c.hive);
        const std::size_t before = dialogs.messageBoxes().size();
        StartSysInfo(nullptr);
        ASSERT_EQ(dialogs.messageBoxes().size(), before + 1);
        const ui::MessageBoxRequest& box = dialogs.messageBoxes().back();
        EXPECT_EQ(box.text, QStringLiteral("System Information Is Unavailable At This Time"));
        EXPECT_EQ(box.title, QStringLiteral("Quorrel"));
        EXPECT_EQ(box.icon, ui::MessageIcon::None);
        EXPECT_EQ(box.buttons, ui::MessageButtons::OK);
    }
}

TEST_F(SystemInformationTest, ThePathValueRunsAsACommandLine)
{
    // A program and an argument: the command line is split into words.
    const QString marker = directory.filePath(QStringLiteral("started"));
    const QString program = directory.filePath(QStringLiteral("sysinfo-tool"));
    writeProgram(program, QStringLiteral("#!/bin/sh\necho ran > \"$1\"\n"));
    useHive(kHeader + QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                                     "\"PATH\"=\"%1 %2\"\n")
                          .arg(program, marker));
    StartSysInfo(nullptr);
    EXPECT_TRUE(waitForFile(marker));
    EXPECT_TRUE(dialogs.messageBoxes().empty());
}

TEST_F(SystemInformationTest, TheToolsFolderProgramRunsWhenThereIsNoPath)
{
    const QString marker = directory.filePath(QStringLiteral("started"));
    const QString folder = directory.filePath(QStringLiteral("tools"));
    writeProgram(folder + QStringLiteral("\\MSINFO32.EXE"), QStringLiteral("#!/bin/sh\necho ran > '%1'\n").arg(marker));
    useHive(kHeader + QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n"
                                     "\"MSINFO\"=\"%1\"\n")
                          .arg(folder));
    StartSysInfo(nullptr);
    EXPECT_TRUE(waitForFile(marker));
    EXPECT_TRUE(dialogs.messageBoxes().empty());
}

} // namespace
