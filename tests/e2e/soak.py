#!/usr/bin/env python3
"""A long numbered soak of the real program; not part of the test suite (scripts/soak.sh runs it).

Sends COUNT numbered datagrams at RATE per second into the program with the
list, auto-scroll and the capture file on, runs the Clear command, then sends
a second, smaller round (numbered on from COUNT + 1) and clears again. Checks:
the list shows a row for every datagram of each round; the capture file holds
every sequence number exactly once, in order; the program's private bytes
after the first Clear are within 10 % of where they were before the traffic;
after the second round and Clear they are within 10 % of after the first
(memory is used again, not lost per record); it still answers WM_NULL and
closes with exit code 0. Prints the figures; exit status 0 when all hold.

Private bytes are what the probe reads with GetProcessMemoryInfo
(PROCESS_MEMORY_COUNTERS_EX): Wine leaves PrivateUsage 0 and gives the figure
as PagefileUsage (the process's anonymous resident memory plus swap, from
/proc/<pid>/status). VmRSS is printed beside them.
"""

import argparse
import os
import sys
import time

from fault_tools import (PacedSender, capturing_settings, file_bytes, numbered_messages, sequence_figures,
                         sequence_numbers)
from monitor import INI_NAME, Monitor

TAG = "soak"
MEMORY_TOLERANCE = 0.10
SECOND_ROUND_SHARE = 50  # the second round is this many times smaller
PROGRESS_EVERY_S = 30.0
SETTLE_S = 2.0
ROWS_STILL_S = 30.0  # the list has not grown for this long after the last send: the rest is lost
POLL_S = 0.2
CAPTURE_NAME = "cap.csv"
START_ATTEMPTS = 20
START_RETRY_S = 10.0


def log(text):
    print(f"[soak {time.strftime('%H:%M:%S')}] {text}", flush=True)


def mib(count):
    return f"{count / 2 ** 20:,.1f} MiB"


def resident_bytes(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) * 1024
    return 0


def finished_within(condition, seconds):
    """Polls condition for up to seconds; answers whether it came true."""
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() >= deadline:
            return False
        time.sleep(POLL_S)
    return True


class Soak:
    def __init__(self, monitor, rate):
        self.monitor, self.rate = monitor, rate
        self.failures = []

    def memory(self, label):
        private = self.monitor.private_bytes()
        log(f"memory {label}: private bytes {mib(private)}, VmRSS {mib(resident_bytes(self.monitor.pid))}")
        return private

    def send_round(self, first, count):
        """Sends datagrams first .. first + count - 1; waits for their rows. Answers the seconds spent sending."""
        log(f"sending {count:,} datagrams from number {first:,} at {self.rate:,}/s")
        started = time.monotonic()
        # Looked at seldom: every look from outside is a Wine process of its own.
        with PacedSender(numbered_messages(TAG, count, first), self.rate) as sender:
            while not finished_within(sender.finished, PROGRESS_EVERY_S):
                log(f"sent {sender.sent:,}, rows {self.monitor.row_count():,}, "
                    f"answer {self.monitor.answer_ms()} ms, private bytes {mib(self.monitor.private_bytes())}")
        seconds = time.monotonic() - started
        log(f"sent {sender.sent:,} in {seconds:,.0f} s: {sender.sent / seconds:,.0f}/s")
        rows = self.wait_for_rows(count)
        log(f"rows {rows:,}")
        if rows != count:
            self.failures.append(f"{count - rows:,} of {count:,} rows missing")
        return seconds, rows

    def wait_for_rows(self, count):
        """Waits until the list holds count rows or stops growing; answers how many it holds."""
        held, since = self.monitor.row_count(), time.monotonic()
        while held < count and time.monotonic() - since < ROWS_STILL_S:
            time.sleep(1.0)
            now = self.monitor.row_count()
            if now != held:
                held, since = now, time.monotonic()
        return held

    def clear(self):
        started = time.monotonic()
        self.monitor.clear()
        seconds = time.monotonic() - started
        left = self.monitor.row_count()
        log(f"Clear took {seconds:,.1f} s; {left:,} rows left")
        if left:
            self.failures.append(f"{left:,} rows left after Clear")
        time.sleep(SETTLE_S)
        return seconds

    def within(self, label, measured, reference):
        if measured > reference * (1 + MEMORY_TOLERANCE):
            self.failures.append(f"{label}: {mib(measured)}, more than {MEMORY_TOLERANCE:.0%} above {mib(reference)}")


