#include "quorrel/GMisc.h"

#include "quorrel/COrlaAboutDlg.h"
#include "quorrel/TypeLibrary.h"

#include "automation/AutomationError.h"
#include "ui/Twips.h"
#include "ui/WindowObject.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cstdlib>

namespace quorrel {
namespace {

using automation::MemberKind;
using automation::ObjectRef;
using automation::Variant;
using automation::VarType;

// A number in a format of zeros ("0#", "0###"): at least `digits` digits,
// zeros in front, never cut.
QString zeroPadded(std::int16_t number, int digits)
{
    const int magnitude = std::abs(static_cast<int>(number));
    const QString text = QStringLiteral("%1").arg(magnitude, digits, 10, QLatin1Char('0'));
    return number < 0 ? QStringLiteral("-") + text : text;
}

QSizeF primaryScreenTwips()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect pixels = screen->geometry();
    return {ui::pixelsToTwipsX(pixels.width()), ui::pixelsToTwipsY(pixels.height())};
}

} // namespace

std::shared_ptr<GMisc> GMisc::instance()
{
    thread_local const std::shared_ptr<GMisc> object = std::make_shared<GMisc>();
    return object;
}

void GMisc::DoAboutBox(const QString& ProductName, const QString& Version, const QString& CopyrightMsg,
                       const automation::FontRef& Font, const automation::PictureRef& Icon, const QString& Notes,
                       bool bSysInfo)
{
    const auto box = std::make_shared<COrlaAboutDlg>();
    box->setProductName(ProductName);
    box->setVersion(Version);
    box->setCopyrightMsg(CopyrightMsg);
    box->setSysInfo(bSysInfo);
    box->setNotes(Notes);
    box->setFont(Font);
    box->setPicture(Icon);
    QWidget* active = QApplication::activeWindow();
    box->Show(active ? ObjectRef(ui::WindowObject::create(active)) : ObjectRef());
}

void GMisc::DoAboutBox2(const ObjectRef& AppObj, const ObjectRef& Owner, const automation::PictureRef& Icon,
                        const automation::FontRef& Font, const QString& Notes, bool SysInfo)
{
    fillAndShow(AppObj, Owner, Icon, Font, Notes, SysInfo, nullptr);
}

void GMisc::DoAboutBox3(const ObjectRef& AppObj, const ObjectRef& Owner, const automation::PictureRef& Icon,
                        const automation::FontRef& Font, const QString& Notes, bool SysInfo, const QString& Hyperlink)
{
    fillAndShow(AppObj, Owner, Icon, Font, Notes, SysInfo, &Hyperlink);
}

void GMisc::fillAndShow(const ObjectRef& AppObj, const ObjectRef& Owner, const automation::PictureRef& Icon,
                        const automation::FontRef& Font, const QString& Notes, bool SysInfo, const QString* Hyperlink)
{
    const QString typeName = AppObj ? AppObj->typeName() : QStringLiteral("Nothing");
    if (typeName != QLatin1String("App"))
        return;
    const auto box = std::make_shared<COrlaAboutDlg>();
    box->setProductName(AppObj->getProperty(QStringLiteral("ProductName")).toString());
    std::vector<Variant> version{AppObj->getProperty(QStringLiteral("Major")).toInteger(),
                                 AppObj->getProperty(QStringLiteral("Minor")).toInteger(),
                                 AppObj->getProperty(QStringLiteral("Revision")).toInteger()};
    box->setVersion(invoke(GMiscDispId::FmtVersion, MemberKind::Method, version).toString());
    box->setCopyrightMsg(AppObj->getProperty(QStringLiteral("LegalCopyright")).toString());
    box->setSysInfo(SysInfo);
    box->setNotes(Notes);
    if (Hyperlink)
        box->setHyperlink(*Hyperlink);
    if (Font)
        box->setFont(Font);
    box->setPicture(Icon);
    box->Show(Owner);
}

bool GMisc::FmtBool(const Variant& vNum, bool bDefault)
{
    const Variant value = vNum.value();
    switch (value.type()) {
    case VarType::Empty: return bDefault;
    case VarType::Integer: return value.toInteger() != 0;
    case VarType::String: {
        const QString upper = value.toString().toUpper();
        if (upper == QLatin1String("TRUE"))
            return true;
        if (upper == QLatin1String("FALSE"))
            return false;
        return bDefault;
    }
    default: return false;
    }
}

QString GMisc::FmtVersion(std::int16_t Major, std::int16_t Minor, std::int16_t Revision)
{
    return QString::number(Major) + QLatin1Char('.') + zeroPadded(Minor, 2) + QLatin1Char('.') + zeroPadded(Revision, 4);
}

void GMisc::CenterForm(const ObjectRef& F)
{
    if (!F)
        automation::raiseError(automation::ErrorNumber::ObjectNotSet);
    const QSizeF screen = primaryScreenTwips();
    const double width = F->getProperty(QStringLiteral("Width")).toDouble();
    F->putProperty(QStringLiteral("Left"), (screen.width() - width) / 2.0);
    const double height = F->getProperty(QStringLiteral("Height")).toDouble();
    F->putProperty(QStringLiteral("Top"), (screen.height() - height) / 2.0);
}

Variant GMisc::invokeMember(const automation::MemberInfo& member, std::vector<Variant>& params)
{
    namespace Id = GMiscDispId;
    const auto picture = [](const Variant& value) {
        return std::dynamic_pointer_cast<automation::StdPicture>(value.toObject());
    };
    switch (member.id) {
    case Id::DoAboutBox:
        DoAboutBox(params[0].toString(), params[1].toString(), params[2].toString(),
                   automation::variantToFont(params[3]), picture(params[4]), params[5].toString(), params[6].toBool());
        return {};
    case Id::DoAboutBox2:
        DoAboutBox2(params[0].toObject(), params[1].toObject(), picture(params[2]), automation::variantToFont(params[3]),
                    params[4].toString(), params[5].toBool());
        return {};
    case Id::DoAboutBox3:
        DoAboutBox3(params[0].toObject(), params[1].toObject(), picture(params[2]), automation::variantToFont(params[3]),
                    params[4].toString(), params[5].toBool(), params[6].toString());
        return {};
    case Id::FmtBool: return FmtBool(params[0], params[1].toBool());
    case Id::FmtVersion: return FmtVersion(params[0].toInteger(), params[1].toInteger(), params[2].toInteger());
    case Id::CenterForm: CenterForm(params[0].toObject()); return {};
    }
    automation::raiseError(automation::ErrorNumber::NotSupported);
}

} // namespace quorrel
