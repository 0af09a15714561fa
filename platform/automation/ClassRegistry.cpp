#include "automation/ClassRegistry.h"

#include "automation/AutomationError.h"
#include "system/RegistryHive.h"

#include <QLibrary>

namespace automation {
namespace {

[[noreturn]] void cannotCreate() { raiseError(ErrorNumber::CannotCreateObject); }

} // namespace

QString classIdText(const QUuid& classId) { return classId.toString(QUuid::WithBraces).toUpper(); }

ClassRegistry& ClassRegistry::instance()
{
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::registerClass(const QUuid& classId, const QString& progId, ObjectFactory factory)
{
    m_classes[classId] = Entry{progId, std::move(factory)};
}

void ClassRegistry::unregisterClass(const QUuid& classId) { m_classes.erase(classId); }

bool ClassRegistry::isRegistered(const QUuid& classId) const { return m_classes.count(classId) != 0; }

ObjectRef ClassRegistry::createObject(const QUuid& classId)
{
    if (!isRegistered(classId) && !loadInProcessServer(classId))
        cannotCreate();
    ObjectRef object = m_classes.at(classId).factory();
    if (!object)
        cannotCreate();
    return object;
}

ObjectRef ClassRegistry::createObject(const QString& progId)
{
    const auto classId = classIdOf(progId);
    if (!classId)
        cannotCreate();
    return createObject(*classId);
}

std::optional<QUuid> ClassRegistry::classIdOf(const QString& progId) const
{
    for (const auto& [classId, entry] : m_classes) {
        if (entry.progId.compare(progId, Qt::CaseInsensitive) == 0)
            return classId;
    }
    const QString text =
        sysapi::RegistryHive::current().stringValue(sysapi::HKEY_CLASSES_ROOT, progId + QStringLiteral("\\CLSID"), {});
    const QUuid classId(text);
    if (text.isEmpty() || classId.isNull())
        return std::nullopt;
    return classId;
}

bool ClassRegistry::loadInProcessServer(const QUuid& classId)
{
    const QString keyPath = QStringLiteral("CLSID\\%1\\InprocServer32").arg(classIdText(classId));
    const QString libraryPath = sysapi::RegistryHive::current().stringValue(sysapi::HKEY_CLASSES_ROOT, keyPath, {});
    if (libraryPath.isEmpty())
        return false;
    QLibrary library(libraryPath);
    library.setLoadHints(QLibrary::PreventUnloadHint);
    auto getClassObject = reinterpret_cast<DllGetClassObjectFunction>(library.resolve("DllGetClassObject"));
    if (!getClassObject)
        return false;
    ObjectFactory* factory = nullptr;
    const QByteArray idText = classIdText(classId).toLatin1();
    if (getClassObject(idText.constData(), &factory) != 0 || !factory)
        return false;
    m_classes[classId] = Entry{QString(), *factory};
    return true;
}

} // namespace automation
