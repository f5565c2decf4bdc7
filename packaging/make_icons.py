#!/usr/bin/env python3
"""Remakes the menu icons beside this script: the window icon's little stack at each size."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "data"))
from make_data import CELL_COLOURS, bevelled_cell, write_png  # noqa: E402

# The window icon's stack of 4 x 4 cells; "." is empty.
STACK = [".m..", "mmm.", "y..c", "rgbc"]
LETTERS = {"r": "red", "g": "green", "b": "blue", "c": "cyan", "y": "yellow", "m": "magenta"}


def make_icon(path, size):
    cell = size // 4
    cells = {k: bevelled_cell(cell, CELL_COLOURS[v]) for k, v in LETTERS.items()}
    rows = [[cells[STACK[y // cell][x // cell]][y % cell][x % cell] + (255,)
             if STACK[y // cell][x // cell] != "." else (0, 0, 0, 0) for x in range(size)]
            for y in range(size)]
    write_png(path, rows)


if __name__ == "__main__":
    for size in (16, 24, 32, 48, 64, 128, 256):
        make_icon(os.path.join(HERE, "icons", f"stakko-{size}.png"), size)
