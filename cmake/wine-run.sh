#!/bin/sh
# Runs one Windows program under 64-bit Wine for ctest.
# tools/test.sh prepares a fresh prefix, a display and a virtual desktop and
# exports WINEPREFIX; run on its own, this makes a throw-away prefix for the call.
export WINEDEBUG="${WINEDEBUG:--all}"
if [ -z "${WINEPREFIX:-}" ]; then
    WINEPREFIX=$(mktemp -d /tmp/zolv-wine.XXXXXX)
    export WINEPREFIX
    trap '/usr/lib/wine/wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
    /usr/lib/wine/wine64 "$@"
    exit $?
fi
exec /usr/lib/wine/wine64 "$@"
