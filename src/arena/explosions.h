// Explosions: flying debris squares and growing magenta rings. Rings destroy the
// dragonflies they reach; a grenade bug's deadly ring also kills the spider.
#pragma once

#include "platform/entity_list.h"

struct Explosions {
  int explosiontype = 0;          // 0 debris line, 1 ring
  double x1 = 0, y1 = 0;          // debris: first end point; ring: centre
  double x2 = 0, y2 = 0;          // debris: second end point
  double xspeed = 0, yspeed = 0;  // debris: movement per frame of both end points
  int color = 0;                  // debris, neon mode: current ARGB colour (as signed)
  int life = 0;                   // unused
  int Delayed = 0;                // debris: frames to wait before moving
  double Size = 0;                // ring: current size (starts at 2)
  int Rings = 0;                  // ring: 6
  double MaxRingSize = 0;         // ring: size at which it ends
  double RingSpeed = 0;           // ring: growth per frame
  int Deadly = 0;                 // ring: 1 kills the spider
  int r = 0, g = 0, b = 0;        // debris, wire mode: current colour
};

extern EntityList<Explosions> ExplosionList;

// Explosion kinds.
inline constexpr int kExplosionDebris = 0;
inline constexpr int kExplosionRing = 1;
inline constexpr int kExplosionDeadlyRing = 2;

// kind 0: `count` debris squares around (x, y), staggered by 4 to 6 frames each (size
// and speed unused); kind 1: a harmless ring growing by `speed` up to `size`; kind 2:
// the same ring, deadly to the spider. Any other kind makes nothing.
void CreateExplosion(int x, int y, int count, int kind, double size, double speed);

// advance 1 flickers, moves and grows every explosion, applies the rings' effects and
// removes finished ones. A deadly ring kills a spider within reach in either case.
void StepExplosions(int advance);
// Every explosion as it stands: debris in its flicker colours, magenta rings.
void DrawExplosions();
