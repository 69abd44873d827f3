// libFuzzer target for the settings reader: any bytes read without a fault, a file
// with a whole head always gives values, and writing them and reading them back keeps
// every value and the same bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "persist/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto values = ParseSettings(std::span<const unsigned char>(data, size));
  if (!values) {
    if (size >= kSettingsHeadBytes) __builtin_trap();
    return 0;
  }
  const auto bytes = FormatSettings(*values);
  const auto again = ParseSettings(bytes);
  if (!again || !(*again == *values)) __builtin_trap();
  if (FormatSettings(*again) != bytes) __builtin_trap();
  return 0;
}
