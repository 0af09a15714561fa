// vexlo-regsvr: registers an in-process server library in the registry hive,
// or with /u unregisters it, by loading the library and calling its
// DllRegisterServer or DllUnregisterServer.
//
//   vexlo-regsvr [/u] [/s] [/hive:FILE] LIBRARY
//   vexlo-regsvr [/u] [/s] [/hive:FILE] /sysinfo:PROGRAM
//
// The second form names the system-information program that the about box
// starts (HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO, "PATH");
// with /u it removes that value when it names PROGRAM.
// /s prints nothing on success; /hive:FILE works on that hive instead of the
// machine hive (for staging and tests). A failure prints a numbered error and
// ends with a non-zero status: 1 wrong use, 3 library not loaded, 4 entry
// point missing, 5 the entry point failed.
#include "automation/AutomationError.h"
#include "system/RegistryHive.h"

#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <memory>

#include <dlfcn.h>

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitNotLoaded = 3;
constexpr int kExitNoEntryPoint = 4;
constexpr int kExitEntryPointFailed = 5;

// The runtime's numbers for these failures.
constexpr int kErrorLoadingLibrary = 48;
constexpr int kEntryPointNotFound = 453;

const QString kSource = QStringLiteral("vexlo-regsvr");

struct Failure {
    automation::AutomationError error;
    int exitStatus;
};

struct Options {
    bool unregister = false;
    bool silent = false;
    QString hivePath;
    QString library;
    QString systemInformation;
};

const QString kSystemInformationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kSystemInformationValue = QStringLiteral("PATH");

Options parseOptions(const QStringList& arguments)
{
    Options options;
    for (const QString& argument : arguments) {
        if (argument.compare(QLatin1String("/u"), Qt::CaseInsensitive) == 0)
            options.unregister = true;
        else if (argument.compare(QLatin1String("/s"), Qt::CaseInsensitive) == 0)
            options.silent = true;
        else if (argument.startsWith(QLatin1String("/hive:"), Qt::CaseInsensitive) && argument.size() > 6)
            options.hivePath = argument.mid(6);
        else if (argument.startsWith(QLatin1String("/sysinfo:"), Qt::CaseInsensitive) && argument.size() > 9)
            options.systemInformation = argument.mid(9);
        else if (options.library.isEmpty()) // anything else, absolute paths included
            options.library = argument;
        else
            throw Failure{automation::AutomationError(automation::ErrorNumber::InvalidProcedureCall, kSource,
                                                      QStringLiteral("Unknown argument: %1").arg(argument)),
                          kExitUsage};
    }
    if (options.library.isEmpty() == options.systemInformation.isEmpty())
        throw Failure{automation::AutomationError(automation::ErrorNumber::InvalidProcedureCall, kSource,
                                                  QStringLiteral("Usage: vexlo-regsvr [/u] [/s] [/hive:FILE] LIBRARY | /sysinfo:PROGRAM")),
                      kExitUsage};
    return options;
}

void* loadLibrary(const QString& library)
{
    if (!QFileInfo(library).isFile())
        throw Failure{automation::AutomationError(automation::ErrorNumber::FileNotFound, kSource,
                                                  QStringLiteral("File not found: %1").arg(library)),
                      kExitNotLoaded};
    // Loaded by the path given, which is the path the library registers.
    void* handle = dlopen(QFile::encodeName(library).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw Failure{automation::AutomationError(kErrorLoadingLibrary, kSource,
                                                  QStringLiteral("Error in loading library %1: %2")
                                                      .arg(library, QString::fromLocal8Bit(dlerror()))),
                      kExitNotLoaded};
    return handle;
}

void setSystemInformation(const Options& options)
{
    sysapi::RegistryHive& hive = sysapi::RegistryHive::current();
    using sysapi::HKEY_LOCAL_MACHINE;
    if (!options.unregister) {
        hive.setStringValue(HKEY_LOCAL_MACHINE, kSystemInformationKey, kSystemInformationValue, options.systemInformation);
    } else if (hive.stringValue(HKEY_LOCAL_MACHINE, kSystemInformationKey, kSystemInformationValue)
               == options.systemInformation) {
        hive.deleteValue(HKEY_LOCAL_MACHINE, kSystemInformationKey, kSystemInformationValue);
        hive.deleteKeyIfEmpty(HKEY_LOCAL_MACHINE, kSystemInformationKey);
    }
    if (!hive.save())
        throw Failure{automation::AutomationError(automation::ErrorNumber::PathFileAccessError, kSource,
                                                  QStringLiteral("Path/File access error: %1").arg(hive.filePath())),
                      kExitEntryPointFailed};
}

void registerLibrary(const Options& options)
{
    const char* entryPoint = options.unregister ? "DllUnregisterServer" : "DllRegisterServer";
    const QString library = QFileInfo(options.library).absoluteFilePath();
    void* handle = loadLibrary(library);
    using EntryPoint = std::int32_t (*)();
    auto function = reinterpret_cast<EntryPoint>(dlsym(handle, entryPoint));
    if (!function)
        throw Failure{automation::AutomationError(kEntryPointNotFound, kSource,
                                                  QStringLiteral("Can't find library entry point %1 in %2")
                                                      .arg(QLatin1String(entryPoint), library)),
                      kExitNoEntryPoint};
    const std::int32_t result = function();
    if (result != 0)
        throw Failure{automation::AutomationError(result, kSource,
                                                  QStringLiteral("%1 in %2 failed with code 0x%3")
                                                      .arg(QLatin1String(entryPoint), library)
                                                      .arg(static_cast<std::uint32_t>(result), 8, 16, QLatin1Char('0'))),
                      kExitEntryPointFailed};
    if (!options.silent)
        std::printf("%s in %s succeeded.\n", entryPoint, QFile::encodeName(library).constData());
}

void run(const Options& options)
{
    std::unique_ptr<sysapi::RegistryHive> ownHive;
    if (!options.hivePath.isEmpty()) {
        ownHive = std::make_unique<sysapi::RegistryHive>(options.hivePath);
        sysapi::RegistryHive::setCurrent(ownHive.get());
    }
    if (!options.systemInformation.isEmpty())
        setSystemInformation(options);
    else
        registerLibrary(options);
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    try {
        run(parseOptions(arguments));
        return 0;
    } catch (const Failure& failure) {
        std::fprintf(stderr, "vexlo-regsvr: error %d: %s\n", failure.error.number(),
                     failure.error.description().toLocal8Bit().constData());
        return failure.exitStatus;
    }
}
