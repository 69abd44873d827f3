#include "app/tables.h"

#include "arena/bullets.h"
#include "arena/effects.h"
#include "arena/grubs.h"
#include "arena/insect_shapes.h"
#include "arena/spider_figure.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "input/controls.h"
#include "render/glow.h"
#include "render/vector_font.h"

void LoadGameTables() {
  // What the rules emit is heard through the sound bank and seen as floating text.
  SetEffectSinks({&PlayEffectIfOn, &SpawnFloatingText});
  ResetJoypadMappings();
  LoadColorTable();
  LoadWebLayouts();
  LoadFont();
  LoadTextScales();
}

void LoadGameFigures() {
  PrecomputeSpiderFigure();
  LoadEnemyShapes();
  LoadGrubShape();
  LoadBulletShape();
}
