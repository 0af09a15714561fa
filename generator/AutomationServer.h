#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QSet>
#include <QString>

#include <deque>

class QDBusServiceWatcher;

namespace automation {
class Dispatch;
}

// Serves an automation object on the D-Bus session bus.
//
//   name      Vexlo.Application
//   path      /Vexlo/Application
//   Vexlo._Application   the object's properties and methods under their own
//                        names and types (Boolean b, Integer n, Long i,
//                        String s); Save(s FileName, s Description) ->
//                        (b result, s FileName, s Description)
//   Vexlo.Dispatch       GetIDsOfNames(s name) -> i
//                        Invoke(i dispid, s kind, av args) -> (v result, av args)
//                        with kind "method", "get" or "put"; the returned
//                        args carry the by-reference results; an Empty
//                        result travels as the empty string
//
// A failure becomes the D-Bus error Vexlo.Error.E<number> whose message is
// the error's description; arguments of the wrong D-Bus type are refused
// with org.freedesktop.DBus.Error.InvalidArgs. A D-Bus string cannot hold
// the character 0: a result text holding one (a password drawn with
// non-printable characters may) fails the call with Vexlo.Error.E5. The interface description
// that clients see is made from the object's type-info table.
//
// Calls are served one at a time, in arrival order, between the user's own
// actions, each on a turn of the top-level event loop of its own: a call that
// arrives while another call or a handler of the window waits (a dialog is
// open, a password is being generated) waits its turn and is answered later;
// it never runs inside another (ui/EventModel.h).
//
// A client holds the object from its first call until its connection to the
// bus closes. The calls it left waiting are then dropped unanswered: they
// open no dialog and change nothing. A call that has started runs to its end.
class AutomationServer : public QDBusVirtualObject {
    Q_OBJECT

public:
    static constexpr const char* kServiceName = "Vexlo.Application";
    static constexpr const char* kObjectPath = "/Vexlo/Application";
    static constexpr const char* kInterfaceName = "Vexlo._Application";
    static constexpr const char* kDispatchInterfaceName = "Vexlo.Dispatch";

    AutomationServer(automation::Dispatch& object, QDBusConnection connection);
    ~AutomationServer() override;

    // Registers the object and takes the service name. False when there is no
    // bus or another process already serves the name; the program then runs
    // without serving.
    bool start();

    bool hasClients() const { return !m_clients.isEmpty(); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString& path) const override;
    // The whole introspection document of the object, standard interfaces included.
    QString introspectionDocument() const;

signals:
    // The last client's connection closed.
    void lastClientGone();

private:
    void scheduleProcessing();
    void processQueue();
    void dropCallsOf(const QString& uniqueName);
    QDBusMessage execute(const QDBusMessage& message);
    void addClient(const QString& uniqueName);
    void removeClient(const QString& uniqueName);

    automation::Dispatch& m_object;
    QDBusConnection m_connection;
    QDBusServiceWatcher* m_watcher;
    QSet<QString> m_clients;
    std::deque<QDBusMessage> m_queue;
    bool m_running = false;
    bool m_processingScheduled = false;
    bool m_registered = false;
};
