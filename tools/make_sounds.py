#!/usr/bin/env python3
"""Writes the program's own alert sounds into resources/ModemList/sound/.

Every sound is synthesised here from sine partials, so the output is ours and reproducible:
running the script again gives byte-identical files. Format: 16-bit PCM, mono, 22050 Hz, each
under a second. Usage: tools/make_sounds.py [output folder]
"""

import math
import os
import struct
import sys
import wave

RATE = 22050
PEAK = 0.6 * 32767  # headroom, so that overlapping partials never clip


def note(freq, seconds, partials=((1.0, 1.0),), attack=0.008, decay=6.0):
    """A struck tone: quick attack, exponential decay; partials are (ratio, weight) pairs."""
    n = int(RATE * seconds)
    total = sum(w for _, w in partials)
    out = []
    for i in range(n):
        t = i / RATE
        env = min(1.0, t / attack) * math.exp(-decay * t)
        # A short fade at the very end keeps the cut from clicking.
        env *= min(1.0, (n - i) / (0.004 * RATE))
        s = sum(w * math.sin(2 * math.pi * freq * r * t) for r, w in partials) / total
        out.append(env * s)
    return out


def flat(freq, seconds, partials=((1.0, 1.0), (2.0, 0.25))):
    """A steady tone with soft edges, for the ring's two-tone bursts."""
    n = int(RATE * seconds)
    edge = 0.01 * RATE
    total = sum(w for _, w in partials)
    out = []
    for i in range(n):
        t = i / RATE
        env = min(1.0, i / edge, (n - i) / edge)
        out.append(env * sum(w * math.sin(2 * math.pi * freq * r * t) for r, w in partials) / total)
    return out


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def mix_at(base, part, offset_s):
    """Adds `part` into `base` starting at `offset_s`, growing `base` as needed."""
    start = int(RATE * offset_s)
    end = start + len(part)
    if len(base) < end:
        base.extend([0.0] * (end - len(base)))
    for i, v in enumerate(part):
        base[start + i] += v
    return base


BELL = ((1.0, 1.0), (2.0, 0.35), (3.01, 0.12))
GLASS = ((1.0, 1.0), (2.76, 0.25), (5.4, 0.08))


def online():
    # Rising major third and fifth: the line came up.
    s = []
    for k, f in enumerate((523.25, 659.25, 783.99)):
        mix_at(s, note(f, 0.45, BELL, decay=7.0), 0.11 * k)
    return s


def offline():
    # The same figure falling and lower: the line went down.
    s = []
    for k, f in enumerate((587.33, 440.0, 349.23)):
        mix_at(s, note(f, 0.45, BELL, decay=7.0), 0.12 * k)
    return s


def sms():
    # Two bright glassy pings, the second higher.
    s = []
    mix_at(s, note(1318.5, 0.25, GLASS, decay=14.0), 0.0)
    mix_at(s, note(1760.0, 0.35, GLASS, decay=11.0), 0.13)
    return s


def call():
    # Two tones alternating quickly, as a phone trills, with a short rest after; played back to
    # back it rings on evenly.
    s = []
    for _ in range(5):
        s += flat(880.0, 0.06) + flat(698.46, 0.06)
    return s + silence(0.3)


def quit_():
    # One soft low chime that dies away: the program goes.
    return note(392.0, 0.7, BELL, decay=5.0)


SOUNDS = {
    "online.wav": online,
    "offline.wav": offline,
    "sms.wav": sms,
    "call.wav": call,
    "quit.wav": quit_,
}


def write(path, samples):
    frames = b"".join(struct.pack("<h", max(-32768, min(32767, int(round(v * PEAK))))) for v in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "ModemList", "sound")
    os.makedirs(folder, exist_ok=True)
    for name, make in SOUNDS.items():
        samples = make()
        assert len(samples) < RATE, name + " is a second or longer"
        write(os.path.join(folder, name), samples)
        print("%-12s %5d ms" % (name, len(samples) * 1000 // RATE))


if __name__ == "__main__":
    main()
