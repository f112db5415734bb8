#!/usr/bin/env python3
"""Draw ZUL's image resources.

Writes, relative to the repository root:
  resources/logo.bmp       323x34, 8-bit, magenta (255,0,255) is transparent
  resources/sort_up.bmp    15x10, 8-bit, list-view sort marker (ascending)
  resources/sort_down.bmp  15x10, 8-bit, list-view sort marker (descending)
  resources/ZUL.ico        16/32/48 px, 32-bit BGRA with AND mask

Only the standard library is used and nothing depends on time or randomness,
so running the script again reproduces the files byte for byte.

Usage: python3 tools/draw_resources.py [output-dir]
"""

import os
import struct
import sys

MAGENTA = (255, 0, 255)


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

def bmp8_bytes(pixels, width, height):
    """Encode a grid of RGB tuples (rows top-down) as an 8-bit BMP.

    Magenta, when present, gets palette index 0 so the transparent colour is
    easy to spot in a hex dump; other colours follow in order of appearance.
    """
    palette = []
    index = {}
    if any(MAGENTA in row for row in pixels):
        palette.append(MAGENTA)
        index[MAGENTA] = 0
    for row in pixels:
        for rgb in row:
            if rgb not in index:
                index[rgb] = len(palette)
                palette.append(rgb)
    if len(palette) > 256:
        raise ValueError("image uses %d colours, 8-bit BMP holds 256" % len(palette))

    stride = (width + 3) & ~3
    body = bytearray()
    for y in range(height - 1, -1, -1):          # bottom-up rows
        row = bytes(index[rgb] for rgb in pixels[y])
        body += row + b"\0" * (stride - width)

    pal = bytearray()
    for i in range(256):
        r, g, b = palette[i] if i < len(palette) else (0, 0, 0)
        pal += bytes((b, g, r, 0))

    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0,
                       len(body), 2835, 2835, 256, 0)
    return header + info + bytes(pal) + bytes(body)


def ico_bytes(images):
    """Encode [(size, rows of RGBA tuples top-down), ...] as a .ico file.

    Each entry is a classic DIB: BITMAPINFOHEADER with doubled height,
    32-bit BGRA colour data, then a 1-bit AND mask (set where fully
    transparent), both bottom-up.
    """
    blobs = []
    for size, rgba in images:
        xor = bytearray()
        for y in range(size - 1, -1, -1):
            for r, g, b, a in rgba[y]:
                xor += bytes((b, g, r, a)) if a else b"\0\0\0\0"
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for y in range(size - 1, -1, -1):
            row = bytearray(mask_stride)
            for x, px in enumerate(rgba[y]):
                if px[3] == 0:
                    row[x >> 3] |= 0x80 >> (x & 7)
            mask += row
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                           len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append((size, info + bytes(xor) + bytes(mask)))

    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, blob in blobs:
        out += blob
    return bytes(out)


# ---------------------------------------------------------------------------
# A small canvas for the palette images
# ---------------------------------------------------------------------------

