// Pure geometry shared by the movers and the screens, and the arena's ellipses.
#pragma once

// True when the points lie closer than r, the squares summed in integers.
bool WithinRadius(int x1, int y1, int x2, int y2, int r);
double Distance(double x1, double y1, double x2, double y2);
// Strictly inside: a point on the rim is outside.
bool InsideEllipse(double x, double y, double cx, double cy, double rx, double ry);
// True when the insides of the two segments cross; touching ends do not count.
bool SegmentsCross(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                   double y4);
// Touching counts as overlapping.
bool RectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
// v carried linearly from the range a..b to c..d.
double Remap(double v, double a, double b, double c, double d);

// Truncation toward zero that survives garbage: NaN becomes 0 and far values are held
// where the squared distances of WithinRadius stay small.
int TruncToInt(double v);

// The arena's ellipses around (512, 384): insects enter on the first, the spider and
// every random target stay inside the second, leaving insects vanish outside the third.
inline constexpr double kArenaCX = 512, kArenaCY = 384;
inline constexpr double kEntryRX = 450, kEntryRY = 330;
inline constexpr double kPlayRX = 420, kPlayRY = 300;
inline constexpr double kExitRX = 490, kExitRY = 350;

bool InsidePlayEllipse(double x, double y);
bool InsideExitEllipse(double x, double y);
