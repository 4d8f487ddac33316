#!/usr/bin/env python3
"""Draws the program's icon, a steaming tea cup on a saucer, into a Windows .ico file.

    tools/make-icon.py [--png DIR] [OUTPUT]   write the icon (default: toolbox/resources/minggui.ico)
    tools/make-icon.py --check [ICON]         exit 1 unless ICON holds what this script draws

The icon holds four frames, 16, 32, 48 and 256 pixels square, 32-bit RGBA. The three small
frames are stored as bitmaps (with the 1-bit mask older Windows versions read), the 256-pixel
one as PNG, as Windows stores large icons. --png also writes each frame as a PNG file to look at.

Every pixel is sampled several times, so edges come out anti-aliased. The shapes are laid out
in a unit square; the 16-pixel frame leaves the steam out and centres the cup, since two wisps
of steam would be a grey smudge at that size.

Plain Python 3 (struct and zlib), no extra packages, so anyone can regenerate and review it.
"""
import math
import os
import struct
import sys
import zlib

from pixel_blend import mix, over  # the script's own folder is on the path

SIZES = (16, 32, 48, 256)

# Warm colours: a terracotta cup, a cream rim, amber tea, an ochre saucer, grey-brown steam.
CUP_LIGHT = (232, 112, 64)
CUP_DARK = (150, 52, 24)
CUP_EDGE = (110, 36, 16)
RIM = (250, 232, 200)
TEA_LIGHT = (214, 140, 50)
TEA_DARK = (140, 76, 20)
SAUCER_LIGHT = (238, 190, 120)
SAUCER_DARK = (170, 110, 50)
SAUCER_EDGE = (120, 72, 30)
STEAM = (176, 156, 138)


def in_ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


class Layout:
    """Where the parts lie in the unit square (y grows downwards)."""

    def __init__(self, steam):
        self.steam = steam
        # Without steam the cup and saucer move up to the middle of the frame; the saucer is
        # as wide as the frame already, so they cannot grow.
        s, dy = 1.0, (0.0 if steam else -0.16)
        def y(v):
            return v + dy
        self.cx = 0.5 + (0.46 - 0.5) * s
        self.mouth_y = y(0.46)
        self.bowl_rx, self.bowl_ry = 0.33 * s, 0.36 * s
        self.rim_ry, self.tea_rx, self.tea_ry = 0.085 * s, 0.285 * s, 0.064 * s
        self.foot_top, self.foot_bottom, self.foot_half = y(0.74), y(0.85), 0.14 * s
        self.handle = (0.5 + (0.79 - 0.5) * s, y(0.57), 0.15 * s, 0.085 * s)
        self.saucer = (0.5, y(0.87), 0.47 * s, 0.095 * s)


def sample(x, y, L, pixel):
    """Colour of one sub-sample point as (r, g, b, a). `pixel` is one pixel's width."""
    px = (0.0, 0.0, 0.0, 0.0)
    edge = 1.2 * pixel  # outlines about one pixel wide at every size

    # Saucer: an ellipse, lit from above, with a darker edge.
    scx, scy, srx, sry = L.saucer
    if in_ellipse(x, y, scx, scy, srx, sry):
        colour = mix(SAUCER_LIGHT, SAUCER_DARK, (y - (scy - sry)) / (2 * sry))
        if not in_ellipse(x, y, scx, scy, srx - edge, sry - edge):
            colour = mix(colour, SAUCER_EDGE, 0.8)
        px = over(px, colour + (1.0,))

    # Handle: a ring to the right of the bowl.
    hx, hy, ro, ri = L.handle
    d = math.hypot(x - hx, y - hy)
    if ri <= d <= ro and x > hx - ro * 0.2:
        colour = mix(CUP_DARK, CUP_EDGE, (d - ri) / (ro - ri))
        px = over(px, colour + (1.0,))

    # Foot: a short band under the bowl.
    if L.foot_top <= y <= L.foot_bottom and abs(x - L.cx) <= L.foot_half:
        px = over(px, mix(CUP_DARK, CUP_EDGE, 0.5) + (1.0,))

    # Bowl: the lower half of an ellipse, lit from the left.
    if y >= L.mouth_y and in_ellipse(x, y, L.cx, L.mouth_y, L.bowl_rx, L.bowl_ry):
        t = (x - (L.cx - L.bowl_rx * 0.55)) / (L.bowl_rx * 1.55)
        colour = mix(CUP_LIGHT, CUP_DARK, t)
        if not in_ellipse(x, y, L.cx, L.mouth_y, L.bowl_rx - edge, L.bowl_ry - edge):
            colour = mix(colour, CUP_EDGE, 0.85)
        px = over(px, colour + (1.0,))
        # A soft highlight down the left of the bowl.
        hl = abs(x - (L.cx - L.bowl_rx * 0.55)) / (L.bowl_rx * 0.14)
        if hl < 1.0 and y < L.mouth_y + L.bowl_ry * 0.75:
            px = over(px, (255.0, 235.0, 210.0, 0.45 * (1 - hl)))

    # Mouth: a cream rim around the tea.
    if in_ellipse(x, y, L.cx, L.mouth_y, L.bowl_rx, L.rim_ry):
        colour = RIM
        if not in_ellipse(x, y, L.cx, L.mouth_y, L.bowl_rx - edge * 0.8, L.rim_ry - edge * 0.8):
            colour = mix(RIM, CUP_EDGE, 0.6)
        px = over(px, colour + (1.0,))
        if in_ellipse(x, y, L.cx, L.mouth_y, L.tea_rx, L.tea_ry):
            px = over(px, mix(TEA_DARK, TEA_LIGHT, (y - (L.mouth_y - L.tea_ry)) / (2 * L.tea_ry)) + (1.0,))

    # Steam: two wisps rising from the tea, thinning at both ends.
    if L.steam:
        width = max(0.045, 1.6 * pixel)
        for x0, phase in ((L.cx - 0.09, 0.0), (L.cx + 0.08, 1.3)):
            top, bottom = 0.06, L.mouth_y - 0.10
            if top <= y <= bottom:
                t = (y - top) / (bottom - top)
                centre = x0 + 0.045 * math.sin(phase + t * 2.2 * math.pi)
                half = width / 2 * math.sin(math.pi * t) ** 0.5
                if abs(x - centre) <= half:
                    px = over(px, STEAM + (0.9,))
    return px


