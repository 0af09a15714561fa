#include "ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace ui {
namespace {

constexpr double kFallbackDpi = 96.0;

double logicalDpiX()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : kFallbackDpi;
}

double logicalDpiY()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : kFallbackDpi;
}

} // namespace

double twipsPerPixelX() { return kTwipsPerInch / logicalDpiX(); }
double twipsPerPixelY() { return kTwipsPerInch / logicalDpiY(); }
int twipsToPixelsX(double twips) { return static_cast<int>(std::lround(twips / twipsPerPixelX())); }
int twipsToPixelsY(double twips) { return static_cast<int>(std::lround(twips / twipsPerPixelY())); }
double pixelsToTwipsX(double pixels) { return pixels * twipsPerPixelX(); }
double pixelsToTwipsY(double pixels) { return pixels * twipsPerPixelY(); }

QRect twipsRect(double left, double top, double width, double height)
{
    return QRect(twipsToPixelsX(left), twipsToPixelsY(top), twipsToPixelsX(width), twipsToPixelsY(height));
}

} // namespace ui
