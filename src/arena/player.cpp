#include "arena/player.h"

#include "arena/bullets.h"
#include "arena/eggs.h"
#include "arena/spider_figure.h"
#include "arena/web.h"
#include "platform/geometry.h"

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

void MovePlayer(int dx, int dy) {
  // The probe reaches twice the step ahead so the spider stops short of a red line
  // instead of standing on it.
  const double px = PlayerX + 2.0 * dx;
  const double py = PlayerY + 2.0 * dy;
  int allowed = 1;
  for (Web& w : WebList) {
    if (w.ColorIndex != kWebRed) continue;
    if (SegmentsCross(PlayerX, PlayerY, px, py, w.x1, w.y1, w.x2, w.y2)) {
      allowed = 0;
      // Walking toward the centre is always let through, so the spider is never
      // trapped outside a red ring.
      if (Distance(kArenaCX, kArenaCY, PlayerX, PlayerY) > Distance(kArenaCX, kArenaCY, px, py))
        allowed = 2;
      break;
    }
  }
  if (allowed != 0) {
    PlayerX += dx;
    PlayerY += dy;
  }
  // Even a refused step pushes the egg the spider stands on.
  PushEggs(dx, dy);
}

void UpdatePlayer(const ControlRequest& request, int flag) {
  if (flag != 1) return;
  PlayerOldX = PlayerX;
  PlayerOldY = PlayerY;

  const int steps = request.step_count < 0 ? 0 : (request.step_count > 4 ? 4 : request.step_count);
  for (int i = 0; i < steps; ++i) {
    MovePlayer(request.step_dx[i], request.step_dy[i]);
    AdvanceWalk();
  }
  if (request.fire) {
    PlayerAngle = request.fire_angle;
    FireBullet();
  }

  // The whole frame's movement is undone at the rim, so the spider stops dead rather
  // than sliding along the edge.
  if (!InsidePlayEllipse(PlayerX, PlayerY)) {
    PlayerX = PlayerOldX;
    PlayerY = PlayerOldY;
  }
}

void DrawPlayerSpider(int flash) {
  DrawSpiderFigure(SpiderWalkFrame(PlayerWalkStep), PlayerX, PlayerY, static_cast<int>(PlayerAngle),
                   flash);
}
