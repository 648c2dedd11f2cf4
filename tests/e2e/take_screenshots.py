"""Takes the README's pictures of the real program, as a user sees it.

    take_screenshots.py <folder for main-window.png, options.png and traffic.png>

Run by scripts/screenshots.sh, which gives it a private Xvfb (DISPLAY), a Wine
prefix of its own (WINEPREFIX), MONITOR_EXE and MONITOR_PROBE. The program runs
inside a Wine-drawn desktop, so title bar, frame and menus are in the pictures;
logger feeds it messages of several severities, a capture file in a folder
that does not exist puts a diagnostic into its pane, and Find has found a row.
Then, with the status bar on, View > Traffic... is open while a burst of every
severity arrives. Everything is driven with real input (xdotool).
"""

import math
import os
import socket
import subprocess
import sys
import tempfile
import threading
import time

from monitor import (EXE_NAME, LOOPBACK, SYSLOG_PORT, Monitor, send_with_logger, settings_ini,
                     wait_for_free_syslog_port)
from wine_desktop import (DESKTOP, DESKTOP_HEIGHT, DESKTOP_WIDTH, changed_area, desktop_window, link_wine_fonts,
                          make_desktop_the_default, press, run, take, take_settled)

# Wine gives a new window three quarters of the desktop, at its top-left
# corner; the window's bottom-right corner is dragged out to leave a margin.
DEFAULT_CORNER = (673, 448)
DRAGGED_CORNER = (880, 584)
DRAG_STEPS = 6

CAPTURE_FOLDER = "Logs"  # under the prefix's drive C:, which must not have it
CAPTURE_FILE = r"C:\Logs\syslog.csv"
# The Traffic window opens here, over the right of the main window, whose status bar stays in sight below it.
TRAFFIC_PLACE = "200,24,690,530"
SETTINGS = settings_ini(Autoscroll=1, ToDisplay=1, ToFile=1, FileName=CAPTURE_FILE, TrafficWindow=TRAFFIC_PLACE)
EXPECTED_DIAGNOSTIC = f"Cannot open file {CAPTURE_FILE}\n".encode("ascii")

# (syslog tag, severity, message): what a small network sends; some hold commas.
MESSAGES = [
    ("sshd[2211]", "info", "Accepted publickey for deploy from 10.0.0.15 port 52144 ssh2"),
    ("CRON[3120]", "info", "(root) CMD (run-parts /etc/cron.hourly)"),
    ("kernel", "warning", "CPU0: Core temperature above threshold, cpu clock throttled"),
    ("nginx", "notice", "reload: configuration file /etc/nginx/nginx.conf test is successful"),
    ("smartd[811]", "crit", "Device: /dev/sda [SAT], 8 Currently unreadable (pending) sectors"),
    ("backup", "err", 'job "nightly" failed: 1284 files, 2.1 GB, 3 errors'),
    ("postfix/smtp[4410]", "warning", "connect to mx.example.net[203.0.113.5]:25: Connection timed out"),
    ("systemd[1]", "info", "Started Daily apt upgrade and clean activities."),
]
FIND_TEXT = "nightly"  # found in the backup job's row
# Where the Find dialog's caption is dragged from its top-left corner, so the coloured rows stay in sight.
FIND_CAPTION_GRIP = (60, 8)
FIND_DIALOG_PLACE = (420, 330)
SENDER = b"127.0.0.1"

PICTURE_COLOURS = 64
DIALOG_MARGIN = 16  # pixels of the main window kept right of and below the Options dialog
# The main window's title bar turns grey when the dialog takes the focus: a change, but not the dialog.
MAIN_CAPTION_HEIGHT = 30

# The burst the Traffic window shows: this long, its rate rising and falling in waves, with a storm of errors
# in its middle; the picture is taken while its last seconds still come.
TRAFFIC_SECONDS = 75
TRAFFIC_SLICE_S = 0.1
TRAFFIC_LEAD_S = 3
TRAFFIC_LATE_S = 30  # beyond the burst's own length, a busy machine's sender is given up on
# (priority as user.<severity>, share in a thousand) of an everyday second; the rest carry no priority.
EVERYDAY_SEVERITIES = ((10, 6), (11, 30), (12, 90), (13, 250), (14, 450))
STORM = (30, 38)  # seconds into the burst when a switch port flaps and errors pour in


