#include "query.h"

#include <algorithm>

#include "score_text.h"

namespace {

std::optional<std::string> Decode(std::string_view text) {
  auto decoded = PercentDecode(text);
  if (decoded && std::any_of(decoded->begin(), decoded->end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return c < 0x20 || c == 0x7F;
      }))
    return std::nullopt;
  return decoded;
}

}  // namespace

std::optional<QueryParams> ParseQuery(std::string_view query) {
  if (query.size() > kMaxQueryBytes) return std::nullopt;
  QueryParams params;
  if (query.empty()) return params;
  for (;;) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    const std::size_t eq = pair.find('=');
    auto key = Decode(pair.substr(0, eq));
    auto value = Decode(eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1));
    if (!key || !value || key->empty() || params.size() >= kMaxQueryPairs) return std::nullopt;
    if (!params.emplace(std::move(*key), std::move(*value)).second) return std::nullopt;
    if (amp == std::string_view::npos) return params;
    query.remove_prefix(amp + 1);
  }
}
