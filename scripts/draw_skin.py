#!/usr/bin/env python3
"""Draws Quillo's skin bitmaps and application icon.

Standard library only, so the artwork can be regenerated on any build
machine.  Every frame piece is cut from one imagined reference window, so
corners, bars and edges join without seams however the window is sized.
Run from anywhere; writes into resources/bitmaps, resources/icons and
packaging/icons (the icon theme's sizes) and
re-reads every file afterwards, exiting non-zero if a header is wrong.
"""

import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BITMAP_DIR = os.path.join(ROOT, "resources", "bitmaps")
ICON_DIR = os.path.join(ROOT, "resources", "icons")
THEME_ICON_DIR = os.path.join(ROOT, "packaging", "icons")

MIDNIGHT = (25, 25, 112)
TEXT_AREA_BLUE = (0, 0, 128)

# Reference client size the corner pieces are cut from; pieces that are
# stretched are constant along their stretch direction, so any size works.
REF_W, REF_H = 804, 778
TOP_H, BOTTOM_H, SIDE_W = 76, 34, 10

# (id, width, height, bits per pixel)
BITMAPS = [
    (145, 193, 130, 24),
    (148, 10, 76, 24),
    (151, 223, 76, 24),
    (152, 3, 76, 8),
    (154, 10, 76, 24),
    (155, 20, 19, 24),
    (157, 20, 19, 8),
    (158, 20, 19, 24),
    (159, 20, 19, 24),
    (160, 7, 440, 8),
    (161, 25, 34, 8),
    (162, 20, 19, 8),
    (163, 20, 19, 8),
    (164, 6, 440, 8),
    (166, 25, 34, 8),
    (168, 740, 34, 8),
]


# ---------------------------------------------------------------- drawing


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


