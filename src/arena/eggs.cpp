#include "arena/eggs.h"

#include <charconv>
#include <string_view>

#include "arena/effects.h"
#include "arena/enemies.h"
#include "arena/insect_shapes.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "platform/geometry.h"
#include "render/glow.h"
#include "render/vector_font.h"

EntityList<Eggs> EggList;
int EggBonus = kFirstEggBonus;

namespace {

constexpr float kLaidSize = 4;
constexpr float kGrowth = 0.015f;
constexpr int kShellSides = 12;
constexpr int kShellStartAngle = 45;
constexpr int kPushRadius = 32;
// Pushing an egg into this small ellipse at the web's centre destroys it too.
constexpr double kCentreRX = 40, kCentreRY = 28;
constexpr int kBonusStep = 500;
constexpr int kBonusCap = 2100;  // the last step taken: bonuses stop at 2500
constexpr std::uint32_t kBonusTextGlow = 0xFFFFFFFFu;

struct EggKind {
  std::uint32_t shell;
  int r, g, b;  // shell, wire mode
  float hatch_size;
  int embryo_shape, embryo_frame;
  double embryo_divisor;  // the embryo grows with the shell: scale = size / divisor
  int embryo_rise;        // pixels above the egg's centre
  int hatches_into;
};

// By EggType - 1.
constexpr EggKind kKinds[2] = {
    {0xFFBD2600u, 192, 64, 64, 12, kSpoiler, 1, 15, 4, kSpoiler},
    {0xFFC1C200u, 192, 192, 64, 9, kHornet, 2, 10, 2, kHornet},
};

const EggKind& KindOf(int type) {
  return kKinds[type == kRedEgg ? 0 : 1];
}

void ScoreEgg(Eggs& egg) {
  EmitSound("EggPushedOff");
  char text[16];
  const auto written = std::to_chars(text, text + sizeof text, EggBonus);
  ShowFloatingText(TruncToInt(egg.x), TruncToInt(egg.y),
                   std::string_view(text, static_cast<std::size_t>(written.ptr - text)),
                   kBonusTextGlow);
  AwardPoints(EggBonus);
  if (EggBonus < kBonusCap) EggBonus += kBonusStep;
  EggList.Remove(&egg);
}

}  // namespace

void CreateEgg(int x, int y, int type) {
  const EggKind& kind = KindOf(type);
  Eggs e;
  e.x = static_cast<float>(x);
  e.y = static_cast<float>(y);
  e.EggType = type == kRedEgg ? kRedEgg : kYellowEgg;
  e.EggSize = kLaidSize;
  e.HatchSize = kind.hatch_size;
  e.Color = static_cast<int>(kind.shell);
  EggList.Add(e);
}

void DrawEggShell(double x, double y, int start_angle, int sides, double size,
                  std::uint32_t colour) {
  const EggKind& kind = KindOf(colour == kKinds[0].shell ? kRedEgg : kYellowEgg);
  GlowBatch batch;
  batch.Polygon(x, y, start_angle, sides, size,
                LineLook{colour, kind.r, kind.g, kind.b, GlowWidth16});
}

void DrawEggs() {
  for (const Eggs& egg : EggList) {
    const EggKind& kind = KindOf(egg.EggType);
    DrawEggShell(egg.x, egg.y, kShellStartAngle, kShellSides, egg.EggSize,
                 static_cast<std::uint32_t>(egg.Color));
    GlowBatch batch;
    InsectLook embryo;
    embryo.scale = egg.EggSize / kind.embryo_divisor;
    embryo.width = GlowWidth14;
    DrawInsectShape(batch, kind.embryo_shape, 0, kind.embryo_frame, TruncToInt(egg.x),
                    TruncToInt(egg.y - kind.embryo_rise), embryo);
  }
}

void StepEggs(int advance) {
  for (Eggs& egg : EggList) {
    const EggKind& kind = KindOf(egg.EggType);
    if (advance == 1) egg.EggSize += kGrowth;
    if (egg.EggSize > egg.HatchSize) {
      CreateEnemy(1, TruncToInt(egg.x), TruncToInt(egg.y - kind.embryo_rise), 0, kind.hatches_into);
      EggList.Remove(&egg);
    }
  }
}

void PushEggs(int dx, int dy) {
  const int px = TruncToInt(PlayerX), py = TruncToInt(PlayerY);
  for (Eggs& egg : EggList) {
    const bool pushed = WithinRadius(px, py, TruncToInt(egg.x), TruncToInt(egg.y), kPushRadius);
    if (pushed) {
      egg.x += static_cast<float>(dx);
      egg.y += static_cast<float>(dy);
    }
    // Into the centre on one frame, off the web on the other.
    const bool scores = FrameToggle == 0
                            ? InsideEllipse(egg.x, egg.y, kArenaCX, kArenaCY, kCentreRX, kCentreRY)
                            : FrameToggle == 1 && !InsidePlayEllipse(egg.x, egg.y);
    if (scores) ScoreEgg(egg);
    if (pushed) break;
  }
}
