// Scripted runs: a test steers any screen loop frame by frame through the frame hook.
#pragma once

#include <functional>

// Thrown by a test's frame hook to unwind every screen loop and end the run.
struct ScriptStop {};

// Thrown when the player closes the window or the process gets SIGTERM; start-up
// catches it and leaves as it would from the main menu.
struct QuitRequest {};

using FrameHook = std::function<void(int frame)>;

// The hook runs at the end of every Flip with the number of that frame (1 for the
// first presented frame). An empty hook removes it.
void SetFrameHook(FrameHook hook);

// Called by Flip once the frame is presented.
void RunFrameHook();

// Frames presented since the counter was last reset.
int FrameNumber();
void ResetFrameNumber();
