// The type-info table of GMisc: its default interface _GMisc, in the order
// of the interface's methods. Every parameter is passed by reference.
#include "TypeInfoRows.h"
#include "quorrel/GMisc.h"
#include "quorrel/TypeLibrary.h"

namespace quorrel {
namespace {

using automation::MemberInfo;
using automation::MemberKind;
using automation::ObjectRef;
using automation::ParamType;
using automation::Variant;

MemberInfo method(const char* name, std::int32_t id, ParamType result, std::vector<automation::ParamInfo> params,
                  const char* description = nullptr)
{
    return MemberInfo{QString::fromLatin1(name), id, MemberKind::Method, result, std::move(params),
                      description ? QString::fromLatin1(description) : QString()};
}

// The parameters DoAboutBox2 and DoAboutBox3 share.
std::vector<automation::ParamInfo> aboutBoxParams()
{
    return {byRef("AppObj", ParamType::Object),
            byRef("Owner", ParamType::Object),
            byRef("Icon", ParamType::Picture),
            optionalByRef("Font", ParamType::Font, Variant(ObjectRef())),
            optionalByRef("Notes", ParamType::String, Variant(QString())),
            optionalByRef("SysInfo", ParamType::Boolean, Variant(true))};
}

std::vector<MemberInfo> classMembers()
{
    namespace Id = GMiscDispId;
    std::vector<automation::ParamInfo> aboutBox3 = aboutBoxParams();
    aboutBox3.push_back(optionalByRef("Hyperlink", ParamType::String, Variant(QString())));
    return {
        method("DoAboutBox", Id::DoAboutBox, ParamType::Void,
               {byRef("ProductName", ParamType::String), byRef("Version", ParamType::String),
                byRef("CopyrightMsg", ParamType::String), byRef("Font", ParamType::Font),
                byRef("Icon", ParamType::Picture), optionalByRef("Notes", ParamType::String, Variant(QString())),
                optionalByRef("bSysInfo", ParamType::Boolean, Variant(true))},
               "Displays an about box."),
        method("DoAboutBox2", Id::DoAboutBox2, ParamType::Void, aboutBoxParams()),
        method("DoAboutBox3", Id::DoAboutBox3, ParamType::Void, std::move(aboutBox3)),
        method("FmtBool", Id::FmtBool, ParamType::Boolean,
               {byRef("vNum", ParamType::Variant), optionalByRef("bDefault", ParamType::Boolean, Variant(false))},
               "Converts a string or integer to a boolean value."),
        method("FmtVersion", Id::FmtVersion, ParamType::String,
               {byRef("Major", ParamType::Integer), byRef("Minor", ParamType::Integer),
                byRef("Revision", ParamType::Integer)}),
        method("CenterForm", Id::CenterForm, ParamType::Void, {byRef("F", ParamType::Object)}),
    };
}

} // namespace

const automation::TypeInfo& GMisc::classTypeInfo()
{
    static const automation::TypeInfo info{QStringLiteral("GMisc"), QStringLiteral("_GMisc"), kGMiscInterfaceId,
                                           classMembers()};
    return info;
}

const automation::TypeInfo& GMisc::typeInfo() const { return classTypeInfo(); }

} // namespace quorrel