class DesktopMonitor(Monitor):
    """The monitor started inside the Wine-drawn desktop instead of on its own."""

    def command(self, arguments):
        return ["wine", "explorer", f"/desktop={DESKTOP},{DESKTOP_WIDTH}x{DESKTOP_HEIGHT}", EXE_NAME, *arguments]

    def port_holder(self):
        return None  # the desktop's process starts the program, which has a PID of its own

    def __exit__(self, error_type, error, traceback):
        # On a failure the program is still up inside the desktop, holding the port.
        if error_type is not None and self._process and self._process.poll() is None:
            try:
                self._run_probe("close")
            except (AssertionError, subprocess.TimeoutExpired):
                pass  # already gone, or past answering: leaving the block ends the desktop
        return super().__exit__(error_type, error, traceback)

    def close(self):
        """Closes the window as its close button does and waits until the program has let the port go.

        The desktop outlives the program by a few seconds (more on a loaded machine);
        leaving this block ends it, by its PID, if it is still there.
        """
        self._run_probe("close")
        wait_for_free_syslog_port()


def drag(window, start, end):
    """Presses the left button at start and lets it go at end, moving in steps as a hand does."""
    run("xdotool", "mousemove", "--window", window, str(start[0]), str(start[1]), "mousedown", "1")
    for step in range(1, DRAG_STEPS + 1):
        x = start[0] + (end[0] - start[0]) * step // DRAG_STEPS
        y = start[1] + (end[1] - start[1]) * step // DRAG_STEPS
        run("xdotool", "mousemove", "--window", window, str(x), str(y))
        time.sleep(0.1)
    run("xdotool", "mouseup", "1")


def save_small(source, path, crop=None):
    """Writes the picture with a small palette, so it stays small in the repository."""
    command = ["convert", source]
    if crop:
        width, height, x, y = crop
        command += ["-crop", f"{width}x{height}+{x}+{y}", "+repage"]
    command += ["+dither", "-colors", str(PICTURE_COLOURS), "-strip", f"PNG8:{path}"]
    run(*command)
    print(f"{path}: {os.path.getsize(path)} bytes")


def send_messages(monitor):
    for count, (tag, severity, text) in enumerate(MESSAGES, start=1):
        sent = send_with_logger(text, tag=tag, severity=severity)
        rows = monitor.wait_for_rows(count)
        if len(rows) != count or rows[-1][0] != SENDER or rows[-1][1] not in sent:
            raise AssertionError(f"the list holds something else than the messages sent (another sender on "
                                 f"port {SYSLOG_PORT}?): {rows}")


def find_a_row(window, plain, pictures):
    """Opens Find with Ctrl+F, moves the dialog off the coloured rows, finds FIND_TEXT and answers the picture."""
    press("ctrl+f")
    opened = os.path.join(pictures, "find-opened.png")
    take_settled(window, opened, changed_from=plain)
    width, height, x, y = changed_area(plain, opened, MAIN_CAPTION_HEIGHT)
    if width < 100 or height < 50:
        raise AssertionError("Ctrl+F showed no Find dialog")
    grip = (x + FIND_CAPTION_GRIP[0], y + FIND_CAPTION_GRIP[1])
    drag(window, grip, (FIND_DIALOG_PLACE[0] + FIND_CAPTION_GRIP[0], FIND_DIALOG_PLACE[1] + FIND_CAPTION_GRIP[1]))
    run("xdotool", "type", "--delay", "50", FIND_TEXT)
    typed = os.path.join(pictures, "typed.png")
    take_settled(window, typed)
    press("Return")
    found = os.path.join(pictures, "found.png")
    take_settled(window, found, changed_from=typed)
    return found


def traffic_rate(second):
    """Datagrams per second at that moment: waves between about 40 and 400, more in the storm."""
    wave = 40 + 180 * (1 + math.sin(second / 7)) + 60 * (1 + math.sin(second / 2.3))
    return wave + (500 if STORM[0] <= second < STORM[1] else 0)


def traffic_line(number, second):
    """The datagram numbered number at that moment: every severity, and lines without a priority."""
    storm = STORM[0] <= second < STORM[1]
    share = (number * 7919) % 1000
    priority = 11 if storm and share < 600 else None
    for severity, part in EVERYDAY_SEVERITIES:
        if priority is not None:
            break
        if share < part:
            priority = severity
        share -= part
    text = f"sw-core{number % 4} ifmgr[{300 + number % 40}]: port ge-0/0/{number % 48} event {number}"
    return (f"<{priority}>{text}" if priority is not None else text).encode("ascii")


