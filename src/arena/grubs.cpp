#include "arena/grubs.h"

#include <cstdint>

#include "arena/effects.h"
#include "arena/enemies.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "data/grub_data.h"
#include "platform/geometry.h"
#include "render/vector_font.h"

EntityList<Grubs> GrubList;
ShapeSegment GrubShape[kGrubSegments];

namespace {

struct Tier {
  int points;
  const char* text;
  std::uint32_t glow;
  std::uint32_t text_glow;
  int r, g, b;
};

// By Color: the value falls as the sign ages, and its colour shows it.
constexpr Tier kTiers[4] = {
    {50, "50", 0xFF1A54FFu, 0xFF1A54FFu, 64, 64, 255},
    {100, "100", 0xFF32C21Eu, 0xFF32C21Eu, 64, 255, 64},
    {250, "250", 0xFF25C3C3u, 0xFF25C3C3u, 0, 255, 255},
    {500, "500", 0xFFC2C2C2u, 0xFFFFFFFFu, 255, 255, 255},
};

const Tier& TierOf(const Grubs& g) {
  return kTiers[g.Color < 0 ? 0 : (g.Color > 3 ? 3 : g.Color)];
}

LineLook LookOf(const Grubs& g) {
  if (g.Flashing == 1) {
    const int row = g.ColorIndex < 0 || g.ColorIndex >= kColorTableRows ? 0 : g.ColorIndex;
    const ColorRow& c = ColorTable[row];
    return LineLook{c.glow, c.r, c.g, c.b, GlowWidth16};
  }
  const Tier& t = TierOf(g);
  return LineLook{t.glow, t.r, t.g, t.b, GlowWidth16};
}

bool Collected(const Grubs& g) {
  return WithinRadius(g.X, g.Y, TruncToInt(PlayerX), TruncToInt(PlayerY), kGrubCollectRadius);
}

void Collect(Grubs& g) {
  const Tier& t = TierOf(g);
  AwardPoints(t.points);
  ShowFloatingText(g.X - 28, g.Y + 28, t.text, t.text_glow);
  EmitSound("TakeGrub");
  GrubList.Remove(&g);
}

// False once the grubsteak has run out of value and gone.
bool Age(Grubs& g) {
  if (g.Timer > 0) {
    --g.Timer;
    if (g.Timer == 0) {
      g.Timer = kGrubTierFrames;
      --g.Color;
    }
  }
  g.ColorIndex = g.ColorIndex >= kColorTableRows - 1 ? 0 : g.ColorIndex + 1;
  if (g.Color >= 0) return true;
  GrubList.Remove(&g);
  return false;
}

bool ClaimHeld(int target_id) {
  for (const Enemies& e : EnemyList)
    if (e.TargetID == target_id) return true;
  return false;
}

}  // namespace

void LoadGrubShape() {
  for (int i = 0; i < kGrubSegments; ++i) {
    const int* s = &GrubShapeData[i * 4];
    GrubShape[i] = {static_cast<double>(s[0]), static_cast<double>(s[1]), static_cast<double>(s[2]),
                    static_cast<double>(s[3])};
  }
}

void CreateGrub(int x, int y) {
  if (!InsidePlayEllipse(x, y)) return;
  Grubs g;
  g.X = x;
  g.Y = y;
  GrubList.Add(g);
}

void StepGrubs(int advance) {
  for (Grubs& g : GrubList) {
    // Collection comes before ageing, and also in frozen frames.
    if (Collected(g)) {
      Collect(g);
      continue;
    }
    if (advance == 1 && !Age(g)) continue;
    // The claim lapses; a bug slayer's mark stays until a slayer chooses again.
    if (!ClaimHeld(g.TargetID)) g.TargetID = 0;
  }
}

void DrawGrubs() {
  GlowBatch batch;
  for (const Grubs& g : GrubList) batch.Shape(GrubShape, kGrubSegments, g.X, g.Y, LookOf(g));
}

void DrawGrubIcon(double x, double y) {
  const Tier& t = kTiers[2];
  DrawShape(GrubShape, kGrubSegments, x, y, t.glow, t.r, t.g, t.b, GlowWidth16);
}

Grubs* ClaimedGrub(int target_id) {
  if (target_id <= 0) return nullptr;
  for (Grubs& g : GrubList)
    if (g.TargetID == target_id) return &g;
  return nullptr;
}
