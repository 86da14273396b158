#!/usr/bin/env bash
# Makes the Debian package korvane_VERSION_ARCH.deb in build/, building only what is out of date,
# and prints its path last.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)" > build/package-build.log || { tail -40 build/package-build.log; exit 1; }
(cd build && cpack -G DEB > cpack.log 2>&1) || { cat build/cpack.log; exit 1; }
sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' build/cpack.log
