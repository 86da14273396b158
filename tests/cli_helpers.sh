# Shared by the command-line test scripts (sourced): a fresh work folder $WORK as the current
# folder, fail MESSAGE, and run STATUS COMMAND... which fails the test unless the command exits
# with STATUS, leaving its output in out.txt and err.txt; says TEXT checks err.txt.
rm -rf "$WORK" && mkdir -p "$WORK" && cd "$WORK" || exit 1

fail() { echo "FAIL: $*" >&2; exit 1; }
run() {
    local want=$1; shift
    "$@" > out.txt 2> err.txt
    local got=$?
    [ "$got" -eq "$want" ] || fail "$*: exit $got, expected $want: $(cat err.txt)"
}
says() { grep -qF -- "$1" err.txt || fail "stderr lacks '$1': $(cat err.txt)"; }
