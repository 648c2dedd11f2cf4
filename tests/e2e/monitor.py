"""Runs the monitor under Wine and looks at it from outside, as a user would.

The built program and the probe come from the environment (MONITOR_EXE and
MONITOR_PROBE, set by ctest); the display is whatever DISPLAY names. Every Wine
process started here writes into files, never into a pipe: Wine's background
services inherit their starter's output and would hold a pipe open for good.
"""

import os
import re
import shutil
import socket
import subprocess
import tempfile
import time
import unittest

SYSLOG_PORT = 514
LOOPBACK = "127.0.0.1"
EXE_NAME = "KelvSysLog.exe"
INI_NAME = "KelvSysLog.INI"
WINE_LOG_NAME = "wine.log"  # what the program and Wine write, a crash report among it
WINDOW_TITLE = "Kelv SysLog monitor"
USER_FACILITY = 1
SEVERITIES = ("emerg", "alert", "crit", "err", "warning", "notice", "info", "debug")  # 0 to 7, as logger names them

START_TIMEOUT = 60.0  # the first window in a new Wine prefix, on a busy machine
EXIT_TIMEOUT = 20.0
PORT_TIMEOUT = 30.0
ROWS_TIMEOUT = 10.0
PROBE_TIMEOUT = 30.0
CLEAR_TIMEOUT = 1200.0  # the Clear command with a million rows, on a slow machine
POLL_INTERVAL = 0.05


def wait_until(condition, timeout, what):
    """Polls condition until it gives something true; fails the test after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(POLL_INTERVAL)


def syslog_port_holders():
    """Whether anything in this network holds UDP 514, and the PIDs of the processes
    that do (Wine's server among them: it makes every Wine program's sockets)."""
    listing = subprocess.run(["ss", "-Hulnp", f"sport = :{SYSLOG_PORT}"], stdin=subprocess.DEVNULL,
                             capture_output=True, text=True, check=True, timeout=PROBE_TIMEOUT).stdout
    return bool(listing.strip()), {int(pid) for pid in re.findall(r"pid=(\d+)", listing)}


def wait_for_free_syslog_port(timeout=PORT_TIMEOUT, expected_s=0.0, on_waiting=None):
    """Waits until nothing holds UDP 514; fails after timeout seconds. The first
    expected_s seconds are a receiver of ours letting go of it; a longer wait is
    another program's, and on_waiting is told once. Answers the seconds waited
    beyond expected_s."""
    started = time.monotonic()
    told = False
    while syslog_port_holders()[0]:
        waited = time.monotonic() - started
        if waited > expected_s and on_waiting and not told:
            on_waiting()
            told = True
        if waited > timeout:
            raise AssertionError(f"UDP port {SYSLOG_PORT} stayed in use for {timeout:.0f} s")
        time.sleep(POLL_INTERVAL)
    return max(0.0, time.monotonic() - started - expected_s)


def wait_for_syslog_port_held(pid=None, timeout=START_TIMEOUT, alive=lambda: True):
    """Waits until the process pid (or, for None, anything) holds UDP 514. Answers
    whether it came to that: not when another process took the port first, when
    alive() turned false or after timeout seconds."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline and alive():
        held, pids = syslog_port_holders()
        if held:
            return pid is None or pid in pids
        time.sleep(POLL_INTERVAL)
    return False


def hold_syslog_port():
    """Binds UDP 514 as another program would; the caller closes the socket."""
    wait_for_free_syslog_port()
    holder = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    holder.bind(("", SYSLOG_PORT))
    return holder


def send_raw(payload):
    """Sends one datagram of exactly these bytes to the monitor."""
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
        sender.sendto(payload, (LOOPBACK, SYSLOG_PORT))


def send_with_logger(text, tag="e2e", severity="notice"):
    """Sends text through the system's own syslog client, in the classic BSD form,
    from facility user with the severity named.

    Answers the datagrams it may have sent: they differ only in the second
    that logger stamped into them.
    """
    before = int(time.time())
    subprocess.run(
        ["logger", "--udp", "--server", LOOPBACK, "--port", str(SYSLOG_PORT), "--rfc3164",
         "--tag", tag, "--priority", f"user.{severity}", text],
        check=True, stdin=subprocess.DEVNULL, timeout=PROBE_TIMEOUT)
    after = int(time.time())
    host = socket.gethostname().split(".")[0]
    priority = USER_FACILITY * 8 + SEVERITIES.index(severity)
    return {f"<{priority}>{time.strftime('%b %e %H:%M:%S', time.localtime(second))} {host} {tag}: {text}"
            .encode() for second in range(before, after + 1)}


