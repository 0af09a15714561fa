#include "ui/Fonts.h"

#include <fontconfig/fontconfig.h>

#include <thread>

namespace ui {
namespace {

// Only the regular face: Wine's bold Tahoma draws hardly bolder than the
// regular one at dialog sizes, and a bold caption must stand out, so bold is
// synthesised from the regular face instead.
const char* const kTahoma = "/usr/share/wine/fonts/tahoma.ttf";

void prepareFontConfiguration()
{
    FcInit();
    // A missing file is no failure: the face then falls back.
    FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(kTahoma));
}

} // namespace

struct FontPreparation::Impl {
    std::thread worker{prepareFontConfiguration};
};

FontPreparation::FontPreparation() : d(std::make_unique<Impl>()) {}

FontPreparation::~FontPreparation() { wait(); }

void FontPreparation::wait()
{
    if (d->worker.joinable())
        d->worker.join();
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
