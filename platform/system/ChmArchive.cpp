#include "system/ChmArchive.h"

#include "system/CodePage.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <chm_lib.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sysapi {

namespace {

constexpr quint32 kEndOfStream = 0xFFFFFFFFu;
constexpr int kMaxSitemapDepth = 64;
constexpr std::size_t kMaxSitemapEntries = 100000;

// ------------------------------------------------------------ child process
// Runs after fork(): only chmlib, malloc and plain system calls, no Qt.

bool writeAll(int fd, const void* data, std::size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool writeNumber(int fd, quint32 value)
{
    unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                              static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return writeAll(fd, bytes, sizeof bytes);
}

struct ObjectList {
    std::vector<std::string> paths;
    bool overflowed = false;
};

int collectObject(chmFile* /*file*/, chmUnitInfo* info, void* context)
{
    auto* list = static_cast<ObjectList*>(context);
    if (list->paths.size() >= static_cast<std::size_t>(ChmArchive::kMaxObjects)) {
        list->overflowed = true;
        return CHM_ENUMERATOR_SUCCESS;
    }
    const std::size_t length = ::strnlen(info->path, CHM_MAX_PATHLEN + 1);
    if (length == 0 || length > CHM_MAX_PATHLEN)
        return CHM_ENUMERATOR_CONTINUE;
    list->paths.emplace_back(info->path, length);
    return CHM_ENUMERATOR_CONTINUE;
}

// Sends every object of the file; the exit status of the child.
int sendObjects(const char* fileName, int fd)
{
    chmFile* file = chm_open(fileName);
    if (!file)
        return 1;
    ObjectList list;
    chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_SPECIAL | CHM_ENUMERATE_FILES, collectObject, &list);
    if (list.overflowed) {
        chm_close(file);
        return 1;
    }
    // Every object must read whole: an object that does not is a sign of a
    // damaged file, and a damaged file is not shown at all.
    qint64 total = 0;
    std::vector<unsigned char> buffer;
    bool damaged = false;
    for (const std::string& path : list.paths) {
        chmUnitInfo info {};
        if (chm_resolve_object(file, path.c_str(), &info) != CHM_RESOLVE_SUCCESS
            || info.length > static_cast<LONGUINT64>(ChmArchive::kMaxObjectSize)) {
            damaged = true;
            break;
        }
        const auto length = static_cast<qint64>(info.length);
        total += length;
        if (total > ChmArchive::kMaxTotalSize) {
            damaged = true;
            break;
        }
        buffer.assign(static_cast<std::size_t>(length), 0);
        if (length > 0 && chm_retrieve_object(file, &info, buffer.data(), 0, length) != length) {
            damaged = true;
            break;
        }
        if (!writeNumber(fd, static_cast<quint32>(path.size())) || !writeAll(fd, path.data(), path.size())
            || !writeNumber(fd, static_cast<quint32>(length)) || !writeAll(fd, buffer.data(), buffer.size())) {
            damaged = true;
            break;
        }
    }
    if (damaged) {
        chm_close(file);
        return 1;
    }
    chm_close(file);
    return writeNumber(fd, kEndOfStream) ? 0 : 1;
}

// ------------------------------------------------------------ this process

// Reads the file's objects through a child process; nothing when the child
// fails, crashes, hangs or sends too much.
std::optional<QHash<QString, QByteArray>> readObjects(const QString& path)
{
    const QByteArray fileName = QFile::encodeName(path);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(fds[0]);
        ::_exit(sendObjects(fileName.constData(), fds[1]));
    }
    ::close(fds[1]);

