#!/usr/bin/env bash
# Sets everything up and runs every test: the full build's suite, a short fuzzing run of the plot
# reader (tools/fuzz.sh runs longer ones), then the core's tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j"$(nproc)")

mkdir -p build-fuzz
tools/fuzz.sh 30 > build-fuzz/fuzz.log 2>&1 || { tail -40 build-fuzz/fuzz.log; exit 1; }
grep -E "^Done [0-9]+ runs" build-fuzz/fuzz.log

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON -DKORVANE_QT=OFF \
      -DKORVANE_BENCH=OFF > /dev/null
cmake --build build-asan -j"$(nproc)" --target korvane_core_tests
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$(nproc)" -L core)
