"""DXF exports of the samples read by an independent reader (ezdxf).

Every sample is converted with korvane-cli in the normal conversion and in scaled conversions
(horizontal, planes tilted by 0.1 % and 5 % at survey coordinates, and a tilted plane turned by
30 degrees). Each file must load with ezdxf.readfile and pass doc.audit() without errors; its
entities, counted per type, must match what the drawing (read through `korvane-cli dump`) calls
for. Every TEXT and CIRCLE, read as plain x, y, z (ignoring the extrusion, as LibreCAD and
Inkscape do), must land within 0.002 of the world point of the correspondence-point transform,
computed here on its own, and inside the bounding box of the drawing's line work. In the
three-point conversions each text's rotation must match the world direction of its baseline
within 0.1 degree.

Run with Debian's python3, which has python3-ezdxf:
    /usr/bin/python3 dxf_ezdxf.py CLI SAMPLES_DIR WORK_DIR
"""

import glob
import math
import os
import re
import subprocess
import sys

import ezdxf

# Pen-down strokes of each special symbol 0..13 of the stroke font.
SYMBOL_STROKES = [6, 10, 4, 2, 2, 5, 4, 3, 3, 3, 7, 4, 5, 1]

FAILURES = []


def fail(message):
    FAILURES.append(message)
    print("FAIL: " + message)


def dump(cli, sample):
    out = subprocess.run([cli, "dump", sample], check=True, capture_output=True, text=True)
    prims = []
    for line in out.stdout.splitlines():
        kind, _, rest = line.partition(" ")
        fields = dict(re.findall(r"(\w+)=(\"(?:[^\"\\]|\\.)*\"|\S+)", rest))
        prims.append((kind, fields))
    return prims


def solve3(a, b):
    """Solves a x = b (3 x 3, three right-hand columns) by Cramer's rule."""

    def det(m):
        return (m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
                - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
                + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]))

    d = det(a)
    x = [[0.0] * 3 for _ in range(3)]
    for col in range(3):
        for unknown in range(3):
            m = [row[:] for row in a]
            for r in range(3):
                m[r][unknown] = b[r][col]
            x[unknown][col] = det(m) / d
    return x


class Transform:
    """Paper inches to world, from the parameters of a configuration (None: normal)."""

    def __init__(self, cfg):
        self.cfg = cfg
        if cfg is None:
            return
        u = cfg["scale"] / 12.0 if cfg["units"] else cfg["scale"] * 2.54 / 100.0
        self.u = u
        corners = cfg["corners"]  # (e, n, z, px, py) each
        self.three_point = not all(v == 0 for c in corners[1:] for v in c[:3])
        if not self.three_point:
            e, n, z, px, py = corners[0]
            corners = [corners[0], (e + u, n, z, px + 1, py), (e, n + u, z, px, py + 1)]
        a = [[u * c[3], u * c[4], 1.0] for c in corners]
        b = [[c[0], c[1], c[2]] for c in corners]
        self.m = solve3(a, b)

    def world(self, x, y):
        if self.cfg is None:
            return (x, y, 0.0)
        e, f = x * self.u, y * self.u
        m = self.m
        return tuple(m[0][c] * e + m[1][c] * f + m[2][c] for c in range(3))

    def baseline_rotation(self, x, y, dx, dy):
        """Plan direction in degrees of the world image of the paper step (dx, dy) at (x, y)
        in a three-point conversion; None where the conversion keeps the paper angle."""
        if self.cfg is None or not self.three_point:
            return None
        a, b = self.world(x, y), self.world(x + dx, y + dy)
        return math.degrees(math.atan2(b[1] - a[1], b[0] - a[0])) % 360.0


