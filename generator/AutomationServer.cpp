#include "AutomationServer.h"

#include "automation/AutomationError.h"
#include "automation/Dispatch.h"
#include "ui/EventModel.h"

#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QMetaType>

#include <limits>
#include <optional>

using automation::DispId;
using automation::MemberInfo;
using automation::MemberKind;
using automation::ParamType;
using automation::TypeInfo;
using automation::Variant;
using automation::VarType;

namespace {

const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kIntrospectableInterface = QStringLiteral("org.freedesktop.DBus.Introspectable");
const QString kErrorInvalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
const QString kErrorUnknownMethod = QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod");
const QString kErrorUnknownInterface = QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface");
const QString kErrorUnknownProperty = QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty");
const QString kErrorReadOnly = QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly");
const QString kErrorFailed = QStringLiteral("org.freedesktop.DBus.Error.Failed");

// A reply that is a D-Bus error rather than a result.
struct RefusedCall {
    QString name;
    QString message;
};

[[noreturn]] void refuse(const QString& name, const QString& message) { throw RefusedCall{name, message}; }

QString signatureOf(ParamType type)
{
    switch (type) {
    case ParamType::Boolean: return QStringLiteral("b");
    case ParamType::Integer: return QStringLiteral("n");
    case ParamType::Long:
    case ParamType::Enum:
    case ParamType::Color: return QStringLiteral("i");
    case ParamType::Single:
    case ParamType::Double: return QStringLiteral("d");
    case ParamType::String: return QStringLiteral("s");
    default: return QStringLiteral("v");
    }
}

// A value that a client sent, in the automation type it stands for.
std::optional<Variant> fromDBus(const QVariant& value)
{
    const QVariant plain =
        value.metaType() == QMetaType::fromType<QDBusVariant>() ? value.value<QDBusVariant>().variant() : value;
    switch (plain.metaType().id()) {
    case QMetaType::Bool: return Variant(plain.toBool());
    case QMetaType::Short: return Variant(static_cast<std::int16_t>(plain.value<short>()));
    case QMetaType::UChar: return Variant(static_cast<std::int16_t>(plain.value<uchar>()));
    case QMetaType::Int: return Variant(static_cast<std::int32_t>(plain.toInt()));
    case QMetaType::UShort: return Variant(static_cast<std::int32_t>(plain.value<ushort>()));
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        const double number = plain.toDouble();
        if (number >= std::numeric_limits<std::int32_t>::min() && number <= std::numeric_limits<std::int32_t>::max())
            return Variant(static_cast<std::int32_t>(number));
        return Variant(number);
    }
    case QMetaType::Double: return Variant(plain.toDouble());
    case QMetaType::QString: return Variant(plain.toString());
    default: return std::nullopt;
    }
}

// Whether a value a client sent may stand for a parameter of the type:
// numbers for numbers (their range is checked by the conversion), a boolean
// for a Boolean, a string for a String.
bool fits(const Variant& value, ParamType type)
{
    switch (type) {
    case ParamType::Boolean: return value.type() == VarType::Boolean;
    case ParamType::String: return value.type() == VarType::String;
    case ParamType::Integer:
    case ParamType::Long:
    case ParamType::Single:
    case ParamType::Double:
    case ParamType::Enum:
    case ParamType::Color: return value.isNumeric() && value.type() != VarType::Boolean;
    case ParamType::Variant: return true;
    default: return false;
    }
}

Variant typedArgument(const QVariant& sent, ParamType type, const QString& what)
{
    const auto value = fromDBus(sent);
    if (!value || !fits(*value, type))
        refuse(kErrorInvalidArgs, QStringLiteral("%1 takes a value of D-Bus type \"%2\"").arg(what, signatureOf(type)));
    return automation::coerce(*value, type);
}

// A D-Bus string ends at its first NUL character, so a text holding one (a
// password drawn with non-printable characters may) would reach the client
// cut short. Such a text fails the call instead.
QString carriableText(const QString& text)
{
    if (text.contains(QChar(u'\0')))
        automation::raiseError(automation::ErrorNumber::InvalidProcedureCall,
                               QStringLiteral("The text holds the character 0, which a D-Bus string cannot carry"));
    return text;
}

