#include "ui/OleColor.h"

#include <QGuiApplication>

namespace ui {
namespace {

struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The Windows system colour indexes, each given the palette role that plays
// the same part on a Qt desktop. Title bars have no role of their own: the
// active one takes the selection colours, the inactive one the greys of
// buttons, as classic desktops drew them.
std::optional<PaletteEntry> paletteEntry(std::uint32_t index)
{
    using G = QPalette::ColorGroup;
    using R = QPalette::ColorRole;
    switch (index) {
    case 0: return PaletteEntry{G::Active, R::Button};           // scroll bar
    case 1: return PaletteEntry{G::Active, R::Dark};             // desktop
    case 2: return PaletteEntry{G::Active, R::Highlight};        // active title bar
    case 3: return PaletteEntry{G::Active, R::Mid};              // inactive title bar
    case 4: return PaletteEntry{G::Active, R::Window};           // menu
    case 5: return PaletteEntry{G::Active, R::Base};             // window background
    case 6: return PaletteEntry{G::Active, R::Shadow};           // window frame
    case 7: return PaletteEntry{G::Active, R::WindowText};       // menu text
    case 8: return PaletteEntry{G::Active, R::Text};             // window text
    case 9: return PaletteEntry{G::Active, R::HighlightedText};  // active title text
    case 10:
    case 11: return PaletteEntry{G::Active, R::Button};          // borders
    case 12: return PaletteEntry{G::Active, R::Mid};             // application workspace
    case 13: return PaletteEntry{G::Active, R::Highlight};
    case 14: return PaletteEntry{G::Active, R::HighlightedText};
    case 15: return PaletteEntry{G::Active, R::Button};          // button face
    case 16: return PaletteEntry{G::Active, R::Dark};            // button shadow
    case 17: return PaletteEntry{G::Disabled, R::Text};          // grey text
    case 18: return PaletteEntry{G::Active, R::ButtonText};
    case 19: return PaletteEntry{G::Active, R::Button};          // inactive title text
    case 20: return PaletteEntry{G::Active, R::Light};           // button highlight
    case 21: return PaletteEntry{G::Active, R::Shadow};          // 3-D dark shadow
    case 22: return PaletteEntry{G::Active, R::Midlight};        // 3-D light
    case 23: return PaletteEntry{G::Active, R::ToolTipText};
    case 24: return PaletteEntry{G::Active, R::ToolTipBase};
    case 26: return PaletteEntry{G::Active, R::Link};            // hot-tracked item
    case 27: return PaletteEntry{G::Active, R::Highlight};       // gradient of the active title bar
    case 28: return PaletteEntry{G::Active, R::Mid};             // gradient of the inactive title bar
    case 29: return PaletteEntry{G::Active, R::Highlight};       // menu highlight
    case 30: return PaletteEntry{G::Active, R::Window};          // menu bar
    default: return std::nullopt;
    }
}

} // namespace

std::optional<QColor> oleColorToQColor(std::uint32_t color, const QPalette& palette)
{
    const std::uint32_t flags = color >> 24;
    if (flags == 0x80) {
        const auto entry = paletteEntry(color & 0xFFFFFF);
        if (!entry)
            return std::nullopt;
        return palette.color(entry->group, entry->role);
    }
    if (flags != 0)
        return std::nullopt;
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

std::optional<QColor> oleColorToQColor(std::uint32_t color)
{
    return oleColorToQColor(color, QGuiApplication::palette());
}

} // namespace ui
