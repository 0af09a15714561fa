#include "SystemInformation.h"

#include "quorrel/TypeLibrary.h"

#include "system/CodePage.h"
#include "ui/Dialogs.h"

#include <QProcess>

#include <array>
#include <exception>
#include <filesystem>

namespace quorrel {
namespace {

using namespace sysapi;

// Query, set value, create subkey, enumerate, notify, create link, read control.
constexpr DWORD kKeyAccess = 0x2003F;
constexpr DWORD kValueBufferSize = 1024;

const char* const kMsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const kMsInfoPathValue = "PATH";
const char* const kToolsLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char* const kToolsLocationValue = "MSINFO";
const char* const kMsInfoProgram = "\\MSINFO32.EXE";

// A normal file: it exists, is a regular file and is not hidden (on Linux,
// a name that starts with a dot).
bool isNormalFile(const QString& path)
{
    std::error_code error;
    const std::filesystem::path file(path.toStdString());
    if (!std::filesystem::is_regular_file(file, error))
        return false;
    return !file.filename().string().starts_with('.');
}

// Runs the command line, split into words, in a process of its own.
bool startCommandLine(const QString& commandLine)
{
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty())
        return false;
    const QString program = words.takeFirst();
    return QProcess::startDetached(program, words);
}

bool tryStartSysInfo()
{
    QString commandLine;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, QString::fromLatin1(kMsInfoKey), QString::fromLatin1(kMsInfoPathValue),
                    commandLine))
        return startCommandLine(commandLine);
    QString folder;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, QString::fromLatin1(kToolsLocationKey),
                    QString::fromLatin1(kToolsLocationValue), folder)) {
        const QString program = folder + QString::fromLatin1(kMsInfoProgram);
        if (isNormalFile(program))
            return startCommandLine(program);
    }
    return false;
}

} // namespace

void StartSysInfo(QWidget* owner)
{
    bool started = false;
    try {
        started = tryStartSysInfo();
    } catch (const std::exception&) {
        started = false;
    }
    if (!started)
        ui::messageBox(QString::fromLatin1(kLibraryTitle), QStringLiteral("System Information Is Unavailable At This Time"),
                       ui::MessageIcon::None, ui::MessageButtons::OK, owner);
}

bool GetKeyValue(const HKEY& KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal)
{
    HKEY hKey = 0;
    const QByteArray keyName = toAnsi(KeyName);
    if (RegOpenKeyExA(KeyRoot, keyName.constData(), 0, kKeyAccess, &hKey) != ERROR_SUCCESS) {
        KeyVal.clear();
        RegCloseKey(hKey);
        return false;
    }

    std::array<std::uint8_t, kValueBufferSize> buffer{};
    DWORD size = kValueBufferSize;
    DWORD type = REG_NONE;
    const QByteArray valueName = toAnsi(SubKeyRef);
    if (RegQueryValueExA(hKey, valueName.constData(), nullptr, &type, buffer.data(), &size) != ERROR_SUCCESS) {
        KeyVal.clear();
        RegCloseKey(hKey);
        return false;
    }

    if (type == REG_SZ) {
        // A text's reported size counts its terminating character 0.
        DWORD kept = size;
        if (kept > 0 && buffer[kept - 1] == 0)
            --kept;
        KeyVal = fromAnsi(QByteArray(reinterpret_cast<const char*>(buffer.data()), static_cast<qsizetype>(kept)));
    } else if (type == REG_DWORD) {
        // The bytes from the most significant to the least, two digits each,
        // so that the text reads as the number's hexadecimal form.
        QString digits;
        for (DWORD i = size; i > 0; --i)
            digits += QStringLiteral("%1").arg(buffer[i - 1], 2, 16, QLatin1Char('0')).toUpper();
        KeyVal = QStringLiteral("&h") + KeyVal + digits;
    }

    RegCloseKey(hKey);
    return true;
}

} // namespace quorrel
