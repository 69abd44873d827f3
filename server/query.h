// The score server's reading of a request's query: "key=value" pairs joined by "&",
// each part percent-decoded. Pure, so it can be fuzzed.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::size_t kMaxQueryBytes = 2048;
inline constexpr std::size_t kMaxQueryPairs = 16;

using QueryParams = std::map<std::string, std::string, std::less<>>;

// Nothing for a query that is refused as a whole: longer than kMaxQueryBytes, more than
// kMaxQueryPairs pairs, an empty key, a key given twice, a "%" not followed by two hex
// digits, or a control character once decoded. "+" is a plus, not a space. A pair
// without "=" has an empty value; the empty query has no pairs.
std::optional<QueryParams> ParseQuery(std::string_view query);
