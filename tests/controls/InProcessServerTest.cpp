// The library as an in-process server: registration in a registry hive and
// creation by class id through the loaded library file.
#include "support/ScratchHiveTest.h"
#include "tarvo/InProcessServer.h"
#include "tarvo/TypeLibrary.h"
#include "tarvo/XGlowLabel.h"
#include "tarvo/XShpLabel.h"

#include "automation/AutomationError.h"
#include "automation/ClassRegistry.h"
#include "system/RegistryHive.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

using namespace tarvo;
using automation::ClassRegistry;
using sysapi::HKEY_CLASSES_ROOT;
using sysapi::RegistryHive;

namespace {

const QString kClassKey = QStringLiteral("CLSID\\{58AE1F7C-29A3-11D4-B0AB-006208C10000}");

// A registry hive of the test's own, current while the test runs.
class InProcessServerTest : public ScratchHiveTest {
protected:

    QString value(const QString& key) const { return hive->stringValue(HKEY_CLASSES_ROOT, key, {}); }

};

} // namespace

TEST_F(InProcessServerTest, LoadingTheLibraryRegistersItsClassInTheProcess)
{
    ASSERT_TRUE(ClassRegistry::instance().isRegistered(kXShpLabelClassId));
    EXPECT_EQ(ClassRegistry::instance().classIdOf(QStringLiteral("tarvo.xshplabel")), kXShpLabelClassId);
    const automation::ObjectRef object = ClassRegistry::instance().createObject(QStringLiteral("Tarvo.XShpLabel"));
    EXPECT_EQ(object->typeName(), QStringLiteral("XShpLabel"));
}

TEST_F(InProcessServerTest, RegisteredLibraryIsLoadedByClassId)
{
    ASSERT_EQ(DllRegisterServer(), 0);

    RegistryHive saved(hive->filePath());
    ASSERT_TRUE(saved.load());
    const QString library = saved.stringValue(HKEY_CLASSES_ROOT, kClassKey + QStringLiteral("\\InprocServer32"), {});
    EXPECT_EQ(QFileInfo(library).canonicalFilePath(), QFileInfo(QStringLiteral(TARVO_LIBRARY_FILE)).canonicalFilePath());
    EXPECT_EQ(value(kClassKey + QStringLiteral("\\ProgID")), QStringLiteral("Tarvo.XShpLabel"));
    EXPECT_EQ(value(QStringLiteral("Tarvo.XShpLabel\\CLSID")), QStringLiteral("{58AE1F7C-29A3-11D4-B0AB-006208C10000}"));
    EXPECT_EQ(value(kClassKey + QStringLiteral("\\TypeLib")), QStringLiteral("{58AE1F7A-29A3-11D4-B0AB-006208C10000}"));

    // Forgotten by the process, the class is found through the hive and the
    // library's exported factory.
    ClassRegistry::instance().unregisterClass(kXShpLabelClassId);
    const automation::ObjectRef object = ClassRegistry::instance().createObject(kXShpLabelClassId);
    ASSERT_TRUE(object);
    EXPECT_NE(dynamic_cast<XShpLabel*>(object.get()), nullptr);

    ASSERT_EQ(DllUnregisterServer(), 0);
    EXPECT_TRUE(value(kClassKey + QStringLiteral("\\InprocServer32")).isNull());
    EXPECT_TRUE(value(QStringLiteral("Tarvo.XShpLabel\\CLSID")).isNull());
    ClassRegistry::instance().unregisterClass(kXShpLabelClassId);
    try {
        ClassRegistry::instance().createObject(kXShpLabelClassId);
        FAIL() << "created an unregistered class";
    } catch (const automation::AutomationError& error) {
        EXPECT_EQ(error.number(), automation::ErrorNumber::CannotCreateObject);
    }
}

TEST_F(InProcessServerTest, EntryPointsAnswerForTheirOwnClassesOnly)
{
    automation::ObjectFactory* factory = nullptr;
    EXPECT_EQ(DllGetClassObject("{58AE1F7C-29A3-11D4-B0AB-006208C10000}", &factory), 0);
    EXPECT_NE(factory, nullptr);
    EXPECT_EQ(DllGetClassObject("{00000000-29A3-11D4-B0AB-006208C10000}", &factory), automation::kClassNotAvailable);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(DllGetClassObject("not a class id", &factory), automation::kClassNotAvailable);
    EXPECT_NE(DllGetClassObject("{58AE1F7C-29A3-11D4-B0AB-006208C10000}", nullptr), 0);
    EXPECT_EQ(DllCanUnloadNow(), 1);
}

TEST_F(InProcessServerTest, ControlDeletedByItsParentIsNotDeletedAgain)
{
    automation::ObjectFactory* factory = nullptr;
    ASSERT_EQ(DllGetClassObject("{58AE1F7C-29A3-11D4-B0AB-006208C10000}", &factory), 0);
    automation::ObjectRef object = (*factory)();
    auto parent = std::make_unique<QWidget>();
    dynamic_cast<QWidget*>(object.get())->setParent(parent.get());
    parent.reset();
    object.reset(); // the widget is gone already: nothing left to delete
    SUCCEED();
}

TEST_F(InProcessServerTest, GlowingLabelIsServedUnderItsOwnIdentity)
{
    const QString classId = QStringLiteral("{58AE1F7F-29A3-11D4-B0AB-006208C10000}");
    const QString classKey = QStringLiteral("CLSID\\") + classId;
    EXPECT_EQ(ClassRegistry::instance().classIdOf(QStringLiteral("Tarvo.XGlowLabel")), kXGlowLabelClassId);
    const automation::ObjectRef byProgId = ClassRegistry::instance().createObject(QStringLiteral("Tarvo.XGlowLabel"));
    EXPECT_EQ(byProgId->typeName(), QStringLiteral("XGlowLabel"));

    automation::ObjectFactory* factory = nullptr;
    ASSERT_EQ(DllGetClassObject(classId.toLatin1().constData(), &factory), 0);
    EXPECT_NE(dynamic_cast<XGlowLabel*>((*factory)().get()), nullptr);

    ASSERT_EQ(DllRegisterServer(), 0);
    EXPECT_EQ(value(classKey + QStringLiteral("\\ProgID")), QStringLiteral("Tarvo.XGlowLabel"));
    EXPECT_EQ(value(QStringLiteral("Tarvo.XGlowLabel\\CLSID")), classId);
    EXPECT_TRUE(value(classKey + QStringLiteral("\\ToolboxBitmap32")).endsWith(QStringLiteral(", 30000")));
    EXPECT_EQ(value(classKey + QStringLiteral("\\MiscStatus\\1")), QStringLiteral("131473"));
    EXPECT_TRUE(hive->keyPaths().contains(QStringLiteral("HKEY_CLASSES_ROOT\\") + classKey + QStringLiteral("\\Control")));
    // The shaped label keeps its own bitmap.
    EXPECT_TRUE(value(kClassKey + QStringLiteral("\\ToolboxBitmap32")).endsWith(QStringLiteral(", 30001")));

    ASSERT_EQ(DllUnregisterServer(), 0);
    EXPECT_TRUE(value(classKey + QStringLiteral("\\ProgID")).isNull());
    EXPECT_TRUE(value(QStringLiteral("Tarvo.XGlowLabel\\CLSID")).isNull());
}
