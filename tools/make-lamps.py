#!/usr/bin/env python3
"""Draws the four status lamps of the network monitor into PAM files.

    tools/make-lamps.py [OUTPUT_DIR]      (default: toolbox/form_data beside this script)

Each lamp is 16 x 16 pixels, RGBA with straight (not premultiplied) alpha, in a PAM
"P7" RGB_ALPHA file, rows top to bottom. Index order is the image-list order the
monitor relies on: 0 grey, 1 green, 2 yellow, 3 red.

Every pixel is sampled 8 x 8 times, so the ring's edges and the disc's rim come out
anti-aliased. The lamp is a lit disc with a soft radial shading and a small highlight
towards the upper left, held in a grey ring that is lighter at the top.

Plain Python 3, no extra packages, so anyone can regenerate and review the images.
"""
import math
import os
import sys

from pixel_blend import mix, over  # the script's own folder is on the path

SIZE = 16
SAMPLES = 8
CENTRE = SIZE / 2.0
RING_OUTER = 7.6  # leaves a soft edge inside the 16-pixel cell
RING_INNER = 5.7  # the ring is about two pixels wide
HIGHLIGHT = (-1.7, -1.9, 2.2)  # offset x, offset y, radius of the highlight

# Lit colour at the centre and at the rim of each disc.
LAMPS = [
    ("grey", (215, 215, 215), (140, 140, 140)),
    ("green", (120, 235, 110), (20, 150, 40)),
    ("yellow", (255, 240, 120), (215, 160, 0)),
    ("red", (255, 120, 110), (185, 20, 20)),
]
RING_TOP = (200, 200, 200)
RING_BOTTOM = (105, 105, 105)
RING_EDGE = (80, 80, 80)  # a darker line on the ring's outer border


def sample(x, y, centre, rim):
    """Colour of one sub-sample point as (r, g, b, a)."""
    dx, dy = x - CENTRE, y - CENTRE
    d = math.hypot(dx, dy)
    px = (0.0, 0.0, 0.0, 0.0)
    if d < RING_INNER + 0.3:  # the disc runs a little under the ring: no gap between them
        lit = mix(centre, rim, (d / RING_INNER) ** 1.5)
        # Light from the upper left: the lower right of the disc is a little darker.
        shade = 0.12 * max(0.0, (dx + dy) / (2 * RING_INNER))
        px = over(px, tuple(c * (1 - shade) for c in lit) + (1.0,))
        hx, hy, hr = HIGHLIGHT
        h = math.hypot(dx - hx, (dy - hy) * 1.3)
        if h < hr:
            px = over(px, (255.0, 255.0, 255.0, 0.9 * (1 - h / hr) ** 1.1))
    if RING_INNER <= d < RING_OUTER:
        ring = mix(RING_TOP, RING_BOTTOM, (dy + RING_OUTER) / (2 * RING_OUTER))
        if d > RING_OUTER - 0.6:
            ring = mix(ring, RING_EDGE, 0.7)
        elif d < RING_INNER + 0.45:  # a thin dark line sets the disc off from the ring
            ring = mix(ring, RING_EDGE, 0.55)
        px = over(px, ring + (1.0,))
    return px


def draw(centre, rim):
    pixels = bytearray()
    for row in range(SIZE):
        for col in range(SIZE):
            # Average premultiplied colour over the sub-samples, then straighten it again.
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = sample(col + (sx + 0.5) / SAMPLES, row + (sy + 0.5) / SAMPLES, centre, rim)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            a8 = int(round(alpha * 255))
            if a8 == 0:
                pixels += bytes(4)  # fully transparent pixels carry no colour
                continue
            rgb = [int(round(min(255.0, acc[i] / acc[3]))) for i in range(3)]
            pixels += bytes(rgb + [a8])
    return bytes(pixels)


def write_pam(path, rgba):
    header = ("P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n" % (SIZE, SIZE)).encode("ascii")
    with open(path, "wb") as f:
        f.write(header + rgba)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.normpath(os.path.join(here, "..", "toolbox", "form_data"))
    os.makedirs(out, exist_ok=True)
    for name, centre, rim in LAMPS:
        path = os.path.join(out, "lamp_%s.pam" % name)
        write_pam(path, draw(centre, rim))
        print(path)


if __name__ == "__main__":
    main()
