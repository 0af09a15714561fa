#pragma once

#include <Qt>

#include <cstdint>

// The mouse-button and shift-key masks that control events carry.
namespace ui {

// Left 1, right 2, middle 4.
std::int16_t buttonMask(Qt::MouseButtons buttons);
// Shift 1, Ctrl 2, Alt 4.
std::int16_t shiftMask(Qt::KeyboardModifiers modifiers);

} // namespace ui
