#!/usr/bin/env python3
"""Designs the control selection's three device pictures and prints
src/data/control_pictures.cpp.

Each picture is drawn in play-area pixels and written relative to the picture
drawer's centre (512, 386). The selection screen's texts fix where a picture may lie:
its menu sits to the right above y 380, the "Shoot"/"Move" label near (112, 224) and
the other near (560, 470), and the stick-threshold help below y 560. The parts the
labels point at are coloured: green moves, orange shoots.

Run by hand after changing a design:
    python3 tools/design_control_pictures.py > src/data/control_pictures.cpp
"""
import math

CENTRE = (512, 386)

BODY = (60, 120, 255)
DETAIL = (140, 180, 255)
MOVE = (64, 255, 128)
SHOOT = (255, 128, 64)


class Picture:
    def __init__(self, name, comment):
        self.name = name
        self.comment = comment
        self.lines = []
        # Leader lines from the label at grid (5, 10) and from the one at (25, 21), and
        # the glow rings laid over the parts they point at; play-area pixels.
        self.leaders = []
        self.rings = []

    def line(self, a, b, colour):
        ax, ay = round(a[0]) - CENTRE[0], round(a[1]) - CENTRE[1]
        bx, by = round(b[0]) - CENTRE[0], round(b[1]) - CENTRE[1]
        if (ax, ay) != (bx, by):
            self.lines.append((colour, ax, ay, bx, by))

    def path(self, points, colour, closed=False):
        pts = list(points)
        if closed:
            pts.append(pts[0])
        for a, b in zip(pts, pts[1:]):
            self.line(a, b, colour)

    def rect(self, x, y, w, h, colour):
        self.path([(x, y), (x + w, y), (x + w, y + h), (x, y + h)], colour, closed=True)

    def rounded_rect(self, x, y, w, h, r, colour, steps=3):
        pts = []
        for cx, cy, start in ((x + w - r, y + r, -90), (x + w - r, y + h - r, 0),
                              (x + r, y + h - r, 90), (x + r, y + r, 180)):
            for i in range(steps + 1):
                a = math.radians(start + 90 * i / steps)
                pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        self.path(pts, colour, closed=True)

    def circle(self, cx, cy, r, colour, sides=16):
        self.path([(cx + r * math.cos(2 * math.pi * i / sides),
                    cy + r * math.sin(2 * math.pi * i / sides)) for i in range(sides)],
                  colour, closed=True)


def smooth(points, per=4):
    """A closed Catmull-Rom curve through the points, `per` segments between each."""
    out = []
    n = len(points)
    for i in range(n):
        p0, p1, p2, p3 = (points[(i + k) % n] for k in (-1, 0, 1, 2))
        for s in range(per):
            t = s / per
            t2, t3 = t * t, t * t * t
            out.append(tuple(0.5 * ((2 * p1[k]) + (-p0[k] + p2[k]) * t +
                                    (2 * p0[k] - 5 * p1[k] + 4 * p2[k] - p3[k]) * t2 +
                                    (-p0[k] + 3 * p1[k] - 3 * p2[k] + p3[k]) * t3)
                             for k in (0, 1)))
    return out


def arrow(p, cx, cy, direction, colour):
    """A small arrow head inside a key, pointing up, down, left or right."""
    dx, dy = {"up": (0, -1), "down": (0, 1), "left": (-1, 0), "right": (1, 0)}[direction]
    tip = (cx + 5 * dx, cy + 5 * dy)
    back = (cx - 4 * dx, cy - 4 * dy)
    side = (dy * 5, dx * 5)
    p.path([(back[0] + side[0], back[1] + side[1]), tip,
            (back[0] - side[0], back[1] - side[1])], colour)
    p.line(tip, back, colour)


