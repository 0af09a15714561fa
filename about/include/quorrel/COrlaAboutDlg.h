#pragma once

#include "automation/Dispatch.h"
#include "automation/StdFont.h"
#include "automation/StdPicture.h"

#include <QString>

// The about box: it collects what the box shows and displays the thread's
// dialog modally over an owner window.
//
// The owner is any automation object that answers "hWnd" (the window id of
// one of this process's windows), as a form does; Nothing, or an object
// without it, shows the dialog without an owner.
namespace quorrel {

class COrlaAboutDlg : public automation::Dispatch {
public:
    COrlaAboutDlg() = default;

    // The default interface _COrlaAboutDlg.
    static const automation::TypeInfo& classTypeInfo();
    const automation::TypeInfo& typeInfo() const override;

    const QString& ProductName() const { return m_ProductName; }
    void setProductName(const QString& New_ProductName) { m_ProductName = New_ProductName; }
    const QString& CopyrightMsg() const { return m_CopyrightMsg; }
    void setCopyrightMsg(const QString& New_CopyrightMsg) { m_CopyrightMsg = New_CopyrightMsg; }
    // Stored by reference: the object itself, never a copy.
    const automation::PictureRef& Picture() const { return m_Picture; }
    void setPicture(automation::PictureRef New_Picture) { m_Picture = std::move(New_Picture); }
    // Kept and returned; the dialog does not use it.
    const automation::FontRef& Font() const { return m_Font; }
    void setFont(automation::FontRef New_Font) { m_Font = std::move(New_Font); }
    const QString& Version() const { return m_Version; }
    void setVersion(const QString& New_Version) { m_Version = New_Version; }
    bool SysInfo() const { return m_SysInfo; }
    void setSysInfo(bool New_SysInfo) { m_SysInfo = New_SysInfo; }
    const QString& Notes() const { return m_Notes; }
    void setNotes(const QString& New_Notes) { m_Notes = New_Notes; }
    const QString& Hyperlink() const { return m_Hyperlink; }
    void setHyperlink(const QString& New_Hyperlink) { m_Hyperlink = New_Hyperlink; }

    // Fills the thread's dialog and shows it modally over `Owner`; returns
    // when it has been closed. A Picture that is not an icon fails with 13,
    // no Picture with 91; the dialog is then loaded with the texts but not
    // shown.
    void Show(const automation::ObjectRef& Owner);

protected:
    automation::Variant invokeMember(const automation::MemberInfo& member,
                                     std::vector<automation::Variant>& params) override;

private:
    QString m_ProductName;
    QString m_CopyrightMsg;
    automation::PictureRef m_Picture;
    automation::FontRef m_Font;
    QString m_Version;
    bool m_SysInfo = false;
    QString m_Notes;
    QString m_Hyperlink;
};

} // namespace quorrel
