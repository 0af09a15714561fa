// vexlo-regsvr as the installation runs it: a real process, a hive file of
// the test's own.
#include "system/RegistryHive.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using sysapi::HKEY_CLASSES_ROOT;
using sysapi::HKEY_LOCAL_MACHINE;
using sysapi::RegistryHive;

namespace {

const QString kShapedLabelServer = QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\InprocServer32)");
const QString kSystemInformationKey = QStringLiteral(R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)");

struct ToolRun {
    int exitCode;
    QString output;
    QString errors;
};

ToolRun regsvr(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(VEXLO_REGSVR), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

class RegsvrTest : public ::testing::Test {
protected:
    QString hiveOption() const { return QStringLiteral("/hive:") + hivePath; }
    QString saved(sysapi::HKEY root, const QString& key, const QString& name = {}) const
    {
        return RegistryHive(hivePath).stringValue(root, key, name);
    }

    QTemporaryDir directory;
    QString hivePath = directory.filePath(QStringLiteral("registry.reg"));
};

} // namespace

TEST_F(RegsvrTest, RegistersAndUnregistersALibrary)
{
    const ToolRun registered = regsvr({hiveOption(), QStringLiteral(TARVO_LIBRARY_FILE)});
    ASSERT_EQ(registered.exitCode, 0) << registered.errors.toStdString();
    EXPECT_TRUE(registered.output.contains(QStringLiteral("DllRegisterServer")));
    EXPECT_EQ(saved(HKEY_CLASSES_ROOT, kShapedLabelServer), QStringLiteral(TARVO_LIBRARY_FILE));

    const ToolRun unregistered = regsvr({QStringLiteral("/u"), QStringLiteral("/s"), hiveOption(), QStringLiteral(TARVO_LIBRARY_FILE)});
    ASSERT_EQ(unregistered.exitCode, 0) << unregistered.errors.toStdString();
    EXPECT_TRUE(unregistered.output.isEmpty()) << "silent";
    EXPECT_TRUE(saved(HKEY_CLASSES_ROOT, kShapedLabelServer).isNull());
    EXPECT_TRUE(RegistryHive(hivePath).keyPaths().isEmpty());
}

TEST_F(RegsvrTest, FailuresAreNumberedErrorsWithTheirOwnExitStatus)
{
    struct Case {
        const char* what;
        QStringList arguments;
        int exitCode;
        const char* error;
    };
    const QString platformLibrary = QStringLiteral(PLATFORM_LIBRARY_FILE);
    const std::vector<Case> cases{
        {"no library", {}, 1, "error 5:"},
        {"two libraries", {QStringLiteral(TARVO_LIBRARY_FILE), QStringLiteral(TARVO_LIBRARY_FILE)}, 1, "error 5:"},
        {"missing file", {QStringLiteral("/nonexistent/libnothing.so.1")}, 3, "error 53:"},
        {"not a library", {hivePath + QStringLiteral(".txt")}, 3, "error 48:"},
        {"no entry point", {platformLibrary}, 4, "error 453:"},
        {"hive cannot be written", {QStringLiteral("/hive:/proc/registry.reg"), QStringLiteral(TARVO_LIBRARY_FILE)}, 5,
         "error -2147220991:"},
    };
    QFile notALibrary(hivePath + QStringLiteral(".txt"));
    ASSERT_TRUE(notALibrary.open(QIODevice::WriteOnly));
    notALibrary.write("text");
    notALibrary.close();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList arguments = c.arguments;
        if (!arguments.join(u' ').contains(QStringLiteral("/hive:")))
            arguments.prepend(hiveOption());
        const ToolRun run = regsvr(arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.errors.startsWith(QStringLiteral("vexlo-regsvr: ") + QLatin1String(c.error)))
            << run.errors.toStdString();
    }
}

TEST_F(RegsvrTest, NamesTheSystemInformationProgramAndRemovesOnlyItsOwn)
{
    ASSERT_EQ(regsvr({hiveOption(), QStringLiteral("/sysinfo:/usr/bin/hardinfo")}).exitCode, 0);
    EXPECT_EQ(saved(HKEY_LOCAL_MACHINE, kSystemInformationKey, QStringLiteral("PATH")), QStringLiteral("/usr/bin/hardinfo"));

    // A removal naming another program leaves the value alone.
    ASSERT_EQ(regsvr({QStringLiteral("/u"), hiveOption(), QStringLiteral("/sysinfo:/usr/bin/other")}).exitCode, 0);
    EXPECT_EQ(saved(HKEY_LOCAL_MACHINE, kSystemInformationKey, QStringLiteral("PATH")), QStringLiteral("/usr/bin/hardinfo"));

    ASSERT_EQ(regsvr({QStringLiteral("/u"), hiveOption(), QStringLiteral("/sysinfo:/usr/bin/hardinfo")}).exitCode, 0);
    EXPECT_TRUE(RegistryHive(hivePath).keyPaths().isEmpty());
}
