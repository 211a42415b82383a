#!/usr/bin/env python3
"""Makes the bundled demo core under data/demo/.

Everything here is generated: a made-up 2.8 m marine sediment core (hemipelagic
clay with a few sandy turbidite beds and a tephra), its photograph, the
photograph's boundary file, a chirp setting and a recorded trace. The same seed
always gives the same files.

    python3 scripts/make-demo.py [--synth PATH/TO/quarvel-synth] [--out DIR]

The trace is the program's own synthetic (computed by quarvel-synth) of a
slightly different version of the log, with noise and a sea-floor delay
added, so it needs --synth; without it the other files are written and the
trace is left as it is.
"""

import argparse
import math
import os
import random
import struct
import subprocess
import sys
import tempfile

SEED = 20261207
STEP_M = 0.01
TOP_M = 0.01
BOTTOM_M = 2.80

# The chirp setting of the demo: a 20 ms sweep from 2 to 12 kHz sampled at
# 100 kHz, as a typical hull-mounted sub-bottom profiler uses.
SIG = ["0.02", "2000", "12000", "0.00001"]

# The photograph: 120 px wide, 5 mm of core per pixel row. The core spans
# columns 10 to 109; outside it lies the grey core tray.
PHOTO_WIDTH = 120
MM_PER_ROW = 5
PHOTO_HEIGHT = int(round(BOTTOM_M * 1000 / MM_PER_ROW))
CORE_LEFT = 10
CORE_RIGHT = 110

# Sea-floor two-way time of the recorded trace (about 62 m of water).
SEA_FLOOR_MS = 83.5
TRACE_STEP = 4  # keep every 4th synthetic sample: 0.04 ms, a 25 kHz record


def crlf_lines(lines):
    return "".join(line + "\r\n" for line in lines)


def write_text(path, lines):
    with open(path, "w", newline="") as f:
        f.write(crlf_lines(lines))


class Noise:
    """Gaussian numbers from a seeded generator (Box-Muller on random())."""

    def __init__(self, seed):
        self.rng = random.Random(seed)

    def uniform(self):
        return self.rng.random()

    def gauss(self, sigma=1.0):
        u1 = max(self.rng.random(), 1e-12)
        u2 = self.rng.random()
        return sigma * math.sqrt(-2.0 * math.log(u1)) * math.cos(2.0 * math.pi * u2)


# Beds: (top m, base m, velocity m/s, density g/cc). Turbidites are sharp at
# the base and fine upwards, so their properties fall off towards the top.
BEDS = [
    (0.40, 0.47, 1610.0, 1.80, "turbidite"),
    (0.93, 1.01, 1625.0, 1.84, "turbidite"),
    (1.36, 1.55, 1650.0, 1.90, "turbidite"),
    (1.74, 1.76, 1560.0, 1.66, "tephra"),
    (2.04, 2.11, 1630.0, 1.86, "turbidite"),
    (2.47, 2.52, 1615.0, 1.82, "turbidite"),
]


def background(z):
    """Hemipelagic clay, slowly compacting downwards."""
    return 1485.0 + 22.0 * z / BOTTOM_M, 1.46 + 0.16 * z / BOTTOM_M


def properties(z, beds):
    v, rho = background(z)
    for top, base, bv, brho, kind in beds:
        if top <= z <= base:
            grading = 1.0 if kind == "tephra" else 0.55 + 0.45 * (z - top) / (base - top)
            v += (bv - v) * grading
            rho += (brho - rho) * grading
    return v, rho


def depths(bottom):
    n = int(round((bottom - TOP_M) / STEP_M)) + 1
    return [round(TOP_M + i * STEP_M, 2) for i in range(n)]


def make_log(noise, beds, bottom):
    rows = []
    for z in depths(bottom):
        v, rho = properties(z, beds)
        rows.append([z, v + noise.gauss(1.5), rho + noise.gauss(0.006)])
    return rows


def punch_gaps(rows):
    """A cracked stretch with no velocity and two rows with no density, the
    missing values written as 0 as the logger writes them."""
    for z in (0.70, 0.71, 0.72):
        rows[index_of(rows, z)][1] = 0.0
    for z in (2.31, 2.32):
        rows[index_of(rows, z)][2] = 0.0


def index_of(rows, z):
    return min(range(len(rows)), key=lambda i: abs(rows[i][0] - z))


def log_lines(rows):
    return ["%.2f %.2f %.3f" % (z, v, rho) for z, v, rho in rows]


def shade_at(z):
    """0 for the lightest sediment, 1 for the densest."""
    _, rho = properties(z, BEDS)
    return min(1.0, max(0.0, (rho - 1.44) / (1.92 - 1.44)))


