"""The game's board as the tests reason about it: cell colours, the shape table read from the
engine's source, piece poses, straight drops, full rows and a small greedy placement search.

A board is a dict {(column, row): colour} of occupied cells, columns 1..10 (column 10 at the
left of the screen), rows 0..20 (row 0 hidden above the field, row 20 at the bottom).
"""
import re
from pathlib import Path

BOARD_COLUMNS = 10
BOARD_ROWS = 20
PREVIEW_CELLS = (5, 6)  # the preview graph: 50 by 60 axis units
SPAWN = (5, 1)  # column and row where each piece enters, in rotation 0

BACKGROUND = (18, 22, 30)  # the blank cell, which empty board cells must show
SOURCE_ROOT = Path(__file__).resolve().parents[2]


def classify_colour(rgb):
    """A cell's colour name from its centre pixel by the dominant channels; None for a pixel
    without colour (background), "?" for anything else."""
    high = tuple(channel >= 150 for channel in rgb)
    low = tuple(channel <= 110 for channel in rgb)
    if max(rgb) - min(rgb) < 60:
        return None
    names = {(True, False, False): "red", (False, True, False): "green",
             (False, False, True): "blue", (False, True, True): "cyan",
             (True, True, False): "yellow", (True, False, True): "magenta"}
    name = names.get(high)
    if name is None or not all(h or lo for h, lo in zip(high, low)):
        return "?"
    return name


def is_background(rgb, tolerance=12):
    return all(abs(a - b) <= tolerance for a, b in zip(rgb, BACKGROUND))


def load_shapes(source=SOURCE_ROOT / "engine" / "board.cpp"):
    """shapes[shape][rotation] = frozenset of (column offset, row offset), the pivot included,
    read from the engine's table (three column offsets, then three row offsets)."""
    text = Path(source).read_text()
    body = text[text.index("shapeOffsets[7 * 4 * 6] = {"):]
    table = re.sub(r"//[^\n]*", "", body[body.index("{") + 1:body.index("};")])
    numbers = [int(n) for n in re.findall(r"-?\d+", table)]
    if len(numbers) != 7 * 4 * 6:
        raise ValueError(f"shape table has {len(numbers)} numbers")
    shapes = []
    for shape in range(7):
        rotations = []
        for rotation in range(4):
            row = numbers[(shape * 4 + rotation) * 6:][:6]
            rotations.append(frozenset([(0, 0)] + list(zip(row[:3], row[3:]))))
        shapes.append(rotations)
    return shapes


SHAPES = load_shapes()


def identify_shape(offsets):
    """The shape whose rotation-0 cells are exactly `offsets` (from the pivot), or None."""
    offsets = frozenset(offsets)
    for shape, rotations in enumerate(SHAPES):
        if rotations[0] == offsets:
            return shape
    return None


def piece_cells(shape, rotation, column, row):
    return frozenset((column + dc, row + dr) for dc, dr in SHAPES[shape][rotation])


def visible(cells):
    return frozenset((c, r) for c, r in cells if r >= 1)


def fits(board, shape, rotation, column, row):
    """Whether the pose fits as the engine sees it: inside columns 1..10 and above row 21,
    on no occupied cell."""
    for c, r in piece_cells(shape, rotation, column, row):
        if not 1 <= c <= BOARD_COLUMNS or r > BOARD_ROWS or (c, r) in board:
            return False
    return True


def drop_row(board, shape, rotation, column, row):
    """The row where the piece comes to rest when dropped straight down from `row`."""
    while fits(board, shape, rotation, column, row + 1):
        row += 1
    return row


def land(board, shape, rotation, column, row, colour):
    """The board after the piece is fixed at its pose and full rows are removed; returns the
    new board and how many rows went."""
    fixed = dict(board)
    for cell in piece_cells(shape, rotation, column, row):
        fixed[cell] = colour
    full = [r for r in range(1, BOARD_ROWS + 1)
            if all((c, r) in fixed for c in range(1, BOARD_COLUMNS + 1))]
    for gone in full:  # top to bottom, as the game does: rows above move down one each time
        moved = {}
        for (c, r), value in fixed.items():
            if r == gone:
                continue
            if 1 <= r < gone:  # the hidden row 0 never moves down
                moved[(c, r + 1)] = value
            else:
                moved[(c, r)] = value
        fixed = moved
    return fixed, len(full)


def find_pose(cells, shape):
    """A (rotation, column, row) of `shape` whose visible cells are exactly `cells`, the lowest
    rotation first; None when no pose shows those cells."""
    cells = frozenset(cells)
    for rotation in range(4):
        for column in range(-1, BOARD_COLUMNS + 3):
            for row in range(0, BOARD_ROWS + 2):
                if cells and visible(piece_cells(shape, rotation, column, row)) == cells:
                    return rotation, column, row
    return None


def same_place(shape, pose_a, pose_b):
    """Whether two (rotation, column) pairs cover the same cells (rotations 0 and 2 of the bar,
    for instance)."""
    return piece_cells(shape, pose_a[0], pose_a[1], 5) == piece_cells(shape, pose_b[0],
                                                                      pose_b[1], 5)


def reachable(board, shape, rotation, column, start):
    """Whether pressing Up `rotation` times at the spawn, then Left or Right step by step, gets
    the piece from start (column, row) to `column` without being blocked."""
    spawn_column, row = start
    for turn in range(1, rotation + 1):
        if not fits(board, shape, turn, spawn_column, row):
            return False
    step = 1 if column > spawn_column else -1
    for c in range(spawn_column + step, column + step, step) if column != spawn_column else ():
        if not fits(board, shape, rotation, c, row):
            return False
    return True


def evaluate(board, cleared):
    """Higher is better: rows completed, few holes, a low and even surface."""
    heights = []
    holes = 0
    for c in range(1, BOARD_COLUMNS + 1):
        filled = sorted(r for (cc, r) in board if cc == c)
        heights.append(BOARD_ROWS + 1 - filled[0] if filled else 0)
        if filled:
            holes += sum(1 for r in range(filled[0], BOARD_ROWS + 1) if (c, r) not in board)
    bumps = sum(abs(a - b) for a, b in zip(heights, heights[1:]))
    return 8.0 * cleared - 3.5 * holes - 0.5 * sum(heights) - 0.3 * bumps - 1.0 * max(heights)


def best_placement(board, shape, start=SPAWN):
    """The best (rotation, column) for the piece entering at start, by a one-piece greedy
    search over every rotation and column reachable from there."""
    best = None
    for rotation in range(4):
        for column in range(1, BOARD_COLUMNS + 1):
            if not fits(board, shape, rotation, column, start[1]):
                continue
            if not reachable(board, shape, rotation, column, start):
                continue
            row = drop_row(board, shape, rotation, column, start[1])
            after, cleared = land(board, shape, rotation, column, row, "x")
            score = evaluate(after, cleared)
            if best is None or score > best[0]:
                best = (score, rotation, column)
    return None if best is None else best[1:]


def describe(board):
    """The board as text, top row first, column 10 at the left as on screen."""
    lines = []
    for r in range(1, BOARD_ROWS + 1):
        line = "".join((board.get((c, r)) or ".")[0] for c in range(BOARD_COLUMNS, 0, -1))
        lines.append(f"{r:2} {line}")
    return "\n".join(lines)
