#!/usr/bin/env python3
"""Writes the example survey files from the demo core in ../demo.

Run from anywhere: python3 data/examples/make_examples.py
Deterministic: the same demo files always give the same bytes.
"""
import math
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
DEMO = HERE.parent / "demo"


def demo_log():
    rows = []
    for line in (DEMO / "demo_core_log.txt").read_text().split():
        rows.append(float(line))
    return [rows[i:i + 3] for i in range(0, len(rows), 3)]


def demo_trace():
    values = [float(v) for v in (DEMO / "demo_trace.txt").read_text().split()]
    return values[0::2], values[1::2]


def ibm_float(value):
    """IBM System/360 single precision, big-endian."""
    if value == 0:
        return b"\0\0\0\0"
    sign = 0x80000000 if value < 0 else 0
    magnitude = abs(value)
    exponent = 64
    while magnitude >= 1:
        magnitude /= 16
        exponent += 1
    while magnitude < 1 / 16:
        magnitude *= 16
        exponent -= 1
    fraction = int(round(magnitude * (1 << 24)))
    if fraction == 1 << 24:
        fraction >>= 4
        exponent += 1
    return struct.pack(">I", sign | (exponent << 24) | fraction)


def ebcdic(text):
    out = bytearray()
    for c in text.upper():
        if c.isdigit():
            out.append(0xF0 + int(c))
        elif "A" <= c <= "I":
            out.append(0xC1 + ord(c) - ord("A"))
        elif "J" <= c <= "R":
            out.append(0xD1 + ord(c) - ord("J"))
        elif "S" <= c <= "Z":
            out.append(0xE2 + ord(c) - ord("S"))
        elif c == ".":
            out.append(0x4B)
        elif c == "-":
            out.append(0x60)
        else:
            out.append(0x40)
    return bytes(out)


def write_segy():
    times, envelope = demo_trace()
    interval_us = round((times[1] - times[0]) * 1000)
    delay_tenths = round(times[0] * 10)
    lines = [
        "C 1 QUARVEL EXAMPLE CHIRP LINE - MADE FROM THE DEMO CORE TRACE",
        "C 2 FIVE SHOTS OF THREE CHANNELS - ENVELOPE REAL IMAGINARY",
        "C 3 IBM FLOAT - 40 MICROSECONDS - DELAY 83.5 MS",
        "C40 END TEXTUAL HEADER",
    ]
    text = b"".join(ebcdic(line.ljust(80)) for line in lines).ljust(3200, b"\x40")
    binary = bytearray(400)
    struct.pack_into(">hhh", binary, 16, interval_us, 0, len(envelope))
    struct.pack_into(">h", binary, 24, 1)
    traces = bytearray()
    for shot in range(5):
        scale = 1 + 0.02 * shot
        for channel in range(3):
            header = bytearray(240)
            struct.pack_into(">i", header, 0, shot * 3 + channel + 1)
            struct.pack_into(">i", header, 8, 1001 + shot)
            struct.pack_into(">i", header, 12, channel + 1)
            struct.pack_into(">hh", header, 108, delay_tenths, 0)
            struct.pack_into(">hh", header, 114, len(envelope), interval_us)
            struct.pack_into(">h", header, 214, -10)
            samples = bytearray()
            for t, e in zip(times, envelope):
                phase = 2 * math.pi * 4.5 * t  # 4.5 kHz carrier, t in ms
                value = [e, e * math.cos(phase), e * math.sin(phase)][channel] * scale
                samples += ibm_float(round(value, 1))
            traces += header + samples
    (HERE / "demo_line.sgy").write_bytes(text + bytes(binary) + bytes(traces))


def write_las():
    rows = [r for r in demo_log() if round(r[0] * 100) % 5 == 0]
    out = [
        "~VERSION INFORMATION",
        " VERS.          2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0",
        " WRAP.          NO  : ONE LINE PER DEPTH STEP",
        "~WELL INFORMATION",
        " STRT.M        0.05 : START DEPTH",
        " STOP.M        2.80 : STOP DEPTH",
        " STEP.M        0.05 : STEP",
        " NULL.      -999.25 : NULL VALUE",
        " WELL.   DEMO CORE  : MADE-UP CORE OF THE QUARVEL DEMO",
        "~CURVE INFORMATION",
        " DEPT.M             : DEPTH",
        " VP  .M/S           : P-WAVE VELOCITY",
        " RHOB.G/CC          : BULK DENSITY",
        "~ASCII",
    ]
    for depth, velocity, density in rows:
        if round(depth * 100) in (70, 75):
            velocity = 0  # the demo's velocity gap, widened to two readings
        v = "-999.25" if velocity == 0 else f"{velocity:.2f}"
        d = "-999.25" if density == 0 else f"{density:.3f}"
        out.append(f" {depth:.2f} {v} {d}")
    (HERE / "demo_core.las").write_bytes(("\r\n".join(out) + "\r\n").encode())


def write_mscl():
    rows = [r for r in demo_log() if round(r[0] * 100) % 2 == 0]
    out = [
        "Geotek MSCL-S\tDEMO CORE\tmade-up example",
        "SECT NUM\tSECT DEPTH\tSB DEPTH\tCT\tPWAmp\tPWVel\tDen1",
        "\tcm\tcm\tcm\t\tm/s\tgm/cc",
    ]
    section_length = 100
    for i, (depth, velocity, density) in enumerate(rows):
        cm = depth * 100
        section = int((cm - 1e-9) // section_length) + 1
        amplitude = 60 + (i * 37) % 25
        if abs(cm - section_length * round(cm / section_length)) < 3 and cm > 3:
            amplitude = 3  # the transducers lose contact at a section join
        if i % 31 in (12, 13):
            velocity = 4200.0  # a spike over two readings
        if 229 <= cm <= 233:
            density = 0  # the demo's density gap, widened to two readings
        v = "" if velocity == 0 else f"{velocity:.1f}"
        d = "" if density == 0 else f"{density:.3f}"
        sect_depth = cm - (section - 1) * section_length
        out.append(f"{section}\t{sect_depth:.1f}\t{cm:.1f}\t6.20\t{amplitude}\t{v}\t{d}")
    (HERE / "demo_core_mscl.txt").write_bytes(("\r\n".join(out) + "\r\n").encode())


if __name__ == "__main__":
    write_segy()
    write_las()
    write_mscl()
