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

// A sine or cosine that is zero at the quarter turns, and a truncation that lets a
// whole result computed a hair short keep its pixel: a line turned by 90 degrees
// must keep its length.
double Snap(double v) {
  return std::fabs(v) < 1e-12 ? 0.0 : v;
}
int TurnedPixel(double v) {
  return static_cast<int>(v + (v >= 0 ? 1e-6 : -1e-6));
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
    const double c = Snap(Cos(a));
    const double s = Snap(Sin(a));
    for (int f = 0; f < frames; ++f) {
      for (int i = 0; i < lines; ++i) {
        const EnemyShapeRecord& r = src.records[f * lines + i];
        *out++ = EnemyShapeLine{lines,
                                r.color,
                                TurnedPixel(r.x1 * c - r.y1 * s),
                                TurnedPixel(r.x1 * s + r.y1 * c),
                                TurnedPixel(r.x2 * c - r.y2 * s),
                                TurnedPixel(r.x2 * s + r.y2 * c),
                                r.red,
                                r.green,
                                r.blue};
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
  for (int i = 0; i < count; ++i) {
    const EnemyShapeLine& l = lines[i];
    LineLook line{l.color, l.red, l.green, l.blue, GlowWidth16};
    if (look.flash_index) {
      int& index = *look.flash_index;
      index = index < 0 || index >= kColorTableRows - 1 ? 0 : index + 1;
      if (flash != 0 && l.color == flash) {
        const ColorRow& row = ColorTable[index];
        line = LineLook{row.glow, row.r, row.g, row.b, GlowWidth16};
      }
    }
    if (look.hurry) line = LineLook{kHurryGlow, 255, 255, 0, GlowWidth16};
    batch.Line(x + l.x1, y + l.y1, x + l.x2, y + l.y2, line);
  }
}

void DrawEnemyShape(int shape, int frame, int angle, double x, double y) {
  GlowBatch batch;
  DrawInsectShape(batch, shape, angle, frame, x, y, InsectLook{});
}
