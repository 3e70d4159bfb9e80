#!/usr/bin/env python3
"""Makes the sound of a cancelled choice, in the format of the other sounds (an option taken and a
game loaded play sound/se001.wav, the click that the train map's choices play too):

sound/se002.wav   a short falling blip: a choice cancelled

Only the standard library is used: python3 demo/generate_choice_sounds.py
"""
from generate_story_sounds import RATE, frequency, mix_into, note, write_wave


def blip(first, second):
    track = [0.0] * int(0.25 * RATE)
    mix_into(track, 0, note(frequency(first), 0.12, 6000, 8.0))
    mix_into(track, int(0.08 * RATE), note(frequency(second), 0.17, 6000, 8.0))
    return track


if __name__ == "__main__":
    write_wave("sound/se002.wav", blip("G5", "C5"))
