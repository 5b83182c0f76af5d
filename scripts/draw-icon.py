#!/usr/bin/env python3
"""Draws Vistrane's icon: a framed landscape (sky, sun, hills, a lake) that
reads at 32 x 32 pixels, and writes it as a .ico file holding the two images
the Control Panel picks from: 16 colours (4 bits per pixel) and 256 colours
(8 bits per pixel). The drawing is code, so every build makes the same file.

    draw-icon.py <output.ico>
"""
import struct
import sys

SIZE = 32

# The 16 colours every display has; the 16-colour image uses only these.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# Each part of the picture in both palettes: (16-colour, 256-colour).
COLOURS = {
    "outline": ((0, 0, 0), (40, 26, 14)),
    "wood": ((128, 128, 0), (150, 98, 44)),
    "wood_light": ((128, 128, 0), (201, 150, 82)),
    "wood_dark": ((128, 0, 0), (102, 62, 26)),
    "sky_top": ((0, 255, 255), (74, 144, 226)),
    "sky_bottom": ((255, 255, 255), (190, 226, 250)),
    "sun": ((255, 255, 0), (255, 214, 64)),
    "sun_rim": ((255, 255, 0), (245, 166, 35)),
    "far_hill": ((0, 128, 0), (96, 160, 96)),
    "near_hill": ((0, 255, 0), (60, 140, 50)),
    "near_hill_dark": ((0, 128, 0), (38, 102, 36)),
    "lake": ((0, 0, 255), (52, 120, 200)),
    "lake_light": ((255, 255, 255), (170, 210, 245)),
}


def inside_polygon(x, y, points):
    """Even-odd test at the pixel's centre."""
    px, py = x + 0.5, y + 0.5
    inside = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def draw(mode):
    """The picture as rows of (r, g, b); mode 0 is 16 colours, 1 is 256."""
    c = {name: pair[mode] for name, pair in COLOURS.items()}
    pixels = [[c["outline"]] * SIZE for _ in range(SIZE)]

    def put(x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            pixels[y][x] = colour

    # Picture area inside the frame: x and y from 4 to 27.
    for y in range(4, 28):
        t = (y - 4) / 23
        if mode == 0:
            sky = c["sky_top"] if y < 17 else c["sky_bottom"]
        else:
            sky = tuple(round(a + (b - a) * t) for a, b in zip(c["sky_top"], c["sky_bottom"]))
        for x in range(4, 28):
            put(x, y, sky)
    for y in range(4, 28):
        for x in range(4, 28):
            dx, dy = x + 0.5 - 21, y + 0.5 - 10
            distance = (dx * dx + dy * dy) ** 0.5
            if distance <= 3.2:
                put(x, y, c["sun"])
            elif distance <= 4.2:
                put(x, y, c["sun_rim"])
    far = [(4, 21), (10, 15), (15, 19), (20, 14), (27, 19), (27, 28), (4, 28)]
    near = [(4, 24), (9, 20), (16, 25), (23, 21), (27, 23), (27, 28), (4, 28)]
    lake = [(13, 28), (16, 25.5), (24, 25.5), (27, 27), (27, 28)]
    for y in range(4, 28):
        for x in range(4, 28):
            if inside_polygon(x, y, far):
                put(x, y, c["far_hill"])
            if inside_polygon(x, y, near):
                put(x, y, c["near_hill_dark"] if (mode == 1 and y >= 26) else c["near_hill"])
            if inside_polygon(x, y, lake):
                put(x, y, c["lake"])
    for x in range(18, 24):
        put(x, 26, c["lake_light"])

    # The frame: dark outline, then wood lit from the top left.
    for i in range(1, 4):
        for k in range(i, SIZE - i):
            put(k, i, c["wood_light"] if i < 3 else c["wood"])
            put(i, k, c["wood_light"] if i < 3 else c["wood"])
            put(k, SIZE - 1 - i, c["wood_dark"] if i < 3 else c["wood"])
            put(SIZE - 1 - i, k, c["wood_dark"] if i < 3 else c["wood"])
    for k in range(3, SIZE - 3):
        put(k, 3, c["wood_dark"])
        put(3, k, c["wood_dark"])
    return pixels


def palette_for(pixels, mode):
    if mode == 0:
        return list(VGA)
    colours = sorted({p for row in pixels for p in row})
    assert len(colours) <= 256, "the 256-colour picture needs too many colours"
    return colours + [(0, 0, 0)] * (256 - len(colours))


def image_bytes(mode):
    pixels = draw(mode)
    palette = palette_for(pixels, mode)
    index = {colour: i for i, colour in enumerate(palette)}
    bits = 4 if mode == 0 else 8
    for row in pixels:
        for p in row:
            assert p in index, "colour %r is not in the 16-colour palette" % (p,)
    xor = bytearray()
    for row in reversed(pixels):  # bottom-up
        if bits == 4:
            for x in range(0, SIZE, 2):
                xor.append(index[row[x]] << 4 | index[row[x + 1]])
        else:
            xor.extend(index[p] for p in row)
    # Opaque everywhere: every mask bit 0, rows of 32 bits.
    mask = bytes(4 * SIZE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, bits, 0, len(xor) + len(mask), 0, 0, 0, 0)
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return bits, len(palette), header + colour_table + bytes(xor) + mask


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    images = [image_bytes(0), image_bytes(1)]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for bits, colours, data in images:
        entries += struct.pack("<BBBBHHII", SIZE, SIZE, colours if colours < 256 else 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(directory + entries + b"".join(data for _, _, data in images))


if __name__ == "__main__":
    main()
