#include "arena/insect_shapes.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "arena/enemies.h"
#include "data/enemy_shapes.h"
#include "platform/trig.h"
#include "render/glow.h"

namespace {

constexpr std::uint32_t kHurryGlow = 0xFF888800u;

struct LoadedShape {
  int lines = 0;
  int frames = 0;
  std::vector<EnemyShapeLine> table;  // [heading][frame][line]
};
LoadedShape Shapes[kEnemyShapeCount + 1];
bool all_shapes_loaded = false;

int NormalHeading(int a) {
  a %= 360;
  return a < 0 ? a + 360 : a;
}

}  // namespace

void LoadEnemyShape(int shape, int frames) {
  if (shape < 1 || shape > kEnemyShapeCount) return;
  const EnemyShapeSource& src = EnemyShapeSources[shape - 1];
  LoadedShape& dst = Shapes[shape];
  if (frames > src.frames) frames = src.frames;
  if (frames <= 0 || src.lines <= 0 || src.records == nullptr) {
    dst = LoadedShape{};
    return;
  }
  const int lines = src.lines;
  dst.lines = lines;
  dst.frames = frames;
  dst.table.assign(static_cast<std::size_t>(360) * frames * lines, EnemyShapeLine{});
  EnemyShapeLine* out = dst.table.data();
  for (int a = 0; a < 360; ++a) {
    for (int f = 0; f < frames; ++f) {
      for (int i = 0; i < lines; ++i) {
        const EnemyShapeRecord& r = src.records[f * lines + i];
        const TurnedPoint p1 = TurnPoint(r.x1, r.y1, a);
        const TurnedPoint p2 = TurnPoint(r.x2, r.y2, a);
        *out++ = EnemyShapeLine{lines, r.color, p1.x, p1.y, p2.x, p2.y, r.red, r.green, r.blue};
      }
    }
  }
}

void LoadEnemyShapes() {
  for (int shape = 1; shape <= 9; ++shape) LoadEnemyShape(shape, 3);
  LoadEnemyShape(10, 4);
  LoadEnemyShape(11, 1);
  LoadEnemyShape(12, 4);
  all_shapes_loaded = true;
}

const EnemyShapeLine* EnemyShapeLines(int shape, int angle, int frame) {
  if (shape < 1 || shape > kEnemyShapeCount) return nullptr;
  const LoadedShape& s = Shapes[shape];
  if (s.lines <= 0 || frame < 0 || frame >= s.frames) return nullptr;
  const std::size_t index =
      (static_cast<std::size_t>(NormalHeading(angle)) * s.frames + frame) * s.lines;
  return s.table.data() + index;
}

int EnemyShapeLineCount(int shape) {
  if (shape < 1 || shape > kEnemyShapeCount) return 0;
  return Shapes[shape].lines;
}

int EnemyShapeFrameCount(int shape) {
  if (shape < 1 || shape > kEnemyShapeCount) return 0;
  return Shapes[shape].frames;
}

std::uint32_t EnemyFlashColor(int type) {
  if (type < kHornet || type > kBugSlayer) return 0;
  return EnemyShapeSources[type - 1].flash_color;
}

void DrawInsectShape(GlowBatch& batch, int shape, int angle, int frame, double x, double y,
                     const InsectLook& look) {
  // A screen drawn before start-up has turned the shapes still shows its insects.
  if (!all_shapes_loaded) LoadEnemyShapes();
  const EnemyShapeLine* lines = EnemyShapeLines(shape, angle, frame);
  if (lines == nullptr) return;
  const int count = Shapes[shape].lines;
  const std::uint32_t flash = look.flash_index ? EnemyFlashColor(shape) : 0;
  const int width = look.width > 0 ? look.width : GlowWidth16;
  const double k = look.scale;
  for (int i = 0; i < count; ++i) {
    const EnemyShapeLine& l = lines[i];
    LineLook line{l.color, l.red, l.green, l.blue, width};
    if (look.flash_index) {
      int& index = *look.flash_index;
      index = index < 0 || index >= kColorTableRows - 1 ? 0 : index + 1;
      if (flash != 0 && l.color == flash) {
        const ColorRow& row = ColorTable[index];
        line = LineLook{row.glow, row.r, row.g, row.b, width};
      }
    }
    if (look.hurry) line = LineLook{kHurryGlow, 255, 255, 0, width};
    batch.Line(x + l.x1 * k, y + l.y1 * k, x + l.x2 * k, y + l.y2 * k, line);
  }
}

void DrawEnemyShape(int shape, int frame, int angle, double x, double y) {
  GlowBatch batch;
  DrawInsectShape(batch, shape, angle, frame, x, y, InsectLook{});
}
