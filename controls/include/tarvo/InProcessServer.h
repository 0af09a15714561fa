#pragma once

#include "automation/ClassRegistry.h"

#include <cstdint>

// The four entry points of the library as an in-process server. They are
// plain C symbols so that a host can find them in the loaded library.
extern "C" {

// Writes the classes, the type library and the interfaces of the library into
// the current registry hive (see automation/ServerRegistration.h) and saves
// the hive. Registering again changes nothing. 0 on success.
std::int32_t DllRegisterServer();
// Removes exactly what DllRegisterServer writes and saves the hive; again,
// nothing. 0 on success.
std::int32_t DllUnregisterServer();
// The factory of a class of the library, by the class id's registry form;
// see automation/ClassRegistry.h for the contract.
std::int32_t DllGetClassObject(const char* classId, automation::ObjectFactory** factory);
// Always 1 (S_FALSE): the library is never unloaded.
std::int32_t DllCanUnloadNow();
}
