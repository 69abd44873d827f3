// The waves of a normal level: the queue filled from the level table when a level
// starts for the spider, and the per-frame control that releases the waves, adds the
// odd extra insect and finally sends the survivors off.
#pragma once

#include "platform/entity_list.h"

struct EnemyQue {
  int EnemyType = 0;
  int DelayBeforeAppearing = 0;  // always 0, never read
  int Wave = 0;                  // wave within the level, from 1
  int Angle = 0;                 // heading on the entry ellipse; may be negative
};

// Entries stay when their wave is released; only clearing the list empties it.
extern EntityList<EnemyQue> EnemyQueList;

// For the current Level, with EnemyQueList already cleared: empties EnemyList, puts
// three rim insects in at once and, on a normal level, queues the level's waves.
void FillWaveQueue();

// Puts every queued insect of wave w on the rim, in queue order.
void ReleaseWave(int wave);

// Once per frame of a normal level; does nothing once HurryOut is set.
void WaveControl();

// The type of a random extra insect for a level, before CreateEnemy's own dragonfly
// limit applies.
int ExtraInsectType(int level);

// What a queued dragonfly becomes once this level's dragonfly has appeared.
int DragonflySubstitute(int level);
