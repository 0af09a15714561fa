// The type-info table of COrlaAboutDlg: its default interface
// _COrlaAboutDlg, in the order of the interface's methods (each property's
// write before its read).
#include "TypeInfoRows.h"
#include "quorrel/COrlaAboutDlg.h"
#include "quorrel/TypeLibrary.h"

namespace quorrel {
namespace {

using automation::MemberInfo;
using automation::MemberKind;
using automation::ParamType;

std::vector<MemberInfo> classMembers()
{
    namespace Id = COrlaAboutDlgDispId;
    std::vector<MemberInfo> members;
    addProperty(members, "Hyperlink", Id::Hyperlink, ParamType::String);
    addProperty(members, "Notes", Id::Notes, ParamType::String,
                "Returns/sets extra notes to be placed in the about box.");
    addProperty(members, "SysInfo", Id::SysInfo, ParamType::Boolean,
                "Indicates whether to show the System Information button.");
    addProperty(members, "Version", Id::Version, ParamType::String, "Retruns/sets the version number string.");
    members.push_back(MemberInfo{QStringLiteral("Show"), Id::Show, MemberKind::Method, ParamType::Void,
                                 {byRef("Owner", ParamType::Object)}, QStringLiteral("Displays the about box.")});
    addProperty(members, "Font", Id::Font, ParamType::Font, nullptr, MemberKind::PropertyPutRef);
    addProperty(members, "Picture", Id::Picture, ParamType::Picture,
                "Returns/sets the picture which is displayed on the dialog box.", MemberKind::PropertyPutRef);
    addProperty(members, "CopyrightMsg", Id::CopyrightMsg, ParamType::String,
                "Returns/sets the copyright message string.");
    addProperty(members, "ProductName", Id::ProductName, ParamType::String, "Returns/sets the product name.");
    return members;
}

} // namespace

const automation::TypeInfo& COrlaAboutDlg::classTypeInfo()
{
    static const automation::TypeInfo info{QStringLiteral("COrlaAboutDlg"), QStringLiteral("_COrlaAboutDlg"),
                                           kCOrlaAboutDlgInterfaceId, classMembers()};
    return info;
}

const automation::TypeInfo& COrlaAboutDlg::typeInfo() const { return classTypeInfo(); }

} // namespace quorrel
