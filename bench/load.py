"""Numbered syslog lines sent to 127.0.0.1:514 at a steady rate, and what a
receiver made of them: loss, gaps, duplicates and order by sequence number."""

import re
import socket
import time

DATAGRAMS_PER_STEP = 100_000
# Tried from the top down; the first step without loss ends a search.
PACED_RATES = [10_000, 5_000, 2_000, 1_000]
LINE_BYTES = 120
SYSLOG_ADDRESS = ("127.0.0.1", 514)
SEQUENCE = re.compile(rb"seq=(\d{10})")
# The sender sleeps this long when it is ahead; the datagrams due meanwhile go out together.
PACE_SLICE_S = 0.0001


def bench_line(sequence):
    """A typical short syslog message with its sequence number, LINE_BYTES long."""
    head = f"<13>Dec  7 12:00:00 bench load: seq={sequence:010d} "
    return head.ljust(LINE_BYTES, "x").encode("ascii")


def send_numbered_lines(rate, count=DATAGRAMS_PER_STEP):
    """Sends lines 0..count-1 at `rate` per second. Answers what it achieved,
    with the wall-clock microseconds of the first and the last send."""
    lines = [bench_line(n) for n in range(count)]
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
                sender.sendto(line, SYSLOG_ADDRESS)
            sent = due
        last_us = time.time_ns() // 1000
        seconds = time.perf_counter() - started
    return {"sent": sent, "seconds": seconds, "rate": sent / seconds, "first_us": first_us, "last_us": last_us}


def sequence_numbers(lines):
    """The sequence number of each line that holds one, in order."""
    return [int(match.group(1)) for match in map(SEQUENCE.search, lines) if match]


def sequence_figures(sequence, count=DATAGRAMS_PER_STEP):
    """Loss, gaps, duplicates and late arrivals among the numbers 0..count-1 as received."""
    numbers = [n for n in sequence if 0 <= n < count]
    unique = sorted(set(numbers))
    gaps = 0
    expected = 0
    for number in unique:
        if number != expected:
            gaps += 1
        expected = number + 1
    if expected != count:
        gaps += 1
    highest = -1
    late = 0
    for number in numbers:
        if number < highest:
            late += 1
        highest = max(highest, number)
    return {
        "received": len(numbers),
        "lost": count - len(unique),
        "gaps": gaps,
        "duplicates": len(numbers) - len(unique),
        "out_of_order": late,
    }
