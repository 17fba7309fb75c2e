#!/usr/bin/env bash
# Builds the 64-bit ZOLVLOAD.exe and starts it under Wine, in the user's Wine
# prefix (WINEPREFIX if set) and in the directory this is run from, which is
# where the program's drive and directory lists start. The prefix is made
# first where it is new, and gets the Wine fonts it lacks
# (tools/wine-fonts.sh), so that the window shows in the faces it is
# designed in.
#
# Without a display it says so and runs the program under Xvfb instead,
# writing a screenshot of the window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZOLV_BUILD_DIR:-$root/build}
here=$(pwd)

"$root/tools/setup.sh"
mkdir -p "$build"
cmake -S "$root" -B "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    >"$build/win64.configure.log" 2>&1 || { cat "$build/win64.configure.log"; exit 1; }
cmake --build "$build/win64" --target ZOLVLOAD -j "$(nproc)" | grep -E 'warning|error' || true
exe="$build/win64/app/ZOLVLOAD.exe"
[ -f "$exe" ] || { echo "The build made no $exe" >&2; exit 1; }

export WINEDEBUG=${WINEDEBUG:--all}
prefix=${WINEPREFIX:-$HOME/.wine}
. "$root/tools/wine-fonts.sh"

# A new prefix is made first, so that the fonts go into the prefix Wine
# made, and so that a screenshot shows the program rather than Wine setting up.
prepare_prefix() {
    local added
    [ -f "$prefix/system.reg" ] || /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
    added=$(wine_prefix_fonts "$prefix" | wc -l)
    [ "$added" -eq 0 ] ||
        echo "Linked $added of Wine's own fonts into the prefix's windows\\Fonts (tools/wine-fonts.sh)."
}

cd "$here"
if [ -n "${DISPLAY:-}" ]; then
    prepare_prefix
    echo "Starting $exe under Wine (prefix $prefix)"
    exec /usr/lib/wine/wine64 "$exe"
fi

shot="$build/zolvload-screenshot.png"
echo "There is no display (DISPLAY is not set), so ZOLV Loader runs under Xvfb;"
echo "a screenshot of its window goes to $shot."
n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=":$n"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

prepare_prefix
# A virtual desktop gives the window its frame.
/usr/lib/wine/wine64 explorer /desktop=zolv,640x480 "$exe" &
program=$!
sleep "${ZOLV_SCREENSHOT_WAIT:-5}"
import -window root -crop 640x480+0+0 "$shot"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
echo "Screenshot: $shot"
