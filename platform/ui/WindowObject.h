#pragma once

#include "automation/Dispatch.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace ui {

// A window as an automation object, for calls that take an owner window
// (an about box's Show): it answers "hWnd", the id of the native window,
// or 0 once the window is gone.
class WindowObject : public automation::Dispatch {
public:
    explicit WindowObject(QWidget* window) : m_window(window) {}
    static std::shared_ptr<WindowObject> create(QWidget* window) { return std::make_shared<WindowObject>(window); }

    QWidget* window() const { return m_window.data(); }
    std::int32_t hWnd() const;

    static const automation::TypeInfo& classTypeInfo();
    const automation::TypeInfo& typeInfo() const override { return classTypeInfo(); }

protected:
    automation::Variant invokeMember(const automation::MemberInfo& member,
                                     std::vector<automation::Variant>& params) override;

private:
    QPointer<QWidget> m_window;
};

} // namespace ui
