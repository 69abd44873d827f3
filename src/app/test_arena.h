// A stand-in for the menus and the game loop until they exist: the spider walks in
// and walks the web, fires, and the display shows the score. Viewing keys: F2 next
// level (1..65), F3 neon/wire, F4 the level-complete colour flow, F5 the backdrop.
#pragma once

inline constexpr int kKeyNextLevel = 113;       // F2
inline constexpr int kKeyToggleNeon = 114;      // F3
inline constexpr int kKeyLevelComplete = 115;   // F4
inline constexpr int kKeyToggleBackdrop = 116;  // F5

// Runs until Escape.
void RunTestArena();

// The spider's walk in from the top of the web: 91 frames, ending at (502, 384)
// facing down.
void SpiderEntry();
