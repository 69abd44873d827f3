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
