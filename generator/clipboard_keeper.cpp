// Keeps a password that Vexlo copied on the clipboard after Vexlo has ended,
// until another program takes the clipboard. Vexlo starts it and hands it the
// text on standard input.
#include "ui/SecretClipboard.h"

int main(int argc, char** argv) { return ui::runClipboardKeeper(argc, argv); }
