#pragma once

#include <cstdint>
#include <functional>

// Pauses that keep the window alive.
//
// Pause(ms) returns after about ms milliseconds (never before them); ms <= 0
// returns at once. While it waits, the thread's Qt events run (timers,
// painting, posted events), but input from the window system (keys, mouse)
// stays queued and is handled after the pause: a pause never lets the user
// act in the middle of the operation that paused. Without a
// QCoreApplication the thread simply sleeps.
//
// Pauses nest when an event handled during a pause pauses itself (a timer
// tick that pauses while a generation pauses). A nested pause never outlasts
// the pauses around it: it ends at its own deadline or at the innermost
// enclosing pause's deadline, whichever comes first, so the outer pause
// still returns on time. The deadlines are kept per thread.
namespace services {

// `milliseconds` is taken by reference and never changed.
void Pause(std::int32_t& milliseconds);

using PauseHandler = std::function<void(std::int32_t milliseconds)>;

// Test seam: a handler replaces the real waiting of every Pause call in the
// process (tests make pauses instant or record them); an empty handler
// restores the real waiting. Returns the previous handler.
PauseHandler setPauseHandler(PauseHandler handler);

} // namespace services
