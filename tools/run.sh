#!/usr/bin/env bash
# Sets everything up and shows the bundled sample.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
out=build/site-plan-copy.plt
build/bin/korvane-cli convert samples/site-plan.plt "$out"
build/bin/korvane-cli info "$out"
echo "Converted samples/site-plan.plt to $out"