QVariant toDBus(const Variant& value, ParamType type)
{
    switch (type) {
    case ParamType::Boolean: return QVariant::fromValue(value.toBool());
    case ParamType::Integer: return QVariant::fromValue(static_cast<short>(value.toInteger()));
    case ParamType::Long:
    case ParamType::Enum:
    case ParamType::Color: return QVariant::fromValue(static_cast<int>(value.toLong()));
    case ParamType::Single:
    case ParamType::Double: return QVariant::fromValue(value.toDouble());
    case ParamType::String: return QVariant::fromValue(carriableText(value.toString()));
    default: break;
    }
    switch (value.type()) {
    case VarType::Boolean: return QVariant::fromValue(value.toBool());
    case VarType::Integer: return QVariant::fromValue(static_cast<short>(value.toInteger()));
    case VarType::Long: return QVariant::fromValue(static_cast<int>(value.toLong()));
    case VarType::Single:
    case VarType::Double: return QVariant::fromValue(value.toDouble());
    case VarType::String: return QVariant::fromValue(carriableText(value.toString()));
    case VarType::Error: return QVariant::fromValue(static_cast<int>(value.errorCode()));
    default: return QVariant::fromValue(QString());
    }
}

std::optional<MemberKind> kindOf(const QString& name)
{
    if (name == QLatin1String("method"))
        return MemberKind::Method;
    if (name == QLatin1String("get"))
        return MemberKind::PropertyGet;
    if (name == QLatin1String("put"))
        return MemberKind::PropertyPut;
    return std::nullopt;
}

QString escaped(QString text) { return text.toHtmlEscaped(); }

// The property's type: the result of its read, or the value of its write.
ParamType propertyType(const TypeInfo& info, const QString& name)
{
    if (const MemberInfo* get = info.find(name, MemberKind::PropertyGet))
        return get->result;
    const MemberInfo* put = info.find(name, MemberKind::PropertyPut);
    return put && !put->params.empty() ? put->params.back().type : ParamType::Variant;
}

} // namespace

AutomationServer::AutomationServer(automation::Dispatch& object, QDBusConnection connection)
    : m_object(object),
      m_connection(std::move(connection)),
      m_watcher(new QDBusServiceWatcher(this))
{
    m_watcher->setConnection(m_connection);
    m_watcher->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, &AutomationServer::removeClient);
}

AutomationServer::~AutomationServer()
{
    if (m_registered) {
        m_connection.unregisterObject(QString::fromLatin1(kObjectPath));
        m_connection.unregisterService(QString::fromLatin1(kServiceName));
    }
}

bool AutomationServer::start()
{
    if (!m_connection.isConnected())
        return false;
    if (!m_connection.registerVirtualObject(QString::fromLatin1(kObjectPath), this, QDBusConnection::SingleNode))
        return false;
    const auto reply = m_connection.interface()->registerService(QString::fromLatin1(kServiceName),
                                                                 QDBusConnectionInterface::DontQueueService,
                                                                 QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        m_connection.unregisterObject(QString::fromLatin1(kObjectPath));
        return false;
    }
    m_registered = true;
    return true;
}

bool AutomationServer::handleMessage(const QDBusMessage& message, const QDBusConnection& /*connection*/)
{
    if (message.type() != QDBusMessage::MethodCallMessage)
        return false;
    // The description of the object touches nothing: it is answered at once,
    // also while a call waits for the user.
    if (message.interface() == kIntrospectableInterface && message.member() == QLatin1String("Introspect")) {
        m_connection.send(message.createReply(introspectionDocument()));
        return true;
    }
    addClient(message.service());
    message.setDelayedReply(true);
    m_queue.push_back(message);
    scheduleProcessing();
    return true;
}

