#!/usr/bin/env python3
"""Builds ZOLV Loader's icon from its readable character map.

    make_icon.py MAP OUTPUT_DIR

MAP (app/icon.txt) is a legend followed by 32 rows of 32 characters, one
character a pixel, top row first:

    # comment lines start with '#'
    . = transparent
    K = black
    Y = yellow

    ................................
    ...                 (32 rows in all)

Each legend line is one character, '=', and "transparent" or a colour of the
standard 16-colour Windows palette (see PALETTE). A blank line ends the legend.

Writes three files into OUTPUT_DIR, which must be a build directory:
  zolvload.ico     the icon as a file, for looking at it or for other tools;
  icon_image.bin   the RT_ICON resource: BITMAPINFOHEADER (height doubled),
                   the 16-colour palette, the XOR bitmap bottom-up at 4 bits a
                   pixel, then the AND mask (1 = transparent); 744 bytes;
  icon_group.bin   the RT_GROUP_ICON resource: one entry, referring to the
                   RT_ICON resource with id ICON_IMAGE_ID.

Standard library only. Exits 1 with a message naming the file and line when
the map is not as described.
"""

import os
import struct
import sys

SIZE = 32
ICON_IMAGE_ID = 30001  # IDI_APP_IMAGE in program/resource.h

# The standard 16-colour Windows palette, in index order, as (red, green, blue).
PALETTE = [
    ("black", (0x00, 0x00, 0x00)),
    ("dark red", (0x80, 0x00, 0x00)),
    ("dark green", (0x00, 0x80, 0x00)),
    ("dark yellow", (0x80, 0x80, 0x00)),
    ("dark blue", (0x00, 0x00, 0x80)),
    ("dark magenta", (0x80, 0x00, 0x80)),
    ("dark cyan", (0x00, 0x80, 0x80)),
    ("light grey", (0xC0, 0xC0, 0xC0)),
    ("dark grey", (0x80, 0x80, 0x80)),
    ("red", (0xFF, 0x00, 0x00)),
    ("green", (0x00, 0xFF, 0x00)),
    ("yellow", (0xFF, 0xFF, 0x00)),
    ("blue", (0x00, 0x00, 0xFF)),
    ("magenta", (0xFF, 0x00, 0xFF)),
    ("cyan", (0x00, 0xFF, 0xFF)),
    ("white", (0xFF, 0xFF, 0xFF)),
]
COLOUR_INDEX = {name: index for index, (name, _) in enumerate(PALETTE)}
TRANSPARENT = "transparent"

OUTPUT_NAMES = ("zolvload.ico", "icon_image.bin", "icon_group.bin")


class MapError(Exception):
    """The map is not as described; the text says where and why."""


def parse_map(text, name="map"):
    """Returns 32 rows of 32 pixels, each a palette index or None (transparent)."""
    legend = {}
    rows = []
    in_legend = True
    for number, line in enumerate(text.splitlines(), start=1):
        where = f"{name}:{number}"
        line = line.rstrip("\r")
        if line.startswith("#"):
            continue
        if in_legend:
            if not line.strip():
                if legend:
                    in_legend = False
                continue
            char, sep, colour = line.partition("=")
            char = char.strip()
            colour = " ".join(colour.split()).lower()
            if not sep or len(char) != 1:
                raise MapError(f"{where}: a legend line is one character, '=', and a colour: {line!r}")
            if char in "#=":
                raise MapError(f"{where}: {char!r} cannot stand for a pixel")
            if char in legend:
                raise MapError(f"{where}: {char!r} is in the legend twice")
            if colour == TRANSPARENT:
                legend[char] = None
            elif colour in COLOUR_INDEX:
                legend[char] = COLOUR_INDEX[colour]
            else:
                names = ", ".join([TRANSPARENT] + [n for n, _ in PALETTE])
                raise MapError(f"{where}: unknown colour {colour!r}; known: {names}")
            continue
        if not line.strip():
            continue
        if len(line) != SIZE:
            raise MapError(f"{where}: row {len(rows) + 1} is {len(line)} characters wide, expected {SIZE}")
        row = []
        for column, char in enumerate(line, start=1):
            if char not in legend:
                raise MapError(f"{where}: column {column}: {char!r} is not in the legend")
            row.append(legend[char])
        rows.append(row)
    if not legend:
        raise MapError(f"{name}: no legend")
    if len(rows) != SIZE:
        raise MapError(f"{name}: {len(rows)} rows, expected {SIZE}")
    return rows


