#!/usr/bin/env python3
"""Draws the sample book's pictures: toolbar buttons, logo, splash and the pages' figures.

Run once from this folder; the pictures are committed, so building the book needs no Python.
Button pictures are 24 x 24, 24-bit; the colour of the bottom-left pixel is drawn transparent
by the viewer, so every button keeps a plain background there.
"""
import struct
import zlib

BG = (236, 236, 236)


def canvas(w, h, colour):
    return [[colour] * w for _ in range(h)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(len(img), y1)):
        for x in range(max(0, x0), min(len(img[0]), x1)):
            img[y][x] = colour


def disc(img, cx, cy, r, colour, hollow=0):
    for y in range(len(img)):
        for x in range(len(img[0])):
            d = (x - cx) ** 2 + (y - cy) ** 2
            if d <= r * r and (not hollow or d >= (r - hollow) ** 2):
                img[y][x] = colour


def triangle(img, pts, colour):
    (ax, ay), (bx, by), (cx, cy) = pts
    for y in range(len(img)):
        for x in range(len(img[0])):
            px, py = x + 0.5, y + 0.5
            d1 = (px - bx) * (ay - by) - (ax - bx) * (py - by)
            d2 = (px - cx) * (by - cy) - (bx - cx) * (py - cy)
            d3 = (px - ax) * (cy - ay) - (cx - ax) * (py - ay)
            neg = d1 < 0 or d2 < 0 or d3 < 0
            pos = d1 > 0 or d2 > 0 or d3 > 0
            if not (neg and pos):
                img[y][x] = colour


def write_bmp(path, img):
    h, w = len(img), len(img[0])
    row = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up rows
        line = bytearray()
        for r, g, b in img[y]:
            line += bytes((b, g, r))
        pixels += line + b"\0" * (row - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def write_png(path, img):
    raw = b"".join(b"\0" + bytes(c for px in line for c in px) for line in img)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    ihdr = struct.pack(">IIBBBBB", len(img[0]), len(img), 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9))
                + chunk(b"IEND", b""))


def button(n):
    img = canvas(24, 24, BG)
    blue, green, red, dark = (40, 90, 180), (40, 150, 60), (200, 50, 40), (60, 60, 60)
    if n == 1:    # Back
        triangle(img, [(4, 12), (14, 4), (14, 20)], blue); rect(img, 13, 9, 20, 15, blue)
    elif n == 2:  # Next
        triangle(img, [(20, 12), (10, 4), (10, 20)], blue); rect(img, 4, 9, 11, 15, blue)
    elif n == 3:  # Reload
        disc(img, 12, 12, 8, green, hollow=3); triangle(img, [(14, 1), (22, 5), (14, 9)], green)
    elif n == 4:  # Home
        triangle(img, [(12, 3), (3, 12), (21, 12)], red); rect(img, 6, 12, 18, 20, red)
        rect(img, 10, 15, 14, 20, BG)
    elif n == 5:  # Stop
        disc(img, 12, 12, 9, red); rect(img, 7, 10, 17, 14, (255, 255, 255))
    elif n == 6:  # Search
        disc(img, 10, 10, 7, dark, hollow=2); triangle(img, [(14, 16), (17, 13), (21, 21)], dark)
    elif n == 7:  # Print
        rect(img, 7, 3, 17, 9, (255, 255, 255)); rect(img, 3, 9, 21, 17, dark)
        rect(img, 7, 14, 17, 21, (255, 255, 255))
    elif n == 8:  # About
        disc(img, 12, 12, 9, blue); rect(img, 11, 10, 14, 18, (255, 255, 255))
        rect(img, 11, 6, 14, 8, (255, 255, 255))
    elif n == 9:  # Exit
        rect(img, 5, 3, 15, 21, dark); rect(img, 7, 5, 13, 21, (255, 220, 120))
        triangle(img, [(22, 12), (16, 7), (16, 17)], red)
    elif n == 10:  # Content
        for y in (5, 11, 17):
            rect(img, 4, y, 7, y + 3, blue); rect(img, 9, y, 20, y + 3, dark)
    rect(img, 0, 23, 1, 24, BG)  # the transparent colour
    return img


def book_picture(w, h, cover, page):
    img = canvas(w, h, BG)
    rect(img, w // 6, h // 6, w - w // 6, h - h // 6, cover)
    rect(img, w // 6 + 3, h // 6 + 3, w // 2 - 1, h - h // 6 - 3, page)
    rect(img, w // 2 + 1, h // 6 + 3, w - w // 6 - 3, h - h // 6 - 3, page)
    return img


def gradient(w, h, top, bottom):
    img = []
    for y in range(h):
        t = y / max(1, h - 1)
        img.append([tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))] * w)
    return img


if __name__ == "__main__":
    for n in range(1, 11):
        write_bmp(f"buttons/B{n}.bmp", button(n))
    write_bmp("logo.bmp", book_picture(48, 32, (120, 40, 40), (250, 245, 230)))
    splash = gradient(240, 120, (30, 50, 110), (90, 140, 210))
    book = book_picture(80, 60, (160, 50, 40), (250, 245, 230))
    for y, line in enumerate(book):
        for x, px in enumerate(line):
            if px != BG:
                splash[30 + y][80 + x] = px
    write_bmp("splash.bmp", splash)
    write_png("book/pictures/cover.png", gradient(160, 100, (250, 220, 160), (200, 120, 60)))
    write_bmp("book/pictures/lamp.bmp", book_picture(64, 48, (40, 110, 70), (255, 255, 240)))
    dots = canvas(32, 32, (255, 255, 255))
    disc(dots, 16, 16, 12, (200, 60, 60))
    write_png("book/chapters/figures/dot.png", dots)