    // Room for the objects and their record headers.
    const qint64 streamLimit = ChmArchive::kMaxTotalSize + 8LL * (ChmArchive::kMaxObjects + 1) * (CHM_MAX_PATHLEN + 8);
    QByteArray stream;
    bool complete = false;
    bool failed = false;
    QDeadlineTimer deadline(ChmArchive::kReadTimeoutMs);
    char chunk[65536];
    while (!complete && !failed) {
        pollfd waiting {fds[0], POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(std::max<qint64>(0, deadline.remainingTime())));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            failed = true;
            break;
        }
        const ssize_t received = ::read(fds[0], chunk, sizeof chunk);
        if (received < 0 && errno == EINTR)
            continue;
        if (received < 0)
            failed = true;
        else if (received == 0)
            complete = true;
        else if (stream.size() + received > streamLimit)
            failed = true;
        else
            stream.append(chunk, static_cast<qsizetype>(received));
    }
    ::close(fds[0]);
    if (failed)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return parseObjectStream(stream);
}

quint32 readNumber(const QByteArray& data, qsizetype offset)
{
    const auto byte = [&](qsizetype i) { return static_cast<quint32>(static_cast<unsigned char>(data[offset + i])); };
    return byte(0) | (byte(1) << 8) | (byte(2) << 16) | (byte(3) << 24);
}

quint16 readShort(const QByteArray& data, qsizetype offset)
{
    return static_cast<quint16>(static_cast<unsigned char>(data[offset])
                                | (static_cast<unsigned char>(data[offset + 1]) << 8));
}

// A text field of #SYSTEM: up to its first NUL, in the ANSI code page.
QString systemText(const QByteArray& data, qsizetype offset, qsizetype length)
{
    QByteArray bytes = data.mid(offset, length);
    const qsizetype end = bytes.indexOf('\0');
    if (end >= 0)
        bytes.truncate(end);
    return fromAnsi(bytes).trimmed();
}

// ------------------------------------------------------------ sitemap

QString decodeEntities(const QString& text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const qsizetype end = c == QLatin1Char('&') ? text.indexOf(QLatin1Char(';'), i) : -1;
        if (end < 0 || end - i > 10) {
            result += c;
            continue;
        }
        const QString name = text.mid(i + 1, end - i - 1);
        char32_t code = 0;
        if (name == QLatin1String("amp"))
            code = '&';
        else if (name == QLatin1String("lt"))
            code = '<';
        else if (name == QLatin1String("gt"))
            code = '>';
        else if (name == QLatin1String("quot"))
            code = '"';
        else if (name == QLatin1String("apos"))
            code = '\'';
        else if (name.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const uint value = name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive) ? name.mid(2).toUInt(&ok, 16)
                                                                                          : name.mid(1).toUInt(&ok, 10);
            if (ok && value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF))
                code = value;
        }
        if (code == 0) {
            result += c;
            continue;
        }
        result += QString::fromUcs4(&code, 1);
        i = end;
    }
    return result;
}

struct Tag {
    QString name; // lower case; "/ul" for an end tag
    QHash<QString, QString> attributes; // lower-cased names
};

bool isSpace(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

// Parses the tag that starts at text[start] == '<'; returns the index after it.
qsizetype parseTag(const QString& text, qsizetype start, Tag& tag)
{
    const qsizetype size = text.size();
    qsizetype i = start + 1;
    if (text.mid(i, 3) == QLatin1String("!--")) {
        const qsizetype end = text.indexOf(QLatin1String("-->"), i + 3);
        tag.name.clear();
        return end < 0 ? size : end + 3;
    }
    qsizetype nameStart = i;
    while (i < size && !isSpace(text.at(i)) && text.at(i) != QLatin1Char('>'))
        ++i;
    tag.name = text.mid(nameStart, i - nameStart).toLower();
    if (tag.name.endsWith(QLatin1Char('/')))
        tag.name.chop(1);
    tag.attributes.clear();
    while (i < size) {
        while (i < size && (isSpace(text.at(i)) || text.at(i) == QLatin1Char('/')))
            ++i;
        if (i >= size)
            break;
        if (text.at(i) == QLatin1Char('>'))
            return i + 1;
        const qsizetype keyStart = i;
        while (i < size && !isSpace(text.at(i)) && text.at(i) != QLatin1Char('=') && text.at(i) != QLatin1Char('>'))
            ++i;
        const QString key = text.mid(keyStart, i - keyStart).toLower();
        while (i < size && isSpace(text.at(i)))
            ++i;
        QString value;
        if (i < size && text.at(i) == QLatin1Char('=')) {
            ++i;
            while (i < size && isSpace(text.at(i)))
                ++i;
            if (i < size && (text.at(i) == QLatin1Char('"') || text.at(i) == QLatin1Char('\''))) {
                const QChar quote = text.at(i);
                const qsizetype end = text.indexOf(quote, i + 1);
                const qsizetype stop = end < 0 ? size : end;
                value = text.mid(i + 1, stop - i - 1);
                i = end < 0 ? size : end + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < size && !isSpace(text.at(i)) && text.at(i) != QLatin1Char('>'))
                    ++i;
                value = text.mid(valueStart, i - valueStart);
            }
        }
        if (!key.isEmpty())
            tag.attributes.insert(key, decodeEntities(value));
    }
    return size;
}

