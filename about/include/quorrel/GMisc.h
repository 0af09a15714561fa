#pragma once

#include "automation/Dispatch.h"
#include "automation/StdFont.h"
#include "automation/StdPicture.h"

#include <QString>

#include <cstdint>
#include <memory>

// The global object of the library: fills and shows an about box from a
// program's application object, and offers a few conversions and a
// window-centring routine. It holds no state; each thread has one instance.
namespace quorrel {

class GMisc : public automation::Dispatch {
public:
    GMisc() = default;

    // The instance of the calling thread, created on first use.
    static std::shared_ptr<GMisc> instance();

    // The default interface _GMisc.
    static const automation::TypeInfo& classTypeInfo();
    const automation::TypeInfo& typeInfo() const override;

    // Fills an about box from the arguments and shows it modally over the
    // application's active window (no owner when there is none).
    void DoAboutBox(const QString& ProductName, const QString& Version, const QString& CopyrightMsg,
                    const automation::FontRef& Font, const automation::PictureRef& Icon, const QString& Notes = {},
                    bool bSysInfo = true);
    // Fills an about box from the application object `AppObj` (type name
    // "App": ProductName, Major, Minor, Revision, LegalCopyright, read by
    // name) and shows it over `Owner`. Another type name does nothing.
    void DoAboutBox2(const automation::ObjectRef& AppObj, const automation::ObjectRef& Owner,
                     const automation::PictureRef& Icon, const automation::FontRef& Font = {},
                     const QString& Notes = {}, bool SysInfo = true);
    void DoAboutBox3(const automation::ObjectRef& AppObj, const automation::ObjectRef& Owner,
                     const automation::PictureRef& Icon, const automation::FontRef& Font = {},
                     const QString& Notes = {}, bool SysInfo = true, const QString& Hyperlink = {});
    // A 16-bit number is true when not 0; the texts "TRUE" and "FALSE" in any
    // case are themselves; Empty and any other text give `bDefault`, any
    // other type false.
    bool FmtBool(const automation::Variant& vNum, bool bDefault = false);
    // "1.01.0000" for 1, 1, 0: Minor with two digits at least, Revision with
    // four at least, never cut.
    QString FmtVersion(std::int16_t Major, std::int16_t Minor, std::int16_t Revision);
    // Centres `F` on the primary screen through its Width, Left, Height and
    // Top, in twips, bound by name.
    void CenterForm(const automation::ObjectRef& F);

protected:
    automation::Variant invokeMember(const automation::MemberInfo& member,
                                     std::vector<automation::Variant>& params) override;

private:
    void fillAndShow(const automation::ObjectRef& AppObj, const automation::ObjectRef& Owner,
                     const automation::PictureRef& Icon, const automation::FontRef& Font, const QString& Notes,
                     bool SysInfo, const QString* Hyperlink);
};

} // namespace quorrel
