"""Completing a row: pieces read from the preview, placed by a greedy search with real keys,
every landing checked against a model of the board, until a full row goes and scores."""
from desktop import wait_until
from player import Player
import stakko_e2e as e2e

MAX_PIECES = 40


class RowsTest(e2e.StakkoTestCase):

    def test_full_row_scores_and_goes(self):
        self.open_main()
        self.start_game()
        panel = self.panel
        # The board matched the model after every landing, the row's removal included.
        cleared = Player(panel).play_until_row(MAX_PIECES)

        # 10 for one row, 40 for two at once, and so on; the first score is a record.
        score = wait_until(lambda: int(panel.text("Score") or 0), 3, "a score")
        self.assertEqual(score, 10 * cleared * cleared)
        self.assertGreater(self.program.audible_bytes(), 0, "no full-row sound")
        self.assertEqual(panel.text("Score record"), str(score))
        self.assertEqual(self.program.records(), f"792\n461\n{score}\n9999.000000\n")
        self.assertEqual(panel.text("Speed record"), "9999.00", "a speed record before 10 rows")
        self.assertEqual(panel.led(), "lit")


if __name__ == "__main__":
    e2e.main()
