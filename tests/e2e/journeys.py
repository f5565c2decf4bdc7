"""python3 journeys.py <installation folder> Journeys.test_<name>, in an X server of its own."""
import contextlib, os, pathlib, pyatspi, shutil, struct, subprocess, sys, tempfile, time, unittest

pyatspi.setTimeout(10000, 15000)  # a sound plays to its end before the program answers again


def wait(probe, timeout, what=None):  # without `what`, a probe never true is no fault
    end = time.monotonic() + timeout
    while not (value := probe()) and time.monotonic() < end:
        time.sleep(0.05)
    assert value or not what, f"waited {timeout} s for {what}"
    return value


def run(*command):
    return subprocess.run(list(map(str, command)), capture_output=True, text=True).stdout


def windows(title):
    return run("xdotool", "search", "--onlyvisible", "--name", f"^{title}$").split()


def find(nodes, test):  # the first of the nodes or of those below them to pass the test
    return next(filter(None, (n if test(n) else find(n, test) for n in nodes if n)), None)


def drop(fixed, cells):  # the board once the piece falls and full rows go, and how good it is
    while all(y < 19 and (x, y + 1) not in fixed for x, y in cells):
        cells = {(x, y + 1) for x, y in cells}
    full = [r for r in range(20) if {(x, r) for x in range(10)} <= fixed | cells]
    board = {(x, y + sum(r > y for r in full)) for x, y in fixed | cells if y not in full}
    tops = [min([y for x, y in board if x == c], default=20) for c in range(10)]
    covered = sum(20 - t for t in tops)  # rows gone, few holes, a low and even surface
    return board, 8 * len(full) - 4 * (covered - len(board)) - covered / 2 - sum(
        abs(a - b) for a, b in zip(tops, tops[1:])) / 3


