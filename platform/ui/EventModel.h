#pragma once

#include <QObject>

#include <functional>

class QDialog;

// One user-interface thread, and one level of it that does work.
//
// Work that changes the program's state from outside the user's own action
// (an automation call, an unload, the end of the program) starts only from
// the top-level event loop, never inside another handler's wait. A wait is a
// Pause or a modal dialog: while it runs, the thread still paints, lets the
// bus and the clipboard do their own I/O and runs timer ticks that never wait
// themselves, but what is handed to runAtTopLevel waits for the wait to end.
// Every wait of the system marks itself with a WaitScope (Pause and the
// dialog seam do); a nested event loop that nobody marked (a context menu's)
// counts as a wait too.
namespace ui {

// Marks the running of a wait on this thread.
class WaitScope {
public:
    WaitScope();
    ~WaitScope();
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;
};

// True when no wait runs and the thread's event loop is the outermost one.
bool atTopLevel();

// Runs `action` later, from the top-level event loop, once every wait around
// it has ended; actions run in the order they were handed in. Nothing runs
// when `context` has been destroyed by then.
void runAtTopLevel(QObject* context, std::function<void()> action);

// Runs a modal dialog (QDialog::exec) as a wait. Once the program is ending
// (see endWaits) a dialog is not shown and the result is Rejected.
int runModal(QDialog& dialog);

// The program is ending: every modal dialog running through runModal is
// rejected, and later ones are not shown. Nobody is there to answer them.
void endWaits();
bool waitsEnded();

} // namespace ui
