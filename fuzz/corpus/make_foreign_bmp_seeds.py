#!/usr/bin/env python3
"""Writes the seed files of the BMP fuzz target for the forms that other
programs write: 108- and 124-byte headers, bit fields, RLE8 and RLE4. Each is
a small picture of four colours, made here byte by byte."""
import os
import struct
import sys

COLOURS = [0xFFFFFF, 0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00]
ART = [[2, 3, 4, 5], [1, 0, 0, 4], [3, 1, 2, 0]]  # top row first


def header(size, width, height, bits, compression, data_size, used, masks=()):
    out = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression,
                      data_size, 2835, 2835, used, 0)
    if size >= 52:
        out += b"".join(struct.pack("<I", m) for m in masks)
    out = out.ljust(size, b"\0")
    if size == 40:
        out += b"".join(struct.pack("<I", m) for m in masks)
    return out


def bmp(head, table, pixels):
    offset = 14 + len(head) + len(table)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + head + table + pixels


def table(count):
    return b"".join(struct.pack("<I", COLOURS[i] if i < len(COLOURS) else 0x808080)
                    for i in range(count))


def rows(bits, top_down=False, masks=None):
    stride = (4 * bits + 31) // 32 * 4
    out = b""
    for line in (ART if top_down else ART[::-1]):
        row = bytearray(stride)
        for x, index in enumerate(line):
            if masks:
                rgb = COLOURS[index]
                value = 0
                for channel, mask in zip((rgb >> 16, rgb >> 8 & 255, rgb & 255), masks):
                    shift = (mask & -mask).bit_length() - 1
                    width = bin(mask).count("1")
                    value |= ((channel >> (8 - width)) if width <= 8 else channel << (width - 8)) << shift
                row[x * bits // 8:(x + 1) * bits // 8] = value.to_bytes(bits // 8, "little")
            elif bits == 8:
                row[x] = index
            elif bits == 24:
                row[3 * x:3 * x + 3] = COLOURS[index].to_bytes(3, "little")
        out += bytes(row)
    return out


def rle(bits):
    out = b""
    for line in ART[::-1]:
        for index in line:
            out += bytes([1, index * 17 if bits == 4 else index])
        out += b"\0\0"
    return out + b"\0\1"


def seeds():
    m565, m555, m888 = (0xF800, 0x07E0, 0x001F), (0x7C00, 0x03E0, 0x001F), (0xFF0000, 0xFF00, 0xFF)
    yield "v4-8bit.bmp", bmp(header(108, 4, 3, 8, 0, 12, 6), table(6), rows(8))
    yield "v5-24bit.bmp", bmp(header(124, 4, 3, 24, 0, 36, 0), b"", rows(24))
    yield "v5-bitfields32-topdown.bmp", bmp(header(124, 4, -3, 32, 3, 48, 0, m888), b"",
                                            rows(32, True, m888))
    yield "v4-bitfields16-555.bmp", bmp(header(108, 4, 3, 16, 3, 24, 0, m555), b"", rows(16, False, m555))
    yield "bitfields-565.bmp", bmp(header(40, 4, 3, 16, 3, 24, 0, m565), b"", rows(16, False, m565))
    yield "bitfields-32-bgr.bmp", bmp(header(40, 4, 3, 32, 3, 48, 0, m888[::-1]), b"",
                                      rows(32, False, m888[::-1]))
    data = rle(8)
    yield "rle8-runs.bmp", bmp(header(40, 4, 3, 8, 1, len(data), 6), table(6), data)
    data = b"\0\x04\x02\x03\x04\x05\0\x02\x01\x01\x02\x03\0\0\x03\x02\0\1"
    yield "rle8-literal-delta.bmp", bmp(header(124, 4, 3, 8, 1, len(data), 6), table(6), data)
    data = rle(4)
    yield "rle4-runs.bmp", bmp(header(40, 4, 3, 4, 2, len(data), 6), table(6), data)
    data = b"\0\x03\x23\x40\x04\x51\0\0\0\x02\x00\x01\x02\x23\0\1"
    yield "rle4-literal-delta.bmp", bmp(header(40, 4, 3, 4, 2, len(data), 16), table(16), data)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "bmp")
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
