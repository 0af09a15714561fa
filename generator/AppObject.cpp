#include "AppObject.h"

#include "AppInfo.h"
#include "automation/AutomationError.h"

namespace {

namespace DispId {
constexpr automation::DispId ProductName = 1;
constexpr automation::DispId Major = 2;
constexpr automation::DispId Minor = 3;
constexpr automation::DispId Revision = 4;
constexpr automation::DispId LegalCopyright = 5;
} // namespace DispId

} // namespace

AppObject::AppObject()
    : m_ProductName(QString::fromLatin1(kAppTitle)),
      m_Major(VEXLO_VERSION_MAJOR),
      m_Minor(VEXLO_VERSION_MINOR),
      m_Revision(VEXLO_VERSION_PATCH),
      m_LegalCopyright(QStringLiteral("Copyright \u00A9 2026 the Vexlo developers"))
{
}

std::shared_ptr<AppObject> AppObject::instance()
{
    static const std::shared_ptr<AppObject> object = std::make_shared<AppObject>();
    return object;
}

const automation::TypeInfo& AppObject::classTypeInfo()
{
    using automation::ParamType;
    using automation::propertyGet;
    static const automation::TypeInfo info{
        QStringLiteral("App"),
        QStringLiteral("App"),
        QUuid(),
        {
            propertyGet(QStringLiteral("ProductName"), DispId::ProductName, ParamType::String),
            propertyGet(QStringLiteral("Major"), DispId::Major, ParamType::Integer),
            propertyGet(QStringLiteral("Minor"), DispId::Minor, ParamType::Integer),
            propertyGet(QStringLiteral("Revision"), DispId::Revision, ParamType::Integer),
            propertyGet(QStringLiteral("LegalCopyright"), DispId::LegalCopyright, ParamType::String),
        },
    };
    return info;
}

automation::Variant AppObject::invokeMember(const automation::MemberInfo& member, std::vector<automation::Variant>&)
{
    switch (member.id) {
    case DispId::ProductName: return m_ProductName;
    case DispId::Major: return m_Major;
    case DispId::Minor: return m_Minor;
    case DispId::Revision: return m_Revision;
    case DispId::LegalCopyright: return m_LegalCopyright;
    }
    automation::raiseError(automation::ErrorNumber::NotSupported);
}
