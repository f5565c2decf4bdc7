"""Start-up: a broken installation, and the idle panel with and without a records file."""
from board_model import BACKGROUND, is_background
from desktop import stays, window_geometry, window_ids
import stakko_e2e as e2e


class StartupTest(e2e.StakkoTestCase):

    def test_missing_image_is_named_and_ends_the_program(self):
        program = self.launch(remove=["Images/KIVO_Stakko_Game_green.bmp"])
        self.dialog("Error", contains="Missing image file 3.")
        self.assertEqual(window_ids(e2e.MAIN_TITLE), [], "the panel opened all the same")
        self.answer("Error", "Return")
        self.assertEqual(program.exit_code(), 0)
        self.assertIsNone(program.records(), "a records file was written")

    def test_idle_panel_without_records_file(self):
        self.open_main()
        panel = self.panel
        self.assertEqual(window_geometry(self.main_window)[2:], (461, 792))
        self.assertEqual(panel.text("Score record"), "0")
        self.assertEqual(panel.text("Speed record"), "9999.00")
        self.assertFalse(panel.sensitive("Pause"), "Pause is available without a game")
        self.assertTrue(panel.sensitive("Start"))
        self.assertEqual(panel.led(), "dark")
        self.assertEqual(panel.colour("Game running"), "red", "the dark lamp is not red")
        self.assertEqual(panel.board(), {}, "cells on the board before any game")
        self.assertEqual(panel.preview(), {}, "a next piece before any game")
        # Start-up never writes the records file, not even a moment later.
        self.assertTrue(stays(lambda: self.program.records() is None, 2.0),
                        "a records file appeared after start-up")

    def test_empty_board_shows_the_blank_cell_colour(self):
        self.open_main()
        pixels = self.panel.board_pixels()
        wrong = sorted(cell for cell, rgb in pixels.items() if not is_background(rgb))
        shown = f"cell {wrong[0]} shows {pixels[wrong[0]]}" if wrong else ""
        self.assertEqual(len(wrong), 0, f"{len(wrong)} empty cells do not show the blank "
                         f"cell's {BACKGROUND}: {shown}")

    def test_records_file_gives_size_and_records(self):
        self.open_main(records="640\n380\n1250\n3.418750\n")
        self.assertEqual(window_geometry(self.main_window)[2:], (380, 640))
        self.assertEqual(self.panel.text("Score record"), "1250")
        self.assertEqual(self.panel.text("Speed record"), "3.42")
        self.assertEqual(self.panel.led(), "dark")
        self.assertFalse(self.panel.sensitive("Pause"))
        # Only read: the file keeps its bytes.
        self.assertEqual(self.program.records(), "640\n380\n1250\n3.418750\n")


if __name__ == "__main__":
    e2e.main()
