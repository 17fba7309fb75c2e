#!/usr/bin/env bash
# Runs one Windows program for ctest in a session of its own, whose prefix is
# set to a DPI before it boots and has Wine's own fonts or not:
#   wine-session-run.sh DPI wine-fonts|no-wine-fonts RUNNER LOADER PROGRAM [ARGS...],
# RUNNER and LOADER being the build's cmake/wine-run.sh and Wine loader.
dpi=$1
fonts=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
unset WINEPREFIX
. "$root/tools/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start 1 "$dpi" "$fonts"
"$@"
