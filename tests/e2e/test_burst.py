"""A burst of numbered datagrams sent back to back from the host, far faster than
any receiver under Wine takes them one by one, ends as one row and one capture
line each, in the order sent.

While the program catches up, only the socket's receive buffer holds the burst,
and Linux caps what a program may ask for at net.core.rmem_max: it grants twice
the request, up to twice that limit. On a host whose limit is below half of what
the program asks for, the test fails saying so.
"""

import time
import unittest

from fault_tools import (capture_line, capturing_settings, file_bytes, send_back_to_back, sequence_figures,
                         sequence_numbers, numbered_messages)
from monitor import INI_NAME, LOOPBACK, Monitor

COUNT = 2000
FULL_COUNT = 1300  # datagrams that fill the receive buffer, each told in the pane
FULL_BYTES = 4096
FULL_BURST = 20
BETWEEN_BURSTS_S = 0.005
FULL_TOLD = b"Received more than 4096 bytes\n"
DATAGRAM_BYTES = 1024
TAG = "burst"
PROGRAM_BUFFER_BYTES = 8 * 2**20  # the receive buffer the program asks for
RMEM_MAX_PATH = "/proc/sys/net/core/rmem_max"
CAPTURE_NAME = "cap.csv"
SENDER = LOOPBACK.encode("ascii")


def rmem_max():
    with open(RMEM_MAX_PATH) as limit:
        return int(limit.read())


def what_is_missing(lines):
    """The loss and disorder among the lines, by their sequence numbers."""
    figures = sequence_figures(sequence_numbers(lines), COUNT, first=1)
    return (f"{figures['received']:,} of {COUNT:,} kept: {figures['lost']:,} lost in {figures['gaps']:,} gaps, "
            f"{figures['duplicates']:,} twice, {figures['out_of_order']:,} out of order")


class BurstTest(unittest.TestCase):
    def test_burst_is_kept_whole_and_in_order(self):
        limit = rmem_max()
        if 2 * limit < PROGRAM_BUFFER_BYTES:
            self.fail(f"net.core.rmem_max is {limit:,} bytes, so no program gets a receive buffer of "
                      f"{PROGRAM_BUFFER_BYTES:,} bytes for a burst: raise it to at least "
                      f"{PROGRAM_BUFFER_BYTES // 2:,} (scripts/setup.sh raises it)")
        with Monitor() as monitor:
            capture = monitor.path(CAPTURE_NAME)
            monitor.write_file(INI_NAME, capturing_settings(capture))
            monitor.start()
            messages = numbered_messages(TAG, COUNT, size=DATAGRAM_BYTES)
            send_back_to_back(messages)
            try:
                monitor.wait_for_row_count(COUNT)
            except AssertionError:
                pass  # the rows say below what is missing
            rows = monitor.rows()
            shown = [message for _, message in rows]
            if shown != messages:
                self.fail(f"rows: {what_is_missing(shown)}")
            self.assertEqual(rows, [(SENDER, message) for message in messages])
            self.assertEqual(monitor.close(), 0)
            lines = file_bytes(capture).splitlines(keepends=True)
            expected = [capture_line(message) for message in messages]
            if lines != expected:
                self.fail(f"capture file: {what_is_missing(lines)}")

    def test_every_full_datagram_is_told_in_the_pane_and_kept(self):
        with Monitor() as monitor:
            capture = monitor.path(CAPTURE_NAME)
            monitor.write_file(INI_NAME, capturing_settings(capture))
            monitor.start()
            messages = numbered_messages("full", FULL_COUNT, size=FULL_BYTES)
            for first in range(0, FULL_COUNT, FULL_BURST):
                send_back_to_back(messages[first:first + FULL_BURST])
                time.sleep(BETWEEN_BURSTS_S)
            monitor.wait_for_row_count(FULL_COUNT)
            pane = monitor.pane_text()
            self.assertEqual(pane.count(FULL_TOLD), FULL_COUNT, f"{len(pane):,} bytes in the pane")
            self.assertEqual(pane, FULL_TOLD * FULL_COUNT)
            self.assertEqual(monitor.close(), 0)
            self.assertEqual(file_bytes(capture), b"".join(capture_line(message) for message in messages))
