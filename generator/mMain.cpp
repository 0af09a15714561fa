#include "mMain.h"

#include "AppInfo.h"
#include "Application.h"
#include "AutomationServer.h"
#include "frmMain.h"

#include "automation/AutomationError.h"
#include "ui/Dialogs.h"
#include "ui/Fonts.h"
#include "ui/SecretClipboard.h"

#include <QApplication>
#include <QDBusConnection>

#include <fontconfig/fontconfig.h>

#include <thread>

namespace mMain {
namespace {

const char* const kClipboardKeeper = "vexlo-clipboard";

} // namespace

int Main(int argc, char** argv)
{
    // Reading the font configuration takes as long as connecting to the
    // display: it runs on another core meanwhile, and Qt finds it done.
    std::thread fontConfiguration([] { FcInit(); });
    QApplication app(argc, argv);
    fontConfiguration.join();
    QApplication::setApplicationName(QStringLiteral("Vexlo"));
    QApplication::setApplicationVersion(QStringLiteral(VEXLO_VERSION));
    QApplication::setWindowIcon(programIcon());
    // The process lives while the window is loaded or a client holds the
    // automation object; the Close button ends it at once.
    QApplication::setQuitOnLastWindowClosed(false);
    ui::registerDesignFonts();

    frmMain form;
    Application application(form);
    AutomationServer server(application, form, QDBusConnection::sessionBus());
    // Without a session bus, or with another copy serving the name, the
    // window still works; it is just not offered to other programs.
    server.start();

    QObject::connect(&form, &frmMain::endProgramRequested, &app, [] { QCoreApplication::exit(0); });
    QObject::connect(&form, &frmMain::unloaded, &app, [&server] {
        if (!server.hasClients())
            QCoreApplication::quit();
    });
    QObject::connect(&server, &AutomationServer::lastClientGone, &app, [&form] {
        if (!form.isLoaded())
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
    const int exitCode = QApplication::exec();
    // A copied password stays on the clipboard after the program has ended.
    ui::handOverClipboard(QCoreApplication::applicationDirPath() + u'/' + QLatin1String(kClipboardKeeper));
    return exitCode;
}

} // namespace mMain
