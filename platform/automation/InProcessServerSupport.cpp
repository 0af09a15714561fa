#include "automation/InProcessServerSupport.h"

#include "system/RegistryHive.h"

#include <QFileInfo>

#include <dlfcn.h>

namespace automation::inproc {

QString libraryFileOf(const void* symbol)
{
    Dl_info info{};
    if (dladdr(symbol, &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

void registerInProcess(const std::vector<ServedClass>& classes)
{
    for (const ServedClass& served : classes)
        ClassRegistry::instance().registerClass(served.classId, served.progId, served.factory);
}

QString classKeyPath(const QUuid& classId) { return QStringLiteral("CLSID\\") + classIdText(classId); }

void writeClassEntries(sysapi::RegistryHive& hive, const ServedClass& served, const QString& library,
                       const TypeLibraryIdentity& typeLibrary)
{
    using sysapi::HKEY_CLASSES_ROOT;
    const QString key = classKeyPath(served.classId);
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\InprocServer32"), {}, library);
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\InprocServer32"), QStringLiteral("ThreadingModel"),
                        QStringLiteral("Apartment"));
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\ProgID"), {}, served.progId);
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\TypeLib"), {}, classIdText(typeLibrary.libraryId));
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\Version"), {}, typeLibrary.version);
    hive.setStringValue(HKEY_CLASSES_ROOT, served.progId + QStringLiteral("\\CLSID"), {},
                        classIdText(served.classId));
}

void removeClassEntries(sysapi::RegistryHive& hive, const ServedClass& served)
{
    hive.deleteKeyTree(sysapi::HKEY_CLASSES_ROOT, classKeyPath(served.classId));
    hive.deleteKeyTree(sysapi::HKEY_CLASSES_ROOT, served.progId);
}

std::int32_t findFactory(std::vector<ServedClass>& classes, const char* classId, ObjectFactory** factory)
{
    if (!factory)
        return kPointerError;
    *factory = nullptr;
    if (!classId)
        return kClassNotAvailable;
    const QUuid wanted(QString::fromLatin1(classId));
    if (wanted.isNull())
        return kClassNotAvailable;
    for (ServedClass& served : classes) {
        if (served.classId == wanted) {
            *factory = &served.factory;
            return kOk;
        }
    }
    return kClassNotAvailable;
}

} // namespace automation::inproc
