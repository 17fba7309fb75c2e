# Sourced by setup and test: whether this machine executes 32-bit x86
# programs, which 32-bit Wine needs. Some 64-bit kernels are built without
# that support, so it is tried rather than assumed: a 96-byte 32-bit Linux
# program that only exits with status 42.

runs_32bit_code() {
    local probe status
    probe=$(mktemp "${TMPDIR:-/tmp}/zolv-x86-32.XXXXXX") || return 1
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200' >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null
    status=$?
    rm -f "$probe"
    [ "$status" -eq 42 ]
}

# 32-bit Wine is there and can run here.
has_wine32() {
    [ -x /usr/lib/wine/wine ] && runs_32bit_code
}