def expected(prims, transform):
    """Entity counts and the world points of TEXT and CIRCLE, in drawing order."""
    counts = {"POLYLINE": 0, "VERTEX": 0, "LINE": 0, "TEXT": 0, "CIRCLE": 0}
    points = []
    polyline = False
    factor, shift = 1.0, [0.0, 0.0]
    for kind, f in prims:
        if kind != "Ligne" and polyline:
            polyline = False
        if kind == "Pinit":
            factor, shift = 1.0, [0.0, 0.0]
        elif kind == "Facteur":
            factor = float(f["factor"])
        elif kind == "Ligne":
            code = int(f["penCode"])
            if code > 13:
                continue
            if abs(code) == 2:
                counts["VERTEX"] += 1 if polyline else 2
                counts["POLYLINE"] += 0 if polyline else 1
                polyline = True
            else:
                polyline = False
            if code <= 0:
                shift[0] += float(f["x"]) * factor
                shift[1] += float(f["y"]) * factor
        elif kind in ("Symbole", "Nombre", "Cercle"):
            entity = "CIRCLE" if kind == "Cercle" else "TEXT"
            counts[entity] += 1
            x = float(f["x"]) * factor + shift[0]
            y = float(f["y"]) * factor + shift[1]
            rotation = None
            if entity == "TEXT":
                a = math.radians(float(f["angle"]))
                rotation = transform.baseline_rotation(x, y, math.cos(a) * factor,
                                                       math.sin(a) * factor)
            points.append((entity, transform.world(x, y), rotation))
        elif kind == "Symspecial":
            symbol = int(f["symbol"])
            if 0 <= symbol <= 13:
                counts["LINE"] += (abs(int(f["penAction"])) == 2) + SYMBOL_STROKES[symbol]
    return counts, points


def write_cfg(path, cfg):
    with open(path, "w") as out:
        for pen in range(8):
            out.write("L%d\n%d\n" % (pen, pen + 1))
        for c in cfg["corners"]:
            out.write("%f,%f,%f,%f,%f\n" % c)
        out.write("%d,%f,%d\n" % (cfg["units"], cfg["scale"], 1))


def survey_cfg(slope, bearing):
    """Corners of a 32 x 22 inch sheet at 1:1000 on a plane rising by slope towards bearing
    (degrees from east), at eastings near 500000 and northings near 5000000."""
    u = 25.4
    corners = []
    for px, py in ((0.0, 0.0), (32.0, 0.0), (32.0, 22.0)):
        e, n = 500000.0 + u * px, 5000000.0 + u * py
        rise = slope * (u * px * math.cos(math.radians(bearing))
                        + u * py * math.sin(math.radians(bearing)))
        corners.append((e, n, 120.0 + rise, px, py))
    return {"units": 0, "scale": 1000.0, "corners": corners}


def steep_cfg(tilt, turn):
    """The sheet drawn in true length on a plane tilted by tilt degrees about its paper X
    axis, then turned by turn degrees: in plan its paper Y is foreshortened, so a text's
    world direction is not simply its paper angle plus the turn."""
    u = 25.4
    c, s = math.cos(math.radians(turn)), math.sin(math.radians(turn))
    corners = []
    for px, py in ((0.0, 0.0), (32.0, 0.0), (32.0, 22.0)):
        x, y = u * px, u * py * math.cos(math.radians(tilt))
        z = u * py * math.sin(math.radians(tilt))
        corners.append((500000.0 + x * c - y * s, 5000000.0 + x * s + y * c, 120.0 + z, px, py))
    return {"units": 0, "scale": 1000.0, "corners": corners}


