#include "mMain.h"

#include "AppInfo.h"
#include "frmMain.h"

#include "automation/AutomationError.h"
#include "ui/Dialogs.h"
#include "ui/Fonts.h"

#include <QApplication>

namespace mMain {

int Main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexlo"));
    QApplication::setApplicationVersion(QStringLiteral(VEXLO_VERSION));
    QApplication::setWindowIcon(programIcon());
    // The process lives while the window is loaded (or, later, a client holds it).
    QApplication::setQuitOnLastWindowClosed(false);
    ui::registerDesignFonts();

    frmMain form;
    // The Close button ends the program at once.
    QObject::connect(&form, &frmMain::endProgramRequested, &app, [] { QCoreApplication::exit(0); });
    QObject::connect(&form, &frmMain::unloaded, &app, [] { QCoreApplication::quit(); });

    try {
        form.Show();
    } catch (const automation::AutomationError& error) {
        ui::messageBox(QString::fromLatin1(kAppTitle),
                       QStringLiteral("Error %1: %2").arg(error.number()).arg(error.description()),
                       ui::MessageIcon::Critical);
        return 1;
    }
    return QApplication::exec();
}

} // namespace mMain