def icon_image(pixels):
    """The RT_ICON resource data (also the image inside the .ico file)."""
    xor_stride = SIZE * 4 // 8  # 16 bytes, already a multiple of 4
    and_stride = (SIZE + 31) // 32 * 4  # 4 bytes
    header = struct.pack(
        "<IiiHHIIiiII",
        40,  # biSize
        SIZE,  # biWidth
        SIZE * 2,  # biHeight: the XOR bitmap and the AND mask together
        1,  # biPlanes
        4,  # biBitCount
        0,  # biCompression: BI_RGB
        (xor_stride + and_stride) * SIZE,  # biSizeImage
        0,
        0,  # biXPelsPerMeter, biYPelsPerMeter
        0,  # biClrUsed: all 16
        0,  # biClrImportant
    )
    palette = b"".join(bytes((b, g, r, 0)) for _, (r, g, b) in PALETTE)
    xor_rows = []
    and_rows = []
    for row in reversed(pixels):  # bottom-up
        xor = bytearray(xor_stride)
        mask = bytearray(and_stride)
        for x, index in enumerate(row):
            if index is None:
                mask[x // 8] |= 0x80 >> (x % 8)
                index = 0  # black under a transparent pixel
            xor[x // 2] |= index << (4 if x % 2 == 0 else 0)
        xor_rows.append(bytes(xor))
        and_rows.append(bytes(mask))
    return header + palette + b"".join(xor_rows) + b"".join(and_rows)


def directory_entry(image):
    """Width, height, colour count, reserved, planes, bit count, bytes in the image."""
    return struct.pack("<BBBBHHI", SIZE, SIZE, 16, 0, 1, 4, len(image))


def icon_group(image):
    """The RT_GROUP_ICON resource data: GRPICONDIR with one GRPICONDIRENTRY."""
    return struct.pack("<HHH", 0, 1, 1) + directory_entry(image) + struct.pack("<H", ICON_IMAGE_ID)


def icon_file(image):
    """A .ico file: ICONDIR, one ICONDIRENTRY, the image."""
    offset = 6 + 16
    return struct.pack("<HHH", 0, 1, 1) + directory_entry(image) + struct.pack("<I", offset) + image


def main(argv):
    if len(argv) != 3:
        print(f"usage: {os.path.basename(argv[0])} MAP OUTPUT_DIR", file=sys.stderr)
        return 2
    map_path, out_dir = argv[1], argv[2]
    map_dir = os.path.dirname(os.path.abspath(map_path))
    if os.path.realpath(out_dir) == os.path.realpath(map_dir):
        print(f"make_icon.py: will not write into the map's own directory {map_dir}:"
              " give a build directory", file=sys.stderr)
        return 2
    try:
        with open(map_path, encoding="ascii") as f:
            text = f.read()
    except (OSError, UnicodeDecodeError) as e:
        print(f"make_icon.py: cannot read {map_path}: {e}", file=sys.stderr)
        return 1
    try:
        pixels = parse_map(text, map_path)
    except MapError as e:
        print(f"make_icon.py: {e}", file=sys.stderr)
        return 1
    image = icon_image(pixels)
    os.makedirs(out_dir, exist_ok=True)
    for name, data in zip(OUTPUT_NAMES, (icon_file(image), image, icon_group(image))):
        path = os.path.join(out_dir, name)
        with open(path + ".tmp", "wb") as f:
            f.write(data)
        os.replace(path + ".tmp", path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
