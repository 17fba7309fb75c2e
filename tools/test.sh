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

status=0

# The same bytes from the same sources: the 32-bit exe and the zip that
# ships it, made again from a copy of the sources elsewhere into a build
# directory elsewhere, in another time zone, locale and umask, by that
# copy's own tools/release.sh, must equal the ones just built.
same_bytes() {
    local again=$build/again started=$SECONDS
    rm -rf "$again"
    mkdir -p "$again/sources-copied"
    # What a checkout of this tree holds: the tracked files as they are now
    # and the new ones not yet added; not the build.
    if git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
        git -C "$root" ls-files -z --cached --others --exclude-standard |
            while IFS= read -r -d '' file; do [ -e "$root/$file" ] && printf '%s\0' "$file"; done |
            tar -C "$root" --null -T - -cf - | tar -C "$again/sources-copied" -xf -
    else
        tar -C "$root" --exclude=./build -cf - . | tar -C "$again/sources-copied" -xf -
    fi
    (umask 077 && TZ=Pacific/Kiritimati LC_ALL=C "$again/sources-copied/tools/release.sh" \
        "$again/build-elsewhere") >"$again.log" 2>&1 || { cat "$again.log"; return 1; }
    local zip_here zip_there
    zip_here=$(sed -n 's/^ZOLV_RELEASE_ZIP:INTERNAL=//p' "$build/win32/CMakeCache.txt")
    zip_there=$(sed -n 's/^ZOLV_RELEASE_ZIP:INTERNAL=//p' "$again/build-elsewhere/CMakeCache.txt")
    same_file "the 32-bit exe" "$build/win32/app/ZOLVLOAD.exe" "$again/build-elsewhere/app/ZOLVLOAD.exe" &&
        same_file "the zip" "$zip_here" "$zip_there" || return 1
    echo "The same bytes (the second build took $((SECONDS - started)) s)."
    rm -rf "$again" "$again.log"
}
same_file() {  # what first second
    local what=$1 first=$2 second=$3
    sha256sum "$first" "$second"
    cmp -s "$first" "$second" && return 0
    echo "FAIL: the two builds of $what differ; kept are $build/win32 and $build/again"
    return 1
}
echo "== same bytes: the 32-bit exe and its zip built twice"
same_bytes || status=1

. "$root/tools/wine-session.sh"
trap wine_session_stop EXIT

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
