#pragma once

#include "system/RegistryHive.h"

#include <QString>
#include <QUuid>

#include <cstdint>
#include <vector>

// The registry entries of an in-process server, written from a description
// of what the library serves, and removed again, exactly those.
//
// For every class, under HKEY_CLASSES_ROOT:
//   CLSID\{class id}                     @ = description
//     InprocServer32                     @ = library path, ThreadingModel = "Apartment"
//     ProgID                             @ = ProgID
//     VersionIndependentProgID           @ = ProgID
//     TypeLib                            @ = "{library id}"
//     Version                            @ = "<major>.<minor>" (in hex, as type library versions are)
//     Programmable                       (empty key)
//   and for a control also
//     Control                            (empty key)
//     MiscStatus                         @ = "0"
//     MiscStatus\1                       @ = misc status flags, in decimal
//     ToolboxBitmap32                    @ = "<library path>, <resource number>" (when it has one)
//   <ProgID>                             @ = description
//     CLSID                              @ = "{class id}"
// For the type library:
//   TypeLib\{library id}\<version>       @ = library name
//     0\linux                            @ = library path
//     FLAGS                              @ = "0"
//     HELPDIR                            @ = the library's folder
// For every interface:
//   Interface\{interface id}             @ = interface name
//     ProxyStubClsid32                   @ = the automation marshaller for dual
//                                            interfaces, the dispatch one for
//                                            dispatch-only interfaces
//     TypeLib                            @ = "{library id}", Version = "<version>"
//
// The ProgIDs of the system carry no version number, so the ProgID and the
// version-independent ProgID are the same name.
namespace automation {

struct RegisteredClass {
    QUuid classId;
    QString progId;
    QString description;
    bool control = false;
    std::uint32_t miscStatus = 0;  // controls only
    int toolboxBitmap = 0;         // controls only; 0: none
};

struct RegisteredInterface {
    QUuid interfaceId;
    QString name;
    bool dispatchOnly = false;     // an event interface; otherwise dual
};

struct InProcessServerDescription {
    QString libraryPath;           // absolute
    QUuid libraryId;
    QString libraryName;
    int majorVersion = 1;
    int minorVersion = 0;
    std::vector<RegisteredClass> classes;
    std::vector<RegisteredInterface> interfaces;
};

// One key, with one value of it or, when `valueName` is null, only the key.
struct RegistryEntry {
    QString keyPath;               // below HKEY_CLASSES_ROOT
    QString valueName;             // "" is the default value; null: the key alone
    QString value;

    bool isKeyOnly() const { return valueName.isNull(); }
};

// What registering writes, in order.
std::vector<RegistryEntry> registrationEntries(const InProcessServerDescription& server);

// Writes the entries into the hive (the caller saves it). Writing them again
// changes nothing.
void registerInProcessServer(sysapi::RegistryHive& hive, const InProcessServerDescription& server);

// Removes the values that registering writes and then those of its keys that
// are left empty, deepest first; a value or subkey that someone else put
// under one of them stays, with the keys above it. Removing twice changes
// nothing.
void unregisterInProcessServer(sysapi::RegistryHive& hive, const InProcessServerDescription& server);

// The bodies of a library's DllRegisterServer and DllUnregisterServer: the
// entries written into, or removed from, the process's current hive, which is
// then saved. 0 on success; SELFREG_E_CLASS (0x80040201) when the library's
// path is unknown or the hive cannot be saved.
std::int32_t registerInCurrentHive(const InProcessServerDescription& server);
std::int32_t unregisterFromCurrentHive(const InProcessServerDescription& server);

// The type library version as registry keys spell it: hexadecimal, "2C.0".
QString typeLibraryVersionText(int majorVersion, int minorVersion);

} // namespace automation
