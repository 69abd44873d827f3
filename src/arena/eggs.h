// Eggs: laid on grubsteaks by hornets and mosquitoes, they grow and hatch into a
// spoiler (red) or a hornet (yellow) unless the spider pushes them off the web or into
// its centre, which pays a bonus that grows with every egg of the level.
#pragma once

#include <cstdint>

#include "platform/entity_list.h"

struct Eggs {
  float x = 0, y = 0;
  int EggType = 0;      // 1 red, hatches a spoiler; 2 yellow, hatches a hornet
  float EggSize = 4;    // side of the shell's 12-gon
  float HatchSize = 0;  // the size at which it hatches
  int Color = 0;        // shell ARGB
};

extern EntityList<Eggs> EggList;
extern int EggBonus;  // points for the next egg destroyed; 500 on every new web

inline constexpr int kRedEgg = 1;
inline constexpr int kYellowEgg = 2;
inline constexpr int kFirstEggBonus = 500;

void CreateEgg(int x, int y, int type);

// advance 1 grows every egg; a ripe one hatches its insect.
void StepEggs(int advance);
// Every egg: its shell and the embryo growing in it.
void DrawEggs();

// For every step (dx, dy) of the spider, once it is taken or refused: pushes the first
// egg under the spider along, and scores eggs in the web's centre or off the web.
void PushEggs(int dx, int dy);

// The shell: a regular polygon of `sides` sides of length `size` centred on (x, y).
// Wire mode draws it in the colour of the shell's egg type.
void DrawEggShell(double x, double y, int start_angle, int sides, double size,
                  std::uint32_t colour);