def send_traffic(seconds, stop, nearly_sent):
    """Sends the burst in slices of TRAFFIC_SLICE_S, until its end or until stop is set; sets nearly_sent
    TRAFFIC_LEAD_S before the end, while the burst still arrives."""
    started = time.monotonic()
    number = 0
    owed = 0.0
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
        while True:
            second = time.monotonic() - started
            if second >= seconds:
                break
            if second >= seconds - TRAFFIC_LEAD_S:
                nearly_sent.set()
            owed += traffic_rate(second) * TRAFFIC_SLICE_S
            while owed >= 1:
                sender.sendto(traffic_line(number, second), (LOOPBACK, SYSLOG_PORT))
                number += 1
                owed -= 1
            if stop.wait(TRAFFIC_SLICE_S):
                break


def show_traffic(window, pictures):
    """Turns the status bar on (View > Status bar), opens View > Traffic... and answers its picture,
    taken while a burst is still arriving."""
    before = os.path.join(pictures, "before-traffic.png")
    take_settled(window, before)
    press("alt+v", "b")
    status = os.path.join(pictures, "status.png")
    take_settled(window, status, changed_from=before)
    press("alt+v", "t")
    opened = os.path.join(pictures, "traffic-opened.png")
    take_settled(window, opened, changed_from=status)
    width, height, _, _ = changed_area(status, opened, MAIN_CAPTION_HEIGHT)
    if width < 300 or height < 300:
        raise AssertionError("View > Traffic... showed no window")
    stop, nearly_sent = threading.Event(), threading.Event()
    sender = threading.Thread(target=send_traffic, args=(TRAFFIC_SECONDS, stop, nearly_sent), daemon=True)
    sender.start()
    try:
        if not nearly_sent.wait(TRAFFIC_SECONDS + TRAFFIC_LATE_S):
            raise AssertionError("the burst for the Traffic window was not sent in time")
        shot = os.path.join(pictures, "traffic.png")
        take(window, shot)
    finally:
        stop.set()
        sender.join()
    return shot


def main(arguments):
    if len(arguments) != 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    output = arguments[0]
    drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")
    if os.path.exists(os.path.join(drive_c, CAPTURE_FOLDER)):
        raise AssertionError(f"{CAPTURE_FILE} must lie in a folder that does not exist")

    link_wine_fonts(os.environ["WINEPREFIX"])
    make_desktop_the_default()
    with DesktopMonitor(ini=SETTINGS) as monitor, tempfile.TemporaryDirectory() as pictures:
        monitor.start()
        pane = monitor.pane_text()
        if not pane.startswith(EXPECTED_DIAGNOSTIC) or pane.count(b"[0x") != 1:
            raise AssertionError(f"the pane should hold the capture file's diagnostic alone: {pane!r}")
        window = desktop_window()
        drag(window, DEFAULT_CORNER, DRAGGED_CORNER)
        send_messages(monitor)
        plain = os.path.join(pictures, "plain.png")
        take_settled(window, plain)

        main_window = find_a_row(window, plain, pictures)
        press("Escape")
        before_options = os.path.join(pictures, "before-options.png")
        take_settled(window, before_options, changed_from=main_window)
        press("alt+v", "o")
        options = os.path.join(pictures, "options.png")
        take_settled(window, options, changed_from=before_options)
        width, height, x, y = changed_area(before_options, options, MAIN_CAPTION_HEIGHT)
        if width < 100 or height < 100:
            raise AssertionError("View > Options ... showed no dialog")
        # The dialog with the main window's top-left corner, whose client area it opens over.
        dialog = (min(DESKTOP_WIDTH, x + width + DIALOG_MARGIN), min(DESKTOP_HEIGHT, y + height + DIALOG_MARGIN), 0, 0)

        press("Escape")
        take_settled(window, os.path.join(pictures, "closed.png"), changed_from=options)
        traffic = show_traffic(window, pictures)
        monitor.close()

        save_small(main_window, os.path.join(output, "main-window.png"))
        save_small(options, os.path.join(output, "options.png"), crop=dialog)
        save_small(traffic, os.path.join(output, "traffic.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
