#!/usr/bin/env python3
"""Draws the preview toolbar's glyph strip: thirteen 16 x 16 pictures side by side on a
purple background (taken as transparent by the buttons), written as a 4-bit BMP with the
standard 16-colour palette.  Usage: make_glyphs.py OUT.bmp"""
import os
import struct
import sys

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
K, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)
CODES = {'.': PURPLE, 'k': K, 'w': WHITE, 's': SILVER, 'g': GREY, 'r': RED, 'l': LIME, 'n': NAVY,
         'o': OLIVE, 'y': YELLOW}


class Cell:
    def __init__(self):
        self.px = [[PURPLE] * 16 for _ in range(16)]

    def set(self, x, y, c):
        if 0 <= x < 16 and 0 <= y < 16:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def art(self, rows, x0=0, y0=0):
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch not in ' .':
                    self.set(x0 + x, y0 + y, CODES[ch])


def printer():
    c = Cell()
    c.art(["....kkkkkkkk....",
           "...kwwwwwwwk....",
           "...kwkkkkkwk....",
           "..kwwwwwwwk.....",
           "..kwkkkkwwk.....",
           ".kkkkkkkkkkkkk..",
           "kwwwwwwwwwwwsk..",
           "kssssssssssssgk.",
           "kssssssssrslsgk.",
           "kssssssssssssgk.",
           "kgggggggggggggk.",
           ".kkkkkkkkkkkkkk."], 0, 2)
    return c


def window():
    c = Cell()
    c.frame(0, 1, 15, 14, GREY)
    c.fill(1, 2, 14, 3, NAVY)
    c.set(12, 2, WHITE); c.set(13, 2, WHITE); c.set(12, 3, WHITE); c.set(13, 3, WHITE); c.set(10, 3, WHITE)
    c.fill(1, 4, 14, 13, WHITE)
    return c


def print_dialog():
    c = window()
    c.art(["..kkkkk..",
           ".kwwwwk..",
           "kkkkkkkkk",
           "ksssssrsk",
           "kgggggggk",
           ".kkkkkkk."], 3, 6)
    return c


def setup_dialog():
    c = window()
    c.art(["...k...",
           "..kyk..",
           ".kyyok.",
           "kyyyook",
           ".kyook.",
           "..kok..",
           "...k..."], 4, 5)
    return c


def triangle(c, tip, base, pointing_left):
    for y in range(3, 12):
        d = abs(y - 7)
        for x in range(min(tip, base), max(tip, base) + 1):
            if (pointing_left and x >= tip + d) or (not pointing_left and x <= tip - d):
                c.set(x, y, K)


def first_page():
    c = Cell()
    c.fill(3, 3, 4, 11, K)
    triangle(c, 6, 10, True)
    return c


def prev_page():
    c = Cell()
    triangle(c, 5, 9, True)
    return c


def next_page():
    c = Cell()
    triangle(c, 10, 6, False)
    return c


def last_page():
    c = Cell()
    triangle(c, 9, 5, False)
    c.fill(11, 3, 12, 11, K)
    return c


def whole_page():
    c = Cell()
    c.frame(2, 0, 13, 15, K)
    c.fill(3, 1, 12, 14, SILVER)
    c.frame(5, 2, 10, 13, K)
    c.fill(6, 3, 9, 12, WHITE)
    for y in (5, 7, 9):
        c.fill(6, y, 8, y, GREY)
    return c


def page_width():
    c = Cell()
    c.frame(1, 0, 14, 15, K)
    c.fill(2, 1, 13, 14, SILVER)
    # The sheet spans the frame's width and runs off its bottom.
    for y in range(3, 16):
        c.set(2, y, K)
        c.set(13, y, K)
    c.fill(2, 3, 13, 3, K)
    c.fill(3, 4, 12, 15, WHITE)
    for y in (6, 8, 10, 12, 14):
        c.fill(4, y, 11, y, GREY)
    return c


def zoom_out():
    c = Cell()
    c.fill(3, 7, 12, 8, K)
    return c


def zoom_in():
    c = Cell()
    c.fill(3, 7, 12, 8, K)
    c.fill(7, 3, 8, 12, K)
    return c


def refresh():
    c = Cell()
    for i, (x, y) in enumerate([(2, 8), (3, 9), (4, 10), (5, 11), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5), (12, 4), (13, 3)]):
        c.fill(x, y - 1, x, y + 1, K)
    return c


def close():
    c = Cell()
    for i in range(4, 12):
        c.fill(i, i, i + 1, i, K)
        c.fill(15 - i - 1, i, 15 - i, i, K)
    return c


CELLS = [printer, print_dialog, setup_dialog, first_page, prev_page, next_page, last_page, whole_page,
         page_width, zoom_out, zoom_in, refresh, close]


def write_bmp(path, pixels, width, height):
    row_bytes = (width * 4 + 31) // 32 * 4
    image = bytearray()
    for y in range(height - 1, -1, -1):  # bottom row first
        row = bytearray()
        for x in range(0, width, 2):
            row.append((pixels[y][x] << 4) | pixels[y][x + 1])
        row += b'\0' * (row_bytes - len(row))
        image += row
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(image), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(image), 2835, 2835, 16, 16)
    tmp = path + '.tmp'  # written whole or not at all
    with open(tmp, 'wb') as f:
        f.write(header + info + palette + image)
    os.replace(tmp, path)


def main():
    width, height = 16 * len(CELLS), 16
    strip = [[PURPLE] * width for _ in range(height)]
    for k, make in enumerate(CELLS):
        cell = make()
        for y in range(16):
            for x in range(16):
                strip[y][16 * k + x] = cell.px[y][x]
    write_bmp(sys.argv[1], strip, width, height)


if __name__ == '__main__':
    main()
