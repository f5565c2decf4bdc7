"""Plays Stakko through its panel: reads the falling piece and the preview off the screen,
steers with real key presses, drops, and keeps a model of the fixed cells that every landing
is checked against."""
from board_model import (BOARD_ROWS, SPAWN, best_placement, describe, drop_row, find_pose,
                         identify_shape, land, piece_cells, same_place, visible)
from desktop import Timeout, wait_until

LANDING_TIMEOUT = 4.0  # a tick (0.4 s), a full-row sound and the repaint, with room to spare


class Player:

    def __init__(self, panel):
        self.panel = panel
        self.fixed = {}  # the model: fixed cells {(column, row): colour}

    def look(self):
        """(board cells, next piece as (shape, colour) or None) from one screenshot."""
        shot = self.panel.shot()
        return self.panel.board(shot), read_piece(self.panel.preview(shot))

    def falling(self, board):
        """The cells that are not fixed ones; None when a fixed cell is missing or changed."""
        if any(board.get(cell) != colour for cell, colour in self.fixed.items()):
            return None
        return {cell: colour for cell, colour in board.items() if cell not in self.fixed}

    def pose(self, shape, colour):
        """The falling piece's (rotation, column, row) on screen now, or None."""
        cells = self.falling(self.look()[0])
        if not cells or set(cells.values()) != {colour}:
            return None
        return find_pose(cells.keys(), shape)

    def wait_pose(self, shape, colour, timeout=2.0):
        return wait_until(lambda: self.pose(shape, colour), timeout,
                          f"the falling piece (shape {shape}, {colour}) on the board")

    def steer(self, shape, colour, rotation, column, attempts=3):
        """Turns and slides the falling piece to (rotation, column) with Up, Left and Right,
        reading it back after each round; returns the pose it really has then."""
        pose = self.wait_pose(shape, colour)
        for _ in range(attempts):
            if same_place(shape, pose[:2], (rotation, column)):
                break
            turns = (rotation - pose[0]) % 4
            shift = column - pose[1]  # Left moves toward column 10
            keys = ["Up"] * turns + (["Left"] * shift if shift > 0 else ["Right"] * -shift)
            self.panel.keys(*keys)
            try:
                pose = wait_until(lambda: self._moved_to(shape, colour, (rotation, column)), 1.0,
                                  "the move")
            except Timeout:  # blocked, or only part of it shown yet: read it and go again
                pose = self.wait_pose(shape, colour)
        return pose

    def _moved_to(self, shape, colour, target):
        pose = self.pose(shape, colour)
        return pose if pose and same_place(shape, pose[:2], target) else None

    def drop(self, shape, colour, pose, upcoming):
        """Ctrl+Down from the pose; waits for the landing and the next piece's entry and checks
        the board against the model. Returns (rows removed, the new next piece)."""
        rotation, column, row = pose
        rest = drop_row(self.fixed, shape, rotation, column, row)
        expected, cleared = land(self.fixed, shape, rotation, column, rest, colour)
        self.panel.keys("ctrl+Down")
        following = self.wait_entry(upcoming, expected)
        return cleared, following

    def drop_unknown(self, upcoming):
        """Ctrl+Down for a piece that nobody could read beforehand (the game's first): the
        model takes its cells from the board once it has landed. Returns the new next piece."""
        before = len(self.fixed)
        self.panel.keys("ctrl+Down")
        return self.wait_entry(upcoming, None, added=4 + before)

    def play_until_row(self, max_pieces):
        """Plays a game just started until a landing removes rows: the first piece straight
        down, then each one read from the preview and placed by the greedy search. Returns how
        many rows went; fails after max_pieces pieces without one."""
        upcoming = wait_until(self.look_ahead, 3, "a piece in the preview")
        # The first piece was never in the preview: it goes straight down where it enters.
        upcoming, piece = self.drop_unknown(upcoming), upcoming
        for count in range(2, max_pieces + 1):
            shape, colour = piece
            placement = best_placement(self.fixed, shape)
            if placement is None:
                raise AssertionError(f"no place for piece {count}:\n{describe(self.fixed)}")
            pose = self.steer(shape, colour, *placement)
            cleared, following = self.drop(shape, colour, pose, upcoming)
            if cleared:
                return cleared
            piece, upcoming = upcoming, following
        raise AssertionError(f"no row completed in {max_pieces} pieces:\n{describe(self.fixed)}")

    def look_ahead(self):
        """The next piece (shape, colour) that the preview shows, or None."""
        return self.look()[1]

    def wait_entry(self, entering, expected, added=None):
        """Waits until the piece `entering` (shape, colour) has come in at the top and the rest
        of the board is `expected` (or, when None, has `added` cells); adopts that rest as
        the model. Returns the next piece then shown by the preview."""
        shape, colour = entering
        seen = {}

        def probe():
            board, following = self.look()
            seen["board"] = board
            # From the top: a slow machine may see the piece some rows down already.
            for row in range(SPAWN[1], BOARD_ROWS):
                cells = visible(piece_cells(shape, 0, SPAWN[0], row))
                if not all(board.get(cell) == colour for cell in cells):
                    continue
                rest = {cell: c for cell, c in board.items() if cell not in cells}
                ok = rest == expected if expected is not None else len(rest) == added
                if ok and following is not None:
                    return rest, following
            return None

        try:
            rest, following = wait_until(probe, LANDING_TIMEOUT,
                                         f"the next piece (shape {shape}, {colour}) to enter")
        except Timeout:
            board = seen.get("board", {})
            want = describe(expected) if expected is not None else f"{added} fixed cells"
            raise AssertionError(f"after the landing the board shows\n{describe(board)}\n"
                                 f"expected (without the entering piece)\n{want}") from None
        self.fixed = rest
        return following


def read_piece(preview):
    """(shape, colour) of the piece drawn in the preview, None unless exactly one whole piece."""
    colours = set(preview.values())
    if len(colours) != 1 or "?" in colours:
        return None
    shape = identify_shape(preview.keys())
    return None if shape is None else (shape, colours.pop())


def entered_piece(board):
    """(shape, colour, row) of a piece come in at the top in rotation 0 and falling on an
    empty board, read from its cells; None when they fit no shape."""
    colours = set(board.values())
    if len(colours) != 1:
        return None
    colour = colours.pop()
    for row in range(SPAWN[1], BOARD_ROWS):
        for shape in range(7):
            if visible(piece_cells(shape, 0, SPAWN[0], row)) == set(board):
                return shape, colour, row
    return None
