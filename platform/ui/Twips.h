#pragma once

#include <QRect>

// Positions and sizes of the forms are given in twips (1/1440 inch). They are
// converted with the logical DPI of the primary screen: at 96 DPI a pixel is
// 15 twips.
namespace ui {

double twipsPerPixelX();
double twipsPerPixelY();

// Whole pixels, rounded to the nearest.
int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);
double pixelsToTwipsX(double pixels);
double pixelsToTwipsY(double pixels);

// A rectangle given as left, top, width, height in twips.
QRect twipsRect(double left, double top, double width, double height);

// Font sizes in points become pixels the same way text does on this screen.
inline constexpr double kTwipsPerInch = 1440.0;

} // namespace ui
