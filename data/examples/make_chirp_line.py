#!/usr/bin/env python3
"""Writes chirp_line.sgy, a sub-bottom chirp line as such profilers record it.

Run from anywhere: python3 data/examples/make_chirp_line.py
Deterministic: the same script always gives the same bytes. Nothing here was
measured; the line imitates what real ones hold, faults included:

- SEG-Y revision 1 layout, big-endian, EBCDIC textual header;
- 240 traces of 400 samples, 2-byte signed integers (format 3) holding the
  envelope of the correlated chirp (so every sample is 0 or more);
- the outgoing pulse in the first five samples of every trace;
- the sea floor at sample 50 + round(2 sin(2 pi i / 240)) of trace i (from 0):
  sample 50 on trace 1, 52 on trace 61, 48 on trace 181;
- a wrong sample interval: the headers say 66 microseconds, but the water
  depth word (bytes 61-64, centimetres, scalar -100) of 24.75 m against the
  sea floor 50 samples in implies 0.66 ms at 1500 m/s;
- field record numbers 5001-5240, one channel;
- positions as longitude/latitude in seconds of arc (units code 2) with
  scalar -100, running north-east from 13 30' E, 43 30' N, about 1 m apart.
"""
import math
import pathlib
import random
import struct

HERE = pathlib.Path(__file__).resolve().parent
TRACES = 240
SAMPLES = 400
HEADER_INTERVAL_US = 66
TRUE_INTERVAL_MS = 0.66


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
        else:
            out.append({".": 0x4B, "-": 0x60, ":": 0x7A, "/": 0x61, ",": 0x6B}.get(c, 0x40))
    return bytes(out)


def textual_header():
    lines = [
        "C 1 QUARVEL EXAMPLE CHIRP LINE - GENERATED, NOT MEASURED",
        "C 2 SUB-BOTTOM PROFILER 2-7 KHZ CHIRP, ENVELOPE OF CORRELATED DATA",
        "C 3 LINE EX-15 240 SHOTS, ONE CHANNEL",
        "C 4 SAMPLE FORMAT 2-BYTE INTEGER, 400 SAMPLES",
        "C 5 COORDINATES LONGITUDE/LATITUDE IN ARC SECONDS, SCALAR -100",
        "C 6 WATER DEPTH IN BYTES 61-64, CM",
    ]
    text = b""
    for number in range(40):
        line = lines[number] if number < len(lines) else "C%2d" % (number + 1)
        text += ebcdic(line.ljust(80)[:80])
    return text


def sea_floor(trace):
    return 50 + round(2 * math.sin(2 * math.pi * trace / TRACES))


def envelope(trace, rng):
    floor = sea_floor(trace)
    pulse = [26000, 21000, 12000, 4200, 900]
    # Reflectors below the sea floor: (samples below it, strength).
    layers = [(14, 5200), (31, 7400), (47, 3100), (80, 4600), (120, 2200)]
    values = []
    for i in range(SAMPLES):
        value = 60 + 50 * rng.random()
        if i < len(pulse):
            value = pulse[i] * (0.97 + 0.06 * rng.random())
        below = i - floor
        if below >= 0:
            rise = 0.55 if below == 0 else 1.0
            value += 17000 * rise * math.exp(-below / 3.5) * (0.9 + 0.2 * rng.random())
            value += 700 * math.exp(-below / 150) * rng.random()
            for depth, strength in layers:
                value += strength * math.exp(-abs(below - depth) / 1.8)
        values.append(min(32767, int(round(value))))
    return values


def trace_header(trace):
    header = bytearray(240)
    struct.pack_into(">i", header, 0, trace + 1)
    struct.pack_into(">i", header, 8, 5001 + trace)
    struct.pack_into(">i", header, 12, 1)
    water_depth_cm = round(sea_floor(trace) * TRUE_INTERVAL_MS / 1000 * 1500 / 2 * 100)
    struct.pack_into(">i", header, 60, water_depth_cm)
    struct.pack_into(">h", header, 68, -100)
    struct.pack_into(">h", header, 70, -100)
    longitude = (13.5 * 3600 + 0.023 * trace) * 100
    latitude = (43.5 * 3600 + 0.023 * trace) * 100
    struct.pack_into(">i", header, 72, round(longitude))
    struct.pack_into(">i", header, 76, round(latitude))
    struct.pack_into(">h", header, 88, 2)
    struct.pack_into(">H", header, 114, SAMPLES)
    struct.pack_into(">H", header, 116, HEADER_INTERVAL_US)
    return bytes(header)


def main():
    binary = bytearray(400)
    struct.pack_into(">i", binary, 4, 15)
    struct.pack_into(">H", binary, 16, HEADER_INTERVAL_US)
    struct.pack_into(">H", binary, 20, SAMPLES)
    struct.pack_into(">h", binary, 24, 3)
    struct.pack_into(">h", binary, 28, 1)
    struct.pack_into(">H", binary, 300, 0x0100)
    struct.pack_into(">h", binary, 302, 1)
    rng = random.Random(15)
    traces = bytearray()
    for trace in range(TRACES):
        traces += trace_header(trace)
        traces += struct.pack(">%dh" % SAMPLES, *envelope(trace, rng))
    (HERE / "chirp_line.sgy").write_bytes(textual_header() + bytes(binary) + bytes(traces))


if __name__ == "__main__":
    main()
