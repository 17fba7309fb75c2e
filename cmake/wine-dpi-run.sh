#!/bin/sh
# Runs one Windows program for ctest in a session of its own whose prefix is
# set to a DPI before it boots: wine-dpi-run.sh DPI RUNNER LOADER PROGRAM [ARGS...],
# RUNNER and LOADER being the build's cmake/wine-run.sh and Wine loader.
dpi=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
unset WINEPREFIX
. "$root/tools/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start 1 "$dpi"
"$@"
