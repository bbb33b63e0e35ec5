#!/usr/bin/env python3
"""Draws the program's small bitmaps (run from anywhere; needs python3-pil).

main16.bmp   a strip of 16x16 images, the main image list:
             0..7  the tray menu's mode items, two per mode (current, not current):
                   preview, autosave, continuous, clipboard
             8, 9  the language list's flags: Russia, United Kingdom
             10    "Settings", 11 "Mode", 12 "Quit"
infocl.bmp   16x16, the "About" item's information sign
rect.cur     the overlay's 32x32 monochrome cursor: a black crosshair with a
             white outline, hotspot (9, 9), a small black-and-white rectangle
             below and to the right of it
pages32.bmp  a strip of 32x32 images for the left-strip page buttons:
             0 "View", 1 "View" disabled, 2 "Settings", 3 "Close", 4 "Quit"
click.cur    the links' and page buttons' 32x32 monochrome cursor: a white
             pointing hand with a black outline, hotspot (6, 0) at the
             fingertip
logo.bmp     64x64, the program's logo on the about page: a camera

Magenta (255, 0, 255) is the transparent colour of every image.
"""
import math
import os
import struct

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
MASK = (255, 0, 255)
OUTLINE = (40, 40, 40)


def canvas(size):
    return Image.new("RGB", (size, size), MASK)


def greyed(image):
    """The "not current"/disabled look: light grey shades, transparency kept."""
    out = image.copy()
    px = out.load()
    for y in range(out.height):
        for x in range(out.width):
            if px[x, y] == MASK:
                continue
            r, g, b = px[x, y]
            level = int(0.3 * r + 0.59 * g + 0.11 * b)
            level = 110 + level * 120 // 255
            px[x, y] = (level, level, level)
    return out


def with_current_mark(image):
    """The "current" look: the picture with a green dot in its lower right corner."""
    out = image.copy()
    d = ImageDraw.Draw(out)
    d.ellipse((10, 10, 15, 15), fill=(20, 160, 40), outline=(0, 90, 20))
    return out


# ---- 16x16 pictures ----------------------------------------------------------

def preview16():
    im = canvas(16)
    d = ImageDraw.Draw(im)
    d.rectangle((1, 2, 14, 12), fill=(250, 250, 250), outline=OUTLINE)   # a framed picture
    d.rectangle((2, 3, 13, 7), fill=(120, 180, 240))                      # sky
    d.polygon([(2, 11), (6, 6), (9, 9), (11, 7), (13, 11)], fill=(60, 150, 60))  # hills
    d.ellipse((9, 3, 11, 5), fill=(250, 210, 40))                         # sun
    return im


def autosave16():
    im = canvas(16)
    d = ImageDraw.Draw(im)
    d.rectangle((1, 1, 14, 14), fill=(40, 80, 170), outline=(20, 40, 100))  # a diskette
    d.rectangle((4, 1, 11, 6), fill=(230, 230, 230))                          # shutter
    d.rectangle((8, 2, 10, 5), fill=(40, 80, 170))
    d.rectangle((3, 9, 12, 14), fill=(250, 250, 250))                         # label
    d.line((4, 11, 11, 11), fill=(150, 150, 150))
    return im


def continuous16():
    im = canvas(16)
    d = ImageDraw.Draw(im)
    for i, offset in enumerate((4, 2, 0)):                                  # three frames, stacked
        shade = (250, 250, 250) if i == 2 else (200, 200, 200)
        d.rectangle((offset + 1, 5 - offset, offset + 11, 13 - offset), fill=shade, outline=OUTLINE)
    d.rectangle((2, 6, 10, 12), fill=(120, 180, 240))
    return im


def clipboard16():
    im = canvas(16)
    d = ImageDraw.Draw(im)
    d.rectangle((2, 2, 13, 15), fill=(180, 120, 60), outline=(100, 60, 20))  # board
    d.rectangle((4, 4, 11, 14), fill=(250, 250, 250))                         # paper
    d.rectangle((5, 1, 10, 3), fill=(160, 160, 160), outline=OUTLINE)         # clip
    for y in (7, 9, 11):
        d.line((5, y, 10, y), fill=(120, 120, 120))
    return im


def flag_russia():
    im = canvas(16)
    d = ImageDraw.Draw(im)
    d.rectangle((0, 2, 15, 5), fill=(255, 255, 255))
    d.rectangle((0, 6, 15, 9), fill=(0, 57, 166))
    d.rectangle((0, 10, 15, 13), fill=(213, 43, 30))
    d.rectangle((0, 2, 15, 13), outline=(150, 150, 150))
    return im