class Image:
    """RGBA canvas with float channels; alpha only matters for the icon."""

    def __init__(self, w, h, fill=(0, 0, 0), alpha=1.0):
        self.w, self.h = w, h
        self.rgb = [[tuple(map(float, fill)) for _ in range(w)] for _ in range(h)]
        self.alpha = [[alpha] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.rgb[y][x] = tuple(map(float, c))
            self.alpha[y][x] = 1.0

    def blend(self, x, y, c, a):
        if a <= 0.0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        old, oa = self.rgb[y][x], self.alpha[y][x]
        na = a + oa * (1.0 - a)
        if na <= 0.0:
            return
        self.rgb[y][x] = tuple((c[i] * a + old[i] * oa * (1.0 - a)) / na for i in range(3))
        self.alpha[y][x] = na

    def rows8(self):
        return [[tuple(int(round(max(0.0, min(255.0, v)))) for v in p) for p in row] for row in self.rgb]


def paint(img, sdf, colour, box=None, alpha=1.0, soft=1.0):
    """Fills the shape sdf(x, y) <= 0 with analytic anti-aliasing.

    colour is an RGB tuple or a function of (x, y); soft widens the edge
    ramp, which is how the soft drop shadows are made."""
    x0, y0, x1, y1 = box if box else (0, 0, img.w, img.h)
    x0, y0 = max(0, int(x0)), max(0, int(y0))
    x1, y1 = min(img.w, int(math.ceil(x1))), min(img.h, int(math.ceil(y1)))
    for y in range(y0, y1):
        for x in range(x0, x1):
            d = sdf(x + 0.5, y + 0.5)
            cov = clamp01(0.5 - d / soft)
            if cov > 0.0:
                c = colour(x, y) if callable(colour) else colour
                img.blend(x, y, c, cov * alpha)


def sd_round_rect(x0, y0, x1, y1, r):
    """Signed distance to a rounded rectangle given by its outer edges."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def f(px, py):
        qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return f


def sd_polygon(points):
    """Signed distance (approximate at vertices) to a convex polygon, clockwise in screen space."""
    edges = []
    n = len(points)
    for i in range(n):
        ax, ay = points[i]
        bx, by = points[(i + 1) % n]
        ex, ey = bx - ax, by - ay
        ln = math.hypot(ex, ey)
        edges.append((ax, ay, ey / ln, -ex / ln))

    def f(px, py):
        return max((px - ax) * nx + (py - ay) * ny for ax, ay, nx, ny in edges)

    return f


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else clamp01(((px - ax) * dx + (py - ay) * dy) / ll)
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def sd_strokes(segments, radius):
    """Union of round-capped strokes; segments are (ax, ay, bx, by)."""
    segs = list(segments)

    def f(px, py):
        best = 1e9
        for ax, ay, bx, by in segs:
            # cheap reject: a segment farther than the best found cannot win
            if min(ax, bx) - best > px or px > max(ax, bx) + best:
                continue
            if min(ay, by) - best > py or py > max(ay, by) + best:
                continue
            d = seg_dist(px, py, ax, ay, bx, by)
            if d < best:
                best = d
        return best - radius

    return f


def sd_union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def sd_inset(f, by):
    return lambda x, y: f(x, y) + by


def sd_ring(f, width):
    """The band of the given width just inside the outline of f."""
    return lambda x, y: abs(f(x, y) + width / 2.0) - width / 2.0


# ------------------------------------------------------------ stroke font
# Glyphs for the large lettering, in units of the cap height with y up from
# the baseline.  Curves are polylines fine enough to look round when the
# strokes are anti-aliased.

X_HEIGHT = 0.66


def _arc(cx, cy, rx, ry, a0, a1, steps=40):
    pts = []
    for i in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * i / steps)
        pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return pts


def _poly(pts):
    return [(pts[i][0], pts[i][1], pts[i + 1][0], pts[i + 1][1]) for i in range(len(pts) - 1)]


def glyph(ch):
    """Returns (segments, dots, advance)."""
    h = X_HEIGHT
    if ch == "Q":
        ring = _poly(_arc(0.45, 0.5, 0.45, 0.52, 0, 360, 72))
        tail = [(0.52, 0.2, 0.98, -0.12)]
        return ring + tail, [], 1.06
    if ch == "u":
        r = 0.25
        segs = [(0.0, h, 0.0, r)] + _poly(_arc(r, r, r, r, 180, 360, 24)) + [(2 * r, h, 2 * r, 0.0)]
        return segs, [], 0.5
    if ch == "i":
        return [(0.0, 0.0, 0.0, h)], [(0.0, h + 0.2)], 0.0
    if ch == "l":
        return [(0.0, 0.0, 0.0, 1.05)], [], 0.0
    if ch == "o":
        return _poly(_arc(0.31, h / 2, 0.31, h / 2 + 0.01, 0, 360, 56)), [], 0.62
    raise KeyError(ch)


def stroke_text(text, x, baseline, cap, weight, spacing=0.24):
    """Lays out text; returns the sdf, its bounding box and the pen's end x."""
    segs, dots = [], []
    pen = x
    r = weight * cap / 2.0
    for ch in text:
        gs, gd, adv = glyph(ch)
        for ax, ay, bx, by in gs:
            segs.append((pen + ax * cap, baseline - ay * cap, pen + bx * cap, baseline - by * cap))
        for dx, dy in gd:
            dots.append((pen + dx * cap, baseline - dy * cap))
        pen += (adv + spacing) * cap
    dot_r = r * 1.15
    strokes = sd_strokes(segs, r)

    def f(px, py):
        d = strokes(px, py)
        for dx, dy in dots:
            d = min(d, math.hypot(px - dx, py - dy) - dot_r)
        return d

    box = (x - cap * 0.3, baseline - cap * 1.35, pen + cap * 0.3, baseline + cap * 0.45)
    return f, box, pen - spacing * cap


# ------------------------------------------------------------- pixel font
# A small proportional face for labels, where crisp pixels read better than
# anti-aliased strokes.  Rows 0-6 sit above the baseline, 7-8 descend.

PIXEL_FONT = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "c": ["....", "....", ".###", "#...", "#...", "#...", ".###"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "h": ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "i": ["#", ".", "#", "#", "#", "#", "#"],
    "l": ["#", "#", "#", "#", "#", "#", "#"],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "p": [".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."],
    "q": [".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", "....#"],
    "r": ["....", "....", "#.##", "##..", "#...", "#...", "#..."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    "t": [".#..", ".#..", "####", ".#..", ".#..", ".#..", "..##"],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    " ": ["..", "..", "..", "..", "..", "..", ".."],
}


def pixel_text_width(text, bold):
    w = 0
    for ch in text:
        w += len(PIXEL_FONT[ch][0]) + 1 + (1 if bold else 0)
    return w - 1


def pixel_text(img, text, x, top, colour, bold=False, shadow=None):
    """Draws text with its cap line at row top; shadow is drawn 1 px down-right."""
    passes = ([(1, 1, shadow)] if shadow else []) + [(0, 0, colour)]
    for ox, oy, c in passes:
        pen = x
        for ch in text:
            rows = PIXEL_FONT[ch]
            for gy, row in enumerate(rows):
                for gx, bit in enumerate(row):
                    if bit == "#":
                        for b in range(2 if bold else 1):
                            if c is shadow:
                                img.blend(pen + gx + b + ox, top + gy + oy, c, 0.55)
                            else:
                                img.set(pen + gx + b + ox, top + gy + oy, c)
            pen += len(rows[0]) + 1 + (1 if bold else 0)


# ---------------------------------------------------------------- frame
# The frame is one function of the window's client coordinates: an outer
# bevel (dark rim, light rim on the top and left, shade on the bottom and
# right), a three-step inset around the browser, and a base that carries
# the vertical gradients.  Rows 8..24 of the bottom band stay exactly
# midnight blue because the labels paint that colour behind their text.

RIM = (9, 9, 44)
RIM_LIGHT = (104, 108, 206)
RIM_LIGHT_SIDE = (70, 72, 168)  # softer: the edge strips are rescaled to 10 px
RIM_SHADE = (16, 16, 72)
INSET = [(7, 7, 40), (13, 13, 66), (19, 19, 92)]  # distance 1, 2, 3 from the browser
ACCENT = (64, 84, 190)


def top_base(y):
    if y == 2:
        return (66, 68, 166)
    if y <= 56:
        t = (y - 3) / 53.0
        return mix((50, 52, 150), MIDNIGHT, t * t * (3 - 2 * t))
    if y == 70:
        return ACCENT
    if y == 71:
        return (34, 38, 128)
    return MIDNIGHT


def bottom_base(r):
    if r <= 4:
        return mix((31, 32, 122), MIDNIGHT, (r - 3) / 2.0) if r >= 3 else MIDNIGHT
    if r <= 24:
        return MIDNIGHT
    t = (r - 24) / 7.0
    return mix(MIDNIGHT, (18, 18, 86), t)


def frame_pixel(X, Y, W=REF_W, H=REF_H):
    left, top, right, bottom = X, Y, W - 1 - X, H - 1 - Y
    outer = min(left, top, right, bottom)
    if outer == 0:
        return RIM
    if outer == 1:
        # the light rim wins the top-left mitre, the shade the bottom-right
        if top == 1 and right >= 1 and bottom > 1:
            return RIM_LIGHT if right > 1 else mix(RIM_LIGHT, RIM_SHADE, 0.5)
        if left == 1 and bottom > 1:
            return RIM_LIGHT_SIDE
        if left == 1:
            return mix(RIM_LIGHT, RIM_SHADE, 0.5)
        return RIM_SHADE
    # Chebyshev distance from the browser rectangle
    bx0, by0, bx1, by1 = SIDE_W, TOP_H, W - SIDE_W, H - BOTTOM_H
    dx = max(bx0 - X, X - (bx1 - 1), 0)
    dy = max(by0 - Y, Y - (by1 - 1), 0)
    d = max(dx, dy)
    if 1 <= d <= 3:
        return INSET[d - 1]
    # the side rims fade over three columns rather than one, so the edge
    # strips still look right after being rescaled to the corners' width
    if left in (2, 3) and bottom > 1:
        return mix(RIM_LIGHT_SIDE, base_colour(Y, H), (left - 1) / 3.0 + 0.1)
    if right in (2, 3) and bottom > 1 and top > 1:
        return mix(RIM_SHADE, base_colour(Y, H), (right - 1) / 3.0 + 0.1)
    return base_colour(Y, H)


def base_colour(Y, H):
    if Y < TOP_H:
        return top_base(Y)
    if Y >= H - BOTTOM_H:
        return bottom_base(Y - (H - BOTTOM_H))
    return MIDNIGHT


def frame_piece(x0, y0, w, h):
    img = Image(w, h)
    for y in range(h):
        for x in range(w):
            img.set(x, y, frame_pixel(x0 + x, y0 + y))
    return img


def replicated_column(X, y0, w, h):
    """A bar whose every column is the frame's column at X, so stretching it is seamless."""
    img = Image(w, h)
    for y in range(h):
        c = frame_pixel(X, y0 + y)
        for x in range(w):
            img.set(x, y, c)
    return img


def resample_columns(img10, w):
    """Squeezes a 10-column profile into w columns (the edges are drawn
    10 wide by the layout, so they are authored at 10 and stored narrower)."""
    out = Image(w, img10.h)
    for x in range(w):
        pos = (x + 0.5) * img10.w / w - 0.5
        i = max(0, min(img10.w - 2, int(math.floor(pos))))
        t = clamp01(pos - i)
        for y in range(img10.h):
            out.set(x, y, mix(img10.rgb[y][i], img10.rgb[y][i + 1], t))
    return out


# ---------------------------------------------------------------- pieces


def speech_bubble_sdf(x0, y0, x1, y1, r, tail):
    body = sd_round_rect(x0, y0, x1, y1, r)
    return sd_union(body, sd_polygon(tail))


def draw_logo():
    img = frame_piece(9, 0, 223, TOP_H)
    cap = 30.0
    baseline = 41.0
    text, box, end = stroke_text("Quillo", 20.0, baseline, cap, 0.15, spacing=0.2)

    shadow = lambda x, y: text(x - 1.0, y - 2.0) - 0.8
    paint(img, shadow, (4, 4, 30), box=(box[0], box[1], box[2] + 3, box[3] + 3), alpha=0.6, soft=2.5)

    def letter_colour(x, y):
        t = clamp01((y - (baseline - cap)) / cap)
        return mix((255, 255, 255), (178, 196, 248), t)

    paint(img, text, letter_colour, box=box)

    # speech bubble mark beside the name, as if the word were speaking
    bx0, by0, bx1, by1 = end + 9.0, 9.0, end + 37.0, 29.0
    tail = [(bx0 + 5.0, by1 - 2.0), (bx0 + 13.0, by1 - 2.0), (bx0 + 2.0, by1 + 7.0)]
    bubble = speech_bubble_sdf(bx0, by0, bx1, by1, 6.0, tail)
    bbox = (bx0 - 3, by0 - 3, bx1 + 4, by1 + 11)
    paint(img, lambda x, y: bubble(x - 1.0, y - 1.5) - 0.5, (4, 4, 30), box=bbox, alpha=0.5, soft=2.0)
    paint(img, bubble, lambda x, y: mix((120, 170, 255), (70, 112, 230), clamp01((y - by0) / (by1 - by0))), box=bbox)
    paint(img, sd_ring(bubble, 1.0), (170, 205, 255), box=bbox, alpha=0.6)
    cy = (by0 + by1) / 2.0
    for i in range(3):
        cx = (bx0 + bx1) / 2.0 + (i - 1) * 6.5
        paint(img, lambda x, y, cx=cx: math.hypot(x - cx, y - cy) - 1.9, (255, 255, 255), box=(cx - 3, cy - 3, cx + 4, cy + 4))
    assert bbox[2] < 200, "the mark must stay clear of the logo's joining column"
    return img


def caption_button(kind, hover):
    """20x19: a 19x19 rounded button on the top bar; column 19 is cut off."""
    x_on_bar = 500
    img = Image(20, 19)
    for y in range(19):
        for x in range(20):
            img.set(x, y, frame_pixel(x_on_bar + x, 6 + y))
    if not hover:
        rim, top, bottom, glyph_c = (92, 100, 170), (58, 64, 146), (38, 42, 120), (196, 202, 232)
    elif kind == "close":
        rim, top, bottom, glyph_c = (244, 132, 128), (222, 78, 74), (168, 34, 40), (255, 255, 255)
    else:
        rim, top, bottom, glyph_c = (150, 172, 246), (92, 116, 214), (56, 74, 178), (255, 255, 255)

    outline = sd_round_rect(0.0, 0.0, 19.0, 19.0, 4.5)
    inner = sd_inset(outline, 1.0)
    paint(img, outline, rim)
    paint(img, inner, lambda x, y: mix(top, bottom, y / 18.0))
    # a faint gloss on the upper half
    paint(img, lambda x, y: max(inner(x, y), y - 8.0), (255, 255, 255), alpha=0.10)

    if kind == "close":
        g = sd_strokes([(6.0, 6.0, 13.0, 13.0), (13.0, 6.0, 6.0, 13.0)], 1.05)
    elif kind == "max":
        box = sd_round_rect(5.0, 5.0, 14.0, 14.0, 0.6)
        g = sd_union(sd_ring(box, 1.2), lambda x, y: max(box(x, y), y - 7.2))
    else:
        g = sd_strokes([(6.0, 12.6, 13.0, 12.6)], 1.1)
    paint(img, lambda x, y: g(x - 0.6, y - 0.8) - 0.2, (6, 6, 34), alpha=0.45)
    paint(img, g, glyph_c)
    return img


def popup_button(img, x0, x1, y0, y1, label, top, bottom, rim):
    shape = sd_round_rect(x0, y0, x1 + 1, y1 + 1, 4.0)
    box = (x0, y0, x1 + 1, y1 + 1)
    paint(img, shape, rim, box=box)
    inner = sd_inset(shape, 1.0)
    paint(img, inner, lambda x, y: mix(top, bottom, (y - y0) / float(y1 - y0)), box=box)
    paint(img, lambda x, y: max(inner(x, y), y - (y0 + (y1 - y0) * 0.45)), (255, 255, 255), box=box, alpha=0.12)
    # a one-pixel light line under the top rim gives the button its lift
    for x in range(x0 + 3, x1 - 2):
        img.blend(x, y0 + 1, (255, 255, 255), 0.25)
    bold = False
    w = pixel_text_width(label, bold)
    tx = x0 + (x1 - x0 + 1 - w) // 2
    ty = y0 + (y1 - y0 + 1 - 7) // 2
    pixel_text(img, label, tx, ty, (255, 255, 255), bold=bold, shadow=(0, 0, 0))


def draw_popup():
    W, H = 193, 130
    img = Image(W, H, (8, 8, 36))
    card = sd_round_rect(0.0, 0.0, float(W), float(H), 6.0)

    def card_colour(x, y):
        if y < 44:
            t = y / 43.0
            return mix((54, 58, 156), (30, 32, 122), t * t * (3 - 2 * t))
        return mix((22, 22, 98), (14, 14, 70), (y - 44) / float(H - 45))

    paint(img, card, card_colour)
    paint(img, sd_ring(card, 1.0), (92, 100, 196))
    paint(img, lambda x, y: max(sd_ring(card, 2.0)(x, y), -sd_ring(card, 1.0)(x, y), y - 44.0), (150, 160, 240), alpha=0.25)

    # header: speech bubble mark and the title
    tail = [(14.0, 27.0), (21.0, 27.0), (11.0, 34.0)]
    bubble = speech_bubble_sdf(9.0, 10.0, 33.0, 29.0, 5.5, tail)
    bbox = (6, 7, 37, 38)
    paint(img, lambda x, y: bubble(x - 1.0, y - 1.5) - 0.5, (4, 4, 30), box=bbox, alpha=0.5, soft=2.0)
    paint(img, bubble, lambda x, y: mix((124, 174, 255), (70, 112, 230), clamp01((y - 10) / 19.0)), box=bbox)
    for i in range(3):
        cx = 21.0 + (i - 1) * 6.0
        paint(img, lambda x, y, cx=cx: math.hypot(x - cx, y - 19.5) - 1.7, (255, 255, 255), box=(cx - 3, 16, cx + 4, 24))
    pixel_text(img, "Chat request", 42, 16, (255, 255, 255), bold=True, shadow=(0, 0, 20))

    # a small drawn close button in the header's corner
    cb = sd_round_rect(171.0, 9.0, 184.0, 22.0, 3.0)
    paint(img, cb, (62, 68, 160), box=(170, 8, 186, 24))
    paint(img, sd_ring(cb, 1.0), (104, 112, 200), box=(170, 8, 186, 24))
    paint(img, sd_strokes([(174.8, 12.8, 180.2, 18.2), (180.2, 12.8, 174.8, 18.2)], 0.85), (214, 220, 246), box=(170, 8, 186, 24))

    # sunken well around the text area; the rich text paints inside it
    for x in range(3, 190):
        img.set(x, 43, (10, 10, 52))
        img.set(x, 44, (6, 6, 40))
    for y in range(44, 89):
        img.set(4, y, (6, 6, 40))
        img.set(188, y, (44, 48, 140))
        img.set(3, y, (10, 10, 52))
    for y in range(45, 89):
        for x in range(5, 188):
            img.set(x, y, TEXT_AREA_BLUE)

    popup_button(img, 30, 96, 89, 116, "Accept", (74, 190, 104), (30, 128, 64), (150, 232, 168))
    popup_button(img, 106, 172, 89, 116, "Decline", (150, 84, 96), (104, 48, 60), (196, 138, 148))
    return img


def draw_icon(n=64):
    """The application icon at n x n pixels, drawn from one 64-unit design so every size matches."""
    k = 64.0 / n
    img = Image(n, n, (0, 0, 0), alpha=0.0)

    def at(f):
        return lambda x, y: f(x * k, y * k) / k

    def colour_at(c):
        return (lambda x, y: c(x * k, y * k)) if callable(c) else c

    def draw(f, colour, alpha=1.0, soft=1.0):
        # edges stay one pixel soft at every size; only the shadow's blur scales
        paint(img, at(f), colour_at(colour), alpha=alpha, soft=max(1.0, soft / k) if soft != 1.0 else 1.0)

    tail = [(15.0, 44.0), (30.0, 44.0), (10.0, 60.0)]
    bubble = speech_bubble_sdf(3.0, 5.0, 61.0, 47.0, 13.0, tail)
    draw(lambda x, y: bubble(x - 1.0, y - 2.0) - 0.5, (0, 0, 20), alpha=0.35, soft=2.5)
    draw(bubble, (255, 255, 255))
    inner = sd_inset(bubble, 3.0)
    draw(inner, lambda x, y: mix((62, 62, 170), MIDNIGHT, clamp01((y - 8) / 38.0)))
    draw(lambda x, y: max(inner(x, y), y - 24.0), (255, 255, 255), alpha=0.08)
    cap = 25.0
    q, box, end = stroke_text("Q", 0.0, 0.0, cap, 0.17)
    # centre the letter's ring, not its tail, in the bubble
    ox, oy = 32.0 - 0.45 * cap, 26.0 + 0.5 * cap
    draw(lambda x, y: q(x - ox, y - oy), (255, 255, 255))
    return img


# Sizes of the icon in the desktop's icon theme (hicolor).
THEME_ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]


def draw_all():
    top_left = frame_piece(0, 0, SIDE_W, TOP_H)
    top_right = frame_piece(REF_W - SIDE_W, 0, SIDE_W, TOP_H)
    top_bar = replicated_column(500, 0, 3, TOP_H)
    left10 = frame_piece(0, 300, SIDE_W, 440)
    right10 = frame_piece(REF_W - SIDE_W, 300, SIDE_W, 440)
    bottom_left = frame_piece(0, REF_H - BOTTOM_H, 25, BOTTOM_H)
    bottom_right = frame_piece(REF_W - 25, REF_H - BOTTOM_H, 25, BOTTOM_H)
    bottom_bar = replicated_column(400, REF_H - BOTTOM_H, 740, BOTTOM_H)
    return {
        145: draw_popup(),
        148: top_left,
        151: draw_logo(),
        152: top_bar,
        154: top_right,
        155: caption_button("close", False),
        157: caption_button("close", True),
        158: caption_button("max", False),
        159: caption_button("min", False),
        160: resample_columns(left10, 7),
        161: bottom_left,
        162: caption_button("max", True),
        163: caption_button("min", True),
        164: resample_columns(right10, 6),
        166: bottom_right,
        168: bottom_bar,
    }


# ------------------------------------------------------------------ files


def quantise(rows):
    """Returns (palette, indexed rows) with at most 256 colours, coarsening
    the channels only if the picture needs it."""
    step = 1
    while True:
        q = [[tuple(min(255, (v // step) * step + step // 2) if step > 1 else v for v in p) for p in row] for row in rows]
        colours = sorted({p for row in q for p in row})
        if len(colours) <= 256:
            index = {c: i for i, c in enumerate(colours)}
            return colours, [[index[p] for p in row] for row in q]
        step *= 2


def bmp_bytes(img, bpp):
    rows = img.rows8()
    w, h = img.w, img.h
    stride = ((w * bpp // 8) + 3) & ~3
    palette = b""
    data = bytearray()
    if bpp == 24:
        for y in range(h - 1, -1, -1):
            line = bytearray()
            for r, g, b in rows[y]:
                line += bytes((b, g, r))
            data += line + b"\0" * (stride - len(line))
    elif bpp == 8:
        colours, indexed = quantise(rows)
        colours = colours + [(0, 0, 0)] * (256 - len(colours))
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
        for y in range(h - 1, -1, -1):
            line = bytes(indexed[y])
            data += line + b"\0" * (stride - len(line))
    else:
        raise ValueError(bpp)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, len(data), 2835, 2835, 256 if bpp == 8 else 0, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + palette + bytes(data)


def rgba_rows(img):
    out = []
    for y in range(img.h):
        row = []
        for x in range(img.w):
            a = img.alpha[y][x]
            r, g, b = (int(round(max(0.0, min(255.0, v)))) for v in img.rgb[y][x])
            row.append((r, g, b, int(round(clamp01(a) * 255))))
        out.append(row)
    return out


def png_bytes(img):
    def chunk(tag, payload):
        return struct.pack(">I", len(payload)) + tag + payload + struct.pack(">I", zlib.crc32(tag + payload) & 0xFFFFFFFF)

    raw = bytearray()
    for row in rgba_rows(img):
        raw.append(0)
        for p in row:
            raw += bytes(p)
    ihdr = struct.pack(">IIBBBBB", img.w, img.h, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def ico_bytes(img):
    w, h = img.w, img.h
    rows = rgba_rows(img)
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for r, g, b, a in rows[y]:
            xor += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(rows[y]):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + bytes(xor) + bytes(mask)
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return head + entry + image


# ------------------------------------------------------------- self-check


def read_bmp(path):
    """Parses a BMP written above; returns (w, h, bpp, rows of RGB top-down)."""
    with open(path, "rb") as f:
        data = f.read()
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    hdr = struct.unpack_from("<IiiHHIIiiII", data, 14)
    bi_size, w, h, planes, bpp, comp, _, _, _, used, _ = hdr
    problems = []
    if magic != b"BM":
        problems.append("not a BMP")
    if size != len(data):
        problems.append("file size field %d, file has %d bytes" % (size, len(data)))
    if bi_size != 40:
        problems.append("header size %d" % bi_size)
    if h <= 0:
        problems.append("not bottom-up")
    if planes != 1 or comp != 0:
        problems.append("planes %d compression %d" % (planes, comp))
    pal_entries = 0
    if bpp == 8:
        pal_entries = used if used else 256
        if pal_entries != 256:
            problems.append("palette has %d entries" % pal_entries)
    if offset != 14 + 40 + pal_entries * 4:
        problems.append("pixel offset %d" % offset)
    stride = ((w * bpp // 8) + 3) & ~3
    if len(data) != offset + stride * abs(h):
        problems.append("pixel data size")
    if problems:
        return w, h, bpp, None, problems
    pal = [tuple(data[54 + i * 4 + 2 - k] for k in range(3)) for i in range(pal_entries)]
    rows = []
    for y in range(h):
        base = offset + (h - 1 - y) * stride
        if bpp == 24:
            rows.append([(data[base + x * 3 + 2], data[base + x * 3 + 1], data[base + x * 3]) for x in range(w)])
        else:
            rows.append([pal[data[base + x]] for x in range(w)])
    return w, h, bpp, rows, problems


def self_check():
    errors = []
    pixels = {}
    for bid, w, h, bpp in BITMAPS:
        path = os.path.join(BITMAP_DIR, "bmp%d.bmp" % bid)
        gw, gh, gbpp, rows, problems = read_bmp(path)
        if (gw, gh, gbpp) != (w, h, bpp):
            problems.append("is %dx%d %d-bit, wants %dx%d %d-bit" % (gw, gh, gbpp, w, h, bpp))
        errors += ["bmp%d: %s" % (bid, p) for p in problems]
        pixels[bid] = rows
    if errors:
        return errors

    def column(bid, x):
        return [row[x] for row in pixels[bid]]

    def uniform(bid, axis):
        rows = pixels[bid]
        if axis == "columns":
            return all(row == [row[0]] * len(row) for row in rows)
        return all(row == rows[0] for row in rows)

    # stretched pieces must be constant along their stretch
    if not uniform(152, "columns"):
        errors.append("top bar columns differ")
    if not uniform(168, "columns"):
        errors.append("bottom bar columns differ")
    if not uniform(160, "rows") or not uniform(164, "rows"):
        errors.append("edge rows differ")
    # the logo joins the corner at its first column and the bar at its last
    if column(151, 222) != column(152, 0):
        errors.append("logo's last column differs from the top bar")
    if column(151, 0) != column(148, 9):
        errors.append("logo's first column differs from the corner it overlaps")
    # the labels paint midnight blue behind their text
    for bid in (161, 166, 168):
        for y in range(8, 25):
            if any(p != MIDNIGHT for p in pixels[bid][y][4:-4]):
                errors.append("bmp%d row %d is not midnight blue behind the labels" % (bid, y))
                break
    # the rich text area sits on its own blue
    for y in (45, 88):
        if pixels[145][y][5] != TEXT_AREA_BLUE or pixels[145][y][187] != TEXT_AREA_BLUE:
            errors.append("popup text area corners are not RGB(0,0,128)")

    # the accept button's frame fills the accept zone's columns exactly
    pop = pixels[145]
    if pop[100][29] == pop[100][30] or pop[100][96] == pop[100][97]:
        errors.append("accept button frame does not sit on x 30..96")

    with open(os.path.join(ICON_DIR, "quillo.ico"), "rb") as f:
        ico = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", ico, 0)
    bw, bh, _, _, planes, bpp, size, off = struct.unpack_from("<BBBBHHII", ico, 6)
    dib = struct.unpack_from("<IiiHHI", ico, off)
    if (reserved, kind, count) != (0, 1, 1) or (bw, bh, bpp) != (64, 64, 32) or off + size != len(ico):
        errors.append("quillo.ico directory is wrong")
    if dib != (40, 64, 128, 1, 32, 0):
        errors.append("quillo.ico image header is wrong: %r" % (dib,))
    with open(os.path.join(ICON_DIR, "quillo.png"), "rb") as f:
        png = f.read()
    if png[:8] != b"\x89PNG\r\n\x1a\n" or struct.unpack_from(">4sIIBB", png, 12) != (b"IHDR", 64, 64, 8, 6):
        errors.append("quillo.png is not a 64x64 RGBA PNG")
    for n in THEME_ICON_SIZES:
        with open(os.path.join(THEME_ICON_DIR, "quillo-%d.png" % n), "rb") as f:
            if struct.unpack_from(">4sIIBB", f.read(), 12) != (b"IHDR", n, n, 8, 6):
                errors.append("quillo-%d.png is not a %dx%d RGBA PNG" % (n, n, n))
    return errors


def main():
    os.makedirs(BITMAP_DIR, exist_ok=True)
    os.makedirs(ICON_DIR, exist_ok=True)
    images = draw_all()
    for bid, w, h, bpp in BITMAPS:
        img = images[bid]
        assert (img.w, img.h) == (w, h), bid
        with open(os.path.join(BITMAP_DIR, "bmp%d.bmp" % bid), "wb") as f:
            f.write(bmp_bytes(img, bpp))
    icon = draw_icon()
    with open(os.path.join(ICON_DIR, "quillo.ico"), "wb") as f:
        f.write(ico_bytes(icon))
    with open(os.path.join(ICON_DIR, "quillo.png"), "wb") as f:
        f.write(png_bytes(icon))
    os.makedirs(THEME_ICON_DIR, exist_ok=True)
    for n in THEME_ICON_SIZES:
        with open(os.path.join(THEME_ICON_DIR, "quillo-%d.png" % n), "wb") as f:
            f.write(png_bytes(icon if n == 64 else draw_icon(n)))

    errors = self_check()
    for e in errors:
        print("draw_skin: " + e, file=sys.stderr)
    if errors:
        return 1
    print("draw_skin: wrote %d bitmaps and the icon" % len(BITMAPS))
    return 0


if __name__ == "__main__":
    sys.exit(main())
