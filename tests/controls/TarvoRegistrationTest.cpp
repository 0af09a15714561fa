// Registration of Tarvo in a registry hive, against a table of the keys and
// values a client reads, and the toolbox bitmaps the registration points at.
#include "support/ScratchHiveTest.h"
#include "tarvo/InProcessServer.h"

#include "support/QtPrinters.h"
#include "system/LibraryResources.h"
#include "system/RegistryHive.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using sysapi::HKEY_CLASSES_ROOT;
using sysapi::RegistryHive;

namespace {

// "key" for a key that holds no value, "key|name=value" for a value ("@" is
// the default value). <lib> stands for the library's path, <dir> for its folder.
const std::set<QString> kRegisteredTarvo{
    // XShpLabel
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}|@=Tarvo.XShpLabel)"),
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\InprocServer32|@=<lib>)"),
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\InprocServer32|ThreadingModel=Apartment)"),
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\ProgID|@=Tarvo.XShpLabel)"),
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\VersionIndependentProgID|@=Tarvo.XShpLabel)"),
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\TypeLib|@={58AE1F7A-29A3-11D4-B0AB-006208C10000})"),
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\Version|@=1.0)"),
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\Programmable)"),
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\Control)"),
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\MiscStatus|@=0)"),
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\MiscStatus\1|@=131473)"),
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\ToolboxBitmap32|@=<lib>, 30001)"),
    QStringLiteral(R"(Tarvo.XShpLabel|@=Tarvo.XShpLabel)"),
    QStringLiteral(R"(Tarvo.XShpLabel\CLSID|@={58AE1F7C-29A3-11D4-B0AB-006208C10000})"),
    // XGlowLabel
    QStringLiteral(R"(CLSID\{58AE1F7F-29A3-11D4-B0AB-006208C10000}|@=Tarvo.XGlowLabel)"),
    QStringLiteral(R"(CLSID\{58AE1F7F-29A3-11D4-B0AB-006208C10000}\InprocServer32|@=<lib>)"),
    QStringLiteral(R"(CLSID\{58AE1F7F-29A3-11D4-B0AB-006208C10000}\InprocServer32|ThreadingModel=Apartment)"),
    QStringLiteral(R"(CLSID\{58AE1F7F-29A3-11D4-B0AB-006208C10000}\ProgID|@=Tarvo.XGlowLabel)"),
    QStringLiteral(R"(CLSID\{58AE1F7F-29A3-11D4-B0AB-006208C10000}\VersionIndependentProgID|@=Tarvo.XGlowLabel)"),
    QStringLiteral(R"(CLSID\{58AE1F7F-29A3-11D4-B0AB-006208C10000}\TypeLib|@={58AE1F7A-29A3-11D4-B0AB-006208C10000})"),
    QStringLiteral(R"(CLSID\{58AE1F7F-29A3-11D4-B0AB-006208C10000}\Version|@=1.0)"),
    QStringLiteral(R"(CLSID\{58AE1F7F-29A3-11D4-B0AB-006208C10000}\Programmable)"),
    QStringLiteral(R"(CLSID\{58AE1F7F-29A3-11D4-B0AB-006208C10000}\Control)"),
    QStringLiteral(R"(CLSID\{58AE1F7F-29A3-11D4-B0AB-006208C10000}\MiscStatus|@=0)"),
    QStringLiteral(R"(CLSID\{58AE1F7F-29A3-11D4-B0AB-006208C10000}\MiscStatus\1|@=131473)"),
    QStringLiteral(R"(CLSID\{58AE1F7F-29A3-11D4-B0AB-006208C10000}\ToolboxBitmap32|@=<lib>, 30000)"),
    QStringLiteral(R"(Tarvo.XGlowLabel|@=Tarvo.XGlowLabel)"),
    QStringLiteral(R"(Tarvo.XGlowLabel\CLSID|@={58AE1F7F-29A3-11D4-B0AB-006208C10000})"),
    // The type library
    QStringLiteral(R"(TypeLib\{58AE1F7A-29A3-11D4-B0AB-006208C10000}\1.0|@=Tarvo)"),
    QStringLiteral(R"(TypeLib\{58AE1F7A-29A3-11D4-B0AB-006208C10000}\1.0\0\linux|@=<lib>)"),
    QStringLiteral(R"(TypeLib\{58AE1F7A-29A3-11D4-B0AB-006208C10000}\1.0\FLAGS|@=0)"),
    QStringLiteral(R"(TypeLib\{58AE1F7A-29A3-11D4-B0AB-006208C10000}\1.0\HELPDIR|@=<dir>)"),
    // Default (dual) and event (dispatch-only) interfaces
    QStringLiteral(R"(Interface\{58AE1F7B-29A3-11D4-B0AB-006208C10000}|@=_XShpLabel)"),
    QStringLiteral(R"(Interface\{58AE1F7B-29A3-11D4-B0AB-006208C10000}\ProxyStubClsid32|@={00020424-0000-0000-C000-000000000046})"),
    QStringLiteral(R"(Interface\{58AE1F7B-29A3-11D4-B0AB-006208C10000}\TypeLib|@={58AE1F7A-29A3-11D4-B0AB-006208C10000})"),
    QStringLiteral(R"(Interface\{58AE1F7B-29A3-11D4-B0AB-006208C10000}\TypeLib|Version=1.0)"),
    QStringLiteral(R"(Interface\{58AE1F7D-29A3-11D4-B0AB-006208C10000}|@=__XShpLabel)"),
    QStringLiteral(R"(Interface\{58AE1F7D-29A3-11D4-B0AB-006208C10000}\ProxyStubClsid32|@={00020420-0000-0000-C000-000000000046})"),
    QStringLiteral(R"(Interface\{58AE1F7D-29A3-11D4-B0AB-006208C10000}\TypeLib|@={58AE1F7A-29A3-11D4-B0AB-006208C10000})"),
    QStringLiteral(R"(Interface\{58AE1F7D-29A3-11D4-B0AB-006208C10000}\TypeLib|Version=1.0)"),
    QStringLiteral(R"(Interface\{58AE1F7E-29A3-11D4-B0AB-006208C10000}|@=_XGlowLabel)"),
    QStringLiteral(R"(Interface\{58AE1F7E-29A3-11D4-B0AB-006208C10000}\ProxyStubClsid32|@={00020424-0000-0000-C000-000000000046})"),
    QStringLiteral(R"(Interface\{58AE1F7E-29A3-11D4-B0AB-006208C10000}\TypeLib|@={58AE1F7A-29A3-11D4-B0AB-006208C10000})"),
    QStringLiteral(R"(Interface\{58AE1F7E-29A3-11D4-B0AB-006208C10000}\TypeLib|Version=1.0)"),
    QStringLiteral(R"(Interface\{58AE1F80-29A3-11D4-B0AB-006208C10000}|@=__XGlowLabel)"),
    QStringLiteral(R"(Interface\{58AE1F80-29A3-11D4-B0AB-006208C10000}\ProxyStubClsid32|@={00020420-0000-0000-C000-000000000046})"),
    QStringLiteral(R"(Interface\{58AE1F80-29A3-11D4-B0AB-006208C10000}\TypeLib|@={58AE1F7A-29A3-11D4-B0AB-006208C10000})"),
    QStringLiteral(R"(Interface\{58AE1F80-29A3-11D4-B0AB-006208C10000}\TypeLib|Version=1.0)"),
};

