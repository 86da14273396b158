#!/usr/bin/env bash
# Sets everything up, builds, and opens the desktop viewer on the bundled sample.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
exec build/bin/korvane samples/site-plan.plt
