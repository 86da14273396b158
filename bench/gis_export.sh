#!/usr/bin/env bash
# The GeoPackage export of the 1-million-record survey in one run on this machine, against
# ogr2ogr converting our own DXF of it into a GeoPackage (goal: at most 0.5x its time) and
# against our DXF export (goal: at most 6x, what the first version took). Prints processor
# times (user + system, the best of RUNS runs, default 3: wall times swing on a shared machine)
# and the ratios. Needs gdal-bin; not part of CI.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v ogr2ogr > /dev/null || { echo "gis_export.sh needs ogr2ogr (gdal-bin)" >&2; exit 1; }
cli=${CLI:-build/bin/korvane-cli}
[ -x "$cli" ] || { echo "build korvane-cli first (cmake --build build)" >&2; exit 1; }
plot=bench-data/survey-1m.plt
if [ ! -f "$plot" ]; then
  mkdir -p bench-data
  build/bin/korvane-plotgen --kind site-plan --records 1000000 "$plot"
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

runs=${RUNS:-3}
seconds() {
  local best="" t
  for _ in $(seq "$runs"); do
    t=$( { TIMEFORMAT='%3U+%3S'; time "$@" > /dev/null 2>&1; } 2>&1 | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  echo "$best"
}
gpkg=$(seconds "$cli" convert "$plot" "$out/ours.gpkg")
dxf=$(seconds "$cli" convert "$plot" "$out/ours.dxf")
ogr=$(seconds ogr2ogr -overwrite -f GPKG "$out/ogr.gpkg" "$out/ours.dxf")
printf 'korvane-cli to GeoPackage  %6.2f s\n' "$gpkg"
printf 'korvane-cli to DXF         %6.2f s\n' "$dxf"
printf 'ogr2ogr DXF to GeoPackage  %6.2f s\n' "$ogr"
printf 'GeoPackage / ogr2ogr       %6.2fx (goal at most 0.5x)\n' "$(echo "$gpkg / $ogr" | bc -l)"
printf 'GeoPackage / DXF           %6.2fx (goal at most 6x)\n' "$(echo "$gpkg / $dxf" | bc -l)"