void AutomationServer::addClient(const QString& uniqueName)
{
    if (uniqueName.isEmpty() || m_clients.contains(uniqueName))
        return;
    m_clients.insert(uniqueName);
    m_watcher->addWatchedService(uniqueName);
    // A client that wants no reply may leave before the watch is in place,
    // and its going is then never reported. The bus answers this question
    // after it has set up the watch: a client gone by then is dropped here.
    auto* check = new QDBusPendingCallWatcher(
        m_connection.interface()->asyncCall(QStringLiteral("NameHasOwner"), uniqueName), this);
    connect(check, &QDBusPendingCallWatcher::finished, this, [this, uniqueName](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<bool> present = *call;
        if (present.isValid() && !present.value())
            removeClient(uniqueName);
    });
}

void AutomationServer::removeClient(const QString& uniqueName)
{
    m_watcher->removeWatchedService(uniqueName);
    dropCallsOf(uniqueName);
    if (m_clients.remove(uniqueName) && m_clients.isEmpty())
        emit lastClientGone();
}

void AutomationServer::dropCallsOf(const QString& uniqueName)
{
    std::erase_if(m_queue, [&uniqueName](const QDBusMessage& call) { return call.service() == uniqueName; });
}

void AutomationServer::scheduleProcessing()
{
    if (m_processingScheduled || m_queue.empty())
        return;
    m_processingScheduled = true;
    ui::runAtTopLevel(this, [this] { processQueue(); });
}

// One call a turn of the top-level loop, so the user's own input, queued
// meanwhile, gets its turn between two calls.
void AutomationServer::processQueue()
{
    m_processingScheduled = false;
    if (m_running || m_queue.empty())
        return;
    const QDBusMessage message = m_queue.front();
    m_queue.pop_front();
    m_running = true;
    const QDBusMessage reply = execute(message);
    m_running = false;
    m_connection.send(reply);
    scheduleProcessing();
}

