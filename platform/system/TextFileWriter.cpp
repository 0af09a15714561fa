#include "system/TextFileWriter.h"

#include "automation/AutomationError.h"
#include "system/CodePage.h"

#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sysapi {
namespace {

using automation::ErrorNumber::BadFileNameOrNumber;
using automation::ErrorNumber::DeviceIOError;
using automation::ErrorNumber::DiskFull;
using automation::ErrorNumber::PathFileAccessError;
using automation::ErrorNumber::PathNotFound;
using automation::ErrorNumber::PermissionDenied;

int errorNumberOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return PermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return DiskFull;
    case EISDIR:
    case EBUSY:
    case EXDEV: return PathFileAccessError;
    case ENAMETOOLONG:
    case EINVAL: return BadFileNameOrNumber;
    default: return DeviceIOError;
    }
}

[[noreturn]] void fail(int error, const QString& path)
{
    const int number = errorNumberOf(error);
    automation::raiseError(number, QStringLiteral("%1: \"%2\"").arg(automation::standardDescription(number), path));
}

} // namespace

struct TextFileWriter::Impl {
    QString path;
    QByteArray temporaryPath;
    int descriptor = -1;
    bool committed = false;

    void closeDescriptor()
    {
        if (descriptor >= 0)
            ::close(descriptor);
        descriptor = -1;
    }
};

TextFileWriter::TextFileWriter(const QString& path) : d(std::make_unique<Impl>())
{
    d->path = path;
    const QFileInfo target(path);
    if (path.isEmpty() || target.fileName().isEmpty())
        fail(EINVAL, path);
    if (target.isDir())
        fail(EISDIR, path);
    QByteArray pattern = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName()
                                           + QStringLiteral(".XXXXXX"));
    // mkstemp creates the file with mode 0600, whatever the umask.
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0)
        fail(errno, path);
    d->descriptor = descriptor;
    d->temporaryPath = pattern;
}

TextFileWriter::~TextFileWriter()
{
    d->closeDescriptor();
    if (!d->committed && !d->temporaryPath.isEmpty())
        ::unlink(d->temporaryPath.constData());
}

void TextFileWriter::writeLine(const QString& text)
{
    const QByteArray bytes = toAnsi(text) + QByteArray("\r\n", 2);
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(d->descriptor, bytes.constData() + written, bytes.size() - written);
        if (result < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, d->path);
        }
        written += result;
    }
}

void TextFileWriter::commit()
{
    if (::fsync(d->descriptor) != 0)
        fail(errno, d->path);
    const int descriptor = d->descriptor;
    d->descriptor = -1;
    if (::close(descriptor) != 0)
        fail(errno, d->path);
    if (::rename(d->temporaryPath.constData(), QFile::encodeName(d->path).constData()) != 0)
        fail(errno, d->path);
    d->committed = true;
}

} // namespace sysapi