def union_flag_colour(u, v):
    """The colour of the point (u, v) of a 16 x 12 union flag."""
    blue, white, red = (1, 33, 105), (255, 255, 255), (200, 16, 46)
    diagonal = min(abs(v - 0.75 * u), abs(v - (12 - 0.75 * u))) / 1.25
    across, down = abs(v - 6), abs(u - 8)
    if across < 1.0 or down < 1.0:
        return red
    if across < 1.9 or down < 1.9:
        return white
    if diagonal < 0.45:
        return red
    if diagonal < 1.1:
        return white
    return blue


def flag_united_kingdom():
    """Each pixel takes the colour most of its 4 x 4 sample points have."""
    im = canvas(16)
    px = im.load()
    for y in range(2, 14):
        for x in range(16):
            votes = {}
            for i in range(4):
                for j in range(4):
                    c = union_flag_colour(x + (i + 0.5) / 4, y - 2 + (j + 0.5) / 4)
                    votes[c] = votes.get(c, 0) + 1
            px[x, y] = max(votes, key=votes.get)
    return im


def gear(size, teeth, outer, inner, hole, colour):
    im = canvas(size)
    d = ImageDraw.Draw(im)
    c = (size - 1) / 2
    points = []
    for i in range(teeth * 2):
        angle = math.pi * i / teeth
        radius = outer if i % 2 == 0 else inner
        for da in (-0.22, 0.22):
            a = angle + da * math.pi / teeth * 2
            points.append((c + radius * math.cos(a), c + radius * math.sin(a)))
    d.polygon(points, fill=colour, outline=OUTLINE)
    d.ellipse((c - inner + 1, c - inner + 1, c + inner - 1, c + inner - 1), fill=colour)
    d.ellipse((c - hole, c - hole, c + hole, c + hole), fill=MASK, outline=OUTLINE)
    return im


def mode16():
    im = canvas(16)
    d = ImageDraw.Draw(im)
    green = (30, 140, 60)
    d.arc((2, 2, 13, 13), 200, 340, fill=green, width=2)        # two arrows in a circle
    d.polygon([(11, 2), (15, 6), (10, 7)], fill=green)
    d.arc((2, 2, 13, 13), 20, 160, fill=green, width=2)
    d.polygon([(4, 13), (0, 9), (5, 8)], fill=green)
    return im


