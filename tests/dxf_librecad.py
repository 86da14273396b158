"""Tilted DXF exports of the samples as LibreCAD prints them.

Each sample is exported on a steep plane turned by 30 degrees (the configuration of
dxf_ezdxf.py) and printed with `librecad dxf2pdf --fit`, which scales the drawing's extents to
the page. The ink must then fill most of the page: a TEXT or CIRCLE that LibreCAD puts far off
(it ignores their extrusion) shrinks the drawing to a dot or leaves the page blank. Exits with
77 (skipped) when librecad or pdftoppm is not installed.

    /usr/bin/python3 dxf_librecad.py CLI SAMPLES_DIR WORK_DIR
"""

import glob
import os
import shutil
import subprocess
import sys

from dxf_ezdxf import steep_cfg, write_cfg

SKIPPED = 77


def ink_box(pgm):
    """Bounding box of the dark pixels of a binary PGM, as fractions of its size, and the
    share of dark pixels."""
    with open(pgm, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maximum
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:pos + 1 + width * height]
    dark = [i for i, v in enumerate(pixels) if v < 200]
    if not dark:
        return (0.0, 0.0), 0.0
    xs = [i % width for i in dark]
    ys = [i // width for i in dark]
    return (((max(xs) - min(xs) + 1) / width, (max(ys) - min(ys) + 1) / height),
            len(dark) / (width * height))


def main():
    cli, samples, work = sys.argv[1:4]
    missing = [t for t in ("librecad", "pdftoppm") if shutil.which(t) is None]
    if missing:
        print("SKIPPED: %s not installed (apt-get install librecad poppler-utils)"
              % " and ".join(missing))
        sys.exit(SKIPPED)
    os.makedirs(work, exist_ok=True)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    failures = 0
    for sample in sorted(glob.glob(os.path.join(samples, "*.plt"))):
        name = os.path.basename(sample)[:-4] + "-tilted"
        dxf, cfg = os.path.join(work, name + ".dxf"), os.path.join(work, name + ".cfg")
        pdf = dxf[:-4] + ".pdf"
        write_cfg(cfg, steep_cfg(40.0, 30.0))
        subprocess.run([cli, "convert", sample, dxf, "--config", cfg], check=True)
        if os.path.exists(pdf):
            os.remove(pdf)
        # dxf2pdf writes the PDF beside the DXF.
        subprocess.run(["librecad", "dxf2pdf", "--fit", dxf], env=env, check=True,
                       capture_output=True, timeout=300)
        subprocess.run(["pdftoppm", "-r", "20", "-gray", "-singlefile", pdf, pdf[:-4]],
                       check=True)
        (w, h), share = ink_box(pdf[:-4] + ".pgm")
        ok = max(w, h) >= 0.6 and share >= 0.01
        failures += not ok
        print("%s: %s, ink spans %.0f%% x %.0f%% of the page, %.1f%% dark"
              % ("ok" if ok else "FAIL", os.path.basename(pdf), 100 * w, 100 * h, 100 * share))
    if failures:
        sys.exit("%d drawing(s) do not fill the page" % failures)


if __name__ == "__main__":
    main()