def photo_pixels(noise):
    tray = (92, 94, 98)
    rows = []
    # Small lateral streaks that run across the core, as cut surfaces show.
    streak = [noise.gauss(6.0) for _ in range(PHOTO_HEIGHT)]
    for y in range(PHOTO_HEIGHT):
        z = (y + 0.5) * MM_PER_ROW / 1000.0
        s = shade_at(z)
        tephra = any(kind == "tephra" and top <= z <= base for top, base, _, _, kind in BEDS)
        # Olive-grey clay; denser beds are darker and greyer, the tephra dark
        # grey-black.
        base = (148 - 78 * s, 138 - 70 * s, 104 - 44 * s)
        if tephra:
            base = (58, 58, 62)
        row = []
        for x in range(PHOTO_WIDTH):
            if x < CORE_LEFT or x >= CORE_RIGHT:
                row.append(tray)
                continue
            # The split core's surface falls away towards its edges.
            u = (x - CORE_LEFT + 0.5) / (CORE_RIGHT - CORE_LEFT) * 2.0 - 1.0
            edge = 1.0 - 0.22 * u ** 4
            grain = noise.gauss(4.0)
            speck = -40.0 if noise.uniform() < 0.004 else 0.0
            row.append(tuple(
                int(min(255, max(0, c * edge + streak[y] + grain + speck))) for c in base))
        rows.append(row)
    return rows


def write_bmp(path, pixels):
    """A 24-bit Windows bitmap, bottom-up rows padded to four bytes."""
    height = len(pixels)
    width = len(pixels[0])
    stride = (width * 3 + 3) // 4 * 4
    image = bytearray()
    for row in reversed(pixels):
        for r, g, b in row:
            image += bytes((b, g, r))
        image += bytes(stride - width * 3)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image),
                       3780, 3780, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + image)


def bnd_lines():
    # Top, Bottom, Left, Right (mm), then xmin, xmax, ymin, ymax (pixels):
    # row 0 is the core top, the last row its base.
    width_mm = (CORE_RIGHT - CORE_LEFT) * MM_PER_ROW
    return ["0", str(PHOTO_HEIGHT * MM_PER_ROW), "0", str(width_mm),
            str(CORE_LEFT), str(CORE_RIGHT - 1), "0", str(PHOTO_HEIGHT)]


def read_pairs(path):
    pairs = []
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 2:
                pairs.append((float(parts[0]), float(parts[1])))
    return pairs


def make_trace(synth, noise):
    """The synthetic of a recorded version of the core: beds a little
    shifted and contrasts a little changed, 10 cm more sediment below the
    core's base, then delayed to the sea floor, sampled at 25 kHz, with
    noise."""
    beds = [(top + 0.015, base + 0.02, v * 0.99, rho * 0.99, kind)
            for top, base, v, rho, kind in BEDS]
    rows = make_log(noise, beds, BOTTOM_M + 0.10)
    with tempfile.TemporaryDirectory() as work:
        write_text(os.path.join(work, "log.dat"), log_lines(rows))
        args = ["--width", SIG[0], "--start", SIG[1], "--end", SIG[2], "--interval", SIG[3],
                "--workdir", work]
        subprocess.run([synth, "chirp"] + args, check=True)
        subprocess.run([synth, "synthetic"] + args[2:], check=True)
        pairs = read_pairs(os.path.join(work, "ampl.dat"))
    lines = []
    for t, a in pairs[::TRACE_STEP]:
        amplitude = 9000.0 * abs(a) + abs(noise.gauss(260.0))
        lines.append("%.3f %.1f" % (SEA_FLOOR_MS + t * 1000.0, amplitude))
    return lines


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description="Makes the bundled demo core.")
    parser.add_argument("--out", default=os.path.join(here, "..", "data", "demo"))
    parser.add_argument("--synth", help="path of quarvel-synth, needed for the trace")
    options = parser.parse_args()
    out = options.out
    os.makedirs(out, exist_ok=True)

    noise = Noise(SEED)
    rows = make_log(noise, BEDS, BOTTOM_M)
    punch_gaps(rows)
    write_text(os.path.join(out, "demo_core_log.txt"), log_lines(rows))
    write_bmp(os.path.join(out, "demo_core.bmp"), photo_pixels(noise))
    write_text(os.path.join(out, "demo_core.BND"), bnd_lines())
    write_text(os.path.join(out, "demo_chirp.SIG"), SIG)
    if options.synth:
        write_text(os.path.join(out, "demo_trace.txt"), make_trace(options.synth, noise))
    else:
        print("no --synth given: demo_trace.txt left as it is", file=sys.stderr)
    print("demo core written to " + os.path.normpath(out))


if __name__ == "__main__":
    main()
