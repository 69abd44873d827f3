// Each type's step of the insect update. Only the insect update and the types' own
// units include it.
#pragma once

#include "arena/enemies.h"

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