QDBusMessage AutomationServer::execute(const QDBusMessage& message)
{
    const TypeInfo& info = m_object.typeInfo();
    const QString interfaceName = message.interface();
    const QString member = message.member();
    const QVariantList in = message.arguments();
    try {
        if (interfaceName == kPropertiesInterface) {
            if (in.isEmpty() || in.at(0).toString() != QLatin1String(kInterfaceName))
                refuse(kErrorUnknownInterface, QStringLiteral("Properties live on %1").arg(QLatin1String(kInterfaceName)));
            if (member == QLatin1String("Get") && message.signature() == QLatin1String("ss")) {
                const QString name = in.at(1).toString();
                const MemberInfo* get = info.find(name, MemberKind::PropertyGet);
                if (!get)
                    refuse(kErrorUnknownProperty, QStringLiteral("No property \"%1\"").arg(name));
                std::vector<Variant> args;
                const Variant value = m_object.invoke(get->id, MemberKind::PropertyGet, args);
                return message.createReply(QVariant::fromValue(QDBusVariant(toDBus(value, get->result))));
            }
            if (member == QLatin1String("Set") && message.signature() == QLatin1String("ssv")) {
                const QString name = in.at(1).toString();
                const MemberInfo* put = info.find(name, MemberKind::PropertyPut);
                if (!put)
                    refuse(info.find(name, MemberKind::PropertyGet) ? kErrorReadOnly : kErrorUnknownProperty,
                           QStringLiteral("Property \"%1\" cannot be written").arg(name));
                std::vector<Variant> args{typedArgument(in.at(2), put->params.back().type, name)};
                m_object.invoke(put->id, MemberKind::PropertyPut, args);
                return message.createReply();
            }
            if (member == QLatin1String("GetAll") && message.signature() == QLatin1String("s")) {
                QVariantMap all;
                // Properties whose read fails, or may ask the user, are left out.
                for (const MemberInfo& property : info.members) {
                    if (property.kind != MemberKind::PropertyGet || property.mayAskUser)
                        continue;
                    try {
                        std::vector<Variant> args;
                        all.insert(property.name,
                                   toDBus(m_object.invoke(property.id, property.kind, args), property.result));
                    } catch (const automation::AutomationError&) {
                    }
                }
                return message.createReply(QVariant::fromValue(all));
            }
            refuse(kErrorUnknownMethod, QStringLiteral("No method %1.%2 with these arguments").arg(interfaceName, member));
        }

        if (interfaceName == QLatin1String(kDispatchInterfaceName)) {
            if (member == QLatin1String("GetIDsOfNames") && message.signature() == QLatin1String("s"))
                return message.createReply(QVariant::fromValue(static_cast<int>(m_object.idOfName(in.at(0).toString()))));
            if (member == QLatin1String("Invoke") && message.signature() == QLatin1String("isav")) {
                const auto kind = kindOf(in.at(1).toString());
                if (!kind)
                    refuse(kErrorInvalidArgs, QStringLiteral("The kind of a call is \"method\", \"get\" or \"put\""));
                std::vector<Variant> args;
                for (const QVariant& sent : qdbus_cast<QVariantList>(in.at(2))) {
                    const auto value = fromDBus(sent);
                    if (!value)
                        refuse(kErrorInvalidArgs, QStringLiteral("Arguments are booleans, numbers or strings"));
                    args.push_back(*value);
                }
                const Variant result = m_object.invoke(in.at(0).toInt(), *kind, args);
                // QtDBus sends each element of a list as a variant of its own:
                // the elements are the plain values.
                QVariantList out;
                for (const Variant& arg : args)
                    out << toDBus(arg, ParamType::Variant);
                return message.createReply(
                    {QVariant::fromValue(QDBusVariant(toDBus(result, ParamType::Variant))), QVariant::fromValue(out)});
            }
            refuse(kErrorUnknownMethod, QStringLiteral("No method %1.%2 with these arguments").arg(interfaceName, member));
        }

        if (!interfaceName.isEmpty() && interfaceName != QLatin1String(kInterfaceName))
            refuse(kErrorUnknownInterface, QStringLiteral("No interface %1").arg(interfaceName));
        const MemberInfo* method = info.find(member, MemberKind::Method);
        if (!method || method->name != member)
            refuse(kErrorUnknownMethod, QStringLiteral("No method %1").arg(member));
        QString expected;
        for (const auto& param : method->params)
            expected += signatureOf(param.type);
        if (message.signature() != expected)
            refuse(kErrorInvalidArgs, QStringLiteral("%1 takes (%2)").arg(member, expected));
        std::vector<Variant> args;
        for (qsizetype i = 0; i < in.size(); ++i)
            args.push_back(typedArgument(in.at(i), method->params[static_cast<std::size_t>(i)].type,
                                         method->params[static_cast<std::size_t>(i)].name));
        const Variant result = m_object.invoke(method->id, MemberKind::Method, args);
        QVariantList out;
        if (method->result != ParamType::Void)
            out << toDBus(result, method->result);
        for (std::size_t i = 0; i < method->params.size(); ++i) {
            if (method->params[i].byRef)
                out << toDBus(args[i], method->params[i].type);
        }
        return message.createReply(out);
    } catch (const RefusedCall& error) {
        return message.createErrorReply(error.name, error.message);
    } catch (const automation::AutomationError& error) {
        return message.createErrorReply(QStringLiteral("Vexlo.Error.E%1").arg(error.number()), error.description());
    } catch (const std::exception& error) {
        return message.createErrorReply(kErrorFailed, QString::fromLocal8Bit(error.what()));
    }
}

