// Optional log of what the drawing service and the strip renderer send to OpenGL.
// Off by default; tests switch it on and read the entries back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class DrawKind { Point, Line, Rect, Oval, Image, Text, Strip, Clear };

// Points are the vertices as sent to OpenGL, in window pixels: lines and points carry
// the +0.5 that puts them on pixel centres. A DrawLine with its last pixel logs a Line
// and then a Point.
struct DrawVertex {
  double x = 0, y = 0;  // window pixels
  double u = 0, v = 0;
  std::uint32_t argb = 0;  // vertex colour (strips) or current colour (service)
};

struct DrawEntry {
  DrawKind kind = DrawKind::Line;
  std::vector<DrawVertex> points;
  std::uint32_t argb = 0;  // current colour and alpha as 0xAARRGGBB
  int blend = 0;
  unsigned texture = 0;  // texture name bound for textured primitives, else 0
  std::string text;      // the string of a Text entry
};

void EnableDrawLog(bool on);
bool DrawLogEnabled();
void ClearDrawLog();
const std::vector<DrawEntry>& GetDrawLog();
void AppendDrawLog(DrawEntry entry);  // only call when DrawLogEnabled()
