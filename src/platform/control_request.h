// What the player's controls ask of the spider in one frame. The input services make
// it and the spider carries it out, so neither needs to know the other.
#pragma once

struct ControlRequest {
  int step_count = 0;  // steps to take, in order; at most four
  int step_dx[4] = {};
  int step_dy[4] = {};
  bool fire = false;
  int fire_angle = 0;  // degrees, 0 up, clockwise
};
