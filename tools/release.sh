#!/usr/bin/env bash
# Makes the download for Windows users from this source tree, run on the
# version's tagged commit:
#
#     tools/release.sh [BUILD_DIR]      (default: build/win32)
#
# Builds the 32-bit ZOLVLOAD.exe as tools/checksum.sh does, zips it with its
# guide (app/guide.txt) into build/release/zolv-loader-<version>-win32.zip and
# prints the SHA-256 of both, to publish with the zip. The zip is the same
# byte for byte wherever and whenever it is made, given the same packages:
# the versions that decide its bytes are printed with it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win32}

"$root/tools/checksum.sh" "$build"
cmake --build "$build" --target release_zip >>"$build/checksum.log" 2>&1 ||
    { cat "$build/checksum.log"; exit 1; }
made=$(sed -n 's/^ZOLV_RELEASE_ZIP:INTERNAL=//p' "$build/CMakeCache.txt")
mkdir -p "$root/build/release"
zip=$root/build/release/$(basename "$made")
cp "$made" "$zip"

/usr/bin/python3 -c 'import platform, zlib
print(f"Zipped with: Python {platform.python_version()}, zlib {zlib.ZLIB_RUNTIME_VERSION}")'
dpkg-query -W -f='             ${Package} ${Version}\n' python3 "zlib1g:$(dpkg --print-architecture)" \
    2>/dev/null || true
sha256sum "$zip"
