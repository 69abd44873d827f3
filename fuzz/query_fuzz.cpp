// libFuzzer target for the score server's query parser.
#include <cstddef>
#include <cstdint>

#include "query_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!QueryParseKeepsItsPromises(std::string_view(reinterpret_cast<const char*>(data), size)))
    __builtin_trap();
  return 0;
}
