// Text in the game is UTF-8 where it is well formed and Latin-1 byte by byte where it
// is not: the vector font draws it that way and the settings file stores it that way.
// A character is one well-formed UTF-8 sequence, or else a single byte.
#pragma once

#include <cstddef>
#include <string_view>

// Length of the well-formed UTF-8 sequence of two or more bytes starting at
// text[pos], or 0 (plain ASCII, a stray byte, or a cut-off sequence).
inline std::size_t Utf8Length(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t len = 0;
  if (lead >= 0xC2 && lead <= 0xDF)
    len = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    len = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    len = 4;
  else
    return 0;
  if (text.size() - pos < len) return 0;
  for (std::size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(text[pos + i]);
    if (b < 0x80 || b > 0xBF) return 0;
  }
  return len;
}

// The code of the character at text[pos] (a byte's own value when it starts no
// sequence), and pos moved past it. pos must lie inside the text.
inline unsigned NextCharacter(std::string_view text, std::size_t& pos) {
  const std::size_t len = Utf8Length(text, pos);
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (len == 0) {
    ++pos;
    return lead;
  }
  static constexpr unsigned kLeadBits[] = {0, 0, 0x1F, 0x0F, 0x07};
  unsigned code = lead & kLeadBits[len];
  for (std::size_t i = 1; i < len; ++i)
    code = (code << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
  pos += len;
  return code;
}

// Number of characters in the text.
inline std::size_t CharacterCount(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t pos = 0; pos < text.size(); ++n) NextCharacter(text, pos);
  return n;
}

// The first `count` characters of the text (all of it when it is shorter).
inline std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < count && pos < text.size(); ++n) NextCharacter(text, pos);
  return text.substr(0, pos);
}
