#pragma once

#include <QFont>
#include <QString>

namespace ui {

// The forms ask for Tahoma and Verdana. Debian ships a metric-compatible
// Tahoma with Wine's fonts, outside fontconfig's folders; this makes it
// known to the application. Faces that stay missing fall back through
// fontconfig (DejaVu Sans), never failing.
void registerDesignFonts();

// A font of the given face and size with every attribute set explicitly, so
// that it does not inherit boldness or size from a container's font.
QFont designFont(const QString& family, double points, bool bold = false);

} // namespace ui
