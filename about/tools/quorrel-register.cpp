// Registers an in-process server library in the registry hive, or removes
// it, through the library's own entry points:
//
//   quorrel-register [--unregister] [--hive FILE] LIBRARY
//
// Without --hive the system's hive is used.
#include "system/RegistryHive.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

using EntryPoint = std::int32_t (*)();

int usage()
{
    std::fputs("usage: quorrel-register [--unregister] [--hive FILE] LIBRARY\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    bool unregister = false;
    std::unique_ptr<sysapi::RegistryHive> hive;
    while (arguments.size() > 1) {
        const QString option = arguments.takeFirst();
        if (option == QLatin1String("--unregister") || option == QLatin1String("-u")) {
            unregister = true;
        } else if (option == QLatin1String("--hive") && arguments.size() > 1) {
            hive = std::make_unique<sysapi::RegistryHive>(arguments.takeFirst());
            sysapi::RegistryHive::setCurrent(hive.get());
        } else {
            return usage();
        }
    }
    if (arguments.size() != 1)
        return usage();

    QLibrary library(arguments.first());
    library.setLoadHints(QLibrary::PreventUnloadHint);
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto function = reinterpret_cast<EntryPoint>(library.resolve(entry));
    if (!function) {
        std::fprintf(stderr, "quorrel-register: %s\n", qPrintable(library.errorString()));
        return 1;
    }
    const std::int32_t result = function();
    if (result != 0) {
        std::fprintf(stderr, "quorrel-register: %s failed with 0x%08x\n", entry, static_cast<unsigned>(result));
        return 1;
    }
    return 0;
}
