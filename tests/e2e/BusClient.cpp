#include "BusClient.h"

#include "GVariantText.h"

#include <QRegularExpression>

namespace {

const int kCallTimeout = 60000;

BusReply gdbusReply(QProcess& process)
{
    BusReply reply;
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    reply.output = out + err;
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) {
        const auto values = e2e::parseGVariantText(out.trimmed());
        reply.ok = values.has_value();
        reply.values = values ? values->toList() : QVariantList();
        if (!reply.ok)
            reply.errorMessage = QStringLiteral("unreadable reply: ") + out;
        return reply;
    }
    // "Error: GDBus.Error:Vexlo.Error.E13: Type mismatch"
    static const QRegularExpression remoteError(QStringLiteral("GDBus\\.Error:([^:\\s]+): ([^\\n]*)"));
    const auto match = remoteError.match(err);
    if (match.hasMatch()) {
        reply.errorName = match.captured(1);
        reply.errorMessage = match.captured(2);
    } else {
        reply.errorMessage = err.trimmed();
    }
    return reply;
}

BusReply dbusSendReply(QProcess& process)
{
    BusReply reply;
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    reply.output = out + err;
    reply.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    // "Error org.freedesktop.DBus.Error.InvalidArgs: Save takes (ss)"
    static const QRegularExpression remoteError(QStringLiteral("^Error ([^:\\s]+): ([^\\n]*)"),
                                                QRegularExpression::MultilineOption);
    const auto match = remoteError.match(err);
    if (match.hasMatch()) {
        reply.errorName = match.captured(1);
        reply.errorMessage = match.captured(2);
    }
    return reply;
}

} // namespace

PendingBusCall::PendingBusCall(std::unique_ptr<QProcess> process) : m_process(std::move(process)) {}

PendingBusCall::~PendingBusCall()
{
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

bool PendingBusCall::isFinished() { return waitForFinished(0); }

bool PendingBusCall::waitForFinished(int milliseconds)
{
    if (m_process->state() == QProcess::NotRunning)
        return true;
    return m_process->waitForFinished(milliseconds);
}

BusReply PendingBusCall::reply()
{
    if (!waitForFinished(kCallTimeout)) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
    return gdbusReply(*m_process);
}

BusClient::BusClient(QProcessEnvironment environment, QString destination, QString objectPath)
    : m_environment(std::move(environment)),
      m_destination(std::move(destination)),
      m_objectPath(std::move(objectPath))
{
}

std::unique_ptr<PendingBusCall> BusClient::start(const QString& method, const QStringList& arguments) const
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(m_environment);
    process->start(QStringLiteral("gdbus"),
                   QStringList{QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--timeout"),
                               QString::number(kCallTimeout / 1000), QStringLiteral("--dest"), m_destination,
                               QStringLiteral("--object-path"), m_objectPath, QStringLiteral("--method"), method}
                       + arguments);
    process->waitForStarted();
    return std::make_unique<PendingBusCall>(std::move(process));
}

BusReply BusClient::call(const QString& method, const QStringList& arguments) const
{
    return start(method, arguments)->reply();
}

BusReply BusClient::get(const QString& property) const
{
    return call(QStringLiteral("org.freedesktop.DBus.Properties.Get"), {QLatin1String(kMainInterface), property});
}

BusReply BusClient::set(const QString& property, const QString& value) const
{
    return call(QStringLiteral("org.freedesktop.DBus.Properties.Set"),
                {QLatin1String(kMainInterface), property, value});
}

BusReply BusClient::sendUnchecked(const QString& method, const QStringList& typedArguments) const
{
    return runDbusSend({QStringLiteral("--print-reply"), QStringLiteral("--reply-timeout=") + QString::number(kCallTimeout)},
                       method, typedArguments);
}

bool BusClient::sendWithoutReply(const QString& method, const QStringList& typedArguments) const
{
    return runDbusSend({}, method, typedArguments).ok;
}

BusReply BusClient::runDbusSend(const QStringList& options, const QString& method, const QStringList& typedArguments) const
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(QStringLiteral("dbus-send"),
                  QStringList{QStringLiteral("--session"), QStringLiteral("--type=method_call"),
                              QStringLiteral("--dest=") + m_destination}
                      + options + QStringList{m_objectPath, method} + typedArguments);
    if (!process.waitForFinished(kCallTimeout + 5000))
        process.kill();
    process.waitForFinished(5000);
    return dbusSendReply(process);
}
