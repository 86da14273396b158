#!/usr/bin/env bash
# Makes the Debian package korvane_VERSION_ARCH.deb in build/ and prints its path last. cpack
# first builds what is out of date.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
(cd build && cpack -G DEB > cpack.log 2>&1) || { tail -60 build/cpack.log; exit 1; }
sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' build/cpack.log