class Game:  # the one helper: the program seen through AT-SPI and screenshots, driven by X

    def __init__(self, test, folder=None):  # in the given folder, or a fresh copy without records
        if not folder:
            folder = pathlib.Path(test.enterContext(tempfile.TemporaryDirectory())) / "stakko"
            shutil.copytree(SOURCE, folder, ignore=shutil.ignore_patterns("*.CFG"))
        self.folder, self.rect = folder, None
        pyatspi.Registry.getDesktop(0)  # the accessibility bus is up before the program starts
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", SDL_AUDIODRIVER="dummy",
                   LC_ALL="de_DE.UTF-8")  # a decimal comma, where Qt would take it
        self.process = subprocess.Popen([folder / "KIVO_Stakko"], cwd=folder, env=env)
        test.addCleanup(lambda: self.process.kill() or self.process.wait())

    def find(self, test, what):
        def ours(app):
            with contextlib.suppress(Exception):  # an application just gone, such as the last run
                return app.get_process_id() == self.process.pid
        return wait(lambda: find(filter(ours, pyatspi.Registry.getDesktop(0)), test), 15, what)

    def control(self, name):  # by its accessible name; the caption beside it is a label
        return self.find(lambda n: n.name == name and n.getRole() != pyatspi.ROLE_LABEL, name)

    def text(self, name):
        return self.control(name).queryText().getText(0, -1)

    def lamp(self):
        return self.control("Game running").description

    def extents(self, name):
        box = self.control(name).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return box.x, box.y, box.x + box.width, box.y + box.height

    def keys(self, *keys, title="Stakko", settle=0):  # settle: seconds for the screen to catch up
        window = wait(lambda: windows(title), 10, f"the window {title!r}")[0]
        run("xdotool", "windowactivate", "--sync", window)
        if keys:  # real presses to the focused window
            run("xdotool", "key", "--clearmodifiers", "--delay", "30", *keys)
        time.sleep(settle)
        return window

    def click(self, name):
        if not self.rect:  # openbox places the panel once it is mapped
            self.keys(settle=0.5)
            self.rect = self.extents("Board")
        left, top, right, bottom = self.extents(name)
        run("xdotool", "mousemove", (left + right) // 2, (top + bottom) // 2, "click", "1")

    def answer(self, title, key, text):  # once the pop-up `title` shows `text`
        self.keys(title=title)
        self.find(lambda n: text in n.name, text)
        window = self.keys(key, title=title)
        wait(lambda: window not in windows(title), 10, f"{title!r} to close")

    def board(self):  # the coloured cells {(x, y)}: x 0..9 from the left, y 0..19 from the top
        left, top, right, bottom = self.rect
        size = min((right - left) // 10, (bottom - top) // 20)  # whole pixels, grid centred
        left, top = (left + right - 9 * size) // 2, (top + bottom - 19 * size) // 2
        shot = memoryview(subprocess.run(["xwd", "-root", "-silent"], capture_output=True).stdout)
        head = struct.unpack(">25I", shot[:100])
        pixel = lambda x, y: shot[head[0] + 12 * head[19] + y * head[12] + head[11] // 8 * x:][:3]
        return {(i, j) for i in range(10) for j in range(20)
                if max(p := pixel(left + i * size, top + j * size)) - min(p) >= 60}

    def still(self, seconds=1.5):  # the same cells for longer than three ticks of the fall
        time.sleep(0.3)  # what a closed pop-up covered is painted again
        board = self.board()
        return bool(board) and not wait(lambda: self.board() != board, seconds)

    def play(self):  # two rows with every landing checked against a model, then drops to the end
        fixed = set()
        piece = lambda: (b := self.board()) >= fixed and len(b - fixed) == 4 and b - fixed
        while int(self.text("Score")) < 20:
            turns = [wait(piece, 10, "a whole piece")]
            for _ in range(3):  # each turn of the piece as the board shows it
                self.keys("Up", settle=0.15)
                turns.append(piece() or turns[-1])
            _, turn, dx = max((drop(fixed, {(x + dx, y) for x, y in cells})[1], turn, dx)
                              for turn, cells in enumerate(turns) for dx in range(-9, 10)
                              if all(0 <= x + dx < 10 for x, _ in cells))
            self.keys(*["Up"] * ((turn + 1) % 4), *["Left" if dx < 0 else "Right"] * abs(dx),
                      settle=0.3)  # the model takes a blocked piece from where it lands
            fixed = drop(fixed, wait(piece, 2, "the piece to drop"))[0]
            self.keys("ctrl+Down")
            wait(piece, 5, f"a new piece above the landed cells {sorted(fixed)}")
        while not windows("Game Over"):
            self.keys("ctrl+Down", settle=0.3)


class Journeys(unittest.TestCase):

    def setUp(self):  # a real window manager: Xvfb alone hides faults of placing and sizing
        for _ in range(5):  # now and then openbox cannot open a display that has just come up
            openbox = subprocess.Popen("exec openbox >/dev/null 2>&1", shell=True)
            if wait(lambda: openbox.poll() is not None or "_NET_SUPPORTING_WM_CHECK(WINDOW)" in
                    run("xprop", "-root"), 30, "openbox") and openbox.poll() is None:
                break
        self.addCleanup(lambda: openbox.terminate() or openbox.wait())

    def test_whole_game_on_a_small_screen_to_a_score_record_shown_at_the_next_start(self):
        game = Game(self)  # the default panel, fitted to the screen and centred across it
        frame = run("xprop", "-id", game.keys(settle=1), "_NET_FRAME_EXTENTS").split("=")[-1]
        x, y, x2, y2 = game.extents("Stakko")  # the panel's accessible box is its place on screen
        left, right, top, bottom = map(int, frame.split(","))
        spans = [(x - left, y - top, x2 + right, y2 + bottom), game.extents("Quit"),
                 game.extents("Web page")]
        width, height = map(int, run("xdotool", "getdisplaygeometry").split())
        self.assertTrue(all(min(s) >= 0 and s[2] <= width and s[3] <= height for s in spans) and
                        abs(spans[0][0] + spans[0][2] - width) < 20,
                        f"window, Quit and foot icon span {spans} on a {width}x{height} screen")
        self.assertEqual(list(game.folder.glob("*.CFG")), [], "start-up wrote records")
        game.click("Start")
        game.answer("Message", "y", "Do you want to start a new game now?")
        wait(lambda: game.lamp() == "lit", 5, "the lamp to light")
        game.click("Pause")
        wait(lambda: game.lamp() == "dark", 3, "the lamp to go dark")
        self.assertTrue(game.still(), "the piece fell while the game was held")
        game.click("Help")
        game.answer("Help", "Return", "Ctrl + Down key: immediate down")
        self.assertTrue(game.still(), "the piece fell after the help, the game being held")
        game.click("Pause")
        wait(lambda: game.lamp() == "lit", 3, "the lamp to light")
        game.play()
        game.answer("Game Over", "Return", "lost the game.\nBut you have created a new Score")
        score = game.text("Score")
        self.assertEqual((int(score) >= 20, game.lamp()), (True, "dark"))
        usable = lambda name: game.control(name).getState().contains(pyatspi.STATE_ENABLED)
        self.assertEqual((usable("Start"), usable("Pause")), (True, False))  # Pause dimmed
        game.process.kill()  # records are stored as they are set
        records = (game.folder / "_KIVOSTAKKOGAME.CFG").read_text()
        self.assertEqual(records, f"792\n461\n{score}\n9999.000000\n")
        new = Game(self, game.folder)
        self.assertEqual((new.text("Score record"), new.text("Speed record"), new.text("Speed")),
                         (score, "9999.00", "0.00"))
        new.click("Quit")
        new.answer("Message", "y", "Do you quit the game now?")
        self.assertEqual(new.process.wait(10), 0)


SOURCE = pathlib.Path(sys.argv.pop(1)).resolve()
unittest.main(verbosity=2)
