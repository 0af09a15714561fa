#pragma once

#include <QString>

#include <cstdint>

namespace services {

// The id of the process that owns a window: this process for one of its own
// windows, otherwise the _NET_WM_PID that the window's client published on
// the X server; 0 when it is unknown (no such window, no X display, no pid).
std::int32_t GetWindowProcessId(std::uintptr_t windowHandle);

// Result codes of ShellOpen; anything above 32 means success.
namespace ShellResult {
inline constexpr std::int32_t Opened = 42;
inline constexpr std::int32_t FileNotFound = 2;
inline constexpr std::int32_t NoAssociation = 31;
} // namespace ShellResult

// Hands a document or a web address to the desktop's handler for it.
//   target       a URL with a scheme ("https://...", "mailto:..."), a file or
//                folder path (relative paths are taken from `directory`, or
//                from the current folder when it is empty), or a host name
//                starting with "www." or "ftp."
//   parameters   ignored: documents and addresses take no arguments
//   showCommand  ignored: the handler places its own window
//   verb         "open" or empty, or "explore" for a folder; any other verb
//                gives NoAssociation
//   ownerWindow  ignored
// Returns Opened when the handler was started, FileNotFound for an empty
// target or a path that does not exist, NoAssociation when nothing could
// open it.
std::int32_t ShellOpen(const QString& target, const QString& parameters, const std::int32_t& showCommand,
                       const QString& directory, const QString& verb, const std::int32_t& ownerWindow);

// Fails with the numbered error and its standard description. Error number 0
// (which means no error) fails with error 5 instead, so a call never
// silently succeeds.
[[noreturn]] void RaiseError(std::int32_t errorNumber);

} // namespace services
