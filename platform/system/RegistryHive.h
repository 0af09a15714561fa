#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <memory>

// A registry hive kept as a text file in the .reg export format:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]
//   "PATH"="/usr/bin/hardinfo"
//   @="the key's default value"
//   "Count"=dword:0000000a
//   "Blob"=hex:01,02,ff
//
// The file is read as UTF-8. Key paths and value names are compared without
// regard to case. The open / query / close calls behave like the platform's
// ANSI registry functions: the same result codes, text values reported in
// the ANSI code page with their terminating zero counted in the size.
namespace sysapi {

using HKEY = std::uintptr_t;
using LONG = std::int32_t;
using DWORD = std::uint32_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;

inline constexpr DWORD KEY_READ = 0x20019;
inline constexpr DWORD KEY_ALL_ACCESS = 0xF003F;

class RegistryHive {
public:
    // An empty hive; load() fills it from a file.
    RegistryHive();
    explicit RegistryHive(QString filePath);
    ~RegistryHive();
    RegistryHive(const RegistryHive&) = delete;
    RegistryHive& operator=(const RegistryHive&) = delete;

    // The hive every program of the system uses, unless a test has put its
    // own in place: builtInPath().
    static RegistryHive& current();
    // Makes `hive` the current one (nullptr restores the built-in one).
    static void setCurrent(RegistryHive* hive);
    // Both paths are fixed at build time. A platform library loaded from its
    // build folder uses the build tree's hive (VEXLO_REGISTRY_HIVE); an
    // installed one uses the machine hive of the installation,
    // <localstatedir>/lib/vexlo/registry.reg.
    static QString builtInPath();

    QString filePath() const;
    // Reads the file; a missing file is an empty hive. Returns false, with
    // the hive left empty, when the file cannot be read or parsed.
    bool load();
    // Writes the hive back to its file.
    bool save() const;
    // Parses .reg text into the hive, replacing its content.
    bool parse(const QString& text);
    QString toText() const;

    LONG openKey(HKEY parent, const char* subKey, DWORD access, HKEY* result);
    LONG queryValue(HKEY key, const char* valueName, DWORD* type, std::uint8_t* data, DWORD* dataSize);
    LONG closeKey(HKEY key);

    // Writing, for the self-registration of the libraries.
    void setStringValue(HKEY root, const QString& keyPath, const QString& valueName, const QString& value);
    void setDwordValue(HKEY root, const QString& keyPath, const QString& valueName, DWORD value);
    // Makes a key that holds no value (and its place in the tree) exist.
    void createKey(HKEY root, const QString& keyPath);
    // Removes a key with everything below it; false when it does not exist.
    bool deleteKeyTree(HKEY root, const QString& keyPath);
    // Removes one value; false when it was not there.
    bool deleteValue(HKEY root, const QString& keyPath, const QString& valueName);
    // Removes a key that holds no value and has no subkey; false otherwise.
    bool deleteKeyIfEmpty(HKEY root, const QString& keyPath);
    // Every key, by its full path with the root's long name, in sorted order;
    // and the names of a key's values ("" is the default value).
    QStringList keyPaths() const;
    QStringList valueNames(HKEY root, const QString& keyPath) const;
    // A value as text, or a null string when absent (for code of our own).
    QString stringValue(HKEY root, const QString& keyPath, const QString& valueName) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The platform's calls, acting on RegistryHive::current().
LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, DWORD samDesired, HKEY* result);
LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, std::uint8_t* data,
                      DWORD* dataSize);
LONG RegCloseKey(HKEY key);

} // namespace sysapi
