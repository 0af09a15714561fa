#include "system/LibraryResources.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace sysapi {
namespace {

QString resourceName(const QString& libraryPath)
{
    QString name = QFileInfo(libraryPath).fileName();
    if (name.startsWith(QLatin1String("lib")))
        name.remove(0, 3);
    const qsizetype suffix = name.indexOf(QLatin1String(".so"));
    if (suffix >= 0)
        name.truncate(suffix);
    return name;
}

// Loads the library so that its resources are registered. Libraries are
// never unloaded, as with the in-process servers.
bool ensureLoaded(const QString& libraryPath)
{
    const QByteArray file = QFile::encodeName(libraryPath);
    if (dlopen(file.constData(), RTLD_NOW | RTLD_NOLOAD))
        return true;
    return dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL) != nullptr;
}

} // namespace

QString libraryFileOf(const void* address)
{
    Dl_info info{};
    if (dladdr(address, &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
}

QImage loadLibraryBitmap(const QString& libraryPath, int resourceId)
{
    if (libraryPath.isEmpty() || resourceId <= 0 || !ensureLoaded(libraryPath))
        return {};
    return QImage(QStringLiteral(":/libraries/%1/bitmaps/%2.bmp").arg(resourceName(libraryPath)).arg(resourceId));
}

QImage loadToolboxBitmap(const QString& registryValue)
{
    const qsizetype comma = registryValue.lastIndexOf(u',');
    if (comma < 0)
        return {};
    bool ok = false;
    const int resourceId = registryValue.mid(comma + 1).trimmed().toInt(&ok);
    if (!ok)
        return {};
    return loadLibraryBitmap(registryValue.left(comma).trimmed(), resourceId);
}

} // namespace sysapi
