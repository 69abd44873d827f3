// What the insects' behaviours share: the moves of one frame, and each type's step of
// the insect update. Only the insects' own units include it.
#pragma once

#include "arena/enemies.h"

// xspeed and yspeed for a speed along the insect's heading.
void SetSpeeds(Enemies& e, double speed);
// Adds the speeds to the position.
void MoveInsect(Enemies& e);
// The wing flaps: each image of the 0, 1, 2, 1 cycle shows for hold + 1 frames.
void AnimateWings(Enemies& e, int hold);
// A knocked-back insect drifts with the bullet instead of flying, one frame a count;
// false when no knock-back is pending.
bool KnockedBack(Enemies& e);

// One frame of a hornet, mosquito or beetle: its hunting mode, then the turn back at
// the edge of the play ellipse.
void CommonInsectStep(Enemies& e);

// One frame of each of the other types' own flight.
void DragonflyStep(Enemies& e);
void GrenadeBugStep(Enemies& e);
void RocketBugStep(Enemies& e);
void SpoilerStep(Enemies& e);
void BugSlayerStep(Enemies& e);
// False once the rockette has burst and gone.
bool RocketteStep(Enemies& e);
