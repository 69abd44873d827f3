// What the score server's query parser promises for any bytes, checked by its fuzz
// target and by the replay of the seed files in the tests: a query it takes has at most
// 16 pairs with non-empty keys and no control characters, and reads the same once its
// pairs are encoded and joined again.
#pragma once

#include <string>
#include <string_view>

#include "query.h"
#include "score_text.h"

inline bool QueryParseKeepsItsPromises(std::string_view query) {
  const auto params = ParseQuery(query);
  if (!params) return true;
  if (params->size() > kMaxQueryPairs) return false;
  std::string again;
  for (const auto& [key, value] : *params) {
    if (key.empty()) return false;
    for (const std::string* text : {&key, &value})
      for (const char c : *text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    if (!again.empty()) again += '&';
    again += PercentEncode(key) + "=" + PercentEncode(value);
  }
  // Encoding can lengthen a query past the limit; only shorter ones must read back.
  if (again.size() > kMaxQueryBytes) return true;
  const auto reread = ParseQuery(again);
  return reread && *reread == *params;
}
