// What the rules hand to the senses: effect sounds and texts floating where points were
// won (the points themselves are AwardPoints', in level_state.h). The rules emit each with one call
// and never play or draw anything themselves; whoever presents the game installs the sinks (the
// sound bank, the floating texts). A run with no sinks, such as a replay checked without a screen,
// simply has none.
#pragma once

#include <cstdint>
#include <string_view>

struct EffectSinks {
  void (*sound)(std::string_view name) = nullptr;
  void (*floating_text)(int x, int y, std::string_view text, double xscale, double yscale,
                        std::uint32_t colour) = nullptr;
};
void SetEffectSinks(const EffectSinks& sinks);

// An effect sound by name; the sink decides whether effects are on.
void EmitSound(std::string_view name);
// A text that floats up from (x, y), as the points of a grubsteak or an egg do.
void ShowFloatingText(int x, int y, std::string_view text, std::uint32_t colour);