// The key of an object: its path as stored, "/" first, in lower case.
QString storageKey(const QString& path)
{
    QString key = path.trimmed();
    key.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!key.startsWith(QLatin1Char('/')))
        key.prepend(QLatin1Char('/'));
    return key.toLower();
}

} // namespace

// ------------------------------------------------------------ parsers

std::optional<QHash<QString, QByteArray>> parseObjectStream(const QByteArray& stream)
{
    QHash<QString, QByteArray> objects;
    qsizetype offset = 0;
    const qsizetype size = stream.size();
    while (true) {
        if (size - offset < 4)
            return std::nullopt;
        const quint32 pathLength = readNumber(stream, offset);
        offset += 4;
        if (pathLength == kEndOfStream)
            return offset == size ? std::optional(objects) : std::nullopt;
        if (pathLength == 0 || pathLength > CHM_MAX_PATHLEN || size - offset < static_cast<qsizetype>(pathLength) + 4)
            return std::nullopt;
        const QString path = QString::fromUtf8(stream.constData() + offset, pathLength);
        offset += pathLength;
        const quint32 dataLength = readNumber(stream, offset);
        offset += 4;
        if (dataLength > ChmArchive::kMaxObjectSize || size - offset < static_cast<qsizetype>(dataLength))
            return std::nullopt;
        if (objects.size() >= ChmArchive::kMaxObjects)
            return std::nullopt;
        objects.insert(path, stream.mid(offset, dataLength));
        offset += dataLength;
    }
}

HelpSystemInfo parseSystemObject(const QByteArray& data)
{
    HelpSystemInfo info;
    qsizetype offset = 4; // the version
    while (data.size() - offset >= 4) {
        const quint16 code = readShort(data, offset);
        const quint16 length = readShort(data, offset + 2);
        offset += 4;
        if (data.size() - offset < length)
            break;
        switch (code) {
        case 0:
            info.contentsFile = systemText(data, offset, length);
            break;
        case 1:
            info.indexFile = systemText(data, offset, length);
            break;
        case 2:
            info.defaultTopic = systemText(data, offset, length);
            break;
        case 3:
            info.title = systemText(data, offset, length);
            break;
        default:
            break;
        }
        offset += length;
    }
    return info;
}

