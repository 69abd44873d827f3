// The spider's own step: walking the web, where red strands stop it, pushing the eggs it
// stands on, and firing.
#pragma once

#include "platform/control_request.h"

// One step of the spider (the control step asks for 4 pixels along one axis). A red
// web segment refuses a step that would carry the spider outward across it.
void MovePlayer(int dx, int dy);

// Once per frame in play: carries out the control step's moves and shot, then keeps
// the spider inside the play ellipse. Any flag but 1 (a frozen scene) leaves it still.
void UpdatePlayer(const ControlRequest& request, int flag);
