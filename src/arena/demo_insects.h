// The insects that roam behind the menus: what a finished game leaves behind and what
// the main menu sends in.
#pragma once

// Clears the insects and sends in eight random small ones, then one each of the
// dragonfly, grenade bug, rocket bug and spoiler.
void PopulateDemoInsects();

// Empties what a game leaves on the field (shots, grubsteaks, eggs, explosions,
// floating scores), so the insects behind the menus chase nothing nobody sees.
void ClearPlayLeftovers();
