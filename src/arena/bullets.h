// The spider's shots: firing, flight, drawing and the hit tests against grubsteaks and
// insects.
#pragma once

#include <cstdint>

#include "platform/entity_list.h"
#include "render/glow.h"

struct PlayerBullets {
  double x = 0, y = 0;               // play-area pixels
  double xspeed = 0, yspeed = 0;     // pixels per update
  int angle = 0;                     // degrees, 0 up, clockwise
  int life = 0;                      // updates lived
  int Frame = 0;                     // 0..3, picked at firing
  std::uint32_t Color = 0;           // glow colour, neon mode
  int Rcol = 0, Gcol = 0, Bcol = 0;  // wire colour
};

extern EntityList<PlayerBullets> BulletList;  // live bullets in firing order
extern int FireTimer;         // frames of held fire still to wait; the game start clears it
extern int BulletColourStep;  // 0..5, colour of the next shot
extern ShapeSegment BulletShape[16];

inline constexpr int kMaxBullets = 4;
inline constexpr int kFireInterval = 8;
inline constexpr int kBulletMaxLife = 120;
inline constexpr int kGrubGlanceRadius = 20;

void LoadBulletShape();

// Once per frame while a fire direction is held, after PlayerAngle has been set to it.
void FireBullet();

// Whether a bullet is still over the play area.
bool BulletInsidePlayArea(const PlayerBullets& b);
// Every bullet as it stands.
void DrawBullets();

// Within 20 pixels of a grubsteak's centre, from the bullet's truncated position.
bool BulletTouchesGrub(const PlayerBullets& bullet, int grub_x, int grub_y);

// Turns the bullet 25 to 50 degrees either way and speeds it up to 12; plays "BlipSND".
void GlanceBullet(PlayerBullets& bullet);

// Hit radius 30, or 60 for a grenade bug (type 5), between the truncated positions.
bool BulletReachesInsect(const PlayerBullets& bullet, double insect_x, double insect_y,
                         int enemy_type);

// "Crunch1", when effects are on.
void PlayBulletHitSound();
