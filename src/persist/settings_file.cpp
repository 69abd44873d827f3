#include "persist/settings_file.h"

#include <cstdint>

#include "platform/utf8.h"

namespace {

constexpr unsigned char kCr = 13;
constexpr unsigned char kLf = 10;

// A note for whoever opens the file; never read back.
constexpr std::string_view kClosingNote[] = {
    "Don't bother trying to changing any",
    "of these values, because they're not",
    "synced with the online server - only",
    "the latest in-game score is synced.",
};

// The head's fields in file order.
template <typename Values, typename Fn>
void ForEachHeadField(Values& v, Fn fn) {
  for (auto* field :
       {&v.FullScreen,    &v.NeonMode,      &v.BackgroundOn, &v.PersonalBest, &v.KeyMoveLeft,
        &v.KeyMoveRight,  &v.KeyMoveUp,     &v.KeyMoveDown,  &v.KeyFireUp,    &v.KeyFireDown,
        &v.KeyFireLeft,   &v.KeyFireRight,  &v.ScreenWidth,  &v.ScreenHeight, &v.ScreenOffsetX,
        &v.ScreenOffsetY, &v.SavedOffsetY,  &v.SoundOn,      &v.MusicOn,      &v.GlowAmount,
        &v.ControlScheme, &v.StickThreshold})
    fn(*field);
}

class LineReader {
 public:
  LineReader(std::span<const unsigned char> bytes, std::size_t pos) : bytes_(bytes), pos_(pos) {}

  // Up to the next LF, a zero byte or the end; CRs are dropped.
  std::string Next() {
    std::string line;
    while (pos_ < bytes_.size()) {
      const unsigned char b = bytes_[pos_++];
      if (b == kLf || b == 0) break;
      if (b != kCr) line.push_back(static_cast<char>(b));
    }
    return TextFromEightBit(line);
  }

 private:
  std::span<const unsigned char> bytes_;
  std::size_t pos_;
};

void PutInt(std::vector<unsigned char>& out, int value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<unsigned char>(u >> shift));
}

void PutLine(std::vector<unsigned char>& out, std::string_view text) {
  for (const char c : EightBitText(text)) {
    const auto b = static_cast<unsigned char>(c);
    // These would split the line or cut it short on reading, and every later line
    // would then land in the wrong field.
    if (b == 0 || b == kLf || b == kCr) continue;
    out.push_back(b);
  }
  out.push_back(kCr);
  out.push_back(kLf);
}

}  // namespace

std::string EightBitText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();)
    out.push_back(static_cast<char>(NextCharacter(text, pos) & 0xFF));
  return out;
}

std::string TextFromEightBit(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

std::optional<SettingsValues> ParseSettings(std::span<const unsigned char> bytes) {
  if (bytes.size() < kSettingsHeadBytes) return std::nullopt;
  SettingsValues v;
  std::size_t pos = 0;
  ForEachHeadField(v, [&](int& field) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(bytes[pos + i]) << (8 * i);
    field = static_cast<int>(u);
    pos += 4;
  });
  LineReader lines(bytes, pos);
  v.PlayerName = lines.Next();
  v.SpareLine = lines.Next();
  for (HighScoreRow& row : v.rows) {
    row.name = lines.Next();
    row.score = lines.Next();
    row.level = lines.Next();
    row.spare = lines.Next();
  }
  return v;
}

std::vector<unsigned char> FormatSettings(const SettingsValues& values) {
  std::vector<unsigned char> out;
  out.reserve(1024);
  ForEachHeadField(values, [&](const int& field) { PutInt(out, field); });
  PutLine(out, values.PlayerName);
  PutLine(out, values.SpareLine);
  for (const HighScoreRow& row : values.rows) {
    PutLine(out, row.name);
    PutLine(out, row.score);
    PutLine(out, row.level);
    PutLine(out, row.spare);
  }
  // A line that is itself CR LF, so the file shows CR LF CR LF here.
  out.insert(out.end(), {kCr, kLf, kCr, kLf});
  for (std::string_view note : kClosingNote) PutLine(out, note);
  return out;
}
