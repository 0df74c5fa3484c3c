#!/usr/bin/env python3
"""Makes Quillo's alert sound: a short two-tone chime, rising a fifth.

Standard library only, so the sound can be made again on any build
machine; nothing recorded goes into it.  Writes resources/sounds/alert.wav
(16-bit PCM, mono, 48 kHz), then reads the file back and exits non-zero if
its header, length or level is not what the client expects.
"""

import math
import os
import struct
import sys
import wave

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources", "sounds", "alert.wav")

RATE = 48000
LENGTH_S = 0.80
# Two struck notes, E5 then B5: bright enough to be heard over a fan, soft enough not to startle.
NOTES = [(0.00, 659.26, 0.60), (0.16, 987.77, 0.55)]  # start s, frequency Hz, level
# A bell-like timbre: partials at whole multiples decaying faster than the fundamental.
PARTIALS = [(1.0, 1.00, 1.0), (2.0, 0.28, 1.8), (3.0, 0.10, 2.6), (4.0, 0.04, 3.4)]
DECAY_PER_S = 5.0
ATTACK_S = 0.006
FADE_OUT_S = 0.12
PEAK = 0.70  # of full scale, so the sound never clips and leaves room for the mixer


def note(t, frequency):
    """One struck note at t seconds after its start."""
    if t < 0.0:
        return 0.0
    attack = min(1.0, t / ATTACK_S)
    value = 0.0
    for multiple, level, decay in PARTIALS:
        value += level * math.exp(-DECAY_PER_S * decay * t) * math.sin(2.0 * math.pi * frequency * multiple * t)
    return attack * value


def samples():
    count = int(RATE * LENGTH_S)
    raw = []
    for i in range(count):
        t = i / RATE
        value = sum(level * note(t - start, frequency) for start, frequency, level in NOTES)
        # A fade to exact silence at the end, so stopping the sound never clicks.
        remaining = LENGTH_S - t
        if remaining < FADE_OUT_S:
            value *= 0.5 - 0.5 * math.cos(math.pi * remaining / FADE_OUT_S)
        raw.append(value)
    peak = max(abs(v) for v in raw)
    return [round(v / peak * PEAK * 32767) for v in raw]


def write(path, values):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(struct.pack("<%dh" % len(values), *values))


def check(path):
    with wave.open(path, "rb") as sound:
        if (sound.getnchannels(), sound.getsampwidth(), sound.getframerate(), sound.getcomptype()) != (
            1,
            2,
            RATE,
            "NONE",
        ):
            return "not 16-bit PCM mono at %d Hz" % RATE
        frames = sound.getnframes()
        values = struct.unpack("<%dh" % frames, sound.readframes(frames))
    if not 0.2 <= frames / RATE < 1.0:
        return "%.2f s long" % (frames / RATE)
    peak = max(abs(v) for v in values)
    if peak >= 32767 or peak < 0.5 * 32767:
        return "peak %d out of range" % peak
    if abs(values[0]) > 400 or abs(values[-1]) > 10:
        return "does not fade in and out (%d ... %d)" % (values[0], values[-1])
    return None


def main():
    write(OUT, samples())
    problem = check(OUT)
    if problem:
        print("make_alert_sound: %s: %s" % (OUT, problem), file=sys.stderr)
        return 1
    print("make_alert_sound: wrote %s" % os.path.relpath(OUT, ROOT))
    return 0


if __name__ == "__main__":
    sys.exit(main())
