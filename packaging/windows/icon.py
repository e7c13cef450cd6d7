#!/usr/bin/env python3
"""Packs the drawn 24-bit BMP icons into a Windows .ico: 32-bit images whose mask colour
(magenta) becomes transparent. Usage: icon.py OUT.ico ICON.bmp..."""
import struct
import sys


def image(path):
    data = open(path, 'rb').read()
    offset, = struct.unpack_from('<I', data, 10)
    width, height, _, bits = struct.unpack_from('<iiHH', data, 18)
    if bits != 24 or width != height:
        sys.exit(f'{path}: a square 24-bit BMP is wanted')
    stride = (width * 3 + 3) & ~3
    pixels, mask = bytearray(), bytearray()
    mask_stride = ((width + 31) // 32) * 4
    for row in range(height):  # bottom-up, as the BMP stores them
        line = data[offset + row * stride:offset + row * stride + width * 3]
        bits_row = bytearray(mask_stride)
        for x in range(width):
            b, g, r = line[3 * x:3 * x + 3]
            clear = (r, g, b) == (255, 0, 255)
            pixels += bytes((0, 0, 0, 0) if clear else (b, g, r, 255))
            if clear:
                bits_row[x // 8] |= 0x80 >> (x % 8)
        mask += bits_row
    header = struct.pack('<IiiHHIIiiII', 40, width, 2 * height, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return width, header + pixels + mask


def main():
    out, paths = sys.argv[1], sys.argv[2:]
    images = [image(p) for p in paths]
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for width, blob in images:
        entries += struct.pack('<BBBBHHII', width % 256, width % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(out, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)) + entries + blobs)


main()
