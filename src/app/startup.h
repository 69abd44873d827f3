// The program's one entry: prepares everything, runs the screens, saves and leaves.
#pragma once

#include "data/version.h"
// Pad mappings of the player's own, in SDL's format, beside settings.dat.
inline constexpr const char* kControllerMappingsFile = "gamecontrollerdb.txt";

struct LaunchOptions;

// Runs start-up, the screens and the shutdown, as the options ask. Returns the
// process exit code: 0 after a normal end (also when the window was closed), 1 when
// no display could be opened or a replay ended differently, 2 for a replay that
// cannot be read. A second call while one is running returns 0 at once.
int Startup(const LaunchOptions& options);
int Startup();

// The program's main: reads the command line, then runs or answers it.
int RunFromCommandLine(int argc, const char* const* argv);

// The window title: "Silkguard v" + version + " (OpenGL)".
const char* WindowTitle();
