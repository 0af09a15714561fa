#include "services/SharedMemoryBlock.h"

#include "automation/AutomationError.h"
#include "system/CodePage.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>

namespace services {
namespace {

namespace Error = automation::ErrorNumber;
constexpr int TooManyFiles = 67;
constexpr std::size_t kCountSize = 4;

[[noreturn]] void raiseBadName(const QString& reason)
{
    automation::raiseError(Error::PathFileAccessError, QStringLiteral("Invalid shared-memory block name: %1").arg(reason));
}

int errorNumberOf(int error)
{
    switch (error) {
    case EACCES:
    case EPERM: return Error::PermissionDenied;
    case ENOSPC: return Error::DiskFull;
    case ENOMEM: return Error::OutOfMemory;
    case EMFILE:
    case ENFILE: return TooManyFiles;
    case EIO: return Error::DeviceIOError;
    default: return Error::PathFileAccessError;
    }
}

// `action` completes "Cannot ...", e.g. "open the shared-memory block "x"".
[[noreturn]] void raiseSystemError(int error, const QString& action)
{
    automation::raiseError(errorNumberOf(error), QStringLiteral("Cannot %1: %2")
                                                     .arg(action, QString::fromLocal8Bit(std::strerror(error))));
}

QString quoted(const QString& blockName) { return QStringLiteral("the shared-memory block \"%1\"").arg(blockName); }

// "/" + the name in UTF-8, after checking that it names one object.
QByteArray objectName(const QString& blockName)
{
    if (blockName.isEmpty())
        raiseBadName(QStringLiteral("the name is empty."));
    if (blockName.contains(u'/'))
        raiseBadName(QStringLiteral("\"%1\" contains \"/\".").arg(blockName));
    if (blockName == QLatin1String(".") || blockName == QLatin1String(".."))
        raiseBadName(QStringLiteral("\"%1\" names a folder.").arg(blockName));
    if (blockName.contains(QChar(0)))
        raiseBadName(QStringLiteral("the name contains a NUL character."));
    if (std::any_of(blockName.begin(), blockName.end(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        raiseBadName(QStringLiteral("\"%1\" contains a control character.").arg(blockName));
    const QByteArray utf8 = blockName.toUtf8();
    if (utf8.size() > NAME_MAX - 1)
        raiseBadName(QStringLiteral("the name is longer than %1 bytes.").arg(NAME_MAX - 1));
    return '/' + utf8;
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : m_descriptor(descriptor) {}
    ~Descriptor()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_descriptor; }
    int release() { return std::exchange(m_descriptor, -1); }

private:
    int m_descriptor;
};

// Refuses a block that another user owns; who may open it is up to its owner.
struct stat checkOwned(int descriptor, const QString& blockName)
{
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        raiseSystemError(errno, QStringLiteral("examine %1").arg(quoted(blockName)));
    if (!S_ISREG(status.st_mode))
        automation::raiseError(Error::PathFileAccessError, QStringLiteral("%1 is not a shared-memory block.").arg(quoted(blockName)));
    if (status.st_uid != ::geteuid()) {
        automation::raiseError(Error::PermissionDenied,
                               QStringLiteral("Refusing %1: it belongs to another user.").arg(quoted(blockName)));
    }
    return status;
}

// A block of ours that a companion made with its umask (0644, say) becomes
// owner-only before anything is written into it.
void makePrivate(int descriptor, const struct stat& status, const QString& blockName)
{
    if ((status.st_mode & 07777) == (S_IRUSR | S_IWUSR))
        return;
    if (::fchmod(descriptor, S_IRUSR | S_IWUSR) != 0)
        raiseSystemError(errno, QStringLiteral("set the mode of %1").arg(quoted(blockName)));
}

int createBlock(const QByteArray& name, const QString& blockName)
{
    const int created = ::shm_open(name.constData(), O_RDWR | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR);
    if (created < 0)
        return -1;
    // The umask may have narrowed the mode; the block is exactly 0600.
    if (::fchmod(created, S_IRUSR | S_IWUSR) != 0) {
        const int error = errno;
        ::close(created);
        ::shm_unlink(name.constData());
        raiseSystemError(error, QStringLiteral("set the mode of %1").arg(quoted(blockName)));
    }
    return created;
}

// The block, created when missing. The block may vanish between a failed
// create and the open; then both are tried again.
int openOrCreateBlock(const QByteArray& name, const QString& blockName)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        const int created = createBlock(name, blockName);
        if (created >= 0)
            return created;
        if (errno != EEXIST)
            raiseSystemError(errno, QStringLiteral("create %1").arg(quoted(blockName)));
        Descriptor existing(::shm_open(name.constData(), O_RDWR, 0));
        if (existing.get() >= 0) {
            makePrivate(existing.get(), checkOwned(existing.get(), blockName), blockName);
            return existing.release();
        }
        if (errno != ENOENT)
            raiseSystemError(errno, QStringLiteral("open %1").arg(quoted(blockName)));
    }
    automation::raiseError(Error::PathFileAccessError,
                           QStringLiteral("Cannot open %1: it keeps disappearing.").arg(quoted(blockName)));
}

// Reads exactly `size` bytes at `offset`; false when the block is shorter.
bool readExactly(int descriptor, char* target, std::size_t size, off_t offset, const QString& blockName)
{
    while (size > 0) {
        const ssize_t got = ::pread(descriptor, target, size, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            raiseSystemError(errno, QStringLiteral("read %1").arg(quoted(blockName)));
        if (got == 0)
            return false;
        target += got;
        size -= static_cast<std::size_t>(got);
        offset += got;
    }
    return true;
}

[[noreturn]] void raiseCorrupt(const QString& blockName)
{
    automation::raiseError(Error::InvalidFileFormat,
                           QStringLiteral("%1 is damaged: its byte count runs past its end.").arg(quoted(blockName)));
}

} // namespace

SharedMemoryBlock::SharedMemoryBlock() = default;

SharedMemoryBlock::~SharedMemoryBlock()
{
    releaseMapping();
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void SharedMemoryBlock::OpenBlock(QString& blockName)
{
    const QByteArray name = objectName(blockName);
    const int opened = openOrCreateBlock(name, blockName);
    releaseMapping();
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = opened;
    m_name = blockName;
}

void SharedMemoryBlock::WriteText(QString& text)
{
    if (m_descriptor < 0) {
        automation::raiseError(Error::ObjectNotSet,
                               QStringLiteral("No shared-memory block is open: call OpenBlock before WriteText."));
    }
    const QByteArray bytes = sysapi::toAnsi(text);
    if (static_cast<std::uint64_t>(bytes.size()) > UINT32_MAX - kCountSize)
        automation::raiseError(Error::OutOfMemory, QStringLiteral("The text is too long for a shared-memory block."));
    const std::size_t size = kCountSize + static_cast<std::size_t>(bytes.size());

    releaseMapping();
    // Reserving the pages first turns a full memory file system into an
    // error here instead of a bus error when the mapping is written, and
    // leaves the old content whole when it fails.
    if (const int error = ::posix_fallocate(m_descriptor, 0, static_cast<off_t>(size)); error != 0)
        raiseSystemError(error, QStringLiteral("enlarge %1").arg(quoted(m_name)));
    if (::ftruncate(m_descriptor, static_cast<off_t>(size)) != 0)
        raiseSystemError(errno, QStringLiteral("resize %1").arg(quoted(m_name)));
    void* mapping = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, m_descriptor, 0);
    if (mapping == MAP_FAILED)
        raiseSystemError(errno, QStringLiteral("map %1").arg(quoted(m_name)));
    m_mapping = mapping;
    m_mappedSize = size;

    const auto count = static_cast<std::uint32_t>(bytes.size());
    auto* target = static_cast<unsigned char*>(m_mapping);
    for (std::size_t i = 0; i < kCountSize; ++i)
        target[i] = static_cast<unsigned char>(count >> (8 * i));
    std::memcpy(target + kCountSize, bytes.constData(), bytes.size());
}

void SharedMemoryBlock::releaseMapping()
{
    if (m_mapping)
        ::munmap(m_mapping, m_mappedSize);
    m_mapping = nullptr;
    m_mappedSize = 0;
}

std::optional<QString> ReadSharedMemoryBlock(const QString& blockName)
{
    const QByteArray name = objectName(blockName);
    Descriptor block(::shm_open(name.constData(), O_RDONLY, 0));
    if (block.get() < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        raiseSystemError(errno, QStringLiteral("open %1").arg(quoted(blockName)));
    }
    const struct stat status = checkOwned(block.get(), blockName);
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size == 0)
        return QString();

    std::array<unsigned char, kCountSize> header{};
    if (size < kCountSize || !readExactly(block.get(), reinterpret_cast<char*>(header.data()), kCountSize, 0, blockName))
        raiseCorrupt(blockName);
    std::uint32_t count = 0;
    for (std::size_t i = 0; i < kCountSize; ++i)
        count |= std::uint32_t(header[i]) << (8 * i);
    if (count > size - kCountSize)
        raiseCorrupt(blockName);

    QByteArray bytes(static_cast<qsizetype>(count), Qt::Uninitialized);
    if (!readExactly(block.get(), bytes.data(), count, kCountSize, blockName))
        raiseCorrupt(blockName);
    return sysapi::fromAnsi(bytes);
}

void RemoveSharedMemoryBlock(const QString& blockName)
{
    const QByteArray name = objectName(blockName);
    if (::shm_unlink(name.constData()) != 0 && errno != ENOENT)
        raiseSystemError(errno, QStringLiteral("remove %1").arg(quoted(blockName)));
}

} // namespace services
