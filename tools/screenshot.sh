#!/usr/bin/env bash
# Screenshots of both windows for the README, taken under Xvfb in a fresh Wine
# prefix with a small emulator directory to show:
#   tools/screenshot.sh [build/win64/app/ZOLVLOAD.exe] [output directory]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(realpath "${1:-$root/build/win64/app/ZOLVLOAD.exe}")
out=$(realpath "${2:-$root/docs}")
. "$root/tools/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start 1

games="$WINEPREFIX/drive_c/Games/ZOLV"
mkdir -p "$games/cfg" "$games/roms" "$games/snap"
cd "$games"
"$WINE64" "$exe" &
program=$!
sleep 4
import -window root -crop 316x298+0+0 +repage "$out/main-window.png"

# Alt+H, then A: the About window opens beside the main window.
xdotool key alt+h && sleep 0.5 && xdotool key a && sleep 2
import -window root -crop 640x320+0+0 +repage "$out/both-windows.png"
kill "$program" 2>/dev/null || true
echo "Screenshots in $out"
