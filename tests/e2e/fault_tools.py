"""Faults provoked for real on the host: a full disk, read-only files and folders,
numbered traffic to count what arrives (the benchmark sends and counts with it too).

Mounting needs root; whatever cannot be provoked here skips its test with the
reason, never passes it quietly.
"""

import contextlib
import os
import re
import socket
import stat
import subprocess
import threading
import time
import unittest

from monitor import LOOPBACK, SYSLOG_PORT, send_raw, windows_path, written_settings

COMMAND_TIMEOUT = 30.0


def is_root():
    return os.geteuid() == 0


def _run(*command):
    """Runs a host command; answers whether it succeeded."""
    finished = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, timeout=COMMAND_TIMEOUT)
    return finished.returncode == 0


def _unmount(path):
    # A program still using the mount (a failed test) must not leave it behind: detach it lazily then.
    if not _run("umount", path):
        _run("umount", "-l", path)


@contextlib.contextmanager
def small_filesystem(folder, size):
    """Mounts a tmpfs of size bytes on folder (created if needed); unmounts on leaving."""
    if not is_root():
        raise unittest.SkipTest("mounting a small filesystem needs root")
    os.makedirs(folder, exist_ok=True)
    if not _run("mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", folder):
        raise unittest.SkipTest(f"cannot mount a tmpfs on {folder}")
    try:
        yield folder
    finally:
        _unmount(folder)


def _make_immutable(path):
    """chattr +i where the filesystem has it; answers whether a write now really fails."""
    if not _run("chattr", "+i", path):
        return False
    try:
        with open(path, "ab"):
            pass
    except PermissionError:
        return True
    _run("chattr", "-i", path)
    return False


def _bind_read_only(path):
    """Mounts path read-only over itself; answers whether that worked."""
    if not _run("mount", "--bind", path, path):
        return False
    if not _run("mount", "-o", "remount,ro,bind", path, path):
        _unmount(path)
        return False
    return True


@contextlib.contextmanager
def read_only(path):
    """Makes a file, or a folder and everything in it, unwritable until the block ends.

    Root ignores permission bits, so as root a file is made immutable (chattr +i)
    where the filesystem allows it, and otherwise, like a folder, mounted
    read-only over itself. A user gets chmod 444 on files and 555 on folders.
    """
    if not is_root():
        targets = [path] if os.path.isfile(path) else [path] + [
            os.path.join(path, name) for name in os.listdir(path)]
        modes = {target: stat.S_IMODE(os.stat(target).st_mode) for target in targets}
        for target in reversed(targets):
            os.chmod(target, 0o555 if os.path.isdir(target) else 0o444)
        try:
            yield "chmod"
        finally:
            for target, mode in modes.items():
                os.chmod(target, mode)
        return
    if os.path.isfile(path) and _make_immutable(path):
        try:
            yield "chattr +i"
        finally:
            _run("chattr", "-i", path)
        return
    if not _bind_read_only(path):
        raise unittest.SkipTest(f"cannot make {path} read-only: neither chattr +i nor a read-only bind mount works")
    try:
        yield "read-only bind mount"
    finally:
        _unmount(path)


def file_bytes(path):
    with open(path, "rb") as file:
        return file.read()


def processes_holding(path):
    """PIDs of the host processes (Wine's server among them) with path open."""
    holders = set()
    for pid in filter(str.isdigit, os.listdir("/proc")):
        folder = f"/proc/{pid}/fd"
        try:
            descriptors = os.listdir(folder)
        except OSError:
            continue
        for descriptor in descriptors:
            try:
                if os.readlink(os.path.join(folder, descriptor)) == path:
                    holders.add(int(pid))
            except OSError:
                continue
    return holders


def capturing_settings(capture_path, autoscroll=1, to_display=1):
    """An INI file's bytes with every value given and the capture file on, at capture_path."""
    return written_settings(Autoscroll=autoscroll, ToDisplay=to_display, ToFile=1, FileName=windows_path(capture_path))


