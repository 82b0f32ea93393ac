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
  02-options.xml   check boxes, grouped options, toggles and segments
  03-text.xml      wrapped text, formatted text and links
  04-progress.xml  progress bars and sliders
  05-edit.xml      edit fields and rich edits
  06-date.xml      the date picker
  07-lists.xml     lists: header, text, label and container rows
  08-combo.xml     combos and combo boxes
  09-tree.xml      tree views
  10-tabs.xml      tab, tile and child layouts (child.xml is the child layout)
  11-scrolling.xml container scroll bars, their styles and a lone scroll bar
  12-layouts.xml   containers, vertical and horizontal layouts, floating
  13-browser.xml   the ActiveX host and the web browser
Adding a family: write NN-family.xml (copy a page: the Window element, the
theme and header includes and the card layout), if it needs pictures of its
own a drawing function here added to IMAGES, and its line in the README's
gallery table. A page's own Default lists stay in the page.

Images (8-bit RGBA):
  window.png    64 x 64  page nine-grid, corner='6,44,6,6': title band, rule, body
  card.png      32 x 32  panel nine-grid, corner='10,10,10,10'
  button.png   256 x 32  four 64 x 32 cells, normal, hot, pushed, disabled,
                         each a nine-grid with corner='8,8,8,8'
  close.png    120 x 40  three 40 x 40 cells: the close button, normal, hot, pushed
  icons.png     72 x 24  three 24 x 24 glyphs: play, star, gear
  tile.png      16 x 16  a diagonal stripe tile, for xtiled and ytiled
  checks.png   160 x 20  eight 20 x 20 cells: check box normal, hot, checked,
                         checked hot; radio button normal, hot, selected,
                         selected hot
  bar.png       64 x 16  two 32 x 16 bars, track and fill, corner='6,6,6,6'
  meter.png    240 x 12  a green to red gauge, shown unstretched
  slider.png   164 x 32  track and fill, 32 x 20 each with corner='6,0,6,0',
                         then three 20 x 20 thumbs: normal, hot, pushed; then
                         the upright track and fill, 20 x 32 each from x 124,
                         corner='0,6,0,6'
  edit.png     128 x 28  four 32 x 28 field cells, normal, hot, focused,
                         disabled, each a nine-grid with corner='6,6,6,6'
  date.png      64 x 28  a date field with a calendar at its right end,
                         corner='6,6,30,6'
  scroll.png   272 x 16  seventeen 16 x 16 cells: arrows up, down, left and
                         right (normal, hot, pushed each), the thumb (normal,
                         hot, pushed, corner='5,5,5,5'), the track
                         (corner='5,5,5,5') and the grip drawn as the rail
  list.png     100 x 28  three 32 x 28 list header cells, normal, hot, pushed,
                         each a nine-grid with corner='4,4,4,4', then the
                         4 x 28 column separator from x 96
  folders.png   64 x 16  four 16 x 16 tree folder buttons: open, open hot,
                         closed, closed hot
  arrow.png    140 x 28  five 28 x 28 combo box arrow cells: normal, hot,
                         pushed, focused, disabled
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


def checks():
    C = 20
    cv = Canvas(C * 8, C, 4)
    for k in range(8):
        ox = C * k
        box = (ox, 0, ox + C, C)
        radio, state = k >= 4, k % 4
        on, hot = state >= 2, state % 2 == 1
        if radio:
            outline, face = sd_circle(ox + 10, 10, 8), sd_circle(ox + 10, 10, 6.8)
        else:
            outline, face = sd_round_rect(ox + 2, 2, ox + 18, 18, 4), sd_round_rect(ox + 3.2, 3.2, ox + 16.8, 16.8, 3)
        cv.fill(outline, box, TEAL_HOT if hot else (TEAL if on else rgb(104, 114, 132)))
        cv.fill(face, box, (TEAL if on else rgb(37, 42, 52)) if not hot or on else rgb(48, 55, 68))
        if on and radio:
            cv.fill(sd_circle(ox + 10, 10, 3.4), box, WHITE)
        elif on:
            cv.fill(union(sd_segment(ox + 6, 10.5, ox + 9, 13.5, 1.2), sd_segment(ox + 9, 13.5, ox + 14.5, 7, 1.2)),
                    box, WHITE)
    return cv


TRACK = (rgb(20, 23, 29), rgb(37, 42, 52))
FILL = (TEAL_HOT, TEAL_DEEP)


def bars(cv, rects, radius):
    """An empty track and its teal fill, shaded across their width (for a
    tall rectangle) or height (for a wide one), one in each rectangle."""
    for (x0, y0, x1, y1), (top, bottom) in zip(rects, (TRACK, FILL)):
        tall = y1 - y0 > x1 - x0
        cv.fill(sd_round_rect(x0, y0, x1, y1, radius), (x0 - 1, y0 - 1, x1 + 1, y1 + 1),
                lambda x, y, t=top, b=bottom, a=(x0, x1) if tall else (y0, y1), tall=tall:
                lerp(t, b, ((x if tall else y) - a[0]) / (a[1] - a[0])))
    return cv


