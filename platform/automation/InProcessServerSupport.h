#pragma once

#include "automation/ClassRegistry.h"

#include <QString>
#include <QUuid>

#include <cstdint>
#include <vector>

// What the in-process servers of the suite share: the classes a library
// serves and the lookup of a factory for DllGetClassObject. Their entries in
// the registry hive are written by automation/ServerRegistration.h; see
// automation/ClassRegistry.h for how a host finds and loads such a library.
namespace automation::inproc {

inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kFalse = 1;                                                    // S_FALSE
inline constexpr std::int32_t kPointerError = static_cast<std::int32_t>(0x80004003u);      // E_POINTER

struct ServedClass {
    QUuid classId;
    QString progId;
    ObjectFactory factory;
};

// Makes the classes creatable in this process, without the hive.
void registerInProcess(const std::vector<ServedClass>& classes);

// DllGetClassObject over a table of served classes, which must live as long
// as the library.
std::int32_t findFactory(std::vector<ServedClass>& classes, const char* classId, ObjectFactory** factory);

} // namespace automation::inproc
