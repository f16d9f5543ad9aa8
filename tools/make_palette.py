#!/usr/bin/env python3
"""Draws the palette pictures of the registered component classes: one 24 x 24 picture per
class on a silver background (the lower-left pixel gives the background colour), written as
4-bit BMPs with the standard 16-colour palette and named after the class in capitals.
Usage: make_palette.py OUTDIR"""
import os
import sys

# The standard 16 colours and the 4-bit BMP writer are the toolbar glyph strip's.
from make_glyphs import (K, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, YELLOW,  # noqa: F401
                         BLUE, FUCHSIA, AQUA, WHITE, write_bmp)

SIZE = 24


class Picture:
    def __init__(self):
        self.px = [[SILVER] * SIZE for _ in range(SIZE)]

    def set(self, x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.fill(x0, y0, x1, y0, c)
        self.fill(x0, y1, x1, y1, c)
        self.fill(x0, y0, x0, y1, c)
        self.fill(x1, y0, x1, y1, c)

    def box(self, x0, y0, x1, y1, inside=WHITE, edge=K):
        self.fill(x0, y0, x1, y1, inside)
        self.frame(x0, y0, x1, y1, edge)

    def sheet(self, x0=4, y0=1, x1=19, y1=22):
        """A sheet of paper with a folded corner and a shadow."""
        self.fill(x0 + 1, y0 + 1, x1 + 1, y1 + 1, GREY)
        self.box(x0, y0, x1, y1)
        for i in range(4):
            self.fill(x1 - 3 + i, y0, x1, y0 + i, SILVER)
            self.set(x1 - 3 + i, y0 + i, K)
        self.fill(x1 - 3, y0, x1 - 3, y0 + 3, K)
        self.fill(x1 - 3, y0 + 3, x1, y0 + 3, K)

    def lines(self, x0, y0, x1, rows, colours=(GREY,), step=2):
        for i in range(rows):
            end = x1 - (3 if i % 3 == 2 else 0)
            self.fill(x0, y0 + i * step, end, y0 + i * step, colours[i % len(colours)])

    def grid(self, x0, y0, x1, y1, cols, rows, fixed=None):
        w, h = (x1 - x0) // cols, (y1 - y0) // rows
        if fixed is not None:
            self.fill(x0, y0, x1, y0 + h, fixed)
            self.fill(x0, y0, x0 + w, y1, fixed)
        for c in range(cols + 1):
            self.fill(x0 + c * w, y0, x0 + c * w, y0 + rows * h, K)
        for r in range(rows + 1):
            self.fill(x0, y0 + r * h, x0 + cols * w, y0 + r * h, K)
        return w, h


def print_job():
    p = Picture()
    p.sheet()
    p.fill(6, 5, 12, 6, NAVY)
    p.lines(6, 9, 17, 6)
    return p


def preview():
    p = Picture()
    p.sheet(2, 1, 15, 19)
    p.lines(4, 5, 13, 5)
    # A magnifying glass over the sheet's lower right.
    p.frame(11, 10, 19, 18, K)
    p.fill(12, 11, 18, 17, AQUA)
    p.fill(13, 12, 14, 13, WHITE)
    for i in range(4):
        p.fill(19 + i, 18 + i, 20 + i, 19 + i, NAVY)
    return p


def preview_window():
    p = Picture()
    p.box(1, 2, 22, 21, GREY)
    p.fill(2, 3, 21, 5, NAVY)
    p.fill(18, 3, 20, 5, SILVER)
    p.fill(2, 6, 21, 7, SILVER)
    p.box(8, 9, 15, 19)
    p.lines(9, 11, 14, 4)
    return p


def toolbar_button(p, x, y):
    p.box(x, y, x + 4, y + 4, SILVER, GREY)
    p.fill(x, y, x + 4, y, WHITE)
    p.fill(x, y, x, y + 4, WHITE)


def preview_toolbar():
    p = Picture()
    p.box(0, 8, 23, 15, SILVER, GREY)
    p.fill(1, 9, 22, 9, WHITE)
    for x in (2, 8, 14):
        toolbar_button(p, x, 10)
    p.fill(3, 12, 5, 12, K)  # zoom out
    p.fill(9, 12, 11, 12, K)  # zoom in
    p.fill(10, 11, 10, 13, K)
    p.fill(15, 11, 17, 13, WHITE)  # whole page
    p.frame(15, 11, 17, 13, K)
    p.fill(20, 11, 20, 13, K)
    return p


def preview_status_bar():
    p = Picture()
    p.box(0, 14, 23, 21, SILVER, GREY)
    p.frame(1, 15, 9, 20, GREY)
    p.frame(10, 15, 18, 20, GREY)
    p.fill(3, 17, 7, 18, K)
    p.fill(12, 17, 15, 18, K)
    for i in range(3):  # size grip
        p.fill(20 + i, 20 - i, 20 + i, 20, GREY)
    return p


def preview_combo_box():
    p = Picture()
    p.box(0, 7, 23, 16)
    p.box(16, 8, 22, 15, SILVER, GREY)
    for i in range(3):
        p.fill(17 + i, 11 + i, 21 - i, 11 + i, K)
    # "100" in small digits.
    for x in (2, 7, 11):
        if x == 2:
            p.fill(3, 9, 3, 14, K)
            p.set(2, 10, K)
        else:
            p.frame(x, 9, x + 2, 14, K)
    return p


def preview_label():
    p = Picture()
    # A capital A beside a page number.
    for i in range(12):
        p.set(6 - i // 2, 6 + i, K)
        p.set(7 - i // 2, 6 + i, K)
        p.set(7 + i // 2, 6 + i, K)
        p.set(8 + i // 2, 6 + i, K)
    p.fill(3, 13, 11, 13, K)
    p.box(14, 5, 22, 17)
    p.fill(17, 8, 18, 14, NAVY)
    p.set(16, 9, NAVY)
    return p


def simple_grid():
    p = Picture()
    p.sheet()
    p.grid(6, 6, 17, 18, 3, 4)
    return p


def simple_text_grid():
    p = Picture()
    p.sheet()
    w, h = p.grid(6, 6, 17, 18, 3, 4)
    for c in range(3):
        for r in range(4):
            p.fill(7 + c * w, 7 + r * h + 1, 5 + (c + 1) * w, 7 + r * h + 1, NAVY)
    return p


def string_grid():
    p = Picture()
    p.sheet()
    p.grid(6, 6, 17, 18, 3, 4, fixed=SILVER)
    p.fill(11, 11, 12, 11, K)
    p.fill(15, 14, 16, 14, K)
    return p


def db_grid():
    p = Picture()
    p.sheet()
    p.grid(6, 6, 17, 18, 3, 4, fixed=SILVER)
    # A database drum in the lower left.
    p.fill(1, 15, 9, 22, YELLOW)
    p.frame(1, 15, 9, 22, K)
    p.fill(2, 17, 8, 17, K)
    p.fill(2, 20, 8, 20, OLIVE)
    return p


def list_view():
    p = Picture()
    p.sheet()
    for r in range(4):
        y = 6 + r * 4
        p.fill(6, y, 8, y + 2, [RED, GREEN, BLUE, TEAL][r])
        p.fill(10, y + 1, 17 - (r % 2) * 3, y + 1, K)
    return p


def strings():
    p = Picture()
    p.sheet()
    p.lines(6, 6, 17, 8, (K,))
    return p


def rich_edit():
    p = Picture()
    p.sheet()
    p.fill(6, 5, 15, 6, NAVY)
    p.lines(6, 9, 17, 3, (K, RED, K))
    p.fill(6, 15, 11, 15, BLUE)
    p.fill(12, 15, 17, 15, K)
    p.lines(6, 17, 17, 3, (GREEN, K, K))
    return p


def multi():
    p = Picture()
    for i, colour in enumerate((GREY, NAVY, RED)):
        x, y = 1 + i * 4, 1 + i * 4
        p.fill(x + 1, y + 1, x + 12, y + 14, GREY)
        p.box(x, y, x + 11, y + 13)
        p.fill(x + 2, y + 2, x + 8, y + 2, colour)
    p.lines(11, 13, 18, 4)
    return p


def draft():
    p = Picture()
    p.sheet()
    for (x, y) in ((6, 6), (12, 6), (6, 14), (12, 14)):
        p.box(x, y, x + 4, y + 6)
        p.fill(x + 1, y + 2, x + 3, y + 2, GREY)
        p.fill(x + 1, y + 4, x + 3, y + 4, GREY)
    return p


PICTURES = {
    'TCUSTOMPRINTJOB': print_job, 'TPREVIEW': preview, 'TPREVIEWWINDOW': preview_window,
    'TPREVIEWTOOLBAR': preview_toolbar, 'TPREVIEWSTATUSBAR': preview_status_bar,
    'TPREVIEWCOMBOBOX': preview_combo_box, 'TPREVIEWLABEL': preview_label,
    'TSIMPLEGRIDPRINTJOB': simple_grid, 'TSIMPLETEXTGRIDPRINTJOB': simple_text_grid,
    'TSTRINGGRIDPRINTJOB': string_grid, 'TDBGRIDPRINTJOB': db_grid, 'TLISTVIEWPRINTJOB': list_view,
    'TSTRINGSPRINTJOB': strings, 'TRICHEDITPRINTJOB': rich_edit, 'TMULTIPRINTJOB': multi,
    'TDRAFTPRINTJOB': draft,
}


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, draw in PICTURES.items():
        picture = draw()
        picture.px[SIZE - 1][0] = SILVER  # the background key
        write_bmp(os.path.join(out, name + '.bmp'), picture.px, SIZE, SIZE)


if __name__ == '__main__':
    main()
