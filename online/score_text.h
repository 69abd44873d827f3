// Texts of a score request that the game writes and the score server reads: the
// percent-encoding of each part, and the level text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The signing key the game hands the score library, and the server's default.
inline constexpr const char* kScoreKey = "r7Tq2mXw9Lz4Kd0";

// Escapes every byte but the unreserved ones (letters, digits, "-", ".", "_", "~") and
// those in also_keep, as "%" and two upper-case hex digits.
std::string PercentEncode(std::string_view text, std::string_view also_keep = {});

// Turns "%" and two hex digits back into their byte; nothing for a "%" without them.
// "+" stays a plus.
std::optional<std::string> PercentDecode(std::string_view text);

// The level reached and, in brackets, the start level, each with a space in front when
// it has one digit: " 7 ( 1)", "12 ( 5)".
std::string LevelText(int level, int start_level);
