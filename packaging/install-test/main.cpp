// Creates Tarvo's shaped label (and Quorrel's GMisc, where installed) by
// ProgID, the way another program finds the installed in-process servers,
// and prints what it found.
#include "automation/AutomationError.h"
#include "automation/ClassRegistry.h"
#include "system/RegistryHive.h"
#include "tarvo/TypeLibrary.h"

#include <QApplication>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    try {
        std::printf("hive %s\n", qPrintable(sysapi::RegistryHive::current().filePath()));
        std::printf("InprocServer32 %s\n",
                    qPrintable(sysapi::RegistryHive::current().stringValue(
                        sysapi::HKEY_CLASSES_ROOT,
                        QStringLiteral("CLSID\\%1\\InprocServer32").arg(automation::classIdText(tarvo::kXShpLabelClassId)),
                        {})));
        automation::ObjectRef label = automation::ClassRegistry::instance().createObject(QStringLiteral("Tarvo.XShpLabel"));
        std::printf("Tarvo.XShpLabel %s\n", qPrintable(label->typeName()));
#ifdef CLIENT_HAS_QUORREL
        automation::ObjectRef misc = automation::ClassRegistry::instance().createObject(QStringLiteral("Quorrel.GMisc"));
        std::vector<automation::Variant> args{std::int16_t(1), std::int16_t(1), std::int16_t(6)};
        const automation::Variant version = misc->invoke(QStringLiteral("FmtVersion"), automation::MemberKind::Method, args);
        std::printf("Quorrel.GMisc FmtVersion %s\n", qPrintable(version.toString()));
#endif
    } catch (const automation::AutomationError& error) {
        std::fprintf(stderr, "error %d: %s\n", error.number(), qPrintable(error.description()));
        return 1;
    }
    return 0;
}
