#include "system/RegistryHive.h"

#include "system/CodePage.h"
#include "system/LibraryResources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <cstring>
#include <optional>

// The build tree's hive, the folder this library is built into, and the
// machine hive of the installation the build was configured for.
#ifndef VEXLO_REGISTRY_HIVE
#define VEXLO_REGISTRY_HIVE ""
#endif
#ifndef VEXLO_BUILD_LIBRARY_DIR
#define VEXLO_BUILD_LIBRARY_DIR ""
#endif
#ifndef VEXLO_INSTALLED_REGISTRY_HIVE
#define VEXLO_INSTALLED_REGISTRY_HIVE ""
#endif

namespace sysapi {
namespace {

struct RootName {
    HKEY key;
    const char* name;
    const char* shortName;
};

constexpr RootName kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", "HKCR"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "HKCU"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "HKLM"},
    {HKEY_USERS, "HKEY_USERS", "HKU"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG", "HKCC"},
};

std::optional<QString> rootName(HKEY key)
{
    for (const auto& root : kRoots) {
        if (root.key == key)
            return QString::fromLatin1(root.name);
    }
    return std::nullopt;
}

std::optional<QString> canonicalRoot(const QString& name)
{
    for (const auto& root : kRoots) {
        if (name.compare(QLatin1String(root.name), Qt::CaseInsensitive) == 0
            || name.compare(QLatin1String(root.shortName), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(root.name);
    }
    return std::nullopt;
}

QString trimmedPath(QString path)
{
    while (path.startsWith(u'\\'))
        path.remove(0, 1);
    while (path.endsWith(u'\\'))
        path.chop(1);
    return path;
}

QString joinPath(const QString& parent, const QString& child)
{
    const QString tail = trimmedPath(child);
    return tail.isEmpty() ? parent : parent + u'\\' + tail;
}

struct Value {
    QString name;
    DWORD type = REG_NONE;
    QString text;      // REG_SZ, REG_EXPAND_SZ
    QByteArray bytes;  // every other type, as stored
};

struct Key {
    QString path; // as first written, with the canonical root name
    std::map<QString, Value> values; // by lower-case name; "" is the default value
};

QString quoted(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

// Reads a quoted string starting at `pos` (at the opening quote); moves pos past it.
std::optional<QString> readQuoted(const QString& line, qsizetype& pos)
{
    if (pos >= line.size() || line.at(pos) != u'"')
        return std::nullopt;
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line.at(pos);
        if (c == u'\\' && pos + 1 < line.size()) {
            out += line.at(++pos);
        } else if (c == u'"') {
            ++pos;
            return out;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::optional<QByteArray> parseHexBytes(const QString& list)
{
    QByteArray bytes;
    const QString compact = QString(list).remove(u' ').remove(u'\t');
    if (compact.isEmpty())
        return bytes;
    for (const QString& part : compact.split(u',')) {
        bool ok = false;
        const uint byte = part.toUInt(&ok, 16);
        if (!ok || byte > 0xFF || part.size() > 2)
            return std::nullopt;
        bytes.append(static_cast<char>(byte));
    }
    return bytes;
}

std::optional<Value> parseValueData(const QString& data)
{
    Value value;
    if (data.startsWith(u'"')) {
        qsizetype pos = 0;
        auto text = readQuoted(data, pos);
        if (!text || !data.mid(pos).trimmed().isEmpty())
            return std::nullopt;
        value.type = REG_SZ;
        value.text = *text;
        return value;
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        bool ok = false;
        const QString digits = data.mid(6).trimmed();
        const uint number = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8)
            return std::nullopt;
        value.type = REG_DWORD;
        for (int i = 0; i < 4; ++i)
            value.bytes.append(static_cast<char>((number >> (8 * i)) & 0xFF));
        return value;
    }
    if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
        const qsizetype colon = data.indexOf(u':');
        if (colon < 0)
            return std::nullopt;
        const QString kind = data.left(colon);
        value.type = REG_BINARY;
        if (kind.size() > 3) {
            if (!kind.startsWith(QLatin1String("hex("), Qt::CaseInsensitive) || !kind.endsWith(u')'))
                return std::nullopt;
            bool ok = false;
            value.type = kind.mid(4, kind.size() - 5).toUInt(&ok, 16);
            if (!ok)
                return std::nullopt;
        }
        auto bytes = parseHexBytes(data.mid(colon + 1));
        if (!bytes)
            return std::nullopt;
        value.bytes = *bytes;
        return value;
    }
    return std::nullopt;
}

QByteArray valueBytes(const Value& value)
{
    if (value.type == REG_SZ || value.type == REG_EXPAND_SZ)
        return toAnsi(value.text) + QByteArray(1, '\0');
    return value.bytes;
}

} // namespace

struct RegistryHive::Impl {
    QString filePath;
    std::map<QString, Key> keys; // by lower-case full path
    std::map<HKEY, QString> openKeys; // handle -> lower-case full path
    HKEY nextHandle = 0x1000;

    bool keyExists(const QString& lowerPath) const
    {
        if (keys.count(lowerPath))
            return true;
        const QString prefix = lowerPath + u'\\';
        const auto after = keys.lower_bound(prefix);
        return after != keys.end() && after->first.startsWith(prefix);
    }

    std::optional<QString> pathOfHandle(HKEY handle) const
    {
        if (auto root = rootName(handle))
            return root->toLower();
        const auto it = openKeys.find(handle);
        if (it == openKeys.end())
            return std::nullopt;
        return it->second;
    }

    Key& keyAt(HKEY root, const QString& keyPath)
    {
        const QString full = joinPath(rootName(root).value_or(QStringLiteral("HKEY_LOCAL_MACHINE")), keyPath);
        Key& key = keys[full.toLower()];
        if (key.path.isEmpty())
            key.path = full;
        return key;
    }

    const Value* findValue(HKEY root, const QString& keyPath, const QString& valueName) const
    {
        const auto rootText = rootName(root);
        if (!rootText)
            return nullptr;
        const auto key = keys.find(joinPath(*rootText, keyPath).toLower());
        if (key == keys.end())
            return nullptr;
        const auto value = key->second.values.find(valueName.toLower());
        return value == key->second.values.end() ? nullptr : &value->second;
    }
};

RegistryHive::RegistryHive() : d(std::make_unique<Impl>()) {}

RegistryHive::RegistryHive(QString filePath) : RegistryHive()
{
    d->filePath = std::move(filePath);
    load();
}

RegistryHive::~RegistryHive() = default;

namespace {
RegistryHive* g_currentHive = nullptr;
}

namespace {
// The same file serves the build tree and the installation; which one this
// copy is follows from where it was loaded from.
bool loadedFromBuildTree()
{
    const QString buildFolder = QFileInfo(QStringLiteral(VEXLO_BUILD_LIBRARY_DIR)).canonicalFilePath();
    const QString loadedFrom = QFileInfo(libraryFileOf(reinterpret_cast<const void*>(&loadedFromBuildTree))).canonicalPath();
    return !buildFolder.isEmpty() && loadedFrom == buildFolder;
}
} // namespace

QString RegistryHive::builtInPath()
{
    static const QString path = loadedFromBuildTree() ? QStringLiteral(VEXLO_REGISTRY_HIVE)
                                                      : QStringLiteral(VEXLO_INSTALLED_REGISTRY_HIVE);
    return path;
}

RegistryHive& RegistryHive::current()
{
    if (g_currentHive)
        return *g_currentHive;
    static RegistryHive builtIn(builtInPath());
    return builtIn;
}

void RegistryHive::setCurrent(RegistryHive* hive) { g_currentHive = hive; }

QString RegistryHive::filePath() const { return d->filePath; }

bool RegistryHive::load()
{
    d->keys.clear();
    if (d->filePath.isEmpty())
        return true;
    QFile file(d->filePath);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return parse(QString::fromUtf8(file.readAll()));
}

bool RegistryHive::save() const
{
    if (d->filePath.isEmpty())
        return false;
    // The machine hive's folder may not exist before the first registration.
    QDir().mkpath(QFileInfo(d->filePath).absolutePath());
    QSaveFile file(d->filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(toText().toUtf8());
    return file.commit();
}

bool RegistryHive::parse(const QString& text)
{
    d->keys.clear();
    QStringList lines = text.split(u'\n');
    Key* currentKey = nullptr;
    QString pending;
    for (QString line : lines) {
        line = line.trimmed();
        if (line.endsWith(u'\\') && !line.startsWith(u'[')) { // a continued hex list
            pending += line.chopped(1);
            continue;
        }
        line = pending + line;
        pending.clear();
        if (line.isEmpty() || line.startsWith(u';') || line == QLatin1String("REGEDIT4")
            || line.startsWith(QLatin1String("Windows Registry Editor")))
            continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']')) {
                d->keys.clear();
                return false;
            }
            QString path = trimmedPath(line.mid(1, line.size() - 2));
            if (path.startsWith(u'-')) { // a key removal: nothing to keep
                currentKey = nullptr;
                continue;
            }
            const QString first = path.section(u'\\', 0, 0);
            const auto root = canonicalRoot(first);
            if (!root) {
                d->keys.clear();
                return false;
            }
            const QString full = joinPath(*root, path.section(u'\\', 1));
            currentKey = &d->keys[full.toLower()];
            if (currentKey->path.isEmpty())
                currentKey->path = full;
            continue;
        }
        if (!currentKey) {
            d->keys.clear();
            return false;
        }
        QString name;
        qsizetype pos = 0;
        if (line.startsWith(u'@')) {
            pos = 1;
        } else {
            auto quotedName = readQuoted(line, pos);
            if (!quotedName) {
                d->keys.clear();
                return false;
            }
            name = *quotedName;
        }
        if (pos >= line.size() || line.at(pos) != u'=') {
            d->keys.clear();
            return false;
        }
        const QString data = line.mid(pos + 1).trimmed();
        if (data == QLatin1String("-")) {
            currentKey->values.erase(name.toLower());
            continue;
        }
        auto value = parseValueData(data);
        if (!value) {
            d->keys.clear();
            return false;
        }
        value->name = name;
        currentKey->values[name.toLower()] = *value;
    }
    return true;
}

QString RegistryHive::toText() const
{
    QString out = QStringLiteral("Windows Registry Editor Version 5.00\n");
    for (const auto& [lower, key] : d->keys) {
        out += QStringLiteral("\n[%1]\n").arg(key.path);
        for (const auto& [lowerName, value] : key.values) {
            out += value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name);
            out += u'=';
            if (value.type == REG_SZ) {
                out += quoted(value.text);
            } else if (value.type == REG_DWORD && value.bytes.size() == 4) {
                quint32 number = 0;
                for (int i = 3; i >= 0; --i)
                    number = (number << 8) | static_cast<unsigned char>(value.bytes.at(i));
                out += QStringLiteral("dword:%1").arg(number, 8, 16, QLatin1Char('0'));
            } else {
                out += value.type == REG_BINARY ? QStringLiteral("hex:")
                                                : QStringLiteral("hex(%1):").arg(value.type, 0, 16);
                QStringList parts;
                for (char byte : value.bytes)
                    parts << QStringLiteral("%1").arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'));
                out += parts.join(u',');
            }
            out += u'\n';
        }
    }
    return out;
}

LONG RegistryHive::openKey(HKEY parent, const char* subKey, DWORD /*access*/, HKEY* result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    const auto parentPath = d->pathOfHandle(parent);
    if (!parentPath)
        return ERROR_INVALID_HANDLE;
    const QString path = joinPath(*parentPath, fromAnsi(QByteArray(subKey ? subKey : ""))).toLower();
    if (!d->keyExists(path) && path != *parentPath)
        return ERROR_FILE_NOT_FOUND;
    const HKEY handle = d->nextHandle++;
    d->openKeys[handle] = path;
    *result = handle;
    return ERROR_SUCCESS;
}

LONG RegistryHive::queryValue(HKEY key, const char* valueName, DWORD* type, std::uint8_t* data, DWORD* dataSize)
{
    const auto path = d->pathOfHandle(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    if (data && !dataSize)
        return ERROR_INVALID_PARAMETER;
    const auto keyIt = d->keys.find(*path);
    if (keyIt == d->keys.end())
        return ERROR_FILE_NOT_FOUND;
    const QString name = fromAnsi(QByteArray(valueName ? valueName : "")).toLower();
    const auto valueIt = keyIt->second.values.find(name);
    if (valueIt == keyIt->second.values.end())
        return ERROR_FILE_NOT_FOUND;
    const QByteArray bytes = valueBytes(valueIt->second);
    if (type)
        *type = valueIt->second.type;
    const auto size = static_cast<DWORD>(bytes.size());
    if (!data) {
        if (dataSize)
            *dataSize = size;
        return ERROR_SUCCESS;
    }
    if (*dataSize < size) {
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, bytes.constData(), bytes.size());
    *dataSize = size;
    return ERROR_SUCCESS;
}

LONG RegistryHive::closeKey(HKEY key)
{
    if (rootName(key))
        return ERROR_SUCCESS;
    return d->openKeys.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

void RegistryHive::setStringValue(HKEY root, const QString& keyPath, const QString& valueName, const QString& value)
{
    Value entry;
    entry.name = valueName;
    entry.type = REG_SZ;
    entry.text = value;
    d->keyAt(root, keyPath).values[valueName.toLower()] = entry;
}

void RegistryHive::setDwordValue(HKEY root, const QString& keyPath, const QString& valueName, DWORD value)
{
    Value entry;
    entry.name = valueName;
    entry.type = REG_DWORD;
    for (int i = 0; i < 4; ++i)
        entry.bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    d->keyAt(root, keyPath).values[valueName.toLower()] = entry;
}

bool RegistryHive::deleteKeyTree(HKEY root, const QString& keyPath)
{
    const auto rootText = rootName(root);
    if (!rootText)
        return false;
    const QString lower = joinPath(*rootText, keyPath).toLower();
    const QString prefix = lower + u'\\';
    bool removed = false;
    for (auto it = d->keys.begin(); it != d->keys.end();) {
        if (it->first == lower || it->first.startsWith(prefix)) {
            it = d->keys.erase(it);
            removed = true;
        } else {
            ++it;
        }
    }
    return removed;
}

void RegistryHive::createKey(HKEY root, const QString& keyPath) { d->keyAt(root, keyPath); }

bool RegistryHive::deleteValue(HKEY root, const QString& keyPath, const QString& valueName)
{
    const auto rootText = rootName(root);
    if (!rootText)
        return false;
    const auto key = d->keys.find(joinPath(*rootText, keyPath).toLower());
    return key != d->keys.end() && key->second.values.erase(valueName.toLower()) > 0;
}

bool RegistryHive::deleteKeyIfEmpty(HKEY root, const QString& keyPath)
{
    const auto rootText = rootName(root);
    if (!rootText)
        return false;
    const QString lower = joinPath(*rootText, keyPath).toLower();
    const auto key = d->keys.find(lower);
    if (key == d->keys.end() || !key->second.values.empty())
        return false;
    const QString prefix = lower + u'\\';
    const auto below = d->keys.lower_bound(prefix);
    if (below != d->keys.end() && below->first.startsWith(prefix))
        return false;
    d->keys.erase(key);
    return true;
}

QStringList RegistryHive::keyPaths() const
{
    QStringList paths;
    for (const auto& [lower, key] : d->keys)
        paths << key.path;
    return paths;
}

QStringList RegistryHive::valueNames(HKEY root, const QString& keyPath) const
{
    QStringList names;
    const auto rootText = rootName(root);
    if (!rootText)
        return names;
    const auto key = d->keys.find(joinPath(*rootText, keyPath).toLower());
    if (key == d->keys.end())
        return names;
    for (const auto& [lowerName, value] : key->second.values)
        names << value.name;
    return names;
}

QString RegistryHive::stringValue(HKEY root, const QString& keyPath, const QString& valueName) const
{
    const Value* value = d->findValue(root, keyPath, valueName);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ))
        return {};
    return value->text.isNull() ? QStringLiteral("") : value->text;
}

LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD /*options*/, DWORD samDesired, HKEY* result)
{
    return RegistryHive::current().openKey(key, subKey, samDesired, result);
}

LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* /*reserved*/, DWORD* type, std::uint8_t* data,
                      DWORD* dataSize)
{
    return RegistryHive::current().queryValue(key, valueName, type, data, dataSize);
}

LONG RegCloseKey(HKEY key) { return RegistryHive::current().closeKey(key); }

} // namespace sysapi
