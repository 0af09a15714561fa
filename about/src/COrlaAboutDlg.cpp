#include "quorrel/COrlaAboutDlg.h"
#include "quorrel/TypeLibrary.h"

#include "frmAbout.h"
#include "frmAboutWindow.h"

#include "automation/AutomationError.h"
#include "services/Shell.h"
#include "ui/WindowObject.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace quorrel {
namespace {

using automation::ObjectRef;
using automation::StdPicture;
using automation::Variant;

// The window an owner object stands for: a widget that is itself the
// object, or the window whose id the object answers as "hWnd".
QWidget* ownerWindowOf(const ObjectRef& owner)
{
    if (!owner)
        return nullptr;
    if (auto* widget = dynamic_cast<QWidget*>(owner.get()))
        return widget->window();
    if (auto* window = dynamic_cast<ui::WindowObject*>(owner.get()))
        return window->window() ? window->window()->window() : nullptr;
    try {
        const qint64 handle = owner->getProperty(QStringLiteral("hWnd")).toLong();
        if (QWidget* widget = QWidget::find(static_cast<WId>(handle)))
            return widget->window();
    } catch (const automation::AutomationError&) {
    }
    return nullptr;
}

} // namespace

void COrlaAboutDlg::Show(const ObjectRef& Owner)
{
    frmAbout& form = frmAbout::instance();
    frmAboutWindow& dialog = form.window();
    frmAboutWindow::setCaption(dialog.lblProductName, m_ProductName + QChar(13) + QStringLiteral("Version: ") + m_Version);
    frmAboutWindow::setCaption(dialog.lblCopyrightMsg, m_CopyrightMsg);
    frmAboutWindow::setCaption(dialog.lblDescription, m_Notes);
    dialog.cmdSysInfo->setVisible(m_SysInfo);
    dialog.setHyperlinkCaption(m_Hyperlink);
    if (!m_Picture)
        automation::raiseError(automation::ErrorNumber::ObjectNotSet);
    if (m_Picture->type() != StdPicture::Icon)
        services::RaiseError(automation::ErrorNumber::TypeMismatch);
    frmAboutWindow::setPicture(dialog.picIcon, m_Picture->icon().pixmap(32, 32));
    form.showModal(ownerWindowOf(Owner));
}

Variant COrlaAboutDlg::invokeMember(const automation::MemberInfo& member, std::vector<Variant>& params)
{
    namespace Id = COrlaAboutDlgDispId;
    using automation::MemberKind;
    const bool get = member.kind == MemberKind::PropertyGet;
    switch (member.id) {
    case Id::Hyperlink:
        if (get)
            return m_Hyperlink;
        setHyperlink(params[0].toString());
        return {};
    case Id::Notes:
        if (get)
            return m_Notes;
        setNotes(params[0].toString());
        return {};
    case Id::SysInfo:
        if (get)
            return m_SysInfo;
        setSysInfo(params[0].toBool());
        return {};
    case Id::Version:
        if (get)
            return m_Version;
        setVersion(params[0].toString());
        return {};
    case Id::Show: Show(params[0].toObject()); return {};
    case Id::Font:
        if (get)
            return ObjectRef(m_Font);
        setFont(automation::variantToFont(params[0]));
        return {};
    case Id::Picture:
        if (get)
            return ObjectRef(m_Picture);
        setPicture(std::dynamic_pointer_cast<StdPicture>(params[0].toObject()));
        return {};
    case Id::CopyrightMsg:
        if (get)
            return m_CopyrightMsg;
        setCopyrightMsg(params[0].toString());
        return {};
    case Id::ProductName:
        if (get)
            return m_ProductName;
        setProductName(params[0].toString());
        return {};
    }
    automation::raiseError(automation::ErrorNumber::NotSupported);
}

} // namespace quorrel
