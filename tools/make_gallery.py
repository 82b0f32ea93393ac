#!/usr/bin/env python3
"""Draws every image of the gallery skin into resources/gallery/.

The gallery is a skin with one window document per family of controls, so a
skin author can see each element and its attributes at work (in varnelSkinView,
or in the pictures the test suite renders from it). Its pictures are generated
like the launcher's (tools/make_skin.py, whose canvas and PNG writer this file
uses), so they rebuild byte for byte:

    python3 tools/make_gallery.py            # writes into resources/gallery/
    python3 tools/make_gallery.py OUT_DIR    # or anywhere else

Documents (written by hand, numbered in the order of the families):
  theme.xml        fonts, shared images and the Default lists of every page
  header.xml       the title bar every page includes
  01-buttons.xml   labels and buttons
  12-layouts.xml   containers, vertical and horizontal layouts, floating
  13-browser.xml   the ActiveX host and the web browser
Adding a family: write NN-family.xml (copy a page: the Window element, the
theme and header includes and the card layout), and if it needs pictures of
its own, a drawing function here added to IMAGES.

Images (8-bit RGBA):
  window.png    64 x 64  page nine-grid, corner='6,44,6,6': title band, rule, body
  card.png      32 x 32  panel nine-grid, corner='10,10,10,10'
  button.png   256 x 32  four 64 x 32 cells, normal, hot, pushed, disabled,
                         each a nine-grid with corner='8,8,8,8'
  close.png    120 x 40  three 40 x 40 cells: the close button, normal, hot, pushed
  icons.png     72 x 24  three 24 x 24 glyphs: play, star, gear
  tile.png      16 x 16  a diagonal stripe tile, for xtiled and ytiled
"""
import math
import os
import sys

sys.dont_write_bytecode = True  # importing make_skin leaves nothing behind in tools/
from make_skin import (WHITE, Canvas, lerp, rgb, save, sd_circle, sd_polygon, sd_ring, sd_round_rect,
                       sd_segment, subtract, union)

INK = rgb(14, 16, 20)
BAND_TOP = rgb(52, 59, 73)
BAND_BOTTOM = rgb(36, 41, 51)
BODY = rgb(29, 33, 41)
CARD = rgb(41, 47, 58)
CARD_EDGE = rgb(63, 72, 89)
TEAL = rgb(38, 166, 154)
TEAL_HOT = rgb(64, 196, 183)
TEAL_DEEP = rgb(22, 120, 111)
SLATE = rgb(72, 79, 92)
PALE = rgb(222, 228, 236)
RED = rgb(214, 64, 58)
GOLD = rgb(236, 190, 84)

BAND = 44   # title band height of window.png, the caption of every page


def window_grid():
    W = H = 64
    cv = Canvas(W, H)
    box = (0, 0, W, H)
    cv.fill(sd_round_rect(0, 0, W, H, 0.01), box, INK)
    cv.fill(sd_round_rect(1, 1, W - 1, BAND - 2, 0.01), box,
            lambda x, y: lerp(BAND_TOP, BAND_BOTTOM, (y - 1) / (BAND - 3)))
    cv.fill(sd_round_rect(1, BAND - 2, W - 1, BAND, 0.01), box, TEAL)
    cv.fill(sd_round_rect(1, BAND, W - 1, H - 1, 0.01), box, BODY)
    cv.fill(sd_round_rect(1, 1, W - 1, 2, 0.01), box, WHITE, 0.08)
    return cv


def card():
    S = 32
    cv = Canvas(S, S, 4)
    box = (0, 0, S, S)
    cv.glow(sd_round_rect(3, 4, S - 3, S - 2, 6), box, (0.0, 0.0, 0.0), 0.35, 1.5, add=False)
    cv.fill(sd_round_rect(2, 2, S - 2, S - 3, 6), box, CARD_EDGE)
    cv.fill(sd_round_rect(3, 3, S - 3, S - 4, 5), box,
            lambda x, y: lerp(rgb(45, 52, 64), CARD, (y - 3) / (S - 7)))
    return cv


