#!/usr/bin/env python3
"""Draws the bitmaps and the icon of Tollan and writes them into res/.

Standard library only. Run from anywhere: python3 scripts/draw_bitmaps.py
The generated files are kept in the repository; run this again after a change.

Pictures, at 100 % (96 DPI) in res/:
  device_list.bmp   416x34, 4 bpp: four 104x34 pictures (blank, pushbutton panel,
                    toggle switch panel, radio panel) on the image list's mask colour
                    RGB(4,0,0)
  panel_b88.bmp     200x56, 4 bpp: 8 LEDs above 8 push buttons
  panel_t88.bmp     200x56, 4 bpp: 8 LEDs above 8 toggle switches
  panel_rp.bmp      200x56, 4 bpp: radio panel, two displays with knobs and buttons
  button_up.bmp     30x30, 8 bpp: grey raised square
  button_down.bmp   30x30, 8 bpp: green sunken square
  toggle_up.bmp     30x30, 24 bpp: toggle switch with its lever up
  toggle_end.bmp    30x30, 24 bpp: toggle switch seen end-on
  tollan.ico        256 (PNG), 48, 32, 24 and 16 pixels, 32 bpp: a small panel

Each picture again for 125, 150 and 200 % in res/scaled/<name>_<percent>.bmp, with the same
bit depth, palette and mask colour, drawn anew from the scaled geometry (never resized
pixels). Sizes are round(size100 * scale), halves up:
  device_list       four pictures of 130x43, 156x51, 208x68 (strips 520x43, 624x51, 832x68)
  panel_*           250x70, 300x84, 400x112
  button_*, toggle_*  38x38, 45x45, 60x60
Where the parts of the panel pictures are: see "the pictures" below.
"""

import math
import os
import struct
import zlib

RES_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
SCALED_DIR = "scaled"

# The image list of the device list treats this colour as transparent.
MASK = (4, 0, 0)

BLACK = (0, 0, 0)
SHADOW = (40, 40, 40)
FACE = (64, 64, 64)
FACE_LIGHT = (96, 96, 96)
GREY = (128, 128, 128)
METAL = (160, 160, 160)
LIGHT = (192, 192, 192)
WHITE = (255, 255, 255)
LED_RIM = (96, 0, 0)
LED_RED = (255, 32, 32)
LED_PINK = (255, 160, 160)
DISPLAY = (0, 48, 0)
SEGMENT = (0, 240, 64)
GREEN = (0, 160, 0)
GREEN_DARK = (0, 80, 0)

# One palette for every 16-colour picture. Black must be entry 0 and white entry 15, as
# in the standard VGA palette: an image list that takes the device list strip removes the
# mask from the picture with raster operations on the colour indices, which use the
# indices of black and white, and any other order changes the colours of the picture.
PALETTE16 = [BLACK, MASK, SHADOW, FACE, FACE_LIGHT, GREY, METAL, LIGHT,
             LED_RIM, LED_RED, LED_PINK, DISPLAY, SEGMENT, GREEN, GREEN_DARK, WHITE]



class Canvas:
    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def get(self, x, y):
        return self.pixels[y][x]

    def rect(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, colour)

    def frame(self, x, y, w, h, top_left, bottom_right, width=1):
        """A bevel `width` pixels wide: top and left edges in one colour, bottom and right in
        the other."""
        for i in range(width):
            self._frame1(x + i, y + i, w - 2 * i, h - 2 * i, top_left, bottom_right)

    def _frame1(self, x, y, w, h, top_left, bottom_right):
        for xx in range(x, x + w):
            self.put(xx, y, top_left)
            self.put(xx, y + h - 1, bottom_right)
        for yy in range(y, y + h):
            self.put(x, yy, top_left)
            self.put(x + w - 1, yy, bottom_right)

    def disc(self, cx, cy, r, colour):
        """Filled circle around the pixel centre (cx, cy); cx, cy may be halves."""
        for yy in range(int(cy - r) - 1, int(cy + r) + 2):
            for xx in range(int(cx - r) - 1, int(cx + r) + 2):
                if (xx - cx) ** 2 + (yy - cy) ** 2 <= r * r:
                    self.put(xx, yy, colour)

    def shaded_disc(self, cx, cy, r, light, mid, dark):
        """A disc lit from the upper left."""
        for yy in range(int(cy - r) - 1, int(cy + r) + 2):
            for xx in range(int(cx - r) - 1, int(cx + r) + 2):
                dx, dy = xx - cx, yy - cy
                if dx * dx + dy * dy <= r * r:
                    side = (dx + dy) / (r * 1.4142)
                    self.put(xx, yy, light if side < -0.35 else dark if side > 0.35 else mid)


