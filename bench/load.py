"""Numbered syslog lines sent to 127.0.0.1:514, paced or back to back. The lines,
the sending and the counting of what a receiver made of them are the end-to-end
tests' own (tests/e2e/fault_tools.py)."""

import socket
import time

from fault_tools import PacedSender, numbered_message, numbered_messages, send_back_to_back
from monitor import LOOPBACK, SYSLOG_PORT

DATAGRAMS_PER_STEP = 100_000
# The paced ladder, highest first.
PACED_RATES = [40_000, 30_000, 20_000, 15_000, 12_000, 10_000, 8_000, 6_000, 5_000, 4_000, 3_000, 2_000]
LINE_BYTES = 120
# (datagrams, bytes each) sent back to back. 4,000 rather than 4,096 bytes: a
# datagram of the monitor's whole buffer size is reported as too long.
BURSTS = [(10_000, LINE_BYTES), (2_000, 1024), (300, 4000)]
HOST = "bench"  # the host every line's header names
TAG = f"<13>Dec  7 12:00:00 {HOST} load:"
# Held by the lines whose sequence number ends in 00, one in a hundred ("seq=0000012300 x...").
ONE_IN_A_HUNDRED = "00 x"


def numbered_lines(count, size=LINE_BYTES):
    """Lines 0 .. count - 1, a typical short syslog message with its sequence number, size bytes each."""
    return numbered_messages(TAG, count, first=0, size=size)


def sending_figures(sent, first_us, last_us):
    seconds = max(last_us - first_us, 1) / 1e6
    return {"sent": sent, "seconds": seconds, "rate": sent / seconds, "first_us": first_us, "last_us": last_us}


def send_numbered_lines(rate, count=DATAGRAMS_PER_STEP):
    """Sends lines 0..count-1 at `rate` per second. Answers what it achieved,
    with the wall-clock microseconds of the first and the last send."""
    sender = PacedSender(numbered_lines(count), rate).run()
    return sending_figures(sender.sent, sender.first_us, sender.last_us)


def send_timed_lines(rate, count):
    """As send_numbered_lines, and when each line went out: sent_us, wall-clock microseconds by line."""
    sender = PacedSender(numbered_lines(count), rate).run()
    sent_us, done = [], 0
    for until, at in sender.batches:
        sent_us += [at] * (until - done)
        done = until
    return {**sending_figures(sender.sent, sender.first_us, sender.last_us), "sent_us": sent_us}


def send_lone_lines(count, quiet_s):
    """Sends lines 0..count-1 one at a time, each after quiet_s without any; answers the wall-clock
    microseconds when each went out."""
    sent_us = []
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
        for line in numbered_lines(count):
            time.sleep(quiet_s)
            sent_us.append(time.time_ns() // 1000)
            sender.sendto(line, (LOOPBACK, SYSLOG_PORT))
    return sent_us


def send_matching_lines(count, seconds):
    """Sends count lines that all hold ONE_IN_A_HUNDRED (numbered 0, 100, 200, ...),
    paced evenly over seconds; answers it as send_numbered_lines does."""
    padding = LINE_BYTES - len(numbered_message(TAG, 0)) - 1
    lines = [numbered_message(TAG, number * 100, padding) for number in range(count)]
    sender = PacedSender(lines, count / seconds).run()
    return sending_figures(sender.sent, sender.first_us, sender.last_us)


def send_host_line():
    """Sends one line without a sequence number whose header names HOST, as the numbered lines' do."""
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
        sender.sendto(f"{TAG} a line before the numbered ones".encode("ascii"), (LOOPBACK, SYSLOG_PORT))


def send_burst(count, size):
    """Sends lines 0..count-1 of size bytes back to back; answers it as send_numbered_lines does."""
    return {"bytes": size, **sending_figures(count, *send_back_to_back(numbered_lines(count, size)))}
