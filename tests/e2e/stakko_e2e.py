"""The end-to-end harness: Stakko's real program in a throw-away copy of its installation
folder, in a real X window, driven by xdotool and watched through AT-SPI and screenshots.

Every test script is started as `python3 <script> <installation folder>` inside
`xvfb-run ... dbus-run-session`; `main()` takes the folder off the command line.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest
import warnings
from pathlib import Path

import pyatspi

from board_model import BOARD_COLUMNS, BOARD_ROWS, PREVIEW_CELLS, classify_colour
from desktop import (Timeout, application, atspi_desktop, centre, click_at, description,
                     descendants, extents, find_window, is_sensitive, press, screenshot, text_of,
                     wait_until, window_ids, window_text)

APP_NAME = "KIVO_Stakko"
MAIN_TITLE = "Stakko"
RECORDS_FILE = "_KIVOSTAKKOGAME.CFG"
TICK = 0.4  # seconds per row at the start of a game

# Set by main() from the command line: the installation folder that the build laid out.
INSTALL_SOURCE = None


# ------------------------------------------------------------------ installation and process

def make_install(remove=(), records=None):
    """A fresh copy of the installation folder; `remove` names files to leave out, `records`
    is the records file's text (None: no records file)."""
    root = Path(tempfile.mkdtemp(prefix="stakko-e2e-"))
    install = root / "stakko"
    shutil.copytree(INSTALL_SOURCE, install, symlinks=True)
    stale = install / RECORDS_FILE
    if stale.exists():
        stale.unlink()
    for name in remove:
        (install / name).unlink()
    if records is not None:
        (install / RECORDS_FILE).write_text(records)
    return install


class Program:
    """One run of KIVO_Stakko with its installation folder as current directory, its sounds
    going to a disk file and, optionally, stand-in programs first on its PATH."""

    def __init__(self, install, stand_ins=None):
        self.install = Path(install)
        self.audio = self.install.parent / "audio.raw"
        self.log = self.install.parent / "program.log"
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", SDL_AUDIODRIVER="disk",
                   SDL_DISKAUDIOFILE=str(self.audio))
        if stand_ins:
            bin_dir = self.install.parent / "bin"
            bin_dir.mkdir(exist_ok=True)
            for name, script in stand_ins.items():
                path = bin_dir / name
                path.write_text(script)
                path.chmod(0o755)
            env["PATH"] = f"{bin_dir}:{env.get('PATH', '')}"
        atspi_desktop()  # the accessibility bus must be up before the program starts
        with open(self.log, "wb") as log:
            self.process = subprocess.Popen([str(self.install / APP_NAME)], cwd=self.install,
                                            env=env, stdout=log, stderr=subprocess.STDOUT,
                                            start_new_session=True)

    def running(self):
        return self.process.poll() is None

    def exit_code(self, timeout=10):
        """The exit code once the program has ended by itself; fails if it is still running."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Timeout(f"the program did not end within {timeout} s") from None

    def stop(self):
        """Ends the program if it is still running (its own process group only)."""
        if self.running():
            os.killpg(self.process.pid, signal.SIGKILL)
        self.process.wait(timeout=10)

    def records(self):
        """The records file's text, or None without one."""
        path = self.install / RECORDS_FILE
        return path.read_text() if path.exists() else None

    def audible_bytes(self):
        """How many bytes of the sound output so far are not silence (0 for signed 16 bit)."""
        if not self.audio.exists():
            return 0
        data = self.audio.read_bytes()
        return len(data) - data.count(0)


# -------------------------------------------------------------------- the test fixture

class StakkoTestCase(unittest.TestCase):
    """Starts the program on demand and always ends it and removes its folder afterwards."""

    def setUp(self):
        # pyatspi calls the older names of Atspi's interface getters.
        warnings.filterwarnings("ignore", category=DeprecationWarning, module="pyatspi")
        self.program = None
        self.folders = []
        self.problems_before = self.problems()

    def tearDown(self):
        if self.program is not None:
            self.program.stop()
            if self.problems() > self.problems_before:  # show what the program said
                sys.stderr.write(self.program.log.read_text(errors="replace")[-4000:])
        for folder in self.folders:
            shutil.rmtree(folder, ignore_errors=True)

    def problems(self):
        """Failures and errors reported so far in this run (0 where unittest hides them)."""
        result = getattr(getattr(self, "_outcome", None), "result", None)
        return len(result.failures) + len(result.errors) if result else 0

    def launch(self, install=None, stand_ins=None, **install_options):
        """Starts the program in `install` (default: a fresh copy made with install_options)
        and waits for its accessible application."""
        if install is None:
            install = make_install(**install_options)
            self.folders.append(install.parent)
        if self.program is not None:
            self.program.stop()
        self.program = Program(install, stand_ins)
        self.app = application(self.program.process.pid)
        return self.program

    def open_main(self, **launch_options):
        """Launches the program and waits for its main window; returns the window id."""
        self.launch(**launch_options)
        self.main_window = find_window(MAIN_TITLE)
        self.panel = Panel(self.app, self.main_window)
        return self.main_window

    def dialog(self, title, contains=None, timeout=10):
        """Waits for the pop-up `title` (with `contains` in its text); returns its window."""
        window = find_window(title, timeout)
        text = wait_until(lambda: window_text(self.app, title), timeout,
                          f"the accessible text of {title!r}")
        if contains is not None:
            self.assertIn(contains, text)
        return window

    def start_game(self):
        """Start, answered with Y: waits until the lamp is lit."""
        self.panel.click("Start")
        self.answer("Message", "y", contains="Do you want to start a new game now?")
        wait_until(lambda: self.panel.led() == "lit", 5, "the lamp to light")

    def answer(self, title, key, contains=None):
        """Answers the pop-up `title` with a key and waits until it has gone."""
        window = self.dialog(title, contains)
        press(window, key)
        wait_until(lambda: window not in window_ids(title), 10, f"{title!r} to close")


