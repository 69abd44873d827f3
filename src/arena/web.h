// The web: its segments for the current level, the per-level colour layouts, and its
// two drawings (in play and flowing with colour when a level is complete).
#pragma once

#include <cstdint>

#include "data/web_data.h"
#include "platform/entity_list.h"

// One line of the web, in play-area pixels.
struct Web {
  int x1 = 0, y1 = 0;
  int x2 = 0, y2 = 0;
  std::uint32_t glowcolor = 0;  // ARGB, neon mode
  int ColorIndex = 0;           // 0 blue (plain), 1 green (stops insects), 2 red (stops all)
  int r = 0, g = 0, b = 0;      // wire colour
  int RingNumber = 0;           // 0 innermost .. 7; 0 for spokes
};

inline constexpr int kWebBlue = 0;
inline constexpr int kWebGreen = 1;
inline constexpr int kWebRed = 2;

// The 96 ring segments (ring 1 first, each ring in point order), then the 12 spokes.
inline constexpr int kWebSegments = kWebRingSegments + kWebSpokes;
extern EntityList<Web> WebList;

// Row L is the layout of level L: the ColorIndex of each ring segment in WebList order.
inline constexpr int kWebLayoutRows = 101;
extern int WebLayouts[kWebLayoutRows][kWebRingSegments];

// Row of the flowing colours of the level-complete web, 0..31; the game loop steps it.
extern int WebColourStep;

// Fills rows 1..64 of WebLayouts once at start-up; the others stay all blue.
void LoadWebLayouts();

// Empties WebList and builds the web of the level: geometry and colours only (StartLevel
// puts the level's rules with it). A level without a layout row gets an all-blue web.
void BuildWeb(int level);

// Backdrop if on, glow priming, then every segment in its own colour.
void DrawWeb();

// Every segment coloured ring by ring from ColorTable at WebColourStep; the caller has
// drawn the backdrop and primed the glow.
void DrawLevelCompleteWeb();
