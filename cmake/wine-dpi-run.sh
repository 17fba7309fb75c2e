#!/bin/sh
# Runs one Windows program for ctest in a session of its own whose prefix is
# set to a DPI before it boots: wine-dpi-run.sh DPI program [arguments...]
dpi=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
unset WINEPREFIX
. "$root/tools/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start 1 "$dpi"
"$root/cmake/wine-run.sh" "$@"
