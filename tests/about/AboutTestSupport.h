#pragma once

#include "automation/AutomationError.h"
#include "automation/Dispatch.h"
#include "support/ErrorNumber.h"

#include <QString>

#include <functional>
#include <map>

// An automation object with named read-write properties and the type name
// the test gives it: an application object ("App") or a form to centre.
class FakeObject : public automation::Dispatch {
public:
    FakeObject(QString typeName, std::map<QString, automation::Variant> properties)
        : m_properties(std::move(properties))
    {
        m_info.typeName = std::move(typeName);
        automation::DispId id = 1;
        for (const auto& entry : m_properties) {
            m_info.members.push_back(automation::propertyGet(entry.first, id, automation::ParamType::Variant));
            m_info.members.push_back(automation::propertyPut(entry.first, id, automation::ParamType::Variant));
            ++id;
        }
    }

    const automation::TypeInfo& typeInfo() const override { return m_info; }
    automation::Variant value(const QString& name) const { return m_properties.at(name); }

protected:
    automation::Variant invokeMember(const automation::MemberInfo& member,
                                     std::vector<automation::Variant>& params) override
    {
        if (member.kind == automation::MemberKind::PropertyGet)
            return m_properties.at(member.name);
        m_properties[member.name] = params.at(0);
        return {};
    }

private:
    automation::TypeInfo m_info;
    std::map<QString, automation::Variant> m_properties;
};

// The application object of a program at version 1.1.0.
inline std::shared_ptr<FakeObject> appObject(const QString& typeName = QStringLiteral("App"),
                                             automation::Variant major = std::int16_t{1})
{
    return std::make_shared<FakeObject>(
        typeName, std::map<QString, automation::Variant>{
                      {QStringLiteral("ProductName"), QStringLiteral("Vexlo 1.1")},
                      {QStringLiteral("Major"), major},
                      {QStringLiteral("Minor"), std::int16_t{1}},
                      {QStringLiteral("Revision"), std::int16_t{0}},
                      {QStringLiteral("LegalCopyright"), QStringLiteral("Copyright test notice")},
                  });
}

