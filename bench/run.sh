#!/usr/bin/env bash
# Start-up time of ZOLVLOAD.exe against a minimal one-window program, both
# from the 64-bit Windows build, under 64-bit Wine on a display of its own.
# Not part of the tests.
#
#   bench/run.sh [WIN64_BUILD_DIR] [--runs N] [--win32 WIN32_BUILD_DIR]
#                [--caption TEXT] [--self-test]
#
#   WIN64_BUILD_DIR  the x86_64 build (default: build/win64 under the repo);
#                    configured here with cmake/mingw-x86_64.cmake if it is new
#   --runs N         starts of each program (default 30)
#   --win32 DIR      also build the i686 ZOLVLOAD.exe there and report its size
#   --caption TEXT   the caption of ZOLVLOAD's window (default "ZOLV Loader")
#   --self-test      time the minimal program against itself (checks the harness)
#
# Needs bench/ in the build: the top CMakeLists.txt has
#   if(WIN32) add_subdirectory(bench) endif()
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

build=$root/build/win64
runs=30
win32=
caption="ZOLV Loader"
self_test=0
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then build=$1; shift; fi
while [ $# -gt 0 ]; do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        --win32) win32=$2; shift 2 ;;
        --caption) caption=$2; shift 2 ;;
        --self-test) self_test=1; shift ;;
        *) sed -n '2,20s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
    esac
done

build_targets() {  # build-dir toolchain target...
    local dir=$1 toolchain=$2
    shift 2
    cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" >"$dir.bench-configure.log" 2>&1 ||
        { cat "$dir.bench-configure.log" >&2; exit 1; }
    cmake --build "$dir" -j "$(nproc)" --target "$@" >"$dir.bench-build.log" 2>&1 ||
        { cat "$dir.bench-build.log" >&2; exit 1; }
}

mkdir -p "$build"
build=$(cd "$build" && pwd)
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >"$build.bench-configure.log" 2>&1 ||
    { cat "$build.bench-configure.log" >&2; exit 1; }
if [ ! -d "$build/bench/CMakeFiles" ]; then
    echo "bench/ is not in the build: add 'if(WIN32) add_subdirectory(bench) endif()' to $root/CMakeLists.txt" >&2
    exit 1
fi
echo "Building in $build"
build_targets "$build" mingw-x86_64.cmake ZOLVLOAD minimal_window startup_bench
if [ -n "$win32" ]; then
    mkdir -p "$win32"
    win32=$(cd "$win32" && pwd)
    echo "Building in $win32"
    build_targets "$win32" mingw-i686.cmake ZOLVLOAD
fi

# Z: is the Unix root in every prefix.
windows_path() { printf 'Z:%s' "$(readlink -f "$1" | tr / '\\')"; }
zolvload=$build/app/ZOLVLOAD.exe
minimal=$build/bench/minimal_window.exe
minimal_caption="ZOLV Minimal Window"
if [ "$self_test" = 1 ]; then
    target=(--target "$(windows_path "$minimal")" "$minimal_caption")
else
    target=(--target "$(windows_path "$zolvload")" "$caption")
fi
args=(--runs "$runs" "${target[@]}" --baseline "$(windows_path "$minimal")" "$minimal_caption"
      --size "ZOLVLOAD.exe (x86_64)" "$(windows_path "$zolvload")")
[ -n "$win32" ] && args+=(--size "ZOLVLOAD.exe (i686)" "$(windows_path "$win32/app/ZOLVLOAD.exe")")

# A display of its own and a throw-away prefix; wine_session_stop kills the
# prefix's wineserver (and every Wine process in it) and Xvfb by its PID.
. "$root/tools/wine-session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM
echo "Starting Xvfb and a Wine prefix"
wine_session_start 1
echo "Display $DISPLAY, prefix $WINEPREFIX"
echo
# Wine's own messages (the started programs' too) go to a log, not into the figures.
wine_log=$build.bench-wine.log
status=0
"$WINE64" "$build/bench/startup_bench.exe" "${args[@]}" 2>"$wine_log" || status=$?
if [ "$status" -ne 0 ]; then
    cat "$wine_log" >&2
    exit "$status"
fi
[ -s "$wine_log" ] && echo "($(wc -l <"$wine_log") lines of Wine's own messages in $wine_log)"

# The builds keep debug information (RelWithDebInfo); the sizes without it:
stripped=$(mktemp -d)
strip_size() {  # label strip-program exe
    "$2" -o "$stripped/exe" "$3" && printf 'stripped %-24s %10d bytes\n' "$1" "$(stat -c %s "$stripped/exe")"
}
strip_size "ZOLVLOAD.exe (x86_64)" x86_64-w64-mingw32-strip "$zolvload"
[ -n "$win32" ] && strip_size "ZOLVLOAD.exe (i686)" i686-w64-mingw32-strip "$win32/app/ZOLVLOAD.exe"
strip_size "minimal_window.exe" x86_64-w64-mingw32-strip "$minimal"
rm -rf "$stripped"