def bar():
    return bars(Canvas(64, 16, 4), [(0.5, 0.5, 31.5, 15.5), (32.5, 0.5, 63.5, 15.5)], 6)


def meter():
    W, H = 240, 12
    cv = Canvas(W, H, 4)
    green, half = rgb(76, 175, 80), W / 2.0
    cv.fill(sd_round_rect(0.5, 0.5, W - 0.5, H - 0.5, 5.5), (0, 0, W, H),
            lambda x, y: lerp(green, GOLD, x / half) if x < half else lerp(GOLD, RED, x / half - 1))
    for x in range(24, W, 24):
        cv.fill(sd_round_rect(x - 0.5, 2, x + 0.5, H - 2, 0.01), (0, 0, W, H), INK, 0.35)
    return cv


def slider():
    H, T = 20, 20
    cv = bars(Canvas(164, 32, 4), [(0.5, 8, 31.5, 12), (32.5, 8, 63.5, 12)], 2)
    bars(cv, [(132, 0.5, 136, 31.5), (152, 0.5, 156, 31.5)], 2)
    for k, state in enumerate('nhp'):
        ox = 64 + T * k
        box = (ox, 0, ox + T, H)
        cv.glow(sd_circle(ox + 10, 11, 7), box, (0.0, 0.0, 0.0), 0.4, 1.2, add=False)
        cv.fill(sd_circle(ox + 10, 10, 8), box, TEAL_HOT if state == 'h' else (TEAL_DEEP if state == 'p' else TEAL))
        cv.fill(sd_circle(ox + 10, 10, 6.5), box, PALE if state != 'p' else rgb(190, 198, 210))
        cv.fill(sd_circle(ox + 10, 10, 2.2), box, TEAL_DEEP if state == 'p' else TEAL)
    return cv


def field(cv, ox, W, H, edge, face):
    box = (ox, 0, ox + W, H)
    cv.fill(sd_round_rect(ox + 0.5, 0.5, ox + W - 0.5, H - 0.5, 5.5), box, edge)
    cv.fill(sd_round_rect(ox + 1.5, 1.5, ox + W - 1.5, H - 1.5, 4.5), box, face)


def edit():
    W, H = 32, 28
    cv = Canvas(W * 4, H, 4)
    for k, (edge, face) in enumerate(((CARD_EDGE, rgb(24, 27, 34)), (rgb(104, 114, 132), rgb(27, 31, 39)),
                                      (TEAL, rgb(24, 27, 34)), (rgb(52, 58, 70), rgb(38, 43, 53)))):
        field(cv, W * k, W, H, edge, face)
    return cv


def date():
    W, H = 64, 28
    cv = Canvas(W, H, 4)
    field(cv, 0, W, H, CARD_EDGE, rgb(24, 27, 34))
    box = (W - 30, 0, W, H)
    cv.fill(sd_round_rect(W - 29, 1.5, W - 28, H - 1.5, 0.01), box, CARD_EDGE)
    cx, cy = W - 14.5, 14
    page = sd_round_rect(cx - 7, cy - 6, cx + 7, cy + 7, 1.5)
    cv.fill(page, box, PALE)
    cv.fill(sd_round_rect(cx - 7, cy - 6, cx + 7, cy - 2, 1.5), box, TEAL)
    for ring in (cx - 3.5, cx + 3.5):
        cv.fill(sd_segment(ring, cy - 8, ring, cy - 4.5, 0.9), box, PALE)
    for row in range(2):
        for col in range(3):
            dot_x, dot_y = cx - 4 + 4 * col, cy + 1 + 3.5 * row
            cv.fill(sd_round_rect(dot_x - 1, dot_y - 1, dot_x + 1, dot_y + 1, 0.3), box, SLATE)
    return cv


def list_header():
    """Three header cells (normal, hot, pushed), each a nine-grid with
    corner='4,4,4,4' whose bottom rule marks the header off from the rows,
    then the separator the list draws at each column's right edge."""
    CW, H = 32, 28
    cv = Canvas(CW * 3 + 4, H, 4)
    faces = {'n': (rgb(52, 59, 73), rgb(43, 49, 61)), 'h': (rgb(64, 72, 88), rgb(52, 59, 73)),
             'p': (rgb(36, 41, 51), rgb(43, 49, 61))}
    for k, state in enumerate('nhp'):
        ox = CW * k
        box = (ox, 0, ox + CW, H)
        top, bottom = faces[state]
        cv.fill(sd_round_rect(ox, 0, ox + CW, H, 0.01), box, lambda x, y, t=top, b=bottom: lerp(t, b, y / H))
        cv.fill(sd_round_rect(ox, H - 2, ox + CW, H, 0.01), box, TEAL if state != 'h' else TEAL_HOT)
    ox = CW * 3
    cv.fill(sd_round_rect(ox + 1.5, 6, ox + 2.5, H - 6, 0.01), (ox, 0, ox + 4, H), rgb(104, 114, 132))
    return cv


