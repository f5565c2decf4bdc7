"""The desktop as a test sees it: bounded waits, X windows through xdotool, window pixels
through xwd, and accessible objects through AT-SPI (pyatspi)."""
import ctypes
import struct
import subprocess
import time

import pyatspi
from gi.repository import Atspi  # the version that pyatspi asked for

# The game plays its sounds to their end on its UI thread, which answers nothing meanwhile:
# wait longer than the default 0.8 s for an answer.
Atspi.set_timeout(10000, 15000)

class Timeout(AssertionError):
    """A bounded wait ran out: a test failure, never a hang."""


def wait_until(probe, timeout, what, interval=0.05):
    """Polls probe() until it returns something truthy, which is returned; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Timeout(f"waited {timeout} s for {what}")
        time.sleep(interval)


def stays(probe, duration, interval=0.05):
    """True when probe() stays truthy for the whole duration (polled), False at its first miss."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not probe():
            return False
        time.sleep(interval)
    return bool(probe())


# ------------------------------------------------------------------------- X windows

def xdotool(*args, timeout=10):
    """Runs xdotool; its output, or None when it reports failure (e.g. no window found)."""
    try:
        done = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                              timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    return done.stdout if done.returncode == 0 else None


def window_ids(title):
    """The visible windows whose title is exactly `title`, now."""
    found = xdotool("search", "--onlyvisible", "--name", f"^{title}$")
    return [int(w) for w in found.split()] if found else []


def find_window(title, timeout=10):
    """The first visible window titled `title`, waiting for it up to timeout seconds."""
    found = xdotool("search", "--sync", "--onlyvisible", "--name", f"^{title}$",
                    timeout=timeout)
    if not found:
        raise Timeout(f"no window titled {title!r} within {timeout} s")
    return int(found.split()[0])


def window_geometry(window):
    """(x, y, width, height) of a window on the screen."""
    shell = xdotool("getwindowgeometry", "--shell", window)
    values = dict(line.split("=", 1) for line in shell.split())
    return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))


def focus(window):
    """Gives a window the keyboard focus (there is no window manager to do it)."""
    xdotool("windowfocus", "--sync", window, timeout=5)


def press(window, *keys):
    """Real key presses (XTEST) to a window, which gets the focus first: e.g. "Left",
    "ctrl+Down", "y", "Return"."""
    focus(window)
    if xdotool("key", "--clearmodifiers", "--delay", "30", *keys) is None:
        raise AssertionError(f"xdotool could not press {keys}")


def click_at(x, y):
    """A real left click at a screen position."""
    if xdotool("mousemove", x, y, "click", "1") is None:
        raise AssertionError(f"xdotool could not click at {x}, {y}")


def move_window(window, x, y):
    xdotool("windowmove", "--sync", window, x, y, timeout=5)


def resize_window(window, width, height):
    xdotool("windowsize", window, width, height)


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


def close_window(window):
    """What a window manager sends when the close box is clicked: WM_DELETE_WINDOW (xdotool's
    windowclose would destroy the window instead)."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_XEvent)]
    x11.XFlush.argtypes = x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        raise AssertionError("cannot open the X display")
    event = _XEvent()
    message = event.xclient
    message.type = 33  # ClientMessage
    message.window = window
    message.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    message.format = 32
    message.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


# ----------------------------------------------------------------------- screenshots

class Screenshot:
    """A window's pixels, read from xwd's dump (ZPixmap, 24 or 32 bits per pixel)."""

    def __init__(self, data):
        header = struct.unpack(">25I", data[:100])
        (header_size, _version, pixmap_format, _depth, self.width, self.height, _xoffset,
         byte_order, _unit, _bit_order, _pad, bits_per_pixel, self.stride, _visual,
         red_mask, green_mask, blue_mask, _bits_rgb, _map_entries, ncolours) = header[:20]
        if pixmap_format != 2 or bits_per_pixel not in (24, 32):
            raise ValueError(f"unexpected xwd format {pixmap_format}/{bits_per_pixel}")
        self.bytes_per_pixel = bits_per_pixel // 8
        self.order = "little" if byte_order == 0 else "big"
        self.masks = (red_mask, green_mask, blue_mask)
        self.pixels = memoryview(data)[header_size + 12 * ncolours:]

    def rgb(self, x, y):
        """The colour of pixel (x, y), (0, 0) being the window's top left."""
        start = y * self.stride + x * self.bytes_per_pixel
        value = int.from_bytes(self.pixels[start:start + self.bytes_per_pixel], self.order)
        return tuple((value & mask) >> ((mask & -mask).bit_length() - 1) for mask in self.masks)


def screenshot(window):
    """The window's current pixels (whatever covers it on screen included)."""
    data = subprocess.run(["xwd", "-silent", "-id", str(window)], capture_output=True,
                          timeout=10, check=True).stdout
    return Screenshot(data)


# ---------------------------------------------------------------------------- AT-SPI

def atspi_desktop():
    return pyatspi.Registry.getDesktop(0)


def application(pid, timeout=15):
    """The program's accessible application, found by its process id."""
    def probe():
        for app in atspi_desktop():
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:  # an application that has just gone away
                continue
        return None
    return wait_until(probe, timeout, f"the accessible application of process {pid}")


def descendants(root):
    """Every accessible below root, depth first; the cache is dropped so states are fresh."""
    root.clearCache()
    stack = [root]
    while stack:
        node = stack.pop()
        try:
            children = list(node)
        except Exception:
            children = []
        for child in reversed(children):
            if child is not None:
                stack.append(child)
        yield node


def text_of(accessible):
    """The accessible's text (line edits, spin boxes, labels), "" without one."""
    try:
        return accessible.queryText().getText(0, -1)
    except NotImplementedError:
        return ""


def is_sensitive(accessible):
    accessible.clearCache()
    return accessible.getState().contains(pyatspi.STATE_SENSITIVE)


def description(accessible):
    accessible.clearCache()
    return accessible.description


def centre(accessible):
    """The centre of the accessible's extents on the screen."""
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def extents(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def window_text(app, title):
    """All the names and texts of the accessible window titled `title` (a pop-up's message
    included), joined by new lines; None while there is no such window."""
    for top in list(app):
        if top is not None and top.name == title:
            parts = []
            for node in descendants(top):
                parts.extend(p for p in (node.name, text_of(node)) if p)
            return "\n".join(parts)
    return None
