#pragma once

#include <QString>

// The clipboard, for passwords.
//
// Text put here carries the hint "x-kde-passwordManagerHint: secret", which
// clipboard managers honour by not keeping it in their history.
//
// On X11 the clipboard's content lives in the program that put it there and
// dies with it. A user copies a password, closes the window and then pastes,
// so a program that still owns the clipboard when it ends hands the text to
// a small keeper program of ours, which serves it (with the same hint) until
// another program takes the clipboard, and then exits. The text reaches the
// keeper through a pipe, never through its command line.
namespace ui {

void setSecretClipboardText(const QString& text);

// Hands the clipboard to the keeper program when this program owns it.
// Returns true once the keeper owns the clipboard; false when there was
// nothing to hand over or the keeper could not take it within a few seconds.
bool handOverClipboard(const QString& keeperProgram);

// The keeper's side: reads the text from standard input, takes the
// clipboard, reports "ready" on standard output and serves the text until
// another program takes the clipboard. Returns the exit code.
int runClipboardKeeper(int argc, char** argv);

inline constexpr const char* kPasswordManagerHintFormat = "x-kde-passwordManagerHint";

} // namespace ui