QString AutomationServer::introspectionDocument() const
{
    return QStringLiteral(
               "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"\n"
               " \"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n"
               "<node>\n"
               "  <interface name=\"org.freedesktop.DBus.Introspectable\">\n"
               "    <method name=\"Introspect\"><arg name=\"xml_data\" type=\"s\" direction=\"out\"/></method>\n"
               "  </interface>\n"
               "  <interface name=\"org.freedesktop.DBus.Peer\">\n"
               "    <method name=\"Ping\"/>\n"
               "    <method name=\"GetMachineId\"><arg name=\"machine_uuid\" type=\"s\" direction=\"out\"/></method>\n"
               "  </interface>\n"
               "  <interface name=\"org.freedesktop.DBus.Properties\">\n"
               "    <method name=\"Get\"><arg name=\"interface_name\" type=\"s\" direction=\"in\"/>"
               "<arg name=\"property_name\" type=\"s\" direction=\"in\"/><arg name=\"value\" type=\"v\" direction=\"out\"/></method>\n"
               "    <method name=\"GetAll\"><arg name=\"interface_name\" type=\"s\" direction=\"in\"/>"
               "<arg name=\"properties\" type=\"a{sv}\" direction=\"out\"/></method>\n"
               "    <method name=\"Set\"><arg name=\"interface_name\" type=\"s\" direction=\"in\"/>"
               "<arg name=\"property_name\" type=\"s\" direction=\"in\"/><arg name=\"value\" type=\"v\" direction=\"in\"/></method>\n"
               "  </interface>\n")
           + introspect(QString::fromLatin1(kObjectPath)) + QStringLiteral("</node>\n");
}

QString AutomationServer::introspect(const QString& /*path*/) const
{
    const TypeInfo& info = m_object.typeInfo();
    QString xml = QStringLiteral("  <interface name=\"%1\">\n").arg(QLatin1String(kInterfaceName));
    QStringList properties;
    for (const MemberInfo& member : info.members) {
        if (member.kind != MemberKind::Method && !properties.contains(member.name))
            properties << member.name;
    }
    for (const QString& name : properties) {
        const bool readable = info.find(name, MemberKind::PropertyGet);
        const bool writable = info.find(name, MemberKind::PropertyPut);
        xml += QStringLiteral("    <property name=\"%1\" type=\"%2\" access=\"%3\"/>\n")
                   .arg(escaped(name), signatureOf(propertyType(info, name)),
                        readable && writable ? QStringLiteral("readwrite")
                                             : readable ? QStringLiteral("read") : QStringLiteral("write"));
    }
    for (const MemberInfo& member : info.members) {
        if (member.kind != MemberKind::Method)
            continue;
        xml += QStringLiteral("    <method name=\"%1\">\n").arg(escaped(member.name));
        for (const auto& param : member.params)
            xml += QStringLiteral("      <arg name=\"%1\" type=\"%2\" direction=\"in\"/>\n")
                       .arg(escaped(param.name), signatureOf(param.type));
        if (member.result != ParamType::Void)
            xml += QStringLiteral("      <arg name=\"result\" type=\"%1\" direction=\"out\"/>\n").arg(signatureOf(member.result));
        for (const auto& param : member.params) {
            if (param.byRef)
                xml += QStringLiteral("      <arg name=\"%1\" type=\"%2\" direction=\"out\"/>\n")
                           .arg(escaped(param.name), signatureOf(param.type));
        }
        xml += QStringLiteral("    </method>\n");
    }
    xml += QStringLiteral("  </interface>\n");
    xml += QStringLiteral("  <interface name=\"%1\">\n"
                          "    <method name=\"GetIDsOfNames\">\n"
                          "      <arg name=\"name\" type=\"s\" direction=\"in\"/>\n"
                          "      <arg name=\"dispid\" type=\"i\" direction=\"out\"/>\n"
                          "    </method>\n"
                          "    <method name=\"Invoke\">\n"
                          "      <arg name=\"dispid\" type=\"i\" direction=\"in\"/>\n"
                          "      <arg name=\"kind\" type=\"s\" direction=\"in\"/>\n"
                          "      <arg name=\"args\" type=\"av\" direction=\"in\"/>\n"
                          "      <arg name=\"result\" type=\"v\" direction=\"out\"/>\n"
                          "      <arg name=\"args\" type=\"av\" direction=\"out\"/>\n"
                          "    </method>\n"
                          "  </interface>\n")
               .arg(QLatin1String(kDispatchInterfaceName));
    return xml;
}
