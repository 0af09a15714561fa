#include "system/RegistryHive.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

using namespace sysapi;

namespace {

const char* const kHiveText = R"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]
"PATH"="/usr/bin/hardinfo"
"Quoted"="say \"hi\" C:\\dir"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools Location]
"MSINFO"="/opt/msinfo"
"Count"=dword:0000000a
@="default text"

[HKEY_CLASSES_ROOT\CLSID\{58AE1F7C-29A3-11D4-B0AB-006208C10000}\InprocServer32]
@="/usr/lib/libtarvo.so"
"Blob"=hex:01,02,\
  ff
)";

// A hive of the test's own, made current for the platform calls.
class RegistryHiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(hive.parse(QString::fromUtf8(kHiveText)));
        RegistryHive::setCurrent(&hive);
    }
    void TearDown() override { RegistryHive::setCurrent(nullptr); }

    HKEY open(const char* path)
    {
        HKEY key = 0;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, 0x2003F, &key), ERROR_SUCCESS) << path;
        return key;
    }

    RegistryHive hive;
};

TEST_F(RegistryHiveTest, TextValueReportsItsTerminatingZero)
{
    const HKEY key = open("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    std::array<std::uint8_t, 1024> buffer{};
    DWORD size = buffer.size();
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "path", nullptr, &type, buffer.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 18u); // 17 characters and the zero
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer.data())), QByteArray("/usr/bin/hardinfo"));

    size = buffer.size();
    ASSERT_EQ(RegQueryValueExA(key, "Quoted", nullptr, &type, buffer.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer.data())), QByteArray("say \"hi\" C:\\dir"));
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryHiveTest, NumberAndDefaultValues)
{
    const HKEY key = open("software\\microsoft\\shared tools location");
    std::uint8_t data[4] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "Count", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(data[0], 10);

    std::array<std::uint8_t, 64> text{};
    size = text.size();
    ASSERT_EQ(RegQueryValueExA(key, nullptr, nullptr, &type, text.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(text.data())), QByteArray("default text"));
    RegCloseKey(key);
}

TEST_F(RegistryHiveTest, MissingKeysValuesAndSmallBuffers)
{
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nowhere", 0, 0x2003F, &key), ERROR_FILE_NOT_FOUND);
    // An intermediate key exists because keys below it do.
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft", 0, 0x2003F, &key), ERROR_SUCCESS);
    RegCloseKey(key);

    key = open("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    DWORD size = 4;
    std::uint8_t small[4];
    EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, small, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExA(key, "PATH", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 18u);
    size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "PATH", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 18u);
    RegCloseKey(key);
    EXPECT_EQ(RegQueryValueExA(key, "PATH", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryHiveTest, ContinuedHexListsAndClassesRoot)
{
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID\\{58ae1f7c-29a3-11d4-b0ab-006208c10000}\\InprocServer32", 0,
                            KEY_READ, &key),
              ERROR_SUCCESS);
    std::uint8_t data[8] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "Blob", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(data[2], 0xFF);
    RegCloseKey(key);
}

TEST(RegistryHiveFile, WritesReloadAndRejectsBrokenText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hive.reg"));
    {
        RegistryHive hive(path);
        hive.setStringValue(HKEY_CLASSES_ROOT, QStringLiteral("Tarvo.XShpLabel\\CLSID"), {},
                            QStringLiteral("{58AE1F7C-29A3-11D4-B0AB-006208C10000}"));
        hive.setDwordValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Vexlo"), QStringLiteral("N"), 0x8000000F);
        ASSERT_TRUE(hive.save());
    }
    RegistryHive reloaded(path);
    EXPECT_EQ(reloaded.stringValue(HKEY_CLASSES_ROOT, QStringLiteral("tarvo.xshplabel\\clsid"), {}),
              QStringLiteral("{58AE1F7C-29A3-11D4-B0AB-006208C10000}"));
    EXPECT_TRUE(reloaded.deleteKeyTree(HKEY_CLASSES_ROOT, QStringLiteral("Tarvo.XShpLabel")));
    EXPECT_TRUE(reloaded.stringValue(HKEY_CLASSES_ROOT, QStringLiteral("Tarvo.XShpLabel\\CLSID"), {}).isNull());

    RegistryHive broken;
    EXPECT_FALSE(broken.parse(QStringLiteral("[HKEY_NOWHERE\\x]\n")));
    EXPECT_FALSE(broken.parse(QStringLiteral("\"orphan\"=\"value\"\n")));
    EXPECT_FALSE(broken.parse(QStringLiteral("[HKLM\\x]\n\"n\"=dword:123456789\n")));
}

} // namespace