def chevron(ox, oy, points, width):
    pts = [(ox + dx, oy + dy) for dx, dy in points]
    return union(sd_segment(*pts[0], *pts[1], width), sd_segment(*pts[1], *pts[2], width))


def folders():
    """Tree folder buttons, 16 x 16 each: open (pointing down), normal and
    hot, then closed (pointing right), normal and hot."""
    C = 16
    cv = Canvas(C * 4, C, 4)
    shapes = ([(-3.5, -1.5), (0, 2), (3.5, -1.5)], [(-1.5, -3.5), (2, 0), (-1.5, 3.5)])
    for k in range(4):
        ox = C * k
        hot = k % 2 == 1
        cv.fill(chevron(ox + 8, 8, shapes[k // 2], 1.1), (ox, 0, ox + C, C), TEAL_HOT if hot else rgb(154, 163, 178))
    return cv


def arrow():
    """The combo box's arrow strip: five 28 x 28 cells, normal, hot, pushed,
    focused and disabled, each a divider and a downward chevron, drawn over
    the right end of the field."""
    C = 28
    cv = Canvas(C * 5, C, 4)
    looks = ((rgb(154, 163, 178), None), (WHITE, rgb(48, 55, 68)), (WHITE, TEAL_DEEP), (TEAL_HOT, None),
             (rgb(90, 98, 114), None))
    for k, (ink, face) in enumerate(looks):
        ox = C * k
        box = (ox, 0, ox + C, C)
        if face is not None:
            cv.fill(sd_round_rect(ox + 1, 2, ox + C - 2, C - 2, 4), box, face)
        cv.fill(sd_round_rect(ox, 5, ox + 1, C - 5, 0.01), box, CARD_EDGE)
        cv.fill(chevron(ox + 14, 14, [(-4, -2), (0, 2.5), (4, -2)], 1.2), box, ink)
    return cv


def scroll():
    C = 16
    cv = Canvas(C * 17, C, 4)
    arrows = {'up': [(-4, 2), (0, -2.5), (4, 2)], 'down': [(-4, -2), (0, 2.5), (4, -2)],
              'left': [(2, -4), (-2.5, 0), (2, 4)], 'right': [(-2, -4), (2.5, 0), (-2, 4)]}
    faces = {'n': None, 'h': rgb(52, 59, 73), 'p': TEAL_DEEP}
    k = 0
    for direction in ('up', 'down', 'left', 'right'):
        for state in 'nhp':
            ox = C * k
            box = (ox, 0, ox + C, C)
            if faces[state] is not None:
                cv.fill(sd_round_rect(ox + 1, 1, ox + C - 1, C - 1, 3), box, faces[state])
            pts = [(ox + 8 + dx, 8 + dy) for dx, dy in arrows[direction]]
            chevron = union(sd_segment(*pts[0], *pts[1], 1.0), sd_segment(*pts[1], *pts[2], 1.0))
            cv.fill(chevron, box, WHITE if state != 'n' else rgb(154, 163, 178))
            k += 1
    for state, colour in zip('nhp', (rgb(88, 98, 116), rgb(120, 131, 150), TEAL)):
        ox = C * k
        cv.fill(sd_round_rect(ox + 3, 3, ox + C - 3, C - 3, 4.5), (ox, 0, ox + C, C), colour)
        k += 1
    ox = C * k
    cv.fill(sd_round_rect(ox + 3, 3, ox + C - 3, C - 3, 4.5), (ox, 0, ox + C, C), rgb(20, 23, 29))
    k += 1
    ox = C * k
    for d in (-2.5, 0, 2.5):
        cv.fill(sd_circle(ox + 8 + d, 8, 0.9), (ox, 0, ox + C, C), INK, 0.6)
    return cv


IMAGES = [
    ('window.png', window_grid),
    ('card.png', card),
    ('button.png', button_strip),
    ('close.png', close_strip),
    ('icons.png', icons),
    ('tile.png', tile),
    ('checks.png', checks),
    ('bar.png', bar),
    ('meter.png', meter),
    ('slider.png', slider),
    ('edit.png', edit),
    ('date.png', date),
    ('scroll.png', scroll),
    ('list.png', list_header),
    ('folders.png', folders),
    ('arrow.png', arrow),
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
