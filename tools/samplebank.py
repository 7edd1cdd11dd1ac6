#!/usr/bin/env python3
"""Helpers of make-samples.sh (standard library only).

  samplebank.py midi PROGRAM OUT.mid        the 40 notes of one timbre as a MIDI sequence
  samplebank.py split IN.f32 OUTDIR LETTER  cut the 16 kHz mono render into LETTERnn.wav files
"""
import array
import math
import struct
import sys

NOTES = 40
FIRST_MIDI_NOTE = 40          # E2, the open sixth string
TICKS_PER_BEAT = 1000         # with 1 s per beat, one tick is 1 ms
SLOT_MS = 3500                # each note gets its own 3.5 s slot
HOLD_MS = 3150                # note-off after the 3 s we keep
VELOCITY = 100
RATE = 16000
LENGTH = 48000                # samples per bank file
PRE_ATTACK = RATE // 1000     # at most 1 ms before the attack
TARGET_PEAK = 10 ** (-1 / 20) # -1 dBFS


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(out)


def write_midi(program, path):
    events = [(0, bytes([0xFF, 0x51, 0x03]) + (1000000).to_bytes(3, "big")),
              (0, bytes([0xC0, program]))]
    for i in range(NOTES):
        start = i * SLOT_MS
        note = FIRST_MIDI_NOTE + i
        events.append((start, bytes([0x90, note, VELOCITY])))
        events.append((start + HOLD_MS, bytes([0x80, note, 0])))
        # all-sound-off: fast render would otherwise keep rendering the release tail
        events.append((start + HOLD_MS + 1, bytes([0xB0, 120, 0])))
    events.append((NOTES * SLOT_MS, bytes([0xFF, 0x2F, 0x00])))
    track = bytearray()
    now = 0
    for time, data in events:
        track += vlq(time - now) + data
        now = time
    header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, TICKS_PER_BEAT)
    with open(path, "wb") as f:
        f.write(header + b"MTrk" + struct.pack(">I", len(track)) + track)


def attack_position(samples, begin, end):
    peak = max(abs(x) for x in samples[begin:end])
    threshold = peak * 0.02
    for i in range(begin, end):
        if abs(samples[i]) >= threshold:
            return i
    return begin


def write_wave(path, values):
    data = array.array("h", values)
    if sys.byteorder != "little":
        data.byteswap()
    raw = data.tobytes()
    header = b"RIFF" + struct.pack("<I", 36 + len(raw)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16)
    header += b"data" + struct.pack("<I", len(raw))
    with open(path, "wb") as f:
        f.write(header + raw)


def split(source, outdir, letter):
    samples = array.array("f")
    with open(source, "rb") as f:
        samples.frombytes(f.read())
    if sys.byteorder != "little":
        samples.byteswap()
    slot = SLOT_MS * RATE // 1000
    notes = []
    for i in range(NOTES):
        begin = i * slot
        attack = attack_position(samples, begin, min(begin + slot, len(samples)))
        start = max(begin, attack - PRE_ATTACK)
        note = samples[start:start + LENGTH]
        note.extend([0.0] * (LENGTH - len(note)))
        notes.append(note)
    gain = TARGET_PEAK / max(max(abs(x) for x in note) for note in notes)
    for i, note in enumerate(notes):
        values = [max(-32768, min(32767, round(x * gain * 32768))) for x in note]
        write_wave(f"{outdir}/{letter}{i:02d}.wav", values)
    print(f"{letter}: gain {20 * math.log10(gain):+.1f} dB")


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "midi":
        write_midi(int(sys.argv[2]), sys.argv[3])
    elif len(sys.argv) == 5 and sys.argv[1] == "split":
        split(sys.argv[2], sys.argv[3], sys.argv[4])
    else:
        sys.exit(__doc__)
