"""Started and closed again and again, with datagrams each time: every run ends with 0,
the INI round-trips its values unchanged and the capture file grows by exactly
the lines sent.

The suite runs 10 rounds; `scripts/soak.sh restarts 50` runs 50 (RESTARTS sets the number).
"""

import os
import unittest

from fault_tools import capture_line, capturing_settings, file_bytes
from monitor import INI_NAME, Monitor, send_raw

RESTARTS = int(os.environ.get("RESTARTS", "10"))
DATAGRAMS_PER_RUN = 5
SENDER = b"127.0.0.1"
CAPTURE_NAME = "cap.csv"


class RestartLoopTest(unittest.TestCase):
    def test_every_run_keeps_the_settings_and_adds_its_lines(self):
        with Monitor() as monitor:
            capture = monitor.path(CAPTURE_NAME)
            # Values a first start would not write: a lost or reset value shows.
            settings = capturing_settings(capture, autoscroll=0, to_display=7)
            monitor.write_file(INI_NAME, settings)
            expected = b""
            for run in range(1, RESTARTS + 1):
                monitor.start()
                self.assertEqual(monitor.pane_text(), b"", f"run {run}: UDP 514 is the program's")
                messages = [f"run {run:03d} datagram {number}".encode("ascii")
                            for number in range(1, DATAGRAMS_PER_RUN + 1)]
                for message in messages:
                    send_raw(message)
                self.assertEqual(monitor.wait_for_rows(DATAGRAMS_PER_RUN), [(SENDER, m) for m in messages],
                                 f"run {run}")
                self.assertEqual(monitor.pane_text(), b"", f"run {run}")
                self.assertEqual(monitor.close(), 0, f"run {run}")

                self.assertEqual(monitor.ini_bytes(), settings, f"run {run}")
                expected += b"".join(capture_line(message) for message in messages)
                self.assertEqual(file_bytes(capture), expected, f"run {run}")
            print(f"{RESTARTS} runs, {RESTARTS * DATAGRAMS_PER_RUN} lines captured")
