"""The one helper of the journeys: Stakko in a copy of its installation folder under openbox,
seen through AT-SPI and screenshots, played with real keys and clicks."""
import os, shutil, struct, subprocess, tempfile, time
from pathlib import Path

import pyatspi
from gi.repository import Atspi

Atspi.set_timeout(10000, 15000)  # a sound plays to its end before the program answers again
RECORDS = "_KIVOSTAKKOGAME.CFG"


def wait(probe, timeout, what):
    end = time.monotonic() + timeout
    while not (value := probe()):
        if time.monotonic() > end:
            raise AssertionError(f"waited {timeout} s for {what}")
        time.sleep(0.05)
    return value


def xdo(*args):
    done = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=20)
    return done.stdout if done.returncode == 0 else ""


def windows(title):
    return xdo("search", "--onlyvisible", "--name", f"^{title}$").split()


def start_openbox():
    """A real window manager on this display, once it has taken over the screen."""
    wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait(lambda: "window id" in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                               capture_output=True, text=True).stdout, 30, "openbox")
    return wm


def install_copy(source, remove=()):
    folder = Path(tempfile.mkdtemp(prefix="stakko-e2e-")) / "stakko"
    shutil.copytree(source, folder)
    (folder / RECORDS).unlink(missing_ok=True)
    for name in remove:
        (folder / name).unlink()
    return folder


def find(node, name):
    if node.name == name and node.getRole() != pyatspi.ROLE_LABEL:  # not the caption beside it
        return node
    for child in node:
        if child is not None and (hit := find(child, name)):
            return hit


def texts(node):
    node.clearCache()
    try:
        text = node.queryText().getText(0, -1)
    except NotImplementedError:
        text = ""
    return [node.name, text] + [t for child in node if child is not None for t in texts(child)]


def shape(cells):
    return frozenset((x - min(x for x, _ in cells), y - min(y for _, y in cells)) for x, y in cells)


def drop(fixed, cells):
    """(board after the piece falls straight down from `cells` and its full rows go, rows gone)."""
    while all(y < 19 and (x, y + 1) not in fixed for x, y in cells):
        cells = {(x, y + 1) for x, y in cells}
    board = fixed | cells
    full = [r for r in range(20) if all((x, r) in board for x in range(10))]
    for r in full:  # top to bottom, the rows above moving down one each time
        board = {(x, y + (y < r)) for x, y in board if y != r}
    return board, len(full)


def rate(board, rows):
    tops = [min([y for x, y in board if x == c], default=20) for c in range(10)]
    covered = sum(20 - t for t in tops)
    return 8 * rows - 3.5 * (covered - len(board)) - covered / 2 - 0.3 * sum(
        abs(a - b) for a, b in zip(tops, tops[1:]))


