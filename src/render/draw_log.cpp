#include "render/draw_log.h"

#include <utility>

#include "render/draw_context.h"

namespace {
bool enabled = false;
std::vector<DrawEntry> entries;
}  // namespace

void EnableDrawLog(bool on) {
  // A layer recorded before is drawn first: the log shows every call from here on.
  draw_context::EndLayer();
  enabled = on;
}

bool DrawLogEnabled() {
  return enabled;
}

void ClearDrawLog() {
  entries.clear();
}

const std::vector<DrawEntry>& GetDrawLog() {
  return entries;
}

void AppendDrawLog(DrawEntry entry) {
  if (enabled) entries.push_back(std::move(entry));
}
