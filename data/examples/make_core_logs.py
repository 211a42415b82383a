#!/usr/bin/env python3
"""Writes example core logs shaped like real exports: a Geotek MSCL table of a
4.4 m piston core (comma- and semicolon-separated), LAS 2.0 sonic logs, plain
and headed comma-separated logs, and the wide-table seed of fuzz_survey_log.

Nothing here was measured: the values are smooth made-up curves with a
seeded jitter. Run from anywhere: python3 data/examples/make_core_logs.py
Deterministic: the same script always gives the same bytes.
"""
import math
import pathlib
import random

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE.parent.parent / "fuzz" / "corpus" / "fuzz_survey_log"


def piston_core():
    """439 readings, one a centimetre from 1 to 439 cm, in sections of 150 cm."""
    rng = random.Random(4402)
    rows = []
    for depth in range(1, 440):
        section = (depth - 1) // 150 + 1
        section_depth = depth - (section - 1) * 150
        # An uncalibrated logger: velocities of 1065 to 1112 m/s.
        velocity = 1088 + 18 * math.sin(depth / 37.0) + rng.uniform(-5, 5)
        density = 1.55 + 0.25 * depth / 439 + 0.04 * math.sin(depth / 13.0) + rng.uniform(-0.01, 0.01)
        amplitude = 70 + 15 * math.cos(depth / 23.0) + rng.uniform(-3, 3)
        ms = 12 + 8 * math.sin(depth / 51.0) + rng.uniform(-1, 1)
        porosity = (2.65 - density) / (2.65 - 1.024)
        rows.append({
            "sb": depth, "num": section, "sect": section_depth, "thick": 6.6,
            "amp": amplitude, "vel": velocity, "den": density, "ms": ms,
            "imp": velocity * density, "fp": porosity,
        })
    # The logger's gaps: no velocity and no density on the first reading (the
    # core top), no density on the last, single lost readings in between.
    rows[0]["vel"] = rows[0]["den"] = rows[0]["imp"] = rows[0]["fp"] = None
    rows[-1]["den"] = rows[-1]["imp"] = rows[-1]["fp"] = None
    for i in (57, 149, 301):
        rows[i]["vel"] = rows[i]["imp"] = None
    for i in (88, 212):
        rows[i]["den"] = rows[i]["imp"] = rows[i]["fp"] = None
    return rows


MSCL_HEADER = ["SB_DEPTH_cm", "SECT_NUM_cm", "SECT_DEPTH_cm", "CORE_THICK_cm", "PWAmp",
               "PWVel_m/s", "Den_gm/cc", "MS", "Imp", "FP"]


def mscl_cells(row):
    def fmt(value, digits):
        return "" if value is None else f"{value:.{digits}f}"
    return [str(row["sb"]), str(row["num"]), str(row["sect"]), fmt(row["thick"], 2),
            fmt(row["amp"], 0), fmt(row["vel"], 1), fmt(row["den"], 3), fmt(row["ms"], 1),
            fmt(row["imp"], 1), fmt(row["fp"], 3)]


def write_mscl():
    rows = piston_core()
    lines = [",".join(MSCL_HEADER)] + [",".join(mscl_cells(r)) for r in rows]
    (HERE / "piston_core_mscl.csv").write_bytes(("\r\n".join(lines) + "\r\n").encode())
    # The same export from a European system: a byte-order mark, semicolons,
    # decimal commas, lines ended by CR alone.
    lines = [";".join(MSCL_HEADER)]
    lines += [";".join(c.replace(".", ",") for c in mscl_cells(r)) for r in rows]
    text = "\ufeff" + "\r".join(lines) + "\r"
    (HERE / "piston_core_mscl_semicolon.csv").write_bytes(text.encode("utf-8"))


def sonic_well(start, stop, step):
    rng = random.Random(1730)
    depth = start
    out = []
    while (step > 0 and depth <= stop + 1e-9) or (step < 0 and depth >= stop - 1e-9):
        velocity = 1600 + 6 * abs(depth) + rng.uniform(-15, 15)
        density = 1.7 + 0.004 * abs(depth) + rng.uniform(-0.01, 0.01)
        out.append((round(depth, 4), velocity, density, 40 + rng.uniform(0, 30)))
        depth += step
    return out


