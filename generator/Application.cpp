#include "Application.h"

#include "AppInfo.h"
#include "frmMain.h"
#include "frmMainWindow.h"

#include "automation/AutomationError.h"
#include "automation/Conversions.h"
#include "services/Shell.h"
#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>

using automation::DispId;
using automation::MemberInfo;
using automation::MemberKind;
using automation::ParamInfo;
using automation::ParamType;
using automation::Variant;

namespace {

enum ApplicationDispId : DispId {
    DispVisible = 0x68030000,
    DispSymbolChars = 0x68030001,
    DispNonPrintableChars = 0x68030002,
    DispSeed = 0x68030003,
    DispPassLength = 0x68030004,
    DispMemoryName = 0x68030005,
    DispProcID = 0x68030006,
    DispAllowUI = 0x68030007,
    DispGenerate = 0x60030008,
    DispCopy = 0x60030009,
    DispSave = 0x6003000A,
    DispTerminate = 0x6003000B,
    DispShow = 0x6003000C,
};

// A property's write takes its value by reference and never changes it.
MemberInfo propertyPut(const char* name, DispId id, ParamType type)
{
    return automation::propertyPut(QString::fromLatin1(name), id, type, {}, MemberKind::PropertyPut, true);
}

MemberInfo propertyGet(const char* name, DispId id, ParamType type)
{
    return automation::propertyGet(QString::fromLatin1(name), id, type);
}

MemberInfo method(const char* name, DispId id, ParamType result, std::vector<ParamInfo> params = {})
{
    return {QString::fromLatin1(name), id, MemberKind::Method, result, std::move(params)};
}

// Reading the seed warns the user about a seed box that holds no number.
MemberInfo seedGet()
{
    MemberInfo member = propertyGet("Seed", DispSeed, ParamType::Integer);
    member.mayAskUser = true;
    return member;
}

bool isChecked(const QCheckBox* box) { return box->checkState() != Qt::Unchecked; }

} // namespace

const QUuid Application::kTypeLibraryId{QStringLiteral("{46ED1248-A713-44F9-8483-6BC01ADEAEC9}")};
const QUuid Application::kClassId{QStringLiteral("{9C1F2290-6B94-4607-9FBE-A2FC840B9146}")};
const QUuid Application::kInterfaceId{QStringLiteral("{CCD775F7-D260-4DB9-A030-E6E6F9BD7670}")};

Application::Application(frmMain& form) : m_form(form) {}

const automation::TypeInfo& Application::typeInfo() const
{
    // In the order of the interface's function table; a property's write
    // stands before its read.
    static const automation::TypeInfo info{
        QStringLiteral("Application"),
        QStringLiteral("_Application"),
        kInterfaceId,
        {
            propertyPut("AllowUI", DispAllowUI, ParamType::Boolean),
            propertyGet("AllowUI", DispAllowUI, ParamType::Boolean),
            propertyGet("ProcID", DispProcID, ParamType::Long),
            propertyPut("MemoryName", DispMemoryName, ParamType::String),
            propertyGet("MemoryName", DispMemoryName, ParamType::String),
            propertyPut("PassLength", DispPassLength, ParamType::Integer),
            propertyGet("PassLength", DispPassLength, ParamType::Integer),
            propertyPut("Seed", DispSeed, ParamType::Integer),
            seedGet(),
            propertyPut("NonPrintableChars", DispNonPrintableChars, ParamType::Boolean),
            propertyGet("NonPrintableChars", DispNonPrintableChars, ParamType::Boolean),
            propertyPut("SymbolChars", DispSymbolChars, ParamType::Boolean),
            propertyGet("SymbolChars", DispSymbolChars, ParamType::Boolean),
            propertyPut("Visible", DispVisible, ParamType::Boolean),
            propertyGet("Visible", DispVisible, ParamType::Boolean),
            method("Generate", DispGenerate, ParamType::String),
            method("Copy", DispCopy, ParamType::String),
            method("Save", DispSave, ParamType::Boolean,
                   {ParamInfo{QStringLiteral("FileName"), ParamType::String, true, true, QString()},
                    ParamInfo{QStringLiteral("Description"), ParamType::String, true, true, QString()}}),
            method("Terminate", DispTerminate, ParamType::Void),
            method("Show", DispShow, ParamType::Void),
        }};
    return info;
}

std::int32_t Application::ProcID()
{
    return services::GetWindowProcessId(static_cast<std::uintptr_t>(m_form.window().winId()));
}

// MemoryName is a field of the window object, not of its loaded controls:
// it needs no loaded window.
QString Application::MemoryName() const { return m_form.MemoryName; }

