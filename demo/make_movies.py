#!/usr/bin/env python3
"""Makes the demo game's movies and the movie test fixtures with FFmpeg.

Every frame is drawn here (a background colour of its own, the frame number in large digits, a
bar that moves one step a frame) and the sound is a tone made here; FFmpeg encodes them as AVI
with MPEG-4 video. Each frame's number can be read off a picture, so that a capture shows which
frame the player showed.

movie/opening.avi: 800 x 600 at 30 frames a second, 4 s, MP3 sound: a 440 Hz tone with a
  higher beep at the start of every second. The story plays it to its end.
movie/railway.avi: 640 x 360 (16:9) at 30 frames a second, 8 s, MP3 sound. The story lets the
  player end it with a click; in the 800 x 600 game it shows with bars above and below.
../tests/fixtures/movie/colours.avi: 160 x 120 at 10 frames a second, 1 s, PCM sound whose
  level steps up every 0.1 s (frame n: 1000 x (n + 1)), each frame one colour of COLOURS.
../tests/fixtures/movie/silent.avi: the same pictures without sound.

Run: python3 demo/make_movies.py (needs ffmpeg on the path; the files are committed, so the
build does not).
"""
import os
import struct
import subprocess
import tempfile
import math

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "..", "tests", "fixtures", "movie")
RATE = 44100

# 7-segment digits: segments a b c d e f g.
SEGMENTS = {
    "0": "abcdef", "1": "bc", "2": "abdeg", "3": "abcdg", "4": "bcfg",
    "5": "acdfg", "6": "acdefg", "7": "abc", "8": "abcdefg", "9": "abcdfg",
}

# The fixture's frame colours (red, green, blue), far apart so that each survives compression.
COLOURS = [
    (220, 40, 40), (40, 200, 40), (40, 60, 220), (230, 220, 40), (40, 210, 220),
    (210, 40, 210), (250, 250, 250), (120, 120, 120), (250, 140, 20), (20, 20, 20),
]


