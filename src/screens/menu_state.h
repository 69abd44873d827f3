// What the menus share: the main menu's entry and its zoom, which the screens it opens
// set back when they close, and the footer's timing.
#pragma once

extern int MenuIndex;    // 0..4, the entry shown
extern double MenuZoom;  // the entry's pop-in, 25 down to 0
// The footer alternates the credit line with the server message every 181 frames.
extern int FooterCounter;
extern int FooterToggle;
