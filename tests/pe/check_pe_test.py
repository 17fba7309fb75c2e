#!/usr/bin/python3
"""Shows that each check of check_pe.py can fail: it passes the built exe,
then fails copies of it with one thing wrong.

    check_pe_test.py --arch x86_64|i686 --compiler CXX [--build-path DIR]... EXE
"""

import argparse
import os
import struct
import sys
import unittest

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_pe  # noqa: E402
import pefile  # noqa: E402

ARGS = None


def resource_offset(pe, type_id, resource_id):
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if type_entry.id == type_id:
            for name_entry in type_entry.directory.entries:
                if name_entry.id == resource_id:
                    entry = name_entry.directory.entries[0].data.struct
                    return pe.get_offset_from_rva(entry.OffsetToData), entry.Size
    raise AssertionError(f"the built exe has no resource {type_id}/{resource_id}")


class CheckPeTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(ARGS.exe, "rb") as f:
            cls.data = f.read()
        cls.pe = pefile.PE(data=cls.data)

    def patched(self, offset, old, new):
        """A copy of the exe with bytes old at offset replaced by new."""
        self.assertEqual(len(old), len(new))
        self.assertEqual(self.data[offset : offset + len(old)], old, "the exe is not laid out as this test expects")
        return pefile.PE(data=self.data[:offset] + new + self.data[offset + len(new) :])

    def patched_in_resource(self, type_id, resource_id, old, new):
        start, size = resource_offset(self.pe, type_id, resource_id)
        found = self.data.find(old, start, start + size)
        self.assertGreaterEqual(found, 0, f"{old!r} not in resource {type_id}/{resource_id}")
        return self.patched(found, old, new)

    def assertFails(self, problems, *words):
        self.assertTrue(problems, "the check passed a broken exe")
        text = "\n".join(problems)
        for word in words:
            self.assertIn(word, text)
        for problem in problems:
            self.assertTrue("expected" in problem, f"no expected/actual in {problem!r}")

    def test_the_built_exe_passes_every_check(self):
        results = check_pe.run(self.pe, ARGS.arch, list(check_pe.CHECKS), compiler=ARGS.compiler,
                               build_paths=ARGS.build_path)
        self.assertEqual({name: p for name, p in results.items() if p}, {})

    def test_machine(self):
        other = "i686" if ARGS.arch == "x86_64" else "x86_64"
        self.assertFails(check_pe.check_machine(self.pe, other), "machine type", "optional header")
        offset = self.pe.FILE_HEADER.get_file_offset() + 0  # Machine is the first field
        machine = struct.pack("<H", check_pe.MACHINES[ARGS.arch][0])
        wrong = self.patched(offset, machine, struct.pack("<H", 0xAA64))  # ARM64
        self.assertFails(check_pe.check_machine(wrong, ARGS.arch), "machine type")

    def test_subsystem(self):
        offset = self.pe.OPTIONAL_HEADER.get_field_absolute_offset("Subsystem")
        wrong = self.patched(offset, struct.pack("<H", 2), struct.pack("<H", 3))
        self.assertFails(check_pe.check_subsystem(wrong, ARGS.arch), "IMAGE_SUBSYSTEM_WINDOWS_GUI", "CUI")

    def import_name_offset(self, dll):
        for entry in self.pe.DIRECTORY_ENTRY_IMPORT:
            if entry.dll.upper() == dll.upper():
                return self.pe.get_offset_from_rva(entry.struct.Name), entry.dll
        raise AssertionError(f"the built exe does not import {dll!r}")

    def test_imports(self):
        offset, name = self.import_name_offset(b"USER32.dll")
        runtime = self.patched(offset, name, b"libgcc.dll")
        self.assertFails(check_pe.check_imports(runtime, ARGS.arch), "libgcc.dll is a MinGW runtime DLL")
        offset, name = self.import_name_offset(b"KERNEL32.dll")
        other = self.patched(offset, name, b"zolvhelp.dll")
        self.assertFails(check_pe.check_imports(other, ARGS.arch), "zolvhelp.dll")

    def test_xp(self):
        # SetErrorMode is Windows 2000's; GetErrorMode, of the same length, Vista's.
        offset = self.data.find(b"SetErrorMode\0")
        self.assertGreaterEqual(offset, 0, "the built exe does not import SetErrorMode")
        newer = self.patched(offset, b"SetErrorMode", b"GetErrorMode")
        self.assertFails(check_pe.check_xp(newer, ARGS.arch, ARGS.compiler), "KERNEL32.dll!GetErrorMode")

    def test_stamp(self):
        for offset in (self.pe.FILE_HEADER.get_field_absolute_offset("TimeDateStamp"),
                       self.pe.DIRECTORY_ENTRY_RESOURCE.struct.get_field_absolute_offset("TimeDateStamp")):
            stamped = self.patched(offset, bytes(4), struct.pack("<I", 0x6B177379))
            self.assertFails(check_pe.check_stamp(stamped, ARGS.arch), "0x6b177379")
        # Names the exe holds, in each of the two encodings, stand in for a build path.
        self.assertFails(check_pe.check_stamp(self.pe, ARGS.arch, ["KERNEL32.dll/"]), "KERNEL32.dll", "utf-8")
        self.assertFails(check_pe.check_stamp(self.pe, ARGS.arch, ["ZOLV Loader developers"]), "utf-16-le")

    def test_version_strings(self):
        old, new = "ZOLV Loader developers", "ZOLV Loader Developers"
        wrong = self.patched_in_resource(16, 1, old.encode("utf-16-le"), new.encode("utf-16-le"))
        self.assertFails(check_pe.check_version(wrong, ARGS.arch), "CompanyName", repr(new))
        old, new = "FileDescription", "FileDescriptio_"
        wrong = self.patched_in_resource(16, 1, old.encode("utf-16-le"), new.encode("utf-16-le"))
        self.assertFails(check_pe.check_version(wrong, ARGS.arch), "FileDescription", "missing", "also")
        wrong = self.patched_in_resource(16, 1, "040904B0".encode("utf-16-le"), "040704B0".encode("utf-16-le"))
        self.assertFails(check_pe.check_version(wrong, ARGS.arch), "string tables", "040704B0")

    def test_version_numbers(self):
        fixed = struct.pack("<II", 0xFEEF04BD, 0x10000) + struct.pack("<II", check_pe.VERSION_MS, check_pe.VERSION_LS)
        wrong_fixed = fixed[:8] + struct.pack("<II", 0x00000006, 0)
        wrong = self.patched_in_resource(16, 1, fixed, wrong_fixed)
        self.assertFails(check_pe.check_version(wrong, ARGS.arch), "FILEVERSION: expected 0.5.0.0, actual 0.6.0.0")
        os_type = struct.pack("<II", check_pe.VOS__WINDOWS32, check_pe.VFT_APP)
        wrong = self.patched_in_resource(16, 1, os_type, struct.pack("<II", 0x40004, 2))
        self.assertFails(check_pe.check_version(wrong, ARGS.arch), "FILEOS", "FILETYPE")
        wrong = self.patched_in_resource(16, 1, struct.pack("<HH", 0x0409, 1200), struct.pack("<HH", 0x0409, 1252))
        self.assertFails(check_pe.check_version(wrong, ARGS.arch), "Translation", "0x0409/1252")

    def test_icon_group(self):
        entry = struct.pack("<BBBBHHIH", 32, 32, 16, 0, 1, 4, 744, 30001)
        wrong = self.patched_in_resource(14, 1, entry, entry[:-2] + struct.pack("<H", 30002))
        self.assertFails(check_pe.check_icon(wrong, ARGS.arch), "image id: expected 30001, actual 30002")
        wrong = self.patched_in_resource(14, 1, entry, struct.pack("<BBBBHHIH", 16, 16, 0, 0, 1, 8, 744, 30001))
        self.assertFails(check_pe.check_icon(wrong, ARGS.arch), "32x32", "colours", "bits per pixel")

    def test_icon_image(self):
        header = struct.pack("<IiiHH", 40, 32, 64, 1, 4)
        wrong = self.patched_in_resource(3, 30001, header, header[:-2] + struct.pack("<H", 8))
        self.assertFails(check_pe.check_icon(wrong, ARGS.arch), "biBitCount: expected 4, actual 8")
        light_grey = bytes((0xC0, 0xC0, 0xC0, 0))
        wrong = self.patched_in_resource(3, 30001, light_grey, bytes((0xC0, 0xC0, 0xC1, 0)))
        self.assertFails(check_pe.check_icon(wrong, ARGS.arch), "palette", "entries [7]")
        start, size = resource_offset(self.pe, 3, 30001)
        image = self.data[start : start + size]
        self.assertEqual(check_pe.check_icon(self.pe, ARGS.arch, image), [])
        changed = image[:200] + bytes((image[200] ^ 0xFF,)) + image[201:]
        self.assertFails(check_pe.check_icon(self.pe, ARGS.arch, changed), "image made from app/icon.txt")

    def test_manifest_in_the_exe(self):
        wrong = self.patched_in_resource(24, 1, b'"asInvoker"', b'"asInvokeR"')
        self.assertFails(check_pe.check_manifest(wrong, ARGS.arch), "requestedExecutionLevel", "asInvokeR")

    def test_manifest_text(self):
        start, size = resource_offset(self.pe, 24, 1)
        text = self.data[start : start + size].decode("utf-8")
        self.assertEqual(check_pe.check_manifest_text(text), [])
        cases = [
            (text.replace('"asInvoker"', '"requireAdministrator"'), "requestedExecutionLevel"),
            (text.replace(">true/pm</dpiAware>", ">true</dpiAware>"), "dpiAware"),
            (text.replace("SMI/2005/WindowsSettings", "SMI/2016/WindowsSettings"), "dpiAware"),
            (text.replace(">PerMonitorV2, PerMonitor<", ">System<"), "dpiAwareness"),
            (text.replace("{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{00000000-0000-0000-0000-000000000000}"),
             "Windows 8.1"),
            (text.replace("</assembly>", """<dependency><dependentAssembly><assemblyIdentity type="win32"
                 name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="*"
                 publicKeyToken="6595b64144ccf1df" language="*"/></dependentAssembly></dependency></assembly>"""),
             "Common-Controls"),
            (text.replace("</assembly>", ""), "well-formed"),
        ]
        for broken, word in cases:
            with self.subTest(word):
                self.assertFails(check_pe.check_manifest_text(broken), word)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--arch", required=True, choices=sorted(check_pe.MACHINES))
    parser.add_argument("--compiler", required=True)
    parser.add_argument("--build-path", action="append", default=[])
    parser.add_argument("exe")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], "-v"] + rest)
