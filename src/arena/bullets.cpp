#include "arena/bullets.h"

#include "arena/effects.h"
#include "arena/player.h"
#include "data/bullet_data.h"
#include "platform/geometry.h"
#include "platform/random.h"
#include "platform/trig.h"
#include "render/screen.h"

EntityList<PlayerBullets> BulletList;
int FireTimer = 0;
int BulletColourStep = 0;
ShapeSegment BulletShape[kBulletSegments];

namespace {

constexpr double kFireSpeed = 10;
constexpr double kGlanceSpeed = 12;  // a glancing bullet outruns a fresh one
constexpr double kMuzzle = 15;       // shots leave this far out along the heading

struct ShotColour {
  std::uint32_t glow;
  int r, g, b;
};

// The second and third shots swap hues between the modes: crimson then blue in neon,
// blue then crimson in wire.
constexpr ShotColour kShotColours[6] = {
    {0xFFFFFFFF, 255, 255, 255}, {0xFFBD0022, 22, 84, 197},  {0xFF1654C5, 189, 0, 34},
    {0xFFFEFE00, 254, 254, 0},   {0xFF31FEFF, 49, 254, 255}, {0xFFF921C3, 249, 33, 195},
};

int WrapDegrees(int a) {
  a %= 360;
  return a < 0 ? a + 360 : a;
}

int BulletHitRadius(int enemy_type) {
  return enemy_type == 5 ? 60 : 30;
}

}  // namespace

void LoadBulletShape() {
  for (int i = 0; i < kBulletSegments; ++i) {
    const int* s = &BulletShapeData[i * 4];
    BulletShape[i] = {static_cast<double>(s[0]), static_cast<double>(s[1]),
                      static_cast<double>(s[2]), static_cast<double>(s[3])};
  }
}

void FireBullet() {
  if (BulletList.Count() >= kMaxBullets) return;
  if (FireTimer > 0) --FireTimer;
  if (FireTimer > 0) return;

  EmitSound("shot");

  const double s = Sin(PlayerAngle);
  const double c = Cos(PlayerAngle);
  PlayerBullets b;
  b.xspeed = kFireSpeed * s;
  b.yspeed = -kFireSpeed * c;
  b.angle = TruncToInt(PlayerAngle);
  b.x = PlayerX + kMuzzle * s;
  b.y = PlayerY - kMuzzle * c;
  b.Frame = RandInt(0, 3);
  b.life = 0;
  const ShotColour& colour = kShotColours[((BulletColourStep % 6) + 6) % 6];
  b.Color = colour.glow;
  b.Rcol = colour.r;
  b.Gcol = colour.g;
  b.Bcol = colour.b;
  BulletList.Add(b);

  FireTimer = kFireInterval;
  BulletColourStep = (((BulletColourStep + 1) % 6) + 6) % 6;
}

bool BulletTouchesGrub(const PlayerBullets& bullet, int grub_x, int grub_y) {
  return WithinRadius(TruncToInt(bullet.x), TruncToInt(bullet.y), TruncToInt(grub_x),
                      TruncToInt(grub_y), kGrubGlanceRadius);
}

void GlanceBullet(PlayerBullets& bullet) {
  int d = RandInt(25, 50);
  if (RandInt(1, 2) == 1) d = -d;
  bullet.angle = WrapDegrees(bullet.angle + d);
  bullet.xspeed = kGlanceSpeed * Sin(bullet.angle);
  bullet.yspeed = -kGlanceSpeed * Cos(bullet.angle);
  EmitSound("BlipSND");
}

bool BulletReachesInsect(const PlayerBullets& bullet, double insect_x, double insect_y,
                         int enemy_type) {
  return WithinRadius(TruncToInt(bullet.x), TruncToInt(bullet.y), TruncToInt(insect_x),
                      TruncToInt(insect_y), BulletHitRadius(enemy_type));
}

void PlayBulletHitSound() {
  EmitSound("Crunch1");
}

bool BulletInsidePlayArea(const PlayerBullets& b) {
  // Written so that a NaN position counts as outside.
  return b.x >= 0 && b.x <= kPlayWidth - 1 && b.y >= 0 && b.y <= kPlayHeight - 1;
}

void DrawBullets() {
  for (const PlayerBullets& b : BulletList)
    DrawShape(BulletShape, kBulletSegments, b.x, b.y, b.Color, b.Rcol, b.Gcol, b.Bcol, GlowWidth16);
}
