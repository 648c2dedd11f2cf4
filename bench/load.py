"""Numbered syslog lines sent to 127.0.0.1:514, paced or back to back. The lines,
and the counting of what a receiver made of them, are the end-to-end tests' own
(tests/e2e/fault_tools.py)."""

import socket
import time

from fault_tools import LOOPBACK, SYSLOG_PORT, send_back_to_back, sized_message

DATAGRAMS_PER_STEP = 100_000
# The paced ladder, highest first.
PACED_RATES = [40_000, 30_000, 20_000, 15_000, 12_000, 10_000, 8_000, 6_000, 5_000, 4_000, 3_000, 2_000]
LINE_BYTES = 120
# (datagrams, bytes each) sent back to back. 4,000 rather than 4,096 bytes: a
# datagram of the monitor's whole buffer size is reported as too long.
BURSTS = [(10_000, LINE_BYTES), (2_000, 1024), (300, 4000)]
TAG = "<13>Dec  7 12:00:00 bench load:"
# The sender sleeps this long when it is ahead; the datagrams due meanwhile go out together.
PACE_SLICE_S = 0.0001


def numbered_lines(count, size=LINE_BYTES):
    """Lines 0 .. count - 1, a typical short syslog message with its sequence number, size bytes each."""
    return [sized_message(TAG, n, size) for n in range(count)]


def send_numbered_lines(rate, count=DATAGRAMS_PER_STEP):
    """Sends lines 0..count-1 at `rate` per second. Answers what it achieved,
    with the wall-clock microseconds of the first and the last send."""
    lines = numbered_lines(count)
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
        started = time.perf_counter()
        first_us = time.time_ns() // 1000
        sent = 0
        while sent < count:
            due = min(count, int((time.perf_counter() - started) * rate) + 1)
            if due <= sent:
                time.sleep(PACE_SLICE_S)
                continue
            for line in lines[sent:due]:
                sender.sendto(line, (LOOPBACK, SYSLOG_PORT))
            sent = due
        last_us = time.time_ns() // 1000
        seconds = time.perf_counter() - started
    return {"sent": sent, "seconds": seconds, "rate": sent / seconds, "first_us": first_us, "last_us": last_us}


def send_burst(count, size):
    """Sends lines 0..count-1 of size bytes back to back; answers it as send_numbered_lines does."""
    lines = numbered_lines(count, size)
    first_us, last_us = send_back_to_back(lines)
    seconds = max(last_us - first_us, 1) / 1e6
    return {"sent": count, "bytes": size, "seconds": seconds, "rate": count / seconds, "first_us": first_us,
            "last_us": last_us}
