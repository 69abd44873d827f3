#include "arena/player_moves.h"

#include "arena/bullets.h"
#include "arena/eggs.h"
#include "arena/player.h"
#include "arena/web.h"
#include "platform/geometry.h"

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
