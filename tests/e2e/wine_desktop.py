"""Wine programs inside a Wine-drawn desktop, driven with real input (xdotool).

On a bare X server a modal dialog gets an X window of its own that real key
presses do not reach. Inside a Wine-drawn desktop every window is drawn into
one X window, which takes the keys and hands them on as Windows would: to the
active window, dialogs included. The desktop is made the prefix's default, so
every program of the prefix runs in it, the probe too (it sees only the windows
of its own desktop). That changes the prefix's registry: use a prefix of your own.
"""

import contextlib
import glob
import os
import subprocess

from monitor import PROBE_TIMEOUT, START_TIMEOUT, Monitor, wait_until
from wine_session import IsolatedWine, PrivateDisplay, enter_private_network

DESKTOP = "shots"
DESKTOP_WIDTH, DESKTOP_HEIGHT = 900, 600
KEY_GAP_MS = 200  # a menu that a key opens is up before the next key comes
WINE_FONTS = "/usr/share/wine/fonts"
# A dialog takes a while to come up on a busy machine; keys pressed before it has, go astray.
DIALOG_TIMEOUT = 20.0
# The active caption's colour in Wine's default scheme; the taskbar along the
# desktop's bottom edge has it too, on the active window's button and in icons.
ACTIVE_CAPTION = bytes((50, 150, 250))
TASKBAR_HEIGHT = 40


def run(*command, capture=False):
    finished = subprocess.run(command, check=True, stdin=subprocess.DEVNULL, timeout=PROBE_TIMEOUT,
                              capture_output=capture, text=capture)
    return finished.stdout if capture else None


def make_desktop_the_default():
    """Every Wine program of the prefix (WINEPREFIX) then runs in the Wine-drawn desktop."""
    for key, name, value in ((r"HKCU\Software\Wine\Explorer", "Desktop", DESKTOP),
                             (r"HKCU\Software\Wine\Explorer\Desktops", DESKTOP, f"{DESKTOP_WIDTH}x{DESKTOP_HEIGHT}")):
        subprocess.run(["wine", "reg", "add", key, "/v", name, "/d", value, "/f"], check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=PROBE_TIMEOUT)


def link_wine_fonts(prefix):
    """Debian's Wine leaves its own fonts out of a new prefix; without Marlett the
    caption buttons would show as letters."""
    fonts = os.path.join(prefix, "drive_c", "windows", "Fonts")
    for font in glob.glob(os.path.join(WINE_FONTS, "*")):
        link = os.path.join(fonts, os.path.basename(font))
        if not os.path.lexists(link):
            os.symlink(font, link)


def desktop_window():
    """The X window the desktop is drawn into, once it is there."""
    def search():
        found = subprocess.run(["xdotool", "search", "--name", f"^{DESKTOP} - Wine desktop$"],
                               stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=PROBE_TIMEOUT)
        return found.stdout.split()
    return wait_until(search, START_TIMEOUT, "the Wine desktop's X window")[0]


def press(*keys):
    """Presses each key (or chord, e.g. "alt+v") in turn, at a typist's pace. Callers
    wait for what the keys bring about."""
    run("xdotool", "key", "--delay", str(KEY_GAP_MS), *keys)


def take(window, path):
    """A picture of the X window, as it shows now."""
    run("import", "-window", window, path)


def changed_area(before, after, from_row):
    """The bounding box of what differs between two pictures from the given row
    down, as (width, height, x, y)."""
    box = run("convert", before, after, "-compose", "difference", "-composite", "-threshold", "0",
              "-fill", "black", "-draw", f"rectangle 0,0 {DESKTOP_WIDTH},{from_row - 1}",
              "-format", "%@", "info:", capture=True)
    size, x, y = box.split("+")
    width, height = size.split("x")
    return int(width), int(height), int(x), int(y)


