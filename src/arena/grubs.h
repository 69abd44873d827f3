// Grubsteaks: the dollar signs a shot hornet, mosquito or beetle leaves behind. They
// lose value as they lie, the spider collects them, insects claim them to lay on or
// eat, and bullets glance off them.
#pragma once

#include "data/grub_data.h"
#include "platform/entity_list.h"
#include "render/glow.h"

struct Grubs {
  int X = 0, Y = 0;    // centre of the sign
  int Color = 3;       // value tier: 3 pays 500, 2 250, 1 100, 0 50
  int ColorIndex = 0;  // row of ColorTable while Flashing; steps every frame
  int Timer = 180;     // frames left in the current tier
  int TargetID = 0;    // claim ticket shared with the insect going for it; 0 free
  int Flashing = 0;    // 1 while a bug slayer has chosen it
};

extern EntityList<Grubs> GrubList;
extern ShapeSegment GrubShape[kGrubSegments];

inline constexpr int kGrubTierFrames = 180;
inline constexpr int kGrubCollectRadius = 32;

void LoadGrubShape();

// Drops a grubsteak at (x, y) when that lies inside the play ellipse.
void CreateGrub(int x, int y);

// Lets the spider collect the grubsteaks it touches (in frozen frames too); advance 1
// also ages them. Claims whose insect has gone are released.
void StepGrubs(int advance);
// Every grubsteak in the colour of its value, or flashing when a bug slayer chose it.
void DrawGrubs();

// One sign in the value-250 colours, for the instructions.
void DrawGrubIcon(double x, double y);

// The first grubsteak holding a positive claim ticket, or nullptr.
Grubs* ClaimedGrub(int target_id);
