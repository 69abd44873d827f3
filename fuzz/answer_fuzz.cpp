// libFuzzer target for the score library's answer splitter.
#include <cstddef>
#include <cstdint>

#include "answer_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!AnswerSplitKeepsItsPromises(std::string_view(reinterpret_cast<const char*>(data), size)))
    __builtin_trap();
  return 0;
}
