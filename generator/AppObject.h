#pragma once

#include "automation/Dispatch.h"

#include <QString>

#include <cstdint>
#include <memory>

// The program's application object "App": the read-only ProductName, Major,
// Minor, Revision and LegalCopyright, filled from the program's version.
// Libraries that show the program's about box read it by name (GMisc of
// Quorrel).
class AppObject : public automation::Dispatch {
public:
    AppObject();
    // The one object of the program.
    static std::shared_ptr<AppObject> instance();

    const QString& ProductName() const { return m_ProductName; }
    std::int16_t Major() const { return m_Major; }
    std::int16_t Minor() const { return m_Minor; }
    std::int16_t Revision() const { return m_Revision; }
    const QString& LegalCopyright() const { return m_LegalCopyright; }

    static const automation::TypeInfo& classTypeInfo();
    const automation::TypeInfo& typeInfo() const override { return classTypeInfo(); }

protected:
    automation::Variant invokeMember(const automation::MemberInfo& member,
                                     std::vector<automation::Variant>& params) override;

private:
    QString m_ProductName;
    std::int16_t m_Major;
    std::int16_t m_Minor;
    std::int16_t m_Revision;
    QString m_LegalCopyright;
};
