"""Killed (kill -9) while datagrams flow into the capture file: the INI keeps its bytes,
the capture file holds the lines in the order sent and no damaged one but the last.

The program does not flush after a line. The runtime writes its buffer out
when it is full, in blocks that need not end at a line end; Wine's runtime
also writes it out at every line end put with fputc, so under Wine the file
has ended with a complete line in every run seen. Asserted is what holds for
both: complete lines, each well-formed and in the order sent, then at most one
partial line at the very end. What was still in the buffer dies with the
process. The INI is written only at an orderly exit, so it is untouched.
"""

import os
import signal
import unittest

from fault_tools import PacedSender, capture_line, capturing_settings, file_bytes, numbered_messages
from monitor import INI_NAME, Monitor, wait_until

TAG = "killed"
PADDING = 40
RATE = 1000  # per second: well below what the program takes without loss
MOST = 60_000  # the sender stops after the kill, long before this
WRITTEN_OUT = 3 * 4096  # bytes on the disk before the kill: the runtime's buffer has been written out
WRITE_OUT_TIMEOUT = 30.0
CAPTURE_NAME = "cap.csv"


class KilledDuringBurstTest(unittest.TestCase):
    def test_kill_leaves_the_settings_and_whole_lines(self):
        with Monitor() as monitor:
            capture = monitor.path(CAPTURE_NAME)
            settings = capturing_settings(capture, autoscroll=0, to_display=7)
            monitor.write_file(INI_NAME, settings)
            monitor.start()

            with PacedSender(numbered_messages(TAG, MOST, padding=PADDING), RATE) as sender:
                wait_until(lambda: os.path.exists(capture) and os.path.getsize(capture) >= WRITTEN_OUT,
                           WRITE_OUT_TIMEOUT, f"{WRITTEN_OUT} bytes in the capture file")
                os.kill(monitor.pid, signal.SIGKILL)
                self.assertEqual(monitor.wait_for_exit(), -signal.SIGKILL)
                self.assertFalse(sender.finished(), "datagrams were still flowing at the kill")
            self.assertEqual(monitor.ini_bytes(), settings)

            on_disk = file_bytes(capture)
            expected = b"".join(capture_line(message) for message in sender.messages())
            self.assertEqual(on_disk, expected[:len(on_disk)],
                             "complete lines in the order sent, then at most the start of the next")
            lines = on_disk.split(b"\r\n")
            print(f"{len(lines) - 1} complete lines of {sender.sent} sent, then {len(lines[-1])} bytes of the next")