# Stroke letters on a 10 x 12 cell, for the keys the player fires with.
LETTERS = {
    "W": [[(0, 0), (2.5, 12), (5, 4), (7.5, 12), (10, 0)]],
    "A": [[(0, 12), (5, 0), (10, 12)], [(2, 7), (8, 7)]],
    "S": [[(10, 1), (8, 0), (2, 0), (0, 2), (0, 5), (2, 6), (8, 6), (10, 7), (10, 10),
           (8, 12), (2, 12), (0, 11)]],
    "D": [[(0, 0), (6, 0), (10, 3), (10, 9), (6, 12), (0, 12), (0, 0)]],
}


def letter(p, ch, x, y, colour):
    for stroke in LETTERS[ch]:
        p.path([(x + sx * 0.9, y + sy * 0.9) for sx, sy in stroke], colour)


def keyboard():
    p = Picture("kKeyboard", "A keyboard: W A S D fire, the cursor keys move.")
    p.rounded_rect(116, 286, 416, 160, 10, BODY)
    pitch, size = 27, 23

    def key(x, y, w=size, colour=DETAIL):
        p.rect(x, y, w, size, colour)

    rows = [300 + pitch * r for r in range(5)]
    # Number row, then backspace.
    for c in range(13):
        key(130 + pitch * c, rows[0])
    key(481, rows[0], 37)
    # Tab, Q to ], backslash.
    key(130, rows[1], 35)
    for c in range(12):
        key(169 + pitch * c, rows[1], colour=SHOOT if c == 1 else DETAIL)
    key(493, rows[1], 25)
    # Caps, A to ', enter.
    key(130, rows[2], 42)
    for c in range(11):
        key(176 + pitch * c, rows[2], colour=SHOOT if c in (0, 1, 2) else DETAIL)
    key(473, rows[2], 45)
    # Shift, Z to /.
    key(130, rows[3], 55)
    for c in range(10):
        key(189 + pitch * c, rows[3])
    # Control, system, alt, space, alt, control.
    x = 130
    for w in (30, 22, 26, 160, 26, 24):
        key(x, rows[4], w)
        x += w + 4
    # The cursor keys, an inverted T in the corner.
    for kx, ky, d in ((469, rows[3], "up"), (442, rows[4], "left"), (469, rows[4], "down"),
                      (496, rows[4], "right")):
        key(kx, ky, size - 1, MOVE)
        arrow(p, kx + 11, ky + 11.5, d, MOVE)
    for ch, kx, ky in (("W", 169 + pitch, rows[1]), ("A", 176, rows[2]),
                       ("S", 176 + pitch, rows[2]), ("D", 176 + 2 * pitch, rows[2])):
        letter(p, ch, kx + 7, ky + 6, SHOOT)
    p.leaders = [(150, 238, 206, 323), (548, 466, 494, 433)]
    return p


def stick(p, cx, cy, colour):
    p.circle(cx, cy, 30, colour, 20)
    p.circle(cx, cy, 19, colour, 16)
    p.line((cx - 6, cy), (cx + 6, cy), colour)
    p.line((cx, cy - 6), (cx, cy + 6), colour)


def dpad(p, cx, cy, colour):
    a, b = 8, 24
    p.path([(cx - a, cy - b), (cx + a, cy - b), (cx + a, cy - a), (cx + b, cy - a),
            (cx + b, cy + a), (cx + a, cy + a), (cx + a, cy + b), (cx - a, cy + b),
            (cx - a, cy + a), (cx - b, cy + a), (cx - b, cy - a), (cx - a, cy - a)],
           colour, closed=True)


def face_buttons(p, cx, cy, spread, radius, colour):
    for dx, dy in ((0, -spread), (-spread, 0), (spread, 0), (0, spread)):
        p.circle(cx + dx, cy + dy, radius, colour, 12)


