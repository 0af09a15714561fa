#pragma once

// The program's start-up.
namespace mMain {

// Creates the main window and shows it, modeless and without an owner, then
// runs the program until it ends. Reads no command line of its own.
int Main(int argc, char** argv);

} // namespace mMain