class Game:
    """One run of the program; `folder` is its installation folder and current directory."""

    def __init__(self, folder):
        self.folder, self.found, self.rect, self.shown = folder, {}, None, False
        pyatspi.Registry.getDesktop(0)  # the accessibility bus is up before the program starts
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", SDL_AUDIODRIVER="dummy")
        self.process = subprocess.Popen([folder / "KIVO_Stakko"], cwd=folder, env=env)

    def app(self):
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == self.process.pid:
                    return app
            except Exception:  # an application that is just going away
                pass

    def control(self, name):
        if name not in self.found:
            self.found[name] = wait(lambda: (a := self.app()) and find(a, name), 15, name)
        self.found[name].clearCache()
        return self.found[name]

    def text(self, name):
        return self.control(name).queryText().getText(0, -1)

    def lamp(self):
        return self.control("Game running").description

    def extents(self, name):
        box = self.control(name).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return box.x, box.y, box.width, box.height

    def click(self, name):
        if not self.shown:  # the window manager places the panel once it is mapped
            xdo("windowactivate", "--sync", wait(lambda: windows("Stakko"), 10, "the panel")[0])
            self.shown = time.sleep(0.5) or True
        x, y, width, height = self.extents(name)
        xdo("mousemove", x + width // 2, y + height // 2, "click", "1")

    def keys(self, *keys, title="Stakko"):
        xdo("search", "--onlyvisible", "--name", f"^{title}$", "windowactivate", "--sync")
        xdo("key", "--clearmodifiers", "--delay", "30", *keys)  # real presses to the focus

    def popup(self, title):
        """The text of the pop-up `title` once it shows."""
        wait(lambda: windows(title), 10, f"the pop-up {title!r}")
        return "\n".join(wait(lambda: [t for top in self.app() or [] if top and top.name == title
                                       for t in texts(top)], 10, f"the text of {title!r}"))

    def answer(self, title, key):
        window = wait(lambda: windows(title), 10, f"the pop-up {title!r}")
        self.keys(key, title=title)
        wait(lambda: window[0] not in windows(title), 10, f"{title!r} to close")

    def start(self):
        self.click("Start")
        assert "Do you want to start a new game now?" in self.popup("Message")
        self.answer("Message", "y")
        wait(lambda: self.lamp() == "lit", 5, "the lamp to light")

    def board(self):
        """The board's coloured cells {(x, y)}: x 0..9 from the left, y 0..19 from the top."""
        left, top, width, height = self.rect = self.rect or self.extents("Board")
        size = min(width // 10, height // 20)  # whole-pixel cells centred in the graph
        left, top = left + (width - 10 * size + size) // 2, top + (height - 20 * size + size) // 2
        data = memoryview(wait(lambda: subprocess.run(["xwd", "-root", "-silent"], capture_output=True,
                                                      ).stdout, 5, "a screenshot"))
        head = struct.unpack(">25I", data[:100])
        pixel = lambda x, y: data[head[0] + 12 * head[19] + y * head[12] + head[11] // 8 * x:][:3]
        return {(i, j) for i in range(10) for j in range(20)
                if (lambda p: max(p) - min(p) >= 60)(pixel(left + i * size, top + j * size))}

    def piece(self, fixed):
        board = self.board()
        return fixed <= board and len(board - fixed) == 4 and board - fixed

    def play(self, rows):
        """Places pieces where they fill rows best until `rows` rows went, then drops them
        straight until the game is lost; every landing is checked against a model of the
        board. Returns the score that the removed rows make."""
        fixed, gone, score = set(), 0, 0
        while True:
            piece = wait(lambda: windows("Game Over") or self.piece(fixed), 10, "a piece")
            if isinstance(piece, list):
                return score
            turns, keys = [piece], []
            for _ in range(3 if gone < rows else 0):  # each turn as it shows on the board
                self.keys("Up")
                end = time.monotonic() + 0.5
                while time.monotonic() < end and shape(piece) == shape(turns[-1]):
                    piece = self.piece(fixed) or piece
                turns.append(piece)
            if gone < rows:
                _, turn, left = max((rate(*drop(fixed, {(x + left, y) for x, y in shape(cells)})),
                                     turn, left) for turn, cells in enumerate(turns)
                                    for left in range(10 - max(x for x, _ in shape(cells))))
                dx = left - min(x for x, _ in turns[turn])
                keys = ["Up"] * ((turn + 1) % 4) + ["Left" if dx < 0 else "Right"] * abs(dx)
                want = {x + dx for x, _ in turns[turn]}
                if keys:
                    self.keys(*keys)
                try:
                    wait(lambda: {x for x, _ in self.piece(fixed) or ()} == want, 1, "the move")
                except AssertionError:  # blocked: the piece lands where it is
                    pass
            expected, removed = drop(fixed, wait(lambda: self.piece(fixed), 2, "the piece"))
            self.keys("ctrl+Down")
            wait(lambda: windows("Game Over") or self.piece(expected), 5, "the next piece after "
                 f"the landing, with the board {sorted(expected)}")
            fixed, gone, score = expected, gone + removed, score + 10 * removed ** 2