void Application::setMemoryName(const QString& value) { m_form.MemoryName = value; }

std::int16_t Application::PassLength() { return Variant(m_form.window().txtPassLen->text()).toInteger(); }

void Application::setPassLength(const std::int16_t& value)
{
    frmMainWindow& w = m_form.window();
    // -32768 has no positive 16-bit form.
    if (value == std::numeric_limits<std::int16_t>::min())
        automation::raiseError(automation::ErrorNumber::Overflow);
    w.txtPassLen->setText(automation::numberToText(static_cast<std::int32_t>(value < 0 ? -value : value)));
}

std::int16_t Application::Seed()
{
    try {
        frmMainWindow& w = m_form.window();
        if (w.optSeed[0]->isChecked())
            return -1;
        return Variant(w.txtSeed->text()).toInteger();
    } catch (const automation::AutomationError& error) {
        const QString text = QStringLiteral("Script error: Seed (") + error.source() + QStringLiteral(")\r")
                             + QStringLiteral("Error Code: ") + QString::number(error.number()) + u'\r'
                             + error.description();
        ui::messageBox(QString::fromLatin1(kAppTitle), text, ui::MessageIcon::Exclamation, ui::MessageButtons::OK,
                       m_form.isVisible() ? &m_form.window() : nullptr);
        return 0;
    }
}

void Application::setSeed(const std::int16_t& value)
{
    frmMainWindow& w = m_form.window();
    if (value < 0) {
        m_form.SelectSeedOption(0);
        return;
    }
    m_form.SelectSeedOption(1);
    w.txtSeed->setText(automation::numberToText(static_cast<std::int32_t>(value)));
}

bool Application::NonPrintableChars() { return isChecked(m_form.window().chkNonPrintChars); }

void Application::setNonPrintableChars(const bool& value) { m_form.window().chkNonPrintChars->setChecked(value); }

bool Application::SymbolChars() { return isChecked(m_form.window().chkSymbolChars); }

void Application::setSymbolChars(const bool& value) { m_form.window().chkSymbolChars->setChecked(value); }

bool Application::Visible() { return m_form.window().isVisible(); }

void Application::setVisible(const bool& value)
{
    if (value)
        m_form.Show();
    else
        m_form.window().hide();
}

QString Application::Generate() { return m_form.Generate(); }

QString Application::Copy() { return m_form.Copy(); }

// The server's working folder means nothing to a client, so a file name that
// a client gives must say where the file goes.
bool Application::Save(QString& FileName, QString& Description)
{
    if (!FileName.isEmpty() && QDir::isRelativePath(FileName)) {
        const int number = automation::ErrorNumber::BadFileNameOrNumber;
        automation::raiseError(number, QStringLiteral("%1: \"%2\" is not a full path")
                                           .arg(automation::standardDescription(number), FileName));
    }
    return m_form.Save(FileName, Description);
}

void Application::Terminate() { m_form.Unload(); }

void Application::Show() { m_form.Show(); }

Variant Application::invokeMember(const MemberInfo& member, std::vector<Variant>& params)
{
    const bool put = member.kind == MemberKind::PropertyPut;
    switch (member.id) {
    case DispAllowUI:
        if (put)
            return setAllowUI(params[0].toBool()), Variant();
        return AllowUI();
    case DispProcID: return ProcID();
    case DispMemoryName:
        if (put)
            return setMemoryName(params[0].toString()), Variant();
        return MemoryName();
    case DispPassLength:
        if (put)
            return setPassLength(params[0].toInteger()), Variant();
        return PassLength();
    case DispSeed:
        if (put)
            return setSeed(params[0].toInteger()), Variant();
        return Seed();
    case DispNonPrintableChars:
        if (put)
            return setNonPrintableChars(params[0].toBool()), Variant();
        return NonPrintableChars();
    case DispSymbolChars:
        if (put)
            return setSymbolChars(params[0].toBool()), Variant();
        return SymbolChars();
    case DispVisible:
        if (put)
            return setVisible(params[0].toBool()), Variant();
        return Visible();
    case DispGenerate: return Generate();
    case DispCopy: return Copy();
    case DispSave: {
        QString fileName = params[0].toString();
        QString description = params[1].toString();
        const bool saved = Save(fileName, description);
        params[0].assign(fileName);
        params[1].assign(description);
        return saved;
    }
    case DispTerminate: return Terminate(), Variant();
    case DispShow: return Show(), Variant();
    }
    automation::raiseError(automation::ErrorNumber::NotSupported);
}
