#!/usr/bin/env bash
# Sets everything up and runs every test: the size limits of the product's files and functions,
# the full build's suite, short fuzzing runs of the plot reader and of painting and export
# (tools/fuzz.sh runs longer ones), then the core's tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the background work's core under ThreadSanitizer; and the
# Debian package with the checks distributions make on it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh lintian appstream desktop-file-utils dpkg-dev file man-db bash-completion fish
# No source file over 400 lines and no function over 80 in the product's folders.
python3 tools/size_check.py
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j"$(nproc)")

# The package: no lintian error, a valid description and launcher, no MIME database of its own,
# and its manual pages and completion as ctest checked them in the build.
deb=$(tools/package.sh | tail -1)
lintian --fail-on error "$deb"
staged=$(mktemp -d)
trap 'rm -rf "$staged"' EXIT
dpkg-deb -x "$deb" "$staged"
appstreamcli validate --no-net "$staged"/usr/share/metainfo/io.github.korvane.Korvane.metainfo.xml
desktop-file-validate "$staged"/usr/share/applications/io.github.korvane.Korvane.desktop
if find "$staged"/usr/share/mime -type f -not -path '*/packages/*' | grep .; then
  echo "the package holds a generated MIME database"; exit 1
fi
for program in korvane korvane-cli; do
  gzip -dc "$staged/usr/share/man/man1/$program.1.gz" > "$staged/$program.1"
  python3 tests/man_pages.py "$staged/usr/bin/$program" "$staged/$program.1" \
    "$(dpkg-deb -f "$deb" Version)"
done
bash tests/completion.sh "$staged"/usr/share/bash-completion/completions/korvane-cli \
  "$staged"/usr/share/fish/vendor_completions.d/korvane-cli.fish "$staged"/usr/bin "$staged"/work

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
