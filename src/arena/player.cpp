#include "arena/player.h"

#include "arena/spider_figure.h"

namespace {
constexpr double kStartX = 502, kStartY = 384, kStartAngle = 180;
}  // namespace

double PlayerX = kStartX;
double PlayerY = kStartY;
double PlayerAngle = kStartAngle;
double PlayerOldX = kStartX;
double PlayerOldY = kStartY;
int PlayerWalkStep = 1;
int PlayerWalkDelay = 0;

void PlacePlayerAtStart() {
  PlayerX = PlayerOldX = kStartX;
  PlayerY = PlayerOldY = kStartY;
  PlayerAngle = kStartAngle;
  PlayerWalkStep = 1;
  PlayerWalkDelay = 0;
}

namespace {

// The same 0, 1, 2, 1 cycle the insects flap their wings with.
constexpr int kWalkFrames[4] = {0, 1, 2, 1};

}  // namespace

int SpiderWalkFrame(int walk_step) {
  if (walk_step < 1 || walk_step > 4) return 0;
  return kWalkFrames[walk_step - 1];
}

void AdvanceWalk() {
  if (++PlayerWalkDelay > 6) {
    PlayerWalkDelay = 0;
    if (++PlayerWalkStep > 4) PlayerWalkStep = 1;
  }
}

void DrawPlayerSpider(int flash) {
  DrawSpiderFigure(SpiderWalkFrame(PlayerWalkStep), PlayerX, PlayerY, static_cast<int>(PlayerAngle),
                   flash);
}
