#!/usr/bin/env bash
# Screenshots for the README, taken under Xvfb in fresh Wine prefixes with a
# small emulator directory to show: the main window and both windows at 96
# DPI, and the main window at 144 DPI.
#   tools/screenshot.sh [build/win64/app/ZOLVLOAD.exe] [output directory]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(realpath "${1:-$root/build/win64/app/ZOLVLOAD.exe}")
out=$(realpath "${2:-$root/docs}")
. "$root/tools/wine-session.sh"
trap wine_session_stop EXIT

# The windows start at the desktop's top left; the picture is cut to them by
# trimming the desktop's colour, taken from the bottom right corner.
capture() {  # file
    local shot
    shot=$(mktemp /tmp/zolv-shot.XXXXXX.png)
    import -window root -crop 1024x768+0+0 +repage "$shot"
    local desktop
    desktop=$(convert "$shot" -format '%[pixel:p{1023,767}]' info:)
    convert "$shot" -bordercolor "$desktop" -border 1 -trim +repage "$1"
    rm -f "$shot"
}

session() {  # dpi name [about]
    wine_session_start 1 "$1"
    local games="$WINEPREFIX/drive_c/Games/ZOLV"
    mkdir -p "$games/cfg" "$games/roms" "$games/snap"
    (cd "$games" && exec "$WINE64" "$exe") &
    local program=$!
    sleep 4
    capture "$out/$2.png"
    if [ -n "${3:-}" ]; then
        # Alt+H, then A: the About window opens beside the main window.
        xdotool key alt+h && sleep 0.5 && xdotool key a && sleep 2
        capture "$out/$3.png"
    fi
    kill "$program" 2>/dev/null || true
    wine_session_stop
}

session 96 main-window both-windows
session 144 main-window-144dpi
echo "Screenshots in $out"
