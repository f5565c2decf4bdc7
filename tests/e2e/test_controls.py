"""The buttons and the window around a game: Pause, Help, the questions of Quit, the close box
and Start, the web icon, and resizing."""
from board_model import piece_cells, visible
from desktop import (close_window, move_window, resize_window, stays, wait_until, window_geometry,
                     window_text)
from player import Player, entered_piece
import stakko_e2e as e2e

HELD = 3 * e2e.TICK  # longer than two ticks: a running game would have moved
WEB_ADDRESS = "https://www.stakko.org/kivogame.html"
# Records its arguments (whole, by a rename), then lingers as a browser would.
XDG_OPEN = """#!/bin/sh
printf '%s\\n' "$@" > "$0.part" && mv "$0.part" "$0.args"
sleep 3
"""


class ControlsTest(e2e.StakkoTestCase):

    def start_with_piece(self):
        """Opens the panel, starts a game and returns the first piece (shape, colour, row)."""
        self.open_main()
        self.start_game()
        self.player = Player(self.panel)
        return wait_until(lambda: entered_piece(self.player.look()[0]), 3,
                          "the first piece at the top")

    def settled_board(self):
        """The board once two reads in a row agree: a box moved off the panel leaves cells
        to repaint for a moment."""
        reads = [None]

        def probe():
            reads.append(self.panel.board())
            return (reads[-1],) if reads[-1] == reads[-2] else None
        return wait_until(probe, 2, "the board to be repainted", interval=0.1)[0]

    def assert_held(self, why):
        board = self.settled_board()
        self.assertTrue(stays(lambda: self.panel.board() == board, HELD),
                        f"the piece fell while {why}")

    def assert_falls_on(self, why):
        board = self.panel.board()
        wait_until(lambda: self.panel.board() != board, 3 * e2e.TICK,
                   f"the piece to fall on after {why}")

    def test_pause_holds_the_fall_but_not_the_moves(self):
        shape, colour, row = self.start_with_piece()
        panel = self.panel
        panel.click("Pause")
        wait_until(lambda: panel.led() == "dark", 2, "the lamp to go dark")
        self.assertEqual(panel.colour("Pause", fx=0.1), "green", "Pause did not turn green")
        self.assertTrue(panel.sensitive("Pause"))
        self.assert_held("paused")
        row = entered_piece(panel.board())[2]

        # Held, the piece still moves, and stays where it was moved.
        panel.keys("Left")
        moved = {cell: colour for cell in visible(piece_cells(shape, 0, 6, row))}
        wait_until(lambda: panel.board() == moved, 2, "the held piece to move left")
        self.assert_held("paused after a move")

        panel.click("Pause")
        wait_until(lambda: panel.led() == "lit", 2, "the lamp to light again")
        self.assertNotEqual(panel.colour("Pause", fx=0.1), "green")
        self.assert_falls_on("the second Pause")

    def test_help_holds_a_running_game_until_closed(self):
        self.start_with_piece()
        panel = self.panel
        panel.click("Help")
        box = self.dialog("Help", contains="Ctrl + Down key: immediate down")
        self.assertIn("Stakko \u00a9 2026 the Stakko developers. Free to play and to share.",
                      window_text(self.app, "Help"))
        move_window(box, 700, 0)  # off the panel, so that screenshots see the board
        self.assertEqual(panel.led(), "dark")
        self.assert_held("the help was open")
        self.answer("Help", "Return")
        wait_until(lambda: panel.led() == "lit", 2, "the lamp to light again")
        self.assert_falls_on("closing the help")

    def ways_to_ask(self):
        """(what, how to ask it, its question) for the questions a running game can get."""
        quit_question = "Do you quit the game now?"
        return [("Quit", lambda: self.panel.click("Quit"), quit_question),
                ("close box", lambda: close_window(self.main_window), quit_question),
                ("Start", lambda: self.panel.click("Start"),
                 "Do you want to start a new game now?")]

    def test_declined_questions_keep_the_game_as_it_was(self):
        self.start_with_piece()
        panel = self.panel
        for what, ask, question in self.ways_to_ask():
            with self.subTest(what):
                ask()
                box = self.dialog("Message", contains=question)
                move_window(box, 700, 0)  # off the panel, so that screenshots see the board
                self.assert_held(f"the {what} question was open")
                board = panel.board()
                self.answer("Message", "n")
                self.assertTrue(self.program.running())
                self.assertEqual(panel.board(), board, "declining changed the board")
                self.assertEqual(panel.led(), "lit")
                self.assert_falls_on(f"declining the {what} question")

    def test_accepted_quit_ends_the_program(self):
        for what, ask, question in self.ways_to_ask()[:2]:  # Quit and the close box
            with self.subTest(what):
                self.start_with_piece()
                ask()
                self.answer("Message", "y", contains=question)
                self.assertEqual(self.program.exit_code(), 0)

    def test_accepted_start_abandons_the_game(self):
        self.start_with_piece()
        panel = self.panel
        upcoming = wait_until(self.player.look_ahead, 2, "a piece in the preview")
        self.player.drop_unknown(upcoming)
        self.assertEqual(len(self.player.fixed), 4)
        self.start_game()
        # Only a new first piece: the fixed cells went with the old game.
        wait_until(lambda: entered_piece(panel.board()), 3, "a lone piece on a cleared board")

    def test_web_icon_opens_the_page_without_waiting(self):
        self.open_main(stand_ins={"xdg-open": XDG_OPEN})
        args = self.program.install.parent / "bin" / "xdg-open.args"
        self.panel.click("Web page")
        wait_until(args.exists, 5, "xdg-open to be started")
        self.assertEqual(args.read_text().splitlines(), [WEB_ADDRESS])
        # The opener is still lingering: the panel answers all the same.
        self.panel.click("Help")
        self.answer("Help", "Return")

    def test_resize_is_remembered_at_once_and_at_the_next_start(self):
        install = e2e.make_install()
        self.folders.append(install.parent)
        window = self.open_main(install=install)
        resize_window(window, 400, 700)
        wait_until(lambda: self.program.records() == "700\n400\n0\n9999.000000\n", 3,
                   "the records file with the new size")
        self.assertEqual(window_geometry(window)[2:], (400, 700))
        self.panel.click("Quit")
        self.answer("Message", "y")
        self.assertEqual(self.program.exit_code(), 0)

        window = self.open_main(install=install)
        self.assertEqual(window_geometry(window)[2:], (400, 700))
        self.assertEqual(self.program.records(), "700\n400\n0\n9999.000000\n")


if __name__ == "__main__":
    e2e.main()
