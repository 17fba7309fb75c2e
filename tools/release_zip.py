#!/usr/bin/python3
"""Makes the download for Windows users: one zip with the exe and the guide.

    release_zip.py --version VERSION EXE GUIDE ZIP

The zip holds ZOLVLOAD.exe, the exe's bytes unchanged, then README.txt, the
guide with "@VERSION@" replaced by VERSION and Windows line ends, so that
Notepad on any Windows shows it whole.

The zip is the same bytes from the same inputs, wherever and whenever it is
made: every entry has the same time, attributes and compression, no extra
field and no comment, and nothing is read from the files' own time, mode or
owner. Only the deflated bytes depend on something outside: zlib's version,
which is the same for the same Debian package (tools/release.sh prints it).
"""

import argparse
import io
import sys
import zipfile

# 1980-01-01 00:00, the earliest time a zip entry can hold.
ENTRY_TIME = (1980, 1, 1, 0, 0, 0)
MSDOS = 0  # made on FAT: the attributes below are DOS attributes
# A plain file, as Windows' own zipping marks one: not read-only, not
# hidden. Not 0 either, which zipfile would turn into Unix permissions.
FILE_ATTRIBUTE_ARCHIVE = 0x20
DEFLATE_LEVEL = 9


def entry(name):
    info = zipfile.ZipInfo(name, date_time=ENTRY_TIME)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = MSDOS
    info.create_version = info.extract_version = 20  # deflate, no zip64
    info.external_attr = FILE_ATTRIBUTE_ARCHIVE
    return info


def guide_text(guide, version):
    text = guide.replace("\r\n", "\n").replace("@VERSION@", version)
    if not text.endswith("\n"):
        text += "\n"
    return text.replace("\n", "\r\n").encode("ascii")


def make_zip(exe, guide, version):
    """The zip's bytes: made in memory, so the writer can seek back to each
    entry's header and never falls back to data descriptors."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as archive:
        archive.writestr(entry("ZOLVLOAD.exe"), exe, compresslevel=DEFLATE_LEVEL)
        archive.writestr(entry("README.txt"), guide_text(guide, version), compresslevel=DEFLATE_LEVEL)
    return buffer.getvalue()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--version", required=True, help="the program's version, as in the zip's name")
    parser.add_argument("exe")
    parser.add_argument("guide")
    parser.add_argument("zip")
    args = parser.parse_args()
    with open(args.exe, "rb") as f:
        exe = f.read()
    with open(args.guide, encoding="ascii") as f:
        guide = f.read()
    with open(args.zip, "wb") as f:
        f.write(make_zip(exe, guide, args.version))
    return 0


if __name__ == "__main__":
    sys.exit(main())
