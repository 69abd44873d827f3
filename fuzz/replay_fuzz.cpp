// libFuzzer target for the replay reader: any bytes read without a fault; a file it
// takes, written again, gives the same bytes and reads back the same. Each input is
// also read with its check sum made right, so the fuzzer gets past it to the fields
// and the tape behind it.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "persist/replay_file.h"

namespace {

void Check(std::span<const std::uint8_t> bytes) {
  ReplayFile replay;
  std::string reason;
  if (DecodeReplay(bytes, &replay, &reason) != ReplayReadResult::kOk) {
    if (reason.empty()) __builtin_trap();
    return;
  }
  const std::vector<std::uint8_t> again_bytes = EncodeReplay(replay);
  if (!std::equal(again_bytes.begin(), again_bytes.end(), bytes.begin(), bytes.end()))
    __builtin_trap();
  ReplayFile again;
  if (DecodeReplay(again_bytes, &again, &reason) != ReplayReadResult::kOk) __builtin_trap();
  if (again.tape.input != replay.tape.input || again.tape.clock != replay.tape.clock ||
      !(again.outcome == replay.outcome))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Check(std::span<const std::uint8_t>(data, size));
  if (size < 4) return 0;
  std::vector<std::uint8_t> fixed(data, data + size);
  const std::size_t body = size - 4;
  const auto crc = static_cast<std::uint32_t>(crc32(0L, fixed.data(), static_cast<uInt>(body)));
  for (int i = 0; i < 4; ++i) fixed[body + i] = static_cast<std::uint8_t>(crc >> (8 * i));
  Check(fixed);
  return 0;
}
