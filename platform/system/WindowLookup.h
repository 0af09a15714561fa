#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Window lookup on the X server. Each call opens its own connection and
// closes it again; with no display to open (DISPLAY unset or refused) the
// lookups find nothing.
namespace sysapi {

// The first top-level window, topmost first, whose WM_CLASS class part (the
// second of its two strings) equals `className` and whose title equals
// `title`; 0 when none does. The title is _NET_WM_NAME (UTF-8), or WM_NAME
// (Latin-1) when a window has no _NET_WM_NAME. Top-level windows are the
// children of the root window; for a child without WM_CLASS (a window
// manager's frame) its own children are looked at instead.
std::uint32_t findTopLevelWindow(const QString& className, const QString& title);

// The _NET_WM_PID of the window, or 0 when it has none.
std::int32_t windowProcessId(std::uint32_t window);

// The same on a named display; an empty name means the one in DISPLAY.
std::uint32_t findTopLevelWindow(const QString& className, const QString& title, const QByteArray& displayName);
std::int32_t windowProcessId(std::uint32_t window, const QByteArray& displayName);

} // namespace sysapi
