#include "mMain.h"

#include "AppInfo.h"
#include "Application.h"
#include "AutomationServer.h"
#include "frmMain.h"
#include "frmMainWindow.h"

#include "automation/AutomationError.h"
#include "ui/Dialogs.h"
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
    void run()
    {
        if (auto action = std::exchange(m_action, nullptr))
            action();
    }
    std::function<void()> m_action;
};

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

    QObject::connect(&form, &frmMain::endProgramRequested, &app, [] { QCoreApplication::exit(0); });
    QObject::connect(&form, &frmMain::unloaded, &app, [&server] {
        if (!server || !server->hasClients())
            QCoreApplication::quit();
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
        server = std::make_unique<AutomationServer>(application, form, QDBusConnection::sessionBus());
        QObject::connect(server.get(), &AutomationServer::lastClientGone, &app, [&form] {
            if (!form.isLoaded())
                QCoreApplication::quit();
        });
        server->start();
    });
    const int exitCode = QApplication::exec();
    // A copied password stays on the clipboard after the program has ended.
    ui::handOverClipboard(QCoreApplication::applicationDirPath() + u'/' + QLatin1String(kClipboardKeeper));
    return exitCode;
}

} // namespace mMain
