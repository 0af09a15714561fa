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

// Events pass every argument by reference.
inline automation::ParamInfo byRef(const char* name, automation::ParamType type)
{
    return automation::ParamInfo{QString::fromLatin1(name), type, true};
}

inline automation::MemberInfo event(const char* name, std::int32_t id, std::vector<automation::ParamInfo> params,
                                    const char* description)
{
    return automation::MemberInfo{QString::fromLatin1(name), id, automation::MemberKind::Method,
                                  automation::ParamType::Void, std::move(params), QString::fromLatin1(description)};
}

// Button, Shift, X and Y of the mouse events.
inline std::vector<automation::ParamInfo> mouseParams()
{
    using automation::ParamType;
    return {byRef("Button", ParamType::Integer), byRef("Shift", ParamType::Integer), byRef("X", ParamType::Single),
            byRef("Y", ParamType::Single)};
}

} // namespace tarvo
