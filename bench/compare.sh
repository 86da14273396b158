#!/usr/bin/env bash
# Whole-process comparisons behind the README's table, in one run on this machine: korvane-cli
# against hp2xx (PNG and DXF of the 1-million-record survey, a random walk, long lines and texts,
# each given to hp2xx as the same drawing in HP-GL) and against cp (the 10-million-line-record round trip, whose save includes its
# fsync). Prints wall and CPU (user + system) times and their ratios, and the round trip's peak
# memory. Needs hyperfine, hp2xx and GNU time (apt-get install hyperfine hp2xx time); not part
# of CI. RUNS=N sets the runs per command (default 7); CLI=PATH times another korvane-cli build
# (an older one, say) against the same programs.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-7}
for tool in hyperfine hp2xx /usr/bin/time python3; do
  command -v "$tool" > /dev/null || { echo "compare.sh needs $tool" >&2; exit 1; }
done
cli=${CLI:-build/bin/korvane-cli}
[ -x "$cli" ] && [ -x build/bin/korvane-cli ] ||
  { echo "build korvane-cli first (cmake --build build)" >&2; exit 1; }
tools/make-bench-data.sh > /dev/null
data=bench-data
hpgl=$data/survey-1m.hpgl
# Each drawing as our paint draws it at 1920 x 1080, in HP-GL.
for name in survey-1m walk-1m long-lines texts; do
  [ -f $data/$name.hpgl ] || build/bin/korvane-cli trace $data/$name.plt --size 1920x1080 |
    awk -f bench/trace-to-hpgl.awk > $data/$name.hpgl
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
f=$out/files
mkdir "$f"

# A build from before --antialias existed draws only antialiased pictures.
crisp=()
if "$cli" convert --help | grep -q -- --antialias; then
  crisp=(-n png-crisp "$cli convert $data/survey-1m.plt $f/k.png --size 1920x1080 --antialias off")
fi
# The drawings unlike the survey: the same comparisons, named after the drawing.
others=()
for name in walk-1m long-lines texts; do
  others+=(-n "hp2xx-png $name" "hp2xx -q -m png -d 96 -w 508 -h 285.75 -f $f/hp.png $data/$name.hpgl"
           -n "png-antialiased $name" "$cli convert $data/$name.plt $f/k.png --size 1920x1080")
  [ ${#crisp[@]} -eq 0 ] ||
    others+=(-n "png-crisp $name" "$cli convert $data/$name.plt $f/k.png --size 1920x1080 --antialias off")
  others+=(-n "hp2xx-dxf $name" "hp2xx -q -m dxf -f $f/hp.dxf $data/$name.hpgl"
           -n "dxf $name" "$cli convert $data/$name.plt $f/k.dxf")
done

# hp2xx fits the drawing into 508 x 285.75 mm at 96 dots per inch: 1920 x 1080 pixels.
# Every run writes a new file, as a user's conversion usually does, and starts with the disk
# written back (sync): no run waits for the writes of the one before.
hyperfine -N -w 1 -r "$runs" --export-json "$out/times.json" \
  -p "sh -c 'rm -f $f/hp.png $f/k.png $f/hp.dxf $f/k.dxf $f/copy.plt $f/k.plt; sync'" \
  -n hp2xx-png "hp2xx -q -m png -d 96 -w 508 -h 285.75 -f $f/hp.png $hpgl" \
  -n png-antialiased "$cli convert $data/survey-1m.plt $f/k.png --size 1920x1080" \
  "${crisp[@]}" \
  -n hp2xx-dxf "hp2xx -q -m dxf -f $f/hp.dxf $hpgl" \
  -n dxf "$cli convert $data/survey-1m.plt $f/k.dxf" \
  -n cp "cp $data/lines10m.plt $f/copy.plt" \
  -n round-trip "$cli convert $data/lines10m.plt $f/k.plt" \
  "${others[@]}" > /dev/null

peak() { /usr/bin/time -f %M "$@" 2>&1 > /dev/null | tail -1; }
memory=$(peak "$cli" convert $data/lines10m.plt "$f/k.plt")

python3 - "$out/times.json" "$memory" <<'PY'
import json, sys
times = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
def wall(n): return times[n]["median"]
def cpu(n): return times[n]["user"] + times[n]["system"]
print(f"{'comparison':70} {'wall ms':>15} {'ratio':>6} {'CPU ms':>15} {'ratio':>6}")
rows = [("png-antialiased", "hp2xx-png", "<= 0.35"), ("png-crisp", "hp2xx-png", ""),
        ("png-crisp", "png-antialiased", "<= 0.67"),
        ("dxf", "hp2xx-dxf", "<= 0.15"), ("round-trip", "cp", "<= 3")]
for drawing in ["walk-1m", "long-lines", "texts"]:
    rows += [(f"png-antialiased {drawing}", f"hp2xx-png {drawing}", "<= 0.45"),
             (f"png-crisp {drawing}", f"hp2xx-png {drawing}", ""),
             (f"png-crisp {drawing}", f"png-antialiased {drawing}", "<= 0.67"),
             (f"dxf {drawing}", f"hp2xx-dxf {drawing}", "<= 0.15" if drawing == "walk-1m" else "")]
for name, base, goal in rows:
    if name not in times or base not in times: continue
    print(f"{name + ' / ' + base + ' ' + goal:70} {wall(name)*1e3:7.0f} /{wall(base)*1e3:6.0f} "
          f"{wall(name)/wall(base):6.2f} {cpu(name)*1e3:7.0f} /{cpu(base)*1e3:6.0f} {cpu(name)/cpu(base):6.2f}")
print(f"round trip peak memory: {int(sys.argv[2]) / 1024:.1f} MB")
PY
echo "load: $(uptime | sed 's/.*load average/load average/')"
