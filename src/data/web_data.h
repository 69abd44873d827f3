// Geometry of the web and the colour layouts of its rings, as constant data.
#pragma once

inline constexpr int kWebRings = 8;
inline constexpr int kWebRingPoints = 12;  // and so twelve segments per ring
inline constexpr int kWebSpokes = 12;
inline constexpr int kWebRingSegments = kWebRings * kWebRingPoints;  // 96

struct WebPoint {
  int x, y;
};

struct WebEnds {
  int x1, y1, x2, y2;
};

// Ring 1 (innermost) to ring 8; segment k of a ring runs from point k to point k + 1,
// the last one back to the first.
extern const WebPoint WebRingPoints[kWebRings][kWebRingPoints];

// Each spoke from a point of ring 1 outward, past ring 8.
extern const WebEnds WebSpokeEnds[kWebSpokes];

// Added to a ring segment's ends, by the segment's place in its ring, so that the
// lines meet without gaps.
extern const WebEnds WebSegmentAdjust[kWebRingPoints];

// The layouts that are not repeats: row number and 96 colour digits (0 blue, 1 green,
// 2 red), ring 1 first, twelve per ring. All other rows up to 64 repeat rows 1..12.
struct WebLayoutSource {
  int row;
  const char* colours;
};
inline constexpr int kWebLayoutSources = 15;
extern const WebLayoutSource WebLayoutSourceRows[kWebLayoutSources];

// Highest layout row the program's data defines.
inline constexpr int kWebLayoutDataRows = 64;
// Rows 1..12 form the repeating cycle.
inline constexpr int kWebLayoutCycle = 12;
