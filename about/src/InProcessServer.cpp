// The library as an in-process server: its classes join the process's class
// registry when the library is loaded, and the four exported entry points
// register them in the registry hive and hand out their factories.
#include "quorrel/InProcessServer.h"

#include "quorrel/COrlaAboutDlg.h"
#include "quorrel/GMisc.h"
#include "quorrel/TypeLibrary.h"

#include "automation/InProcessServerSupport.h"
#include "system/RegistryHive.h"

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

TypeLibraryIdentity typeLibrary() { return {quorrel::kLibraryId, QString::fromLatin1(quorrel::kLibraryVersionText)}; }

} // namespace

extern "C" {

std::int32_t DllRegisterServer()
{
    const QString library = libraryFileOf(reinterpret_cast<const void*>(&DllRegisterServer));
    if (library.isEmpty())
        return kRegistrationError;
    sysapi::RegistryHive& hive = sysapi::RegistryHive::current();
    for (const ServedClass& served : servedClasses())
        writeClassEntries(hive, served, library, typeLibrary());
    return hive.save() ? kOk : kRegistrationError;
}

std::int32_t DllUnregisterServer()
{
    sysapi::RegistryHive& hive = sysapi::RegistryHive::current();
    for (const ServedClass& served : servedClasses())
        removeClassEntries(hive, served);
    return hive.save() ? kOk : kRegistrationError;
}

std::int32_t DllGetClassObject(const char* classId, automation::ObjectFactory** factory)
{
    // The table lives as long as the library, which is never unloaded.
    return findFactory(servedClasses(), classId, factory);
}

std::int32_t DllCanUnloadNow() { return kFalse; }
}
