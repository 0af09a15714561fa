#include "ui/WindowObject.h"

#include "automation/AutomationError.h"

namespace ui {
namespace {

constexpr automation::DispId kHWndId = -515; // the standard hWnd property

} // namespace

std::int32_t WindowObject::hWnd() const
{
    if (!m_window)
        return 0;
    return static_cast<std::int32_t>(m_window->window()->winId());
}

const automation::TypeInfo& WindowObject::classTypeInfo()
{
    static const automation::TypeInfo info{
        QStringLiteral("Form"),
        QStringLiteral("_Form"),
        QUuid(),
        {automation::propertyGet(QStringLiteral("hWnd"), kHWndId, automation::ParamType::Long)},
    };
    return info;
}

automation::Variant WindowObject::invokeMember(const automation::MemberInfo& member, std::vector<automation::Variant>&)
{
    if (member.id == kHWndId)
        return hWnd();
    automation::raiseError(automation::ErrorNumber::NotSupported);
}

} // namespace ui
