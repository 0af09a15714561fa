// The library as an in-process server: its classes join the process's class
// registry when the library is loaded, and the four exported entry points
// register them in the registry hive and hand out their factories.
#include "tarvo/InProcessServer.h"

#include "tarvo/TypeLibrary.h"
#include "tarvo/XGlowLabel.h"
#include "tarvo/XShpLabel.h"

#include "automation/ServerRegistration.h"
#include "system/LibraryResources.h"

#include <QPointer>

namespace {

using automation::ObjectFactory;
using automation::ObjectRef;

constexpr std::int32_t kOk = 0;
constexpr std::int32_t kFalse = 1;
constexpr std::int32_t kPointerError = static_cast<std::int32_t>(0x80004003u); // E_POINTER

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

// Recorded at registration: the classes, the type library and the default
// and event interfaces, served from the file this code was loaded from.
automation::InProcessServerDescription serverDescription()
{
    automation::InProcessServerDescription server;
    server.libraryPath = sysapi::libraryFileOf(reinterpret_cast<const void*>(&DllRegisterServer));
    server.libraryId = tarvo::kLibraryId;
    server.libraryName = QString::fromLatin1(tarvo::kLibraryName);
    server.majorVersion = tarvo::kLibraryMajorVersion;
    server.minorVersion = tarvo::kLibraryMinorVersion;
    for (const ServedClass& served : servedClasses()) {
        const QString progId = QString::fromLatin1(served.progId);
        server.classes.push_back({served.classId, progId, progId, true, kControlMiscStatus, served.toolboxBitmap});
    }
    server.interfaces = {
        {tarvo::kXShpLabelInterfaceId, QStringLiteral("_XShpLabel"), false},
        {tarvo::kXShpLabelEventsId, QStringLiteral("__XShpLabel"), true},
        {tarvo::kXGlowLabelInterfaceId, QStringLiteral("_XGlowLabel"), false},
        {tarvo::kXGlowLabelEventsId, QStringLiteral("__XGlowLabel"), true},
    };
    return server;
}

} // namespace

extern "C" {

std::int32_t DllRegisterServer()
{
    return automation::registerInCurrentHive(serverDescription());
}

std::int32_t DllUnregisterServer()
{
    return automation::unregisterFromCurrentHive(serverDescription());
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
