// The web's constant tables hang together: a mistyped number shows up as a spoke that
// starts nowhere, a ring that crosses its neighbour or a layout of the wrong length.
#include "data/web_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

namespace {

double Radius(const WebPoint& p) {
  return std::hypot(p.x - 512.0, p.y - 385.0);
}

// The Part's numbers, written out by hand from the web's description.
constexpr WebPoint kRings[kWebRings][kWebRingPoints] = {
    {{492, 350},
     {532, 350},
     {552, 359},
     {562, 376},
     {562, 394},
     {552, 411},
     {532, 420},
     {492, 420},
     {473, 411},
     {462, 394},
     {462, 376},
     {473, 359}},
    {{473, 315},
     {552, 315},
     {592, 333},
     {611, 367},
     {611, 403},
     {591, 437},
     {552, 455},
     {473, 455},
     {433, 437},
     {413, 403},
     {413, 367},
     {433, 333}},
    {{453, 281},
     {572, 281},
     {632, 307},
     {661, 359},
     {661, 411},
     {632, 463},
     {572, 489},
     {453, 489},
     {393, 463},
     {363, 411},
     {363, 359},
     {393, 307}},
    {{433, 246},
     {591, 246},
     {671, 281},
     {711, 350},
     {711, 420},
     {671, 489},
     {591, 524},
     {433, 524},
     {354, 489},
     {314, 420},
     {314, 350},
     {353, 281}},
    {{413, 211},
     {611, 211},
     {711, 255},
     {761, 342},
     {761, 429},
     {711, 515},
     {611, 559},
     {413, 559},
     {314, 515},
     {263, 429},
     {263, 342},
     {314, 255}},
    {{393, 177},
     {632, 177},
     {751, 229},
     {810, 333},
     {810, 438},
     {751, 541},
     {632, 593},
     {393, 593},
     {274, 541},
     {214, 438},
     {214, 333},
     {274, 229}},
    {{374, 143},
     {651, 143},
     {792, 202},
     {860, 324},
     {860, 446},
     {792, 568},
     {651, 627},
     {373, 627},
     {234, 568},
     {164, 446},
     {164, 324},
     {234, 202}},
    {{354, 108},
     {671, 108},
     {831, 177},
     {910, 316},
     {910, 455},
     {830, 593},
     {671, 662},
     {353, 662},
     {195, 593},
     {114, 455},
     {114, 316},
     {194, 178}},
};
constexpr WebEnds kSpokes[kWebSpokes] = {
    {532, 350, 687, 80},  {552, 359, 862, 157}, {562, 376, 950, 309}, {562, 394, 950, 462},
    {552, 411, 862, 614}, {532, 420, 687, 690}, {492, 420, 337, 690}, {473, 411, 162, 614},
    {462, 394, 75, 462},  {462, 376, 75, 309},  {473, 359, 162, 157}, {492, 350, 337, 80},
};

TEST(WebData, RingPointsAndSpokeEndsAreTheDescribedOnes) {
  for (int ring = 0; ring < kWebRings; ++ring)
    for (int k = 0; k < kWebRingPoints; ++k) {
      SCOPED_TRACE(testing::Message() << "ring " << ring + 1 << " point " << k + 1);
      EXPECT_EQ(WebRingPoints[ring][k].x, kRings[ring][k].x);
      EXPECT_EQ(WebRingPoints[ring][k].y, kRings[ring][k].y);
    }
  for (int s = 0; s < kWebSpokes; ++s) {
    SCOPED_TRACE(testing::Message() << "spoke " << s + 1);
    EXPECT_EQ(WebSpokeEnds[s].x1, kSpokes[s].x1);
    EXPECT_EQ(WebSpokeEnds[s].y1, kSpokes[s].y1);
    EXPECT_EQ(WebSpokeEnds[s].x2, kSpokes[s].x2);
    EXPECT_EQ(WebSpokeEnds[s].y2, kSpokes[s].y2);
  }
}

TEST(WebData, EverySpokeStartsOnARingOnePointAndEndsBeyondRingEight) {
  std::set<std::pair<int, int>> inner;
  for (const WebPoint& p : WebRingPoints[0]) inner.insert({p.x, p.y});
  std::set<std::pair<int, int>> used;
  for (int s = 0; s < kWebSpokes; ++s) {
    const WebEnds& spoke = WebSpokeEnds[s];
    SCOPED_TRACE(s + 1);
    EXPECT_TRUE(inner.count({spoke.x1, spoke.y1})) << "inner end off ring 1";
    used.insert({spoke.x1, spoke.y1});
    // Spoke k leaves from point k + 1 of ring 1 and passes near point k + 1 of ring 8.
    const WebPoint& outer = WebRingPoints[kWebRings - 1][(s + 1) % kWebRingPoints];
    EXPECT_GT(std::hypot(spoke.x2 - 512.0, spoke.y2 - 385.0), Radius(outer));
  }
  EXPECT_EQ(used.size(), 12u) << "two spokes share a start";
}

TEST(WebData, RingsGrowOutwardPointByPoint) {
  for (int ring = 1; ring < kWebRings; ++ring)
    for (int k = 0; k < kWebRingPoints; ++k) {
      SCOPED_TRACE(testing::Message() << "ring " << ring + 1 << " point " << k + 1);
      const double inner = Radius(WebRingPoints[ring - 1][k]);
      const double outer = Radius(WebRingPoints[ring][k]);
      EXPECT_GT(outer, inner + 30);
      EXPECT_LT(outer, inner + 80);
    }
}

TEST(WebData, RingsAreMirrorImagesWithinAPixel) {
  // Point k and point 13 - k (1-based) mirror about x = 512.
  for (int ring = 0; ring < kWebRings; ++ring)
    for (int k = 0; k < kWebRingPoints; ++k) {
      const WebPoint& a = WebRingPoints[ring][k];
      const WebPoint& b = WebRingPoints[ring][(kWebRingPoints + 1 - k) % kWebRingPoints];
      SCOPED_TRACE(testing::Message() << "ring " << ring + 1 << " point " << k + 1);
      EXPECT_LE(std::abs((a.x - 512) + (b.x - 512)), 2);
      EXPECT_LE(std::abs(a.y - b.y), 1);
    }
}

TEST(WebData, LayoutSourcesAreFullRowsOfColourDigitsEachStoredOnce) {
  std::set<int> rows;
  for (const WebLayoutSource& s : WebLayoutSourceRows) {
    SCOPED_TRACE(s.row);
    EXPECT_TRUE(rows.insert(s.row).second) << "row stored twice";
    EXPECT_GE(s.row, 1);
    EXPECT_LE(s.row, kWebLayoutDataRows);
    ASSERT_NE(s.colours, nullptr);
    ASSERT_EQ(std::strlen(s.colours), static_cast<size_t>(kWebRingSegments));
    for (int i = 0; i < kWebRingSegments; ++i)
      EXPECT_TRUE(s.colours[i] >= '0' && s.colours[i] <= '2');
  }
  // The twelve-level cycle and the three exceptions.
  for (int row = 1; row <= kWebLayoutCycle; ++row) EXPECT_TRUE(rows.count(row)) << row;
  EXPECT_TRUE(rows.count(33) && rows.count(51) && rows.count(54));
}

}  // namespace