def capture_figures(capture, count):
    """Lost, duplicated and late sequence numbers 1 .. count in the capture file, and its other lines."""
    lines = file_bytes(capture).split(b"\r\n")[:-1]
    figures = sequence_figures(sequence_numbers(lines), count, first=1)
    figures["other_lines"] = len(lines) - figures["received"]
    return figures


def start_cleanly(monitor):
    """Starts the program until it holds UDP 514 itself: on a shared machine another
    program may take the port between its release and our bind."""
    for attempt in range(1, START_ATTEMPTS + 1):
        monitor.start()
        pane = monitor.pane_text()
        if not pane:
            return True
        log(f"start {attempt}: {pane!r}; trying again")
        monitor.close()
        time.sleep(START_RETRY_S)
    return False


def soak(count, rate):
    second = max(1, count // SECOND_ROUND_SHARE)
    with Monitor() as monitor:
        capture = monitor.path(CAPTURE_NAME)
        monitor.write_file(INI_NAME, capturing_settings(capture))
        if not start_cleanly(monitor):
            print("FAILED: the program never started without a diagnostic")
            return 1
        run = Soak(monitor, rate)
        time.sleep(SETTLE_S)
        before = run.memory("before the traffic")
        sending_s, rows = run.send_round(1, count)
        at_count = run.memory(f"at {rows:,} rows")
        clear_s = run.clear()
        after = run.memory("after Clear")
        run.within("private bytes after Clear against before the traffic", after, before)

        _, second_rows = run.send_round(count + 1, second)
        run.clear()
        after_second = run.memory("after the second round and Clear")
        run.within("private bytes after the second Clear against after the first", after_second, after)

        answer = monitor.answer_ms()
        log(f"answers WM_NULL in {answer} ms")
        exit_code = monitor.close()
        log(f"exit code {exit_code}")
        if exit_code != 0:
            run.failures.append(f"exit code {exit_code}")
        figures = capture_figures(capture, count + second)
        run.failures += [f"{figures[name]:,} {name} in the capture file"
                         for name in ("lost", "duplicates", "out_of_order", "other_lines") if figures[name]]

    print()
    print(f"datagrams             {count:,} at {count / sending_s:,.0f}/s (asked {rate:,}/s), then {second:,}")
    print(f"rows shown            {rows:,}, then {second_rows:,}")
    print(f"capture file, {count + second:,} numbers: " + ", ".join(f"{name} {value:,}" for name, value in figures.items()))
    print(f"private bytes         before {mib(before)}; at {rows:,} rows {mib(at_count)}; "
          f"after Clear ({clear_s:,.0f} s) {mib(after)}, {(after - before) / before:+.0%} against before; "
          f"after the second round and Clear {mib(after_second)}, {(after_second - after) / after:+.0%} against "
          f"after the first")
    print(f"after the soak        answers WM_NULL in {answer} ms; exit code {exit_code}")
    print("PASSED" if not run.failures else "FAILED: " + "; ".join(run.failures))
    return 0 if not run.failures else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("count", type=int, nargs="?", default=1_000_000)
    parser.add_argument("--rate", type=int, default=500, help="datagrams per second (default 500)")
    arguments = parser.parse_args()
    for name in ("MONITOR_EXE", "MONITOR_PROBE", "DISPLAY"):
        if not os.environ.get(name):
            sys.exit(f"{name} is not set: run scripts/soak.sh")
    sys.exit(soak(arguments.count, arguments.rate))


if __name__ == "__main__":
    main()
