#pragma once

#include <QIcon>

// The program's title: the window's caption and the caption of every
// message box the program shows.
inline constexpr const char* kAppTitle = "Vexlo 1.1";

// What the password label shows before the first password.
inline constexpr const char* kPasswordDesignText = "Click the Generate button to generate a new password.";

// The program's icon, with its 32 x 32 and 16 x 16 images.
QIcon programIcon();
