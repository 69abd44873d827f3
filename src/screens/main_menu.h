// The main menu: the title logo spinning in over roaming insects, a carousel of five
// entries, the footer, and the question before leaving the program.
#pragma once

#include <array>

#include "data/line_art.h"
#include "screens/menu_state.h"

// The title logo's lines; the menu draws them all in one wire colour of its own.
extern std::array<LineArtRecord, kTitleLogoLines> TitleLogo;
// Once at start-up.
void LoadTitleLogo();

// The logo spins in: scale from 0.1, rotation from 180 degrees, step 0..270 by 3.
extern double LogoScale;
extern double LogoRotation;
extern int LogoStep;

void ResetTitleLogo();

// Runs until the player confirms leaving. play_game plays one whole game, ending with
// its game-over screen; the menu sets Lives, Level and Score before it.
void MainMenu(void (*play_game)());

// The scene every menu frame starts with after the backdrop: the insects moved and
// drawn, and the logo drawn and stepped on.
void DrawMenuScene();
void DrawMenuFooter();
// One whole menu frame before it is presented: backdrop, scene, the entry, the help
// lines and the footer.
void DrawMainMenuScreen();
