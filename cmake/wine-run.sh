#!/bin/sh
# Runs one Windows program under Wine for ctest: wine-run.sh LOADER PROGRAM [ARGS...],
# where LOADER is /usr/lib/wine/wine64 for the 64-bit build and
# /usr/lib/wine/wine for the 32-bit one (the toolchain files name it).
# tools/test.sh prepares a fresh prefix, a display and a virtual desktop and
# exports WINEPREFIX; run on its own, this makes a throw-away prefix for the call.
loader=$1
shift
export WINEDEBUG="${WINEDEBUG:--all}"
if [ -z "${WINEPREFIX:-}" ]; then
    WINEPREFIX=$(mktemp -d /tmp/zolv-wine.XXXXXX)
    export WINEPREFIX
    trap '/usr/lib/wine/wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
    "$loader" "$@"
    exit $?
fi
exec "$loader" "$@"