class Panel:
    """The main panel's controls by accessible name, and its board and preview on screen."""

    def __init__(self, app, window):
        self.app = app
        self.window = window
        self.root = wait_until(lambda: self._find(MAIN_TITLE), 10, "the accessible panel")
        self.controls = {}
        self.rects = {}  # kept while the window keeps its size

    def _find(self, name):
        for node in descendants(self.app):
            if node.name == name and node.getRole() != pyatspi.ROLE_LABEL:
                return node
        return None

    def control(self, name):
        """The control whose accessible name is `name` (its caption label is skipped)."""
        if name not in self.controls:
            self.controls[name] = wait_until(lambda: self._find(name), 10, f"control {name!r}")
        return self.controls[name]

    def text(self, name):
        return text_of(self.control(name))

    def sensitive(self, name):
        return is_sensitive(self.control(name))

    def led(self):
        return description(self.control("Game running"))

    def click(self, name):
        click_at(*centre(self.control(name)))

    def keys(self, *keys):
        press(self.window, *keys)

    def _rect(self, name):
        """The control's rectangle inside the window's pixels."""
        if name not in self.rects:
            x, y, width, height = extents(self.control(name))
            origin_x, origin_y, _, _ = extents(self.root)
            self.rects[name] = (x - origin_x, y - origin_y, width, height)
        return self.rects[name]

    def shot(self):
        return screenshot(self.window)

    def colour(self, name, fx=0.5, fy=0.5):
        """The colour name (see classify_colour) at a fraction of the control's box from its
        top left: a button's face beside its label, the lamp's middle."""
        left, top, width, height = self._rect(name)
        return classify_colour(self.shot().rgb(left + int(width * fx), top + int(height * fy)))

    def board(self, shot=None):
        """The board's coloured cells {(column, row): colour} as drawn on screen."""
        return read_grid(shot or self.shot(), self._rect("Board"), BOARD_COLUMNS, BOARD_ROWS,
                         lambda i, j: (BOARD_COLUMNS - i, j + 1))

    def board_pixels(self, shot=None):
        """The centre pixel of every board cell: {(column, row): (r, g, b)}."""
        return grid_pixels(shot or self.shot(), self._rect("Board"), BOARD_COLUMNS,
                           BOARD_ROWS, lambda i, j: (BOARD_COLUMNS - i, j + 1))

    def preview(self, shot=None):
        """The preview's cells {(column offset, row offset): colour} from the next piece's
        pivot (the preview is 5 cells wide, 6 high, the pivot at x 20, y 20 in axis units)."""
        columns, rows = PREVIEW_CELLS
        return read_grid(shot or self.shot(), self._rect("Next piece"), columns, rows,
                         lambda i, j: (2 - i, j - 2))


def grid_pixels(shot, rect, columns, rows, cell_of):
    """Samples the centre of each square cell of a graph laid out as the run-time does: whole
    pixel cells, the grid centred in the graph's rectangle. cell_of maps (i from the left,
    j from the top) to the caller's cell key."""
    left, top, width, height = rect
    size = min(width // columns, height // rows)
    x0 = left + (width - size * columns) // 2
    y0 = top + (height - size * rows) // 2
    return {cell_of(i, j): shot.rgb(x0 + i * size + size // 2, y0 + j * size + size // 2)
            for i in range(columns) for j in range(rows)}


def read_grid(shot, rect, columns, rows, cell_of):
    """The coloured cells of a graph's grid: {key: colour name}; "?" for a pixel that is
    neither a cell colour nor plain background."""
    cells = {}
    for key, rgb in grid_pixels(shot, rect, columns, rows, cell_of).items():
        colour = classify_colour(rgb)
        if colour is not None:
            cells[key] = colour
    return cells


def main():
    """Runs the calling script's tests against the installation folder named by argv[1]."""
    global INSTALL_SOURCE
    if len(sys.argv) < 2 or not (Path(sys.argv[1]) / APP_NAME).exists():
        sys.exit(f"usage: {sys.argv[0]} <installation folder holding {APP_NAME}>")
    INSTALL_SOURCE = Path(sys.argv[1]).resolve()
    unittest.main(argv=[sys.argv[0], *sys.argv[2:]], verbosity=2)
