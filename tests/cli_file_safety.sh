#!/usr/bin/env bash
# korvane-cli as a hurried or hostile user meets it: a user's file is never lost, a failure is
# never reported as success, and the messages say what to do instead.
# Usage: cli_file_safety.sh CLI PLOTGEN FONTSHEET SAMPLE WORK
set -u
CLI=$1 PLOTGEN=$2 FONTSHEET=$3 SAMPLE=$4 WORK=$5
source "$(dirname "$0")/cli_helpers.sh"
unchanged() { cmp -s "$1" "$2" || fail "$1 was changed"; }
no_hidden_files() {
    local left; left=$(ls -A | grep '^\.' || true)
    [ -z "$left" ] || fail "temporaries left behind: $left"
}

# Plot bytes: Pinit and Couleur (10 bytes), and a code no record has.
good() { printf '\377\377\0\0\0\0\376\377\001\0'; }
good > good.plt
{ good; printf 'XX'; good; } > damaged.plt
printf '\211PNG\r\n\032\n' > picture.png

# 1. A damaged input is never its own output, whatever path names it (nothing written, exit 2);
#    an input without a single record overwrites nothing; otherwise what was read is written.
cp damaged.plt self.plt && mkdir sub && ln self.plt hard.plt
for out in self.plt ./sub/../self.plt hard.plt; do
    run 2 "$CLI" convert self.plt "$out"
    says "is the same file"
    unchanged self.plt damaged.plt
done
cp good.plt mine.plt
run 2 "$CLI" convert picture.png mine.plt
says "no record could be read"
unchanged mine.plt good.plt
run 2 "$CLI" convert picture.png new.plt
[ ! -e new.plt ] || fail "an output was made from a file without records"
run 2 "$CLI" convert damaged.plt part.plt
says "Error: file corrumption suspected (invalid record at byte 10)"
unchanged part.plt good.plt

# 2. A read-only output is refused, even for root; a symbolic link is written through.
cp good.plt ro.plt && chmod 444 ro.plt
run 1 "$CLI" convert "$SAMPLE" ro.plt
says "ro.plt: access denied (the file is read-only)"
unchanged ro.plt good.plt
[ "$(stat -c %a ro.plt)" = 444 ] || fail "ro.plt lost its mode"
cp good.plt target.plt && ln -s target.plt link.plt && ln -s made.plt dangling.plt
for link in link.plt dangling.plt; do
    run 0 "$CLI" convert "$SAMPLE" "$link"
    [ -L "$link" ] || fail "$link is no longer a link"
    unchanged "$link" "$SAMPLE"
done
mkfifo pipe.plt && mkdir folder.plt
run 1 "$CLI" convert "$SAMPLE" pipe.plt
says "not a regular file"
[ -p pipe.plt ] || fail "the FIFO was replaced"
run 1 "$CLI" convert "$SAMPLE" folder.plt
no_hidden_files

# 3. A file-size limit mid-write: an error, the old file kept, no temporary left.
cp good.plt big.dxf
run 1 bash -c "ulimit -f 16; exec \"$CLI\" convert \"$SAMPLE\" big.dxf"
says "big.dxf: disk full"
unchanged big.dxf good.plt
no_hidden_files

# 4. Pipes and FIFOs are read to their end; only a regular file of length 0 is empty.
"$CLI" info "$SAMPLE" > expected.txt
run 0 bash -c "cat \"$SAMPLE\" | \"$CLI\" info /dev/stdin"
unchanged out.txt expected.txt
mkfifo in.fifo
(cat "$SAMPLE" > in.fifo &)
run 0 "$CLI" info in.fifo
unchanged out.txt expected.txt

# 5. Output that cannot be written is a failure.
for command in dump info trace; do
    run 1 bash -c "\"$CLI\" $command \"$SAMPLE\" > /dev/full"
    says "cannot write the output: No space left on device"
done

# 6. A configuration that is no configuration, and options that do not apply, are refused.
: > junk.cfg  # matches none of the settings
for cfg in junk.cfg folder.plt missing.cfg; do
    run 1 "$CLI" convert "$SAMPLE" out.dxf --config "$cfg"
    says "$cfg: cannot read the configuration file"
done
run 1 "$CLI" convert "$SAMPLE" out.png --config junk.cfg
says "--config applies only to a .dxf output"
run 1 "$CLI" convert "$SAMPLE" out.plt --size 10x10
says "--size applies only to a picture"
run 1 "$CLI" convert "$SAMPLE" out.dxf --face Arial
[ ! -e out.dxf ] && [ ! -e out.png ] && [ ! -e out.plt ] || fail "a refused conversion wrote"

# 7. Numbers that overflow are refused, not wrapped.
run 1 "$CLI" convert "$SAMPLE" out.png --size 4294968296x800
says "--size takes WxH"
run 1 "$CLI" convert "$SAMPLE" out.png --line-width 4294967301
says "--line-width takes a whole number from 0 to 1000"
run 1 "$CLI" trace "$SAMPLE" --size 800x99999999999999999999999

# 8. SVG is well-formed whatever the names hold; its title is the file name alone.
cp "$SAMPLE" 'a&<b>.plt'
run 0 "$CLI" convert './sub/../a&<b>.plt' named.svg --face 'Tom & <Jerry>' --size 200x150
/usr/bin/python3 - named.svg <<'PY' || fail "named.svg is not well-formed or has the wrong title"
import sys, xml.dom.minidom
doc = xml.dom.minidom.parse(sys.argv[1])
assert doc.getElementsByTagName("title")[0].firstChild.data == "a&<b>.plt"
PY

# 11. Small things a new user trips on.
run 1 "$CLI" convert "$SAMPLE" out
says "out: the output has no extension to tell its type; use .plt, .dxf, .png, .svg, .pdf, .gpkg or .geojson"
cp "$SAMPLE" ./-dash.plt
run 0 "$CLI" convert -- -dash.plt -out.plt
unchanged ./-out.plt "$SAMPLE"
run 0 "$CLI" info -- -dash.plt
run 1 "$CLI" info -dash.plt
says "goes after '--'"
run 0 "$CLI" convert --help
grep -qF "pen width in logical units of the view" out.txt || fail "--line-width help"
grep -qF "0 (default)" out.txt || fail "--line-width help says nothing of 0"
run 0 "$CLI" trace "$SAMPLE" --face 'No Such Family 123'
says "no installed font family is called 'No Such Family 123'"
run 0 "$CLI" fonts
[ -s out.txt ] || fail "fonts listed nothing"
for tool in "$PLOTGEN" "$FONTSHEET"; do
    run 0 "$tool" --help
    grep -q "^Usage: " out.txt || fail "$tool --help shows no usage"
done
[ ! -e ./--help ] || fail "a file named --help was written"
no_hidden_files
echo "all file-safety checks passed"
