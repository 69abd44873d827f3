// The tables and figures start-up loads before any play screen, for tests that run
// game screens without the whole start-up. Header only: it needs the game's
// libraries, which only the app and scenario tests link.
#pragma once

#include "arena/bullets.h"
#include "arena/enemies.h"
#include "arena/spider_figure.h"
#include "arena/web.h"
#include "render/glow.h"
#include "render/vector_font.h"

inline void LoadGameTables() {
  LoadFont();
  LoadTextScales();
  LoadColorTable();
  LoadWebLayouts();
  LoadBulletShape();
  PrecomputeSpiderFigure();
  LoadEnemyShapes();
  ConnectEnemyHits();
}
