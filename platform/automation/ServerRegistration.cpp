#include "automation/ServerRegistration.h"

#include "automation/ClassRegistry.h"

#include <QFileInfo>

#include <algorithm>
#include <set>

namespace automation {
namespace {

// The standard proxies: PSOAInterface for dual interfaces, PSDispatch for
// dispatch-only ones.
const QString kDualInterfaceProxy = QStringLiteral("{00020424-0000-0000-C000-000000000046}");
const QString kDispatchInterfaceProxy = QStringLiteral("{00020420-0000-0000-C000-000000000046}");

class EntryList {
public:
    void key(const QString& path) { m_entries.push_back({path, QString(), QString()}); }
    void value(const QString& path, const QString& name, const QString& data)
    {
        m_entries.push_back({path, name.isNull() ? QStringLiteral("") : name, data});
    }
    std::vector<RegistryEntry> take() { return std::move(m_entries); }

private:
    std::vector<RegistryEntry> m_entries;
};

void addClass(EntryList& entries, const InProcessServerDescription& server, const RegisteredClass& served)
{
    const QString key = QStringLiteral("CLSID\\") + classIdText(served.classId);
    entries.value(key, {}, served.description);
    entries.value(key + QStringLiteral("\\InprocServer32"), {}, server.libraryPath);
    entries.value(key + QStringLiteral("\\InprocServer32"), QStringLiteral("ThreadingModel"), QStringLiteral("Apartment"));
    entries.value(key + QStringLiteral("\\ProgID"), {}, served.progId);
    entries.value(key + QStringLiteral("\\VersionIndependentProgID"), {}, served.progId);
    entries.value(key + QStringLiteral("\\TypeLib"), {}, classIdText(server.libraryId));
    entries.value(key + QStringLiteral("\\Version"), {}, typeLibraryVersionText(server.majorVersion, server.minorVersion));
    entries.key(key + QStringLiteral("\\Programmable"));
    if (served.control) {
        entries.key(key + QStringLiteral("\\Control"));
        entries.value(key + QStringLiteral("\\MiscStatus"), {}, QStringLiteral("0"));
        entries.value(key + QStringLiteral("\\MiscStatus\\1"), {}, QString::number(served.miscStatus));
        if (served.toolboxBitmap > 0)
            entries.value(key + QStringLiteral("\\ToolboxBitmap32"), {},
                          QStringLiteral("%1, %2").arg(server.libraryPath).arg(served.toolboxBitmap));
    }
    entries.value(served.progId, {}, served.description);
    entries.value(served.progId + QStringLiteral("\\CLSID"), {}, classIdText(served.classId));
}

void addTypeLibrary(EntryList& entries, const InProcessServerDescription& server)
{
    const QString key = QStringLiteral("TypeLib\\%1\\%2")
                            .arg(classIdText(server.libraryId),
                                 typeLibraryVersionText(server.majorVersion, server.minorVersion));
    entries.value(key, {}, server.libraryName);
    entries.value(key + QStringLiteral("\\0\\linux"), {}, server.libraryPath);
    entries.value(key + QStringLiteral("\\FLAGS"), {}, QStringLiteral("0"));
    entries.value(key + QStringLiteral("\\HELPDIR"), {}, QFileInfo(server.libraryPath).absolutePath());
}

void addInterface(EntryList& entries, const InProcessServerDescription& server, const RegisteredInterface& served)
{
    const QString key = QStringLiteral("Interface\\") + classIdText(served.interfaceId);
    entries.value(key, {}, served.name);
    entries.value(key + QStringLiteral("\\ProxyStubClsid32"), {},
                  served.dispatchOnly ? kDispatchInterfaceProxy : kDualInterfaceProxy);
    entries.value(key + QStringLiteral("\\TypeLib"), {}, classIdText(server.libraryId));
    entries.value(key + QStringLiteral("\\TypeLib"), QStringLiteral("Version"),
                  typeLibraryVersionText(server.majorVersion, server.minorVersion));
}

// The keys that registering writes, deepest first, so that a key is emptied
// of its subkeys before it is looked at.
std::vector<QString> keysWrittenBy(const std::vector<RegistryEntry>& entries)
{
    std::set<QString> lowerSeen;
    std::vector<QString> keys;
    for (const RegistryEntry& entry : entries) {
        if (lowerSeen.insert(entry.keyPath.toLower()).second)
            keys.push_back(entry.keyPath);
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const QString& a, const QString& b) { return a.count(u'\\') > b.count(u'\\'); });
    return keys;
}

} // namespace

namespace {
constexpr std::int32_t kRegistered = 0;
constexpr std::int32_t kRegistrationFailed = static_cast<std::int32_t>(0x80040201u); // SELFREG_E_CLASS
} // namespace

std::int32_t registerInCurrentHive(const InProcessServerDescription& server)
{
    if (server.libraryPath.isEmpty())
        return kRegistrationFailed;
    sysapi::RegistryHive& hive = sysapi::RegistryHive::current();
    registerInProcessServer(hive, server);
    return hive.save() ? kRegistered : kRegistrationFailed;
}

std::int32_t unregisterFromCurrentHive(const InProcessServerDescription& server)
{
    sysapi::RegistryHive& hive = sysapi::RegistryHive::current();
    unregisterInProcessServer(hive, server);
    return hive.save() ? kRegistered : kRegistrationFailed;
}

QString typeLibraryVersionText(int majorVersion, int minorVersion)
{
    return QStringLiteral("%1.%2").arg(majorVersion, 0, 16).arg(minorVersion, 0, 16).toUpper();
}

std::vector<RegistryEntry> registrationEntries(const InProcessServerDescription& server)
{
    EntryList entries;
    for (const RegisteredClass& served : server.classes)
        addClass(entries, server, served);
    addTypeLibrary(entries, server);
    for (const RegisteredInterface& served : server.interfaces)
        addInterface(entries, server, served);
    return entries.take();
}

void registerInProcessServer(sysapi::RegistryHive& hive, const InProcessServerDescription& server)
{
    for (const RegistryEntry& entry : registrationEntries(server)) {
        if (entry.isKeyOnly())
            hive.createKey(sysapi::HKEY_CLASSES_ROOT, entry.keyPath);
        else
            hive.setStringValue(sysapi::HKEY_CLASSES_ROOT, entry.keyPath, entry.valueName, entry.value);
    }
}

void unregisterInProcessServer(sysapi::RegistryHive& hive, const InProcessServerDescription& server)
{
    const std::vector<RegistryEntry> entries = registrationEntries(server);
    for (const RegistryEntry& entry : entries) {
        if (!entry.isKeyOnly())
            hive.deleteValue(sysapi::HKEY_CLASSES_ROOT, entry.keyPath, entry.valueName);
    }
    for (const QString& key : keysWrittenBy(entries))
        hive.deleteKeyIfEmpty(sysapi::HKEY_CLASSES_ROOT, key);
}

} // namespace automation