def power(size, colour):
    im = canvas(size)
    d = ImageDraw.Draw(im)
    m = size // 8
    w = max(2, size // 8)
    d.arc((m, m + 1, size - 1 - m, size - m), 300, 240, fill=colour, width=w)
    d.rectangle((size // 2 - w // 2, m - 1, size // 2 - w // 2 + w - 1, size // 2), fill=colour)
    return im


def info16():
    im = canvas(16)
    d = ImageDraw.Draw(im)
    d.ellipse((0, 0, 15, 15), fill=(30, 90, 200), outline=(10, 50, 140))
    d.rectangle((7, 3, 8, 4), fill=(255, 255, 255))
    d.rectangle((7, 6, 8, 12), fill=(255, 255, 255))
    d.line((6, 6, 7, 6), fill=(255, 255, 255))
    d.line((6, 12, 9, 12), fill=(255, 255, 255))
    return im


# ---- 32x32 pictures ------------------------------------------------------------

def view32():
    im = canvas(32)
    d = ImageDraw.Draw(im)
    d.rectangle((2, 4, 27, 23), fill=(250, 250, 250), outline=OUTLINE)
    d.rectangle((4, 6, 25, 14), fill=(120, 180, 240))
    d.polygon([(4, 21), (11, 11), (17, 17), (21, 13), (25, 21)], fill=(60, 150, 60))
    d.ellipse((19, 7, 23, 11), fill=(250, 210, 40))
    d.ellipse((14, 14, 26, 26), fill=(220, 235, 250), outline=OUTLINE, width=2)   # a magnifier
    d.line((25, 25, 30, 30), fill=(90, 60, 30), width=3)
    return im


def close32():
    im = canvas(32)
    d = ImageDraw.Draw(im)
    d.rectangle((3, 4, 28, 27), fill=(250, 250, 250), outline=OUTLINE)   # a window
    d.rectangle((4, 5, 27, 9), fill=(40, 90, 180))
    d.rectangle((22, 6, 26, 8), fill=(200, 40, 40))
    d.line((10, 13, 21, 24), fill=(200, 40, 40), width=3)                 # crossed out
    d.line((10, 24, 21, 13), fill=(200, 40, 40), width=3)
    return im


def strip(images):
    size = images[0].width
    out = Image.new("RGB", (size * len(images), size), MASK)
    for i, im in enumerate(images):
        out.paste(im, (i * size, 0))
    return out


def rect_cursor():
    """The bytes of rect.cur. Each pixel is black, white or transparent."""
    size, hot = 32, 9
    black, white = set(), set()
    for i in range(0, 2 * hot + 1):
        if abs(i - hot) > 1:  # the crosshair leaves its centre open
            black.add((i, hot))
            black.add((hot, i))
    for x in range(14, 25):  # the rectangle symbol: a black frame around white
        for y in range(15, 23):
            (black if x in (14, 24) or y in (15, 22) else white).add((x, y))
    for (x, y) in list(black):
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                p = (x + dx, y + dy)
                if 0 <= p[0] < size and 0 <= p[1] < size and p not in black:
                    white.add(p)
    return cursor_bytes(black, white, hot, hot)


def click_cursor():
    """The bytes of click.cur: the hand's shape filled white, its edge and the
    gaps between the fingers black."""
    size = 32
    shape = Image.new("1", (size, size), 0)
    d = ImageDraw.Draw(shape)
    d.rounded_rectangle((4, 0, 8, 14), radius=2, fill=1)        # the index finger
    for left in (8, 12, 16):                                      # the folded fingers
        d.rounded_rectangle((left, 9, left + 4, 16), radius=2, fill=1)
    d.rounded_rectangle((4, 12, 20, 24), radius=3, fill=1)        # the palm
    d.polygon([(4, 15), (1, 12), (0, 14), (5, 22)], fill=1)       # the thumb
    d.rectangle((7, 24, 18, 28), fill=1)                          # the cuff
    px = shape.load()
    inside = {(x, y) for x in range(size) for y in range(size) if px[x, y]}
    black, white = set(), set()
    for (x, y) in inside:
        edge = any((x + dx, y + dy) not in inside for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
        (black if edge else white).add((x, y))
    for x in (12, 16):                                            # between the folded fingers
        for y in range(10, 15):
            white.discard((x, y))
            black.add((x, y))
    for x in range(8, 18):                                        # the cuff's seam
        white.discard((x, 24))
        black.add((x, 24))
    return cursor_bytes(black, white, 6, 0)


def cursor_bytes(black, white, hot_x, hot_y):
    """A 32x32 monochrome .cur file: black and white pixels, the rest transparent."""
    size = 32

    def rows(bit):
        out = bytearray()
        for y in reversed(range(size)):  # bottom-up
            for byte in range(size // 8):
                value = 0
                for b in range(8):
                    if bit((byte * 8 + b, y)):
                        value |= 0x80 >> b
                out.append(value)
        return bytes(out)

    xor = rows(lambda p: p in white)
    mask = rows(lambda p: p not in black and p not in white)  # 1: transparent
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, hot_x, hot_y, len(image), 22)
    return directory + image


def logo64():
    im = canvas(64)
    d = ImageDraw.Draw(im)
    d.rounded_rectangle((6, 10, 24, 18), radius=2, fill=(70, 70, 80), outline=OUTLINE)       # the flash
    d.rounded_rectangle((2, 16, 61, 56), radius=7, fill=(85, 128, 198), outline=(30, 50, 100), width=2)
    d.rectangle((2, 27, 61, 31), fill=(55, 97, 166))                                         # the band
    d.ellipse((17, 17, 47, 47), fill=(230, 230, 235), outline=OUTLINE, width=2)              # the lens
    d.ellipse((23, 23, 41, 41), fill=(40, 60, 110))
    d.ellipse((27, 26, 33, 32), fill=(200, 220, 255))                                        # a glint
    d.rectangle((48, 20, 56, 24), fill=(250, 210, 40), outline=OUTLINE)                      # the window
    return im


def main():
    modes = [preview16(), autosave16(), continuous16(), clipboard16()]
    main16 = []
    for picture in modes:
        main16 += [with_current_mark(picture), greyed(picture)]
    main16 += [flag_russia(), flag_united_kingdom()]
    main16 += [gear(16, 6, 7.5, 5.5, 2, (150, 150, 160)), mode16(), power(16, (200, 30, 30))]
    strip(main16).save(os.path.join(HERE, "main16.bmp"))
    info16().save(os.path.join(HERE, "infocl.bmp"))

    view = view32()
    pages = [view, greyed(view), gear(32, 8, 14.5, 11, 4, (150, 150, 160)), close32(), power(32, (200, 30, 30))]
    strip(pages).save(os.path.join(HERE, "pages32.bmp"))

    logo64().save(os.path.join(HERE, "logo.bmp"))

    with open(os.path.join(HERE, "rect.cur"), "wb") as cursor:
        cursor.write(rect_cursor())
    with open(os.path.join(HERE, "click.cur"), "wb") as cursor:
        cursor.write(click_cursor())


if __name__ == "__main__":
    main()
