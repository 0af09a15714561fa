#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>
#include <optional>

// OLE colours: 0x00BBGGRR for a fixed colour (red in the low byte), or a
// system colour index with the highest bit set (0x8000000F, the button face).
// System colours take the palette of the running desktop.
namespace ui {

namespace SystemColor {
inline constexpr std::uint32_t ActiveCaption = 0x80000002;
inline constexpr std::uint32_t InactiveCaption = 0x80000003;
inline constexpr std::uint32_t Window = 0x80000005;
inline constexpr std::uint32_t WindowText = 0x80000008;
inline constexpr std::uint32_t CaptionText = 0x80000009;
inline constexpr std::uint32_t Highlight = 0x8000000D;
inline constexpr std::uint32_t ButtonFace = 0x8000000F;
inline constexpr std::uint32_t ButtonText = 0x80000012;
inline constexpr std::uint32_t InactiveCaptionText = 0x80000013;
inline constexpr std::uint32_t InfoBackground = 0x80000018;
} // namespace SystemColor

// The colour, or nothing for a value that is no valid colour (an unknown
// system index, or high-byte flags other than the system bit).
std::optional<QColor> oleColorToQColor(std::uint32_t color, const QPalette& palette);
std::optional<QColor> oleColorToQColor(std::uint32_t color); // with the application palette

// A fixed colour from red, green and blue.
constexpr std::uint32_t rgbColor(int red, int green, int blue)
{
    return static_cast<std::uint32_t>(red & 0xFF) | (static_cast<std::uint32_t>(green & 0xFF) << 8)
           | (static_cast<std::uint32_t>(blue & 0xFF) << 16);
}

} // namespace ui
