#pragma once

#include "automation/Dispatch.h"

#include <QString>
#include <QUuid>

#include <functional>
#include <map>
#include <optional>

// Creation of objects by class id or ProgID.
//
// Classes of the running program register a factory here. A class that is
// not registered in the process is looked up in the registry hive, the way
// the platform finds in-process servers:
//   HKEY_CLASSES_ROOT\<ProgID>\CLSID                  @ = "{class id}"
//   HKEY_CLASSES_ROOT\CLSID\{class id}\InprocServer32  @ = "/path/to/library.so"
// The library is loaded and asked for the class through its exported
//   extern "C" std::int32_t DllGetClassObject(const char* classId,
//                                              automation::ObjectFactory** factory);
// which returns 0 and a factory that stays valid while the library is loaded,
// or a failure code for a class it does not serve. Libraries are never unloaded.
namespace automation {

using ObjectFactory = std::function<ObjectRef()>;

// The signature of the entry point above.
using DllGetClassObjectFunction = std::int32_t (*)(const char* classId, ObjectFactory** factory);
inline constexpr std::int32_t kClassNotAvailable = static_cast<std::int32_t>(0x80040111u);

class ClassRegistry {
public:
    static ClassRegistry& instance();

    void registerClass(const QUuid& classId, const QString& progId, ObjectFactory factory);
    void unregisterClass(const QUuid& classId);
    bool isRegistered(const QUuid& classId) const;

    // A new object of the class; a class that can be found nowhere fails
    // with 429, and so does a factory that returns no object.
    ObjectRef createObject(const QUuid& classId);
    ObjectRef createObject(const QString& progId);

    std::optional<QUuid> classIdOf(const QString& progId) const;

private:
    struct Entry {
        QString progId;
        ObjectFactory factory;
    };
    bool loadInProcessServer(const QUuid& classId);

    std::map<QUuid, Entry> m_classes;
};

// The registry-hive form of a class id: "{58AE1F7C-29A3-11D4-B0AB-006208C10000}".
QString classIdText(const QUuid& classId);

} // namespace automation
