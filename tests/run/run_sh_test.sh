#!/usr/bin/env bash
# tools/run.sh as a new user runs it on Linux: a new HOME, so a new Wine
# prefix, and no display. The prefix must then give the windows' faces as
# themselves and have Marlett, which the window tests' WineFonts test checks
# there, and a second run must change nothing, nor touch a font file of the
# user's own.
#   run_sh_test.sh SOURCE-ROOT BUILDS-DIRECTORY COMMAND-THAT-CHECKS-THE-FACES...
set -uo pipefail
root=$1 builds=$2
shift 2
home=$(mktemp -d /tmp/zolv-home.XXXXXX)
prefix=$home/.wine
fonts=$prefix/dosdevices/c:/windows/Fonts
trap 'WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null; rm -rf "$home"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
run() {  # log
    (cd "$home" && env -u DISPLAY -u WINEPREFIX HOME="$home" ZOLV_BUILD_DIR="$builds" \
        ZOLV_SCREENSHOT_WAIT=3 "$root/tools/run.sh") >"$1" 2>&1 || { cat "$1"; fail "tools/run.sh failed"; }
}
listing() { find "$fonts/" -maxdepth 1 -mindepth 1 -printf '%f %y %s %l\n' | sort; }

started=$(date +%s)
run "$home/first.log"
shot=$builds/zolvload-screenshot.png
[ -f "$shot" ] && [ "$(stat -c %Y "$shot")" -ge "$started" ] || fail "no new screenshot at $shot"
WINEPREFIX=$prefix "$@" || fail "the prefix that tools/run.sh made lacks Wine's faces (above)"

# A font file of the user's own, under a name of Wine's in another case.
rm "$fonts/tahoma.ttf"
cp /usr/share/wine/fonts/tahomabd.ttf "$fonts/TAHOMA.TTF"
before=$(listing)
run "$home/second.log"
grep -q Linked "$home/second.log" && fail "the second run added fonts: $(cat "$home/second.log")"
[ "$(listing)" = "$before" ] || fail "the second run changed the fonts folder: $(diff <(echo "$before") <(listing))"
cmp -s "$fonts/TAHOMA.TTF" /usr/share/wine/fonts/tahomabd.ttf || fail "the user's own font file was changed"
echo "tools/run.sh gave a new prefix Wine's faces in $(($(date +%s) - started)) s, and a second run changed nothing"
