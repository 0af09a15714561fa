// Registration entries of an in-process server that is not a control
// library: an automation class, a type library with a two-digit version.
#include "automation/ServerRegistration.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <set>

using automation::InProcessServerDescription;
using automation::RegistryEntry;

namespace {

InProcessServerDescription aboutBoxLibrary()
{
    InProcessServerDescription server;
    server.libraryPath = QStringLiteral("/usr/lib/libabout.so.1");
    server.libraryId = QUuid(QStringLiteral("{6A1C48EE-061E-11D3-A44E-C9BA814BF506}"));
    server.libraryName = QStringLiteral("About");
    server.majorVersion = 0x2C;
    server.minorVersion = 0;
    server.classes = {{QUuid(QStringLiteral("{6A1C48F0-061E-11D3-A44E-C9BA814BF506}")), QStringLiteral("About.Box"),
                       QStringLiteral("About.Box")}};
    server.interfaces = {{QUuid(QStringLiteral("{6028D94F-4EA8-4FFB-80DF-836E902FB832}")), QStringLiteral("_Box"), false}};
    return server;
}

std::set<QString> asText(const std::vector<RegistryEntry>& entries)
{
    std::set<QString> text;
    for (const RegistryEntry& entry : entries)
        text.insert(entry.isKeyOnly() ? entry.keyPath
                                      : QStringLiteral("%1|%2=%3").arg(entry.keyPath,
                                                                       entry.valueName.isEmpty() ? QStringLiteral("@")
                                                                                                 : entry.valueName,
                                                                       entry.value));
    return text;
}

} // namespace

TEST(ServerRegistration, AClassThatIsNoControlAndAHexadecimalVersion)
{
    const std::set<QString> expected{
        QStringLiteral(R"(CLSID\{6A1C48F0-061E-11D3-A44E-C9BA814BF506}|@=About.Box)"),
        QStringLiteral(R"(CLSID\{6A1C48F0-061E-11D3-A44E-C9BA814BF506}\InprocServer32|@=/usr/lib/libabout.so.1)"),
        QStringLiteral(R"(CLSID\{6A1C48F0-061E-11D3-A44E-C9BA814BF506}\InprocServer32|ThreadingModel=Apartment)"),
        QStringLiteral(R"(CLSID\{6A1C48F0-061E-11D3-A44E-C9BA814BF506}\ProgID|@=About.Box)"),
        QStringLiteral(R"(CLSID\{6A1C48F0-061E-11D3-A44E-C9BA814BF506}\VersionIndependentProgID|@=About.Box)"),
        QStringLiteral(R"(CLSID\{6A1C48F0-061E-11D3-A44E-C9BA814BF506}\TypeLib|@={6A1C48EE-061E-11D3-A44E-C9BA814BF506})"),
        QStringLiteral(R"(CLSID\{6A1C48F0-061E-11D3-A44E-C9BA814BF506}\Version|@=2C.0)"),
        QStringLiteral(R"(CLSID\{6A1C48F0-061E-11D3-A44E-C9BA814BF506}\Programmable)"),
        QStringLiteral(R"(About.Box|@=About.Box)"),
        QStringLiteral(R"(About.Box\CLSID|@={6A1C48F0-061E-11D3-A44E-C9BA814BF506})"),
        QStringLiteral(R"(TypeLib\{6A1C48EE-061E-11D3-A44E-C9BA814BF506}\2C.0|@=About)"),
        QStringLiteral(R"(TypeLib\{6A1C48EE-061E-11D3-A44E-C9BA814BF506}\2C.0\0\linux|@=/usr/lib/libabout.so.1)"),
        QStringLiteral(R"(TypeLib\{6A1C48EE-061E-11D3-A44E-C9BA814BF506}\2C.0\FLAGS|@=0)"),
        QStringLiteral(R"(TypeLib\{6A1C48EE-061E-11D3-A44E-C9BA814BF506}\2C.0\HELPDIR|@=/usr/lib)"),
        QStringLiteral(R"(Interface\{6028D94F-4EA8-4FFB-80DF-836E902FB832}|@=_Box)"),
        QStringLiteral(R"(Interface\{6028D94F-4EA8-4FFB-80DF-836E902FB832}\ProxyStubClsid32|@={00020424-0000-0000-C000-000000000046})"),
        QStringLiteral(R"(Interface\{6028D94F-4EA8-4FFB-80DF-836E902FB832}\TypeLib|@={6A1C48EE-061E-11D3-A44E-C9BA814BF506})"),
        QStringLiteral(R"(Interface\{6028D94F-4EA8-4FFB-80DF-836E902FB832}\TypeLib|Version=2C.0)"),
    };
    EXPECT_EQ(asText(automation::registrationEntries(aboutBoxLibrary())), expected);
}

TEST(ServerRegistration, UnregisteringLeavesAHiveAsItWasBefore)
{
    sysapi::RegistryHive hive;
    hive.setStringValue(sysapi::HKEY_CLASSES_ROOT, QStringLiteral(R"(TypeLib\{6A1C48EE-061E-11D3-A44E-C9BA814BF506}\1.0)"), {},
                        QStringLiteral("an older version of someone else"));
    const QString before = hive.toText();

    automation::registerInProcessServer(hive, aboutBoxLibrary());
    const QString registered = hive.toText();
    automation::registerInProcessServer(hive, aboutBoxLibrary());
    EXPECT_EQ(hive.toText(), registered);

    automation::unregisterInProcessServer(hive, aboutBoxLibrary());
    EXPECT_EQ(hive.toText(), before);
    automation::unregisterInProcessServer(hive, aboutBoxLibrary());
    EXPECT_EQ(hive.toText(), before);
}
