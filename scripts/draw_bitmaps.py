#!/usr/bin/env python3
"""Draws the bitmaps and the icon of Tollan and writes them into res/.

Standard library only. Run from anywhere: python3 scripts/draw_bitmaps.py
The generated files are kept in the repository; run this again after a change.

Pictures:
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
  tollan.ico        32x32 and 16x16, 32 bpp: a small panel
"""

import math
import os
import struct

RES_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")

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

    def frame(self, x, y, w, h, top_left, bottom_right):
        """A one-pixel bevel: top and left edges in one colour, bottom and right in the other."""
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


# --- drawing of the panel parts -------------------------------------------------------

def panel_face(c, x, y, w, h):
    c.rect(x, y, w, h, FACE)
    c.frame(x, y, w, h, GREY, BLACK)
    c.frame(x + 1, y + 1, w - 2, h - 2, FACE_LIGHT, SHADOW)


def screws(c, x, y, w, h, inset):
    for sx, sy in ((x + inset, y + inset), (x + w - 1 - inset, y + inset),
                   (x + inset, y + h - 1 - inset), (x + w - 1 - inset, y + h - 1 - inset)):
        c.disc(sx, sy, 1.5, METAL)
        c.put(sx, sy, SHADOW)


def led(c, cx, cy, r):
    c.disc(cx, cy, r + 1, LED_RIM)
    c.disc(cx, cy, r, LED_RED)
    if r >= 3:
        c.disc(cx - r / 3, cy - r / 3, max(1.0, r / 3), LED_PINK)


def push_button(c, cx, cy, size):
    x, y = int(cx - size / 2 + 0.5), int(cy - size / 2 + 0.5)
    c.rect(x, y, size, size, LIGHT)
    c.frame(x - 1, y - 1, size + 2, size + 2, BLACK, BLACK)
    c.frame(x, y, size, size, WHITE, GREY)
    if size >= 8:
        c.frame(x + 1, y + 1, size - 2, size - 2, LIGHT, METAL)


def toggle_switch(c, cx, cy, nut_r, lever_len, lever_w):
    """A round nut with a lever pointing up from its centre."""
    c.disc(cx, cy, nut_r + 1, BLACK)
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


def display(c, x, y, w, h, digits):
    c.rect(x, y, w, h, DISPLAY)
    c.frame(x, y, w, h, SHADOW, FACE_LIGHT)
    c.frame(x + 1, y + 1, w - 2, h - 2, BLACK, BLACK)
    # Eight-shaped segment groups, one per digit place.
    pitch = (w - 6) / digits
    for i in range(digits):
        dx = int(x + 4 + i * pitch)
        dw = max(3, int(pitch) - 3)
        dh = h - 8
        top, mid, bottom = y + 4, y + 4 + dh // 2, y + 4 + dh
        for yy in (top, mid, bottom):
            c.rect(dx + 1, yy, dw - 2, 1, SEGMENT)
        for xx in (dx, dx + dw - 1):
            c.rect(xx, top + 1, 1, mid - top - 1, SEGMENT)
            c.rect(xx, mid + 1, 1, bottom - mid - 1, SEGMENT)


def knob(c, cx, cy, r):
    c.disc(cx, cy, r + 1, BLACK)
    c.shaded_disc(cx, cy, r, LIGHT, METAL, GREY)
    c.shaded_disc(cx, cy, r * 0.55, WHITE, LIGHT, METAL)
    c.rect(int(cx), int(cy - r), 1, int(r * 0.45), SHADOW)


# --- the pictures --------------------------------------------------------------------------

COLUMN = 25  # pixel width of one of the eight columns of a 200-pixel panel picture


def panel_8x8(switches):
    c = Canvas(200, 56, FACE)
    panel_face(c, 0, 0, 200, 56)
    for k in range(8):
        cx = COLUMN * k + 12
        led(c, cx, 13, 4)
        if switches:
            toggle_switch(c, cx, 41, 6, 13, 3)
        else:
            push_button(c, cx, 39, 14)
    return c


def panel_radio():
    c = Canvas(200, 56, FACE)
    panel_face(c, 0, 0, 200, 56)
    screws(c, 0, 0, 200, 56, 4)
    display(c, 10, 6, 82, 20, 5)
    display(c, 108, 6, 82, 20, 5)
    knob(c, 24, 41, 10)
    knob(c, 176, 41, 10)
    for i in range(5):
        led(c, 62 + 19 * i, 33, 2)
    for i in range(4):
        push_button(c, 71 + 19 * i, 45, 10)
    return c


def device_list_strip():
    c = Canvas(416, 34, MASK)
    # Picture 0 stays blank; 1 pushbutton panel, 2 toggle switch panel, 3 radio panel.
    for picture in (1, 2, 3):
        x0 = 104 * picture + 3
        panel_face(c, x0, 3, 98, 28)
        if picture == 3:
            display(c, x0 + 5, 6, 40, 13, 3)
            display(c, x0 + 53, 6, 40, 13, 3)
            knob(c, x0 + 12, 25, 4)
            knob(c, x0 + 85, 25, 4)
            for i in range(4):
                push_button(c, x0 + 34 + 10 * i, 25, 5)
            continue
        for k in range(8):
            cx = x0 + 7 + 12 * k
            led(c, cx, 9, 1.5)
            if picture == 1:
                push_button(c, cx, 22, 7)
            else:
                toggle_switch(c, cx, 24, 3, 7, 1)
    return c


