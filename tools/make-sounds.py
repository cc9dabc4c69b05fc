#!/usr/bin/env python3
"""Makes the practice sounds of the demo working directory: short, soft tones."""
import math
import struct
import sys
import wave

RATE = 22050


def note(frequency, seconds, volume=0.35):
    n = int(RATE * seconds)
    samples = []
    for i in range(n):
        t = i / RATE
        # A quick rise and a gentle fall, with a little of the octave for warmth.
        envelope = min(1.0, t / 0.01) * math.exp(-4.0 * t / seconds)
        value = math.sin(2 * math.pi * frequency * t) + 0.25 * math.sin(4 * math.pi * frequency * t)
        samples.append(volume * envelope * value / 1.25)
    return samples


def write(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(32767 * s)) for s in samples))


folder = sys.argv[1] if len(sys.argv) > 1 else "data"
write(f"{folder}/right.wav", note(784.0, 0.09) + note(1046.5, 0.16))   # G5 then C6, rising
write(f"{folder}/wrong.wav", note(233.1, 0.12, 0.3) + note(207.7, 0.2, 0.3))  # two low notes, falling
write(f"{folder}/skipped.wav", note(587.3, 0.15, 0.25))                # one soft D5
