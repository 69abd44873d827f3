// The spider's line figure, drawn for the player on the web and as the life icon.
#pragma once

#include "data/spider_data.h"

// One line of the figure turned to a whole-degree heading, truncated to pixels.
struct SpiderFigureLine {
  short x1, y1, x2, y2;
};

// The figure turned to every heading 0..359, filled by PrecomputeSpiderFigure.
extern SpiderFigureLine SpiderFigureTable[kSpiderFrames][360][kSpiderLines];

// Turns the line art to every heading. Start-up calls it once; the drawing makes sure
// of it too, so a screen drawn before start-up has run still shows the spider.
void PrecomputeSpiderFigure();

// Row of ColorTable the next flashing figure takes its body colours from.
extern int SpiderFlashRow;

// frame 0..2, position in play-area pixels, heading in degrees (taken modulo 360),
// flash 1 cycles the body through the flashing palette.
void DrawSpiderFigure(int frame, double x, double y, int heading, int flash);
