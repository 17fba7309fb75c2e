# Sourced by the scripts that run Windows programs: a display and a fresh
# Wine prefix of their own, removed again by wine_session_stop.
#
# The prefix gets its drives before it boots, because drive letters added to a
# booted prefix may not show in the drive list: c: and z: as usual, q:, which
# points nowhere and so is a drive that cannot be read, and one drive of each
# kind that the drive list shows apart (wine_session_drives). A DPI other than
# 96 is also given before the boot, which sizes the frames and fonts for it.

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
. "$(dirname "${BASH_SOURCE[0]:-$0}")/wine-fonts.sh"

wine_session_dpi() {  # dpi
    local hex
    hex=$(printf '%08x' "$1")
    printf 'WINE REGISTRY Version 2\n\n[Control Panel\\\\Desktop]\n"LogPixels"=dword:%s\n' \
        "$hex" >"$WINEPREFIX/user.reg"
}

# g: a fixed drive labelled GAMES (Wine reads a volume's label from the file
# .windows-label in its root); a: a floppy and r: a CD drive, whose roots hold
# labels that must never be read; n: a network drive that the redirector knows
# as \\nas\games (Wine's way: a link through dosdevices/unc/server/share) and
# whose root holds a label that is not its name; m: a network drive of no
# known share. The kinds are Wine's drive types, set in the registry file.
wine_session_drives() {
    local letter devices=$WINEPREFIX/dosdevices
    for letter in a g m n r; do mkdir -p "$WINEPREFIX/drive_$letter"; done
    printf 'GAMES' >"$WINEPREFIX/drive_g/.windows-label"
    printf 'FLOPPY' >"$WINEPREFIX/drive_a/.windows-label"
    printf 'DISC' >"$WINEPREFIX/drive_r/.windows-label"
    printf 'NASLABEL' >"$WINEPREFIX/drive_n/.windows-label"
    mkdir -p "$devices/unc/nas"
    ln -s ../../../drive_n "$devices/unc/nas/games"
    ln -s unc/nas/games "$devices/n:"
    for letter in a g m r; do ln -s "../drive_$letter" "$devices/$letter:"; done
    printf 'WINE REGISTRY Version 2\n\n#arch=win64\n\n[Software\\\\Wine\\\\Drives]\n%s\n' \
        '"a:"="floppy"
"m:"="network"
"n:"="network"
"r:"="cdrom"' >"$WINEPREFIX/system.reg"
}

# Without "no-wine-fonts" the prefix gets Wine's own fonts as tools/run.sh
# gives them to the user's prefix; with it, it is a plain prefix as Debian's
# Wine makes it, where every face is DejaVu Sans.
wine_session_start() {  # [own-display: 1 forces Xvfb even when DISPLAY is set] [dpi] [no-wine-fonts]
    export WINEDEBUG=-all
    # Wine takes its code pages from the Unix locale: the ANSI one and the
    # console's, in which the command interpreter reads a batch file. One
    # locale on every machine gives every session 1252 and 437, and English.
    export LC_ALL=C.UTF-8
    WINEPREFIX=$(mktemp -d /tmp/zolv-wine.XXXXXX)
    export WINEPREFIX
    mkdir -p "$WINEPREFIX/dosdevices" "$WINEPREFIX/drive_c"
    ln -s ../drive_c "$WINEPREFIX/dosdevices/c:"
    ln -s / "$WINEPREFIX/dosdevices/z:"
    ln -s "$WINEPREFIX/no-disk-here" "$WINEPREFIX/dosdevices/q:"
    wine_session_drives

    ZOLV_XVFB_PID=
    if [ "${1:-0}" = 1 ] || [ -z "${DISPLAY:-}" ]; then
        # A display number that another session takes at the same moment, or
        # whose server is still going away, leaves our Xvfb dead: the next
        # number is tried, so that no session draws on another's display.
        local n=90 tries
        for tries in $(seq 10); do
            while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            ZOLV_XVFB_PID=$!
            export DISPLAY=":$n"
            for _ in $(seq 100); do
                kill -0 "$ZOLV_XVFB_PID" 2>/dev/null || break
                xdpyinfo >/dev/null 2>&1 && break
                sleep 0.1
            done
            kill -0 "$ZOLV_XVFB_PID" 2>/dev/null && break
            n=$((n + 1))
        done
    fi

    [ "${2:-96}" = 96 ] || wine_session_dpi "$2"
    "$WINE64" wineboot -i >/dev/null 2>&1
    [ "${3:-}" = no-wine-fonts ] || wine_prefix_fonts "$WINEPREFIX" >/dev/null
    # Every program runs in a virtual desktop, for real window frames.
    "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d zolv /f >/dev/null 2>&1
    "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v zolv /d 1024x768 /f >/dev/null 2>&1
    "$WINESERVER" -w
}

wine_session_stop() {
    [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k >/dev/null 2>&1 || true
    if [ -n "${ZOLV_XVFB_PID:-}" ] && kill "$ZOLV_XVFB_PID" 2>/dev/null; then
        # Gone before the display number is free for the next session.
        for _ in $(seq 50); do kill -0 "$ZOLV_XVFB_PID" 2>/dev/null || break; sleep 0.1; done
    fi
    [ -n "${WINEPREFIX:-}" ] && case "$WINEPREFIX" in /tmp/zolv-wine.*) rm -rf "$WINEPREFIX" ;; esac
    unset WINEPREFIX ZOLV_XVFB_PID
    return 0
}