# The keys the program writes at exit, in its order, with the values of a first start.
WRITTEN_SETTINGS = {"Autoscroll": 1, "ToDisplay": 1, "ToFile": 0, "FileName": "", "Colours": 1, "KeepRows": 1000000}


def settings_ini(**keys):
    """An INI file's bytes: a [Settings] section holding just these keys, in the order given."""
    return ("[Settings]\r\n" + "".join(f"{key}={value}\r\n" for key, value in keys.items())).encode("ascii")


def written_settings(**changes):
    """The INI file as the program writes it: every key in its order, first-start values unless changed."""
    return settings_ini(**{**WRITTEN_SETTINGS, **changes})


def windows_path(path):
    """The name a Wine program sees for a host path (Wine maps Z: to the host's root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Monitor:
    """One run of the program from a fresh folder of its own, so its INI file is its own.

    Use as a context manager: on leaving, a program still running is killed (by
    its PID), UDP 514 is waited for until it is free, and the folder is removed,
    unless the block failed, when it is kept for a look and its name printed.
    """

    def __init__(self, ini=None):
        self.folder = tempfile.mkdtemp(prefix="monitor-e2e-")
        self.exe = os.path.join(self.folder, EXE_NAME)
        shutil.copy(os.environ["MONITOR_EXE"], self.exe)
        self._probe_exe = os.environ["MONITOR_PROBE"]
        if ini is not None:
            self.write_file(INI_NAME, ini)
        self._process = None
        self._wine_log = None

    def __enter__(self):
        return self

    def __exit__(self, error_type, error, traceback):
        if self._process and self._process.poll() is None:
            self._process.kill()
            self._process.wait()
        if self._wine_log:
            self._wine_log.close()
        if self._process:
            wait_for_free_syslog_port()
        if error_type is None or issubclass(error_type, unittest.SkipTest):
            shutil.rmtree(self.folder, ignore_errors=True)
        else:
            print(f"kept the failed run's folder: {self.folder}")
        return False

    # Files beside the program.

    def path(self, name):
        return os.path.join(self.folder, name)

    def write_file(self, name, data):
        with open(self.path(name), "wb") as file:
            file.write(data)

    def read_file(self, name):
        with open(self.path(name), "rb") as file:
            return file.read()

    def ini_bytes(self):
        return self.read_file(INI_NAME)

    # Starting and ending.

    def start(self, expect_port=True, arguments=()):
        """Starts the program and waits for its window.

        expect_port: the port is free now and the program must hold it once its
        window shows; False when the test holds the port itself.
        arguments: put on the program's command line (which it must not read).
        """
        if not os.environ.get("DISPLAY"):
            raise AssertionError("DISPLAY is not set: run the tests under X (scripts/test.sh starts an Xvfb)")
        if expect_port:
            wait_for_free_syslog_port()
        if self._wine_log:  # started before: that run's log is done
            self._wine_log.close()
        self._wine_log = open(self.path(WINE_LOG_NAME), "wb")
        self._process = subprocess.Popen(
            self.command(arguments), cwd=self.folder, stdin=subprocess.DEVNULL,
            stdout=self._wine_log, stderr=subprocess.STDOUT)
        self._run_probe_command([windows_path(self.exe), "wait", str(int(START_TIMEOUT * 1000))],
                                timeout=START_TIMEOUT + PROBE_TIMEOUT)
        if expect_port and not wait_for_syslog_port_held(self.port_holder(), alive=self.running):
            raise AssertionError(f"the program did not bind UDP port {SYSLOG_PORT} (held by {syslog_port_holders()})")

    def command(self, arguments):
        """What start runs."""
        return ["wine", self.exe, *arguments]

    def port_holder(self):
        """The PID that binds UDP 514 once started, or None when it is not the started process's."""
        return self.pid

    @property
    def pid(self):
        return self._process.pid

    def running(self):
        return self._process.poll() is None

    def output(self):
        """What the program and Wine wrote while it ran, as text."""
        return self.read_file(WINE_LOG_NAME).decode(errors="replace")

    def close(self):
        """Closes the window as its close button does; answers the exit code."""
        self._run_probe("close")
        return self.wait_for_exit()

    def close_with_keyboard(self):
        """Clicks into the window and presses Alt+F4; answers the exit code."""
        found = subprocess.run(
            ["xdotool", "search", "--pid", str(self.pid), "--name", f"^{WINDOW_TITLE}$"],
            stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=PROBE_TIMEOUT)
        windows = found.stdout.split()
        if not windows:
            raise AssertionError(f"no X window titled {WINDOW_TITLE!r} for PID {self.pid}")
        window = windows[0]
        for action in (["mousemove", "--window", window, "100", "100", "click", "1"], ["key", "alt+F4"]):
            subprocess.run(["xdotool", *action], check=True, stdin=subprocess.DEVNULL, timeout=PROBE_TIMEOUT)
        return self.wait_for_exit()

    def wait_for_exit(self):
        """Waits for the program to end; answers its exit code."""
        try:
            return self._process.wait(timeout=EXIT_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program did not end within {EXIT_TIMEOUT:.0f} s") from None

    # What the window shows.

    def rows(self):
        """Every row of the list as (sender bytes, message bytes)."""
        lines = self._run_probe("rows").splitlines()
        count = int(lines[0].split()[1])
        rows = []
        for line in lines[1:1 + count]:
            sender, _, message = line.partition(" ")
            rows.append((bytes.fromhex(sender), bytes.fromhex(message)))
        return rows

    def wait_for_rows(self, count):
        """Waits until the list holds at least count rows and answers them all."""
        def enough():
            rows = self.rows()
            return rows if len(rows) >= count else None
        return wait_until(enough, ROWS_TIMEOUT, f"{count} rows in the list")

    def row_count(self):
        """How many rows the list holds, without reading them."""
        return int(self._run_probe("count").split()[1])

    def wait_for_row_count(self, count):
        """Waits until the list holds at least count rows; answers how many it holds."""
        def enough():
            held = self.row_count()
            return held if held >= count else None
        return wait_until(enough, ROWS_TIMEOUT, f"{count} rows in the list")

    def pane_text(self):
        """The diagnostics pane's text, byte for byte."""
        return bytes.fromhex(self._run_probe("pane").split(" ", 1)[1].strip())

    def system_text(self, code):
        """The system's own text for a status code, or None when it has none."""
        output = self._run_probe_command(["system-text", f"{code:x}"], allow_failure=True)
        return bytes.fromhex(output.split(" ", 1)[1].strip()) if output else None

    # Commands and health, from outside.

    def clear(self):
        """Runs the Clear command and returns once the program has done it."""
        self._run_probe_command([windows_path(self.exe), "clear"], timeout=CLEAR_TIMEOUT)

    def private_bytes(self):
        """The program's private bytes, as the system counts them."""
        return int(self._run_probe("memory").split()[1])

    def answer_ms(self):
        """Milliseconds the window took to answer WM_NULL; fails the test if it did not answer."""
        return int(self._run_probe("ping").split()[1])

    def post(self, window, messages):
        """Posts (message, wParam, lParam) triples to the main window ("main"), the
        list ("list") or the pane ("pane"), as any program on the desktop may."""
        self._run_probe("post", window, *[str(number) for triple in messages for number in triple])

    # The probe.

    def _run_probe(self, *arguments):
        return self._run_probe_command([windows_path(self.exe), *arguments])

    def _run_probe_command(self, arguments, allow_failure=False, timeout=PROBE_TIMEOUT):
        with tempfile.TemporaryFile(dir=self.folder) as output, \
                tempfile.TemporaryFile(dir=self.folder) as errors:
            finished = subprocess.run(["wine", self._probe_exe, *arguments], stdin=subprocess.DEVNULL,
                                      stdout=output, stderr=errors, timeout=timeout)
            output.seek(0)
            errors.seek(0)
            if finished.returncode != 0:
                if allow_failure:
                    return None
                raise AssertionError(f"probe {' '.join(arguments)} failed ({finished.returncode}): "
                                     f"{errors.read().decode(errors='replace')}")
            return output.read().decode("ascii")
