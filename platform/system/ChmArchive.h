#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// A compiled HTML Help file (.chm), read whole into memory.
//
// chmlib is not safe against damaged files, so the file is read by a child
// process: it opens the file with chmlib, enumerates and retrieves every
// object and sends them through a pipe. A child that crashes, hangs or sends
// anything malformed makes the file count as damaged; this process never runs
// chmlib on the file itself. Everything parsed here is bounds-checked.
namespace sysapi {

// One entry of the table of contents, in document order.
struct HelpContentsEntry {
    QString name;
    // The topic's path inside the file, "/" first, no anchor; empty for a
    // heading without a topic.
    QString local;
    // The anchor within the topic, without "#"; often empty.
    QString anchor;
    int depth = 0;
};

// The fields of the #SYSTEM object that the viewer uses.
struct HelpSystemInfo {
    QString contentsFile;
    QString indexFile;
    QString defaultTopic;
    QString title;
};

class ChmArchive {
public:
    // Limits that keep a damaged or hostile file from exhausting memory.
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
    static constexpr qint64 kMaxObjectSize = 16 * 1024 * 1024;
    static constexpr qint64 kMaxTotalSize = 96 * 1024 * 1024;
    static constexpr int kMaxObjects = 20000;
    static constexpr int kReadTimeoutMs = 10000;

    // The archive, or nothing when the file is missing, unreadable or damaged
    // (no default topic that can be read).
    static std::optional<ChmArchive> open(const QString& path);

    QString title() const { return m_title; }
    // Path of the default topic, "/" first.
    QString defaultTopic() const { return m_defaultTopic; }
    const std::vector<HelpContentsEntry>& contents() const { return m_contents; }

    // The object at `path` ("/welcome.htm"; a missing leading "/" is added;
    // letters compare without regard to case, as in the format).
    std::optional<QByteArray> object(const QString& path) const;
    bool contains(const QString& path) const { return object(path).has_value(); }
    // Every object's path, as the file spells it.
    QStringList objectPaths() const;

private:
    ChmArchive() = default;

    QHash<QString, QByteArray> m_objects; // key: lower-cased path
    QHash<QString, QString> m_spelling;   // lower-cased path -> as stored
    QString m_title;
    QString m_defaultTopic;
    std::vector<HelpContentsEntry> m_contents;
};

// Parsers of the pieces of a CHM file; exposed for tests. None of them fails:
// what cannot be read is left out.

// The #SYSTEM object: a version number, then records of a 16-bit code, a
// 16-bit length and that many bytes.
HelpSystemInfo parseSystemObject(const QByteArray& data);

// A sitemap (.hhc): nested <UL> lists of <OBJECT type="text/sitemap"> with
// "Name" and "Local" parameters.
std::vector<HelpContentsEntry> parseSitemap(const QByteArray& data);

// The objects that a child process sends: records of a 32-bit path length,
// the path, a 32-bit data length and the data, then a path length of
// 0xFFFFFFFF. Nothing when the stream is malformed or incomplete.
std::optional<QHash<QString, QByteArray>> parseObjectStream(const QByteArray& stream);

// A topic path as the archive stores it: "/" first, "\" as "/", the anchor
// and a "ms-its:file.chm::" prefix taken off, "." and ".." resolved.
QString normalizedHelpPath(const QString& path);

} // namespace sysapi