def digit_rects(text, x, y, height):
    """Rectangles of a 7-segment number whose top left is (x, y)."""
    width = height // 2
    thick = max(2, height // 10)
    rects = []
    for ch in text:
        s = SEGMENTS[ch]
        half = height // 2
        parts = {
            "a": (x, y, x + width, y + thick),
            "b": (x + width - thick, y, x + width, y + half),
            "c": (x + width - thick, y + half, x + width, y + height),
            "d": (x, y + height - thick, x + width, y + height),
            "e": (x, y + half, x + thick, y + height),
            "f": (x, y, x + thick, y + half),
            "g": (x, y + half - thick // 2, x + width, y + half + thick - thick // 2),
        }
        rects.extend(parts[k] for k in s)
        x += width + thick * 2
    return rects


def render(width, height, background, rects):
    """RGB24 bytes of a picture: the background, then each (x0, y0, x1, y1, colour)."""
    rows_cache = {}
    out = bytearray()
    for y in range(height):
        spans = tuple((max(0, r[0]), min(width, r[2]), r[4]) for r in rects
                      if r[1] <= y < r[3] and r[0] < r[2])
        row = rows_cache.get(spans)
        if row is None:
            row = bytearray(bytes(background) * width)
            for x0, x1, colour in spans:
                if x0 < x1:
                    row[x0 * 3:x1 * 3] = bytes(colour) * (x1 - x0)
            rows_cache[spans] = row
        out += row
    return bytes(out)


def hue(step):
    """A soft colour of its own for each `step`."""
    r = int(110 + 80 * math.sin(step * 0.05))
    g = int(110 + 80 * math.sin(step * 0.05 + 2.1))
    b = int(110 + 80 * math.sin(step * 0.05 + 4.2))
    return (r, g, b)


def story_frame(width, height, index, frames):
    white = (255, 255, 255)
    dark = (20, 20, 30)
    digit_h = height // 3
    number = "%03d" % index
    text_w = len(number) * (digit_h // 2 + 2 * max(2, digit_h // 10)) - 2 * max(2, digit_h // 10)
    rects = [(x0, y0, x1, y1, white)
             for x0, y0, x1, y1 in digit_rects(number, (width - text_w) // 2,
                                               (height - digit_h) // 2, digit_h)]
    bar_y = height - height // 8
    bar_x = (width - width // 10) * index // max(1, frames - 1)
    rects.append((0, bar_y, width, bar_y + height // 40, dark))
    rects.append((bar_x, bar_y - height // 40, bar_x + width // 10, bar_y + height // 20, white))
    # A frame around the picture shows where it ends inside the game window.
    edge = max(2, width // 100)
    for r in ((0, 0, width, edge), (0, height - edge, width, height), (0, 0, edge, height),
              (width - edge, 0, width, height)):
        rects.append(r + (white,))
    return render(width, height, hue(index // 30 * 25), rects)


def fixture_frame(index):
    colour = COLOURS[index % len(COLOURS)]
    mark = (0, 0, 0) if sum(colour) > 300 else (255, 255, 255)
    rects = [r + (mark,) for r in digit_rects("%d" % index, 8, 8, 24)]
    return render(160, 120, colour, rects)


def write_wave(path, samples):
    """16-bit stereo at RATE; `samples` is a list of (left, right) ints."""
    data = b"".join(struct.pack("<hh", l, r) for l, r in samples)
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt "
    header += struct.pack("<IHHIIHH", 16, 1, 2, RATE, RATE * 4, 4, 16)
    with open(path, "wb") as f:
        f.write(header + b"data" + struct.pack("<I", len(data)) + data)


def story_tone(seconds):
    samples = []
    for i in range(int(seconds * RATE)):
        t = i / RATE
        beep = (t % 1.0) < 0.12
        freq = 880.0 if beep else 440.0
        level = 9000 if beep else 4000
        v = int(level * math.sin(2 * math.pi * freq * t))
        samples.append((v, v))
    return samples


def fixture_levels(seconds, frames_per_second):
    """A square wave whose level steps up with the frame that is showing."""
    samples = []
    for i in range(int(seconds * RATE)):
        frame = i * frames_per_second // RATE
        level = 1000 * (frame + 1)
        v = level if (i // 50) % 2 == 0 else -level
        samples.append((v, -v))
    return samples


def encode(out, width, height, fps, frames, draw, wave, audio_codec):
    args = ["ffmpeg", "-v", "error", "-y",
            "-f", "rawvideo", "-pix_fmt", "rgb24", "-s", "%dx%d" % (width, height),
            "-r", str(fps), "-i", "pipe:0"]
    if wave:
        args += ["-i", wave]
    args += ["-map", "0:v"]
    if wave:
        args += ["-map", "1:a"]
    args += ["-c:v", "mpeg4", "-q:v", "10", "-g", str(fps * 10), "-pix_fmt", "yuv420p",
             "-fflags", "+bitexact", "-flags:v", "+bitexact"]
    if wave:
        args += ["-c:a", audio_codec, "-flags:a", "+bitexact"]
        if audio_codec == "libmp3lame":
            args += ["-b:a", "128k"]
    args += ["-shortest", out]
    with subprocess.Popen(args, stdin=subprocess.PIPE) as p:
        for i in range(frames):
            p.stdin.write(draw(i))
        p.stdin.close()
        if p.wait() != 0:
            raise SystemExit("ffmpeg failed for " + out)


def main():
    os.makedirs(os.path.join(HERE, "movie"), exist_ok=True)
    os.makedirs(FIXTURES, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        for name, width, height, seconds in (("opening", 800, 600, 4), ("railway", 640, 360, 8)):
            wave = os.path.join(tmp, name + ".wav")
            write_wave(wave, story_tone(seconds))
            frames = seconds * 30
            encode(os.path.join(HERE, "movie", name + ".avi"), width, height, 30, frames,
                   lambda i, w=width, h=height, n=frames: story_frame(w, h, i, n), wave,
                   "libmp3lame")
        wave = os.path.join(tmp, "levels.wav")
        write_wave(wave, fixture_levels(1.0, 10))
        encode(os.path.join(FIXTURES, "colours.avi"), 160, 120, 10, 10, fixture_frame, wave,
               "pcm_s16le")
        encode(os.path.join(FIXTURES, "silent.avi"), 160, 120, 10, 10, fixture_frame, None, None)


if __name__ == "__main__":
    main()
