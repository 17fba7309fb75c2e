#!/usr/bin/python3
"""Checks the download for Windows users, the zip tools/release.sh ships.

    check_zip.py ZIP EXE

The zip must hold exactly ZOLVLOAD.exe, byte for byte EXE, and README.txt,
a guide Notepad shows whole on any Windows (ASCII, CRLF, lines within 78
columns) that names the version EXE's version record carries, as the zip's
name does; and no entry may carry a time, attribute or extra field that
would make another build's zip differ. Prints each problem; exits 1 on any.
"""

import functools
import os
import re
import sys
import zipfile

try:
    import pefile
except ImportError:
    sys.exit("check_zip.py needs pefile: install Debian's python3-pefile")

ENTRIES = ["ZOLVLOAD.exe", "README.txt"]
LONGEST_LINE = 78


@functools.lru_cache
def record_version(exe_path):
    """major.minor.revision from the exe's VS_FIXEDFILEINFO, as the About window writes it."""
    pe = pefile.PE(exe_path, fast_load=False)
    fixed = pe.VS_FIXEDFILEINFO[0]
    return f"{fixed.FileVersionMS >> 16}.{fixed.FileVersionMS & 0xFFFF}.{fixed.FileVersionLS >> 16}"


def check_entries(archive, exe):
    problems = []
    names = [info.filename for info in archive.infolist()]
    if names != ENTRIES:
        problems.append(f"entries: expected {ENTRIES}, actual {names}")
    for info in archive.infolist():
        found = (info.date_time, info.compress_type, info.create_system, info.external_attr,
                 info.flag_bits, info.extra, info.comment)
        if found != ((1980, 1, 1, 0, 0, 0), zipfile.ZIP_DEFLATED, 0, 0x20, 0, b"", b""):
            problems.append(f"{info.filename}: expected 1980-01-01 00:00, deflated, DOS, only the archive "
                            f"attribute, no flags, extra field or comment; actual {found}")
    if archive.comment:
        problems.append(f"zip comment: expected none, actual {archive.comment!r}")
    if "ZOLVLOAD.exe" in names and archive.read("ZOLVLOAD.exe") != exe:
        problems.append("ZOLVLOAD.exe: expected the built exe's bytes, actual other bytes")
    return problems


def check_guide(guide, version):
    problems = []
    if re.search(rb"[^\r\n\x20-\x7e]", guide):
        problems.append("README.txt: expected printable ASCII, actual a tab, control or non-ASCII byte")
    if re.search(rb"(?<!\r)\n|\r(?!\n)", guide) or not guide.endswith(b"\r\n"):
        problems.append("README.txt: expected every line to end in CRLF, actual a bare LF or CR, or none")
    for number, line in enumerate(guide.split(b"\r\n"), 1):
        if len(line) > LONGEST_LINE:
            problems.append(f"README.txt line {number}: expected at most {LONGEST_LINE} columns, actual {len(line)}")
    if f"Version {version}".encode() not in guide:
        problems.append(f"README.txt: expected it to name 'Version {version}', the exe's version record; it does not")
    return problems


def check(zip_path, exe_path):
    with open(exe_path, "rb") as f:
        exe = f.read()
    version = record_version(exe_path)
    problems = []
    expected_name = f"zolv-loader-{version}-win32.zip"
    if os.path.basename(zip_path) != expected_name:
        problems.append(f"zip name: expected {expected_name}, actual {os.path.basename(zip_path)}")
    with zipfile.ZipFile(zip_path) as archive:
        problems += check_entries(archive, exe)
        if "README.txt" in archive.namelist():
            problems += check_guide(archive.read("README.txt"), version)
    return problems


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    problems = check(sys.argv[1], sys.argv[2])
    for problem in problems:
        print(f"FAIL {problem}")
    if not problems:
        print(f"ok   {sys.argv[1]}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
