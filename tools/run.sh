#!/usr/bin/env bash
# Sets everything up and shows the bundled sample (as a picture until the viewer arrives).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
out=build/site-plan.png
build/bin/korvane-cli info samples/site-plan.plt
build/bin/korvane-cli convert samples/site-plan.plt "$out"
echo "Drew samples/site-plan.plt into $out; open it with any image viewer."
