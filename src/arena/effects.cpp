#include "arena/effects.h"

namespace {
EffectSinks sinks;
}  // namespace

void SetEffectSinks(const EffectSinks& installed) {
  sinks = installed;
}

void EmitSound(std::string_view name) {
  if (sinks.sound != nullptr) sinks.sound(name);
}

void ShowFloatingText(int x, int y, std::string_view text, std::uint32_t colour) {
  if (sinks.floating_text != nullptr) sinks.floating_text(x, y, text, 1, 1, colour);
}
