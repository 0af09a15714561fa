// The library as an in-process server: its classes join the process's class
// registry when the library is loaded, and the four exported entry points
// register them in the registry hive and hand out their factories.
#include "tarvo/InProcessServer.h"

#include "tarvo/TypeLibrary.h"
#include "tarvo/XGlowLabel.h"
#include "tarvo/XShpLabel.h"

#include "system/RegistryHive.h"

#include <QFileInfo>
#include <QPointer>

#include <dlfcn.h>

namespace {

using automation::ObjectFactory;
using automation::ObjectRef;

constexpr std::int32_t kOk = 0;
constexpr std::int32_t kFalse = 1;
constexpr std::int32_t kPointerError = static_cast<std::int32_t>(0x80004003u); // E_POINTER
constexpr std::int32_t kRegistrationError = static_cast<std::int32_t>(0x80040201u); // SELFREG_E_CLASS

// Recompose on resize, cannot link inside, inside-out, activate when
// visible, set client site first.
constexpr std::uint32_t kControlMiscStatus = 0x1 | 0x10 | 0x80 | 0x100 | 0x20000;

// Controls are widgets that a host usually parents, and a parent deletes its
// children: the reference deletes the widget only while it still exists.
template <typename Control>
ObjectRef createControl()
{
    auto* control = new Control;
    QPointer<Control> guard(control);
    return ObjectRef(static_cast<automation::Dispatch*>(control), [guard](automation::Dispatch*) { delete guard.data(); });
}

struct ServedClass {
    QUuid classId;
    const char* progId;
    int toolboxBitmap;
    ObjectFactory factory;
};

std::vector<ServedClass>& servedClasses()
{
    static std::vector<ServedClass> classes{
        {tarvo::kXShpLabelClassId, tarvo::kXShpLabelProgId, tarvo::kXShpLabelToolboxBitmap,
         &createControl<tarvo::XShpLabel>},
        {tarvo::kXGlowLabelClassId, tarvo::kXGlowLabelProgId, tarvo::kXGlowLabelToolboxBitmap,
         &createControl<tarvo::XGlowLabel>},
    };
    return classes;
}

struct Registrar {
    Registrar()
    {
        for (const ServedClass& served : servedClasses())
            automation::ClassRegistry::instance().registerClass(served.classId, QString::fromLatin1(served.progId),
                                                                served.factory);
    }
};
const Registrar registrar;

// The file this code was loaded from.
QString libraryPath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

QString classKey(const ServedClass& served) { return QStringLiteral("CLSID\\") + automation::classIdText(served.classId); }

void registerClass(sysapi::RegistryHive& hive, const ServedClass& served, const QString& library)
{
    using sysapi::HKEY_CLASSES_ROOT;
    const QString key = classKey(served);
    const QString progId = QString::fromLatin1(served.progId);
    const QString libraryId = automation::classIdText(tarvo::kLibraryId);
    const QString version = QStringLiteral("%1.%2").arg(tarvo::kLibraryMajorVersion).arg(tarvo::kLibraryMinorVersion);
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\InprocServer32"), {}, library);
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\InprocServer32"), QStringLiteral("ThreadingModel"),
                        QStringLiteral("Apartment"));
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\ProgID"), {}, progId);
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\Control"), {}, {});
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\MiscStatus"), {}, QStringLiteral("0"));
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\MiscStatus\\1"), {},
                        QString::number(kControlMiscStatus));
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\ToolboxBitmap32"), {},
                        QStringLiteral("%1, %2").arg(library).arg(served.toolboxBitmap));
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\TypeLib"), {}, libraryId);
    hive.setStringValue(HKEY_CLASSES_ROOT, key + QStringLiteral("\\Version"), {}, version);
    hive.setStringValue(HKEY_CLASSES_ROOT, progId + QStringLiteral("\\CLSID"), {},
                        automation::classIdText(served.classId));
}

} // namespace

extern "C" {

std::int32_t DllRegisterServer()
{
    const QString library = libraryPath();
    if (library.isEmpty())
        return kRegistrationError;
    sysapi::RegistryHive& hive = sysapi::RegistryHive::current();
    for (const ServedClass& served : servedClasses())
        registerClass(hive, served, library);
    return hive.save() ? kOk : kRegistrationError;
}

std::int32_t DllUnregisterServer()
{
    sysapi::RegistryHive& hive = sysapi::RegistryHive::current();
    for (const ServedClass& served : servedClasses()) {
        hive.deleteKeyTree(sysapi::HKEY_CLASSES_ROOT, classKey(served));
        hive.deleteKeyTree(sysapi::HKEY_CLASSES_ROOT, QString::fromLatin1(served.progId));
    }
    return hive.save() ? kOk : kRegistrationError;
}

std::int32_t DllGetClassObject(const char* classId, ObjectFactory** factory)
{
    if (!factory)
        return kPointerError;
    *factory = nullptr;
    if (!classId)
        return automation::kClassNotAvailable;
    const QUuid wanted(QString::fromLatin1(classId));
    for (ServedClass& served : servedClasses()) {
        if (!wanted.isNull() && served.classId == wanted) {
            // The table lives as long as the library, which is never unloaded.
            *factory = &served.factory;
            return kOk;
        }
    }
    return automation::kClassNotAvailable;
}

std::int32_t DllCanUnloadNow() { return kFalse; }
}
