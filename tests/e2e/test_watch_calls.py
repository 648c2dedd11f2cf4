"""A watch rule made by hand in its dialog calls the user back: with another
program's window in front, a matching datagram from logger makes the monitor's
icon show a notification of the message and flashes the monitor's window. The
rule is in the INI file from the dialog's OK on.

Both are seen from outside, as Wine shows them, inside a Wine-drawn desktop
(see wine_desktop) whose tray holds the icon: the notification is the tray's
balloon, whose text the probe reads (Wine 8 does not give its title away); a
flash shows as the caption of the window in the background drawn active,
which the probe reads off the screen. Wine's tray shows a balloon WINE_BALLOON_DELAY_S after it is asked to,
so that much is added to the time allowed for the notification. The test has a
Wine prefix (DESKTOP_WINEPREFIX), a network and an X server of its own, as
test_dialogs_by_hand has.
"""

import os
import subprocess
import time
import unittest

from monitor import INI_NAME, PROBE_TIMEOUT, START_TIMEOUT, send_with_logger, wait_until, windows_path
from wine_desktop import Desktop, monitor_in_a_desktop, press, run

NAME, TEXT = "LINK-DOWN", "link down"
RULE = (b"name=LINK-DOWN;show=link down;hide=;case=0;severity=any;senders=;hidesenders=0;"
        b"text=list;background=list;mark=1;flash=1;notify=1;beep=0")
MATCHING = "link down on port 3"
# Wine puts the main window at the desktop's top-left corner: a point in its empty list.
LIST_POINT = (300, 250)
TYPING_DELAY_MS = 50
CALLED_WITHIN_S = 1.0
WINE_BALLOON_DELAY_S = 2.0
FRONT_OUTPUT = "front.txt"
FRONT_STOP = "front.stop"
CALLS_OUTPUT = "calls.txt"
CALLS_STOP = "calls.stop"


def probe_in_background(monitor, arguments, output):
    """Starts the probe with these arguments, its output into the file at the path output."""
    with open(output, "wb") as file:
        return subprocess.Popen(["wine", os.environ["MONITOR_PROBE"], *arguments], stdin=subprocess.DEVNULL,
                                stdout=file, stderr=subprocess.STDOUT)


class AnotherProgram:
    """Use as a context manager: a window of the probe's own, in front of the
    monitor's and clear of its caption, until the block ends."""

    def __init__(self, monitor):
        self._monitor = monitor

    def __enter__(self):
        self._process = probe_in_background(self._monitor, ["front", windows_path(self._monitor.path(FRONT_STOP))],
                                            self._monitor.path(FRONT_OUTPUT))
        told = wait_until(lambda: self._monitor.read_file(FRONT_OUTPUT).strip(), START_TIMEOUT,
                          "the other program's window")
        if told != b"front yes":
            raise AssertionError(f"the other program's window did not come to the front: {told!r}")
        return self

    def __exit__(self, error_type, error, traceback):
        self._monitor.write_file(FRONT_STOP, b"")
        self._process.wait(timeout=PROBE_TIMEOUT)
        return False


class Calls:
    """Use as a context manager: the probe samples how the monitor calls the
    user (probe.cpp, calls) until the block ends."""

    def __init__(self, monitor):
        self._monitor = monitor

    def __enter__(self):
        self._process = probe_in_background(
            self._monitor, [windows_path(self._monitor.exe), "calls", windows_path(self._monitor.path(CALLS_OUTPUT)),
                            windows_path(self._monitor.path(CALLS_STOP))], self._monitor.path("calls-probe.txt"))
        wait_until(lambda: self.latest("caption") and self.latest("balloon"), START_TIMEOUT, "the first samples")
        return self

    def __exit__(self, error_type, error, traceback):
        self._monitor.write_file(CALLS_STOP, b"")
        self._process.wait(timeout=PROBE_TIMEOUT)
        return False

    def samples(self, kind):
        """(seconds since 1970, value) of each sample of the kind, in order."""
        if not os.path.exists(self._monitor.path(CALLS_OUTPUT)):
            return []
        lines = self._monitor.read_file(CALLS_OUTPUT).decode("ascii").splitlines()
        return [(int(at) / 1e6, value) for sampled, at, value in (line.split(" ") for line in lines if line)
                if sampled == kind]

    def latest(self, kind):
        samples = self.samples(kind)
        return samples[-1][1] if samples else None

    def seen_after(self, since, kind, holds, what):
        """Seconds from since until a sample of the kind whose value holds."""
        def seen():
            return next(((at - since,) for at, value in self.samples(kind) if at >= since and holds(value)), None)
        return wait_until(seen, PROBE_TIMEOUT, what)[0]


class WatchCallsTest(unittest.TestCase):
    def test_a_match_behind_another_window_notifies_and_flashes(self):
        with monitor_in_a_desktop(self) as monitor:
            monitor.start()
            self.make_the_rule(Desktop(monitor.path("desktop.png")))
            rule_line = b"\r\n[WatchRules]\r\nRule1=" + RULE + b"\r\n"
            self.assertIn(rule_line, monitor.read_file(INI_NAME), "written at OK: a kill would not lose it")
            with AnotherProgram(monitor), Calls(monitor) as calls:
                self.assertEqual(calls.latest("caption"), "inactive", "the monitor is behind the other window")
                self.assertEqual(calls.latest("balloon"), "none", "no notification before a match")

                sent_at = time.time()
                sent = send_with_logger(MATCHING)
                flashed_s = calls.seen_after(sent_at, "caption", lambda drawn: drawn == "active", "the flash")
                notified_s = calls.seen_after(sent_at, "balloon", lambda shown: shown in {text.hex() for text in sent},
                                              "the notification of the message")
            print(f"flashed after {flashed_s:.2f} s, notified after {notified_s:.2f} s "
                  f"(Wine's tray waits {WINE_BALLOON_DELAY_S:.0f} s before it shows a notification)")
            self.assertLessEqual(flashed_s, CALLED_WITHIN_S, "the flash")
            self.assertLessEqual(notified_s, CALLED_WITHIN_S + WINE_BALLOON_DELAY_S, "the notification")
            self.assertEqual(monitor.close(), 0)
            self.assertIn(rule_line, monitor.read_file(INI_NAME))

    def make_the_rule(self, desktop):
        """View > Watch rules..., Add..., a name, a text, marked, flashing and notifying, OK and OK."""
        desktop.click(LIST_POINT)  # the keys go where the pointer is
        press("alt+v", "w")
        desktop.wait_for_dialog("the Watch rules dialog")
        rules = desktop.active_caption()
        press("alt+a")
        desktop.wait_for_dialog("the Watch rule dialog", over=rules)
        press("alt+m")
        run("xdotool", "type", "--delay", str(TYPING_DELAY_MS), NAME)
        press("alt+n")
        run("xdotool", "type", "--delay", str(TYPING_DELAY_MS), TEXT)
        press("alt+k", "alt+f", "alt+w", "Return")
        desktop.wait_for_caption(rules, "the Watch rule dialog to close")
        press("alt+l", "Tab", "Return")  # the list, then OK after it: Enter in the list edits the rule
        desktop.wait_for_main_window("the Watch rules dialog to close")
