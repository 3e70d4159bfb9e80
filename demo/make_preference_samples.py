#!/usr/bin/env python3
"""Makes the samples the sound page of the preferences plays while a volume slider is dragged:

sound/se009.wav   a short two-note blip that loops (the sound-effect sample)
voice/an0000.mp3  a line of the guide ("AN" of the voice character table): the voice sample

The wave uses the helpers of generate_story_sounds.py; the voice needs espeak-ng and lame:
python3 demo/make_preference_samples.py
"""
import os
import subprocess
import tempfile

from generate_story_sounds import HERE, RATE, frequency, mix_into, note, write_wave


def sound_sample():
    blip = [0.0] * int(0.5 * RATE)
    mix_into(blip, 0, note(frequency("G5"), 0.2, 8000, 6.0))
    mix_into(blip, int(0.2 * RATE), note(frequency("D6"), 0.25, 8000, 6.0))
    write_wave("sound/se009.wav", blip)


def voice_sample():
    with tempfile.TemporaryDirectory() as folder:
        spoken = os.path.join(folder, "an0000.wav")
        subprocess.run(["espeak-ng", "-v", "ja", "-s", "150", "-w", spoken,
                        "声の大きさは、このくらいです。"], check=True)
        subprocess.run(["lame", "--quiet", "-m", "m", "-b", "48", "--resample", "22.05",
                        spoken, os.path.join(HERE, "voice", "an0000.mp3")], check=True)


if __name__ == "__main__":
    sound_sample()
    voice_sample()