def blend(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# --- scale ---------------------------------------------------------------------------------
#
# Every picture is drawn from its geometry at 100 % and a scale s (1, 1.25, 1.5, 2). Two kinds
# of coordinates: a pixel's index, and a position along the picture (pixel edges, so pixel x
# covers x .. x + 1 and its middle is x + 0.5). A picture of base size n is round(n * s)
# pixels, halves rounded up; a part that lines up with others (a panel's buttons, switches and
# LEDs) has its middle at round(position100 * s). Lines and bevels are line_width(s) pixels.

SCALES = (1.0, 1.25, 1.5, 2.0)


def rh(value):
    """Rounds to the nearest whole number, halves up."""
    return int(math.floor(value + 0.5))


def line_width(s):
    return max(1, int(s))


def at(p, s):
    """The index-centre of a round part drawn around pixel index p at 100 %, kept on half pixels."""
    return math.floor((p + 0.5) * s * 2 + 0.5) / 2 - 0.5


def aligned(p, s):
    """The index-centre of a part that lines up with others: its middle at round(middle100 * s)."""
    return p if s == 1 else rh((p + 0.5) * s) - 0.5


def even(n):
    return n + n % 2


def fitting(size, cx):
    """A size whose box is symmetric around the index-centre cx: odd on a whole pixel, else even."""
    whole = cx == int(cx)
    return size if (size % 2 == 1) == whole else size + 1


# --- drawing of the panel parts -------------------------------------------------------

def panel_face(c, x, y, w, h, t=1):
    c.rect(x, y, w, h, FACE)
    c.frame(x, y, w, h, GREY, BLACK, t)
    c.frame(x + t, y + t, w - 2 * t, h - 2 * t, FACE_LIGHT, SHADOW, t)


def screws(c, w, h, inset, s=1):
    near_x, near_y = at(inset, s), at(inset, s)
    for sx, sy in ((near_x, near_y), (w - 1 - near_x, near_y),
                   (near_x, h - 1 - near_y), (w - 1 - near_x, h - 1 - near_y)):
        c.disc(sx, sy, 1.5 * s, METAL)
        c.disc(sx, sy, 0.75 * s, SHADOW)


def led(c, cx, cy, r, t=1):
    c.disc(cx, cy, r + t, LED_RIM)
    c.disc(cx, cy, r, LED_RED)
    if r >= 3:
        c.disc(cx - r / 3, cy - r / 3, max(1.0, r / 3), LED_PINK)


def push_button(c, cx, cy, size, t=1):
    """A raised square button of size x size pixels in a black frame; its box starts at
    int(cx - size / 2 + 0.5)."""
    x, y = int(cx - size / 2 + 0.5), int(cy - size / 2 + 0.5)
    c.rect(x, y, size, size, LIGHT)
    c.frame(x - t, y - t, size + 2 * t, size + 2 * t, BLACK, BLACK, t)
    c.frame(x, y, size, size, WHITE, GREY, t)
    if size >= 8 * t:
        c.frame(x + t, y + t, size - 2 * t, size - 2 * t, LIGHT, METAL, t)


def toggle_switch(c, cx, cy, nut_r, lever_len, lever_w, t=1):
    """A round nut with a lever pointing up from its centre."""
    c.disc(cx, cy, nut_r + t, BLACK)
    c.shaded_disc(cx, cy, nut_r, WHITE, METAL, GREY)
    c.disc(cx, cy, max(1.0, nut_r * 0.45), SHADOW)
    top = int(cy - lever_len)
    half = lever_w / 2
    for yy in range(top, int(cy) + 1):
        for xx in range(int(cx - half - 1), int(cx + half + 2)):
            if abs(xx - cx) <= half:
                edge = xx - cx
                c.put(xx, yy, WHITE if edge < -half / 3 else LIGHT if edge < half / 3 else METAL)
    c.disc(cx, top, half + 0.6, LIGHT)
    c.put(int(round(cx - half / 2)), top, WHITE)


def display(c, x, y, w, h, digits, t=1):
    c.rect(x, y, w, h, DISPLAY)
    c.frame(x, y, w, h, SHADOW, FACE_LIGHT, t)
    c.frame(x + t, y + t, w - 2 * t, h - 2 * t, BLACK, BLACK, t)
    # Eight-shaped segment groups, one per digit place.
    pitch = (w - 6 * t) / digits
    for i in range(digits):
        dx = int(x + 4 * t + i * pitch)
        dw = max(3 * t, int(pitch) - 3 * t)
        dh = h - 8 * t
        top, mid, bottom = y + 4 * t, y + 4 * t + dh // 2, y + 4 * t + dh
        for yy in (top, mid, bottom):
            c.rect(dx + t, yy, dw - 2 * t, t, SEGMENT)
        for xx in (dx, dx + dw - t):
            c.rect(xx, top + t, t, mid - top - t, SEGMENT)
            c.rect(xx, mid + t, t, bottom - mid - t, SEGMENT)


def knob(c, cx, cy, r, t=1):
    c.disc(cx, cy, r + t, BLACK)
    c.shaded_disc(cx, cy, r, LIGHT, METAL, GREY)
    c.shaded_disc(cx, cy, r * 0.55, WHITE, LIGHT, METAL)
    c.rect(int(cx) - (t - 1) // 2, int(cy - r), t, int(r * 0.45), SHADOW)


def scaled_box(x, y, w, h, s):
    """The pixel box (x, y, w, h) of a box given at 100 %."""
    left, top = rh(x * s), rh(y * s)
    return left, top, rh((x + w) * s) - left, rh((y + h) * s) - top


# --- the pictures --------------------------------------------------------------------------
#
# Where the parts of a panel picture are, as positions along the picture at 100 % (pixel
# edges: 12 is the boundary between pixels 11 and 12); at scale s each one is at round(p * s),
# halves up (the panel pictures are 200x56, 250x70, 300x84, 400x112):
#   panel_b88  push buttons: middles x = 12 + 25 k (k = 0..7), y = 39; 16 pixels square at
#              100 % including their black frame (20, 24, 32 at 125, 150, 200 %);
#              LEDs: x = 12.5 + 25 k, y = 13.5
#   panel_t88  toggle switches (the round nut): x = 12.5 + 25 k, y = 41.5, the lever above it;
#              LEDs as panel_b88
#   panel_rp   push buttons: x = 71 + 19 i (i = 0..3), y = 45; 12 pixels square with the frame;
#              LEDs: x = 62.5 + 19 i (i = 0..4), y = 33.5; the knobs (x = 24.5 and 176.5,
#              y = 41.5) line up with nothing and are only kept to the nearest half pixel
# So at 150 % the third button of panel_b88 has its middle at x = round(62 * 1.5) = 93, and the
# sixth switch of panel_t88 at x = round(137.5 * 1.25) = 172 at 125 %.

COLUMN = 25  # pixel width of one of the eight columns of a 200-pixel panel picture


def panel_8x8(switches, s=1):
    w, h, t = rh(200 * s), rh(56 * s), line_width(s)
    c = Canvas(w, h, FACE)
    panel_face(c, 0, 0, w, h, t)
    for k in range(8):
        cx = aligned(COLUMN * k + 12, s)
        led(c, cx, aligned(13, s), 4 * s, t)
        if switches:
            toggle_switch(c, cx, aligned(41, s), 6 * s, 13 * s, 3 * s, t)
        else:
            middle = COLUMN * k + 12 if s == 1 else rh((COLUMN * k + 12) * s)
            push_button(c, middle, rh(39 * s), even(rh(16 * s)) - 2 * t, t)
    return c


def panel_radio(s=1):
    w, h, t = rh(200 * s), rh(56 * s), line_width(s)
    c = Canvas(w, h, FACE)
    panel_face(c, 0, 0, w, h, t)
    screws(c, w, h, 4, s)
    x, y, dw, dh = scaled_box(10, 6, 82, 20, s)
    display(c, x, y, dw, dh, 5, t)
    display(c, w - rh(92 * s), y, dw, dh, 5, t)  # as far from the right edge
    knob(c, at(24, s), at(41, s), 10 * s, t)
    knob(c, at(176, s), at(41, s), 10 * s, t)
    for i in range(5):
        led(c, aligned(62 + 19 * i, s), aligned(33, s), 2 * s, t)
    for i in range(4):
        middle = 71 + 19 * i if s == 1 else rh((71 + 19 * i) * s)
        push_button(c, middle, rh(45 * s), even(rh(12 * s)) - 2 * t, t)
    return c


def device_list_strip(s=1):
    pw, ph, t = rh(104 * s), rh(34 * s), line_width(s)
    c = Canvas(4 * pw, ph, MASK)
    # Picture 0 stays blank; 1 pushbutton panel, 2 toggle switch panel, 3 radio panel.
    for picture in (1, 2, 3):
        left = pw * picture
        bx, by, bw, bh = scaled_box(3, 3, 98, 28, s)
        panel_face(c, left + bx, by, bw, bh, t)
        if picture == 3:
            for dx in (8, 56):
                x, y, w, h = scaled_box(dx, 6, 40, 13, s)
                display(c, left + x, y, w, h, 3, t)
            knob(c, left + at(15, s), at(25, s), 4 * s, t)
            knob(c, left + at(88, s), at(25, s), 4 * s, t)
            first = left + at(37, s)
            size = fitting(rh(5 * s), first)  # one size for the row
            for i in range(4):
                push_button(c, first + rh(10 * i * s), at(25, s), size, t)
            continue
        for k in range(8):
            cx = left + at(10 + 12 * k, s)
            led(c, cx, at(9, s), 1.5 * s, t)
            if picture == 1:
                cy = at(22, s)
                push_button(c, cx, cy, fitting(rh(7 * s), cx), t)
            else:
                toggle_switch(c, cx, at(24, s), 3 * s, 7 * s, 1 * s, t)
    return c


def indicator_button(pressed, size=30):
    t = line_width(size / 30)
    c = Canvas(size, size, LIGHT)
    inner = size - 2 * t
    if pressed:
        c.rect(t, t, inner, inner, GREEN)
        c.frame(0, 0, size, size, BLACK, WHITE, t)
        c.frame(t, t, inner, inner, GREEN_DARK, (96, 224, 96), t)
        c.frame(2 * t, 2 * t, inner - 2 * t, inner - 2 * t, GREEN_DARK, GREEN, t)
    else:
        c.rect(t, t, inner, inner, LIGHT)
        c.frame(0, 0, size, size, WHITE, BLACK, t)
        c.frame(t, t, inner, inner, (224, 224, 224), GREY, t)
        c.frame(2 * t, 2 * t, inner - 2 * t, inner - 2 * t, LIGHT, (160, 160, 160), t)
    return c


def toggle_picture(lever_up, size=30):
    """A true-colour picture of one toggle switch on a button face background."""
    s = size / 30
    c = Canvas(size, size, LIGHT)
    cx, cy = 15 * s - 0.5, (18 if lever_up else 15) * s - 0.5
    # Hexagonal nut, shaded from the upper left.
    for y in range(size):
        for x in range(size):
            dx, dy = x - cx, y - cy
            ang = math.atan2(dy, dx)
            sector = math.pi / 3
            rel = (ang % sector) - sector / 2
            limit = 11 * s / math.cos(rel) * math.cos(math.pi / 6)
            d = math.hypot(dx, dy)
            if d <= limit:
                shade = 0.45 - (dx + dy) / (30.0 * s)
                c.put(x, y, blend((40, 40, 48), (150, 150, 160), max(0.0, min(1.0, shade))))
            elif d <= limit + s:
                c.put(x, y, (40, 40, 40))
    # Threaded bushing.
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - cx, y - cy)
            if d <= 6 * s:
                t = 0.35 + 0.5 * (1 - d / (6 * s)) - (x - cx + y - cy) / (30.0 * s)
                c.put(x, y, blend((60, 60, 60), (250, 250, 250), max(0.0, min(1.0, t))))
            elif d <= 7 * s:
                c.put(x, y, (50, 50, 50))
    if lever_up:
        # A round lever standing up from the bushing, widening to a ball at the tip.
        top = 3 * s - 0.5
        for y in range(size):
            for x in range(size):
                if top <= y <= cy:
                    half = (2.0 + 1.2 * (cy - y) / (cy - top)) * s
                    if abs(x - cx) <= half:
                        t = 0.85 - 0.45 * (x - cx + half) / (2 * half)
                        c.put(x, y, blend((70, 70, 70), (255, 255, 255), t))
                d = math.hypot(x - cx, y - top - s)
                if d <= 3.6 * s:
                    t = 0.95 - 0.5 * (d / (3.6 * s)) - (x - cx) / (12.0 * s)
                    c.put(x, y, blend((70, 70, 70), (255, 255, 255), max(0.0, min(1.0, t))))
    else:
        # The lever seen from its tip: a bright ball in the middle of the bushing.
        for y in range(size):
            for x in range(size):
                d = math.hypot(x - cx, y - cy)
                if d <= 4.2 * s:
                    t = 0.95 - 0.35 * (d / (4.2 * s)) - (x - cx + y - cy) / (14.0 * s)
                    c.put(x, y, blend((90, 90, 90), (255, 255, 255), max(0.0, min(1.0, t))))
                elif d <= 5 * s:
                    c.put(x, y, (30, 30, 30))
    return c


def icon_picture(size):
    """A small panel: LEDs above buttons on a dark face, transparent around it."""
    c = Canvas(size, size, None)
    if size >= 24:
        # Drawn on a 32-pixel grid, scaled.
        s = size / 32
        t = max(1, int(s / 2))
        x, y, w, h = scaled_box(1, 6, 30, 20, s)
        panel_face(c, x, y, w, h, t)
        for k in range(4):
            middle = rh((6 + 7 * k) * s)  # between pixels: LED and button share it
            led(c, middle - 0.5, at(11, s), 1.5 * s, t)
            button = even(rh(4 * s)) - (2 if s < 1 else 0)  # small: keep a gap between buttons
            push_button(c, middle - 0.5, rh(20 * s), button, t)
    else:
        c.rect(0, 3, 16, 10, FACE)
        c.frame(0, 3, 16, 10, GREY, BLACK)
        for k in range(3):
            x = 2 + 5 * k
            c.rect(x + 1, 5, 2, 2, LED_RED)
            c.rect(x, 9, 4, 2, LIGHT)
            c.put(x, 9, WHITE)
    return c


# --- file formats ------------------------------------------------------------------------

def bmp_bytes(c, bits, palette=None):
    if bits in (4, 8):
        if palette is None:
            palette = sorted({px for row in c.pixels for px in row})
        index = {}
        for i, colour in enumerate(palette):
            index.setdefault(colour, i)
        missing = {px for row in c.pixels for px in row} - set(index)
        if missing:
            raise ValueError("colours outside the palette: %r" % sorted(missing))
        palette = palette + [BLACK] * ((1 << bits) - len(palette))
    stride = ((c.width * bits + 31) // 32) * 4
    rows = []
    for y in range(c.height - 1, -1, -1):
        row = bytearray()
        if bits == 24:
            for x in range(c.width):
                r, g, b = c.get(x, y)
                row += bytes((b, g, r))
        elif bits == 8:
            row += bytes(index[c.get(x, y)] for x in range(c.width))
        else:
            for x in range(0, c.width, 2):
                hi = index[c.get(x, y)]
                lo = index[c.get(x + 1, y)] if x + 1 < c.width else 0
                row.append((hi << 4) | lo)
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    pixel_data = b"".join(rows)
    colour_table = b"".join(bytes((b, g, r, 0)) for r, g, b in (palette or []))
    info = struct.pack("<IiiHHIIiiII", 40, c.width, c.height, 1, bits, 0, len(pixel_data),
                       2835, 2835, len(palette or []), 0)
    offset = 14 + len(info) + len(colour_table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixel_data), 0, 0, offset)
    return header + info + colour_table + pixel_data


def png_bytes(c):
    """A true-colour PNG with alpha; None pixels are transparent."""
    raw = bytearray()
    for y in range(c.height):
        raw.append(0)  # no filter
        for x in range(c.width):
            px = c.get(x, y)
            raw += bytes((0, 0, 0, 0)) if px is None else bytes(px) + b"\xff"

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", c.width, c.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def dib_icon_bytes(c):
    xor = bytearray()
    and_stride = ((c.width + 31) // 32) * 4
    mask = bytearray()
    for y in range(c.height - 1, -1, -1):
        bits = 0
        row = bytearray()
        for x in range(c.width):
            px = c.get(x, y)
            if px is None:
                xor += bytes((0, 0, 0, 0))
                bits |= 1 << (7 - x % 8)
            else:
                r, g, b = px
                xor += bytes((b, g, r, 255))
            if x % 8 == 7:
                row.append(bits)
                bits = 0
        if c.width % 8:
            row.append(bits)
        row += b"\0" * (and_stride - len(row))
        mask += row
    info = struct.pack("<IiiHHIIiiII", 40, c.width, c.height * 2, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def ico_bytes(pictures):
    """An icon file; the 256-pixel image is stored as PNG, as Windows expects of it."""
    images = []
    for c in pictures:
        data = png_bytes(c) if c.width >= 256 else dib_icon_bytes(c)
        images.append((c.width, c.height, data))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, data in images:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def write(name, data):
    path = os.path.join(RES_DIR, name)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote", os.path.normpath(path))


PICTURES = (
    # name, drawing at a scale, bits per pixel, palette
    ("device_list", lambda s: device_list_strip(s), 4, PALETTE16),
    ("panel_b88", lambda s: panel_8x8(switches=False, s=s), 4, PALETTE16),
    ("panel_t88", lambda s: panel_8x8(switches=True, s=s), 4, PALETTE16),
    ("panel_rp", lambda s: panel_radio(s), 4, PALETTE16),
    ("button_up", lambda s: indicator_button(False, rh(30 * s)), 8, None),
    ("button_down", lambda s: indicator_button(True, rh(30 * s)), 8, None),
    ("toggle_up", lambda s: toggle_picture(True, rh(30 * s)), 24, None),
    ("toggle_end", lambda s: toggle_picture(False, rh(30 * s)), 24, None),
)


def main():
    os.makedirs(os.path.join(RES_DIR, SCALED_DIR), exist_ok=True)
    for name, draw, bits, palette in PICTURES:
        for s in SCALES:
            path = name + ".bmp"
            if s != 1:
                path = os.path.join(SCALED_DIR, "%s_%d.bmp" % (name, rh(s * 100)))
            write(path, bmp_bytes(draw(s), bits, palette))
    write("tollan.ico", ico_bytes([icon_picture(n) for n in (256, 48, 32, 24, 16)]))


if __name__ == "__main__":
    main()