std::vector<HelpContentsEntry> parseSitemap(const QByteArray& data)
{
    const QString text = fromAnsi(data);
    std::vector<HelpContentsEntry> entries;
    int depth = 0;
    bool inSitemapObject = false;
    HelpContentsEntry current;
    qsizetype i = 0;
    Tag tag;
    while (i < text.size() && entries.size() < kMaxSitemapEntries) {
        const qsizetype open = text.indexOf(QLatin1Char('<'), i);
        if (open < 0)
            break;
        i = parseTag(text, open, tag);
        if (tag.name == QLatin1String("ul")) {
            depth = std::min(depth + 1, kMaxSitemapDepth);
        } else if (tag.name == QLatin1String("/ul")) {
            depth = std::max(depth - 1, 0);
        } else if (tag.name == QLatin1String("object")) {
            inSitemapObject = tag.attributes.value(QStringLiteral("type")).compare(QLatin1String("text/sitemap"),
                                                                               Qt::CaseInsensitive) == 0;
            current = HelpContentsEntry{};
            current.depth = std::max(depth - 1, 0);
        } else if (tag.name == QLatin1String("param") && inSitemapObject) {
            const QString name = tag.attributes.value(QStringLiteral("name")).toLower();
            const QString value = tag.attributes.value(QStringLiteral("value"));
            if (name == QLatin1String("name") && current.name.isEmpty()) {
                current.name = value.trimmed();
            } else if (name == QLatin1String("local") && current.local.isEmpty()) {
                const qsizetype hash = value.indexOf(QLatin1Char('#'));
                if (hash >= 0)
                    current.anchor = value.mid(hash + 1);
                current.local = value.trimmed().isEmpty() ? QString() : normalizedHelpPath(value);
            }
        } else if (tag.name == QLatin1String("/object") && inSitemapObject) {
            inSitemapObject = false;
            if (!current.name.isEmpty() || !current.local.isEmpty())
                entries.push_back(current);
        }
    }
    return entries;
}

QString normalizedHelpPath(const QString& path)
{
    QString text = path.trimmed();
    const qsizetype store = text.lastIndexOf(QLatin1String("::"));
    if (store >= 0)
        text = text.mid(store + 2);
    for (QChar stop : {QLatin1Char('#'), QLatin1Char('?')}) {
        const qsizetype at = text.indexOf(stop);
        if (at >= 0)
            text.truncate(at);
    }
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    text = QUrl::fromPercentEncoding(text.toUtf8());
    QStringList parts;
    for (const QString& part : text.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    return QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

// ------------------------------------------------------------ archive

std::optional<ChmArchive> ChmArchive::open(const QString& path)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile() || !file.isReadable() || file.size() <= 0 || file.size() > kMaxFileSize)
        return std::nullopt;
    std::optional<QHash<QString, QByteArray>> objects = readObjects(file.absoluteFilePath());
    if (!objects)
        return std::nullopt;

    ChmArchive archive;
    for (auto it = objects->cbegin(); it != objects->cend(); ++it) {
        const QString key = storageKey(it.key());
        archive.m_objects.insert(key, it.value());
        archive.m_spelling.insert(key, it.key());
    }

    const HelpSystemInfo system = parseSystemObject(archive.object(QStringLiteral("/#SYSTEM")).value_or(QByteArray()));

    QString contentsFile = system.contentsFile;
    if (contentsFile.isEmpty() || !archive.contains(contentsFile)) {
        contentsFile.clear();
        for (const QString& name : archive.objectPaths()) {
            if (name.endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive)) {
                contentsFile = name;
                break;
            }
        }
    }
    if (!contentsFile.isEmpty())
        archive.m_contents = parseSitemap(archive.object(contentsFile).value_or(QByteArray()));

    QStringList candidates;
    if (!system.defaultTopic.isEmpty())
        candidates.append(system.defaultTopic);
    for (const HelpContentsEntry& entry : archive.m_contents)
        if (!entry.local.isEmpty())
            candidates.append(entry.local);
    QStringList pages = archive.objectPaths();
    std::sort(pages.begin(), pages.end());
    for (const QString& page : std::as_const(pages))
        if (page.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) || page.endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
            candidates.append(page);
    for (const QString& candidate : std::as_const(candidates)) {
        if (archive.contains(candidate)) {
            archive.m_defaultTopic = normalizedHelpPath(candidate);
            break;
        }
    }
    if (archive.m_defaultTopic.isEmpty())
        return std::nullopt;

    archive.m_title = system.title.isEmpty() ? file.completeBaseName() : system.title;
    return archive;
}

std::optional<QByteArray> ChmArchive::object(const QString& path) const
{
    auto it = m_objects.constFind(storageKey(path));
    if (it == m_objects.cend())
        it = m_objects.constFind(storageKey(normalizedHelpPath(path)));
    if (it == m_objects.cend())
        return std::nullopt;
    return it.value();
}

QStringList ChmArchive::objectPaths() const { return m_spelling.values(); }

} // namespace sysapi
