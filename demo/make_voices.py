#!/usr/bin/env python3
"""Speaks the demo's voiced lines with espeak-ng and encodes them to MP3 with lame.

voice/<name>.mp3: one file per spoken line of script/chapter2.txt, named by the speaker's
two-letter prefix (hn Hina, so Sora, ka Kai), the chapter and the line. The Japanese voice
reads kana, so each line is given here in kana. Files are mono, 22,050 Hz, 32 kbit/s, without
the encoder's tag frame. Needs espeak-ng and lame: python3 demo/make_voices.py
"""
import os
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

# Each speaker's espeak-ng voice and pitch.
SPEAKERS = {"hn": ("ja+f2", 72), "so": ("ja+f4", 58), "ka": ("ja", 38)}

LINES = {
    "hn0201": "おはよう。きょうは はやいね。",
    "hn0202": "かいくん、また ねぼう？",
    "so0201": "おはよう、ひな。れっしゃは まだ こない みたい。",
    "so0202": "ふふ、それを ねぼうって いうのよ。",
    "so0203": "あれ、かいは？ きっぷを かいに いったのかな。",
    "so0204": "じゃあ、わたしたちも いこう。",
    "ka0201": "ふたりとも、またせたな。",
    "ka0202": "ねぼうじゃない。めざましどけいが おくれていたんだ。",
    "ka0203": "きっぷ、さんまい かってきたぞ。ひなは さきに ほーむへ いったよ。",
}


def speak(name, text):
    voice, pitch = SPEAKERS[name[:2]]
    out = os.path.join(HERE, "voice", name + ".mp3")
    with tempfile.TemporaryDirectory() as work:
        wave = os.path.join(work, "line.wav")
        subprocess.run(["espeak-ng", "-v", voice, "-p", str(pitch), "-s", "150", "-w", wave, text],
                       check=True)
        subprocess.run(["lame", "--quiet", "-t", "-m", "m", "--resample", "22.05", "-b", "32",
                        wave, out], check=True)


if __name__ == "__main__":
    os.makedirs(os.path.join(HERE, "voice"), exist_ok=True)
    for line, words in LINES.items():
        speak(line, words)
