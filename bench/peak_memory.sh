#!/usr/bin/env bash
# Peak memory of korvane-cli on the 10-million-record survey: `info` (the loaded document and a
# counting paint) against `trace` and an SVG conversion, which stream their output. Target: each
# within the loaded document plus a few tens of megabytes (64 MB here).
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${CLI:-build/bin/korvane-cli}
data=${KORVANE_BENCH_DATA:-bench-data}/survey-10m.plt
[ -f "$data" ] || { echo "bench-data missing: run tools/make-bench-data.sh" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
base=$(peak "$cli" info "$data")
printf '%-6s %8d KB\n' info "$base"
status=0
for command in trace svg; do
    if [ "$command" = trace ]; then kb=$(peak "$cli" trace "$data"); else
        kb=$(peak "$cli" convert "$data" "$out/survey.svg"); fi
    extra=$(( (kb - base) / 1024 ))
    printf '%-6s %8d KB  (+%d MB over info; target <= 64)\n' "$command" "$kb" "$extra"
    [ "$extra" -le 64 ] || status=1
done
exit $status
