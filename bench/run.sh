#!/usr/bin/env bash
# Start-up of ZOLVLOAD.exe against two baselines, all from the 64-bit Windows
# build, under 64-bit Wine on a display of its own. Not part of the tests.
#   minimal_window  one empty window: what any Win32 program costs
#   same_window     ZOLVLOAD's main window with nothing behind it (the same
#                   class, menu, controls, fonts and lines, the drive letters,
#                   a plain list box filled from the start directory)
# First all three start in turn in one directory: medians, ratios, memory at
# idle. Then ZOLVLOAD and same_window start in turn in directories of 100,
# 1,000 and 10,000 subdirectories, made in a temporary directory and deleted
# afterwards, to show how start-up grows with the directory list. Last, both
# open the directory of 10,000 in their lists, started in its parent.
#
#   bench/run.sh [WIN64_BUILD_DIR] [--runs N] [--win32 WIN32_BUILD_DIR]
#                [--caption TEXT] [--no-dirs] [--no-wine-fonts] [--self-test]
#
#   WIN64_BUILD_DIR  the x86_64 build (default: build/win64 under the repo);
#                    configured here with cmake/mingw-x86_64.cmake if it is new
#   --runs N         starts of each program in each comparison (default 15)
#   --win32 DIR      also build the i686 ZOLVLOAD.exe there and report its size
#   --caption TEXT   the caption of ZOLVLOAD's window (default "ZOLV Loader")
#   --no-dirs        skip the large directories
#   --no-wine-fonts  run in a prefix without Wine's own fonts, as Debian's
#                    Wine makes it, where MS Sans Serif is a wider face
#   --self-test      time the minimal program against itself (checks the harness)
#
# Needs bench/ in the build: the top CMakeLists.txt has
#   if(WIN32) add_subdirectory(bench) endif()
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

build=$root/build/win64
runs=15
win32=
caption="ZOLV Loader"
dirs=1
fonts=
self_test=0
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then build=$1; shift; fi
while [ $# -gt 0 ]; do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        --win32) win32=$2; shift 2 ;;
        --caption) caption=$2; shift 2 ;;
        --no-dirs) dirs=0; shift ;;
        --no-wine-fonts) fonts=no-wine-fonts; shift ;;
        --self-test) self_test=1; shift ;;
        *) sed -n '2,27s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
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
build_targets "$build" mingw-x86_64.cmake ZOLVLOAD minimal_window same_window startup_bench
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
same=$build/bench/same_window.exe
zolvload_program=(ZOLVLOAD "$(windows_path "$zolvload")" "$caption")
minimal_program=(minimal_window "$(windows_path "$minimal")" "ZOLV Minimal Window")
same_program=(same_window "$(windows_path "$same")" "ZOLV Same Window")
sizes=(--size "ZOLVLOAD.exe (x86_64)" "$(windows_path "$zolvload")")
[ -n "$win32" ] && sizes+=(--size "ZOLVLOAD.exe (i686)" "$(windows_path "$win32/app/ZOLVLOAD.exe")")

# The directories to start in: one with only the three below it, and those
# three with their 100, 1,000 and 10,000 subdirectories.
fixture=$(mktemp -d /tmp/zolv-bench.XXXXXX)
counts=(100 1000 10000)
if [ "$dirs" = 1 ]; then
    echo "Making directories of ${counts[*]} subdirectories in $fixture"
    for n in "${counts[@]}"; do
        mkdir "$fixture/d$n"
        (cd "$fixture/d$n" && seq -f "Game %05g" "$n" | xargs -d '\n' mkdir)
    done
fi

# A display of its own and a throw-away prefix; wine_session_stop kills the
# prefix's wineserver (and every Wine process in it) and Xvfb by its PID.
. "$root/tools/wine-session.sh"
cleanup() { wine_session_stop; rm -rf "$fixture"; }
trap cleanup EXIT
trap 'exit 130' INT TERM
echo "Starting Xvfb and a Wine prefix"
wine_session_start 1 96 $fonts
if [ -n "$fonts" ]; then kind="without Wine's fonts"; else kind="with Wine's fonts"; fi
echo "Display $DISPLAY, prefix $WINEPREFIX ($kind)"