class Canvas:
    def __init__(self, width, height, bg):
        self.w, self.h = width, height
        self.px = [[bg] * width for _ in range(height)]

    def set(self, x, y, rgb):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = rgb

    def fill_rect(self, x0, y0, x1, y1, rgb):
        """Fill the half-open rectangle [x0,x1) x [y0,y1)."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, rgb)


def lerp_rgb(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# ---------------------------------------------------------------------------
# Bold 7-pixel-high font (capitals only, plus space): two-pixel uprights,
# one-pixel bars, variable width.
# ---------------------------------------------------------------------------

BOLD_FONT = {
    " ": ["   "] * 7,
    "A": [" #### ", "##  ##", "##  ##", "######", "##  ##", "##  ##", "##  ##"],
    "D": ["##### ", "##  ##", "##  ##", "##  ##", "##  ##", "##  ##", "##### "],
    "E": ["######", "##    ", "##    ", "##### ", "##    ", "##    ", "######"],
    "F": ["######", "##    ", "##    ", "##### ", "##    ", "##    ", "##    "],
    "I": ["######", "  ##  ", "  ##  ", "  ##  ", "  ##  ", "  ##  ", "######"],
    "M": ["##   ##", "### ###", "#######", "## # ##", "##   ##", "##   ##", "##   ##"],
    "O": [" #### ", "##  ##", "##  ##", "##  ##", "##  ##", "##  ##", " #### "],
    "R": ["##### ", "##  ##", "##  ##", "##### ", "## ## ", "##  ##", "##  ##"],
    "T": ["######", "  ##  ", "  ##  ", "  ##  ", "  ##  ", "  ##  ", "  ##  "],
    "W": ["##   ##", "##   ##", "##   ##", "## # ##", "#######", "### ###", "##   ##"],
}


def text_width(text, gap=2):
    return sum(len(BOLD_FONT[ch][0]) + gap for ch in text) - gap


def draw_text(cv, x, y, text, rgb, gap=2):
    for ch in text:
        rows = BOLD_FONT[ch]
        for gy, line in enumerate(rows):
            for gx, c in enumerate(line):
                if c == "#":
                    cv.set(x + gx, y + gy, rgb)
        x += len(rows[0]) + gap
    return x


# ---------------------------------------------------------------------------
# Logo
# ---------------------------------------------------------------------------

NAVY = (10, 36, 92)
OUTLINE = (6, 24, 64)
TEAL_TOP = (0, 160, 176)
BLUE_BOTTOM = (12, 62, 140)
TEXT_BLUE = (16, 48, 112)
TEAL = (0, 128, 144)
LIGHT_TEAL = (64, 196, 208)


def letter_masks(x0, y0, h, stroke):
    """Return the set of pixels covering the blocky letters Z, U and L."""
    mask = set()
    wz, wu, wl = 22, 22, 18
    spacing = 4

    # Z: top bar, bottom bar and a thick diagonal joining them.
    x = x0
    for yy in range(y0, y0 + stroke):
        for xx in range(x, x + wz):
            mask.add((xx, yy))
    for yy in range(y0 + h - stroke, y0 + h):
        for xx in range(x, x + wz):
            mask.add((xx, yy))
    inner_top, inner_bot = y0 + stroke, y0 + h - stroke
    span = inner_bot - inner_top
    thick = stroke + 2
    for yy in range(inner_top, inner_bot):
        t = (yy - inner_top + 0.5) / span
        right = x + wz - (wz - thick) * t       # right edge slides leftwards
        left = right - thick
        for xx in range(x, x + wz):
            if left <= xx + 0.5 <= right:
                mask.add((xx, yy))

    # U: two posts and a bowl with clipped outer corners.
    x = x0 + wz + spacing
    for yy in range(y0, y0 + h):
        for xx in list(range(x, x + stroke)) + list(range(x + wu - stroke, x + wu)):
            mask.add((xx, yy))
    for yy in range(y0 + h - stroke, y0 + h):
        for xx in range(x, x + wu):
            mask.add((xx, yy))
    corner = 3
    for i in range(corner):
        for j in range(corner - i):
            mask.discard((x + j, y0 + h - 1 - i))
            mask.discard((x + wu - 1 - j, y0 + h - 1 - i))

    # L: a post and a foot.
    x = x0 + wz + spacing + wu + spacing
    for yy in range(y0, y0 + h):
        for xx in range(x, x + stroke):
            mask.add((xx, yy))
    for yy in range(y0 + h - stroke, y0 + h):
        for xx in range(x, x + wl):
            mask.add((xx, yy))

    return mask, wz + spacing + wu + spacing + wl


def draw_letters(cv, mask, y0, h):
    """Gradient-filled letters with a one-pixel dark outline."""
    outline = set()
    for (x, y) in mask:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                p = (x + dx, y + dy)
                if p not in mask:
                    outline.add(p)
    for (x, y) in outline:
        cv.set(x, y, OUTLINE)
    steps = 8
    for (x, y) in mask:
        t = min(max((y - y0) / float(h - 1), 0.0), 1.0)
        t = round(t * steps) / steps
        cv.set(x, y, lerp_rgb(TEAL_TOP, BLUE_BOTTOM, t))
    # A light glint along the top edge of each stroke.
    for (x, y) in mask:
        if (x, y - 1) not in mask and (x, y + 1) in mask:
            cv.set(x, y, LIGHT_TEAL)


def draw_antenna_mark(cv, cx, top, bottom):
    """A transmitter mast with radio waves on either side."""
    # Mast: a narrow A-frame tower with cross bracing.
    mast_top = top + 9
    height = bottom - mast_top
    for i in range(height + 1):
        y = mast_top + i
        half = 1 + (i * 6) // height
        cv.set(cx - half, y, NAVY)
        cv.set(cx + half, y, NAVY)
        if i % 5 == 4:
            for x in range(cx - half, cx + half + 1):
                cv.set(x, y, NAVY)
    cv.fill_rect(cx - 8, bottom, cx + 9, bottom + 2, NAVY)
    cv.fill_rect(cx, mast_top - 3, cx + 1, mast_top, NAVY)

    # Radiating element at the top of the mast.
    for dy in range(-2, 3):
        for dx in range(-2, 3):
            if dx * dx + dy * dy <= 5:
                cv.set(cx + dx, top + 4 + dy, TEAL)
    cv.set(cx - 1, top + 3, LIGHT_TEAL)

    # Three wave arcs each side, centred on the radiating element.
    ecx, ecy = cx + 0.5, top + 4.5
    for radius, colour in ((5.5, TEAL), (9.5, TEAL), (13.5, LIGHT_TEAL)):
        for y in range(cv.h):
            for x in range(cv.w):
                dx, dy = x + 0.5 - ecx, y + 0.5 - ecy
                d = (dx * dx + dy * dy) ** 0.5
                if abs(d - radius) <= 0.8 and abs(dy) <= abs(dx) * 0.62:
                    cv.set(x, y, colour)


def draw_logo():
    w, h = 323, 34
    cv = Canvas(w, h, MAGENTA)

    draw_antenna_mark(cv, 17, 3, 31)

    letters_top, letters_h = 4, 26
    mask, lw = letter_masks(40, letters_top, letters_h, 6)
    draw_letters(cv, mask, letters_top, letters_h)

    # Tagline towards the right edge, with a thin divider half-way between
    # it and the name.
    text = "RADIO FIRMWARE WRITER"
    tw = text_width(text)
    tx = w - 8 - tw
    assert tx > 40 + lw + 8, "tagline does not fit"
    sep_x = (40 + lw + tx) // 2
    for y in range(5, 30):
        cv.set(sep_x, y, TEAL)
    draw_text(cv, tx, 8, text, TEXT_BLUE)

    # Underline fading from teal into a row of signal-strength bars.
    y_line = 20
    bars_x = tx + tw - 22
    for x in range(tx, bars_x - 3):
        t = (x - tx) / float(max(bars_x - 3 - tx, 1))
        cv.set(x, y_line, lerp_rgb(TEAL, LIGHT_TEAL, round(t * 4) / 4))
    for i in range(5):
        bh = 3 + i * 2
        bx = bars_x + i * 5
        cv.fill_rect(bx, y_line + 6 - bh + 1, bx + 3, y_line + 7,
                     TEAL if i < 4 else LIGHT_TEAL)

    return cv.px, w, h


# ---------------------------------------------------------------------------
# Sort markers
# ---------------------------------------------------------------------------

def draw_sort_marker(up):
    w, h = 15, 10
    cv = Canvas(w, h, MAGENTA)
    grey = (64, 64, 64)
    rows = 5
    top = (h - rows) // 2
    for i in range(rows):
        half = i if up else rows - 1 - i
        cv.fill_rect(7 - half, top + i, 7 + half + 1, top + i + 1, grey)
    return cv.px, w, h


# ---------------------------------------------------------------------------
# Application icon: handheld radio with a "download" arrow on its display
# ---------------------------------------------------------------------------

def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            xa, ya = points[i]
            xb, yb = points[(i + 1) % n]
            if (ya > y) != (yb > y):
                xi = xa + (y - ya) * (xb - xa) / (yb - ya)
                if x < xi:
                    hit = not hit
        return hit
    return inside


ICON_BODY = (20, 52, 110)
ICON_EDGE = (8, 26, 62)
ICON_SCREEN = (120, 220, 230)
ICON_ARROW = (255, 170, 20)
ICON_GRILLE = (70, 110, 170)


# The 16x16 image is drawn pixel by pixel; at that size anti-aliased shapes
# turn to mush.
ICON16 = [
    "...EE...........",
    "...EE...........",
    "...EE...........",
    "...EE.....EE....",
    "...EE.....EE....",
    "...EEEEEEEEEE...",
    "..EBBBBBBBBBBE..",
    "..EBSSSAASSSBE..",
    "..EBSSSAASSSBE..",
    "..EBSSSAASSSBE..",
    "..EBSAAAAAASBE..",
    "..EBSSAAAASSBE..",
    "..EBSSSAASSSBE..",
    "..EBSSSSSSSSBE..",
    "..EBBBBBBBBBBE..",
    "...EEEEEEEEEE...",
]
ICON16_COLOURS = {"E": ICON_EDGE, "B": ICON_BODY, "S": ICON_SCREEN,
                  "A": ICON_ARROW}


def icon_layers(size):
    """Shapes in pixel coordinates for the larger sizes, painted in order."""
    if size == 32:
        antenna = rounded_rect(6, 0, 10, 12, 2)
        knob = rounded_rect(20, 6, 24, 12, 1)
        body = rounded_rect(4, 10, 28, 32, 3.5)
        inner = rounded_rect(6, 12, 26, 30, 2)
        screen = rounded_rect(8, 13, 24, 25, 1)
        arrow = [(14, 14), (18, 14), (18, 18), (22, 18), (16, 24), (10, 18), (14, 18)]
        grille = [rounded_rect(9, y, 23, y + 1, 0.5) for y in (26, 28)]
    elif size == 48:
        antenna = rounded_rect(9, 0, 15, 18, 3)
        knob = rounded_rect(30, 9, 36, 18, 1.5)
        body = rounded_rect(6, 15, 42, 48, 5)
        inner = rounded_rect(9, 18, 39, 45, 3)
        screen = rounded_rect(12, 20, 36, 38, 1.5)
        arrow = [(21, 21), (27, 21), (27, 27), (33, 27), (24, 36), (15, 27), (21, 27)]
        grille = [rounded_rect(13, y, 35, y + 2, 1) for y in (39, 42)]
    else:
        raise ValueError("no icon design for %d px" % size)
    layers = [
        (antenna, ICON_EDGE),
        (knob, ICON_EDGE),
        (body, ICON_EDGE),
        (inner, ICON_BODY),
        (screen, ICON_SCREEN),
        (polygon(arrow), ICON_ARROW),
    ]
    layers += [(g, ICON_GRILLE) for g in grille]
    return layers


def draw_icon(size, ss=6):
    if size == 16:
        return [[ICON16_COLOURS[c] + (255,) if c != "." else (0, 0, 0, 0)
                 for c in line] for line in ICON16]
    layers = icon_layers(size)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            cover = 0
            for sy in range(ss):
                for sx in range(ss):
                    x = px + (sx + 0.5) / ss
                    y = py + (sy + 0.5) / ss
                    colour = None
                    for shape, rgb in layers:
                        if shape(x, y):
                            colour = rgb
                    if colour is not None:
                        cover += 1
                        for i in range(3):
                            acc[i] += colour[i]
            if cover == 0:
                row.append((0, 0, 0, 0))
            else:
                rgb = tuple(int(round(c / cover)) for c in acc)
                alpha = int(round(255.0 * cover / (ss * ss)))
                row.append(rgb + (alpha,))
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------

def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = argv[1] if len(argv) > 1 else os.path.join(root, "resources")
    os.makedirs(out_dir, exist_ok=True)

    outputs = {
        "logo.bmp": bmp8_bytes(*draw_logo()),
        "sort_up.bmp": bmp8_bytes(*draw_sort_marker(True)),
        "sort_down.bmp": bmp8_bytes(*draw_sort_marker(False)),
        "ZUL.ico": ico_bytes([(n, draw_icon(n)) for n in (16, 32, 48)]),
    }
    for name, data in sorted(outputs.items()):
        path = os.path.join(out_dir, name)
        with open(path, "wb") as f:
            f.write(data)
        print("wrote %s (%d bytes)" % (path, len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
