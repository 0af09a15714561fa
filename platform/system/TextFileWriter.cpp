#include "system/TextFileWriter.h"

#include "automation/AutomationError.h"
#include "system/CodePage.h"

#include <QFile>
#include <QRandomGenerator>

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

constexpr int kMaxLinkHops = 40;
constexpr mode_t kNewFileMode = S_IRUSR | S_IWUSR;
// "." before the name and ".XXXXXX" after it.
constexpr int kTemporaryNameExtra = 8;

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
    case EXDEV:
    case ELOOP: return PathFileAccessError;
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

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// The file that `path` finally names once its symbolic links are followed;
// a link to nowhere yields the path the link points to, to be created.
QByteArray followLinks(QByteArray path, const QString& shownPath)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(path.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(path.constData(), target.data(), target.size());
        if (length < 0)
            fail(errno, shownPath);
        if (length >= target.size())
            fail(ENAMETOOLONG, shownPath);
        target.truncate(length);
        path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    }
    fail(ELOOP, shownPath);
}

// At most `size` bytes of the name, cut where a UTF-8 character begins.
QByteArray shortened(const QByteArray& name, qsizetype size)
{
    if (name.size() <= size)
        return name;
    while (size > 0 && (static_cast<unsigned char>(name.at(size)) & 0xC0) == 0x80)
        --size;
    return name.left(size);
}

QByteArray temporaryPattern(const QByteArray& folder, const QByteArray& name)
{
    return folder + "/." + shortened(name, NAME_MAX - kTemporaryNameExtra) + ".XXXXXX";
}

bool canNameOpenFiles() { return ::access("/proc/self/fd", X_OK) == 0; }

} // namespace

struct TextFileWriter::Impl {
    QString path;          // as given, for the messages
    QByteArray targetPath; // the file replaced, links followed
    QByteArray temporaryPath; // empty while the new file has no name
    int descriptor = -1;
    bool committed = false;
    bool replacesFile = false;
    struct stat replaced {};

    void closeDescriptor()
    {
        if (descriptor >= 0)
            ::close(descriptor);
        descriptor = -1;
    }
    void openNewFile();
    void giveTemporaryName();
    void takeOverOwnerAndMode();
};

void TextFileWriter::Impl::openNewFile()
{
    const QByteArray folder = folderOf(targetPath);
    const int unnamed = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode);
    if (unnamed >= 0 && canNameOpenFiles()) {
        descriptor = unnamed;
        return;
    }
    if (unnamed >= 0)
        ::close(unnamed);
    // Folders whose file system has no unnamed files say so with one of these.
    else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        fail(errno, path);
    QByteArray pattern = temporaryPattern(folder, nameOf(targetPath));
    // mkstemp creates the file with mode 0600, whatever the umask.
    const int named = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (named < 0)
        fail(errno, path);
    descriptor = named;
    temporaryPath = pattern;
}

// An unnamed file gets a hidden name next to the target for the rename.
void TextFileWriter::Impl::giveTemporaryName()
{
    if (!temporaryPath.isEmpty())
        return;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(descriptor);
    const QByteArray pattern = temporaryPattern(folderOf(targetPath), nameOf(targetPath));
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray candidate = pattern;
        for (qsizetype i = candidate.size() - 6; i < candidate.size(); ++i)
            candidate[i] = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, candidate.constData(), AT_SYMLINK_FOLLOW) == 0) {
            temporaryPath = candidate;
            return;
        }
        if (errno != EEXIST)
            fail(errno, path);
    }
    fail(EEXIST, path);
}

// A replaced file keeps its mode, and its owner and group where the system
// lets this process give them away; a new file stays 0600.
void TextFileWriter::Impl::takeOverOwnerAndMode()
{
    // The umask may have narrowed the mode of an unnamed file.
    if (!replacesFile) {
        if (::fchmod(descriptor, kNewFileMode) != 0)
            fail(errno, path);
        return;
    }
    if (replaced.st_uid != ::geteuid() || replaced.st_gid != ::getegid()) {
        if (::fchown(descriptor, replaced.st_uid, replaced.st_gid) != 0)
            (void)::fchown(descriptor, static_cast<uid_t>(-1), replaced.st_gid);
    }
    // After fchown, which may clear mode bits.
    if (::fchmod(descriptor, replaced.st_mode & 0777) != 0)
        fail(errno, path);
}

TextFileWriter::TextFileWriter(const QString& path) : d(std::make_unique<Impl>())
{
    d->path = path;
    const QByteArray given = QFile::encodeName(path);
    if (given.isEmpty() || given.endsWith('/'))
        fail(EINVAL, path);
    if (given.size() >= PATH_MAX)
        fail(ENAMETOOLONG, path);
    d->targetPath = followLinks(given, path);
    if (nameOf(d->targetPath).size() > NAME_MAX || d->targetPath.size() >= PATH_MAX)
        fail(ENAMETOOLONG, path);
    if (::stat(d->targetPath.constData(), &d->replaced) == 0) {
        if (S_ISDIR(d->replaced.st_mode))
            fail(EISDIR, path);
        d->replacesFile = true;
    } else if (errno != ENOENT) {
        fail(errno, path);
    }
    d->openNewFile();
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
    d->takeOverOwnerAndMode();
    if (::fsync(d->descriptor) != 0)
        fail(errno, d->path);
    d->giveTemporaryName();
    const int descriptor = d->descriptor;
    d->descriptor = -1;
    if (::close(descriptor) != 0)
        fail(errno, d->path);
    if (::rename(d->temporaryPath.constData(), d->targetPath.constData()) != 0)
        fail(errno, d->path);
    d->committed = true;
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(folderOf(d->targetPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        (void)::fsync(folder);
        ::close(folder);
    }
}

} // namespace sysapi
