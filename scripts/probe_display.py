#!/usr/bin/env python3
"""Probes screenshots of the display for what the screen checks expect.

  probe_display.py [--scale F] display SHOT [LATER_SHOTS...]
      every panel, link button and banner shows text, the main browser its
      start page and the clock is drawn (and has moved in the last shot); the
      ticker shows text in one shot at least (it scrolls blank between turns);
  probe_display.py [--scale F] about|no-about BEFORE SHOT
      the about box covers the middle of the screen in SHOT, which BEFORE
      shows without it (no-about: SHOT shows the middle as BEFORE does);
  probe_display.py [--scale F] solo SHOT
      the single-panel window, at the top left, is all the screen shows;
  probe_display.py [--scale F] point WIDTHxHEIGHT X Y
      prints where the design point X, Y lies on a screen of that size.

Without --scale the design is at its own size at the top left; with it, the
design is scaled by F and centred, as --scale puts it: by Qt from 1 up, by
the program's own layout below. Prints each problem
found and ends with status 1 if there is any.
"""
import argparse
import subprocess
import sys

DESIGN = (1016, 760)  # design pixels (twips / 15)
ABOUT_BOX = (264, 303)
SOLO = (334, 97)
# Slot panels: left and top edges and height in twips, each 334 pixels wide.
# Link buttons with captions (left edges, each 78 wide, 21 high at the top),
# banners with text (left edges of the three boxes along the bottom), ticker.
BUTTONS = [9 + left // 15 for left in (0, 1170, 2340, 3510, 4680, 5850, 7020, 8190)]
BANNERS = [8, 342, 676]
TICKER = (6, 726, 740, 38)
PANELS = [(10170, 0, 1470), (10170, 1440, 1440), (10170, 2865, 1440), (10170, 4290, 1440), (10170, 5730, 1440),
          (150, 7155, 1485), (5160, 7170, 1470), (10170, 7170, 1470), (150, 8640, 1470), (5160, 8640, 1470),
          (10170, 8625, 1485)]


class Shot:
    def __init__(self, path):
        data = subprocess.run(["convert", path, "ppm:-"], capture_output=True, check=True).stdout
        fields = data.split(maxsplit=4)
        self.width, self.height, self.pixels = int(fields[1]), int(fields[2]), fields[4]

    def colour(self, point):
        offset = (point[1] * self.width + point[0]) * 3
        return tuple(self.pixels[offset:offset + 3])

    def count(self, points, test):
        return sum(1 for p in points if test(self.colour(p)))

    def text(self, points):
        """Bright pixels of text: rows that are mostly bright are lines, not text."""
        rows = {}
        for p in points:
            rows.setdefault(p[1], []).append(p)
        counts = ((self.count(row, bright), len(row)) for row in rows.values())
        return sum(count for count, width in counts if count < width // 2)


class Screen:
    """Maps design pixels to screen pixels."""

    def __init__(self, width, height, scale):
        self.width, self.height = width, height
        self.factor = f = scale or 1.0
        self.origin = (0, 0)  # of the design, in screen pixels
        if scale and f >= 1:  # centred in Qt's logical pixels
            self.origin = (((round(width / f) - DESIGN[0]) // 2) * f, ((round(height / f) - DESIGN[1]) // 2) * f)
        elif scale:  # centred in screen pixels
            self.origin = ((width - round(DESIGN[0] * f)) // 2, (height - round(DESIGN[1] * f)) // 2)

    def point(self, x, y):
        return round(self.origin[0] + x * self.factor), round(self.origin[1] + y * self.factor)

    def area(self, x, y, w, h, margin=4):
        """Screen pixels of a design rectangle, a few pixels inside its edges."""
        f, (ox, oy) = self.factor, self.origin
        return self.pixels_in(round(ox + (x + margin) * f), round(oy + (y + margin) * f),
                              round(ox + (x + w - margin) * f), round(oy + (y + h - margin) * f))

    def pixels_in(self, x0, y0, x1, y1):
        return [(px, py) for py in range(max(y0, 0), min(y1, self.height))
                for px in range(max(x0, 0), min(x1, self.width))]

    def centred(self, size):
        """Screen pixels of a window of design size centred on the screen."""
        w, h = round(size[0] * self.factor), round(size[1] * self.factor)
        x0, y0 = (self.width - w) // 2, (self.height - h) // 2
        return self.pixels_in(x0 + 8, y0 + 8, x0 + w - 8, y0 + h - 8)


def bright(c):  # white or yellow text
    return min(c) > 200 or (c[0] > 200 and c[1] > 200)


def clock_digit(c):
    return c[1] > 200 and c[0] < 120 and c[2] < 120


def display(screen, shot, later_shots):
    problems = []
    for slot, (x, y, h) in enumerate(PANELS, 1):
        texts = shot.text(screen.area(x // 15, y // 15, 334, h // 15))
        if texts < 30:
            problems.append(f"panel {slot} shows no text ({texts} bright pixels)")
    page = screen.area(9, 19, 665, 456)
    texts, white = shot.count(page, bright), shot.count(page, lambda c: min(c) > 240)
    heading = shot.count(page, lambda c: c[1] > 150 and c[0] < 160 and c[2] < 130)
    if heading < 100 or texts < 300 or white > len(page) // 2:
        problems.append(f"the main browser shows no start page ({heading} heading, {texts} text, "
                        f"{white} white pixels of {len(page)})")
    for number, x in enumerate(BUTTONS, 1):
        if shot.count(screen.area(x, 0, 78, 21, margin=3), lambda c: max(c) < 110) < 10:
            problems.append(f"link button {number} shows no caption")
    for number, x in enumerate(BANNERS, 1):
        if shot.text(screen.area(x, 672, 335, 50)) < 30:
            problems.append(f"banner {number} shows no text")
    if all(each.text(screen.area(*TICKER, margin=0)) < 50 for each in [shot] + later_shots):
        problems.append("no ticker text")
    clock = screen.area(760, 705, 232, 37, margin=0)
    if shot.count(clock, clock_digit) < 30:
        problems.append("no clock")
    elif later_shots and all(shot.colour(p) == later_shots[-1].colour(p) for p in clock):
        problems.append("the clock did not move: the screen is not updated")
    return problems


def changed(points, a, b):
    """Share of the points whose colour differs clearly between two shots."""
    return sum(1 for p in points if max(abs(x - y) for x, y in zip(a.colour(p), b.colour(p))) > 8) / len(points)


def about(screen, before, shot, expected):
    box = screen.centred(ABOUT_BOX)
    share = changed(box, before, shot)
    if expected and share < 0.5:
        return [f"no about box in the middle ({share:.0%} of it changed)"]
    if not expected and share > 0.2:
        return [f"the about box did not go ({share:.0%} of the middle differs)"]
    return []


def solo(screen, shot):
    w, h = round(SOLO[0] * screen.factor), round(SOLO[1] * screen.factor)
    panel = screen.pixels_in(4, 4, w - 4, h - 4)
    rest = screen.pixels_in(0, h + 4, screen.width, screen.height)
    problems = []
    if shot.text(panel) < 30:
        problems.append("no single panel with text at the top left")
    lit = shot.count(rest, lambda c: max(c) > 60)
    if lit > len(rest) // 100:
        problems.append(f"the rest of the screen is not black ({lit} lit pixels): the main window is still shown")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scale", type=float)
    parser.add_argument("what", choices=["display", "about", "no-about", "solo", "point"])
    parser.add_argument("shots", nargs="+")
    args = parser.parse_args()
    if args.what == "point":
        size, x, y = args.shots
        width, height = map(int, size.split("x"))
        print(*Screen(width, height, args.scale).point(int(x), int(y)))
        return
    shots = [Shot(path) for path in args.shots]
    screen = Screen(shots[0].width, shots[0].height, args.scale)
    if args.what == "display":
        problems = display(screen, shots[0], shots[1:])
    elif args.what in ("about", "no-about"):
        problems = about(screen, shots[0], shots[1], args.what == "about")
    else:
        problems = solo(screen, shots[0])
    for problem in problems:
        print(problem)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
