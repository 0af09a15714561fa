// The type-info tables of XGlowLabel: its default interface _XGlowLabel, in
// the order of the interface's methods (each property's read before its
// write), and its event interface __XGlowLabel.
#include "TypeInfoRows.h"
#include "tarvo/TypeLibrary.h"
#include "tarvo/XGlowLabel.h"

namespace tarvo {
namespace {

using automation::MemberInfo;
using automation::MemberKind;
using automation::ParamInfo;
using automation::ParamType;

const QString kTypeName = QStringLiteral("XGlowLabel");

std::vector<MemberInfo> classMembers()
{
    namespace Id = XGlowLabelDispId;
    std::vector<MemberInfo> members;
    addProperty(members, "BackColor", Id::BackColor, ParamType::Color,
                "Returns/sets the background color used to display text and graphics in an object.");
    addProperty(members, "ForeColor", Id::ForeColor, ParamType::Color,
                "Returns/sets the foreground color used to display text and graphics in an object.");
    addProperty(members, "Enabled", Id::Enabled, ParamType::Boolean,
                "Returns/sets a value that determines whether an object can respond to user-generated events.");
    addProperty(members, "Font", Id::Font, ParamType::Font, "Returns a Font object.", MemberKind::PropertyPutRef);
    addProperty(members, "BackStyle", Id::BackStyle, ParamType::Integer,
                "Indicates whether a Label or the background of a Shape is transparent or opaque.");
    addProperty(members, "BorderStyle", Id::BorderStyle, ParamType::Integer,
                "Returns/sets the border style for an object.");
    members.push_back(MemberInfo{QStringLiteral("Refresh"), Id::Refresh, MemberKind::Method, ParamType::Void, {},
                                 QStringLiteral("Forces a complete repaint of a object.")});
    addProperty(members, "Alignment", Id::Alignment, ParamType::Integer,
                "Returns/sets the alignment of a CheckBox or OptionButton, or a control's text.");
    addProperty(members, "Appearance", Id::Appearance, ParamType::Integer,
                "Returns/sets whether or not an object is painted at run time with 3-D effects.");
    addProperty(members, "Caption", Id::Caption, ParamType::String,
                "Returns/sets the text displayed in an object's title bar or below an object's icon.");
    addProperty(members, "Interval", Id::Interval, ParamType::Long,
                "Returns/sets the number of milliseconds between calls to a Timer control's Timer event.");
    return members;
}

std::vector<MemberInfo> eventMembers()
{
    namespace Id = XGlowLabelEventId;
    return {
        event("Click", Id::Click, {}, "Occurs when the user presses and then releases a mouse button over an object."),
        event("DblClick", Id::DblClick, {},
              "Occurs when the user presses and releases a mouse button and then presses and releases it again over "
              "an object."),
        event("MouseDown", Id::MouseDown, mouseParams(),
              "Occurs when the user presses the mouse button while an object has the focus."),
        event("MouseMove", Id::MouseMove, mouseParams(), "Occurs when the user moves the mouse."),
        event("MouseUp", Id::MouseUp, mouseParams(),
              "Occurs when the user releases the mouse button while an object has the focus."),
    };
}

} // namespace

const automation::TypeInfo& XGlowLabel::classTypeInfo()
{
    static const automation::TypeInfo info{kTypeName, QStringLiteral("_XGlowLabel"), kXGlowLabelInterfaceId,
                                           classMembers()};
    return info;
}

const automation::TypeInfo& XGlowLabel::eventTypeInfo()
{
    static const automation::TypeInfo info{kTypeName, QStringLiteral("__XGlowLabel"), kXGlowLabelEventsId,
                                           eventMembers()};
    return info;
}

const automation::TypeInfo& XGlowLabel::typeInfo() const { return classTypeInfo(); }

} // namespace tarvo
