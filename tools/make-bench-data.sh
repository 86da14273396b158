#!/usr/bin/env bash
# Writes the large files the benchmarks read (bench-data/, never committed): surveys of 1 and
# 10 million records and 10 million line records alone. Builds the generator first if needed;
# files already there are kept.
set -euo pipefail
cd "$(dirname "$0")/.."
gen=build/bin/korvane-plotgen
if [ ! -x "$gen" ]; then
  cmake -S . -B build > /dev/null
  cmake --build build -j"$(nproc)" --target korvane-plotgen
fi
mkdir -p bench-data
for entry in 1m:1000000 10m:10000000; do
  out=bench-data/survey-${entry%%:*}.plt
  [ -f "$out" ] || "$gen" --kind site-plan --records "${entry##*:}" "$out"
done
# Line records only, 120 MB: the plain path of reading and saving.
out=bench-data/lines10m.plt
[ -f "$out" ] || "$gen" --kind lines --records 10000000 "$out"
# The costliest file per byte, about 10 MB, for the time bound of costly_info.
[ -f bench-data/costly-10mb.plt ] || "$gen" --kind costly --records 37000 bench-data/costly-10mb.plt
# Drawings unlike the survey for the picture comparisons: a random walk of about 1 million
# segments (with its pen-up jumps, pens and labels), 100,000 lines across the sheet, 200,000 texts.
[ -f bench-data/walk-1m.plt ] || "$gen" --kind walk --records 1102000 bench-data/walk-1m.plt
[ -f bench-data/long-lines.plt ] || "$gen" --kind long-lines --records 200003 bench-data/long-lines.plt
[ -f bench-data/texts.plt ] || "$gen" --kind texts --records 200003 bench-data/texts.plt
