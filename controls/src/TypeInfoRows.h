#pragma once

#include "automation/Dispatch.h"

#include <vector>

namespace tarvo {

// A property's read, then its write (or write by reference), with one
// description, as the controls' tables list them.
inline void addProperty(std::vector<automation::MemberInfo>& members, const char* name, std::int32_t id,
                        automation::ParamType type, const char* description,
                        automation::MemberKind writeKind = automation::MemberKind::PropertyPut)
{
    const QString property = QString::fromLatin1(name);
    const QString help = QString::fromLatin1(description);
    members.push_back(automation::propertyGet(property, id, type, help));
    members.push_back(automation::propertyPut(property, id, type, help, writeKind));
}

} // namespace tarvo
