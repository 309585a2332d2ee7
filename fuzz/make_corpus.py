#!/usr/bin/env python3
"""Writes the hand-made seeds of the fuzz corpora into fuzz/corpus/<target>/.

Each seed is a small valid input of its format, built here field by field, so
that the fuzzer starts from the inside of each parser rather than from its
first refusal. The inputs of past findings (crash-*, leak-*, timeout-*, oom-*)
are kept beside the seeds and never written by this script.

    fuzz/make_corpus.py [--pack build/resources/test_resources.pack]
                        [--dialogs build/resources/program_resources.pack]

With --pack, the test resource pack (made by the build) seeds the pack reader;
the dialog templates of the --dialogs pack seed the template reader.
"""
import argparse
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def write(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def stride(width, bits):
    return (width * bits + 31) // 32 * 4


def info_header(width, height, bits, compression=0, used=0, image=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, image, 2835,
                       2835, used, 0)


def rows(width, height, bits, pattern):
    """height rows of width pixels; pattern(x, y) gives each pixel's value."""
    out = b""
    for y in range(height):
        line = b""
        if bits < 8:
            acc, count = 0, 0
            for x in range(width):
                acc = (acc << bits) | (pattern(x, y) & ((1 << bits) - 1))
                count += bits
                if count == 8:
                    line += bytes([acc])
                    acc, count = 0, 0
            if count:
                line += bytes([acc << (8 - count)])
        else:
            for x in range(width):
                line += pattern(x, y).to_bytes(bits // 8, "little")
        out += line + b"\0" * (stride(width, bits) - len(line))
    return out


def table(count, triples=False):
    entries = [((i * 67) & 0xFF, (i * 131 + 40) & 0xFF, (i * 29 + 200) & 0xFF) for i in range(count)]
    return b"".join(bytes(e) + (b"" if triples else b"\0") for e in entries)


def dibs():
    """(name, BITMAPINFO and pixels) of each format the DIB readers draw."""
    yield "rgb1-8x2", info_header(8, 2, 1) + table(2) + rows(8, 2, 1, lambda x, y: x ^ y)
    yield "rgb4-3x3-used5", (info_header(3, 3, 4, used=5) + table(5) +
                             rows(3, 3, 4, lambda x, y: (x + y) % 5))
    yield "rgb8-4x4-used3", (info_header(4, 4, 8, used=3) + table(3) +
                             rows(4, 4, 8, lambda x, y: (x * y) % 3))
    yield "rgb24-3x2", info_header(3, 2, 24) + rows(3, 2, 24, lambda x, y: 0x102030 * (x + 1) + y)
    yield "rgb32-2x2-topdown", info_header(2, -2, 32) + rows(2, 2, 32, lambda x, y: 0xFF00FF >> x)
    yield "rgb16-2x2", info_header(2, 2, 16) + rows(2, 2, 16, lambda x, y: 0x7C1F >> y)
    core = struct.pack("<IHHHH", 12, 2, 2, 1, 8)
    yield "core8-2x2", core + table(256, triples=True) + rows(2, 2, 8, lambda x, y: x + 2 * y)


def bmp_files():
    for name, dib in dibs():
        header_size = struct.unpack_from("<I", dib)[0]
        if header_size == 12:
            offset = 14 + 12 + 3 * 256
        else:
            bits, used = struct.unpack_from("<H", dib, 14)[0], struct.unpack_from("<I", dib, 32)[0]
            entries = (used or (1 << bits)) if bits <= 8 else 0
            offset = 14 + 40 + 4 * entries
        yield name + ".bmp", b"BM" + struct.pack("<IHHI", 14 + len(dib), 0, 0, offset) + dib
    # A bare DIB without its file header, which the reader takes too.
    name, dib = next(dibs())
    yield "bare-" + name + ".bmp", dib


def cursor(side, bits, colours, pattern, mask=lambda x, y: 0):
    """A cursor file of one side x side image."""
    xor = rows(side, side, bits, pattern)
    and_mask = rows(side, side, 1, mask)
    header = struct.pack("<IiiHHIIiiII", 40, side, side * 2, 1, bits, 0, 0, 0, 0, colours, 0)
    image = header + table(colours) + xor + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", side, side, 0, 0, side // 2, side // 2, len(image), 22)
    return directory + entry + image


def cursors():
    yield "mono-2x2", cursor(2, 1, 2, lambda x, y: x, lambda x, y: y)
    yield "four-8x8", cursor(8, 4, 16, lambda x, y: (x + y) % 16, lambda x, y: x == y)
    yield "eight-4-colours", cursor(16, 8, 4, lambda x, y: (x ^ y) % 4)
    yield "true-4x4", cursor(4, 24, 0, lambda x, y: 0x4080C0 + x)
    yield "alpha-4x4", cursor(4, 32, 0, lambda x, y: (x * 0x40) << 24 | 0x204060)


def waves():
    def wave(channels, rate, bits, samples, extra=b""):
        align = channels * bits // 8
        fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * align, align, bits)
        body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + extra
        body += b"data" + struct.pack("<I", len(samples)) + samples
        if len(samples) % 2:
            body += b"\0"
        return b"RIFF" + struct.pack("<I", len(body)) + body

    yield "mono8-11025", wave(1, 11025, 8, bytes(range(0, 256, 8)))
    yield "stereo16-22050", wave(2, 22050, 16, struct.pack("<8h", 0, 1000, -1000, 32767,
                                                           -32768, 5, 6, 7))
    yield "mono24-44100-list", wave(1, 44100, 24, bytes(range(30)),
                                    b"LIST" + struct.pack("<I", 4) + b"INFO")
    yield "odd-length-8", wave(1, 8000, 8, b"\x80\x90\xA0")


PROFILES = {
    "win.ini": b"[FontSubstitutes]\r\nUnivers ATT=Open Sans\r\nJikharev=Kaushan Script\r\n"
               b"\r\n[Desktop]\r\nWallpaper=(None)\r\n",
    "tavelin.ini": b"; the workshop's settings\n[Tavelin]\nLangue=1\nSon=0\nRepertoire=C:\\DESSINS\n"
                   b"[Imprimante]\nCouleur = 1 \nMarge=-12\n",
    "empty-values.ini": b"[a]\nkey=\n=value\n[]\nnokey\n[b\n",
}

SCRIPTS = {
    "clicks.txt": b"# a few clicks\nwait 500\nmove 320 240\nclick 20 100\nclick 60 420 right\n"
                  b"drag 100 100 300 200 8\ndrag 1 2 3 4\n",
    "keys.txt": b"key ctrl+s\nkey shift+F1\ntype Bonjour \xc3\xa0 tous\nanswer ok\nanswer retry\r\n"
                b"down left\nup right\nscreenshot shot.bmp\nclose\n",
    "bad-line.txt": b"wait 10\nclick 1\n",
}

# user-dirs.dirs as xdg-user-dirs-update writes it, and its corners. The fuzz
# target asks for the folder that the first byte chooses: "X" and " " the
# pictures folder, a tab the desktop folder.
USER_DIRS = {
    "user-dirs.dirs": b"# This file is written by xdg-user-dirs-update\n"
                      b"# If you want to change or add directories, just edit the line you're\n"
                      b"# interested in.\n"
                      b"XDG_DESKTOP_DIR=\"$HOME/Bureau\"\nXDG_DOWNLOAD_DIR=\"$HOME/T\xc3\xa9l\xc3\xa9"
                      b"chargements\"\nXDG_PICTURES_DIR=\"$HOME/Images\"\nXDG_VIDEOS_DIR=\"$HOME/"
                      b"Vid\xc3\xa9os\"\n",
    "absolute-escaped": b"XDG_PICTURES_DIR=\"/srv/a\\\"b\\\\c/\"\n",
    "spaces-twice": b" XDG_PICTURES_DIR = \"$HOME/first\"\r\nXDG_PICTURES_DIR=\"$HOME/Mes images\"\r\n",
    "desktop-tab": b"\tXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_PICTURES_DIR=\"$HOME\"\n",
}

# Names in the program's Windows-1252 and in the desktop's UTF-8; the target
# reads UTF-16 as little- or big-endian by the first byte's lowest bit.
NAMES = {
    "cp1252": b"Dessin d'\xe9t\xe9 \x80 \x93 \x9c\x8c \xff.BMP",
    "utf8": "Été — “dessin” € œ ÿ.BMP".encode("utf-8"),
    "utf8-outside-cp1252": "日本 Ж ☃ 🎨.bmp".encode("utf-8"),
    "utf8-broken": b"\xc3\x28 \xe2\x82 \xf0\x9f\x8e \xed\xa0\x80 \xc0\xaf",
    "utf16le": "Été €".encode("utf-16-le"),
}


def ttf():
    """A TrueType font of one empty glyph and one square, family "Seed"."""
    def table_checksum(data):
        data += b"\0" * (-len(data) % 4)
        return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF

    square = struct.pack(">hhhhh", 1, 0, 0, 500, 500) + struct.pack(">H", 3) + \
        struct.pack(">H", 0) + bytes([1, 1, 1, 1]) + struct.pack(">hhhh", 0, 500, 0, -500) + \
        struct.pack(">hhhh", 0, 0, 500, 0)
    square += b"\0" * (-len(square) % 2)
    glyf = square
    loca = struct.pack(">HHH", 0, 0, len(square) // 2)
    tables = {
        b"head": struct.pack(">IIIIHHqqhhhhHHhhh", 0x10000, 0x10000, 0, 0x5F0F3CF5, 0, 1000, 0, 0,
                             0, 0, 500, 500, 0, 8, 2, 0, 0),
        b"hhea": struct.pack(">IhhhHhhhhhhhhhhhH", 0x10000, 800, -200, 0, 600, 0, 0, 500, 1, 0, 0,
                             0, 0, 0, 0, 0, 2),
        b"maxp": struct.pack(">IHHHHHHHHHHHHHH", 0x10000, 2, 4, 1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0),
        b"hmtx": struct.pack(">HhHh", 600, 0, 600, 0),
        b"loca": loca,
        b"glyf": glyf,
        b"cmap": struct.pack(">HHHHI", 0, 1, 3, 1, 12) +
                 struct.pack(">HHHHHHHHHHHHHHHH", 4, 32, 0, 4, 4, 1, 0, 0x41, 0xFFFF, 0,
                             0x41, 0xFFFF, (1 - 0x41) & 0xFFFF, 1, 0, 0),
        b"name": struct.pack(">HHH", 0, 1, 18) + struct.pack(">HHHHHH", 3, 1, 0x409, 1, 8, 0) +
                 "Seed".encode("utf-16-be"),
        b"post": struct.pack(">IIhhIIIII", 0x30000, 0, 0, 0, 0, 0, 0, 0, 0),
    }
    tags = sorted(tables)
    offset = 12 + 16 * len(tags)
    directory = struct.pack(">IHHHH", 0x10000, len(tags), 128, 3, len(tags) * 16 - 128)
    body = b""
    for tag in tags:
        data = tables[tag]
        directory += tag + struct.pack(">III", table_checksum(data), offset + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
    return directory + body


def pack(entries):
    """A resource pack of (type, id, bytes) entries, sorted as the reader wants."""
    entries = sorted(entries)
    header = b"TVRP" + struct.pack("<HHII", 1, 0, len(entries), 0)
    offset = 16 + 12 * len(entries)
    table_bytes, data = b"", b""
    for kind, number, body in entries:
        pad = -(offset + len(data)) % 8
        data += b"\0" * pad
        table_bytes += struct.pack("<HHII", kind, number, offset + len(data), len(body))
        data += body
    return header + table_bytes + data


def pack_entries(path):
    with open(path, "rb") as f:
        data = f.read()
    count = struct.unpack_from("<I", data, 8)[0]
    for i in range(count):
        kind, number, offset, size = struct.unpack_from("<HHII", data, 16 + 12 * i)
        yield kind, number, data[offset:offset + size]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pack", help="the test resource pack the build makes")
    parser.add_argument("--dialogs", help="the program's resource pack the build makes")
    args = parser.parse_args()
    for name, data in dibs():
        write("dib", name + ".dib", data)
    for name, data in bmp_files():
        write("bmp", name, data)
    for name, data in cursors():
        write("cursor", name + ".cur", data)
    for name, data in waves():
        write("wave", name + ".wav", data)
    for name, data in PROFILES.items():
        write("profile", name, data)
    for name, data in SCRIPTS.items():
        write("script", name, data)
    for name, data in USER_DIRS.items():
        write("user_dirs", name, data)
    for name, data in NAMES.items():
        write("names", name, data)
    write("font", "seed.ttf", ttf())
    text = b"Bonjour\0Au revoir\0\xe9t\xe9\0\x01\0"
    write("resource_pack", "text-block", text)
    write("resource_pack", "small.pack", pack([(32002, 1, text), (2, 1, next(dibs())[1])]))
    if args.pack:
        with open(args.pack, "rb") as f:
            write("resource_pack", "test_resources.pack", f.read())
    if args.dialogs:
        for kind, number, body in pack_entries(args.dialogs):
            if kind == 5:
                write("dialog_template", "dialog-%d" % number, body)


if __name__ == "__main__":
    main()
