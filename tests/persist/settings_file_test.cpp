// The settings file to the byte: its layout, the round trip, the characters it can
// hold and the files too short or too odd to trust.
#include "persist/settings_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void AppendInt(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void AppendLine(Bytes& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
  out.push_back('\r');
  out.push_back('\n');
}

void AppendClosingNote(Bytes& b) {
  AppendLine(b, "\r\n");
  AppendLine(b, "Don't bother trying to changing any");
  AppendLine(b, "of these values, because they're not");
  AppendLine(b, "synced with the online server - only");
  AppendLine(b, "the latest in-game score is synced.");
}

// The file a first run writes, put together by hand.
Bytes FirstRunFile() {
  Bytes b;
  for (std::uint32_t v : {0u,  0u,    0u,   0u, 37u, 39u, 38u, 40u, 87u, 83u, 65u,
                          68u, 1024u, 768u, 0u, 0u,  0u,  1u,  1u,  0u,  0u,  16u})
    AppendInt(b, v);
  AppendLine(b, "Player1");
  AppendLine(b, " ");
  for (int row = 0; row < 10; ++row) {
    AppendLine(b, "..........");
    AppendLine(b, "-");
    AppendLine(b, "-");
    AppendLine(b, " ");
  }
  AppendClosingNote(b);
  return b;
}

TEST(SettingsFile, AFirstRunWritesTheHeadTheDefaultLinesAndTheNote) {
  const Bytes written = FormatSettings(SettingsValues{});
  EXPECT_EQ(written, FirstRunFile());
  // The head is exactly 88 bytes, the text starts right after it.
  EXPECT_EQ(std::string(written.begin() + 88, written.begin() + 97), "Player1\r\n");
  // The closing line of its own: CR LF CR LF.
  const std::string text(written.begin(), written.end());
  EXPECT_NE(text.find(" \r\n\r\n\r\nDon't bother"), std::string::npos);
}

TEST(SettingsFile, EveryFieldReadsBackFromItsOwnPlace) {
  SettingsValues v;
  int n = 0;
  for (int* field :
       {&v.FullScreen,    &v.NeonMode,      &v.BackgroundOn, &v.PersonalBest, &v.KeyMoveLeft,
        &v.KeyMoveRight,  &v.KeyMoveUp,     &v.KeyMoveDown,  &v.KeyFireUp,    &v.KeyFireDown,
        &v.KeyFireLeft,   &v.KeyFireRight,  &v.ScreenWidth,  &v.ScreenHeight, &v.ScreenOffsetX,
        &v.ScreenOffsetY, &v.SavedOffsetY,  &v.SoundOn,      &v.MusicOn,      &v.GlowAmount,
        &v.ControlScheme, &v.StickThreshold})
    *field = 1000 * ++n + 7;
  v.GlowAmount = -3;
  v.PersonalBest = 2147483647;
  v.PlayerName = "ZED 9";
  v.SpareLine = "spare";
  for (int i = 0; i < kHighScoreRows; ++i)
    v.rows[static_cast<std::size_t>(i)] = {"name" + std::to_string(i), std::to_string(100 * i),
                                           std::to_string(i + 1), "x"};
  const Bytes bytes = FormatSettings(v);
  // Little-endian, two's complement: -3 is FD FF FF FF at bytes 76-79.
  EXPECT_EQ(bytes[76], 0xFD);
  EXPECT_EQ(bytes[79], 0xFF);
  EXPECT_EQ(bytes[48], 13007 & 0xFF);  // ScreenWidth, the thirteenth
  const auto back = ParseSettings(bytes);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, v);
}

TEST(SettingsFile, LoadingAndSavingAgainReproducesTheFileByteForByte) {
  const Bytes first = FirstRunFile();
  Bytes file(first.begin(), first.begin() + 88);
  file[12] = 0x39;  // a personal best of 12345
  file[13] = 0x30;
  // The 42 text lines hold every byte 1..255 but CR and LF between them.
  std::string odd;
  for (int c = 1; c < 256; ++c)
    if (c != '\r' && c != '\n') odd.push_back(static_cast<char>(c));
  for (int line = 0; line < 42; ++line)
    AppendLine(file,
               line < 41 ? odd.substr(static_cast<std::size_t>(6 * line), 6) : odd.substr(6 * 41));
  AppendClosingNote(file);
  const auto values = ParseSettings(file);
  ASSERT_TRUE(values.has_value());
  EXPECT_EQ(values->PersonalBest, 12345);
  EXPECT_EQ(FormatSettings(*values), file);
}

TEST(SettingsFile, CharactersAreStoredAsTheirLowEightBits) {
  SettingsValues v;
  v.PlayerName = "\xC5\x81ukas \xE2\x82\xAC";  // Ł (U+0141) and € (U+20AC)
  const Bytes bytes = FormatSettings(v);
  EXPECT_EQ(std::string(bytes.begin() + 88, bytes.begin() + 97), "Aukas \xAC\r\n");
  // Read back, a byte above 127 is the Latin-1 character of that code.
  EXPECT_EQ(ParseSettings(bytes)->PlayerName, "Aukas \xC2\xAC");
}

TEST(SettingsFile, ACharacterThatWouldBreakTheLineIsLeftOutAndTheFieldsStayInPlace) {
  SettingsValues v;
  v.PlayerName = "AB\nCD\rE";
  v.PlayerName += '\0';
  v.PlayerName +=
      "\xC4\x8A"  // U+010A, whose low bits are LF
      "F";
  v.SpareLine = "spare";
  v.rows[0].name = "first";
  const auto back = ParseSettings(FormatSettings(v));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->PlayerName, "ABCDEF");
  EXPECT_EQ(back->SpareLine, "spare");
  EXPECT_EQ(back->rows[0].name, "first");
}

TEST(SettingsFile, AFileCutOffInItsHeadCountsAsMissing) {
  const Bytes file = FirstRunFile();
  EXPECT_FALSE(ParseSettings(Bytes(file.begin(), file.begin() + 87)).has_value());
  EXPECT_FALSE(ParseSettings(Bytes{}).has_value());
  // The whole head with no text: the lines come back empty.
  const auto head_only = ParseSettings(Bytes(file.begin(), file.begin() + 88));
  ASSERT_TRUE(head_only.has_value());
  EXPECT_EQ(head_only->StickThreshold, 16);
  EXPECT_EQ(head_only->PlayerName, "");
  EXPECT_EQ(head_only->rows[9].spare, "");
}

TEST(SettingsFile, LinesEndAtLfAZeroByteOrTheEndAndLoseTheirCarriageReturns) {
  Bytes file(88, 0);
  for (char c : std::string("Pl\rayer\r\r\nsp")) file.push_back(static_cast<unsigned char>(c));
  file.push_back(0);
  for (char c : std::string("are\nname")) file.push_back(static_cast<unsigned char>(c));
  const auto v = ParseSettings(file);
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(v->PlayerName, "Player");
  EXPECT_EQ(v->SpareLine, "sp");
  EXPECT_EQ(v->rows[0].name, "are");
  EXPECT_EQ(v->rows[0].score, "name");
  EXPECT_EQ(v->rows[0].level, "");
  // The head is taken as it stands: zeros everywhere, however odd.
  EXPECT_EQ(v->ScreenHeight, 0);
  EXPECT_EQ(v->StickThreshold, 0);
}

}  // namespace