def button_strip():
    CW, CH = 64, 32
    cv = Canvas(CW * 4, CH, 4)
    faces = {'n': (TEAL, TEAL_DEEP), 'h': (TEAL_HOT, TEAL), 'p': (TEAL_DEEP, TEAL_DEEP),
             'd': (SLATE, rgb(60, 66, 78))}
    for k, state in enumerate('nhpd'):
        ox = CW * k
        box = (ox, 0, ox + CW, CH)
        dy = 1.0 if state == 'p' else 0.0
        outline = sd_round_rect(ox + 1, 1 + dy, ox + CW - 1, CH - 1, 7)
        face = sd_round_rect(ox + 2, 2 + dy, ox + CW - 2, CH - 2, 6)
        top, bottom = faces[state]
        cv.fill(outline, box, INK, 0.8)
        cv.fill(face, box, lambda x, y, t=top, b=bottom: lerp(t, b, (y - 2) / (CH - 4)))
        if state in 'nh':
            cv.fill(subtract(face, sd_round_rect(ox + 2, 3, ox + CW - 2, CH, 6)), box, WHITE, 0.3)
    return cv


def close_strip():
    C = 40
    cv = Canvas(C * 3, C, 4)
    for k, state in enumerate('nhp'):
        ox = C * k
        box = (ox, 0, ox + C, C)
        if state != 'n':
            cv.fill(sd_round_rect(ox + 4, 6, ox + C - 4, C - 8, 5), box, RED if state == 'h' else rgb(150, 40, 36))
        cx, cy = ox + C / 2.0, (C - 2) / 2.0 + (1.0 if state == 'p' else 0.0)
        cross = union(sd_segment(cx - 6, cy - 6, cx + 6, cy + 6, 1.3),
                      sd_segment(cx - 6, cy + 6, cx + 6, cy - 6, 1.3))
        cv.fill(cross, box, PALE if state == 'n' else WHITE)
    return cv


def star(cx, cy, outer, inner):
    pts = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = -math.pi / 2 + i * math.pi / 5
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return sd_polygon(pts)


def gear(cx, cy):
    teeth = []
    for i in range(8):
        a = i * math.pi / 4
        teeth.append(sd_segment(cx + 6 * math.cos(a), cy + 6 * math.sin(a),
                                cx + 9 * math.cos(a), cy + 9 * math.sin(a), 1.8))
    return subtract(union(sd_circle(cx, cy, 7), *teeth), sd_circle(cx, cy, 3))


def icons():
    S = 24
    cv = Canvas(S * 3, S, 4)
    play = sd_polygon([(9.5, 7.5), (17.5, 12), (9.5, 16.5)])
    cv.fill(sd_ring(12, 12, 10, 1.2), (0, 0, S, S), WHITE)
    cv.fill(play, (0, 0, S, S), WHITE)
    cv.fill(star(S + 12, 12.5, 10, 4.2), (S, 0, 2 * S, S), GOLD)
    cv.fill(gear(2 * S + 12, 12), (2 * S, 0, 3 * S, S), PALE)
    return cv


def tile():
    S = 16
    cv = Canvas(S, S, 4)
    box = (0, 0, S, S)
    cv.fill(sd_round_rect(0, 0, S, S, 0.01), box, rgb(34, 39, 48))
    for off in (-S, 0, S):
        cv.fill(sd_segment(off - 2, S + 2, off + S + 2, -2, 2.2), box, rgb(48, 55, 68))
    return cv


IMAGES = [
    ('window.png', window_grid),
    ('card.png', card),
    ('button.png', button_strip),
    ('close.png', close_strip),
    ('icons.png', icons),
    ('tile.png', tile),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = (sys.argv[1] if len(sys.argv) > 1
              else os.path.join(here, os.pardir, 'resources', 'gallery'))
    os.makedirs(folder, exist_ok=True)
    for name, draw in IMAGES:
        save(draw(), folder, name)


if __name__ == '__main__':
    main()
