// Quorrel as an in-process server seen from a program that does not link
// it: registered into a hive by its own entry points (through the register
// tool), then found through the hive, loaded and used by late binding.
#include "AboutDialogWatcher.h"
#include "AboutTestSupport.h"

#include "automation/AutomationError.h"
#include "automation/ClassRegistry.h"
#include "automation/StdPicture.h"
#include "system/RegistryHive.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStyle>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using automation::ClassRegistry;
using automation::MemberKind;
using automation::Variant;
using sysapi::HKEY_CLASSES_ROOT;
using sysapi::RegistryHive;

namespace {

const QString kGMiscKey = QStringLiteral("CLSID\\{4CA34524-0B85-11D3-A44E-D09486F92F04}");
const QString kAboutKey = QStringLiteral("CLSID\\{6A1C48F0-061E-11D3-A44E-C9BA814BF506}");
const QUuid kGMiscClassId(QStringLiteral("{4CA34524-0B85-11D3-A44E-D09486F92F04}"));

class QuorrelRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory.isValid());
        hivePath = directory.filePath(QStringLiteral("registry.reg"));
    }
    void TearDown() override { RegistryHive::setCurrent(nullptr); }

    // Runs the register tool on the library, into the test's hive.
    int runRegisterTool(const QStringList& options)
    {
        QProcess tool;
        tool.start(QStringLiteral(VEXLO_REGSVR),
                   options + QStringList{QStringLiteral("/s"), QStringLiteral("/hive:") + hivePath,
                                         QStringLiteral(QUORREL_LIBRARY_FILE)});
        if (!tool.waitForFinished(30000))
            return -1;
        return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    }

    QTemporaryDir directory;
    QString hivePath;
};

TEST_F(QuorrelRegistrationTest, RegistrationWritesAndRemovesBothClasses)
{
    ASSERT_EQ(runRegisterTool({}), 0);
    RegistryHive hive(hivePath);
    struct Row {
        QString key;
        QString valueName;
        QString expected;
    };
    const QString library = QFileInfo(QStringLiteral(QUORREL_LIBRARY_FILE)).absoluteFilePath();
    const Row rows[] = {
        {kGMiscKey + QStringLiteral("\\ProgID"), {}, QStringLiteral("Quorrel.GMisc")},
        {kGMiscKey + QStringLiteral("\\InprocServer32"), QStringLiteral("ThreadingModel"), QStringLiteral("Apartment")},
        {kGMiscKey + QStringLiteral("\\TypeLib"), {}, QStringLiteral("{6A1C48EE-061E-11D3-A44E-C9BA814BF506}")},
        {kGMiscKey + QStringLiteral("\\Version"), {}, QStringLiteral("2C.0")},
        {kAboutKey + QStringLiteral("\\ProgID"), {}, QStringLiteral("Quorrel.COrlaAboutDlg")},
        {kAboutKey + QStringLiteral("\\InprocServer32"), {}, library},
        {QStringLiteral("Quorrel.GMisc\\CLSID"), {}, QStringLiteral("{4CA34524-0B85-11D3-A44E-D09486F92F04}")},
        {QStringLiteral("Quorrel.COrlaAboutDlg\\CLSID"), {}, QStringLiteral("{6A1C48F0-061E-11D3-A44E-C9BA814BF506}")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key.toStdString());
        EXPECT_EQ(hive.stringValue(HKEY_CLASSES_ROOT, row.key, row.valueName), row.expected);
    }

    ASSERT_EQ(runRegisterTool({QStringLiteral("/u")}), 0);
    ASSERT_TRUE(hive.load());
    for (const Row& row : rows)
        EXPECT_TRUE(hive.stringValue(HKEY_CLASSES_ROOT, row.key, row.valueName).isNull()) << row.key.toStdString();
}

TEST_F(QuorrelRegistrationTest, AProgramThatDoesNotLinkTheLibraryCreatesItByProgIdAndShowsTheBox)
{
    RegistryHive empty(hivePath);
    RegistryHive::setCurrent(&empty);
    EXPECT_EQ(errorNumberOf([] { ClassRegistry::instance().createObject(QStringLiteral("Quorrel.GMisc")); }), 429);

    ASSERT_EQ(runRegisterTool({}), 0);
    RegistryHive hive(hivePath);
    RegistryHive::setCurrent(&hive);
    const automation::ObjectRef misc = ClassRegistry::instance().createObject(QStringLiteral("Quorrel.GMisc"));
    ASSERT_TRUE(misc);
    EXPECT_EQ(misc->typeName(), QStringLiteral("GMisc"));
    EXPECT_EQ(ClassRegistry::instance().createObject(kGMiscClassId), misc) << "one GMisc per thread";
    std::vector<Variant> version{std::int16_t{1}, std::int16_t{1}, std::int16_t{0}};
    EXPECT_EQ(misc->invoke(QStringLiteral("FmtVersion"), MemberKind::Method, version).toString(),
              QStringLiteral("1.01.0000"));

    const automation::ObjectRef box = ClassRegistry::instance().createObject(QStringLiteral("Quorrel.COrlaAboutDlg"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->typeName(), QStringLiteral("COrlaAboutDlg"));

    QString title;
    AboutDialogWatcher watcher([&](QDialog& dialog) { title = AboutDialogWatcher::caption(dialog, "lblProductName"); });
    std::vector<Variant> args{
        appObject(), automation::ObjectRef(),
        automation::StdPicture::fromIcon(QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton))};
    misc->invoke(QStringLiteral("DoAboutBox2"), MemberKind::Method, args);
    EXPECT_TRUE(watcher.wasShown());
    EXPECT_EQ(title, QStringLiteral("Vexlo 1.1\rVersion: 1.01.0000"));
}

} // namespace
