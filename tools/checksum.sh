#!/usr/bin/env bash
# Builds the 32-bit ZOLVLOAD.exe, the one that ships, from this source tree
# and prints its SHA-256, to compare with a download's:
#
#     tools/checksum.sh [BUILD_DIR]      (default: build/win32)
#
# The exe is the same byte for byte wherever and whenever it is built, given
# the same toolchain: the versions that decide its bytes are printed with it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win32}

mkdir -p "$build"
log=$build/checksum.log
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log" 2>&1 &&
    cmake --build "$build" --target ZOLVLOAD -j "${ZOLV_JOBS:-$(nproc)}" >>"$log" 2>&1 ||
    { cat "$log"; exit 1; }

echo "Built with: $(cmake --version | head -n 1)"
dpkg-query -W -f='            ${Package} ${Version}\n' g++-mingw-w64-i686-posix \
    binutils-mingw-w64-i686 mingw-w64-i686-dev 2>/dev/null || true
sha256sum "$build/app/ZOLVLOAD.exe"
