// Writes the stored design settings of the main window's Tarvo controls: one
// property bag per instance, with the keys in lower case as the form designer
// writes them and the fonts in their persisted form. The window reads them
// back when it loads. Usage: frmmain-design <output folder>
#include "automation/PropertyBag.h"
#include "automation/StdFont.h"

#include <QDir>
#include <QFile>

#include <cstdio>

using automation::PropertyBag;
using automation::StdFont;

namespace {

bool writeBag(const QDir& folder, const char* name, const PropertyBag& bag)
{
    QFile file(folder.filePath(QString::fromLatin1(name) + QStringLiteral(".bag")));
    if (!file.open(QIODevice::WriteOnly) || file.write(bag.toBytes()) < 0) {
        std::fprintf(stderr, "frmmain-design: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

PropertyBag glowLabel()
{
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("_extentx"), std::int32_t(2138));
    bag.writeProperty(QStringLiteral("_extenty"), std::int32_t(656));
    bag.writeProperty(QStringLiteral("font"), StdFont::create(QStringLiteral("Verdana"), 10.8, true));
    bag.writeProperty(QStringLiteral("caption"), QStringLiteral("Tovin"));
    return bag;
}

// Indicator k - 1 of step k: 445 wide, its own height, enabled only for step 1.
PropertyBag stepIndicator(int index, std::int32_t height)
{
    PropertyBag bag;
    bag.writeProperty(QStringLiteral("_extentx"), std::int32_t(445));
    bag.writeProperty(QStringLiteral("_extenty"), height);
    if (index > 0)
        bag.writeProperty(QStringLiteral("enabled"), false, true);
    bag.writeProperty(QStringLiteral("font"), StdFont::create(QStringLiteral("Tahoma"), 8.4));
    bag.writeProperty(QStringLiteral("caption"), QString::number(index + 1));
    bag.writeProperty(QStringLiteral("disabledfont"), StdFont::create(QStringLiteral("Tahoma"), 8.4));
    return bag;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: frmmain-design <output folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const std::int32_t heights[] = {868, 868, 656, 445, 868};
    bool written = writeBag(folder, "XGlowLabel1", glowLabel());
    for (int index = 0; index < 5; ++index) {
        const QByteArray name = "slbSteps" + QByteArray::number(index);
        written = writeBag(folder, name.constData(), stepIndicator(index, heights[index])) && written;
    }
    return written ? 0 : 1;
}
