#pragma once

#include "automation/ClassRegistry.h"

#include <cstdint>

// The four entry points of the library as an in-process server. They are
// plain C symbols so that a host that does not link the library can find
// them in it once loaded.
extern "C" {

// Writes COrlaAboutDlg and GMisc into the current registry hive (class id,
// ProgID, library path, apartment threading, type library) and saves the
// hive. 0 on success.
std::int32_t DllRegisterServer();
// Removes what DllRegisterServer wrote and saves the hive. 0 on success.
std::int32_t DllUnregisterServer();
// The factory of a class of the library, by the class id's registry form;
// see automation/ClassRegistry.h for the contract.
std::int32_t DllGetClassObject(const char* classId, automation::ObjectFactory** factory);
// Always 1 (S_FALSE): the library is never unloaded.
std::int32_t DllCanUnloadNow();
}
