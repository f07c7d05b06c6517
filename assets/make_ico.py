#!/usr/bin/env python3
"""Writes an ICO file from RGBA renders of the icon.

usage: make_ico.py OUT.ico SIZE:BPP:FILE.rgba ...

Each FILE.rgba holds SIZE*SIZE*4 bytes (8-bit RGBA, top row first, as ImageMagick writes
"rgba:" files). Entries are written in the order given, as BMP images: a BITMAPINFOHEADER with
the height doubled, the palette (4 and 8 bpp), the colour bitmap and the AND mask, rows bottom-up.
Palette images keep pixels with alpha >= 128 and mask out the rest; their palette is found by
median cut and the pixels are dithered with Floyd-Steinberg. Only the python3 standard library.
"""
import struct
import sys


def median_cut(pixels, count):
    boxes = [list(pixels)]
    while len(boxes) < count:
        best, best_range, best_channel = None, -1, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for c in range(3):
                lo = min(p[c] for p in box)
                hi = max(p[c] for p in box)
                if hi - lo > best_range:
                    best, best_range, best_channel = i, hi - lo, c
        if best is None or best_range <= 0:
            break
        box = sorted(boxes.pop(best), key=lambda p: p[best_channel])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(round(sum(p[c] for p in box) / len(box)) for c in range(3)) for box in boxes if box]


def nearest(palette, colour):
    r, g, b = colour
    return min(range(len(palette)),
               key=lambda i: (palette[i][0] - r) ** 2 * 3 + (palette[i][1] - g) ** 2 * 4 + (palette[i][2] - b) ** 2 * 2)


def quantise(size, rgba, colours):
    opaque = [[rgba[(y * size + x) * 4 + 3] >= 128 for x in range(size)] for y in range(size)]
    seen = [tuple(rgba[(y * size + x) * 4:(y * size + x) * 4 + 3])
            for y in range(size) for x in range(size) if opaque[y][x]]
    # Index 0 stays black: the colour under a masked-out pixel, so AND-then-XOR drawing leaves the
    # screen as it was there.
    palette = [(0, 0, 0)] + median_cut(seen, colours - 1)
    palette += [(0, 0, 0)] * (colours - len(palette))
    work = [[list(rgba[(y * size + x) * 4:(y * size + x) * 4 + 3]) for x in range(size)] for y in range(size)]
    index = [[0] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            if not opaque[y][x]:
                continue
            want = [min(255, max(0, v)) for v in work[y][x]]
            i = nearest(palette[1:], want) + 1
            index[y][x] = i
            error = [want[c] - palette[i][c] for c in range(3)]
            for dx, dy, weight in ((1, 0, 7), (-1, 1, 3), (0, 1, 5), (1, 1, 1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < size and ny < size and opaque[ny][nx]:
                    for c in range(3):
                        work[ny][nx][c] += error[c] * weight / 16
    return palette, index, opaque


def padded(row):
    return row + b'\0' * (-len(row) % 4)


def mask_rows(size, opaque):
    rows = []
    for y in reversed(range(size)):
        bits = bytearray((size + 7) // 8)
        for x in range(size):
            if not opaque[y][x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(padded(bytes(bits)))
    return b''.join(rows)


def bitmap(size, bpp, rgba):
    palette_bytes = b''
    if bpp in (4, 8):
        palette, index, opaque = quantise(size, rgba, 1 << bpp)
        palette_bytes = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
        rows = []
        for y in reversed(range(size)):
            if bpp == 8:
                row = bytes(index[y])
            else:
                row = bytes((index[y][x] << 4) | index[y][x + 1] for x in range(0, size, 2))
            rows.append(padded(row))
        pixels = b''.join(rows)
    elif bpp == 32:
        opaque = [[rgba[(y * size + x) * 4 + 3] != 0 for x in range(size)] for y in range(size)]
        rows = []
        for y in reversed(range(size)):
            row = bytearray()
            for x in range(size):
                r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
                row += bytes((b, g, r, a))
            rows.append(bytes(row))
        pixels = b''.join(rows)
    else:
        raise SystemExit('unsupported depth %d' % bpp)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0, 0, 0, 0, 0, 0)
    return header + palette_bytes + pixels + mask_rows(size, opaque)


def main():
    out, specs = sys.argv[1], sys.argv[2:]
    images = []
    for spec in specs:
        size, bpp, path = spec.split(':', 2)
        size, bpp = int(size), int(bpp)
        with open(path, 'rb') as f:
            rgba = f.read()
        if len(rgba) != size * size * 4:
            raise SystemExit('%s: expected %d bytes' % (path, size * size * 4))
        images.append((size, bpp, bitmap(size, bpp, rgba)))
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bpp, body in images:
        colour_count = 16 if bpp == 4 else 0
        data += struct.pack('<BBBBHHII', size % 256, size % 256, colour_count, 0, 1, bpp, len(body), offset)
        offset += len(body)
    data += b''.join(body for _, _, body in images)
    with open(out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
