// The font table is one long run of numbers: a dropped or extra number shifts every
// glyph after it, which these checks catch long before anyone reads a menu.
#include "data/font_data.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string_view>
#include <vector>

namespace {

struct Seg {
  int x1, y1, x2, y2;
  bool operator==(const Seg&) const = default;
};

// Walks the stored form; `end` is where the walk stopped.
std::vector<std::vector<Seg>> ParseGlyphs(std::size_t* end) {
  std::vector<std::vector<Seg>> glyphs;
  std::size_t pos = 0;
  while (pos < FontGlyphData.size()) {
    const int count = FontGlyphData[pos] + 1;
    EXPECT_GE(count, 1) << "glyph " << glyphs.size() + 1;
    if (count < 1 || pos + 1 + 4 * static_cast<std::size_t>(count) > FontGlyphData.size()) break;
    std::vector<Seg> segs;
    for (int s = 0; s < count; ++s) {
      const int* v = &FontGlyphData[pos + 1 + 4 * static_cast<std::size_t>(s)];
      segs.push_back(Seg{v[0], v[1], v[2], v[3]});
    }
    glyphs.push_back(segs);
    pos += 1 + 4 * static_cast<std::size_t>(count);
  }
  *end = pos;
  return glyphs;
}

int IndexOf(char c) {
  const char* at = static_cast<const char*>(std::memchr(FontCharset, c, kFontCharsetLength));
  return at ? static_cast<int>(at - FontCharset) : -1;
}

TEST(FontCharset, HoldsFiftyFiveDistinctBytesInGlyphOrder) {
  EXPECT_EQ(std::strlen(FontCharset), static_cast<std::size_t>(kFontCharsetLength));
  EXPECT_EQ(FontCharset[0], ' ');
  for (char c = 'a'; c <= 'z'; ++c) EXPECT_EQ(IndexOf(c), c - 'a' + 1) << c;
  EXPECT_EQ(static_cast<unsigned char>(FontCharset[kFontCurrencyIndex]), kFontCurrencySign);
  for (char c = '0'; c <= '9'; ++c) EXPECT_EQ(IndexOf(c), c - '0' + 28) << c;
  EXPECT_EQ(IndexOf('.'), 38);
  EXPECT_EQ(IndexOf('@'), 50);
  EXPECT_EQ(IndexOf('#'), 54);
  EXPECT_EQ(IndexOf('A'), -1) << "capitals are folded by the writer, not stored";
  EXPECT_EQ(IndexOf('_'), -1);
  const std::set<char> distinct(FontCharset, FontCharset + kFontCharsetLength);
  EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kFontCharsetLength));
}

TEST(FontGlyphData, ParsesToExactlyFiftyFourGlyphsAndTheStoredSize) {
  std::size_t end = 0;
  const auto glyphs = ParseGlyphs(&end);
  EXPECT_EQ(glyphs.size(), static_cast<std::size_t>(kFontGlyphCount));
  EXPECT_EQ(end, FontGlyphData.size()) << "numbers left over or missing";
}

TEST(FontGlyphData, SegmentCountsMatchTheirCharacters) {
  std::size_t end = 0;
  const auto glyphs = ParseGlyphs(&end);
  ASSERT_EQ(glyphs.size(), 54u);
  const std::string_view sample = "abimqz0149?@!*>#";
  const std::size_t counts[] = {5, 4, 2, 8, 5, 3, 4, 1, 3, 5, 5, 14, 3, 4, 11, 8};
  ASSERT_EQ(std::size(counts), sample.size());
  for (std::size_t k = 0; k < sample.size(); ++k) {
    const char c = sample[k];
    EXPECT_EQ(glyphs[static_cast<std::size_t>(IndexOf(c) - 1)].size(), counts[k]) << c;
  }
  EXPECT_EQ(glyphs[kFontCurrencyIndex - 1].size(), 9u);
}

TEST(FontGlyphData, KnownGlyphsAreExact) {
  std::size_t end = 0;
  const auto glyphs = ParseGlyphs(&end);
  ASSERT_EQ(glyphs.size(), 54u);
  auto glyph = [&](char c) { return glyphs[static_cast<std::size_t>(IndexOf(c) - 1)]; };

  // Single strokes are stored twice so they glow as brightly as the rest.
  EXPECT_EQ(glyph('i'), (std::vector<Seg>{{0, -6, 0, 12}, {0, -6, 0, 12}}));
  EXPECT_EQ(glyph('/'), (std::vector<Seg>{{6, -12, -6, 12}, {6, -12, -6, 12}}));
  EXPECT_EQ(glyph('-'), (std::vector<Seg>{{-7, 0, 7, 0}, {-7, 0, 7, 0}}));
  EXPECT_EQ(glyph('#'), (std::vector<Seg>{{-10, -12, 10, -12},
                                          {10, -12, 10, 12},
                                          {10, 12, -10, 12},
                                          {-10, 12, -10, -12},
                                          {-10, -12, 10, 12},
                                          {-10, 12, 10, -12},
                                          {0, -12, 0, 12},
                                          {-10, 0, 10, 0}}));
  EXPECT_EQ(glyph('1'), (std::vector<Seg>{{0, 12, 0, -13}}));
  // The q's tail pokes out of the cell; it is the one point beyond 12.
  EXPECT_EQ(glyph('q').back(), (Seg{12, 14, 4, 6}));
  const auto& currency = glyphs[kFontCurrencyIndex - 1];
  EXPECT_EQ(currency.front(), (Seg{10, 12, -10, 12}));
  EXPECT_EQ(currency.back(), (Seg{0, 8, 5, 7}));
}

TEST(FontGlyphData, EveryPointStaysNearTheCell) {
  std::size_t end = 0;
  const auto glyphs = ParseGlyphs(&end);
  for (std::size_t g = 0; g < glyphs.size(); ++g) {
    for (const Seg& s : glyphs[g]) {
      SCOPED_TRACE(g + 1);
      for (int x : {s.x1, s.x2}) {
        EXPECT_GE(x, -12);
        EXPECT_LE(x, 12);
      }
      for (int y : {s.y1, s.y2}) {
        EXPECT_GE(y, -13);
        EXPECT_LE(y, 14);
      }
      EXPECT_FALSE(s.x1 == s.x2 && s.y1 == s.y2) << "a segment of no length";
    }
  }
}

}  // namespace