def check(cli, sample, work, name, cfg):
    out = os.path.join(work, "%s-%s.dxf" % (os.path.basename(sample)[:-4], name))
    cmd = [cli, "convert", sample, out]
    if cfg is not None:
        cfg_path = out[:-4] + ".cfg"
        write_cfg(cfg_path, cfg)
        cmd += ["--config", cfg_path]
    run = subprocess.run(cmd, capture_output=True, text=True)
    if run.returncode != 0:
        return fail("%s: exit %d: %s" % (" ".join(cmd), run.returncode, run.stderr))
    label = os.path.basename(out)

    doc = ezdxf.readfile(out)
    auditor = doc.audit()
    if auditor.has_errors:
        fail("%s: audit errors: %s" % (label, [e.message for e in auditor.errors]))

    counts, points = expected(dump(cli, sample), Transform(cfg))
    msp = doc.modelspace()
    got = {"POLYLINE": 0, "VERTEX": 0, "LINE": 0, "TEXT": 0, "CIRCLE": 0}
    placed = []
    lines = []  # x, y of every point of the line work
    for entity in msp:
        kind = entity.dxftype()
        if kind not in got:
            fail("%s: unexpected entity %s" % (label, kind))
            continue
        got[kind] += 1
        if kind == "POLYLINE":
            got["VERTEX"] += len(entity.vertices)
            lines += [(v.dxf.location.x, v.dxf.location.y) for v in entity.vertices]
        elif kind == "LINE":
            lines += [(p.x, p.y) for p in (entity.dxf.start, entity.dxf.end)]
        elif kind in ("TEXT", "CIRCLE"):
            # Plain coordinates: the extrusion is ignored, as LibreCAD and Inkscape do.
            at = entity.dxf.insert if kind == "TEXT" else entity.dxf.center
            rotation = entity.dxf.rotation if kind == "TEXT" else None
            placed.append((kind, at, rotation))
    if got != counts:
        fail("%s: entities %s, drawing calls for %s" % (label, got, counts))

    box = None
    if lines:
        xs, ys = [p[0] for p in lines], [p[1] for p in lines]
        box = (min(xs) - 1e-6, min(ys) - 1e-6, max(xs) + 1e-6, max(ys) + 1e-6)
    worst, worst_turn, outside = 0.0, 0.0, 0
    for (kind, at, rotation), (want_kind, want, want_rotation) in zip(placed, points):
        if kind != want_kind:
            fail("%s: %s where the drawing has %s" % (label, kind, want_kind))
            break
        worst = max(worst, max(abs(at[i] - want[i]) for i in range(3)))
        if box and not (box[0] <= at[0] <= box[2] and box[1] <= at[1] <= box[3]):
            outside += 1
        if want_rotation is not None:
            turn = abs((rotation - want_rotation + 180.0) % 360.0 - 180.0)
            worst_turn = max(worst_turn, turn)
    if worst > 0.002:
        fail("%s: a TEXT or CIRCLE lies %.4f from its world point" % (label, worst))
    if outside:
        fail("%s: %d TEXT/CIRCLE outside the line work" % (label, outside))
    if worst_turn > 0.1:
        fail("%s: a text turns %.3f degrees off its world baseline" % (label, worst_turn))
    print("%s: %s, worst TEXT/CIRCLE offset %.5f, worst text turn %.5f"
          % (label, got, worst, worst_turn))


def check_refused(cli, sample, work):
    """Correspondence points without a transform: exit 1, a message, no file."""
    cfg = survey_cfg(0.0, 0.0)
    e, n, z, _, _ = cfg["corners"][2]
    cfg["corners"][2] = (e, n, z + 1.0, 0.0, 0.0)
    cfg["corners"][1] = (e + 5, n, z, 0.0, 0.0)
    out = os.path.join(work, "refused.dxf")
    cfg_path = os.path.join(work, "refused.cfg")
    write_cfg(cfg_path, cfg)
    run = subprocess.run([cli, "convert", sample, out, "--config", cfg_path],
                         capture_output=True, text=True)
    if run.returncode != 1 or "refused" not in run.stderr or os.path.exists(out):
        fail("refused export: exit %d, stderr %r, file left: %s"
             % (run.returncode, run.stderr, os.path.exists(out)))


def check_missing_config(cli, sample, work):
    """A configuration file that cannot be read is an error, not a silent default."""
    out = os.path.join(work, "no-config.dxf")
    run = subprocess.run([cli, "convert", sample, out, "--config", os.path.join(work, "nope.cfg")],
                         capture_output=True, text=True)
    if run.returncode != 1 or os.path.exists(out):
        fail("missing configuration: exit %d, file left: %s" % (run.returncode, os.path.exists(out)))


def main():
    cli, samples, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    files = sorted(glob.glob(os.path.join(samples, "*.plt")))
    if not files:
        fail("no samples in " + samples)
    horizontal = {"units": 1, "scale": 500.0,
                  "corners": [(500000.0, 5000000.0, 80.0, 0.75, 0.75),
                              (0.0, 0.0, 0.0, 0.0, 0.0), (0.0, 0.0, 0.0, 0.0, 0.0)]}
    for sample in files:
        check(cli, sample, work, "normal", None)
        check(cli, sample, work, "horizontal", horizontal)
        check(cli, sample, work, "slope0.1", survey_cfg(0.001, 90.0))
        check(cli, sample, work, "slope5", survey_cfg(0.05, 30.0))
        check(cli, sample, work, "steep40-turned30", steep_cfg(40.0, 30.0))
    if files:
        check_refused(cli, files[0], work)
        check_missing_config(cli, files[0], work)
    if FAILURES:
        sys.exit("%d check(s) failed" % len(FAILURES))


if __name__ == "__main__":
    main()
