"""Playing: a started game's first piece moved, turned, dropped and fixed, seen on the board."""
import time

from board_model import BOARD_ROWS, drop_row, piece_cells, visible
from desktop import wait_until
from player import Player, entered_piece, read_piece
import stakko_e2e as e2e


class PlayTest(e2e.StakkoTestCase):

    def shows_piece(self, shape, colour, rotation, column, row, player):
        """Waits until the board shows the piece at (rotation, column) at `row` or lower (the
        fall goes on meanwhile); returns the row seen."""
        def probe():
            board = player.look()[0]
            for r in range(row, BOARD_ROWS):
                cells = visible(piece_cells(shape, rotation, column, r))
                if board == {cell: colour for cell in cells}:
                    return r
            return None
        return wait_until(probe, 2.0, f"the piece at rotation {rotation}, column {column}")

    def test_first_piece_moves_turns_drops_and_lands(self):
        self.open_main()
        asked = time.monotonic()
        self.start_game()
        panel = self.panel
        self.assertTrue(panel.sensitive("Pause"), "Pause stays dimmed in a game")
        self.assertEqual(panel.colour("Game running"), "green", "the lit lamp is not green")
        player = Player(panel)

        shape, colour, row = wait_until(lambda: entered_piece(player.look()[0]), 3,
                                        "the first piece on the board")
        # It entered at row 1 and has fallen a row a tick since (however slow this machine).
        ticks = int((time.monotonic() - asked) / e2e.TICK)
        self.assertLessEqual(row, 1 + ticks + 1, "the piece did not enter at the top")
        upcoming = wait_until(player.look_ahead, 2, "a piece in the preview")

        # Left goes toward column 10 (the left of the screen), Right back, Up turns.
        steps = [("Left", 0, 6), ("Right", 0, 5), ("Up", 1, 5)]
        for key, rotation, column in steps:
            panel.keys(key)
            row = self.shows_piece(shape, colour, rotation, column, row, player)

        panel.keys("ctrl+Down")
        bottom = drop_row({}, shape, 1, 5, row)
        landed = {cell: colour for cell in piece_cells(shape, 1, 5, bottom)}
        self.assertEqual(max(r for _, r in landed), BOARD_ROWS)
        following = player.wait_entry(upcoming, landed)

        # Fixed where it fell; the piece that the preview showed came in; a new one is shown.
        self.assertEqual(player.fixed, landed)
        self.assertIsNotNone(following)
        self.assertIsNotNone(read_piece(panel.preview()))
        self.assertEqual(panel.led(), "lit")


if __name__ == "__main__":
    e2e.main()
