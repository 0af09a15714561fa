// The library as an in-process server: its classes join the process's class
// registry when the library is loaded, and the four exported entry points
// register them in the registry hive and hand out their factories.
#include "quorrel/InProcessServer.h"

#include "quorrel/COrlaAboutDlg.h"
#include "quorrel/GMisc.h"
#include "quorrel/TypeLibrary.h"

#include "automation/InProcessServerSupport.h"
#include "automation/ServerRegistration.h"
#include "system/LibraryResources.h"

namespace {

using automation::ObjectRef;
using namespace automation::inproc;

std::vector<ServedClass>& servedClasses()
{
    static std::vector<ServedClass> classes{
        {quorrel::kCOrlaAboutDlgClassId, QString::fromLatin1(quorrel::kCOrlaAboutDlgProgId),
         [] { return ObjectRef(std::make_shared<quorrel::COrlaAboutDlg>()); }},
        // The global object: one instance per thread, created on first use.
        {quorrel::kGMiscClassId, QString::fromLatin1(quorrel::kGMiscProgId),
         [] { return ObjectRef(quorrel::GMisc::instance()); }},
    };
    return classes;
}

struct Registrar {
    Registrar() { registerInProcess(servedClasses()); }
};
const Registrar registrar;

// Recorded at registration: the two classes, the type library and their
// default interfaces, served from the file this code was loaded from.
automation::InProcessServerDescription serverDescription()
{
    automation::InProcessServerDescription server;
    server.libraryPath = sysapi::libraryFileOf(reinterpret_cast<const void*>(&DllRegisterServer));
    server.libraryId = quorrel::kLibraryId;
    server.libraryName = QString::fromLatin1(quorrel::kLibraryName);
    server.majorVersion = quorrel::kLibraryMajorVersion;
    server.minorVersion = quorrel::kLibraryMinorVersion;
    for (const ServedClass& served : servedClasses())
        server.classes.push_back({served.classId, served.progId, served.progId});
    server.interfaces = {
        {quorrel::kCOrlaAboutDlgInterfaceId, QStringLiteral("_COrlaAboutDlg"), false},
        {quorrel::kGMiscInterfaceId, QStringLiteral("_GMisc"), false},
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

std::int32_t DllGetClassObject(const char* classId, automation::ObjectFactory** factory)
{
    // The table lives as long as the library, which is never unloaded.
    return findFactory(servedClasses(), classId, factory);
}

std::int32_t DllCanUnloadNow() { return kFalse; }
}
