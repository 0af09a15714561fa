#include "automation/InProcessServerSupport.h"

namespace automation::inproc {

void registerInProcess(const std::vector<ServedClass>& classes)
{
    for (const ServedClass& served : classes)
        ClassRegistry::instance().registerClass(served.classId, served.progId, served.factory);
}

std::int32_t findFactory(std::vector<ServedClass>& classes, const char* classId, ObjectFactory** factory)
{
    if (!factory)
        return kPointerError;
    *factory = nullptr;
    if (!classId)
        return kClassNotAvailable;
    const QUuid wanted(QString::fromLatin1(classId));
    if (wanted.isNull())
        return kClassNotAvailable;
    for (ServedClass& served : classes) {
        if (served.classId == wanted) {
            *factory = &served.factory;
            return kOk;
        }
    }
    return kClassNotAvailable;
}

} // namespace automation::inproc