def indicator_button(pressed):
    c = Canvas(30, 30, LIGHT)
    if pressed:
        c.rect(1, 1, 28, 28, GREEN)
        c.frame(0, 0, 30, 30, BLACK, WHITE)
        c.frame(1, 1, 28, 28, GREEN_DARK, (96, 224, 96))
        c.frame(2, 2, 26, 26, GREEN_DARK, GREEN)
    else:
        c.rect(1, 1, 28, 28, LIGHT)
        c.frame(0, 0, 30, 30, WHITE, BLACK)
        c.frame(1, 1, 28, 28, (224, 224, 224), GREY)
        c.frame(2, 2, 26, 26, LIGHT, (160, 160, 160))
    return c


def toggle_picture(lever_up):
    """30x30 true-colour picture of one toggle switch on a button face background."""
    c = Canvas(30, 30, LIGHT)
    cx, cy = 14.5, 17.5 if lever_up else 14.5
    # Hexagonal nut, shaded from the upper left.
    for y in range(30):
        for x in range(30):
            dx, dy = x - cx, y - cy
            ang = math.atan2(dy, dx)
            sector = math.pi / 3
            rel = (ang % sector) - sector / 2
            limit = 11 / math.cos(rel) * math.cos(math.pi / 6)
            d = math.hypot(dx, dy)
            if d <= limit:
                shade = 0.45 - (dx + dy) / 30.0
                c.put(x, y, blend((40, 40, 48), (150, 150, 160), max(0.0, min(1.0, shade))))
            elif d <= limit + 1:
                c.put(x, y, (40, 40, 40))
    # Threaded bushing.
    for y in range(30):
        for x in range(30):
            d = math.hypot(x - cx, y - cy)
            if d <= 6:
                t = 0.35 + 0.5 * (1 - d / 6) - (x - cx + y - cy) / 30.0
                c.put(x, y, blend((60, 60, 60), (250, 250, 250), max(0.0, min(1.0, t))))
            elif d <= 7:
                c.put(x, y, (50, 50, 50))
    if lever_up:
        # A round lever standing up from the bushing, widening to a ball at the tip.
        top = 2.5
        for y in range(30):
            for x in range(30):
                if top <= y <= cy:
                    half = 2.0 + 1.2 * (cy - y) / (cy - top)
                    if abs(x - cx) <= half:
                        t = 0.85 - 0.45 * (x - cx + half) / (2 * half)
                        c.put(x, y, blend((70, 70, 70), (255, 255, 255), t))
                d = math.hypot(x - cx, y - top - 1)
                if d <= 3.6:
                    t = 0.95 - 0.5 * (d / 3.6) - (x - cx) / 12.0
                    c.put(x, y, blend((70, 70, 70), (255, 255, 255), max(0.0, min(1.0, t))))
    else:
        # The lever seen from its tip: a bright ball in the middle of the bushing.
        for y in range(30):
            for x in range(30):
                d = math.hypot(x - cx, y - cy)
                if d <= 4.2:
                    t = 0.95 - 0.35 * (d / 4.2) - (x - cx + y - cy) / 14.0
                    c.put(x, y, blend((90, 90, 90), (255, 255, 255), max(0.0, min(1.0, t))))
                elif d <= 5:
                    c.put(x, y, (30, 30, 30))
    return c


def icon_picture(size):
    """A small panel: LEDs above buttons on a dark face, transparent around it."""
    c = Canvas(size, size, None)
    if size >= 32:
        panel_face(c, 1, 6, 30, 20)
        for k in range(4):
            cx = 5 + 7 * k + 0.5
            led(c, cx, 11, 1.5)
            push_button(c, cx, 20, 4)
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


def ico_bytes(pictures):
    images = []
    for c in pictures:
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
        images.append((c.width, c.height, info + bytes(xor) + bytes(mask)))
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


def main():
    write("device_list.bmp", bmp_bytes(device_list_strip(), 4, PALETTE16))
    write("panel_b88.bmp", bmp_bytes(panel_8x8(switches=False), 4, PALETTE16))
    write("panel_t88.bmp", bmp_bytes(panel_8x8(switches=True), 4, PALETTE16))
    write("panel_rp.bmp", bmp_bytes(panel_radio(), 4, PALETTE16))
    write("button_up.bmp", bmp_bytes(indicator_button(pressed=False), 8))
    write("button_down.bmp", bmp_bytes(indicator_button(pressed=True), 8))
    write("toggle_up.bmp", bmp_bytes(toggle_picture(lever_up=True), 24))
    write("toggle_end.bmp", bmp_bytes(toggle_picture(lever_up=False), 24))
    write("tollan.ico", ico_bytes([icon_picture(32), icon_picture(16)]))


if __name__ == "__main__":
    main()