// Entries of other software, which registering and unregistering leave alone:
// a foreign value under one of Tarvo's keys, and a class of its own.
const QString kForeignValueKey = QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\Implemented Categories)");
const std::set<QString> kForeign{
    QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\Implemented Categories|@=kept)"),
    QStringLiteral(R"(CLSID\{11111111-2222-3333-4444-555555555555}\InprocServer32|@=/usr/lib/other.so)"),
};

class TarvoRegistrationTest : public ScratchHiveTest {
protected:

    // The saved hive, in the form of the tables above.
    std::set<QString> savedEntries() const
    {
        const QString library = registeredLibrary();
        const QString folder = QFileInfo(library).absolutePath();
        RegistryHive saved(hive->filePath());
        std::set<QString> entries;
        const QString root = QStringLiteral("HKEY_CLASSES_ROOT\\");
        for (const QString& path : saved.keyPaths()) {
            EXPECT_TRUE(path.startsWith(root)) << path.toStdString();
            const QString key = path.mid(root.size());
            const QStringList names = saved.valueNames(HKEY_CLASSES_ROOT, key);
            if (names.isEmpty())
                entries.insert(key);
            for (const QString& name : names) {
                QString value = saved.stringValue(HKEY_CLASSES_ROOT, key, name);
                value.replace(library, QStringLiteral("<lib>"));
                if (value == folder)
                    value = QStringLiteral("<dir>");
                entries.insert(QStringLiteral("%1|%2=%3").arg(key, name.isEmpty() ? QStringLiteral("@") : name, value));
            }
        }
        return entries;
    }

