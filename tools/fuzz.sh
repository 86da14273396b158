#!/usr/bin/env bash
# Fuzzes for SECONDS (default 600) with one job, seeded from the samples: TARGET read_fuzzer (the
# plot reader and writer, the default) or drawing_fuzzer (painting and DXF export of whatever
# was read). Builds with clang into build-fuzz/; findings land there as crash-* files.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
target=${2:-read_fuzzer}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_FUZZ=ON \
  -DKORVANE_QT=OFF -DKORVANE_BENCH=OFF > /dev/null
cmake --build build-fuzz -j"$(nproc)" --target "$target" korvane-plotgen
corpus=build-fuzz/corpus-$target
mkdir -p "$corpus"
# The starts of the samples keep inputs small; the fuzzer's own finds accumulate beside them.
for sample in samples/*.plt; do
  name=$(basename "$sample" .plt)
  head -c 512 "$sample" > "$corpus/seed-$name-512"
  head -c 4096 "$sample" > "$corpus/seed-$name-4096"
done
# The costliest records per byte (32767 decimals, 511-character strings) as a seed of their own.
build-fuzz/bin/korvane-plotgen --kind costly --records 7 "$corpus/seed-costly" > /dev/null
cd build-fuzz
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "bin/$target" -max_total_time="$seconds" -max_len=4096 \
  -print_final_stats=1 "corpus-$target"
