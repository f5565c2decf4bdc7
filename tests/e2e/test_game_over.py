"""Game over: pieces dropped where they enter pile up until a new one no longer fits."""
from desktop import (Timeout, find_window, press, stays, wait_until, window_ids,
                     window_text)
from player import Player
import stakko_e2e as e2e

MAX_PIECES = 40  # bounds the pile up to the top, and the search for a full row


class GameOverTest(e2e.StakkoTestCase):

    def drop_until_game_over(self):
        """Ctrl+Down again and again (on a resting piece it does nothing) until the "Game Over"
        box shows."""
        for _ in range(MAX_PIECES * 4):
            self.panel.keys("ctrl+Down")
            try:
                return wait_until(lambda: window_ids("Game Over"), 0.3, "the box")[0]
            except Timeout:
                continue
        self.fail(f"no game over after {MAX_PIECES * 4} drops")

    def close_game_over_boxes(self):
        """Closes the "Game Over" boxes as they come (a record may bring a second one);
        returns their texts."""
        texts = []
        while len(texts) < 3:
            try:
                window = find_window("Game Over", timeout=1.5 if texts else 5)
            except Timeout:
                break
            texts.append(wait_until(lambda: window_text(self.app, "Game Over"), 5,
                                    "the box's text"))
            press(window, "Return")
            wait_until(lambda: window not in window_ids("Game Over"), 5, "the box to go")
        return texts

    def assert_idle(self):
        """The panel after a lost game: lamp dark, only Start to press, keys move nothing."""
        panel = self.panel
        self.assertEqual(window_ids("Game Over"), [])
        self.assertEqual(panel.led(), "dark")
        self.assertFalse(panel.sensitive("Pause"), "Pause is still available")
        self.assertTrue(panel.sensitive("Start"), "Start is not available")
        before = panel.board()
        panel.keys("Left", "ctrl+Down")
        self.assertTrue(stays(lambda: panel.board() == before, 2 * e2e.TICK + 0.2),
                        "the board changed after the game was over")

    def test_lost_game_ends_with_box_sound_and_idle_panel(self):
        for sound in ("on", "off"):
            with self.subTest(sound=sound):
                self.lose_a_game(sound_on=sound == "on")

    def lose_a_game(self, sound_on):
        self.open_main()
        panel = self.panel
        if not sound_on:
            panel.click("Sound")
            wait_until(lambda: panel.colour("Sound", fx=0.1) == "red", 2,
                       "the Sound button to turn red")
        self.start_game()
        self.assertEqual(self.program.audible_bytes(), 0, "a sound before the game was lost")

        self.drop_until_game_over()
        # The sound is heard to its end before the box shows.
        if sound_on:
            self.assertGreater(self.program.audible_bytes(), 0, "no game-over sound")
        else:
            self.assertEqual(self.program.audible_bytes(), 0, "a sound with the sound off")
        self.assertEqual(panel.led(), "dark")
        texts = self.close_game_over_boxes()
        self.assertIn("Sorry, you have lost the game.", texts[0])
        # Without a row there is no score record, and no speed record box after it.
        self.assertNotIn("record", texts[0])
        self.assertEqual(len(texts), 1, f"more boxes than one: {texts}")
        self.assert_idle()
        # No record was set, so the records file was never written.
        self.assertIsNone(self.program.records())

    def test_lost_game_after_a_score_record(self):
        self.open_main()
        self.start_game()
        score = 10 * Player(self.panel).play_until_row(MAX_PIECES) ** 2
        self.drop_until_game_over()
        heard = self.program.audible_bytes()
        texts = self.close_game_over_boxes()
        self.assertIn("Sorry, you have lost the game.", texts[0])
        self.assertIn("new Score record", texts[0])
        # Fewer than ten rows make no speed: no second box.
        self.assertEqual(len(texts), 1, f"more boxes than one: {texts}")
        wait_until(lambda: self.program.audible_bytes() > heard, 3, "the record's salute")
        self.assert_idle()
        self.assertEqual(self.panel.text("Score record"), str(score))
        self.assertEqual(self.program.records(), f"792\n461\n{score}\n9999.000000\n")

if __name__ == "__main__":
    e2e.main()