class Picture:
    """A picture of the desktop as rows of RGB bytes."""

    def __init__(self, path):
        data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=PROBE_TIMEOUT).stdout
        stride = DESKTOP_WIDTH * 3
        if len(data) != stride * DESKTOP_HEIGHT:
            raise AssertionError(f"{path} is not a {DESKTOP_WIDTH}x{DESKTOP_HEIGHT} picture of the desktop")
        self.rows = [data[y * stride:(y + 1) * stride] for y in range(DESKTOP_HEIGHT)]

    def pixels(self, y, left, right):
        row = self.rows[y]
        return [row[x * 3:x * 3 + 3] for x in range(left, right)]

    def box_of(self, colour, above=DESKTOP_HEIGHT):
        """(left, top, right, bottom), right and bottom excluded, around every pixel of the colour
        above that row; or None."""
        xs, ys = [], []
        for y, row in enumerate(self.rows[:above]):
            if colour not in row:  # quick: most rows lack it
                continue
            for x, pixel in enumerate(self.pixels(y, 0, DESKTOP_WIDTH)):
                if pixel == colour:
                    xs.append(x)
                    ys.append(y)
        return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None


class Desktop:
    """The Wine-drawn desktop with the monitor in it, looked at and typed into as a user does."""

    def __init__(self, scratch_picture):
        self.window = desktop_window()
        self._scratch = scratch_picture
        # On a busy machine the window is drawn active a while after it shows.
        self._main_caption = wait_until(
            lambda: take_settled(self.window, self._scratch).box_of(ACTIVE_CAPTION, above=DESKTOP_HEIGHT - TASKBAR_HEIGHT),
            DIALOG_TIMEOUT, "the main window drawn active")

    def picture(self, path=None):
        take(self.window, path or self._scratch)
        return Picture(path or self._scratch)

    def settled_picture(self, path):
        """A picture taken once the desktop has stopped changing."""
        return take_settled(self.window, path)

    def choose_from_menu_at(self, point, key):
        """Right-clicks at the point and, once the menu is drawn, presses the item's key."""
        before = self.picture()
        run("xdotool", "mousemove", "--window", self.window, str(point[0]), str(point[1]), "click", "3")
        wait_until(lambda: self.picture().rows != before.rows, DIALOG_TIMEOUT, "the right-click menu")
        press(key)

    def click(self, point):
        run("xdotool", "mousemove", "--window", self.window, str(point[0]), str(point[1]), "click", "1")

    def active_caption(self):
        """Where the active window's caption is: (left, top, right, bottom), or None."""
        return self.picture().box_of(ACTIVE_CAPTION, above=DESKTOP_HEIGHT - TASKBAR_HEIGHT)

    def wait_for_dialog(self, what, over=None):
        """Waits until another window than the main one is active, and than the
        dialog whose caption is over, when given: its caption is the active one."""
        def up():
            caption = self.active_caption()
            return caption is not None and caption not in (self._main_caption, over)
        wait_until(up, DIALOG_TIMEOUT, what)

    def wait_for_caption(self, caption, what):
        """Waits until the window whose caption is there is active again."""
        wait_until(lambda: self.active_caption() == caption, DIALOG_TIMEOUT, what)

    def wait_for_main_window(self, what):
        self.wait_for_caption(self._main_caption, what)


def take_settled(window, path, changed_from=None):
    """A picture of the desktop's X window once Wine has drawn what changed: the
    same twice in a row and, when given, unlike the picture changed_from."""
    before = Picture(changed_from).rows if changed_from else None
    pictures = []
    def still():
        take(window, path)
        pictures.append(Picture(path))
        if before is not None and pictures[-1].rows == before:
            return False
        return len(pictures) > 1 and pictures[-1].rows == pictures[-2].rows
    wait_until(still, DIALOG_TIMEOUT, "the desktop to change and then stop changing" if changed_from
               else "the desktop to stop changing")
    return pictures[-1]


@contextlib.contextmanager
def monitor_in_a_desktop(test):
    """The monitor (not started yet) in a Wine-drawn desktop of the test's own
    prefix (DESKTOP_WINEPREFIX), with a network and an X server of its own, so
    UDP 514 is free whoever holds it on the host and no other program's windows
    or input meet its own. Skips the test where no network of its own can be had."""
    reason = enter_private_network()
    if reason:
        test.skipTest(f"no network namespace of our own ({reason}); run as root")
    prefix = os.environ["DESKTOP_WINEPREFIX"]
    with PrivateDisplay(abstract_only=True), IsolatedWine(prefix), Monitor() as monitor:
        make_desktop_the_default()
        link_wine_fonts(prefix)
        yield monitor
