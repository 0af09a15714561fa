// The type-info tables of XShpLabel: its default interface _XShpLabel, in the
// order of the interface's methods (each property's read before its write),
// and its event interface __XShpLabel.
#include "TypeInfoRows.h"
#include "tarvo/TypeLibrary.h"
#include "tarvo/XShpLabel.h"

namespace tarvo {
namespace {

using automation::MemberInfo;
using automation::MemberKind;
using automation::ParamInfo;
using automation::ParamType;

const QString kTypeName = QStringLiteral("XShpLabel");

std::vector<MemberInfo> classMembers()
{
    namespace Id = XShpLabelDispId;
    std::vector<MemberInfo> members;
    addProperty(members, "ForeColor", Id::ForeColor, ParamType::Color,
                "Returns/sets the foreground color used to display text and graphics in an object.");
    addProperty(members, "Enabled", Id::Enabled, ParamType::Boolean,
                "Returns/sets a value that determines whether an object can respond to user-generated events.");
    addProperty(members, "Font", Id::Font, ParamType::Font, "Returns a Font object.", MemberKind::PropertyPutRef);
    addProperty(members, "BorderStyle", Id::BorderStyle, ParamType::Enum,
                "Returns/sets the border style for an object.");
    members.push_back(MemberInfo{QStringLiteral("Refresh"), Id::Refresh, MemberKind::Method, ParamType::Void, {},
                                 QStringLiteral("Forces a complete repaint of a object.")});
    addProperty(members, "BorderColor", Id::BorderColor, ParamType::Color, "Returns/sets the color of an object's border.");
    addProperty(members, "BorderWidth", Id::BorderWidth, ParamType::Integer,
                "Returns or sets the width of a control's border.");
    addProperty(members, "Caption", Id::Caption, ParamType::String,
                "Returns/sets the text displayed in an object's title bar or below an object's icon.");
    addProperty(members, "FillColor", Id::FillColor, ParamType::Color,
                "Returns/sets the color used to fill in shapes, circles, and boxes.");
    addProperty(members, "FillStyle", Id::FillStyle, ParamType::Enum, "Returns/sets the fill style of a shape.");
    addProperty(members, "DisabledBorderColor", Id::DisabledBorderColor, ParamType::Color, "");
    addProperty(members, "DisabledBorderStyle", Id::DisabledBorderStyle, ParamType::Enum, "");
    addProperty(members, "DisabledBorderWidth", Id::DisabledBorderWidth, ParamType::Integer, "");
    addProperty(members, "DisabledFillColor", Id::DisabledFillColor, ParamType::Color, "");
    addProperty(members, "DisabledFillStyle", Id::DisabledFillStyle, ParamType::Enum, "");
    addProperty(members, "DisabledFont", Id::DisabledFont, ParamType::Font, "", MemberKind::PropertyPutRef);
    addProperty(members, "DisabledForeColor", Id::DisabledForeColor, ParamType::Color, "");
    return members;
}

std::vector<ParamInfo> keyParams()
{
    return {byRef("KeyCode", ParamType::Integer), byRef("Shift", ParamType::Integer)};
}

std::vector<MemberInfo> eventMembers()
{
    namespace Id = XShpLabelEventId;
    return {
        event("Click", Id::Click, {}, "Occurs when the user presses and then releases a mouse button over an object."),
        event("DblClick", Id::DblClick, {},
              "Occurs when the user presses and releases a mouse button and then presses and releases it again over "
              "an object."),
        event("KeyDown", Id::KeyDown, keyParams(), "Occurs when the user presses a key while an object has the focus."),
        event("KeyPress", Id::KeyPress, {byRef("KeyAscii", ParamType::Integer)},
              "Occurs when the user presses and releases an ANSI key."),
        event("KeyUp", Id::KeyUp, keyParams(), "Occurs when the user releases a key while an object has the focus."),
        event("MouseDown", Id::MouseDown, mouseParams(),
              "Occurs when the user presses the mouse button while an object has the focus."),
        event("MouseMove", Id::MouseMove, mouseParams(), "Occurs when the user moves the mouse."),
        event("MouseUp", Id::MouseUp, mouseParams(),
              "Occurs when the user releases the mouse button while an object has the focus."),
    };
}

} // namespace

const automation::TypeInfo& XShpLabel::classTypeInfo()
{
    static const automation::TypeInfo info{kTypeName, QStringLiteral("_XShpLabel"), kXShpLabelInterfaceId,
                                           classMembers()};
    return info;
}

const automation::TypeInfo& XShpLabel::eventTypeInfo()
{
    static const automation::TypeInfo info{kTypeName, QStringLiteral("__XShpLabel"), kXShpLabelEventsId,
                                           eventMembers()};
    return info;
}

const automation::TypeInfo& XShpLabel::typeInfo() const { return classTypeInfo(); }

} // namespace tarvo
