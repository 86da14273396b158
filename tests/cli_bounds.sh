#!/usr/bin/env bash
# korvane-cli's bounded work, as far as a test can see it: the costliest input still gives the
# very outputs it always gave, and pictures beyond the pixel limit are refused with the limit
# named. The time and memory bounds themselves are benchmarks (bench/costly_info.cpp,
# bench/peak_memory.sh).
# Usage: cli_bounds.sh CLI PLOTGEN SAMPLE WORK
set -u
CLI=$1 PLOTGEN=$2 SAMPLE=$3 WORK=$4
source "$(dirname "$0")/cli_helpers.sh"
digest() { sha256sum "$1" | cut -c1-64; }
pinned() { [ "$(digest "$1")" = "$2" ] || fail "$3 changed (sha256 $(digest "$1"))"; }

# 9. Numbers with 32767 decimals and strings of 511 eights, on and far off the sheet: the same
#    figures, drawing calls and DXF text as the point-by-point computation gave.
run 0 "$PLOTGEN" --kind costly --records 60 costly.plt
pinned costly.plt 29850eadae55e301b9c32a61b07c36c9da48184594f531e9d2a9a18ed40a2faa "the costly file"
run 0 "$CLI" info costly.plt
[ "$(cat out.txt)" = "$(printf 'primitives: 60\nsize: 7158278.83 x 7158278.83 inches')" ] ||
    fail "info: $(cat out.txt)"
run 0 "$CLI" trace costly.plt
pinned out.txt 41c21dbaa36cbaff2da9ef90c15db2dffa03ee3eab85d2920f53d30a649c77b7 "the trace"
run 0 "$CLI" trace costly.plt --size 333x777
pinned out.txt 83c1a5b9fb9eb542c6f99f1b5c2b91f70eaeb367be80c7eb575aa7f73925ab79 "the trace at 333x777"
run 0 "$CLI" convert costly.plt costly.dxf
pinned costly.dxf 21da6f086d4c7ffe5f1cf63f851581b64fcc0b27a93ed7f4cc8b870f9fd3912f "the DXF export"

# 10. Pictures above 2^28 pixels are refused before any memory is taken, the limit named.
for size in 46000x46000 16385x16384; do
    run 1 "$CLI" convert "$SAMPLE" big.png --size "$size"
    says "big.png: an image of $size pixels is above the limit of 2^28 (268435456) pixels"
    [ ! -e big.png ] || fail "a refused picture was written"
done
echo "all bounds checks passed"
