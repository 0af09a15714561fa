#include "AppInfo.h"

#include <QPixmap>

namespace {

QIcon loadProgramIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap(QStringLiteral(":/vexlo/vexlo-32.xpm")));
    icon.addPixmap(QPixmap(QStringLiteral(":/vexlo/vexlo-16.xpm")));
    return icon;
}

} // namespace

QIcon programIcon()
{
    // The pictures are compiled into the window's library, which the linker
    // would leave out unless something names them.
    Q_INIT_RESOURCE(vexlo);
    static const QIcon icon = loadProgramIcon();
    return icon;
}
