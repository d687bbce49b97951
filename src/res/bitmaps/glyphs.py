"""Line-art glyphs in a 0..100 design box, drawn with a gfx.Pen.

`c` is the ink colour (RGBA); CUT erases to transparency so that a glyph
can have holes whatever lies under it.
"""

import math

CUT = (0, 0, 0, 0)
FLAME = (255, 184, 72, 255)


def broom(p, c):
    p.line([(80, 6), (55, 46)], c, 7)
    p.poly([(44, 40), (66, 53), (61, 61), (39, 48)], c)           # binding
    p.poly([(37, 50), (63, 65), (52, 96), (8, 78)], c)            # bristles
    p.line([(46, 60), (30, 86)], CUT, 3, round_caps=False)
    p.line([(55, 66), (42, 93)], CUT, 3, round_caps=False)
    p.line([(37, 55), (18, 80)], CUT, 3, round_caps=False)


def toolbox(p, c):
    p.rrect((34, 18, 66, 44), 7, outline=c, width=7)              # handle
    p.rrect((8, 34, 92, 88), 8, fill=c)
    p.line([(8, 55), (92, 55)], CUT, 5, round_caps=False)         # lid seam
    p.rrect((40, 47, 60, 65), 3, fill=CUT)
    p.rrect((44, 51, 56, 61), 2, fill=c)                          # latch


def cart(p, c):
    p.line([(4, 14), (18, 14), (30, 66), (82, 66)], c, 7)
    p.poly([(22, 26), (94, 26), (85, 56), (29, 56)], c)
    p.line([(40, 34), (42, 49)], CUT, 4, round_caps=False)
    p.line([(57, 34), (57, 49)], CUT, 4, round_caps=False)
    p.line([(74, 34), (72, 49)], CUT, 4, round_caps=False)
    p.circle((38, 84), 8, fill=c)
    p.circle((76, 84), 8, fill=c)


def monitor_tick(p, c, tick=None):
    p.rrect((6, 10, 94, 72), 7, outline=c, width=7)
    p.line([(50, 72), (50, 86)], c, 7, round_caps=False)
    p.line([(30, 88), (70, 88)], c, 7)
    p.line([(30, 42), (45, 56), (71, 29)], tick or c, 9)


def rocket(p, c):
    # Drawn pointing up; the pen's angle tilts it.
    p.poly([(50, 2), (60, 12), (66, 28), (66, 62), (34, 62), (34, 28), (40, 12)], c)
    p.circle((50, 32), 8, fill=CUT)
    p.poly([(34, 42), (18, 60), (18, 76), (34, 64)], c)
    p.poly([(66, 42), (82, 60), (82, 76), (66, 64)], c)
    p.poly([(40, 68), (60, 68), (56, 82), (50, 96), (44, 82)], FLAME)


def power(p, c):
    p.arc((50, 54), 34, -55, 235, c, 9)
    p.line([(50, 8), (50, 48)], c, 9)


def alarm_clock(p, c):
    p.circle((50, 55), 34, outline=c, width=8)
    p.line([(50, 34), (50, 56), (64, 64)], c, 7)
    p.arc((22, 20), 16, 180, 270, c, 9)
    p.arc((78, 20), 16, 270, 360, c, 9)
    p.line([(28, 82), (20, 94)], c, 7)
    p.line([(72, 82), (80, 94)], c, 7)


def clock(p, c):
    p.circle((50, 50), 42, outline=c, width=8)
    for i in range(12):
        a = math.radians(i * 30)
        r1, r2 = (28, 34) if i % 3 else (24, 34)
        p.line([(50 + r1 * math.sin(a), 50 - r1 * math.cos(a)),
                (50 + r2 * math.sin(a), 50 - r2 * math.cos(a))], c, 4)
    p.line([(50, 50), (50, 24)], c, 7)
    p.line([(50, 50), (68, 60)], c, 6)
    p.circle((50, 50), 6, fill=c)


def disk_blocks(p, c):
    """Defragmenting: a grid of disk blocks, some still scattered."""
    faded = (c[0], c[1], c[2], 110)
    filled = {(0, 0), (1, 0), (2, 0), (0, 1), (1, 1), (0, 2)}
    for row in range(3):
        for col in range(3):
            x, y = 8 + col * 30, 8 + row * 30
            box = (x, y, x + 24, y + 24)
            if (col, row) in filled:
                p.rrect(box, 4, fill=c)
            elif (col, row) == (2, 2):
                p.rrect(box, 4, fill=faded)
            else:
                p.rrect(box, 4, outline=c, width=4)


def document(p, c):
    p.poly([(16, 4), (64, 4), (86, 26), (86, 96), (16, 96)], c)
    p.poly([(64, 4), (64, 26), (86, 26)], CUT)
    p.line([(64, 4), (64, 26), (86, 26)], c, 3, round_caps=False)


def envelope(p, c):
    p.rrect((6, 20, 94, 82), 7, fill=c)
    p.line([(10, 26), (50, 56), (90, 26)], CUT, 6, round_caps=False)
    p.line([(10, 78), (38, 52)], CUT, 4, round_caps=False)
    p.line([(90, 78), (62, 52)], CUT, 4, round_caps=False)


def calculator(p, c):
    p.rrect((14, 4, 86, 96), 9, fill=c)
    p.rrect((24, 13, 76, 34), 3, fill=CUT)
    for row in range(3):
        for col in range(3):
            x, y = 24 + col * 19, 43 + row * 17
            p.rrect((x, y, x + 14, y + 11), 2, fill=CUT)


def computer(p, c, accent):
    p.rrect((4, 14, 68, 62), 5, fill=c)
    p.rrect((10, 20, 62, 54), 2, fill=accent)
    p.poly([(30, 62), (42, 62), (44, 76), (28, 76)], c)
    p.line([(22, 78), (50, 78)], c, 5)
    p.rrect((74, 14, 96, 80), 4, fill=c)
    p.line([(79, 24), (91, 24)], accent, 3)
    p.line([(79, 32), (91, 32)], accent, 3)
    p.circle((85, 66), 4, fill=accent)


def shield_tick(p, c, tick):
    p.poly([(50, 4), (90, 18), (88, 50), (76, 76), (50, 96), (24, 76),
            (12, 50), (10, 18)], c)
    p.line([(30, 50), (45, 65), (71, 36)], tick, 11)
