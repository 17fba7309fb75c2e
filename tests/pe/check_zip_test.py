#!/usr/bin/python3
"""Shows that check_zip.py fails a zip with one thing wrong, each made with
tools/release_zip.py from the built exe and the guide, then spoilt.

    check_zip_test.py RELEASE_ZIP_PY GUIDE EXE
"""

import io
import os
import sys
import tempfile
import unittest
import zipfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_zip  # noqa: E402

RELEASE_ZIP_PY, GUIDE, EXE = sys.argv[1:4] if len(sys.argv) == 4 else (None, None, None)


def load_release_zip():
    sys.path.insert(0, os.path.dirname(os.path.abspath(RELEASE_ZIP_PY)))
    import release_zip

    return release_zip


class CheckZipTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.release_zip = load_release_zip()
        with open(EXE, "rb") as f:
            cls.exe = f.read()
        with open(GUIDE, encoding="ascii") as f:
            cls.guide = f.read()
        cls.version = check_zip.record_version(EXE)

    def problems(self, data, name=None):
        with tempfile.TemporaryDirectory() as directory:
            path = os.path.join(directory, name or f"zolv-loader-{self.version}-win32.zip")
            with open(path, "wb") as f:
                f.write(data)
            return check_zip.check(path, EXE)

    def assertFails(self, problems, word):
        self.assertTrue(problems, "the check passed a broken zip")
        self.assertIn(word, "\n".join(problems))

    def test_the_zip_as_made_passes_and_names_the_version(self):
        self.assertEqual(self.problems(self.release_zip.make_zip(self.exe, self.guide, self.version)), [])
        self.assertFails(self.problems(self.release_zip.make_zip(self.exe, self.guide, "0.4.9")), "Version")
        self.assertFails(self.problems(self.release_zip.make_zip(self.exe, self.guide, self.version),
                                       "zolv-loader-0.4.9-win32.zip"), "zip name")

    def test_a_guide_notepad_would_show_badly_fails(self):
        good = self.release_zip.guide_text(self.guide, self.version)
        self.assertEqual(check_zip.check_guide(good, self.version), [])
        self.assertFails(check_zip.check_guide(good.replace(b"\r\n", b"\n"), self.version), "CRLF")
        self.assertFails(check_zip.check_guide(good + b"x" * 79 + b"\r\n", self.version), "79")
        self.assertFails(check_zip.check_guide(good + b"caf\xc3\xa9\r\n", self.version), "ASCII")
        self.assertFails(check_zip.check_guide(good + b"\tindented\r\n", self.version), "ASCII")

    def test_other_entries_or_what_a_machine_adds_fail(self):
        exe_entry = self.release_zip.entry("ZOLVLOAD.exe")
        guide = self.release_zip.guide_text(self.guide, self.version)
        for spoil, word in [
            (lambda z: z.writestr(exe_entry, self.exe[:-1] + b"?"), "built exe's bytes"),
            (lambda z: (z.writestr(exe_entry, self.exe), z.writestr(self.release_zip.entry("README.txt"), guide),
                        z.writestr(self.release_zip.entry("zolvload.bat"), b"zolv.exe")), "entries"),
            # ZipFile.write takes the file's own time and mode.
            (lambda z: (z.write(EXE, "ZOLVLOAD.exe", zipfile.ZIP_DEFLATED),
                        z.writestr(self.release_zip.entry("README.txt"), guide)), "1980-01-01"),
        ]:
            buffer = io.BytesIO()
            with zipfile.ZipFile(buffer, "w") as archive:
                spoil(archive)
            self.assertFails(self.problems(buffer.getvalue()), word)


if __name__ == "__main__":
    if RELEASE_ZIP_PY is None:
        sys.exit(__doc__)
    unittest.main(argv=sys.argv[:1])
