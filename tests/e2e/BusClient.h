#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>

// What a client program got back from a call.
struct BusReply {
    bool ok = false;
    QVariantList values; // the reply's values, as e2e::parseGVariantText reads them
    QString errorName;   // for example "Vexlo.Error.E13"
    QString errorMessage;
    QString output; // everything the client printed, for failure messages

    QVariant value(int index = 0) const { return values.value(index); }
};

// A client program's call that may not have returned yet.
class PendingBusCall {
public:
    explicit PendingBusCall(std::unique_ptr<QProcess> process);
    ~PendingBusCall();

    // True once the client has its reply (or gave up).
    bool isFinished();
    bool waitForFinished(int milliseconds);
    // Waits for the reply when it has not come yet.
    BusReply reply();

private:
    std::unique_ptr<QProcess> m_process;
};

// Calls the members of one object through `gdbus call`, a client program of
// its own: every call is a new connection to the bus.
class BusClient {
public:
    BusClient(QProcessEnvironment environment, QString destination, QString objectPath);

    // `method` is interface and member, "Vexlo._Application.Generate"; the
    // arguments are in gdbus's text form ("<int16 -12>", "'text'").
    std::unique_ptr<PendingBusCall> start(const QString& method, const QStringList& arguments = {}) const;
    BusReply call(const QString& method, const QStringList& arguments = {}) const;

    // Properties.Get and Properties.Set on the object's main interface.
    BusReply get(const QString& property) const;
    BusReply set(const QString& property, const QString& value) const;

    // The same call through `dbus-send`, which sends arguments exactly as
    // typed ("int32:5") without looking up the member's types first.
    BusReply sendUnchecked(const QString& method, const QStringList& typedArguments) const;
    // A call through `dbus-send` that asks for no reply: the client sends it
    // and leaves the bus at once. True when it was sent.
    bool sendWithoutReply(const QString& method, const QStringList& typedArguments = {}) const;

    static constexpr const char* kMainInterface = "Vexlo._Application";

private:
    BusReply runDbusSend(const QStringList& options, const QString& method, const QStringList& typedArguments) const;

    QProcessEnvironment m_environment;
    QString m_destination;
    QString m_objectPath;
};