# Numbered traffic.

SEQUENCE = re.compile(rb"seq=(\d{10})")


def numbered_message(tag, number, padding=0):
    """The datagram numbered number: tag, a ten-digit sequence number, then padding."""
    return f"{tag} seq={number:010d}{' ' + 'x' * padding if padding else ''}".encode("ascii")


def numbered_messages(tag, count, first=1, padding=0, size=None):
    """The datagrams numbered first .. first + count - 1; each exactly size bytes when size is given."""
    if size is not None:
        padding = size - len(numbered_message(tag, first)) - 1
    return [numbered_message(tag, number, padding) for number in range(first, first + count)]


def send_back_to_back(messages):
    """Sends the datagrams from this host as fast as one sendto after another goes,
    a real burst (about 100,000 a second here). Answers the wall-clock microseconds
    of the first and the last send."""
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
        send = sender.sendto
        first_us = time.time_ns() // 1000
        for message in messages:
            send(message, (LOOPBACK, SYSLOG_PORT))
        return first_us, time.time_ns() // 1000


class PacedSender:
    """Sends the datagrams in order at rate per second: run() does it in the calling
    thread; as a context manager it is done by a thread of its own until all are out
    or the block ends. sent tells how many went out so far; first_us and last_us are
    the wall-clock microseconds of the first and the last send; batches holds, for
    each batch of datagrams due together, how many had gone out after it and the
    wall-clock microseconds when it began to go out."""

    # Slept when no datagram is due yet; the ones due meanwhile go out together.
    PACE_SLICE_S = 0.0001

    def __init__(self, messages, rate):
        self._messages, self._rate = messages, rate
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self.run, daemon=True)
        self.sent = 0
        self.first_us = self.last_us = None
        self.batches = []

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *error):
        self._stop.set()
        self._thread.join()
        return False

    def finished(self):
        return not self._thread.is_alive()

    def messages(self):
        """The datagrams sent so far."""
        return self._messages[:self.sent]

    def run(self):
        count = len(self._messages)
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
            started = time.perf_counter()
            self.first_us = time.time_ns() // 1000
            while self.sent < count and not self._stop.is_set():
                due = min(count, int((time.perf_counter() - started) * self._rate) + 1)
                if due <= self.sent:
                    time.sleep(max(self.PACE_SLICE_S, self.sent / self._rate - (time.perf_counter() - started)))
                    continue
                self.batches.append((due, time.time_ns() // 1000))
                for message in self._messages[self.sent:due]:
                    sender.sendto(message, (LOOPBACK, SYSLOG_PORT))
                self.sent = due
            self.last_us = time.time_ns() // 1000
        return self


def sequence_numbers(lines):
    """The sequence number of each line that holds one, in order."""
    return [int(match.group(1)) for match in map(SEQUENCE.search, lines) if match]


def sequence_figures(sequence, count, first=0):
    """Loss, gaps, duplicates and late arrivals among the numbers first .. first + count - 1 as received."""
    numbers = [n for n in sequence if first <= n < first + count]
    unique = sorted(set(numbers))
    gaps = 0
    expected = first
    for number in unique:
        if number != expected:
            gaps += 1
        expected = number + 1
    if expected != first + count:
        gaps += 1
    highest = first - 1
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


def capture_line(message):
    """A record's line in the capture file: every datagram comes from loopback, none here holds a comma."""
    return b"127.0.0.1," + message + b"\r\n"


def show_and_close(test, monitor, tag, count, pane=b""):
    """Starts the program, sends it count numbered datagrams and closes it; checks
    their rows, the pane and the exit code. Answers the datagrams sent."""
    monitor.start()
    messages = numbered_messages(tag, count)
    for message in messages:
        send_raw(message)
    monitor.wait_for_row_count(count)
    test.assertEqual(monitor.rows(), [(LOOPBACK.encode("ascii"), message) for message in messages])
    test.assertEqual(monitor.pane_text(), pane)
    test.assertEqual(monitor.close(), 0)
    return messages
