#!/usr/bin/env bash
# Installs what is missing, builds the three builds and runs every test:
# the logic natively (with AddressSanitizer and UBSan), the logic, the Win32
# adapters and the real window under 64-bit Wine, and the inspection of both
# Windows executables. Ends with ctest's summary for each build.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZOLV_BUILD_DIR:-$root/build}
jobs=${ZOLV_JOBS:-$(nproc)}

"$root/tools/setup.sh" || exit 1

configure_and_build() {  # name [cmake options...]
    local name=$1
    shift
    cmake -S "$root" -B "$build/$name" "$@" >"$build/$name.configure.log" 2>&1 ||
        { cat "$build/$name.configure.log"; return 1; }
    cmake --build "$build/$name" -j "$jobs" 2>&1 | grep -E 'warning|error|Error' ; test "${PIPESTATUS[0]}" -eq 0
}

mkdir -p "$build"
configure_and_build native || exit 1
configure_and_build win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" || exit 1
configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" || exit 1

. "$root/tools/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start 1

status=0
for name in native win64 win32; do
    echo "== ctest: $name"
    (cd "$build/$name" && ctest --output-on-failure --timeout 300) || status=1
done
exit $status
