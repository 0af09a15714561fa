#pragma once

#include "automation/Dispatch.h"

#include <vector>

namespace quorrel {

// A property's write, then its read, as the library's interfaces list them.
inline void addProperty(std::vector<automation::MemberInfo>& members, const char* name, std::int32_t id,
                        automation::ParamType type, const char* description = nullptr,
                        automation::MemberKind writeKind = automation::MemberKind::PropertyPut)
{
    const QString property = QString::fromLatin1(name);
    const QString help = description ? QString::fromLatin1(description) : QString();
    members.push_back(automation::propertyPut(property, id, type, help, writeKind));
    members.push_back(automation::propertyGet(property, id, type, help));
}

// Parameters of the library's methods are passed by reference.
inline automation::ParamInfo byRef(const char* name, automation::ParamType type)
{
    return automation::ParamInfo{QString::fromLatin1(name), type, true};
}

inline automation::ParamInfo optionalByRef(const char* name, automation::ParamType type,
                                           automation::Variant defaultValue)
{
    return automation::ParamInfo{QString::fromLatin1(name), type, true, true, std::move(defaultValue)};
}

} // namespace quorrel