    // The file the library was loaded from, as registration names it.
    static QString registeredLibrary()
    {
        return sysapi::libraryFileOf(reinterpret_cast<const void*>(&DllRegisterServer));
    }

    static std::set<QString> joined(std::set<QString> a, const std::set<QString>& b)
    {
        a.insert(b.begin(), b.end());
        return a;
    }

};

} // namespace

TEST_F(TarvoRegistrationTest, RegisterUnregisterRegisterLeavesExactlyTheTable)
{
    ASSERT_EQ(QFileInfo(registeredLibrary()).canonicalFilePath(),
              QFileInfo(QStringLiteral(TARVO_LIBRARY_FILE)).canonicalFilePath());
    ASSERT_EQ(DllRegisterServer(), 0);
    EXPECT_EQ(savedEntries(), kRegisteredTarvo);
    ASSERT_EQ(DllRegisterServer(), 0) << "registering twice";
    EXPECT_EQ(savedEntries(), kRegisteredTarvo);

    ASSERT_EQ(DllUnregisterServer(), 0);
    EXPECT_EQ(savedEntries(), std::set<QString>{});
    ASSERT_EQ(DllUnregisterServer(), 0) << "unregistering twice";
    EXPECT_EQ(savedEntries(), std::set<QString>{});

    ASSERT_EQ(DllRegisterServer(), 0);
    EXPECT_EQ(savedEntries(), kRegisteredTarvo);
}

TEST_F(TarvoRegistrationTest, EntriesOfOtherSoftwareStay)
{
    hive->setStringValue(HKEY_CLASSES_ROOT, kForeignValueKey, {}, QStringLiteral("kept"));
    hive->setStringValue(HKEY_CLASSES_ROOT, QStringLiteral(R"(CLSID\{11111111-2222-3333-4444-555555555555}\InprocServer32)"),
                         {}, QStringLiteral("/usr/lib/other.so"));

    ASSERT_EQ(DllRegisterServer(), 0);
    EXPECT_EQ(savedEntries(), joined(kRegisteredTarvo, kForeign));

    // The class key of XShpLabel stays, with the foreign subkey, and loses
    // only what registering wrote.
    ASSERT_EQ(DllUnregisterServer(), 0);
    EXPECT_EQ(savedEntries(),
              joined(kForeign, {QStringLiteral(R"(CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000})")}));
}

TEST(TarvoToolboxBitmaps, EachResourceIsASixteenByFifteenPicture)
{
    const QString library = QStringLiteral(TARVO_LIBRARY_FILE);
    for (int resource : {30000, 30001}) {
        const QImage bitmap = sysapi::loadLibraryBitmap(library, resource);
        ASSERT_FALSE(bitmap.isNull()) << resource;
        EXPECT_EQ(bitmap.size(), QSize(16, 15)) << resource;
    }
    // Two pictures, not one under two numbers.
    EXPECT_NE(sysapi::loadLibraryBitmap(library, 30000), sysapi::loadLibraryBitmap(library, 30001));
    EXPECT_EQ(sysapi::loadToolboxBitmap(library + QStringLiteral(", 30001")), sysapi::loadLibraryBitmap(library, 30001));
}

TEST(TarvoToolboxBitmaps, MissingResourcesAndLibrariesGiveNoPicture)
{
    const QString library = QStringLiteral(TARVO_LIBRARY_FILE);
    EXPECT_TRUE(sysapi::loadLibraryBitmap(library, 30002).isNull());
    EXPECT_TRUE(sysapi::loadLibraryBitmap(QStringLiteral("/nonexistent/libtarvo.so.1"), 30000).isNull());
    EXPECT_TRUE(sysapi::loadToolboxBitmap(library).isNull());
    EXPECT_TRUE(sysapi::loadToolboxBitmap(library + QStringLiteral(", thirty")).isNull());
}
