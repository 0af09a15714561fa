#pragma once

#include <cstdint>
#include <functional>

class QObject;

// Pauses that keep the window alive.
//
// Pause(ms) returns after about ms milliseconds (never before them); ms <= 0
// returns at once. While it waits, the window repaints and the thread's
// timers and posted events run, but input from the window system (keys,
// mouse, the close box) stays queued and is handled after the pause: a pause
// never lets the user act in the middle of the operation that paused. A pause
// is a wait of the event model (ui/EventModel.h): no automation call or
// unload starts while it runs. Its length is its own; nothing that runs
// meanwhile shortens it. Without a QCoreApplication the thread simply sleeps.
//
// PauseAsync is the pause of a handler that must not hold the thread (a
// timer tick): it returns at once, and `then` (when given) runs on
// `context`'s thread after about ms milliseconds, unless `context` is gone
// by then.
namespace services {

// `milliseconds` is taken by reference and never changed.
void Pause(std::int32_t& milliseconds);
void PauseAsync(std::int32_t& milliseconds, QObject* context, std::function<void()> then);

using PauseHandler = std::function<void(std::int32_t milliseconds)>;

// Test seam: a handler replaces the real waiting of every Pause call in the
// process (tests make pauses instant or record them); an empty handler
// restores the real waiting. With a handler, PauseAsync calls it and then
// `then` at once. Returns the previous handler.
PauseHandler setPauseHandler(PauseHandler handler);

} // namespace services
