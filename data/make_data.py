#!/usr/bin/env python3
"""Remakes the game's cell bitmaps, sounds and run-time icons beside this script.

Standard library only, and deterministic: the same files come out on every run.
"""
import math
import os
import struct
import wave
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------- colours and cells

BOARD_BACKGROUND = (18, 22, 30)  # the blank cell; the board graph should paint the same
CELL_COLOURS = {  # the face colour, which the centre pixel keeps
    "red": (226, 38, 38),
    "green": (44, 192, 62),
    "blue": (44, 78, 232),
    "cyan": (32, 200, 222),
    "yellow": (238, 206, 34),
    "magenta": (214, 52, 204),
}
CELL_SIZE = 32


def clamp(value):
    return max(0, min(255, int(round(value))))


def lighten(colour, amount):
    return tuple(clamp(c + (255 - c) * amount) for c in colour)


def darken(colour, factor):
    return tuple(clamp(c * factor) for c in colour)


def bevelled_cell(size, base):
    """Rows, top first, of a bevelled square: lit from the top left, a soft gradient face."""
    bevel = max(2, size // 8)
    inner = size - 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if x in (0, size - 1) or y in (0, size - 1):
                row.append(darken(base, 0.32))  # outline keeps touching cells apart
                continue
            left, top = x - 1, y - 1
            right, bottom = inner - 1 - left, inner - 1 - top
            nearest = min(left, top, right, bottom)
            if nearest < bevel:
                depth = 1.0 - nearest / bevel * 0.35  # strongest at the outer rim
                if top == nearest and top <= right:
                    row.append(lighten(base, 0.62 * depth))
                elif left == nearest and left <= bottom:
                    row.append(lighten(base, 0.40 * depth))
                elif bottom == nearest:
                    row.append(darken(base, 1.0 - 0.58 * depth))
                else:
                    row.append(darken(base, 1.0 - 0.42 * depth))
                continue
            span = inner - 2 * bevel - 1
            t = (y - 1 - bevel) / span if span else 0.5  # 0 at the face's top, 1 at its bottom
            shade = lighten(base, 0.18 * (0.5 - t) * 2) if t < 0.5 else darken(base, 1 - 0.2 * (t - 0.5) * 2)
            # A faint gloss in the upper-left quarter of the face.
            gx, gy = (x - size * 0.34) / (size * 0.2), (y - size * 0.3) / (size * 0.13)
            gloss = max(0.0, 1.0 - math.hypot(gx, gy))
            row.append(lighten(shade, 0.28 * gloss * gloss))
        rows.append(row)
    return rows


def write_bmp(path, rows):
    """24-bit uncompressed BMP; rows are given top first and stored bottom first."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


def make_images(folder):
    os.makedirs(folder, exist_ok=True)
    blank = [[BOARD_BACKGROUND] * CELL_SIZE for _ in range(CELL_SIZE)]
    write_bmp(os.path.join(folder, "KIVO_Stakko_Game_blank.bmp"), blank)
    for name, colour in CELL_COLOURS.items():
        write_bmp(os.path.join(folder, f"KIVO_Stakko_Game_{name}.bmp"), bevelled_cell(CELL_SIZE, colour))


# ---------------------------------------------------------------- PNG icons

def write_png(path, rows):
    """8-bit RGBA PNG from rows of (r, g, b, a), top first."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    with open(path, "wb") as out:
        out.write(png + chunk(b"IEND", b""))


# The foot print as ellipses (centre x, centre y, radius x, radius y) on a 48 x 48 canvas.
FOOT_PARTS = [
    (24.5, 23.2, 10.0, 8.6),  # ball of the foot
    (27.0, 31.0, 7.0, 7.6),   # the outer edge; the arch leaves the inner side narrow
    (25.5, 39.0, 7.2, 6.2),   # heel
    (15.2, 8.4, 3.7, 4.3),    # big toe
    (22.4, 5.8, 2.5, 2.8),
    (28.0, 6.2, 2.2, 2.5),
    (32.9, 8.4, 2.0, 2.2),
    (36.9, 11.8, 1.8, 2.0),
]
FOOT_TILT = math.radians(-10)


def in_foot(x, y, grow):
    # Turn the sample back by the tilt so the ellipses stay axis-aligned.
    cx, cy = 24.0, 24.0
    c, s = math.cos(-FOOT_TILT), math.sin(-FOOT_TILT)
    px, py = cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c
    return any(((px - ex) / (rx + grow)) ** 2 + ((py - ey) / (ry + grow)) ** 2 <= 1.0
               for ex, ey, rx, ry in FOOT_PARTS)


def coverage(size, inside, samples=4):
    """Anti-aliased coverage 0..1 of a shape, sampled samples x samples per pixel."""
    grid = []
    step = 1.0 / samples
    for y in range(size):
        row = []
        for x in range(size):
            hits = sum(inside(x + (i + 0.5) * step, y + (j + 0.5) * step)
                       for j in range(samples) for i in range(samples))
            row.append(hits / (samples * samples))
        grid.append(row)
    return grid


def make_foot(path):
    size = 48
    rim = coverage(size, lambda x, y: in_foot(x, y, 1.1))
    fill = coverage(size, lambda x, y: in_foot(x, y, 0.0))
    top, bottom, edge = (255, 226, 160), (236, 160, 72), (92, 48, 18)
    rows = []
    for y in range(size):
        t = y / (size - 1)
        face = tuple(clamp(a + (b - a) * t) for a, b in zip(top, bottom))
        row = []
        for x in range(size):
            a_rim, a_fill = rim[y][x], fill[y][x]
            if a_rim == 0:
                row.append((0, 0, 0, 0))
                continue
            colour = tuple(clamp(e + (f - e) * a_fill / a_rim) for e, f in zip(edge, face))
            row.append(colour + (clamp(255 * a_rim),))
        rows.append(row)
    write_png(path, rows)


# A little stack under a falling piece, 4 x 4 cells of 16 pixels; "." is empty.
ICON_STACK = [".m..", "mmm.", "y..c", "rgbc"]
ICON_LETTERS = {"r": "red", "g": "green", "b": "blue", "c": "cyan", "y": "yellow", "m": "magenta"}


def make_window_icon(path):
    cell = 16
    cells = {k: bevelled_cell(cell, CELL_COLOURS[v]) for k, v in ICON_LETTERS.items()}
    rows = []
    for y in range(cell * 4):
        row = []
        for x in range(cell * 4):
            letter = ICON_STACK[y // cell][x // cell]
            row.append(cells[letter][y % cell][x % cell] + (255,) if letter != "." else (0, 0, 0, 0))
        rows.append(row)
    write_png(path, rows)


# ---------------------------------------------------------------- sounds

RATE = 22050
PEAK = 0.5  # -6 dBFS


def note_freq(name):
    """Equal-tempered frequency of a note such as 'A4' or 'F#5'."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    semitone = steps[name[0]] + (1 if "#" in name else 0) + 12 * (int(name[-1]) - 4)
    return 440.0 * 2 ** (semitone / 12)


def add_tone(buffer, start, length, freq, partials, attack=0.008, release=0.03, decay=0.0,
             vibrato=0.0, level=1.0):
    """Mixes a tone of summed partials (multiple, amplitude) into buffer from start seconds."""
    first, count = int(start * RATE), int(length * RATE)
    need = first + count
    if len(buffer) < need:
        buffer.extend([0.0] * (need - len(buffer)))
    phase = 0.0
    for i in range(count):
        t = i / RATE
        env = min(1.0, t / attack) if attack else 1.0
        tail = (count - i) / RATE
        if tail < release:
            env *= 0.5 - 0.5 * math.cos(math.pi * tail / release)
        if decay:
            env *= math.exp(-t / decay)
        wobble = 1.0 + vibrato * math.sin(2 * math.pi * 5.5 * t) * min(1.0, t / 0.15)
        phase += 2 * math.pi * freq * wobble / RATE
        sample = sum(amp * math.sin(mult * phase) for mult, amp in partials)
        buffer[first + i] += level * env * sample


def add_click(buffer, start, length, seed=12345):
    """A short band-limited noise burst: the wooden 'clack' of a row snapping shut."""
    state, low, first = seed, 0.0, int(start * RATE)
    count = int(length * RATE)
    for i in range(count):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF  # fixed generator keeps files stable
        white = state / 0x3FFFFFFF - 1.0
        low += 0.35 * (white - low)
        env = math.sin(math.pi * i / count) ** 2
        buffer[first + i] += 0.6 * env * (white - low)


def finish(buffer, tail=0.02):
    """Pads a quiet tail and scales the loudest sample to the target peak."""
    buffer.extend([0.0] * int(tail * RATE))
    loudest = max(abs(s) for s in buffer) or 1.0
    return [s * PEAK / loudest for s in buffer]


def write_wav(path, samples):
    frames = struct.pack(f"<{len(samples)}h", *(max(-32767, min(32767, int(round(s * 32767))))
                                                 for s in samples))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


MELLOW = [(1, 1.0), (2, 0.18), (3, 0.28), (5, 0.1)]
BRASS = [(n, 0.9 / n) for n in range(1, 9)]
BELL = [(1, 1.0), (2.0, 0.35), (3.0, 0.12), (4.2, 0.08)]


def game_over():
    out = []
    for i, name in enumerate(["E5", "C5", "A4", "E4"]):
        add_tone(out, i * 0.15, 0.26, note_freq(name), MELLOW, decay=0.22, level=0.8)
    add_tone(out, 0.6, 0.4, note_freq("A3"), MELLOW, release=0.15, vibrato=0.006)
    add_tone(out, 0.6, 0.4, note_freq("E4"), MELLOW, release=0.15, level=0.35)
    return finish(out)


def full_row():
    out = []
    add_tone(out, 0.0, 0.23, note_freq("E6"), [(1, 1.0), (2.76, 0.3)], attack=0.002, decay=0.07)
    add_tone(out, 0.03, 0.2, note_freq("B6"), [(1, 0.8), (2.76, 0.2)], attack=0.002, decay=0.06)
    add_click(out, 0.0, 0.018)
    return finish(out, tail=0.01)


def salute():
    out = []
    for i in range(3):
        add_tone(out, i * 0.09, 0.075, note_freq("G4"), BRASS, attack=0.012, release=0.02, level=0.7)
    add_tone(out, 0.27, 0.12, note_freq("C5"), BRASS, attack=0.012, release=0.02, level=0.8)
    add_tone(out, 0.40, 0.12, note_freq("E5"), BRASS, attack=0.012, release=0.02, level=0.8)
    for name, level in (("G5", 0.8), ("C5", 0.45), ("E5", 0.4)):
        add_tone(out, 0.53, 0.36, note_freq(name), BRASS, attack=0.02, release=0.12,
                 vibrato=0.004, level=level)
    return finish(out)


def salute_two():
    out = []
    for i, name in enumerate(["D5", "E5", "F#5", "A5", "B5"]):
        add_tone(out, i * 0.055, 0.08, note_freq(name), BELL, attack=0.004, release=0.02, level=0.7)
    for name, level in (("D6", 0.8), ("A5", 0.45), ("F#5", 0.4)):
        add_tone(out, 0.3, 0.58, note_freq(name), BELL, attack=0.006, release=0.2, decay=0.45,
                 vibrato=0.003, level=level)
    return finish(out)


def make_sounds(folder):
    os.makedirs(folder, exist_ok=True)
    for name, make in (("Over", game_over), ("Full_Row", full_row), ("Salute", salute),
                       ("Salute_2", salute_two)):
        write_wav(os.path.join(folder, f"KIVO_Stakko_Game_{name}.wav"), make())


def main():
    make_images(os.path.join(HERE, "Images"))
    make_sounds(os.path.join(HERE, "WAVs"))
    runtime = os.path.join(HERE, "runtime")
    os.makedirs(runtime, exist_ok=True)
    make_foot(os.path.join(runtime, "foot.png"))
    make_window_icon(os.path.join(runtime, "stakko.png"))


if __name__ == "__main__":
    main()