def twin_stick():
    p = Picture("kTwinStick", "A modern pad: the left stick moves, the right stick shoots.")
    cx, cy = 320, 410
    half = [(0, -80), (70, -82), (120, -78), (158, -60), (180, -28), (193, 20), (200, 72),
            (194, 108), (174, 124), (148, 116), (124, 90), (98, 62), (56, 50)]
    # Clockwise from the top middle: the right half, the bottom middle, the left half.
    outline = half + [(0, 46)] + [(-x, y) for x, y in reversed(half[1:])]
    p.path([(cx + x, cy + y) for x, y in smooth(outline)], BODY, closed=True)
    # Shoulder buttons along the top edge.
    for sign in (-1, 1):
        p.path([(cx + sign * 92, cy - 88), (cx + sign * 128, cy - 84),
                (cx + sign * 156, cy - 70)], DETAIL)
    stick(p, cx - 100, cy - 25, MOVE)
    stick(p, cx + 55, cy + 40, SHOOT)
    dpad(p, cx - 55, cy + 40, DETAIL)
    face_buttons(p, cx + 100, cy - 25, 23, 10, DETAIL)
    p.circle(cx, cy - 52, 10, DETAIL, 12)
    for sign in (-1, 1):
        p.rounded_rect(cx + sign * 24 - 8, cy - 28, 16, 9, 4, DETAIL, 2)
    p.leaders = [(140, 238, 198, 355), (548, 466, 418, 453)]
    p.rings = [(cx - 100, cy - 25, 40), (cx + 55, cy + 40, 40)]
    return p


def normal_pad():
    p = Picture("kNormalPad", "A pad with one stick, which moves, and four buttons, which shoot.")
    left, right, cy, r = 220, 420, 420, 78
    arc = []
    for i in range(13):
        a = math.radians(90 + 180 * i / 12)
        arc.append((left + r * math.cos(a), cy + r * math.sin(a)))
    for i in range(13):
        a = math.radians(-90 + 180 * i / 12)
        arc.append((right + r * math.cos(a), cy + r * math.sin(a)))
    p.path(arc, BODY, closed=True)
    # Shoulder buttons.
    for x0 in (left, right):
        p.path([(x0 - 44, cy - r + 1), (x0 - 34, cy - r - 8), (x0 + 34, cy - r - 8),
                (x0 + 44, cy - r + 1)], DETAIL)
    stick(p, left, cy, MOVE)
    face_buttons(p, right, cy, 30, 14, SHOOT)
    for x0 in (298, 342):
        p.rounded_rect(x0 - 14, cy + 20, 28, 10, 5, DETAIL, 2)
    p.circle(320, cy - 30, 9, DETAIL, 12)
    p.leaders = [(140, 238, 200, 385), (548, 466, 470, 440)]
    p.rings = [(left, cy, 42), (right, cy, 54)]
    return p


def main():
    pictures = [keyboard(), twin_stick(), normal_pad()]
    print("// Written by tools/design_control_pictures.py; change the designs there.")
    print("#include <iterator>")
    print()
    print('#include "data/control_pictures.h"')
    print()
    print("namespace {")
    for p in pictures:
        assert len(p.lines) <= 500, p.name
        print()
        print(f"// {p.comment}")
        print(f"constexpr LineArtRecord {p.name}[] = {{")
        for (r, g, b), x1, y1, x2, y2 in p.lines:
            glow = 0xFF000000 | (r << 16) | (g << 8) | b
            print(f"    {{0x{glow:08X}u, {x1}, {y1}, {x2}, {y2}, {r}, {g}, {b}}},")
        print("};")
    print()
    print("}  // namespace")
    print()
    print("const LineArtPicture ControlPictureData[kControlPictures] = {")
    for p in pictures:
        print(f"    {{static_cast<int>(std::size({p.name})), {p.name}}},")
    print("};")
    print()
    print("const ControlPictureMarks ControlPictureMarkData[kControlPictures] = {")
    for p in pictures:
        assert len(p.leaders) == 2 and len(p.rings) <= 5, p.name
        leaders = ", ".join("{%d, %d, %d, %d}" % l for l in p.leaders)
        rings = ", ".join("{%d, %d, %d}" % r for r in p.rings)
        print(f"    {{{{{leaders}}}, {len(p.rings)}, {{{rings}}}}},")
    print("};")


if __name__ == "__main__":
    main()
