#include "ui/Fonts.h"

#include <QFile>
#include <QFontDatabase>

namespace ui {

void registerDesignFonts()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    // Only the regular face: Wine's bold Tahoma draws hardly bolder than the
    // regular one at dialog sizes, and a bold caption must stand out, so bold
    // is synthesised from the regular face instead.
    const QString regular = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    if (QFile::exists(regular))
        QFontDatabase::addApplicationFont(regular);
}

QFont designFont(const QString& family, double points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace ui
