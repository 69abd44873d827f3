// The program's one entry: prepares everything, runs the screens, saves and leaves.
#pragma once

#include "data/version.h"

// Runs start-up, the screens and the shutdown. Returns the process exit code:
// 0 after a normal end (also when the window was closed), 1 when no display could
// be opened. A second call while one is running returns 0 at once.
int Startup();

// The window title: "Silkguard v" + version + " (OpenGL)".
const char* WindowTitle();
