"""The disk fills while capturing: one diagnostic, the file closed, every row still shown.

The capture file lives on a 64 KiB tmpfs and gets more lines than fit. The
write that meets the full disk is taken only in part, so what reaches the
disk is a byte prefix of the expected capture: whole lines, then at most one
line cut where the disk ran out. What was still in the stream's buffer when
the write failed has nowhere to go and is lost with it, as is every line
after it (the file is closed); every line that reached the disk is intact.
A write taken in part names no error of its own, and is reported as the full
disk it is.
"""

import os
import unittest

from fault_tools import (capture_line, capturing_settings, file_bytes, numbered_messages, processes_holding,
                         small_filesystem)
from monitor import INI_NAME, Monitor, send_raw

FILESYSTEM_SIZE = 64 * 1024
CAPTURE_NAME = "cap.csv"
TAG = "disk full"
PADDING = 100  # about 130 bytes a line: the disk is full after some 500
DATAGRAMS = 800
BATCH = 50  # sent at once, then waited for, so the socket never overflows
DISK_FULL = 0x80070070  # ERROR_DISK_FULL (112), Wine's code for ENOSPC, as a status code
FAILURE = b"Failed to write in file\n\r\n[0x80070070] "
SENDER = b"127.0.0.1"


class DiskFullTest(unittest.TestCase):
    def test_full_disk_is_reported_once_and_capture_goes_on_in_the_list(self):
        with Monitor() as monitor, small_filesystem(monitor.path("small"), FILESYSTEM_SIZE) as disk:
            capture = os.path.join(disk, CAPTURE_NAME)
            monitor.write_file(INI_NAME, capturing_settings(capture))
            monitor.start()
            self.assertEqual(monitor.pane_text(), b"")

            messages = numbered_messages(TAG, DATAGRAMS, padding=PADDING)
            for first in range(0, DATAGRAMS, BATCH):
                for message in messages[first:first + BATCH]:
                    send_raw(message)
                monitor.wait_for_row_count(first + BATCH)

            # Every datagram is a row, those after the failure too.
            self.assertEqual(monitor.rows(), [(SENDER, message) for message in messages])
            pane = monitor.pane_text()
            self.assertTrue(pane.startswith(FAILURE), pane)
            # Exactly one diagnostic: the system's text for the code and nothing after it.
            system_text = monitor.system_text(DISK_FULL)
            if system_text:
                self.assertEqual(pane[len(FAILURE):], system_text)
            self.assertRegex(pane[len(FAILURE):], rb"^[^\r\n]+\r\n$")
            # Closed after the failure: nobody holds the file any more, though the program runs on.
            self.assertEqual(processes_holding(capture), set())
            on_disk = file_bytes(capture)

            self.assertEqual(monitor.close(), 0)
            self.assertEqual(file_bytes(capture), on_disk, "nothing is written after the failure")

        expected = b"".join(capture_line(message) for message in messages)
        self.assertGreater(len(on_disk), FILESYSTEM_SIZE // 2, "the disk filled up with lines")
        self.assertLess(len(on_disk), len(expected), "the disk was full before the last line")
        self.assertEqual(on_disk, expected[:len(on_disk)], "the lines on the disk are those captured, in order")
        whole = on_disk.rfind(b"\r\n") + 2
        lines = on_disk.count(b"\r\n")
        print(f"on the disk: {lines} whole lines, then {len(on_disk) - whole} bytes of the next")
