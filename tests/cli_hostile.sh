#!/usr/bin/env bash
# korvane-cli among hostile conditions: outputs that are not its to replace, other users' links
# and files in shared folders, too little memory and file-size limits. Each refusal exits 1 with
# its message and leaves every file as it was, with no temporary behind.
# Usage: cli_hostile.sh CLI PLOTGEN SAMPLE WORK
set -u
CLI=$1 PLOTGEN=$2 SAMPLE=$3 WORK=$4
source "$(dirname "$0")/cli_helpers.sh"
# Every entry (name, link target, size, owner, mode) and the bytes of every file but the logs.
state() {
    find . ! -name '*.txt' -printf '%p %l %s %U %m\n' | sort
    find . -type f ! -name '*.txt' -exec cat {} + | md5sum
}

cp "$SAMPLE" in.plt && cp "$SAMPLE" other.plt && cp "$SAMPLE" key.plt
printf 'not a pdf' > text.pdf && printf 'not a png' > text.png && ln in.plt same.pdf
mkdir shared && chmod 1777 shared
ln -s ../key.plt shared/link.plt && ln -s .. shared/up && cp "$SAMPLE" shared/theirs.plt
# Another user's link and file in the shared folder, where this user may make them so.
others=no
chown -h 4321 shared/link.plt shared/up shared/theirs.plt 2>/dev/null && others=yes

# Refusals: status | message | command. Every file above is kept, none is made.
refusals=(
    "1|the output of print must be a .pdf file|print in.plt other.plt"
    "1|same.pdf: the output is the input file itself|print in.plt same.pdf"
    "1|text.pdf: exists and is not a PDF file|print in.plt text.pdf"
    "1|unknown paper 'Custom'; --paper takes A0, A1|print in.plt new.pdf --paper Custom"
    "1|unknown paper 'Napkin'|print in.plt new.pdf --paper Napkin"
    "1|in.plt: the output is the input file itself|thumbnail in.plt in.plt 64"
    "1|other.plt: exists and is not a PNG picture|thumbnail in.plt other.plt 64"
    "1|text.png: exists and is not a PNG picture|thumbnail in.plt text.png 64"
    "1|above the limit of 19200 pixels (200 inches) a side|convert in.plt new.pdf --size 100x19201"
)
if [ $others = yes ]; then
    refusals+=(
        "1|refusing to follow a link another user owns|convert in.plt shared/link.plt"
        "1|refusing to follow a link another user owns|thumbnail in.plt shared/up/new.png 64"
        "1|refusing to write over a file another user owns|convert in.plt shared/theirs.plt"
    )
fi
for entry in "${refusals[@]}"; do
    IFS='|' read -r status message command <<< "$entry"
    before=$(state)
    # shellcheck disable=SC2086
    run "$status" "$CLI" $command
    says "$message"
    [ "$(state)" = "$before" ] || fail "$command changed or made a file"
done

# What is allowed: an empty output made beforehand, an older PDF or PNG, the writer's own link
# in the shared folder. A replaced file keeps owner, group and mode, never special bits.
: > empty.pdf && : > empty.png
run 0 "$CLI" print in.plt empty.pdf && run 0 "$CLI" print in.plt empty.pdf
run 0 "$CLI" thumbnail in.plt empty.png 64 && run 0 "$CLI" thumbnail in.plt empty.png 64
ln -s ../mine.plt shared/mine.plt
run 0 "$CLI" convert in.plt shared/mine.plt
cmp -s mine.plt in.plt || fail "the writer's own link was not written through"
cp in.plt owned.plt && chmod 6751 owned.plt
if [ $others = yes ]; then chown 4321:4322 owned.plt; fi
before=$(stat -c %u:%g owned.plt)
run 0 "$CLI" convert in.plt owned.plt
[ "$(stat -c %u:%g:%a owned.plt)" = "$before:751" ] ||
    fail "owned.plt: $(stat -c %u:%g:%a owned.plt), expected $before:751"
f=$(printf 'n\001\033[31m\377.plt') && cp in.plt "$f"
run 0 "$CLI" convert "$f" named.svg --face "$(printf 'F\002\033]0;\376')"
! grep -q $'\033' err.txt || fail "a control byte reached the terminal: $(cat -v err.txt)"
/usr/bin/python3 -c 'import sys, xml.dom.minidom as m; m.parse(sys.argv[1])' named.svg ||
    fail "named.svg is not well-formed"

# Too little memory, whichever part runs out first (records, the module and Qt's plugins, a
# picture's buffer): a complete output, or "out of memory" with the input's name and nothing.
run 0 "$PLOTGEN" --kind lines --records 2000000 big.plt
outputs=("o.plt" "o.dxf" "o.png" "o.svg" "o.pdf" "o.png --size 12000x12000" "thumbnail o.png 256"
         "print o.pdf")
for limit in 30000 60000 90000 150000; do
    for output in "${outputs[@]}"; do
        rm -f o.*
        case $output in
            thumbnail*|print*) set -- ${output%% *} big.plt ${output#* } ;;
            *) set -- convert big.plt $output ;;
        esac
        bash -c "ulimit -v $limit; exec \"\$@\"" - "$CLI" "$@" > out.txt 2> err.txt
        got=$?
        [ $got -eq 1 ] || [ $limit -gt 30000 ] || fail "$* ran in 30 MB: exit $got"
        if [ $got -eq 1 ]; then
            says "big.plt: out of memory; nothing written"
            [ -z "$(ls o.* 2>/dev/null)" ] || fail "$*: output left after running out of memory"
        elif [ $got -ne 0 ]; then
            fail "ulimit -v $limit, $*: exit $got: $(cat err.txt)"
        fi
    done
done
run 1 bash -c "ulimit -v 300000; exec \"$CLI\" convert big.plt o.png --size 12000x12000"
says "big.plt: out of memory; nothing written"

# A file-size limit is a full disk: the older file kept, no temporary.
for command in "convert big.plt o.pdf" "convert big.plt o.svg" "convert big.plt o.png" \
    "print big.plt o.pdf"; do
    out=${command##* } && printf '%%PDF-old' > "$out"
    run 1 bash -c "ulimit -f 1; exec \"$CLI\" $command"
    says "$out: disk full"
    [ "$(cat "$out")" = %PDF-old ] || fail "$out was changed"
done
[ -z "$(find . -name '.?*')" ] || fail "temporaries left behind: $(find . -name '.?*')"
echo "all hostile-condition checks passed"
