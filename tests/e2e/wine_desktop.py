"""Wine programs inside a Wine-drawn desktop, driven with real input (xdotool).

On a bare X server a modal dialog gets an X window of its own that real key
presses do not reach. Inside a Wine-drawn desktop every window is drawn into
one X window, which takes the keys and hands them on as Windows would: to the
active window, dialogs included. The desktop is made the prefix's default, so
every program of the prefix runs in it, the probe too (it sees only the windows
of its own desktop). That changes the prefix's registry: use a prefix of your own.
"""

import glob
import os
import subprocess
import time

from monitor import PROBE_TIMEOUT, START_TIMEOUT, wait_until

DESKTOP = "shots"
DESKTOP_WIDTH, DESKTOP_HEIGHT = 900, 600
SETTLE_SECONDS = 1.5  # for Wine to draw what real input changed
KEY_GAP_MS = 200  # a menu that a key opens is up before the next key comes
WINE_FONTS = "/usr/share/wine/fonts"


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


def press(*keys, settle=False):
    """Presses each key (or chord, e.g. "alt+v") in turn, at a typist's pace. Callers
    wait for what the keys bring about; with settle, SETTLE_SECONDS for Wine to draw
    it, for a picture."""
    run("xdotool", "key", "--delay", str(KEY_GAP_MS), *keys)
    if settle:
        time.sleep(SETTLE_SECONDS)


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
