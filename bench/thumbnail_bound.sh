#!/usr/bin/env bash
# The thumbnailer's bound: on 100 MB of each kind of record (the costliest per byte first,
# numbers of 32767 decimals; made on demand by costly_plot.py into bench-data/), processor time
# and peak memory of `korvane-cli thumbnail FILE OUT.png 256`. Target: each at most 5 s of
# processor time and 256 MB.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${CLI:-build/bin/korvane-cli}
data=${KORVANE_BENCH_DATA:-bench-data}
size=${SIZE:-100000000}
mkdir -p "$data"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen
status=0
printf '%-8s %8s %8s\n' kind 'CPU s' 'peak MB'
for kind in numbers texts circles lines symbols pens skipped; do
    file=$data/thumb-$kind-$size.plt
    [ -f "$file" ] || python3 bench/costly_plot.py "$kind" "$size" "$file"
    read -r cpu kb < <(/usr/bin/time -f '%U %S %M' "$cli" thumbnail "$file" "$out/t.png" 256 \
        2>&1 >/dev/null | tail -1 | awk '{ print $1 + $2, $3 }')
    printf '%-8s %8.2f %8d\n' "$kind" "$cpu" $((kb / 1024))
    awk -v c="$cpu" -v k="$kb" 'BEGIN { exit !(c <= 5 && k <= 256 * 1024) }' || status=1
done
exit $status