def draw(size):
    """The frame's pixels: rows top to bottom, RGBA bytes with straight alpha."""
    layout = Layout(steam=size > 16)
    samples = 8 if size <= 48 else 3
    pixel = 1.0 / size
    out = bytearray()
    for row in range(size):
        for col in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    r, g, b, a = sample((col + (sx + 0.5) / samples) * pixel, (row + (sy + 0.5) / samples) * pixel,
                                        layout, pixel)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            a8 = int(round(acc[3] / (samples * samples) * 255))
            if a8 == 0:
                out += bytes(4)  # fully transparent pixels carry no colour
                continue
            out += bytes([int(round(min(255.0, acc[i] / acc[3]))) for i in range(3)] + [a8])
    return bytes(out)


def png(size, rgba):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    stride = size * 4
    raw = b"".join(b"\0" + rgba[r * stride:(r + 1) * stride] for r in range(size))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(size, rgba):
    """An icon bitmap: header (height counts image and mask), BGRA rows bottom up, 1-bit mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    stride = size * 4
    rows = []
    for r in reversed(range(size)):
        line = rgba[r * stride:(r + 1) * stride]
        rows.append(b"".join(bytes((line[i + 2], line[i + 1], line[i], line[i + 3])) for i in range(0, stride, 4)))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for r in reversed(range(size)):
        bits = bytearray(mask_stride)
        for c in range(size):
            if rgba[(r * size + c) * 4 + 3] == 0:
                bits[c // 8] |= 0x80 >> (c % 8)
        mask += bits
    return header + b"".join(rows) + bytes(mask)


def ico(frames):
    """frames: (size, rgba) in ascending size."""
    images = [png(s, p) if s >= 256 else dib(s, p) for s, p in frames]
    out = struct.pack("<HHH", 0, 1, len(frames))
    offset = 6 + 16 * len(frames)
    for (size, _), image in zip(frames, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def frames_of(data):
    """The pixels of each frame of an .ico this script wrote: {size: rgba}."""
    count = struct.unpack_from("<H", data, 4)[0]
    found = {}
    for i in range(count):
        w, _, _, _, _, _, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        size = w or 256
        image = data[offset:offset + length]
        if image.startswith(b"\x89PNG"):
            pos, idat = 8, b""
            while pos < len(image):
                n, kind = struct.unpack_from(">I4s", image, pos)
                if kind == b"IDAT":
                    idat += image[pos + 8:pos + 8 + n]
                pos += 12 + n
            raw = zlib.decompress(idat)
            stride = size * 4
            found[size] = b"".join(raw[r * (stride + 1) + 1:(r + 1) * (stride + 1)] for r in range(size))
        else:
            stride = size * 4
            pixels = image[40:40 + stride * size]
            rows = [pixels[r * stride:(r + 1) * stride] for r in reversed(range(size))]
            found[size] = b"".join(bytes((row[i + 2], row[i + 1], row[i], row[i + 3]))
                                   for row in rows for i in range(0, stride, 4))
    return found


def main():
    args = sys.argv[1:]
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.normpath(os.path.join(here, "..", "toolbox", "resources", "minggui.ico"))
    frames = [(s, draw(s)) for s in SIZES]
    if args[:1] == ["--check"]:
        path = args[1] if len(args) > 1 else default
        with open(path, "rb") as f:
            if frames_of(f.read()) != dict(frames):
                print("%s differs from what tools/make-icon.py draws: run it again" % path, file=sys.stderr)
                return 1
        return 0
    png_dir = None
    if args[:1] == ["--png"]:
        png_dir, args = args[1], args[2:]
    path = args[0] if args else default
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(ico(frames))
    print(path)
    if png_dir:
        os.makedirs(png_dir, exist_ok=True)
        for size, rgba in frames:
            frame = os.path.join(png_dir, "icon-%d.png" % size)
            with open(frame, "wb") as f:
                f.write(png(size, rgba))
            print(frame)
    return 0


if __name__ == "__main__":
    sys.exit(main())