# Wine's own messages (the started programs' too) go to a log, not into the figures.
wine_log=$build.bench-wine.log
: >"$wine_log"
bench() {  # startup_bench arguments; its report goes to stdout and into $report
    echo
    local status=0
    "$WINE64" "$build/bench/startup_bench.exe" --runs "$runs" "$@" 2>>"$wine_log" | tee "$report" ||
        status=$?
    if [ "$status" -ne 0 ]; then
        cat "$wine_log" >&2
        exit "$status"
    fi
}
median() { awk -v label="$1" '$1 == "median" && $2 == label { print $3 }' "$report"; }
report=$fixture/report

if [ "$self_test" = 1 ]; then
    bench --cwd "$(windows_path "$fixture")" --target "${minimal_program[@]}" \
        --baseline "${minimal_program[@]}"
    exit 0
fi

echo
echo "== Start-up and memory, all three started in $fixture"
bench --memory --cwd "$(windows_path "$fixture")" --target "${zolvload_program[@]}" \
    --baseline "${same_program[@]}" --baseline "${minimal_program[@]}" \
    "${sizes[@]}"

growth=()
if [ "$dirs" = 1 ]; then
    for n in "${counts[@]}"; do
        echo
        echo "== Started in a directory of $n subdirectories"
        bench --cwd "$(windows_path "$fixture/d$n")" --target "${zolvload_program[@]}" \
            --baseline "${same_program[@]}"
        growth+=("$n $(median ZOLVLOAD) $(median same_window)")
    done
    echo
    echo "== Growth with the directory (medians, ms; per 1,000: the rise from the row above)"
    printf '%-8s %10s %12s %7s %14s %16s\n' subdirs ZOLVLOAD same_window ratio "per 1,000" "same per 1,000"
    previous=
    for row in "${growth[@]}"; do
        read -r n z s <<<"$row"
        if [ -n "$previous" ]; then
            read -r pn pz ps <<<"$previous"
            slope=$(awk -v a="$pz" -v b="$z" -v m="$pn" -v n="$n" 'BEGIN { printf "%.1f", (b - a) * 1000 / (n - m) }')
            same_slope=$(awk -v a="$ps" -v b="$s" -v m="$pn" -v n="$n" 'BEGIN { printf "%.1f", (b - a) * 1000 / (n - m) }')
        else
            slope=- same_slope=-
        fi
        printf '%-8s %10s %12s %7s %14s %16s\n' "$n" "$z" "$s" \
            "$(awk -v a="$z" -v b="$s" 'BEGIN { printf "%.2f", a / b }')" "$slope" "$same_slope"
        previous=$row
    done

    n=${counts[-1]}
    echo
    echo "== Opening the directory of $n subdirectories in the list, both started in $fixture"
    bench --cwd "$(windows_path "$fixture")" --open "d$n" --target "${zolvload_program[@]}" \
        --baseline "${same_program[@]}"
fi
echo
[ -s "$wine_log" ] && echo "($(wc -l <"$wine_log") lines of Wine's own messages in $wine_log)"

# The builds keep debug information (RelWithDebInfo); the sizes without it:
stripped=$(mktemp -d)
strip_size() {  # label strip-program exe
    "$2" -o "$stripped/exe" "$3" && printf 'stripped %-24s %10d bytes\n' "$1" "$(stat -c %s "$stripped/exe")"
}
strip_size "ZOLVLOAD.exe (x86_64)" x86_64-w64-mingw32-strip "$zolvload"
[ -n "$win32" ] && strip_size "ZOLVLOAD.exe (i686)" i686-w64-mingw32-strip "$win32/app/ZOLVLOAD.exe"
strip_size "same_window.exe" x86_64-w64-mingw32-strip "$same"
strip_size "minimal_window.exe" x86_64-w64-mingw32-strip "$minimal"
rm -rf "$stripped"
