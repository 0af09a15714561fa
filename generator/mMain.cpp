#include "mMain.h"

#include "AppInfo.h"
#include "Application.h"
#include "AutomationServer.h"
#include "frmMain.h"
#include "frmMainWindow.h"

#include "automation/AutomationError.h"
#include "system/TerminationSignals.h"
#include "ui/Dialogs.h"
#include "ui/EventModel.h"
#include "ui/Fonts.h"
#include "ui/SecretClipboard.h"

#include <QApplication>
#include <QDBusConnection>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

namespace mMain {
namespace {

const char* const kClipboardKeeper = "vexlo-clipboard";
// The longest the automation server waits for the window's first paint.
constexpr int kServeAtTheLatestMs = 500;

// Runs an action once, in the event loop, right after a widget has painted
// for the first time (or after a timeout, whichever comes first): work the
// user need not wait for goes after the window is on the screen.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget* widget, std::function<void()> action) : m_action(std::move(action))
    {
        widget->installEventFilter(this);
        QTimer::singleShot(kServeAtTheLatestMs, this, [this] { run(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { run(); });
        }
        return false;
    }

private:
    // Runs from a timer: nothing may pass from here into the event loop.
    void run()
    {
        auto action = std::exchange(m_action, nullptr);
        if (!action)
            return;
        try {
            action();
        } catch (const std::exception& error) {
            qWarning("Vexlo: the work after the first paint failed: %s", error.what());
        } catch (...) {
            qWarning("Vexlo: the work after the first paint failed");
        }
    }
    std::function<void()> m_action;
};

// Ends the program from the top-level loop, once every wait has ended: an
// exit inside a wait would end the waits' own loops too and cut a
// generation's pacing or a dialog short.
void endProgram(QObject* context)
{
    ui::runAtTopLevel(context, [] { QCoreApplication::exit(0); });
}

} // namespace

int Main(int argc, char** argv)
{
    ui::FontPreparation fonts; // meanwhile, on another core
    QApplication app(argc, argv);
    fonts.wait();
    QApplication::setApplicationName(QStringLiteral("Vexlo"));
    QApplication::setApplicationVersion(QStringLiteral(VEXLO_VERSION));
    QApplication::setWindowIcon(programIcon());
    // Desktop shells match the window to the installed desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vexlo.Vexlo"));
    // The process lives while the window is loaded or a client holds the
    // automation object; the Close button ends it at once.
    QApplication::setQuitOnLastWindowClosed(false);

    frmMain form;
    Application application(form);
    std::unique_ptr<AutomationServer> server;

    // A desktop session that ends, a kill or Ctrl+C: the open dialogs close
    // unanswered, the running handler finishes, and the program ends through
    // its event loop, so a copied password still reaches the keeper below.
    sysapi::TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &sysapi::TerminationSignals::received, &app, [&app] {
        ui::endWaits();
        endProgram(&app);
    });

    QObject::connect(&form, &frmMain::endProgramRequested, &app, [&app] { endProgram(&app); });
    QObject::connect(&form, &frmMain::unloaded, &app, [&app, &server] {
        if (!server || !server->hasClients())
            endProgram(&app);
    });

    try {
        form.Show();
    } catch (const automation::AutomationError& error) {
        ui::messageBox(QString::fromLatin1(kAppTitle),
                       QStringLiteral("Error %1: %2").arg(error.number()).arg(error.description()),
                       ui::MessageIcon::Critical);
        return 1;
    }

    // The window comes first; the program offers itself on the session bus
    // once the window is on the screen. Calls of a client that started the
    // program wait for the name meanwhile. Without a session bus, or with
    // another copy serving the name, the window still works; it is just not
    // offered to other programs.
    AfterFirstPaint serveWhenShown(&form.window(), [&] {
        server = std::make_unique<AutomationServer>(application, QDBusConnection::sessionBus());
        // With the last client gone, nobody can show a hidden window again:
        // it is shown, so the user can close it; an unloaded one ends the
        // program.
        QObject::connect(server.get(), &AutomationServer::lastClientGone, &app, [&app, &form, &server] {
            ui::runAtTopLevel(&app, [&app, &form, &server] {
                if (server->hasClients())
                    return;
                if (!form.isLoaded())
                    endProgram(&app);
                else if (!form.isVisible())
                    form.Show();
            });
        });
        server->start();
    });
    const int exitCode = QApplication::exec();
    // A copied password stays on the clipboard after the program has ended.
    ui::handOverClipboard(QCoreApplication::applicationDirPath() + u'/' + QLatin1String(kClipboardKeeper));
    return exitCode;
}

} // namespace mMain
