# Sourced by tools/run.sh and tools/wine-session.sh: gives a Wine prefix
# Wine's own fonts, which draw the windows as they are designed (MS Sans
# Serif, System, Terminal) and the title bars' buttons (Marlett). Debian's
# Wine keeps them in /usr/share/wine/fonts, where its font mapper does not
# look, so without them every text is in DejaVu Sans and the title-bar
# buttons read "0 1 r".
#
# Each font file that the prefix's Fonts folder lacks, by its name in any
# case, gets a symbolic link there to Wine's own file. Nothing else in the
# prefix is touched: a file of the same name stays as it is, whatever it
# holds, and a second call adds nothing. The links follow Wine's package
# through its updates; where a file is gone from it, Wine passes over the
# dangling link. They are removed, and nothing else, by
#   find "$WINEPREFIX/drive_c/windows/Fonts" -lname '/usr/share/wine/fonts/*' -delete

WINE_FONTS_DIR=${WINE_FONTS_DIR:-/usr/share/wine/fonts}

# Prints the names of the links it adds, one a line.
wine_prefix_fonts() {  # prefix
    local fonts font name
    # c: is where the prefix says it is, drive_c unless the user moved it.
    if [ -d "$1/dosdevices/c:" ]; then fonts=$1/dosdevices/c:/windows/Fonts; else
        fonts=$1/drive_c/windows/Fonts; fi
    mkdir -p "$fonts"
    for font in "$WINE_FONTS_DIR"/*; do
        [ -f "$font" ] || continue
        name=${font##*/}
        # Windows names files without regard to case.
        if [ -n "$(find "$fonts" -maxdepth 1 -iname "$name" -print -quit)" ]; then continue; fi
        ln -s "$font" "$fonts/$name" && echo "$name"
    done
}
