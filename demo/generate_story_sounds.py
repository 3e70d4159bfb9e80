#!/usr/bin/env python3
"""Makes the sounds and music of the demo's first chapter as 16-bit mono wave files at 22,050 Hz
(canonical 44-byte headers, as the game reads them):

sound/chime.wav   a two-note chime, played once
sound/bell.wav    a single bell, played once at a lower volume
sound/thud.wav    a low rumble under the quake
sound/rain.wav    one second of soft noise that loops without a seam
music/bgm01a.wav  the intro of piece 1 (two bars)
music/bgm01b.wav  its loop (four bars), which the music player repeats after the intro
voice/_none.mp3   a few silent MPEG layer-3 frames: the voice the game plays once at start-up

Only the standard library is used: python3 demo/generate_story_sounds.py
"""
import math
import os
import random
import struct
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
RATE = 22050


def write_wave(relative, samples):
    path = os.path.join(HERE, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, int(s))))
                                 for s in samples))


def note(frequency, seconds, volume, decay=3.0, harmonics=(1.0, 0.5, 0.25)):
    """A plucked tone: a few harmonics under an exponential decay with a 5 ms attack."""
    count = int(seconds * RATE)
    out = []
    for i in range(count):
        t = i / RATE
        envelope = min(1.0, t / 0.005) * math.exp(-decay * t)
        tail = min(1.0, (count - i) / (0.01 * RATE))  # ends at zero: no click
        value = sum(h * math.sin(2 * math.pi * frequency * (k + 1) * t)
                    for k, h in enumerate(harmonics))
        out.append(volume * envelope * tail * value)
    return out


def mix_into(track, start, part):
    for i, value in enumerate(part):
        if start + i < len(track):
            track[start + i] += value


def frequency(name):
    """A note name such as "A4" or "C#5" as hertz."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    semitone = steps[name[0]] + (1 if "#" in name else 0)
    octave = int(name[-1])
    return 440.0 * 2 ** ((semitone + 12 * (octave - 4)) / 12)


def melody(notes, beat, seconds):
    """notes: (beat index, name, beats, volume); a track of `seconds`."""
    track = [0.0] * int(seconds * RATE)
    for at, name, beats, volume in notes:
        mix_into(track, int(at * beat * RATE), note(frequency(name), beats * beat, volume, 2.0))
    return track


def sounds():
    chime = [0.0] * int(0.9 * RATE)
    mix_into(chime, 0, note(frequency("E6"), 0.5, 7000))
    mix_into(chime, int(0.25 * RATE), note(frequency("C6"), 0.65, 7000))
    write_wave("sound/chime.wav", chime)
    write_wave("sound/bell.wav", note(frequency("A5"), 0.7, 9000, 4.0, (1.0, 0.6, 0.3, 0.2)))

    rng = random.Random(7)
    thud = []
    level = 0.0
    for i in range(int(0.6 * RATE)):
        level += (rng.uniform(-1, 1) - level) * 0.05  # low-passed noise
        thud.append(26000 * level * math.exp(-5 * i / RATE) * min(1.0, i / 100))
    write_wave("sound/thud.wav", thud)

    # Rain: noise whose last 0.1 s cross-fades into its first, so that the loop has no seam.
    count = RATE
    fade = RATE // 10
    raw = []
    level = 0.0
    for _ in range(count + fade):
        level += (rng.uniform(-1, 1) - level) * 0.3
        raw.append(4000 * level)
    rain = raw[fade:count] + [raw[count + i] * (1 - i / fade) + raw[i] * (i / fade)
                              for i in range(fade)]
    write_wave("sound/rain.wav", rain)


def music():
    beat = 0.5  # 120 beats a minute
    intro = [(0, "C4", 1, 5000), (1, "E4", 1, 5000), (2, "G4", 1, 5000), (3, "C5", 1, 5000),
             (4, "G4", 1, 5000), (5, "C5", 1, 5000), (6, "E5", 2, 6000)]
    write_wave("music/bgm01a.wav", melody(intro, beat, 8 * beat))
    tune = ["E5", "D5", "C5", "D5", "E5", "E5", "E5", None,
            "D5", "D5", "D5", None, "E5", "G5", "G5", None]
    bass = ["C3", "G2", "A2", "G2"]
    notes = []
    for i, name in enumerate(tune):
        if name:
            notes.append((i, name, 1, 5000))
    for bar, name in enumerate(bass):
        notes.append((bar * 4, name, 4, 4000))
    write_wave("music/bgm01b.wav", melody(notes, beat, 16 * beat))


def silent_mp3():
    """MPEG-1 layer III, 44.1 kHz, 128 kbit/s, one channel: 417-byte frames of zero side
    information and no main data, which decode as silence."""
    header = bytes([0xFF, 0xFB, 0x90, 0xC0])
    frame = header + bytes(417 - len(header))
    path = os.path.join(HERE, "voice", "_none.mp3")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(frame * 4)


if __name__ == "__main__":
    sounds()
    music()
    silent_mp3()
