#pragma once

#include "automation/ClassRegistry.h"

#include <QString>
#include <QUuid>

#include <cstdint>
#include <vector>

namespace sysapi {
class RegistryHive;
}

// What the in-process servers of the suite share: the classes a library
// serves, their entries in the registry hive and the lookup of a factory
// for DllGetClassObject. See automation/ClassRegistry.h for how a host finds
// and loads such a library.
namespace automation::inproc {

inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kFalse = 1;                                                    // S_FALSE
inline constexpr std::int32_t kPointerError = static_cast<std::int32_t>(0x80004003u);      // E_POINTER
inline constexpr std::int32_t kRegistrationError = static_cast<std::int32_t>(0x80040201u); // SELFREG_E_CLASS

struct ServedClass {
    QUuid classId;
    QString progId;
    ObjectFactory factory;
};

// The type library that a class's entries point at.
struct TypeLibraryIdentity {
    QUuid libraryId;
    QString version; // as the hive writes it, "1.0" or "2C.0"
};

// The absolute path of the loaded file that holds `symbol`, or empty text.
QString libraryFileOf(const void* symbol);

// Makes the classes creatable in this process, without the hive.
void registerInProcess(const std::vector<ServedClass>& classes);

// Writes a class's entries:
//   HKEY_CLASSES_ROOT\CLSID\{id}\InprocServer32  @ = library, ThreadingModel = Apartment
//   HKEY_CLASSES_ROOT\CLSID\{id}\ProgID          @ = progId
//   HKEY_CLASSES_ROOT\CLSID\{id}\TypeLib         @ = {library id}
//   HKEY_CLASSES_ROOT\CLSID\{id}\Version         @ = version
//   HKEY_CLASSES_ROOT\<progId>\CLSID             @ = {id}
void writeClassEntries(sysapi::RegistryHive& hive, const ServedClass& served, const QString& library,
                       const TypeLibraryIdentity& typeLibrary);
// Removes both keys above with everything below them.
void removeClassEntries(sysapi::RegistryHive& hive, const ServedClass& served);
// The key HKEY_CLASSES_ROOT\CLSID\{id}.
QString classKeyPath(const QUuid& classId);

// DllGetClassObject over a table of served classes, which must live as long
// as the library.
std::int32_t findFactory(std::vector<ServedClass>& classes, const char* classId, ObjectFactory** factory);

} // namespace automation::inproc
