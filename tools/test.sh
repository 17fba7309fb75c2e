#!/usr/bin/env bash
# Installs what is missing, builds the three builds and runs every test:
# the logic natively (with AddressSanitizer and UBSan); the logic, the Win32
# adapters, the real window and the inspection of the exe for each Windows
# build, the 64-bit one under 64-bit Wine and the 32-bit one under 32-bit
# Wine. Where this machine cannot run 32-bit programs, the 32-bit build is
# built and inspected only, and the log says so. Ends with ctest's summary
# for each build.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZOLV_BUILD_DIR:-$root/build}
jobs=${ZOLV_JOBS:-$(nproc)}

"$root/tools/setup.sh" || exit 1
. "$root/tools/x86-32.sh"
if has_wine32; then run_win32=ON; else run_win32=OFF; fi

configure_and_build() {  # name [cmake options...]
    local name=$1
    shift
    cmake -S "$root" -B "$build/$name" "$@" >"$build/$name.configure.log" 2>&1 ||
        { cat "$build/$name.configure.log"; return 1; }
    cmake --build "$build/$name" -j "$jobs" 2>&1 | grep -E 'warning|error|Error' ; test "${PIPESTATUS[0]}" -eq 0
}

mkdir -p "$build"
# Unoptimised: the sanitised logic tests build in a third of the time and run in a blink.
configure_and_build native -DCMAKE_BUILD_TYPE=Debug || exit 1
configure_and_build win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" || exit 1
configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DZOLV_RUN_TESTS=$run_win32 || exit 1

. "$root/tools/wine-session.sh"
trap wine_session_stop EXIT

status=0
for name in native win64 win32; do
    echo "== ctest: $name"
    if [ "$name" = win32 ]; then
        if [ "$run_win32" = ON ]; then
            echo "The 32-bit build runs every test under 32-bit Wine."
        else
            echo "This machine cannot run 32-bit programs: the 32-bit build was built and inspected, not run."
        fi
    fi
    # Each Windows build gets a fresh prefix, so neither sees what the other left.
    [ "$name" != native ] && wine_session_start 1
    (cd "$build/$name" && ctest --output-on-failure --timeout 300) || status=1
    [ "$name" != native ] && wine_session_stop
done
exit $status
