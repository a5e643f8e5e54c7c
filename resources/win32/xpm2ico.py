#!/usr/bin/env python3
"""Writes the Windows icon file from MAINICON.xpm: the same pixel art in
16, 32, 48, 64, 128 and 256 pixels square, each size scaled pixel by pixel
(nearest neighbour) so that the picture stays sharp. 256 is stored as PNG,
as Windows expects; the others as 32-bit bitmaps. Every pixel is opaque.

Usage: xpm2ico.py MAINICON.xpm MAINICON.ico
"""
import re
import struct
import sys
import zlib

SIZES = (16, 32, 48, 64, 128, 256)


def read_xpm(path):
    strings = re.findall(r'"((?:[^"\\]|\\.)*)"', open(path, encoding="ascii").read())
    width, height, colours, chars = (int(v) for v in strings[0].split()[:4])
    palette = {}
    for line in strings[1:1 + colours]:
        key, rest = line[:chars], line[chars:].split()
        value = rest[rest.index("c") + 1]
        if not value.startswith("#") or len(value) != 7:
            sys.exit(f"{path}: colour {value!r} is not #RRGGBB")
        palette[key] = tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))
    rows = strings[1 + colours:1 + colours + height]
    return width, height, [[palette[row[x * chars:(x + 1) * chars]] for x in range(width)]
                           for row in rows]


def scaled(pixels, width, height, size):
    return [[pixels[y * height // size][x * width // size] for x in range(size)]
            for y in range(size)]


def bitmap(image, size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, 255)) for row in reversed(image) for r, g, b in row)
    mask_row = ((size + 31) // 32) * 4
    return header + colour + bytes(mask_row * size)


def png(image, size):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + b"".join(bytes((r, g, b, 255)) for r, g, b in row) for row in image)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(source, target):
    width, height, pixels = read_xpm(source)
    images = []
    for size in SIZES:
        image = scaled(pixels, width, height, size)
        images.append((size, png(image, size) if size >= 256 else bitmap(image, size)))
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, data in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data),
                                 offset)
        offset += len(data)
    with open(target, "wb") as out:
        out.write(directory + b"".join(data for _, data in images))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
