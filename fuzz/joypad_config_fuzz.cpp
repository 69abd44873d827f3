// libFuzzer target for the controller file's reader: any bytes read over the first-run
// values without a fault leave every value the reader guards in its range, and a file
// written from what was read reads back to values that write the same bytes again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#include "input/joypad_config.h"

namespace {

bool InRange(const JoypadConfigValues& v) {
  if (v.ControlType < 0 || v.ControlType >= kControlTypeCount) return false;
  if (v.UsedPort < 0 || v.UsedPort >= kMappedPorts) return false;
  for (const bbjoypad& j : v.Ports) {
    for (int invert : {j.x1invert, j.y1invert, j.x2invert, j.y2invert})
      if (invert != 1 && invert != -1) return false;
    for (double scale : {j.x1scale, j.y1scale, j.x2scale, j.y2scale})
      if (scale == 0 || scale != std::trunc(scale)) return false;
    for (double r :
         {j.x1center, j.y1center, j.x2center, j.y2center, j.x1dz, j.y1dz, j.x2dz, j.y2dz})
      if (!(std::fabs(r) <= 1.0)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  JoypadConfigValues values;
  ParseJoypadConfig(std::span<const unsigned char>(data, size), values);
  if (!InRange(values)) __builtin_trap();
  const auto bytes = FormatJoypadConfig(values);
  JoypadConfigValues again;
  ParseJoypadConfig(bytes, again);
  if (!InRange(again)) __builtin_trap();
  // Reals come back rounded to the nine digits written; from there on nothing moves.
  const auto rewritten = FormatJoypadConfig(again);
  if (rewritten != bytes) __builtin_trap();
  JoypadConfigValues third;
  ParseJoypadConfig(rewritten, third);
  if (!(third == again)) __builtin_trap();
  return 0;
}
