#!/usr/bin/env bash
# Installs what the builds and tests need on Debian, only what is missing.
set -euo pipefail
. "$(dirname "$0")/x86-32.sh"

packages=(
    cmake make g++ googletest               # native build and its tests
    g++-mingw-w64-x86-64-posix              # 64-bit Windows build, run under 64-bit Wine
    g++-mingw-w64-i686-posix                # 32-bit Windows build, the one to ship
    wine wine64 fonts-wine                  # 64-bit Wine: /usr/lib/wine/wine64, and its fonts
    xvfb x11-utils imagemagick xdotool      # a display for the window tests, screenshots
    python3 python3-pefile                  # reading the built exe's resources and imports
)
# 32-bit Wine (/usr/lib/wine/wine) runs the 32-bit build, where the machine
# executes 32-bit programs at all.
wine32=0
if runs_32bit_code; then
    wine32=1
    packages+=(wine32:i386)
else
    echo "This machine does not run 32-bit programs: 32-bit Wine is not installed, and the 32-bit build will be built and inspected but not run."
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if [ "$wine32" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
# A mirror caught mid-sync fails one index or two; the others still serve
# the install, which says plainly if a package is not to be had.
apt-get update -qq || echo "apt-get update failed in part; installing from the lists it has" >&2
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
