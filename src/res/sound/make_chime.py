#!/usr/bin/env python3
"""Writes the alarm's chime: three soft bell strikes rising (C6, E6, G6)
and a closing chord, twice, as 16-bit mono PCM at 22050 Hz. Usage:
make_chime.py OUT.wav"""
import math
import struct
import sys
import wave

RATE = 22050


def bell(freq, seconds):
    """A bell-like strike: a few inharmonic partials, each dying away."""
    partials = ((1.0, 1.0, 2.2), (2.0, 0.45, 3.5), (2.76, 0.25, 5.0), (5.4, 0.08, 8.0))
    n = int(RATE * seconds)
    out = []
    for i in range(n):
        t = i / RATE
        attack = min(1.0, t / 0.004)
        v = sum(a * math.exp(-d * t) * math.sin(2 * math.pi * freq * r * t) for r, a, d in partials)
        out.append(attack * v)
    return out


def mix(track, sound, at, gain):
    start = int(at * RATE)
    if len(track) < start + len(sound):
        track.extend([0.0] * (start + len(sound) - len(track)))
    for i, v in enumerate(sound):
        track[start + i] += gain * v


def main(path):
    c6, e6, g6 = 1046.5, 1318.5, 1568.0
    track = []
    for rep in range(2):
        base = rep * 1.6
        for k, f in enumerate((c6, e6, g6)):
            mix(track, bell(f, 1.2), base + 0.22 * k, 0.5)
        for f in (c6, e6, g6):
            mix(track, bell(f, 1.4), base + 0.8, 0.3)
    track.extend([0.0] * int(0.2 * RATE))
    peak = max(abs(v) for v in track) or 1.0
    scale = 0.7 * 32767 / peak
    frames = b"".join(struct.pack("<h", int(v * scale)) for v in track)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


if __name__ == "__main__":
    main(sys.argv[1])