def write_las_feet():
    """Logged upwards: depths decrease, in FEET, sonic (DT) and gamma only."""
    well = sonic_well(60.0, 30.0, -0.5)
    lines = ["~Version information",
             " VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0",
             " WRAP.   NO  : One line per depth step",
             "~Well information",
             f" STRT.FEET  {well[0][0]:.4f} : START DEPTH",
             f" STOP.FEET  {well[-1][0]:.4f} : STOP DEPTH",
             " STEP.FEET  -0.5000 : STEP",
             " NULL.      -999.25 : NULL VALUE",
             " WELL.      MADE-UP SHALLOW HOLE 7 : WELL",
             "~Curve information",
             " DEPT.FEET        : Depth",
             " GR  .GAPI        : Gamma ray",
             " DT  .US/F        : Sonic transit time",
             "~A  DEPT      GR       DT"]
    for i, (depth, velocity, _density, gamma) in enumerate(well):
        dt = 304800 / velocity
        # The sonic tool reads nothing on the top two steps (logged last).
        text_dt = "-999.25" if i >= len(well) - 2 or i == 17 else f"{dt:.2f}"
        lines.append(f" {depth:8.2f} {gamma:8.2f} {text_dt:>8}")
    (HERE / "well_sonic_feet.las").write_bytes(("\r\n".join(lines) + "\r\n").encode())


def write_las_wrapped():
    """Wrapped LAS 2.0 with a byte-order mark: depth in M, DT in US/M, RHOB."""
    well = sonic_well(0.5, 12.0, 0.5)
    lines = ["~VERSION INFORMATION",
             " VERS.  2.0 : CWLS log ASCII Standard -VERSION 2.0",
             " WRAP.  YES : Multiple lines per depth step",
             "~WELL INFORMATION",
             " STRT.M  0.5 :",
             " STOP.M  12.0 :",
             " STEP.M  0.5 :",
             " NULL.   -9999 :",
             "~CURVE INFORMATION",
             " DEPT.M    : Depth",
             " DT  .US/M : Sonic transit time",
             " RHOB.G/CC : Bulk density",
             " CALI.MM   : Caliper",
             "~ASCII"]
    for i, (depth, velocity, density, _gamma) in enumerate(well):
        rhob = "-9999" if i in (0, 9) else f"{density:.3f}"
        lines.append(f" {depth:.1f}")
        lines.append(f"   {1e6 / velocity:.2f} {rhob}")
        lines.append("   101.6")
    text = "\ufeff" + "\r\n".join(lines) + "\r\n"
    (HERE / "well_sonic_wrapped.las").write_bytes(text.encode("utf-8"))


def write_plain_csv():
    """Comma-separated logs: one without a header, one with another program's."""
    rows = [(r["sb"] / 100, r["vel"] + 420, r["den"]) for r in piston_core()[1:-1:20]
            if r["vel"] is not None and r["den"] is not None]
    plain = "".join(f"{d:.2f},{v:.1f},{p:.3f}\n" for d, v, p in rows)
    (HERE / "core_plain_commas.csv").write_bytes(plain.encode())
    headed = "Depth (cm),Vp (km/s),Rho [kg/m3]\n"
    headed += "".join(f"{d * 100:.0f},{v / 1000:.4f},{p * 1000:.0f}\n" for d, v, p in rows)
    (HERE / "core_other_header.csv").write_bytes(headed.encode())


def write_wide_table():
    """A 65 KB table whose row of names is far wider than its rows of values:
    each row of values must cost memory for its own cells only."""
    heading = "DEPTH," + ",".join(f"C{i}" for i in range(1, 5000))
    rows = "".join(f"{i}\n" for i in range(1, 11000))
    text = (heading + "\n" + rows)[:65407]
    CORPUS.mkdir(parents=True, exist_ok=True)
    (CORPUS / "wide_table.csv").write_bytes(text.encode())


if __name__ == "__main__":
    write_mscl()
    write_las_feet()
    write_las_wrapped()
    write_plain_csv()
    write_wide_table()
    # The files with a byte-order mark, semicolons and decimal commas seed the
    # survey-log fuzz target as well.
    for name in ("piston_core_mscl_semicolon.csv", "well_sonic_wrapped.las",
                 "well_sonic_feet.las"):
        (CORPUS / name).write_bytes((HERE / name).read_bytes())
