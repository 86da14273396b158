#!/usr/bin/env bash
# Sets everything up and runs every test: the size limits of the product's files and functions,
# the full build's suite, short fuzzing runs of the plot reader and of painting and export
# (tools/fuzz.sh runs longer ones), then the core's tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the background work's core under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
# No source file over 400 lines and no function over 80 in the product's folders.
python3 tools/size_check.py
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j"$(nproc)")

mkdir -p build-fuzz
for target in read_fuzzer drawing_fuzzer; do
  log=build-fuzz/$target.log
  tools/fuzz.sh 30 "$target" > "$log" 2>&1 || { tail -40 "$log"; exit 1; }
  echo "$target: $(grep -E "^Done [0-9]+ runs" "$log")"
done

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON -DKORVANE_QT=OFF \
      -DKORVANE_BENCH=OFF > /dev/null
cmake --build build-asan -j"$(nproc)" --target korvane_core_tests
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$(nproc)" -L core)

# The background work's Qt-free core and its concurrency test under ThreadSanitizer. Debian's Qt
# is not built for it, so the Qt application tests are not run here.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DKORVANE_TSAN=ON -DKORVANE_QT=OFF \
      -DKORVANE_BENCH=OFF > /dev/null
cmake --build build-tsan -j"$(nproc)" --target korvane_work_tests
(cd build-tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j"$(nproc)" -L tsan)
