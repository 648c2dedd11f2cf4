"""Ctrl+C and Ctrl+R pressed on the real keyboard change what the program does."""

import subprocess
import time
import unittest

from monitor import PROBE_TIMEOUT, WINDOW_TITLE, Monitor, send_raw, wait_until

KEY_TIMEOUT = 10.0
# Real key presses travel through the X server; datagrams sent right after must not overtake them.
KEY_SETTLE = 1.0


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], check=True, stdin=subprocess.DEVNULL,
                          capture_output=True, text=True, timeout=PROBE_TIMEOUT).stdout


def press_in_list(monitor, *keys):
    """Clicks into the list, so it has the focus, and presses the keys as real input."""
    window = xdotool("search", "--onlyvisible", "--pid", str(monitor.pid), "--name", f"^{WINDOW_TITLE}$").split()[0]
    xdotool("mousemove", "--window", window, "300", "300", "click", "1")
    xdotool("key", "--delay", "100", *keys)
    time.sleep(KEY_SETTLE)


class KeysByHandTest(unittest.TestCase):
    def test_control_r_clears_and_control_c_switches_capture(self):
        with Monitor() as monitor:
            monitor.start()
            send_raw(b"first")
            send_raw(b"second")
            monitor.wait_for_rows(2)

            press_in_list(monitor, "ctrl+r")
            wait_until(lambda: monitor.row_count() == 0 or None, KEY_TIMEOUT, "Ctrl+R to clear the list")
            self.assertEqual(b"", monitor.pane_text())

            press_in_list(monitor, "ctrl+c")  # capture off: dropped unseen
            send_raw(b"while capture is off")
            send_raw(b"also while capture is off")
            press_in_list(monitor, "ctrl+c")  # on again
            send_raw(b"after capture is on again")
            rows = monitor.wait_for_rows(1)
            self.assertEqual([(b"127.0.0.1", b"after capture is on again")], rows)

            self.assertEqual(0, monitor.close())
