#!/usr/bin/env python3
"""Designs the sixteen thunderbug flight paths and prints src/data/thunder_paths.cpp.

A pilot that turns at most 3 degrees a frame at 8 pixels a frame flies from beyond one
border through a few waypoints and on out beyond another; its track, resampled to the
path's fixed number of evenly spaced points, is the path. Every path is then flown by
the thunderbug's own steering (4 degrees and 8 pixels a frame, the next point once
within 32) before it is written, so none asks for a turn the snake cannot make.

Run by hand after changing a design:
    python3 tools/design_thunder_paths.py > src/data/thunder_paths.cpp
"""
import math
import sys

COUNTS = [87, 42, 31, 27, 23, 30, 31, 32, 45, 35, 57, 46, 51, 51, 54, 58]

# Start beyond a border with a heading (0 up, clockwise), then the waypoints.
DESIGNS = [
    ((-40, 150, 100), [(400, 250), (750, 400), (512, 650), (250, 450), (512, 150), (800, 300), (700, 600), (300, 600), (250, 300), (600, 200), (900, 500)]),
    ((-40, 300, 100), [(200, 420), (400, 300), (600, 420), (800, 300)]),
    ((100, -40, 160), [(250, 300), (450, 250), (600, 450), (850, 550)]),
    ((250, -40, 180), [(260, 450), (512, 620), (760, 450), (780, 100)]),
    ((-40, 650, 70), [(300, 520), (600, 450), (850, 200)]),
    ((1064, 280, 250), [(800, 420), (600, 300), (400, 450), (200, 320)]),
    ((560, -40, 200), [(450, 200), (600, 380), (450, 560)]),
    ((700, 808, 0), [(700, 450), (500, 250), (350, 450), (550, 520), (700, 300), (600, 100)]),
    ((1064, 140, 250), [(750, 200), (500, 150), (250, 350), (450, 620), (750, 550), (800, 350), (550, 300), (300, 650)]),
    ((-40, 120, 120), [(250, 450), (450, 200), (650, 500), (900, 250)]),
    ((-40, 300, 100), [(300, 240), (520, 400), (760, 560), (880, 400), (760, 230), (520, 390), (270, 560), (140, 400), (250, 200), (600, 100)]),
    ((1064, 380, 270), [(700, 380), (500, 200), (300, 350), (450, 550), (650, 450), (550, 650)]),
    ((420, -40, 180), [(350, 300), (400, 550), (650, 600), (750, 350), (600, 150), (350, 200), (200, 400)]),
    ((600, 808, 0), [(670, 500), (620, 230), (380, 180), (270, 400), (400, 600), (650, 550), (820, 350)]),
    ((-40, 560, 60), [(250, 400), (200, 200), (400, 150), (500, 400), (600, 600), (800, 550), (850, 300), (650, 200), (500, 150)]),
    ((-40, 740, 45), [(250, 500), (150, 300), (300, 120), (512, 300), (512, 500), (700, 620), (880, 450), (750, 250), (900, 100)]),
]

def pilot(design, turn=3.0):
    (x, y, h), ways = design
    pts = [(x, y)]
    k = 0
    for frame in range(20000):
        if k < len(ways):
            tx, ty = ways[k]
            d = heading_to(x, y, tx, ty) - h
            d = (d + 540) % 360 - 180
            h += max(-turn, min(turn, d))
            if math.dist((x, y), ways[k]) < 90: k += 1
        x += 8 * math.sin(math.radians(h)); y -= 8 * math.cos(math.radians(h))
        pts.append((x, y))
        if k >= len(ways) and not (-40 < x < 1064 and -40 < y < 808): break
    return pts

def resample(curve, n):
    d = [0.0]
    for a, b in zip(curve, curve[1:]): d.append(d[-1] + math.dist(a, b))
    total = d[-1]; out = []; j = 0
    for i in range(n):
        s = total * i / (n - 1)
        while j < len(d) - 2 and d[j + 1] < s: j += 1
        seg = d[j + 1] - d[j]; t = 0 if seg == 0 else (s - d[j]) / seg
        a, b = curve[j], curve[j + 1]
        out.append((round(a[0] + (b[0] - a[0]) * t), round(a[1] + (b[1] - a[1]) * t)))
    return out

def heading_to(px, py, tx, ty):
    return math.fmod(math.degrees(math.atan2(py - ty, px - tx)) + 270.0, 360.0)

def fly(points):
    x, y = points[0]; angle = int(heading_to(x, y, *points[1])); k = 1; trail = []
    for frame in range(5000):
        tx, ty = points[k]; d = heading_to(x, y, tx, ty) - angle
        if d < 0: d += 360
        elif d >= 360: d -= 360
        if 2 < d <= 180:
            angle = int(angle + 4); angle -= 360 if angle >= 360 else 0
        elif 180 < d < 358:
            angle = int(angle - 4); angle += 360 if angle < 0 else 0
        x += 8 * math.sin(math.radians(angle)); y -= 8 * math.cos(math.radians(angle))
        trail.append((x, y))
        if (int(x) - tx) ** 2 + (int(y) - ty) ** 2 < 1024:
            k += 1
            if k == len(points): return frame + 1, trail, k
    return None, trail, k


def on_border(p):
    return p[0] <= 0 or p[0] >= 1023 or p[1] <= 0 or p[1] >= 767


def main():
    print('// Written by tools/design_thunder_paths.py; change the designs there.')
    print('#include "data/thunder_paths.h"')
    print()
    print('namespace {')
    print()
    print('// x, y pairs in play-area pixels, ended by an x of 9999.')
    print('// clang-format off')
    for i, (n, design) in enumerate(zip(COUNTS, DESIGNS), 1):
        pts = resample(pilot(design), n)
        frames, _, _ = fly(pts)
        if frames is None or not (on_border(pts[0]) and on_border(pts[-1])):
            sys.exit(f'path {i} cannot be flown from border to border')
        print(f'constexpr int kPath{i}[] = {{')
        line = '   '
        for (x, y) in pts + [(9999, 0)]:
            item = f' {x}, {y},'
            if len(line) + len(item) > 100:
                print(line)
                line = '   '
            line += item
        print(line)
        print('};')
    print('// clang-format on')
    print()
    print('}  // namespace')
    print()
    print('const int* const ThunderPathTables[kThunderPathCount] = {')
    print('    ' + ', '.join(f'kPath{i}' for i in range(1, 17)) + ',')
    print('};')


if __name__ == '__main__':
    main()
