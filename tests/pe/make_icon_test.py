#!/usr/bin/python3
"""Tests tools/make_icon.py on small maps of its own.

    make_icon_test.py [path of make_icon.py]
"""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

TOOL = os.path.abspath(
    sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "tools", "make_icon.py")
)
LEGEND = ". = transparent\nK = black\nW = white\nR = red\n\n"
OUTPUTS = ("zolvload.ico", "icon_image.bin", "icon_group.bin")


def blank_rows():
    return [["K"] * 32 for _ in range(32)]


def text_of(rows):
    return LEGEND + "\n".join("".join(row) for row in rows) + "\n"


class MakeIconTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.map = os.path.join(self.dir.name, "icon.txt")
        self.out = os.path.join(self.dir.name, "out")

    def tearDown(self):
        self.dir.cleanup()

    def make(self, text, out=None):
        with open(self.map, "w", newline="") as f:
            f.write(text)
        return subprocess.run([sys.executable, TOOL, self.map, out or self.out], capture_output=True, text=True)

    def assertRejected(self, result, *words):
        self.assertEqual(result.returncode, 1, f"expected exit 1, actual {result.returncode}: {result.stderr}")
        for word in words:
            self.assertIn(word, result.stderr)
        self.assertEqual(result.stdout, "")
        for name in OUTPUTS:
            self.assertFalse(os.path.exists(os.path.join(self.out, name)), f"{name} written for a rejected map")

    def read(self, name):
        with open(os.path.join(self.out, name), "rb") as f:
            return f.read()

    # --- rejected maps --------------------------------------------------

    def test_a_broken_map_is_rejected_with_the_line_and_the_fault(self):
        narrow, stray = blank_rows(), blank_rows()
        narrow[4] = narrow[4][:31]
        stray[2][7] = "Q"
        cases = [  # 5 legend lines, then the map's row n is on line n + 5
            (text_of(narrow), ("icon.txt:10:", "row 5 is 31 characters wide, expected 32")),
            (text_of(blank_rows()[:31]), ("31 rows, expected 32",)),
            (text_of(blank_rows() + [["K"] * 32]), ("33 rows, expected 32",)),
            (text_of(stray), ("icon.txt:8:", "column 8", "'Q' is not in the legend")),
            (text_of(blank_rows()).replace("R = red", "R = crimson"),
             ("icon.txt:4:", "unknown colour 'crimson'", "dark yellow")),
            ("\n".join("K" * 32 for _ in range(32)), ("legend",)),
        ]
        for text, words in cases:
            with self.subTest(words[-1]):
                self.assertRejected(self.make(text), *words)

    def test_it_will_not_write_beside_the_map(self):
        result = self.make(text_of(blank_rows()), out=self.dir.name)
        self.assertEqual(result.returncode, 2, result.stderr)
        self.assertIn("build directory", result.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.dir.name, "icon_image.bin")))

    # --- what it writes -------------------------------------------------

    def test_pixels_land_where_they_are_drawn(self):
        rows = blank_rows()
        rows[0][0] = "."  # top left: transparent
        rows[0][1] = "W"  # white, beside it
        rows[31][31] = "R"  # bottom right: red
        rows[31][30] = "."
        result = self.make(text_of(rows).replace("\n", "\r\n"))  # CRLF maps are read too
        self.assertEqual(result.returncode, 0, result.stderr)
        image = self.read("icon_image.bin")
        self.assertEqual(len(image), 744)
        self.assertEqual(struct.unpack_from("<IiiHHII", image), (40, 32, 64, 1, 4, 0, 640))
        palette = image[40:104]
        self.assertEqual(palette[11 * 4 : 12 * 4], bytes((0x00, 0xFF, 0xFF, 0)), "yellow is index 11, as BGR0")
        self.assertEqual(palette[3 * 4 : 4 * 4], bytes((0x00, 0x80, 0x80, 0)), "dark yellow is index 3")
        xor, mask = image[104:616], image[616:744]

        def nibble(x, y):  # the XOR bitmap is bottom-up, high nibble first
            byte = xor[(31 - y) * 16 + x // 2]
            return byte >> 4 if x % 2 == 0 else byte & 0x0F

        def transparent(x, y):
            return bool(mask[(31 - y) * 4 + x // 8] & (0x80 >> (x % 8)))

        self.assertEqual(nibble(0, 0), 0, "black under a transparent pixel")
        self.assertEqual(nibble(1, 0), 15)
        self.assertEqual(nibble(31, 31), 9)
        self.assertEqual(nibble(5, 5), 0)
        self.assertTrue(transparent(0, 0))
        self.assertTrue(transparent(30, 31))
        self.assertFalse(transparent(1, 0))
        self.assertFalse(transparent(31, 31))
        self.assertEqual(sum(bin(b).count("1") for b in mask), 2, "only the two transparent pixels set the AND bit")

    def test_the_group_and_the_ico_file_hold_image_30001(self):
        self.assertEqual(self.make(text_of(blank_rows())).returncode, 0)
        group = self.read("icon_group.bin")
        self.assertEqual(len(group), 20)
        self.assertEqual(struct.unpack("<HHHBBBBHHIH", group), (0, 1, 1, 32, 32, 16, 0, 1, 4, 744, 30001))
        ico = self.read("zolvload.ico")
        self.assertEqual(struct.unpack_from("<HHHBBBBHHII", ico), (0, 1, 1, 32, 32, 16, 0, 1, 4, 744, 22))
        self.assertEqual(ico[22:], self.read("icon_image.bin"))

if __name__ == "__main__":
    unittest.main(verbosity=2)
