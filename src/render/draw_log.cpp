#include "render/draw_log.h"

#include <utility>

namespace {
bool enabled = false;
std::vector<DrawEntry> entries;
}  // namespace

void EnableDrawLog(bool on) {
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
