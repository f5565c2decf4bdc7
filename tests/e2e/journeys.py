"""Journeys through the real program: python3 journeys.py <installation folder> [Journeys.test_x]
inside an X server and a session bus of their own; openbox manages the windows."""
import os, shutil, subprocess, sys, time, unittest
from pathlib import Path

from player import RECORDS, Game, install_copy, start_openbox, wait, windows, xdo

SOURCE = None  # the build's installation folder, copied afresh for every journey


class Journeys(unittest.TestCase):

    def setUp(self):
        self.wm, self.games = start_openbox(), []

    def tearDown(self):
        for game in self.games:
            game.process.kill()
            game.process.wait()
        self.wm.terminate()

    def copy(self, **options):
        folder = install_copy(SOURCE, **options)
        self.addCleanup(shutil.rmtree, folder.parent, True)
        return folder

    def game(self, folder=None, **options):
        self.games.append(Game(folder or self.copy(**options)))
        return self.games[-1]

    def quit(self, game):
        game.click("Quit")
        self.assertIn("Do you quit the game now?", game.popup("Message"))
        game.answer("Message", "y")
        self.assertEqual(game.process.wait(10), 0)

    def held(self, game, seconds=1.5):
        """Whether the board stays as it is for longer than three ticks of the fall."""
        board = game.board()
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if game.board() != board:
                return False
        return bool(board)

    def test_whole_game_sets_a_score_record_shown_at_the_next_start(self):
        game = self.game()
        game.start()
        score = game.play(rows=2)
        self.assertGreaterEqual(score, 20)
        self.assertIn("Sorry, you have lost the game.", text := game.popup("Game Over"))
        self.assertIn("new Score record", text)
        game.answer("Game Over", "Return")
        self.assertEqual(game.text("Score"), str(score))
        self.assertEqual(game.lamp(), "dark")
        self.quit(game)
        self.assertEqual((game.folder / RECORDS).read_text(), f"792\n461\n{score}\n9999.000000\n")
        again = self.game(game.folder)
        self.assertEqual(wait(lambda: again.text("Score record"), 10, "the record"), str(score))
        self.assertEqual(again.text("Speed record"), "9999.00")
        self.quit(again)

    def test_missing_image_is_named_and_ends_the_program(self):
        game = self.game(remove=["Images/KIVO_Stakko_Game_green.bmp"])
        self.assertIn("Missing image file 3.", game.popup("Error"))
        self.assertEqual(windows("Stakko"), [])
        game.answer("Error", "Return")
        self.assertEqual(game.process.wait(10), 0)

    def test_pause_holds_help_shows_quit_asks(self):
        game = self.game()
        game.start()
        wait(game.board, 3, "the first piece")
        game.click("Pause")
        wait(lambda: game.lamp() == "dark", 3, "the lamp to go dark")
        self.assertTrue(self.held(game), "the piece fell while the game was held")
        game.click("Help")
        self.assertIn("Ctrl + Down key: immediate down", game.popup("Help"))
        game.answer("Help", "Return")
        time.sleep(0.3)  # the board is repainted where the help covered it
        self.assertTrue(self.held(game), "the piece fell after the help while held")
        self.assertEqual(game.lamp(), "dark")
        game.click("Pause")
        wait(lambda: game.lamp() == "lit", 3, "the lamp to light")
        self.assertFalse(self.held(game), "the piece stayed after the game was resumed")
        self.quit(game)

    def test_default_panel_fits_a_small_screen(self):
        game = self.game()
        screen_width, screen_height = map(int, xdo("getdisplaygeometry").split())
        window = wait(lambda: windows("Stakko"), 10, "the panel")[0]

        def frame():  # the panel's accessible box is its place on the screen
            x, y, width, height = game.extents("Stakko")
            extents = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"],
                                     capture_output=True, text=True).stdout.partition("=")[2]
            left, right, top, bottom = map(int, extents.split(",")) if extents else (0,) * 4
            return x - left, y - top, x + width + right, y + height + bottom
        fits = lambda b: min(b[:2]) >= 0 and b[2] <= screen_width and b[3] <= screen_height
        end = time.monotonic() + 5
        while not fits(box := frame()) and time.monotonic() < end:
            time.sleep(0.2)
        self.assertTrue(fits(box), f"the window spans {box} on a {screen_width}x{screen_height} screen")
        for name in ("Quit", "Web page"):
            x, y, width, height = game.extents(name)
            self.assertLessEqual(y + height, screen_height, f"{name} is below the screen")
        time.sleep(1)
        self.assertFalse((game.folder / RECORDS).exists(), "start-up wrote the records file")
        self.quit(game)

    def test_unserved_display_ends_with_minus_one(self):
        folder = self.copy()
        env = dict(os.environ, DISPLAY=":77")
        env.pop("WAYLAND_DISPLAY", None)
        started = time.monotonic()
        done = subprocess.run([folder / "KIVO_Stakko"], cwd=folder, env=env, timeout=20)
        self.assertEqual(done.returncode, 255, "a negative code is the signal that ended it")
        self.assertLess(time.monotonic() - started, 10)


if __name__ == "__main__":
    SOURCE = Path(sys.argv.pop(1)).resolve()
    unittest.main(verbosity=2)
