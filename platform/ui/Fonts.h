#pragma once

#include <QFont>
#include <QString>

#include <memory>

namespace ui {

// The forms ask for Tahoma and Verdana. Debian ships a metric-compatible
// Tahoma with Wine's fonts, outside fontconfig's folders; it is added to the
// font configuration as an application font. Faces that stay missing fall
// back through fontconfig (DejaVu Sans), never failing.
//
// Reading the font configuration takes about as long as connecting to the
// display, so it runs on another thread: make a FontPreparation before the
// QApplication and call wait() (or let it go) before the first widget.
class FontPreparation {
public:
    FontPreparation();
    ~FontPreparation();
    FontPreparation(const FontPreparation&) = delete;
    FontPreparation& operator=(const FontPreparation&) = delete;

    void wait();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// A font of the given face and size with every attribute set explicitly, so
// that it does not inherit boldness or size from a container's font.
QFont designFont(const QString& family, double points, bool bold = false);

} // namespace ui
